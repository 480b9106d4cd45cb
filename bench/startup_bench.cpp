// Start-up to first paint: the monitor application on the virtual board against
// a bare QMainWindow with the same style sheet, side by side in one run. Each
// sample is a fresh process pinned to one processor; the two kinds alternate,
// so each round's pair sees the same load. Printed: the medians, their ratio,
// and the quartiles of the rounds' own ratios (how steady the run was). Goal:
// the application within 1.3 times the bare window.
//
//   startup_bench [rounds]      run the comparison (default 31 rounds)
//   startup_bench app|bare      one sample; prints "first-paint-us <n>"

#include "Application.h"
#include "MainWindow.h"
#include "VirtualBoard.h"

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

// Ends the process's event loop at the first paint of any widget and prints
// the time since the start stamp.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            const auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - startedAt);
            std::printf("first-paint-us %lld\n", static_cast<long long>(us.count()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
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
    FirstPaint watch;
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
    std::error_code failure;
    fs::copy(FIELDMON_SEED_DIR, work, fs::copy_options::recursive, failure);
    int status = 1;
    {
        sim::VirtualBoard board(root);
        if (board.ok() && !failure && chdir(work.c_str()) == 0) {
            board.install();
            FirstPaint watch;
            startedAt = Clock::now();
            status = runApplication(argc, argv, [&](MainWindow &) { qApp->installEventFilter(&watch); });
        }
    }
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

long long runSample(const char *self, const char *kind, int processor)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
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
    const size_t at = output.find("first-paint-us ");
    return at == std::string::npos ? -1 : std::atoll(output.c_str() + at + 15);
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
    std::vector<long long> app;
    std::vector<long long> bare;
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        const long long a = runSample("/proc/self/exe", "app", processor);
        const long long b = runSample("/proc/self/exe", "bare", processor);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "a sample failed (app %lld us, bare %lld us)\n", a, b);
            return 1;
        }
        app.push_back(a);
        bare.push_back(b);
        ratios.push_back(static_cast<double>(a) / static_cast<double>(b));
    }
    const double appMedian = quantile(app, 0.5);
    const double bareMedian = quantile(bare, 0.5);
    std::printf("start-up to first paint, median of %d fresh processes each, on processor %d\n", rounds,
                processor);
    std::printf("  bare QMainWindow + style sheet : %10.0f us\n", bareMedian);
    std::printf("  application on virtual board   : %10.0f us\n", appMedian);
    std::printf("  ratio                          : %10.2f (goal <= 1.30)\n", appMedian / bareMedian);
    std::printf("  ratio per round, quartiles     : %6.2f %6.2f %6.2f\n", quantile(ratios, 0.25),
                quantile(ratios, 0.5), quantile(ratios, 0.75));
    return 0;
}
