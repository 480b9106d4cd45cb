// The panel picture of the virtual board for a 1080p source with the display
// LUT and zebra on, and an interface plane over it: the median time of one
// picture over the rounds. Goal: under 100 ms, so that the live view keeps the
// window responsive.
//
//   panel_bench [rounds]      (default 21)

#include "BenchBoard.h"
#include "AssistCtls.h"
#include "LutCtl.h"
#include "MainChannelCtl.h"
#include "OsdCtl.h"
#include "PanelPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A LUT that does something everywhere: a gentle S-curve per component.
std::string cube()
{
    std::string text = "LUT_3D_SIZE 17\n";
    char line[64];
    for (int b = 0; b < 17; ++b)
        for (int g = 0; g < 17; ++g)
            for (int r = 0; r < 17; ++r) {
                auto curve = [](int i) {
                    const double x = i / 16.0;
                    return x * x * (3 - 2 * x);
                };
                std::snprintf(line, sizeof(line), "%.6f %.6f %.6f\n", curve(r), curve(g), curve(b));
                text += line;
            }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    const std::string root = sim::VirtualBoard::makeTemporaryRoot();
    sim::VirtualBoard board(root);
    if (!installBoard(board))
        return 1;

    MainChannelCtl::getInstance()->inputSelect(Video::HDMI_SOURCE);
    sim::VideoModel::Format format;
    std::string error;
    sim::VideoModel::parseFormat("1920x1080", "60p", format, error);
    board.video().hdmi(0, format, error);
    OsdCtl::getInstance()->setVideoEnable(0, true);
    OsdCtl::getInstance()->setEnable(true);
    OsdCtl::getInstance()->setOpactiy(0.8f);
    const std::string file = root + "/bench.cube";
    std::ofstream(file) << cube();
    LutCtl::getInstance()->loadFile(file);
    LutCtl::getInstance()->lutEnable(true);
    ZebraCtl::getInstance()->zebraRGBColor(1023, 1023, 1023);
    ZebraCtl::getInstance()->zebraThreshold(ZebraCtl::percentToLevel(70), ZebraCtl::percentToLevel(100));
    ZebraCtl::getInstance()->zebraEnable(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the LUT block latches

    QImage osd(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    osd.fill(Qt::transparent);
    QPainter painter(&osd);
    painter.fillRect(0, 0, 1920, 80, QColor(10, 12, 16, 190));
    painter.fillRect(0, 980, 1920, 100, QColor(10, 12, 16, 190));
    painter.end();

    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const Clock::time_point start = Clock::now();
        const QImage panel = sim::PanelPicture::render(board.pl(), board.picture(), osd);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (panel.isNull())
            return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("panel picture, 1080p source, LUT and zebra on, interface plane over it\n");
    std::printf("median %.1f ms, fastest %.1f ms, slowest %.1f ms over %d rounds (goal: under 100 ms)\n",
                times[times.size() / 2], times.front(), times.back(), rounds);
    std::fflush(stdout);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    _exit(0);
}
