// Overlay painting: one MarkDraw::draw into a 1920 x 1080 ARGB image, the
// size of the OSD plane, with every overlay on (the eight frame ratios, the
// safe area with its cross, the light-meter probe) and with all of them off.
// Prints the median and the quartiles of each in microseconds, and the all-on
// median as a share of a 60 Hz frame.
//
//   overlay_bench [runs]      draws per case (default 501)

#include "AppConfig.h"
#include "MarkDraw.h"

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double frameUs = 1e6 / 60;

const char *const ratioKeys[] = {"photoMarkRate11",   "photoMarkRate43",   "photoMarkRate53",  "photoMarkRate169",
                                 "photoMarkRate2351", "photoMarkRate2401", "photoMarkRate916", "photoMarkRateCustomEn"};

void setAll(bool on)
{
    AppConfig *store = AppConfig::getInstance();
    store->setValue("photoMarkEnable", on);
    for (const char *key : ratioKeys)
        store->setValue(key, on);
    store->setValue("photoMarkRatioWidth", "1.85");
    store->setValue("photoMarkRatioHeight", "1");
    store->setValue("photoSafeEnable", on);
    store->setValue("colorLightMeterEnable", on);
}

struct Quartiles {
    double low;
    double median;
    double high;
};

// Microseconds per draw; the image is cleared outside the timed part, as
// the window's backing store is before it paints.
Quartiles measure(MarkDraw &mark, int runs)
{
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        image.fill(Qt::transparent);
        const auto start = Clock::now();
        mark.draw(&image);
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 4], samples[samples.size() / 2], samples[samples.size() * 3 / 4]};
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 501;
    if (runs < 1) {
        std::fprintf(stderr, "usage: overlay_bench [runs]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    MarkDraw mark(MarkDraw::MARK_MAIN);

    setAll(true);
    mark.configInit();
    const Quartiles on = measure(mark, runs);
    setAll(false);
    mark.configInit();
    const Quartiles off = measure(mark, runs);

    std::printf("overlay draw, %d runs each (microseconds: median [quartiles])\n", runs);
    std::printf("  all on   %8.1f  [%.1f .. %.1f]\n", on.median, on.low, on.high);
    std::printf("  all off  %8.1f  [%.1f .. %.1f]\n", off.median, off.low, off.high);
    std::printf("  all on takes %.1f%% of a 60 Hz frame\n", 100.0 * on.median / frameUs);
    return 0;
}
