// Start-up: the monitor application on the virtual board, every page built,
// against a bare QMainWindow with the same style sheet, side by side in one
// run. A third program shows the main screen's form alone, built and polished
// as the application builds it, with nothing behind it (no settings,
// controllers, pages or board): what any start-up that shows this screen
// costs at least. Two moments: the first paint event of any widget, and the
// first complete frame (every widget shown painted and the window's backing
// store flushed: the work queued from within the first paint runs only after
// that). Each sample is a fresh process pinned to one processor; the rounds
// rotate which of the three runs first, so each round's samples see the same
// load. Printed: the medians, their ratios to the bare window, and the
// quartiles of the application's per-round ratios (how steady the run was).
// Goal: the complete frame within 1.3 times the bare window's. Also printed:
// the main thread's processor time to the complete frame, which leaves out
// the time it sleeps (the application's start holds hardware strobes for
// their specified time) and the virtual board's own threads.
//
//   startup_bench [rounds]        run the comparison (default 31 rounds)
//   startup_bench app|bare|form   one sample; prints "first-paint-us <n>",
//                                 "complete-frame-us <n>" and
//                                 "complete-frame-cpu-us <n>"

#include "Application.h"
#include "MainWindow.h"
#include "BenchBoard.h"
#include "PolishOnShow.h"
#include "SetUpForm.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

Clock::time_point startedAt;
long long startedCpuUs = 0;

long long threadCpuUs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Both clocks start here, on the thread that runs the application.
void startClocks()
{
    startedAt = Clock::now();
    startedCpuUs = threadCpuUs();
}

long long elapsedUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - startedAt).count();
}

// Prints the time since the start stamp at the first paint of any widget,
// and again once that first frame is complete; then ends the event loop.
class FirstFrame : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("first-paint-us %lld\n", elapsedUs());
            // Runs when the paint of the whole frame and its flush are done.
            QTimer::singleShot(0, qApp, [] {
                std::printf("complete-frame-us %lld\n", elapsedUs());
                std::printf("complete-frame-cpu-us %lld\n", threadCpuUs() - startedCpuUs);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int sampleBare(int argc, char **argv)
{
    startClocks();
    QApplication application(argc, argv);
    applyStyleSheet(application);
    FirstFrame watch;
    application.installEventFilter(&watch);
    QMainWindow window;
    window.resize(1920, 1080);
    window.show();
    return application.exec();
}

int sampleForm(int argc, char **argv)
{
    startClocks();
    QApplication application(argc, argv);
    applyStyleSheet(application);
    application.installEventFilter(new PolishOnShow(&application));
    FirstFrame watch;
    application.installEventFilter(&watch);
    QMainWindow window(nullptr, Qt::FramelessWindowHint);
    const std::unique_ptr<Ui_MainWindow> form(setUpForm<Ui_MainWindow>(&window));
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.show();
    return application.exec();
}

int sampleApp(int argc, char **argv)
{
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    const std::string work = root + "-work";
    const bool entered = enterSeededWorkDir(work);
    int status = 1;
    {
        sim::VirtualBoard board(root);
        if (entered && installBoard(board)) {
            FirstFrame watch;
            startClocks();
            status = runApplication(argc, argv, [&](MainWindow &) { qApp->installEventFilter(&watch); });
        }
    }
    std::error_code failure;
    fs::remove_all(root, failure);
    fs::remove_all(work, failure);
    return status;
}

// The processor every sample runs on: the last one this process may use.
int sampleProcessor()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof(allowed), &allowed) != 0)
        return -1;
    int last = -1;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &allowed))
            last = cpu;
    }
    return last;
}

struct Sample {
    long long firstPaint = -1;
    long long completeFrame = -1;
    long long completeFrameCpu = -1;
};

long long valueAfter(const std::string &output, const std::string &label)
{
    const size_t at = output.find(label + " ");
    return at == std::string::npos ? -1 : std::atoll(output.c_str() + at + label.size() + 1);
}

Sample runSample(const char *self, const char *kind, int processor)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        if (processor >= 0) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(processor, &one);
            sched_setaffinity(0, sizeof(one), &one);
        }
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(self, self, kind, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[512];
    ssize_t count;
    while ((count = read(pipeEnds[0], buffer, sizeof(buffer))) > 0)
        output.append(buffer, static_cast<size_t>(count));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {valueAfter(output, "first-paint-us"), valueAfter(output, "complete-frame-us"),
            valueAfter(output, "complete-frame-cpu-us")};
}

// The value below which the fraction q of the values lie (q = 0.5: the median).
template <typename T>
double quantile(std::vector<T> values, double q)
{
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (at - static_cast<double>(below)) * (values[above] - values[below]);
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bare")
        return sampleBare(1, argv);
    if (mode == "form")
        return sampleForm(1, argv);
    if (mode == "app")
        return sampleApp(1, argv);

    const int rounds = mode.empty() ? 31 : std::max(1, std::atoi(mode.c_str()));
    const int processor = sampleProcessor();
    const char *const kinds[] = {"bare", "form", "app"};
    enum { Bare, Form, App, Kinds };
    std::vector<long long> paints[Kinds], frames[Kinds], frameCpus[Kinds];
    std::vector<double> paintRatios, frameRatios;
    for (int round = 0; round < rounds; ++round) {
        Sample samples[Kinds];
        for (int step = 0; step < Kinds; ++step) {
            const int kind = (round + step) % Kinds;
            samples[kind] = runSample("/proc/self/exe", kinds[kind], processor);
            if (samples[kind].completeFrame < 0) {
                std::fprintf(stderr, "a sample of %s failed\n", kinds[kind]);
                return 1;
            }
        }
        for (int kind = 0; kind < Kinds; ++kind) {
            paints[kind].push_back(samples[kind].firstPaint);
            frames[kind].push_back(samples[kind].completeFrame);
            frameCpus[kind].push_back(samples[kind].completeFrameCpu);
        }
        paintRatios.push_back(static_cast<double>(samples[App].firstPaint) / static_cast<double>(samples[Bare].firstPaint));
        frameRatios.push_back(static_cast<double>(samples[App].completeFrame) /
                              static_cast<double>(samples[Bare].completeFrame));
    }
    const auto row = [&](const char *name, int kind) {
        std::printf("  %-30s :", name);
        for (const std::vector<long long> *measure : {paints, frames, frameCpus}) {
            const double median = quantile(measure[kind], 0.5);
            std::printf("  %7.0f us %5.2f x", median, median / quantile(measure[Bare], 0.5));
        }
        std::printf("\n");
    };
    std::printf("start-up, median of %d fresh processes each (rotating which runs first), on processor %d\n", rounds,
                processor);
    std::printf("%-35s%20s%20s%20s\n", "  (and the ratio to the bare window)", "first paint", "complete frame",
                "processor time");
    row("bare QMainWindow + style sheet", Bare);
    row("main screen's form alone", Form);
    row("application on virtual board", App);
    std::printf("  processor time: the main thread's, to the complete frame (its sleeps and the board's threads left out)\n");
    std::printf("  goal: the application's complete frame <= 1.30 x\n");
    std::printf("  application's ratio per round, quartiles: first paint %5.2f %5.2f %5.2f, complete frame %5.2f %5.2f %5.2f\n",
                quantile(paintRatios, 0.25), quantile(paintRatios, 0.5), quantile(paintRatios, 0.75),
                quantile(frameRatios, 0.25), quantile(frameRatios, 0.5), quantile(frameRatios, 0.75));
    return 0;
}
