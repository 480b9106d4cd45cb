// The channel scan's processor time: a whole scan (200 measurements, about
// 20 s) of the wireless-channel page on the virtual board. Prints the scan
// thread's processor time over the scan's wall time, as a share of one core
// (goal: below 1 %), and, for information, the whole process's share over the
// same time (the board's models and the user-interface thread included) and
// over as long a time without a scan.
//
//   scan_bench

#include "BenchBoard.h"
#include "AppConfig.h"
#include "WirelessChannelWidget.h"

#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

double processSeconds()
{
    struct timespec time = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return time.tv_sec + time.tv_nsec / 1e9;
}

// The processor time of the thread with that name so far, in seconds; -1 when
// there is no such thread. The scheduler's nanosecond count where the kernel
// keeps one, else the tick counts.
double threadSeconds(const std::string &name)
{
    DIR *tasks = opendir("/proc/self/task");
    double result = -1;
    while (dirent *entry = tasks != nullptr ? readdir(tasks) : nullptr) {
        const std::string task = std::string("/proc/self/task/") + entry->d_name;
        std::string comm;
        std::getline(std::ifstream(task + "/comm"), comm);
        if (entry->d_name[0] == '.' || comm != name)
            continue;
        unsigned long long nanoseconds = 0;
        if (std::ifstream(task + "/schedstat") >> nanoseconds) {
            result = nanoseconds / 1e9;
            break;
        }
        std::string stat;
        std::getline(std::ifstream(task + "/stat"), stat);
        unsigned long user = 0;
        unsigned long system = 0;
        const size_t end = stat.rfind(')');
        if (end != std::string::npos
            && std::sscanf(stat.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user,
                           &system) == 2)
            result = static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
        break;
    }
    if (tasks != nullptr)
        closedir(tasks);
    return result;
}

bool waitUntil(const std::function<bool()> &condition, std::chrono::seconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void idle(Clock::duration duration)
{
    const auto end = Clock::now() + duration;
    waitUntil([&] { return Clock::now() >= end; }, std::chrono::seconds(60));
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    sim::VirtualBoard board(root);
    if (!installBoard(board))
        return 1;
    std::string work = (std::filesystem::temp_directory_path() / "scan-bench-XXXXXX").string();
    if (mkdtemp(work.data()) == nullptr || chdir(work.c_str()) != 0) {
        std::fprintf(stderr, "no working directory\n");
        return 1;
    }
    // A busy band with a few quiet channels, as a scan in the field finds it.
    for (int channel = 0; channel < 20; ++channel)
        board.scanReceiver().setLevel(channel, channel % 4 == 0 ? 150 : 1800 + 10 * channel);

    std::fflush(stdout);
    const int console = dup(STDOUT_FILENO);
    std::freopen("/dev/null", "w", stdout);
    AppConfig::getInstance()->init("config.ini");
    auto *page = new WirelessChannelWidget;
    page->show();
    QPushButton *scan = page->findChild<QPushButton *>(QStringLiteral("wirelessScan"));
    bool ok = waitUntil([&] { return board.scanReceiver().tuneCount() == 1; }, std::chrono::seconds(10));

    const Clock::time_point idleStart = Clock::now();
    const double idleProcess = processSeconds();
    idle(std::chrono::seconds(20));
    const double idleWall = seconds(Clock::now() - idleStart);
    const double idleShare = (processSeconds() - idleProcess) / idleWall;

    const double threadBefore = threadSeconds("channel-scan");
    const double processBefore = processSeconds();
    const Clock::time_point started = Clock::now();
    scan->click();
    ok = ok && threadBefore >= 0 && !scan->isEnabled()
         && waitUntil([&] { return scan->isEnabled(); }, std::chrono::seconds(60));
    const double wall = seconds(Clock::now() - started);
    const double thread = threadSeconds("channel-scan") - threadBefore;
    const double process = processSeconds() - processBefore;

    std::fflush(stdout);
    dup2(console, STDOUT_FILENO);
    if (!ok || board.scanReceiver().tuneCount() != 201) {
        std::fprintf(stderr, "the scan did not run to its end\n");
        _exit(1);
    }
    std::printf("scan of 200 measurements: %.2f s\n", wall);
    std::printf("scan thread   %7.2f ms   %.3f %% of a core (goal < 1 %%)\n", thread * 1e3, thread / wall * 100);
    std::printf("whole process %7.2f ms   %.3f %% of a core during the scan, %.3f %% without one\n", process * 1e3,
                process / wall * 100, idleShare * 100);
    std::fflush(stdout);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    std::filesystem::remove_all(work, ignored);
    _exit(0);
}
