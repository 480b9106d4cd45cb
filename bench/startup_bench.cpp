// Start-up: the monitor application on the virtual board, every page built,
// against a bare QMainWindow with the same style sheet, side by side in one
// run. Two moments: the first paint event of any widget, and the first
// complete frame (every widget shown painted and the window's backing store
// flushed: the work queued from within the first paint runs only after that).
// Each sample is a fresh process pinned to one processor; the rounds
// alternate which of the two runs first, so each pair sees the same load.
// Printed: the medians, their ratios, and the quartiles of the rounds' own
// ratios (how steady the run was). Goal: the complete frame within 1.3 times
// the bare window's.
//
//   startup_bench [rounds]      run the comparison (default 31 rounds)
//   startup_bench app|bare      one sample; prints "first-paint-us <n>" and
//                               "complete-frame-us <n>"

#include "Application.h"
#include "MainWindow.h"
#include "BenchBoard.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

Clock::time_point startedAt;

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
    startedAt = Clock::now();
    QApplication application(argc, argv);
    QFile styleSheet(QStringLiteral(":/Qss/zqmo.qss"));
    if (styleSheet.open(QIODevice::ReadOnly))
        application.setStyleSheet(QString::fromUtf8(styleSheet.readAll()));
    FirstFrame watch;
    application.installEventFilter(&watch);
    QMainWindow window;
    window.resize(1920, 1080);
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
            startedAt = Clock::now();
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
    return {valueAfter(output, "first-paint-us"), valueAfter(output, "complete-frame-us")};
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
    if (mode == "app")
        return sampleApp(1, argv);

    const int rounds = mode.empty() ? 31 : std::max(1, std::atoi(mode.c_str()));
    const int processor = sampleProcessor();
    std::vector<long long> appPaint, barePaint, appFrame, bareFrame;
    std::vector<double> paintRatios, frameRatios;
    for (int round = 0; round < rounds; ++round) {
        const bool appFirst = round % 2 == 0;
        Sample a, b;
        if (appFirst) {
            a = runSample("/proc/self/exe", "app", processor);
            b = runSample("/proc/self/exe", "bare", processor);
        } else {
            b = runSample("/proc/self/exe", "bare", processor);
            a = runSample("/proc/self/exe", "app", processor);
        }
        if (a.completeFrame < 0 || b.completeFrame < 0) {
            std::fprintf(stderr, "a sample failed (app %lld us, bare %lld us)\n", a.completeFrame, b.completeFrame);
            return 1;
        }
        appPaint.push_back(a.firstPaint);
        barePaint.push_back(b.firstPaint);
        appFrame.push_back(a.completeFrame);
        bareFrame.push_back(b.completeFrame);
        paintRatios.push_back(static_cast<double>(a.firstPaint) / static_cast<double>(b.firstPaint));
        frameRatios.push_back(static_cast<double>(a.completeFrame) / static_cast<double>(b.completeFrame));
    }
    std::printf("start-up, median of %d fresh processes each (alternating which runs first), on processor %d\n",
                rounds, processor);
    std::printf("                                   first paint   complete frame\n");
    std::printf("  bare QMainWindow + style sheet : %8.0f us    %8.0f us\n", quantile(barePaint, 0.5),
                quantile(bareFrame, 0.5));
    std::printf("  application on virtual board   : %8.0f us    %8.0f us\n", quantile(appPaint, 0.5),
                quantile(appFrame, 0.5));
    std::printf("  ratio                          : %8.2f       %8.2f (goal for the complete frame <= 1.30)\n",
                quantile(appPaint, 0.5) / quantile(barePaint, 0.5), quantile(appFrame, 0.5) / quantile(bareFrame, 0.5));
    std::printf("  ratio per round, quartiles     : %5.2f %5.2f %5.2f   %5.2f %5.2f %5.2f\n",
                quantile(paintRatios, 0.25), quantile(paintRatios, 0.5), quantile(paintRatios, 0.75),
                quantile(frameRatios, 0.25), quantile(frameRatios, 0.5), quantile(frameRatios, 0.75));
    return 0;
}
