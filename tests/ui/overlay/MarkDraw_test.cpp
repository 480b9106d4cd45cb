#include "OverlayTest.h"

#include <cmath>
#include <limits>

namespace {

using MarkDrawTest = OverlayTest;

const QRgb yellow = qRgba(255, 255, 0, 250);
const QRgb red = qRgba(255, 0, 0, 250);

TEST_F(MarkDrawTest, SafeAreaNinetyWithItsCentreCross)
{
    start("photoSafeEnable=true\nphotoSafeRate=90\nphotoSafeLine=small\nphotoSafeColor=4\n");
    const QImage image = paint();
    // (96, 54, 1823, 1025): the outline runs along 96, 1824, 54 and 1026.
    EXPECT_EQ(row(image, 300), (Runs{xAcross(96, 2), xAcross(1824, 2)}));
    EXPECT_EQ(column(image, 500), (Runs{yAcross(54, 2), yAcross(1026, 2)}));
    EXPECT_EQ(row(image, 54), (Runs{xAlong(96, 1824, 2)}));
    EXPECT_EQ(colorAt(image, 96, 300), yellow);
    EXPECT_EQ(colorAt(image, 1824, 1026), yellow);
    // The cross: 20 pixels each way around the screen's centre.
    EXPECT_EQ(row(image, 540), (Runs{xAcross(96, 2), xAlong(950, 970, 2), xAcross(1824, 2)}));
    EXPECT_EQ(column(image, 960), (Runs{yAcross(54, 2), yAlong(530, 550, 2), yAcross(1026, 2)}));
    EXPECT_EQ(colorAt(image, 955, 540), yellow);
}

TEST_F(MarkDrawTest, SafePercentagesAndTheirFallbacks)
{
    MarkDraw &draw = start("photoSafeEnable=true\nphotoSafeLine=small\n");
    struct Case {
        const char *rate;
        QRect area;
    };
    // W = trunc(1920 p / 100), H = trunc(1080 p / 100), centred.
    const QRect ninety(96, 54, 1728, 972);
    const Case cases[] = {{"80", QRect(192, 108, 1536, 864)}, {"85", QRect(144, 81, 1632, 918)},
                          {"88", QRect(115, 65, 1689, 950)},  {"93", QRect(67, 38, 1785, 1004)},
                          {"", ninety},                       {"75", ninety},
                          {"abc", ninety}};
    for (const Case &each : cases) {
        draw.setSafeRate(each.rate);
        const QImage image = paint();
        const QRect &a = each.area;
        EXPECT_EQ(row(image, 300), (Runs{xAcross(a.left(), 2), xAcross(a.left() + a.width(), 2)})) << each.rate;
        EXPECT_EQ(column(image, 300), (Runs{yAcross(a.top(), 2), yAcross(a.top() + a.height(), 2)})) << each.rate;
    }
    // Set as a number: any percentage of the screen; others keep the last.
    draw.setSafeMarkPercent(50);
    EXPECT_EQ(row(paint(), 300), (Runs{xAcross(480, 2), xAcross(1440, 2)}));
    for (int bad : {0, -5, 101, 150000}) {
        draw.setSafeMarkPercent(bad);
        EXPECT_EQ(row(paint(), 300), (Runs{xAcross(480, 2), xAcross(1440, 2)})) << bad;
    }
}

TEST_F(MarkDrawTest, SeveralRatiosAreDrawnTogether)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate43=true\nphotoMarkRate2401=true\n");
    QImage image = paint();
    // 4:3 (239, 1, 1679, 1079) and 2.40:1 (1, 140, 1920, 938), 6-pixel lines.
    EXPECT_EQ(row(image, 500),
              (Runs{xAcross(1, 6), xAcross(239, 6), xAcross(1680, 6), xAcross(1921, 6)}));
    EXPECT_EQ(column(image, 800),
              (Runs{yAcross(1, 6), yAcross(140, 6), yAcross(939, 6), yAcross(1080, 6)}));
    EXPECT_EQ(colorAt(image, 239, 500), red);

    draw.setMarkRate("4:3", false);
    draw.setMarkRate("0:0", true);
    draw.setMarkRate("16:10", true);
    image = paint();
    EXPECT_EQ(row(image, 500), (Runs{xAcross(1, 6), xAcross(1921, 6)}));

    draw.setMarkEnable(false);
    EXPECT_EQ(paintedCount(paint()), 0);
}

TEST_F(MarkDrawTest, EveryFixedRatioHasItsFrame)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkLine=small\n");
    struct Case {
        const char *ratio;
        QRect rect;
    };
    const Case cases[] = {
        {"1:1", QRect(QPoint(419, 1), QPoint(1498, 1079))},   {"5:3", QRect(QPoint(60, 1), QPoint(1859, 1079))},
        {"16:9", QRect(QPoint(1, 1), QPoint(1919, 1079))},    {"2.35:1", QRect(QPoint(1, 131), QPoint(1920, 946))},
        {"9:16", QRect(QPoint(656, 1), QPoint(1261, 1079))},
    };
    for (const Case &each : cases) {
        draw.setMarkRate(each.ratio, true);
        const QImage image = paint();
        draw.setMarkRate(each.ratio, false);
        // The right side of the wide ratios lies just off the screen.
        EXPECT_EQ(row(image, 600), onScreen({xAcross(each.rect.left(), 2), xAcross(each.rect.right() + 1, 2)}))
            << each.ratio;
        EXPECT_EQ(column(image, 900), (Runs{yAcross(each.rect.top(), 2), yAcross(each.rect.bottom() + 1, 2)}))
            << each.ratio;
    }
}

TEST_F(MarkDrawTest, LineWidthsAndColoursWithTheirFallbacks)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate11=true\nphotoMarkLine=huge\nphotoMarkColor=99\n");
    QImage image = paint();
    EXPECT_EQ(row(image, 600).front(), xAcross(419, 6)) << "an unknown width draws 6 pixels";
    EXPECT_EQ(colorAt(image, 419, 600), red) << "an unknown colour is red";

    const struct {
        const char *line;
        int width;
    } widths[] = {{"small", 2}, {"middle", 6}, {"large", 10}, {"", 6}};
    for (const auto &each : widths) {
        draw.setMarkLine(each.line);
        EXPECT_EQ(row(paint(), 600).front(), xAcross(419, each.width)) << each.line;
    }

    const QColor palette[] = {QColor(255, 0, 0), QColor(44, 255, 0),   QColor(24, 0, 255),   QColor(255, 255, 0),
                              QColor(0, 255, 255), QColor(242, 0, 255), QColor(255, 217, 230)};
    for (int index = 0; index <= 8; ++index) {
        draw.setMarkColor(index);
        QColor expected = index >= 1 && index <= 7 ? palette[index - 1] : palette[0];
        expected.setAlpha(250);
        EXPECT_EQ(colorAt(paint(), 419, 600), expected.rgba()) << index;
    }
}

TEST_F(MarkDrawTest, CustomRatioFrameAndWhatKeepsThePreviousOne)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkLine=small\nphotoMarkRateCustomEn=true\n"
                           "photoMarkRatioWidth=2\nphotoMarkRatioHeight=1\n");
    // 2:1 gives (1, 59, 1919, 1017).
    const Runs wide = {yAcross(59, 2), yAcross(1018, 2)};
    EXPECT_EQ(column(paint(), 960), wide);
    EXPECT_EQ(row(paint(), 500), (Runs{xAcross(1, 2), xAcross(1920, 2)}));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> bad[] = {{2, 0}, {0, 0}, {-4, 3}, {nan, 1}, {1, nan}, {inf, 1},
                                           {1e9f, 1}, {1, 1e9f}, {1e-9f, 1}};
    for (const auto &ratio : bad) {
        draw.setMarkUserRate(ratio.first, ratio.second);
        EXPECT_EQ(column(paint(), 960), wide) << ratio.first << ":" << ratio.second;
    }

    // Taller than the screen: 1:2 gives a width of 539 from x 689.
    draw.setMarkUserRate(1, 2);
    EXPECT_EQ(row(paint(), 500), (Runs{xAcross(689, 2), xAcross(1228, 2)}));
    // 2.35:1 as digits matches the fixed frame of that ratio.
    draw.setMarkUserRate(2.35f, 1);
    EXPECT_EQ(column(paint(), 960), (Runs{yAcross(131, 2), yAcross(947, 2)}));

    draw.setMarkRate("custom", false);
    EXPECT_EQ(paintedCount(paint()), 0);
}

TEST_F(MarkDrawTest, StoredCustomRatiosThatAreNoNumbersKeepTheFullFrame)
{
    for (const char *ratio : {"abc", "0:0", "1e9", "-2", "nan", "inf", ""}) {
        const std::string settings = std::string("photoMarkEnable=true\nphotoMarkLine=small\n"
                                                 "photoMarkRateCustomEn=true\nphotoMarkRatioHeight=1\n")
                                     + "photoMarkRatioWidth=" + ratio + "\n";
        start(settings);
        const QImage image = paint();
        // The frame until a ratio is known: (1, 1, 1919, 1079).
        EXPECT_EQ(row(image, 500), (Runs{xAcross(1, 2), xAcross(1920, 2)})) << ratio;
        EXPECT_EQ(column(image, 960), (Runs{yAcross(1, 2), yAcross(1080, 2)})) << ratio;
    }
}

TEST_F(MarkDrawTest, ConfigUpdateRereadsEveryKey)
{
    MarkDraw &draw = start();
    EXPECT_EQ(paintedCount(paint()), 0) << "everything is off by default";

    AppConfig *store = AppConfig::getInstance();
    store->setValue("photoMarkEnable", true);
    store->setValue("photoMarkRate169", true);
    store->setValue("photoMarkLine", "large");
    store->setValue("photoMarkColor", 2);
    store->setValue("photoSafeEnable", true);
    store->setValue("photoSafeRate", "80");
    store->setValue("photoSafeLine", "small");
    store->setValue("photoWarpEnable", true);
    store->setValue("photoWarpRate", "1.5x");
    store->setValue("inputPicEnable", true);
    store->setValue("inputPicInPic", "leftBottom");
    store->setValue("colorLightMeterEnable", true);
    draw.configUpdate();

    const QImage image = paint();
    // 16:9 de-squeezed by 1.5: height 719 from y 180; safe 80 (192, 108, 1727,
    // 971) de-squeezed: height 576 from y 252; the probe across y 540.
    EXPECT_EQ(column(image, 1000), (Runs{yAcross(180, 10), yAcross(252, 2), yAcross(540, 2), yAcross(828, 2),
                                         yAcross(899, 10)}));
    EXPECT_EQ(colorAt(image, 1000, 180), qRgba(44, 255, 0, 250));
    // The assist window at the bottom left: bottom lines stop at x 480, left
    // lines at y 810.
    EXPECT_EQ(column(image, 300), (Runs{yAcross(180, 10), yAcross(252, 2)}));
    EXPECT_EQ(row(image, 850), (Runs{xAcross(1920, 10)}));
    EXPECT_EQ(row(image, 540), (Runs{xAcross(1, 10), xAcross(192, 2), xAlong(888, 1032, 2), xAcross(1728, 2),
                                     xAcross(1920, 10)}));
}

TEST_F(MarkDrawTest, NothingIsDrawnOutsideTheScreen)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate2351=true\nphotoMarkRate2401=true\n"
                           "photoMarkRate169=true\nphotoMarkLine=large\nphotoSafeEnable=true\n"
                           "colorLightMeterEnable=true\nphotoMarkRateCustomEn=true\n"
                           "photoMarkRatioWidth=16\nphotoMarkRatioHeight=9\n");
    draw.lightMeterSetPosition(5000, 2000);
    const QImage image = paint(2000, 1200);
    ASSERT_GT(paintedCount(image), 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = y < 1080 ? 1920 : 0; x < image.width(); ++x)
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
    }
    // The probe sits in the corner of the screen.
    EXPECT_EQ(colorAt(image, 1900, 1079), qRgb(33, 91, 165));
}

} // namespace
