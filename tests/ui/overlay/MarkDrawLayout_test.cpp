#include "Config.h"
#include "OverlayTest.h"

#include <limits>

namespace {

using MarkDrawLayoutTest = OverlayTest;

// 16:9 frame lines, alone or with the safe area (90), 2-pixel lines.
const std::string frame169 = "photoMarkEnable=true\nphotoMarkRate169=true\nphotoMarkLine=small\n";
const std::string frameAndSafe = frame169 + "photoSafeEnable=true\nphotoSafeLine=small\nphotoSafeRate=90\n";

void show(MarkDraw &draw, bool zoom, bool warp, float rate, bool pic, AssistChannelCtl::PicInPicMode mode,
          VideoOption::ScanMode scan = VideoOption::SCAN_NORMAL)
{
    draw.UpdateMark(zoom, warp, rate, pic, mode, scan);
}

TEST_F(MarkDrawLayoutTest, ScanModeFitFollowsTheMainSourceSize)
{
    MarkDraw &draw = start(frame169);
    const struct {
        VideoOption::ScanMode mode;
        QSize source;
        QRect frame;
    } cases[] = {
        // 2K and 4K DCI in normal scan: 1799 x 1011 centred.
        {VideoOption::SCAN_NORMAL, QSize(4096, 2160), QRect(60, 34, 1799, 1011)},
        {VideoOption::SCAN_NORMAL, QSize(2048, 1080), QRect(60, 34, 1799, 1011)},
        {VideoOption::SCAN_NORMAL, QSize(3840, 2160), QRect(1, 1, 1919, 1079)},
        {VideoOption::SCAN_PIX, QSize(4096, 2160), QRect(1, 1, 1919, 1079)},
        // Pixel to pixel: 3/4 for 1080 lines, else 1/2, up to 2560 x 1440.
        {VideoOption::SCAN_PIX_TO_PIX, QSize(1920, 1080), QRect(240, 135, 1439, 809)},
        {VideoOption::SCAN_PIX_TO_PIX, QSize(2560, 1440), QRect(480, 270, 959, 539)},
        {VideoOption::SCAN_PIX_TO_PIX, QSize(3840, 2160), QRect(1, 1, 1919, 1079)},
    };
    for (const auto &each : cases) {
        Config::setVideoWidth(0, each.source.width());
        Config::setVideoHeight(0, each.source.height());
        show(draw, false, false, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP, each.mode);
        const QImage image = paint();
        const QRect &f = each.frame;
        EXPECT_EQ(row(image, 540), x(f.left()) + x(f.left() + f.width())) << each.mode << " " << each.source.width();
        EXPECT_EQ(column(image, 960), y(f.top()) + y(f.top() + f.height())) << each.mode;
    }
    // From the store at start; an unknown scan mode text is normal scan.
    start(frame169 + "scanMode=pixTopix\n");
    Config::setVideoWidth(0, 1280);
    Config::setVideoHeight(0, 720);
    EXPECT_EQ(row(paint(), 540), x(480) + x(1439));
    start(frame169 + "scanMode=fit\n");
    EXPECT_EQ(row(paint(), 540), x(1) + x(1920));
}

TEST_F(MarkDrawLayoutTest, DesqueezeShortensTheFramesAroundTheMiddle)
{
    // From the store: (1080 - trunc(1079 / factor)) / 2 is the 16:9 top; an
    // unknown factor is 2.
    const std::pair<const char *, int> factors[] = {{"1.8x", 240}, {"1.65x", 213}, {"1.33x", 134}, {"3x", 270}};
    for (const auto &factor : factors) {
        start(frameAndSafe + "photoWarpEnable=true\nphotoWarpRate=" + factor.first + "\n");
        EXPECT_EQ(column(paint(), 960).front().first, factor.second - 1) << factor.first;
    }
    // 16:9 at 2x is 539 high from y 270, safe 90 486 from y 297; the sides
    // stay. A factor that is no number or below 1 keeps the one before.
    const Runs twice = y(270) + y(297) + ys(530, 550) + y(783) + y(809);
    for (float rate : {2.0f, std::numeric_limits<float>::quiet_NaN(), 0.5f, -2.0f}) {
        show(*mark, false, true, rate, false, AssistChannelCtl::PIP_RIGHT_TOP);
        EXPECT_EQ(column(paint(), 960), twice) << rate;
    }
    EXPECT_EQ(row(paint(), 540), x(1) + x(96) + xs(950, 970) + x(1824) + x(1920));
}

TEST_F(MarkDrawLayoutTest, CornerAssistWindowsCutTheLinesThatWouldCrossThem)
{
    MarkDraw &draw = start(frame169);
    // The 16:9 outline runs along x 1 and 1920, y 1 and 1080; per corner a row
    // and a column along the cut lines.
    const struct {
        AssistChannelCtl::PicInPicMode mode;
        int y;
        Runs rowRuns;
        int x;
        Runs columnRuns;
    } cases[] = {
        {AssistChannelCtl::PIP_LEFT_TOP, 0, xs(480, 1920), 0, ys(270, 1080)},
        {AssistChannelCtl::PIP_LEFT_BOTTOM, 1079, xs(480, 1920), 0, ys(1, 810)},
        {AssistChannelCtl::PIP_RIGHT_TOP, 0, xs(1, 1440), 1919, ys(270, 1080)},
        {AssistChannelCtl::PIP_RIGHT_BOTTOM, 1079, xs(1, 1440), 1919, ys(1, 810)},
    };
    for (const auto &each : cases) {
        show(draw, false, false, 2.0f, true, each.mode);
        const QImage image = paint();
        EXPECT_EQ(row(image, each.y), each.rowRuns) << each.mode;
        EXPECT_EQ(column(image, each.x), each.columnRuns) << each.mode;
        EXPECT_EQ(row(image, 540), x(1) + x(1920)) << each.mode;
    }
    // Without the assist picture the frame is whole; an unknown stored layout
    // is the top-right corner.
    show(draw, false, false, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP);
    EXPECT_EQ(row(paint(), 0), xs(1, 1920));
    start(frame169 + "inputPicEnable=true\ninputPicInPic=middle\n");
    EXPECT_EQ(row(paint(), 0), xs(1, 1440));
}

TEST_F(MarkDrawLayoutTest, HalfScreenLayoutsDrawAtHalfSizeOnTheLeft)
{
    MarkDraw &draw = start(frameAndSafe + "inputPicEnable=true\ninputPicInPic=rightHalf\n");
    // 16:9: 959 x 539 at (0, 270); safe 90: 864 x 486 at (48, 297); the cross
    // in the middle of the left half.
    const Runs rows = x(0) + x(48) + x(912) + x(959);
    const Runs columns = y(270) + y(297) + ys(530, 550) + y(783) + y(809);
    EXPECT_EQ(row(paint(), 400), rows);
    show(draw, false, false, 2.0f, true, AssistChannelCtl::PIP_LEFT_HALF);
    const QImage image = paint();
    EXPECT_EQ(row(image, 400), rows);
    EXPECT_EQ(column(image, 480), columns);
    EXPECT_TRUE(column(image, 960).empty());
    // In another scan mode the cross stays in the screen's middle.
    show(draw, false, false, 2.0f, true, AssistChannelCtl::PIP_LEFT_HALF, VideoOption::SCAN_PIX);
    EXPECT_EQ(column(paint(), 960), ys(530, 550));
}

TEST_F(MarkDrawLayoutTest, ZoomHidesFramesAndSafeAreaButNotTheProbe)
{
    MarkDraw &draw = start(frameAndSafe + "photoZoomEnable=true\ncolorLightMeterEnable=true\n");
    QImage image = paint();
    // Only the probe: two 145-pixel lines through (960, 540).
    EXPECT_EQ(row(image, 540), xs(888, 1032));
    EXPECT_EQ(column(image, 960), ys(468, 612));
    EXPECT_EQ(colorAt(image, 900, 540), qRgb(33, 91, 165));
    EXPECT_EQ(paintedCount(image), 146 * 2 * 2 - 4);
    draw.lightMeterSetPosition(300, 200);
    image = paint();
    EXPECT_EQ(row(image, 200), xs(228, 372));
    EXPECT_EQ(column(image, 300), ys(128, 272));

    show(draw, false, false, 2.0f, false, AssistChannelCtl::PIP_RIGHT_TOP);
    draw.setLightMeterEnable(false);
    EXPECT_EQ(row(paint(), 540), x(1) + x(96) + xs(950, 970) + x(1824) + x(1920));
}

TEST_F(MarkDrawLayoutTest, WithoutPictureOnlyTheCentredBackground)
{
    MarkDraw &draw = start(frameAndSafe + "colorLightMeterEnable=true\n");
    QImage image = paint();
    mark->drawBackground(&image);
    EXPECT_EQ(image, paint()) << "no background while there is a picture";

    draw.setNoVideo(true);
    EXPECT_EQ(paintedCount(paint()), 0);
    const QImage logo = QImage(":/png/common/logo.png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(logo.isNull());
    image.fill(Qt::transparent);
    draw.drawBackground(&image);
    QImage expected(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x)
            expected.setPixel((1920 - logo.width()) / 2 + x, (1080 - logo.height()) / 2 + y, logo.pixel(x, y));
    }
    EXPECT_EQ(image, expected) << "unscaled, centred, nothing else";
    EXPECT_GT(paintedCount(image), 1000);
}

} // namespace
