// MCU firmware update over a line held to 115200 baud: a 64 KiB image through
// the MCU model, whose boot loader answers each command 5 ms after it arrived.
// Prints the wire-time floor of the image (bytes x 10 / 115200) and its ratio
// to the measured time of the block transfer (from the first block on the line
// to the last block in the boot loader). Goal: at least 0.9, on a quiet machine
// and while another process keeps a core busy. The whole update, with the
// connect, erase and size steps paced 300 ms apart before the blocks, is
// printed for information.
//
//   mcu_update_bench [kib]          both figures: quiet, then with a busy core
//                                   (image size in KiB, default 64)
//   mcu_update_bench quiet [kib]    the quiet figure only
//   mcu_update_bench loaded [kib]   the busy-core figure only

#include "BenchBoard.h"
#include "McuModel.h"
#include "UartAPI.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sched.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
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

// A process that keeps the last processor busy until it is killed; its id.
pid_t startBusyCore()
{
    const pid_t child = fork();
    if (child != 0)
        return child;
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof(allowed), &allowed) == 0) {
        int last = -1;
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &allowed))
                last = cpu;
        }
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(last, &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
    volatile unsigned long spins = 0;
    for (;;)
        spins = spins + 1;
}

// One update in a fresh process (the update runs once per process).
int runSample(const char *self, const std::string &kib)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        execl(self, self, "--sample", kib.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int sample(int argc, char **argv, size_t kib)
{
    QCoreApplication application(argc, argv);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    sim::VirtualBoard board(root);
    if (!installBoard(board))
        return 1;

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

} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--sample" && argc > 2)
        return sample(1, argv, std::strtoul(argv[2], nullptr, 10));
    const bool one = mode == "quiet" || mode == "loaded";
    const std::string kib = argc > (one ? 2 : 1) ? argv[one ? 2 : 1] : "64";
    if (std::strtoul(kib.c_str(), nullptr, 10) == 0) {
        std::fprintf(stderr, "usage: mcu_update_bench [quiet|loaded] [kib]\n");
        return 2;
    }
    int status = 0;
    if (mode != "loaded") {
        std::printf("quiet machine\n");
        status |= runSample("/proc/self/exe", kib);
    }
    if (mode != "quiet") {
        std::printf("%swith another process keeping a core busy\n", mode == "loaded" ? "" : "\n");
        const pid_t busy = startBusyCore();
        status |= runSample("/proc/self/exe", kib);
        kill(busy, SIGKILL);
        waitpid(busy, nullptr, 0);
    }
    return status;
}
