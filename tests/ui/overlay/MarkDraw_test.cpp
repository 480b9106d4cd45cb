#include "OverlayTest.h"

#include <limits>

namespace {

using MarkDrawTest = OverlayTest;

TEST_F(MarkDrawTest, SafeAreaWithItsCentreCrossAndItsPercentages)
{
    MarkDraw &draw = start("photoSafeEnable=true\nphotoSafeRate=90\nphotoSafeLine=small\nphotoSafeColor=4\n");
    QImage image = paint();
    // (96, 54, 1823, 1025): the outline runs along x 96 and 1824, y 54 and 1026.
    EXPECT_EQ(row(image, 300), x(96) + x(1824));
    EXPECT_EQ(column(image, 500), y(54) + y(1026));
    EXPECT_EQ(row(image, 540), x(96) + xs(950, 970) + x(1824));
    EXPECT_EQ(column(image, 960), y(54) + ys(530, 550) + y(1026));
    EXPECT_EQ(colorAt(image, 96, 300), qRgba(255, 255, 0, 250));

    // Texts other than the five percentages give 90.
    const struct {
        const char *rate;
        QRect area;
    } rates[] = {{"80", QRect(192, 108, 1536, 864)}, {"88", QRect(115, 65, 1689, 950)},
                 {"93", QRect(67, 38, 1785, 1004)},  {"", QRect(96, 54, 1728, 972)},
                 {"75", QRect(96, 54, 1728, 972)}};
    for (const auto &each : rates) {
        draw.setSafeRate(each.rate);
        image = paint();
        const QRect &a = each.area;
        EXPECT_EQ(row(image, 300), x(a.left()) + x(a.left() + a.width())) << each.rate;
        EXPECT_EQ(column(image, 300), y(a.top()) + y(a.top() + a.height())) << each.rate;
    }
    // A number of percent as the menu sends it; one off the screen is refused.
    for (int percent : {50, 0, -5, 101, 150000}) {
        draw.setSafeMarkPercent(percent);
        EXPECT_EQ(row(paint(), 300), x(480) + x(1440)) << percent;
    }
}

TEST_F(MarkDrawTest, SeveralRatiosTogetherWithTheirWidthsAndColours)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate43=true\nphotoMarkRate2401=true\n"
                           "photoMarkLine=huge\nphotoMarkColor=99\n");
    QImage image = paint();
    // 4:3 (239, 1, 1679, 1079) and 2.40:1 (1, 140, 1920, 938), whose right
    // side lies just off the screen; an unknown width is 6, an unknown colour red.
    EXPECT_EQ(row(image, 500), x(1, 6) + x(239, 6) + x(1680, 6) + x(1921, 6));
    EXPECT_EQ(column(image, 800), y(1, 6) + y(140, 6) + y(939, 6) + y(1080, 6));
    EXPECT_EQ(colorAt(image, 239, 500), qRgba(255, 0, 0, 250));

    draw.setMarkRate("2.40:1", false);
    draw.setMarkRate("0:0", true);
    draw.setMarkRate("16:10", true);
    for (const auto &line : {std::make_pair("small", 2), std::make_pair("large", 10), std::make_pair("", 6)}) {
        draw.setMarkLine(line.first);
        EXPECT_EQ(row(paint(), 500), x(239, line.second) + x(1680, line.second)) << line.first;
    }
    const std::pair<int, QRgb> colours[] = {{2, qRgba(44, 255, 0, 250)}, {3, qRgba(24, 0, 255, 250)},
                                            {7, qRgba(255, 217, 230, 250)}, {0, qRgba(255, 0, 0, 250)},
                                            {8, qRgba(255, 0, 0, 250)}};
    for (const auto &colour : colours) {
        draw.setMarkColor(colour.first);
        EXPECT_EQ(colorAt(paint(), 239, 500), colour.second) << colour.first;
    }
    draw.setMarkEnable(false);
    EXPECT_EQ(paintedCount(paint()), 0);
}

TEST_F(MarkDrawTest, CustomRatioFrameAndWhatKeepsThePreviousOne)
{
    const char *const custom = "photoMarkEnable=true\nphotoMarkLine=small\nphotoMarkRateCustomEn=true\n";
    // Stored ratios that are no numbers keep the full frame (1, 1, 1919, 1079).
    for (const char *text : {"abc", "0:0", "1e9", "-2", "nan", "inf", ""}) {
        start(std::string(custom) + "photoMarkRatioHeight=1\nphotoMarkRatioWidth=" + text + "\n");
        EXPECT_EQ(column(paint(), 960), y(1) + y(1080)) << text;
    }
    MarkDraw &draw = *mark;

    // 2:1 gives (1, 59, 1919, 1017).
    draw.setMarkUserRate(2, 1);
    const Runs wide = y(59) + y(1018);
    EXPECT_EQ(column(paint(), 960), wide);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> bad[] = {{2, 0}, {0, 0}, {-4, 3}, {nan, 1}, {inf, 1}, {1e9f, 1}, {1e-9f, 1}};
    for (const auto &ratio : bad) {
        draw.setMarkUserRate(ratio.first, ratio.second);
        EXPECT_EQ(column(paint(), 960), wide) << ratio.first << ":" << ratio.second;
    }
    // Narrower than the screen: 1:2 is 539 wide from x 689.
    draw.setMarkUserRate(1, 2);
    EXPECT_EQ(row(paint(), 500), x(689) + x(1228));
    draw.setMarkRate("custom", false);
    EXPECT_EQ(paintedCount(paint()), 0);
}

TEST_F(MarkDrawTest, ConfigUpdateRereadsEveryKey)
{
    MarkDraw &draw = start();
    EXPECT_EQ(paintedCount(paint()), 0) << "everything is off by default";
    AppConfig *store = AppConfig::getInstance();
    for (const char *key : {"photoMarkEnable", "photoMarkRate169", "photoSafeEnable", "photoWarpEnable",
                            "inputPicEnable", "colorLightMeterEnable"})
        store->setValue(key, true);
    store->setValue("photoMarkLine", "large");
    store->setValue("photoMarkColor", 2);
    store->setValue("photoSafeRate", "80");
    store->setValue("photoSafeLine", "small");
    store->setValue("photoWarpRate", "1.5x");
    store->setValue("inputPicInPic", "leftBottom");
    draw.configUpdate();

    const QImage image = paint();
    // 16:9 de-squeezed by 1.5 is 719 high from y 180; safe 80 (192, 108, 1727,
    // 971) 576 high from y 252; the probe across y 540.
    EXPECT_EQ(column(image, 1000), y(180, 10) + y(252) + y(540) + y(828) + y(899, 10));
    EXPECT_EQ(colorAt(image, 1000, 180), qRgba(44, 255, 0, 250));
    // The assist window at the bottom left: bottom lines stop at x 480, left
    // lines at y 810.
    EXPECT_EQ(column(image, 300), y(180, 10) + y(252));
    EXPECT_EQ(row(image, 850), x(1920, 10));
}

TEST_F(MarkDrawTest, NothingIsDrawnOutsideTheScreen)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate2351=true\nphotoMarkRate169=true\n"
                           "photoMarkLine=large\nphotoSafeEnable=true\ncolorLightMeterEnable=true\n"
                           "photoMarkRateCustomEn=true\nphotoMarkRatioWidth=16\nphotoMarkRatioHeight=9\n");
    draw.lightMeterSetPosition(5000, 2000);
    const QImage image = paint(2000, 1200);
    EXPECT_EQ(colorAt(image, 1900, 1079), qRgb(33, 91, 165)) << "the probe sits in the corner";
    EXPECT_EQ(paintedCount(image), paintedCount(image.copy(0, 0, 1920, 1080)));
}

} // namespace
