// What the running application costs when nothing happens and when it shows
// a live picture: the monitor application on the virtual board, each phase in
// a fresh process, sampled per thread after the start-up has settled.
//   idle         no input at all
//   live         a 1080p60 SDI source on the main channel, a steady tone
//                and running time code
//   live-moving  the same, with audio peaks that change every 20 ms, as
//                programme audio does, so that the meters never rest
// Wake-ups are the thread's context switches (voluntary and involuntary, from
// /proc/<pid>/task/<tid>/status); CPU is the time on a processor from
// schedstat, which counts nanoseconds where utime and stime count 10 ms ticks.
// Threads named board-... are the virtual board's, bench-... this program's;
// the rest are the application's. Goals for the application: idle at most 20
// wake-ups a second in all and 0.3 % of a core; live at most 0.5 %.
//
//   idle_cost [seconds]          every phase, each sampled that long (default 10)
//   idle_cost PHASE [seconds]    one phase

#include "Application.h"
#include "MainWindow.h"
#include "ThreadName.h"
#include "VideoModel.h"
#include "BenchBoard.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Start-up, the OSD show and the MCU link's first exchanges are over by then.
constexpr auto settle = std::chrono::seconds(8);
const char *const phases[] = {"idle", "live", "live-moving"};

struct ThreadSample {
    std::string name;
    long long switches = 0;
    long long runNs = 0;
};

std::string readFile(const std::string &path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

long long field(const std::string &status, const char *key)
{
    const size_t at = status.find(key);
    return at == std::string::npos ? 0 : std::atoll(status.c_str() + at + std::strlen(key));
}

// Every thread of this process by its id.
std::map<int, ThreadSample> sampleThreads()
{
    std::map<int, ThreadSample> threads;
    DIR *tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return threads;
    while (dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        ThreadSample sample;
        sample.name = readFile(dir + "/comm");
        if (!sample.name.empty() && sample.name.back() == '\n')
            sample.name.pop_back();
        const std::string status = readFile(dir + "/status");
        sample.switches = field(status, "voluntary_ctxt_switches:") + field(status, "nonvoluntary_ctxt_switches:");
        sample.runNs = std::atoll(readFile(dir + "/schedstat").c_str());
        threads[std::atoi(entry->d_name)] = sample;
    }
    closedir(tasks);
    return threads;
}

struct Totals {
    double wakeups = 0;
    double cpu = 0;
};

// The difference of two samples over the seconds between them, one line per
// thread and the totals of each group.
std::string report(const std::map<int, ThreadSample> &before, const std::map<int, ThreadSample> &after,
                   double seconds)
{
    std::string text;
    char line[160];
    std::map<std::string, Totals> groups;
    std::snprintf(line, sizeof(line), "  %-18s %12s %9s\n", "thread", "wake-ups/s", "CPU %");
    text += line;
    for (const auto &entry : after) {
        const auto earlier = before.find(entry.first);
        const ThreadSample start = earlier != before.end() ? earlier->second : ThreadSample();
        const double wakeups = (entry.second.switches - start.switches) / seconds;
        const double cpu = (entry.second.runNs - start.runNs) / 1e9 / seconds * 100.0;
        const bool mainThread = entry.first == getpid();
        const std::string &name = entry.second.name;
        const std::string group = name.rfind("board-", 0) == 0   ? "board"
                                  : name.rfind("bench-", 0) == 0 ? "bench"
                                                                 : "application";
        groups[group].wakeups += wakeups;
        groups[group].cpu += cpu;
        std::snprintf(line, sizeof(line), "  %-18s %12.1f %9.3f\n", mainThread ? "ui (main)" : name.c_str(),
                      wakeups, cpu);
        text += line;
    }
    for (const char *group : {"application", "board", "bench"}) {
        std::snprintf(line, sizeof(line), "  %-18s %12.1f %9.3f\n", (std::string(group) + " total").c_str(),
                      groups[group].wakeups, groups[group].cpu);
        text += line;
    }
    return text;
}

// Peaks that change every 20 ms, somewhere between -40 dBFS and full scale.
void moveAudio(sim::VirtualBoard &board, const std::atomic<bool> &running)
{
    nameThread("bench-audio");
    std::mt19937 random(11);
    std::uniform_int_distribution<uint32_t> peak(330, 32767);
    while (running) {
        board.video().audio(peak(random), peak(random), 800);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Puts the source on the board and picks it on the main channel.
bool startLive(sim::VirtualBoard &board, MainWindow &window, std::string &error)
{
    sim::VideoModel::Format format;
    if (!sim::VideoModel::parseFormat("1920x1080", "60p", format, error) || !board.video().sdi(format, error))
        return false;
    board.video().audio(16000, 12000, 800);
    if (!board.video().timecode("10:00:00:00", error))
        return false;
    QMetaObject::invokeMethod(
        &window, [&window] { window.slotUpdateMainInput("SDI"); }, Qt::BlockingQueuedConnection);
    return true;
}

// One phase in this process: the application on a fresh board, sampled by a
// thread of the bench; the report goes to the descriptor out. The process
// ends with the board still in place under the application's threads, as
// they live until the end.
int runPhase(const std::string &phase, double seconds, int out)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    const std::string work = root + "-work";
    const bool entered = enterSeededWorkDir(work);
    sim::VirtualBoard board(root);
    std::string result;
    if (entered && installBoard(board)) {
        std::atomic<bool> moving{true};
        std::thread sampler;
        std::thread audio;
        char name[] = "idle_cost";
        char *arguments[] = {name, nullptr};
        int count = 1;
        runApplication(count, arguments, [&](MainWindow &window) {
            sampler = std::thread([&, phase, seconds] {
                nameThread("bench-sampler");
                std::string error;
                if (phase != "idle" && !startLive(board, window, error)) {
                    result = "  the live source failed: " + error + "\n";
                } else {
                    if (phase == "live-moving")
                        audio = std::thread(moveAudio, std::ref(board), std::cref(moving));
                    std::this_thread::sleep_for(settle);
                    const auto before = sampleThreads();
                    const Clock::time_point from = Clock::now();
                    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
                    const auto after = sampleThreads();
                    result = report(before, after, std::chrono::duration<double>(Clock::now() - from).count());
                }
                QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
            });
        });
        moving = false;
        if (sampler.joinable())
            sampler.join();
        if (audio.joinable())
            audio.join();
    }
    const std::string header = phase + ", sampled " + std::to_string(static_cast<int>(seconds)) + " s after "
                               + std::to_string(settle.count()) + " s of settling\n";
    const std::string text = header + (result.empty() ? "  no sample: the board or the application failed\n" : result);
    const bool written = ::write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    // Unlinked under the running threads, which keep what they have open.
    std::error_code failure;
    fs::remove_all(root, failure);
    fs::remove_all(work, failure);
    _exit(written && !result.empty() ? 0 : 1);
}

// A phase in a fresh process, so that every controller starts anew; its report.
std::string runChild(const std::string &phase, double seconds)
{
    int ends[2];
    if (pipe(ends) != 0)
        return "no pipe\n";
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        // The application's own console lines would swamp the report.
        std::freopen("/dev/null", "w", stdout);
        const std::string secondsText = std::to_string(seconds);
        const std::string descriptor = std::to_string(ends[1]);
        execl("/proc/self/exe", "idle_cost", "--phase", phase.c_str(), secondsText.c_str(), descriptor.c_str(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    std::string text;
    char buffer[1024];
    ssize_t count;
    while ((count = read(ends[0], buffer, sizeof(buffer))) > 0)
        text.append(buffer, static_cast<size_t>(count));
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        text += "  (the phase ended with status " + std::to_string(status) + ")\n";
    return text;
}

bool knownPhase(const std::string &name)
{
    for (const char *phase : phases) {
        if (name == phase)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--phase") == 0)
        return runPhase(argv[2], std::atof(argv[3]), std::atoi(argv[4]));

    std::vector<std::string> chosen;
    double seconds = 10;
    for (int i = 1; i < argc; ++i) {
        if (knownPhase(argv[i]))
            chosen.push_back(argv[i]);
        else if (std::atof(argv[i]) > 0)
            seconds = std::atof(argv[i]);
        else {
            std::fprintf(stderr, "usage: idle_cost [idle|live|live-moving] [seconds]\n");
            return 2;
        }
    }
    if (chosen.empty())
        chosen.assign(std::begin(phases), std::end(phases));
    for (const std::string &phase : chosen)
        std::printf("%s\n", runChild(phase, seconds).c_str());
    return 0;
}
