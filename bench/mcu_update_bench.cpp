// MCU firmware update over a line held to 115200 baud: a 64 KiB image through
// the MCU model, whose boot loader answers each command 5 ms after it arrived.
// Prints the wire-time floor of the image (bytes x 10 / 115200) and its ratio
// to the measured time of the block transfer (from the first block on the line
// to the last block in the boot loader). Goal: at least 0.9. The whole update,
// with the connect, erase and size steps paced 300 ms apart before the blocks,
// is printed for information.
//
//   mcu_update_bench [kib]      image size in KiB (default 64)

#include "McuModel.h"
#include "UartAPI.h"
#include "VirtualBoard.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int baud = 115200;
constexpr int answerDelayMs = 5;
constexpr auto timeout = std::chrono::minutes(5);

double seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

bool waitUntil(const std::function<bool()> &condition)
{
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void ignoreProgress(int) {}

} // namespace

int main(int argc, char **argv)
{
    const size_t kib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    if (kib == 0) {
        std::fprintf(stderr, "usage: mcu_update_bench [kib]\n");
        return 2;
    }
    QCoreApplication application(argc, argv);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    sim::VirtualBoard board(root);
    if (!board.ok()) {
        std::fprintf(stderr, "virtual board: %s\n", board.error().c_str());
        return 1;
    }
    board.install();

    std::vector<uint8_t> image(kib * 1024);
    std::mt19937 random(7);
    for (uint8_t &byte : image)
        byte = static_cast<uint8_t>(random());
    const std::string firmware = board.tree().path("/home/root/app/RX.bin");
    std::filesystem::create_directories(std::filesystem::path(firmware).parent_path());
    std::ofstream(firmware, std::ios::binary)
        .write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(image.size()));

    sim::McuModel &mcu = board.mcu();
    mcu.setFirmware(image);
    mcu.setBootDelay(0);
    mcu.setBaud(baud);
    mcu.setBootLoaderDelay(answerDelayMs);

    // The update's own progress lines would swamp the result: keep them out.
    std::fflush(stdout);
    const int console = dup(STDOUT_FILENO);
    std::freopen("/dev/null", "w", stdout);

    UartInit();
    bool ok = waitUntil([&] { return mcu.count(0x0F) > 0; });
    const Clock::time_point started = Clock::now();
    ok = ok && UartUpdateMcu(ignoreProgress, false) && waitUntil([&] { return mcu.bootLoader().complete; });

    std::fflush(stdout);
    dup2(console, STDOUT_FILENO);
    const sim::McuModel::BootLoaderStatus boot = mcu.bootLoader();
    if (!ok || !boot.matches) {
        std::fprintf(stderr, "the update did not complete with the expected image\n");
        _exit(1);
    }

    const double floor = image.size() * 10.0 / baud;
    const double blocks = seconds(boot.completed - boot.firstBlock);
    const double whole = seconds(boot.completed - started);
    std::printf("image %zu bytes in %d blocks at %d baud, answers after %d ms\n", image.size(), boot.blocks, baud,
                answerDelayMs);
    std::printf("wire-time floor   %.3f s\n", floor);
    std::printf("block transfer    %.3f s   ratio %.3f (goal >= 0.9)\n", blocks, floor / blocks);
    std::printf("whole update      %.3f s   ratio %.3f\n", whole, floor / whole);
    std::fflush(stdout);
    // The update threads run until the process ends, as on the device.
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    _exit(0);
}
