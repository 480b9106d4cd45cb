// Saving a 1920 x 1080 capture from the frame memory to the stick, per format,
// against its floor measured in the same run on the same file system:
//   fm              writing the 8,294,400 bytes in one call and syncing them;
//   png, tiff, bmp  the image library saving the finished image (16-bit
//                   components for PNG and TIFF, 8-bit for BMP).
// The capture's time includes everything it does on top: reading the memory,
// the conversion to 16 bits (for BMP, its own one-pass 24-bit encoder), the
// sync and the rename. Rounds alternate capture
// and floor; the medians and their ratio are printed. Goal: at most 1.2.
//
//   frame_save_bench [rounds]      (default 9)

#include "FrameCtl.h"
#include "FrameOption.h"
#include "TestPicture.h"
#include "VirtualBoard.h"

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void removeAll(const fs::path &dir)
{
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(dir, ignored))
        fs::remove(entry.path(), ignored);
}

double rawFloor(const fs::path &file, const std::vector<char> &bytes)
{
    const Clock::time_point start = Clock::now();
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0640);
    const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())
                    && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        std::exit(1);
    return milliseconds(Clock::now() - start);
}

double imageFloor(const fs::path &file, const QImage &finished, const char *format)
{
    const Clock::time_point start = Clock::now();
    if (!finished.save(QString::fromStdString(file.string()), format))
        std::exit(1);
    return milliseconds(Clock::now() - start);
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    sim::VirtualBoard board(root);
    if (!board.ok() || !board.tree().insertUsb('a')) {
        std::fprintf(stderr, "virtual board: %s\n", board.error().c_str());
        return 1;
    }
    board.install();
    const fs::path images = board.tree().path("/run/media/sda1/Image");
    const fs::path floors = board.tree().path("/run/media/sda1/floor");
    fs::create_directories(floors);

    // The frame memory holds a test picture, as after a capture.
    FrameCtl *frames = FrameCtl::getInstance();
    auto *memory = static_cast<uint32_t *>(frames->saveAddress());
    const QImage picture = sim::TestPicture::render(1920, 1080, 0, "bench");
    for (int y = 0; y < 1080; ++y)
        std::memcpy(memory + static_cast<size_t>(y) * 2048, picture.constScanLine(y), 7680);
    FrameOption *option = FrameOption::getInstance();
    // Takes the stick's capture folder; no capture is armed, so the worker
    // stays asleep and the saves below run on this thread.
    option->saveFrameOp(1920, 1080, reinterpret_cast<int *>(memory), 2048);

    std::vector<char> rawBytes(7680u * 1080u);
    for (int y = 0; y < 1080; ++y)
        std::memcpy(rawBytes.data() + static_cast<size_t>(y) * 7680, memory + static_cast<size_t>(y) * 2048, 7680);
    const QImage deep = picture.convertToFormat(QImage::Format_RGBX64);
    const QImage eight = picture.convertToFormat(QImage::Format_RGB32);

    // The save's own progress lines stay out of the table.
    std::fflush(stdout);
    const int console = dup(STDOUT_FILENO);
    std::freopen("/dev/null", "w", stdout);
    struct Result {
        const char *format;
        double capture;
        double floor;
    };
    std::vector<Result> results;
    for (const char *format : {"fm", "png", "tiff", "bmp"}) {
        FrameOption::setFrameSuffix(format);
        std::vector<double> captures;
        std::vector<double> floorTimes;
        for (int round = 0; round < rounds; ++round) {
            const Clock::time_point start = Clock::now();
            if (!option->save(reinterpret_cast<int *>(memory), 1920, 1080, 2048))
                std::exit(1);
            captures.push_back(milliseconds(Clock::now() - start));
            const fs::path file = floors / (std::string("floor.") + format);
            const std::string name(format);
            floorTimes.push_back(name == "fm"    ? rawFloor(file, rawBytes)
                                 : name == "bmp" ? imageFloor(file, eight, format)
                                                 : imageFloor(file, deep, format));
            removeAll(images);
            removeAll(floors);
        }
        results.push_back({format, median(captures), median(floorTimes)});
    }
    std::fflush(stdout);
    dup2(console, STDOUT_FILENO);

    std::printf("1920 x 1080 capture, median of %d rounds (goal: ratio <= 1.2)\n", rounds);
    std::printf("%-6s %12s %12s %8s\n", "format", "capture ms", "floor ms", "ratio");
    for (const Result &r : results)
        std::printf("%-6s %12.2f %12.2f %8.3f\n", r.format, r.capture, r.floor, r.capture / r.floor);
    std::fflush(stdout);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    _exit(0);
}
