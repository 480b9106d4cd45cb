#include "Config.h"
#include "OverlayTest.h"

#include <limits>

namespace {

using MarkDrawLayoutTest = OverlayTest;

const QRgb probeColor = qRgb(33, 91, 165);

// 16:9 frame lines and the safe area (90), 2-pixel lines.
const char *const frameAndSafe = "photoMarkEnable=true\nphotoMarkRate169=true\nphotoMarkLine=small\n"
                                 "photoSafeEnable=true\nphotoSafeLine=small\nphotoSafeRate=90\n";

TEST_F(MarkDrawLayoutTest, ScanModeFitFollowsTheMainSourceSize)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate169=true\nphotoMarkLine=small\n");
    struct Case {
        VideoOption::ScanMode mode;
        int width;
        int height;
        QRect frame; // left, top, width, height of the 16:9 frame
    };
    const Case cases[] = {
        // 2K and 4K DCI in normal scan: 1799 x 1011 centred.
        {VideoOption::SCAN_NORMAL, 4096, 2160, QRect(60, 34, 1799, 1011)},
        {VideoOption::SCAN_NORMAL, 2048, 1080, QRect(60, 34, 1799, 1011)},
        {VideoOption::SCAN_NORMAL, 3840, 2160, QRect(1, 1, 1919, 1079)},
        {VideoOption::SCAN_PIX, 4096, 2160, QRect(1, 1, 1919, 1079)},
        // Pixel to pixel: 3/4 for 1080 lines, else 1/2, up to 2560 x 1440.
        {VideoOption::SCAN_PIX_TO_PIX, 1920, 1080, QRect(240, 135, 1439, 809)},
        {VideoOption::SCAN_PIX_TO_PIX, 1280, 720, QRect(480, 270, 959, 539)},
        {VideoOption::SCAN_PIX_TO_PIX, 2560, 1440, QRect(480, 270, 959, 539)},
        {VideoOption::SCAN_PIX_TO_PIX, 3840, 2160, QRect(1, 1, 1919, 1079)},
    };
    for (const Case &each : cases) {
        Config::setVideoWidth(0, each.width);
        Config::setVideoHeight(0, each.height);
        draw.UpdateMark(false, false, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP, each.mode);
        const QImage image = paint();
        const QRect &f = each.frame;
        EXPECT_EQ(row(image, 540), (Runs{xAcross(f.left(), 2), xAcross(f.left() + f.width(), 2)}))
            << each.mode << " " << each.width << "x" << each.height;
        EXPECT_EQ(column(image, 960), (Runs{yAcross(f.top(), 2), yAcross(f.top() + f.height(), 2)}))
            << each.mode << " " << each.width << "x" << each.height;
    }
}

TEST_F(MarkDrawLayoutTest, ScanModeAndSourceFromTheStoreAtStart)
{
    start("photoMarkEnable=true\nphotoMarkRate169=true\nphotoMarkLine=small\nscanMode=pixTopix\n");
    Config::setVideoWidth(0, 1920);
    Config::setVideoHeight(0, 1080);
    EXPECT_EQ(row(paint(), 540), (Runs{xAcross(240, 2), xAcross(1679, 2)}));
    Config::setVideoWidth(0, 4096);
    Config::setVideoHeight(0, 2160);
    EXPECT_EQ(row(paint(), 540), (Runs{xAcross(1, 2), xAcross(1920, 2)})) << "too large to fit";

    // An unknown scan mode text is normal scan.
    start("photoMarkEnable=true\nphotoMarkRate169=true\nphotoMarkLine=small\nscanMode=fit\n");
    EXPECT_EQ(row(paint(), 540), (Runs{xAcross(60, 2), xAcross(1859, 2)}));
}

TEST_F(MarkDrawLayoutTest, DesqueezeShortensTheFramesAroundTheMiddle)
{
    MarkDraw &draw = start(frameAndSafe);
    // 16:9 at 2x: height 539 from y 270; safe 90 (height 972): 486 from y 297.
    draw.UpdateMark(false, true, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP, VideoOption::SCAN_NORMAL);
    const Runs twice = {yAcross(270, 2), yAcross(297, 2), yAlong(530, 550, 2), yAcross(783, 2), yAcross(809, 2)};
    EXPECT_EQ(column(paint(), 960), twice);
    EXPECT_EQ(row(paint(), 540), (Runs{xAcross(1, 2), xAcross(96, 2), xAlong(950, 970, 2), xAcross(1824, 2),
                                       xAcross(1920, 2)}))
        << "sides unchanged";

    // Factors from the store's texts; an unknown one is 2.
    const struct {
        const char *rate;
        int top; // of the 16:9 frame: (1080 - trunc(1079 / factor)) / 2
    } factors[] = {{"1.8x", 240}, {"1.65x", 213}, {"1.5x", 180}, {"1.33x", 134}, {"3x", 270}};
    for (const auto &each : factors) {
        start(std::string(frameAndSafe) + "photoWarpEnable=true\nphotoWarpRate=" + each.rate + "\n");
        EXPECT_EQ(column(paint(), 960).front(), yAcross(each.top, 2)) << each.rate;
    }

    // A factor that is no number or below 1 keeps the one before.
    MarkDraw &again = *mark;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), 0.5f, -2.0f, 0.0f}) {
        again.UpdateMark(false, true, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP, VideoOption::SCAN_NORMAL);
        again.UpdateMark(false, true, bad, false, AssistChannelCtl::PIP_RIGHT_TOP, VideoOption::SCAN_NORMAL);
        EXPECT_EQ(column(paint(), 960), twice) << bad;
    }
}

TEST_F(MarkDrawLayoutTest, CornerAssistWindowsCutTheLinesThatWouldCrossThem)
{
    MarkDraw &draw = start("photoMarkEnable=true\nphotoMarkRate169=true\nphotoMarkLine=small\n");
    // The 16:9 outline runs along x 1 and 1920, y 1 and 1080.
    struct Case {
        AssistChannelCtl::PicInPicMode mode;
        int y; // a row along a cut line
        Runs rowRuns;
        int x; // a column along a cut line
        Runs columnRuns;
    };
    const Case cases[] = {
        {AssistChannelCtl::PIP_LEFT_TOP, 0, {xAlong(480, 1920, 2)}, 0, {yAlong(270, 1080, 2)}},
        {AssistChannelCtl::PIP_LEFT_BOTTOM, 1079, {xAlong(480, 1920, 2)}, 0, {yAlong(1, 810, 2)}},
        {AssistChannelCtl::PIP_RIGHT_TOP, 0, {xAlong(1, 1440, 2)}, 1919, {yAlong(270, 1080, 2)}},
        {AssistChannelCtl::PIP_RIGHT_BOTTOM, 1079, {xAlong(1, 1440, 2)}, 1919, {yAlong(1, 810, 2)}},
    };
    for (const Case &each : cases) {
        draw.UpdateMark(false, false, 2.0f, true, each.mode, VideoOption::SCAN_NORMAL);
        const QImage image = paint();
        EXPECT_EQ(row(image, each.y), each.rowRuns) << each.mode;
        EXPECT_EQ(column(image, each.x), each.columnRuns) << each.mode;
        // The uncut sides stay whole.
        const Runs sides = {xAcross(1, 2), xAcross(1920, 2)};
        EXPECT_EQ(row(image, 540), sides) << each.mode;
    }

    // Without the assist picture the frame is whole whatever the layout.
    draw.UpdateMark(false, false, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP, VideoOption::SCAN_NORMAL);
    EXPECT_EQ(row(paint(), 0), (Runs{xAlong(1, 1920, 2)}));
}

TEST_F(MarkDrawLayoutTest, HalfScreenLayoutsDrawAtHalfSizeOnTheLeft)
{
    MarkDraw &draw = start(frameAndSafe);
    for (AssistChannelCtl::PicInPicMode mode : {AssistChannelCtl::PIP_LEFT_HALF, AssistChannelCtl::PIP_RIGHT_HALF}) {
        draw.UpdateMark(false, false, 2.0f, true, mode, VideoOption::SCAN_NORMAL);
        const QImage image = paint();
        // 16:9: 959 x 539 at (0, 270); safe 90: 864 x 486 at (48, 297); the
        // cross in the middle of the left half.
        EXPECT_EQ(row(image, 400), (Runs{xAcross(0, 2), xAcross(48, 2), xAcross(912, 2), xAcross(959, 2)})) << mode;
        EXPECT_EQ(column(image, 480), (Runs{yAcross(270, 2), yAcross(297, 2), yAlong(530, 550, 2),
                                           yAcross(783, 2), yAcross(809, 2)}))
            << mode;
        EXPECT_TRUE(column(image, 960).empty()) << mode;
    }
    // In another scan mode the cross stays in the screen's middle.
    draw.UpdateMark(false, false, 2.0f, true, AssistChannelCtl::PIP_LEFT_HALF, VideoOption::SCAN_PIX);
    EXPECT_EQ(column(paint(), 960), (Runs{yAlong(530, 550, 2)}));

    // The stored layout names; an unknown one is the top-right corner.
    for (const char *layout : {"leftHalf", "rightHalf"}) {
        start(std::string(frameAndSafe) + "inputPicEnable=true\ninputPicInPic=" + layout + "\n");
        EXPECT_EQ(row(paint(), 400).front(), xAcross(0, 2)) << layout;
    }
    start(std::string(frameAndSafe) + "inputPicEnable=true\ninputPicInPic=middle\n");
    EXPECT_EQ(row(paint(), 0), (Runs{xAlong(1, 1440, 2)}));
}

TEST_F(MarkDrawLayoutTest, ZoomHidesFramesAndSafeAreaButNotTheProbe)
{
    MarkDraw &draw = start(std::string(frameAndSafe) + "photoZoomEnable=true\ncolorLightMeterEnable=true\n");
    QImage image = paint();
    // Only the probe: 145-pixel lines through (960, 540).
    EXPECT_EQ(row(image, 540), (Runs{xAlong(888, 1032, 2)}));
    EXPECT_EQ(column(image, 960), (Runs{yAlong(468, 612, 2)}));
    EXPECT_EQ(colorAt(image, 900, 540), probeColor);
    EXPECT_EQ(paintedCount(image), 146 * 2 * 2 - 4);

    draw.lightMeterSetPosition(300, 200);
    image = paint();
    EXPECT_EQ(row(image, 200), (Runs{xAlong(228, 372, 2)}));
    EXPECT_EQ(column(image, 300), (Runs{yAlong(128, 272, 2)}));

    draw.UpdateMark(false, false, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP, VideoOption::SCAN_NORMAL);
    EXPECT_EQ(row(paint(), 540), (Runs{xAcross(1, 2), xAcross(96, 2), xAlong(950, 970, 2), xAcross(1824, 2),
                                       xAcross(1920, 2)}));
    draw.setLightMeterEnable(false);
    draw.setSafeMarkEnable(false);
    EXPECT_EQ(column(paint(), 300), (Runs{yAcross(1, 2), yAcross(1080, 2)}));
}

TEST_F(MarkDrawLayoutTest, WithoutPictureOnlyTheCentredBackground)
{
    MarkDraw &draw = start(std::string(frameAndSafe) + "colorLightMeterEnable=true\n");
    QImage image = paint();
    EXPECT_GT(paintedCount(image), 0);
    mark->drawBackground(&image);
    EXPECT_EQ(image, paint()) << "no background while the picture is there";

    draw.setNoVideo(true);
    EXPECT_EQ(paintedCount(paint()), 0);

    const QImage logo(":/png/common/logo.png");
    ASSERT_FALSE(logo.isNull());
    image = QImage(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    draw.drawBackground(&image);
    const QPoint at((1920 - logo.width()) / 2, (1080 - logo.height()) / 2);
    QImage expected(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x)
            expected.setPixel(at.x() + x, at.y() + y, logo.convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(x, y));
    }
    EXPECT_EQ(image, expected) << "unscaled, centred, nothing else";
    EXPECT_GT(paintedCount(image), 1000);
}

} // namespace
