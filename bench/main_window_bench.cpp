// The main window's everyday costs, on the virtual board with a live 1080p
// SDI picture, every page built:
//   repaint   a whole-window repaint with every overlay on (the eight frame
//             ratios, the safe area, the probe) against the same with all
//             off; goal: at most 1.5 x
//   poll      the one-second input poll when nothing changed; goal: under 50 us
//   menus     a tap on a quick-menu button or a system-menu button until the
//             page it opens has painted; goal: under 16 ms (one 60 Hz frame),
//             the median and the slowest page reported
// Every figure is the median of many runs, in microseconds.
//
//   main_window_bench [runs]      runs per measurement (default 101)

#include "Application.h"
#include "MainWindow.h"
#include "VideoModel.h"
#include "BenchBoard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMetaObject>
#include <QStackedWidget>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double medianOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double timeUs(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Waits, handling events, until the widget has painted once.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) : widget(widget) { widget->installEventFilter(this); }
    ~PaintWatch() override { widget->removeEventFilter(this); }
    void wait()
    {
        while (!painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == widget && event->type() == QEvent::Paint)
            painted = true;
        return false;
    }

private:
    QWidget *widget;
    bool painted = false;
};

QAbstractButton *button(MainWindow &window, const char *name)
{
    auto *found = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
    if (found == nullptr)
        std::fprintf(stderr, "main_window_bench: no button %s\n", name);
    return found;
}

void tap(QAbstractButton *target)
{
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

void setOverlays(MainWindow &window, bool lines, bool meter)
{
    window.slotMarkEnable(lines);
    for (const char *ratio : {"1:1", "4:3", "5:3", "16:9", "2.35:1", "2.40:1", "9:16", "custom"})
        window.slotMarkRate(ratio, lines);
    window.slotSafeMarkEnable(lines);
    window.slotLightMeterEnable(meter);
}

double repaintUs(MainWindow &window, int runs, bool lines, bool meter)
{
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        setOverlays(window, lines, meter);
        samples.push_back(timeUs([&] { window.repaint(); }));
    }
    return medianOf(samples);
}

void repaintCosts(MainWindow &window, int runs)
{
    const double offUs = repaintUs(window, runs, false, false);
    const double linesUs = repaintUs(window, runs, true, false);
    const double allUs = repaintUs(window, runs, true, true);
    setOverlays(window, false, false);
    std::printf("repaint  overlays off %8.0f us\n", offUs);
    std::printf("repaint  frame lines and safe area %8.0f us   ratio %.2f\n", linesUs, linesUs / offUs);
    std::printf("repaint  and the light meter (probe and readout) %8.0f us   ratio %.2f (goal <= 1.5)\n", allUs,
                allUs / offUs);
}

void pollCost(MainWindow &window, int runs)
{
    std::vector<double> samples;
    for (int i = 0; i < runs * 10; ++i)
        samples.push_back(timeUs([&] { QMetaObject::invokeMethod(&window, "slotInputDetect"); }));
    std::printf("poll     nothing changed %8.1f us (goal < 50)\n", medianOf(samples));
}

struct PageOpen {
    const char *name;
    std::vector<const char *> before; // taps that lead to the button
    const char *button;
    const char *stack;                // the stack whose page must paint
};

void menuCosts(MainWindow &window, int runs)
{
    const std::vector<PageOpen> pages = {
        {"frame", {}, "frameManager", "FastWidget"},
        {"scopes", {}, "waveManager", "FastWidget"},
        {"photo", {}, "photoManager", "FastWidget"},
        {"colour", {}, "colorManager", "FastWidget"},
        {"signal", {}, "signalManager", "FastWidget"},
        {"system menu", {}, "menu", "systemWidget"},
        {"video format", {"menu"}, "systemMenuVideoFormat", "systemMenuStack"},
        {"display", {"menu"}, "systemMenuDisplay", "systemMenuStack"},
        {"functions", {"menu"}, "systemMenuFunction", "systemMenuStack"},
        {"system", {"menu"}, "systemMenuSystem", "systemMenuStack"},
        {"control", {"menu"}, "systemMenuControl", "systemMenuStack"},
    };
    double slowest = 0;
    const char *slowestName = "";
    std::vector<double> medians;
    for (const PageOpen &page : pages) {
        std::vector<double> samples;
        for (int i = 0; i < runs; ++i) {
            for (const char *step : page.before)
                tap(button(window, step));
            // Away from the page first, so that the tap really opens it.
            if (std::string(page.stack) == "systemMenuStack")
                tap(button(window, std::string(page.button) == "systemMenuControl" ? "systemMenuDisplay"
                                                                                    : "systemMenuControl"));
            QApplication::processEvents();
            auto *stack = window.findChild<QWidget *>(QString::fromLatin1(page.stack));
            PaintWatch watch(stack);
            samples.push_back(timeUs([&] {
                tap(button(window, page.button));
                watch.wait();
            }));
            // Closed again: a second tap on a quick-menu button, the back
            // button for the system menu.
            if (std::string(page.stack) == "FastWidget")
                tap(button(window, page.button));
            else
                tap(button(window, "menu"));
            QApplication::processEvents();
        }
        const double median = medianOf(samples);
        medians.push_back(median);
        // The first open also polishes what the page shows for the first time.
        std::printf("menu     %-14s %8.0f us (first open %.0f us)\n", page.name, median, samples.front());
        if (median > slowest) {
            slowest = median;
            slowestName = page.name;
        }
    }
    std::printf("menus    median %.0f us, slowest %s %.0f us (goal < 16000)\n", medianOf(medians), slowestName,
                slowest);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 101;
    if (runs < 1) {
        std::fprintf(stderr, "usage: main_window_bench [runs]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    const std::string work = root + "-work";
    const bool entered = enterSeededWorkDir(work);
    sim::VirtualBoard board(root);
    if (!entered || !installBoard(board)) {
        std::fprintf(stderr, "main_window_bench: cannot build the board\n");
        return 1;
    }
    int status = 0;
    char name[] = "main_window_bench";
    char *arguments[] = {name, nullptr};
    int count = 1;
    runApplication(count, arguments, [&](MainWindow &window) {
        QMetaObject::invokeMethod(
            &window,
            [&] {
                sim::VideoModel::Format format;
                std::string error;
                if (!sim::VideoModel::parseFormat("1920x1080", "60p", format, error)
                    || !board.video().sdi(format, error)) {
                    std::fprintf(stderr, "main_window_bench: %s\n", error.c_str());
                    status = 1;
                    QCoreApplication::exit(1);
                    return;
                }
                window.slotUpdateMainInput("SDI");
                // The picture settles and the first poll has seen it.
                QTest::qWait(2500);
                repaintCosts(window, runs);
                pollCost(window, runs);
                menuCosts(window, std::max(5, runs / 10));
                QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
    });
    std::fflush(nullptr);
    std::error_code failure;
    fs::remove_all(root, failure);
    fs::remove_all(work, failure);
    _exit(status);
}
