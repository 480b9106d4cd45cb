#include "BoardTest.h"
#include "CscCtl.h"
#include "CscStaging.h"
#include "HDMICtl.h"
#include "LightMeterCtl.h"
#include "SDICtl.h"
#include "VideoModel.h"
#include "VideoOption.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

class VideoOptionTest : public BoardTest
{
protected:
    VideoOption *video() { return VideoOption::getInstance(); }
    uint32_t field(FunctionTypeIndex id, int high, int low) { return board().pl().field(id, high, low); }
    // Both halves' windows: left x0, x1, right x0, x1, first and end line.
    void expectWindows(uint32_t lx0, uint32_t lx1, uint32_t rx0, uint32_t rx1, uint32_t y0, uint32_t y1)
    {
        EXPECT_EQ(board().pl().get(LEFT_HOR_SET), lx0 | lx1 << 16);
        EXPECT_EQ(board().pl().get(RIGHT_HOR_SET), rx0 | rx1 << 16);
        EXPECT_EQ(board().pl().get(LEFT_VER_SET), y0 | y1 << 16);
        EXPECT_EQ(board().pl().get(RIGHT_VER_SET), y0 | y1 << 16);
    }
    void source(const char *input, int width, int height)
    {
        video()->setInput(VideoOption::MAIN_CHANNEL, input);
        video()->setSize(VideoOption::MAIN_CHANNEL, width, height);
    }
    uint32_t cropX() { return field(MAIN_RESIZE_CTL, 19, 8); }
    uint32_t cropY() { return field(MAIN_RESIZE_CTL, 31, 20); }
    uint32_t cropOn() { return field(MAIN_RESIZE_CTL, 4, 4); }
    std::vector<uint32_t> staged() { return stagedCscWords(board().pl()); }
    // What staging one record alone leaves in the registers.
    template <typename Type>
    std::vector<uint32_t> recordOf(Type type, bool output = false)
    {
        const std::vector<uint32_t> before = staged();
        if (output)
            CscCtl::getInstance()->matrixOutputLoad(static_cast<CscCtl::MatrixType>(type));
        else
            CscCtl::getInstance()->matrixLoad(type);
        const std::vector<uint32_t> record = staged();
        for (size_t i = 0; i < before.size(); ++i)
            board().pl().set(static_cast<FunctionTypeIndex>(CSC_MATRIX_VAL0 + i), before[i]);
        return record;
    }
    // The enable bits of the five colour blocks (main, assist, output, scope, screen).
    uint32_t enabledBlocks()
    {
        const uint32_t word = board().pl().get(CSC_MATRIX_CTL);
        uint32_t blocks = 0;
        for (int block = 0; block < 5; ++block)
            blocks |= ((word >> (4 * block)) & 1u) << block;
        return blocks;
    }
    uint32_t zebraColour() { return board().pl().get(ZEBRA_COLOR_SET) & 0x3FFFFFFFu; }
};

} // namespace

// The display page reads and saves the texts; here, that they match exactly.
TEST(ScanModeTexts, ATextInAnotherCaseIsUnknownAndFallsBackToNormal)
{
    VideoOption::ScanMode mode = VideoOption::SCAN_PIX;
    EXPECT_FALSE(VideoOption::scanModeFromText("PIX", mode));
    EXPECT_EQ(mode, VideoOption::SCAN_NORMAL);
}

TEST_F(VideoOptionTest, DefaultWindowAndLetterbox)
{
    source("SDI", 1920, 1080);
    EXPECT_EQ(board().pl().get(MAIN_RESIZE_VAL), 3072u | 3072u << 16);
    expectWindows(92, 1372, 92, 1372, 6, 1446);
    source("SDI", 4096, 2160);
    expectWindows(92, 1372, 92, 1372, 51, 1401);
    source("SDI", 2048, 1080);
    expectWindows(92, 1372, 92, 1372, 51, 1401);
}

TEST_F(VideoOptionTest, ScanModeCropsFor1920And3840And4096Sources)
{
    source("SDI", 3840, 2160);
    video()->setScanMode(VideoOption::SCAN_PIX, true);
    EXPECT_EQ(cropOn(), 0u) << "exactly 16:9: no crop";
    EXPECT_EQ(board().pl().get(MAIN_RESIZE_VAL), 6144u | 6144u << 16);

    source("SDI", 4096, 2160);
    EXPECT_EQ(cropOn(), 1u);
    EXPECT_EQ(cropX(), 128u);
    EXPECT_EQ(cropY(), 0u);
    EXPECT_EQ(field(MAIN_RESIZE_VAL, 15, 0), 6144u) << "3840 crop scaled to 2560";
    expectWindows(92, 1372, 92, 1372, 6, 1446);

    // Dragging pans the crop within twice the free range.
    video()->setScanModeOffset(-5000, 0);
    EXPECT_EQ(cropX(), 0u);
    video()->setScanModeOffset(5000, 0);
    EXPECT_EQ(cropX(), 256u);

    // A 4:3 source is cropped vertically.
    source("SDI", 1440, 1080);
    EXPECT_EQ(cropOn(), 1u);
    EXPECT_EQ(cropX(), 0u);
    EXPECT_EQ(cropY(), 135u);

    video()->setScanMode(VideoOption::SCAN_PIX_TO_PIX, true);
    source("SDI", 1920, 1080);
    expectWindows(412, 1372, 92, 1052, 186, 1266);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 0, 0), 0u) << "no scaling at one pixel per pixel";
    EXPECT_EQ(field(RIGHT_SIDE_POS, 23, 0), 960u * 4096u);
    EXPECT_EQ(cropOn(), 0u);

    source("SDI", 4096, 2160);
    EXPECT_EQ(cropX(), 768u);
    EXPECT_EQ(cropY(), 360u);
    EXPECT_EQ(cropOn(), 1u);
    expectWindows(92, 1372, 92, 1372, 6, 1446);
    video()->setScanModeOffset(10000, -10000);
    EXPECT_EQ(cropX(), 1536u);
    EXPECT_EQ(cropY(), 0u);

    video()->setScanMode(VideoOption::SCAN_NORMAL, true);
    EXPECT_EQ(cropX(), 0u);
    EXPECT_EQ(cropOn(), 0u);
}

TEST_F(VideoOptionTest, ZoomStepsLimitsAndPanning)
{
    source("SDI", 1920, 1080);
    video()->enableZoomMode(true, true);
    EXPECT_EQ(cropOn(), 1u);
    video()->setScaleFactor(VideoOption::SCALE_ZOOM_IN);
    EXPECT_EQ(video()->getZoomWidth(), 1856) << "steps of (1920 - 640) / 20";
    EXPECT_EQ(video()->getZoomHeight(), 1044);
    EXPECT_EQ(video()->getPanX(), 32);
    EXPECT_EQ(video()->getPanY(), 18);
    EXPECT_EQ(cropX(), 32u);
    EXPECT_EQ(field(MAIN_RESIZE_VAL, 15, 0), 2969u);

    int steps = 1;
    while (video()->getZoomWidth() > 640 && steps < 100) {
        video()->setScaleFactor(VideoOption::SCALE_ZOOM_IN);
        ++steps;
    }
    EXPECT_EQ(steps, 20);
    EXPECT_EQ(video()->getZoomWidth(), 640);
    video()->setScaleFactor(VideoOption::SCALE_ZOOM_IN);
    EXPECT_EQ(video()->getZoomWidth(), 640) << "no zoom below the smallest crop";

    // Panning stays within the picture.
    video()->setScaleOffset(100000, 100000);
    EXPECT_EQ(video()->getPanX(), 1920 - 640);
    EXPECT_EQ(video()->getPanY(), 1080 - 360 - 1);
    video()->setScaleOffset(-100000, -100000);
    EXPECT_EQ(video()->getPanX(), 0);
    EXPECT_EQ(video()->getPanY(), 0);
    EXPECT_EQ(cropX(), 0u);

    for (int i = 0; i < 19; ++i)
        video()->setScaleFactor(VideoOption::SCALE_ZOOM_OUT);
    EXPECT_EQ(video()->getZoomWidth(), 1856);
    video()->setScaleFactor(VideoOption::SCALE_ZOOM_OUT);
    EXPECT_EQ(video()->getZoomWidth(), 1920);
    EXPECT_EQ(video()->getPanX(), 0);
    const uint32_t scale = board().pl().get(MAIN_RESIZE_VAL);
    video()->setScaleFactor(VideoOption::SCALE_ZOOM_OUT);
    EXPECT_EQ(video()->getZoomWidth(), 1920) << "whole frame reached: no further zoom-out";
    EXPECT_EQ(board().pl().get(MAIN_RESIZE_VAL), scale);

    // 4096-wide sources step by (4096 - 640) / 22.
    source("SDI", 4096, 2160);
    video()->setScaleFactor(VideoOption::SCALE_ZOOM_IN);
    EXPECT_EQ(video()->getZoomWidth(), 4096 - 157);
}

TEST_F(VideoOptionTest, CropPositionHalvesForFieldsAndHdmiPairs)
{
    source("HDMI", 1920, 1080);
    video()->setInterlance(VideoOption::MAIN_CHANNEL, Video::INTERLACED);
    video()->enableZoomMode(true, true);
    video()->resizeZoomPosition(100, 100);
    EXPECT_EQ(cropX(), 50u);
    EXPECT_EQ(cropY(), 50u);
    video()->setInterlance(VideoOption::MAIN_CHANNEL, Video::PROGRESSIVE);
    video()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
    video()->setSDImode(Video::SDI_3G);
    video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_10, Video::LEVEL_B, Video::SAMPLING_YCBCR422);
    video()->resizeZoomPosition();
    EXPECT_EQ(cropX(), 100u);
    EXPECT_EQ(cropY(), 50u) << "3G level B 4:2:2 10-bit carries two streams";
    video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_12, Video::LEVEL_B, Video::SAMPLING_YCBCR422);
    video()->resizeZoomPosition();
    EXPECT_EQ(cropY(), 100u);
}

TEST_F(VideoOptionTest, WarpAndHalfScreenPictureInPicture)
{
    source("SDI", 1920, 1080);
    video()->resizeWarpRate(1.33f);
    video()->enableWarpMode(true, true);
    EXPECT_EQ(board().pl().get(MAIN_RESIZE_VAL), 3072u | 4088u << 16);
    expectWindows(92, 1372, 92, 1372, 185, 1267);
    video()->resizeWarpRate(0.0f);
    video()->resizeWarpRate(-2.0f);
    // Bad factors keep the previous one.
    expectWindows(92, 1372, 92, 1372, 185, 1267);
    video()->enableWarpMode(false, true);
    expectWindows(92, 1372, 92, 1372, 6, 1446);

    video()->setPinInPinMode(AssistChannelCtl::PIP_LEFT_HALF, false);
    video()->enablePicInPic(true, true);
    EXPECT_EQ(board().pl().get(MAIN_RESIZE_VAL), 6144u | 6144u << 16) << "1920 x 1080 into 1280 x 720";
    expectWindows(92, 1372, 92, 1372, 368, 1088);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 0, 0), 1u);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 4, 4), 1u);

    // An interlaced HDMI main picture counts its field lines.
    video()->setInput(VideoOption::MAIN_CHANNEL, "HDMI");
    HDMICtl::getInstance()->setInfo(true, 0, 2200, 1920, 1125, 540, false, 1, 5);
    video()->update();
    EXPECT_EQ(field(MAIN_RESIZE_VAL, 15, 0), 6144u);
    EXPECT_EQ(field(MAIN_RESIZE_VAL, 31, 16), 3072u) << "540 field lines into 720";

    // Without assist video the assist window stays off.
    video()->setAssistNovideo(true);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 0, 0), 0u);
    video()->update();
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 0, 0), 0u);
    video()->setAssistNovideo(false);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 0, 0), 1u);
}

TEST_F(VideoOptionTest, ModesExcludeEachOtherBothWays)
{
    source("SDI", 1920, 1080);
    video()->enableLightMeterMode(true, false);
    video()->enableZoomMode(true, false);
    EXPECT_FALSE(video()->isLightMeter());
    EXPECT_TRUE(video()->isZoom());
    video()->setScanMode(VideoOption::SCAN_PIX, false);
    EXPECT_FALSE(video()->isZoom());
    EXPECT_EQ(video()->getScanMode(), VideoOption::SCAN_PIX);
    video()->enableLutContrastMode(true, false);
    EXPECT_EQ(video()->getScanMode(), VideoOption::SCAN_NORMAL);
    video()->enableFrameCompareMode(true, false);
    EXPECT_FALSE(video()->isLutContrast());
    video()->enableWarpMode(true, false);
    EXPECT_FALSE(video()->isFrameCompare());
    // Switching a mode off changes nothing else.
    video()->enableZoomMode(false, false);
    EXPECT_TRUE(video()->isWarp());

    // A corner picture-in-picture lives with zoom; a half screen does not.
    video()->setPinInPinMode(AssistChannelCtl::PIP_RIGHT_TOP, false);
    video()->enablePicInPic(true, false);
    EXPECT_TRUE(video()->isWarp());
    video()->enableZoomMode(true, false);
    EXPECT_TRUE(video()->isPicInPic());
    video()->setPinInPinMode(AssistChannelCtl::PIP_RIGHT_HALF, false);
    EXPECT_FALSE(video()->isZoom()) << "a half-screen layout clears the modes";
    EXPECT_TRUE(video()->isPicInPic());
    video()->enableZoomMode(true, false);
    EXPECT_FALSE(video()->isPicInPic()) << "zoom switches the half screen off";
    video()->enablePicInPic(true, false);
    EXPECT_FALSE(video()->isZoom());

    QSignalSpy zoomSpy(video(), &VideoOption::signalZoomEnable);
    QSignalSpy markSpy(video(), &VideoOption::signalUpdateMark);
    video()->enableZoomMode(true, true);
    ASSERT_EQ(zoomSpy.count(), 1);
    EXPECT_TRUE(zoomSpy.at(0).at(0).toBool());
    ASSERT_EQ(markSpy.count(), 1);
    EXPECT_FALSE(markSpy.at(0).at(3).toBool()) << "the mark follows picture-in-picture going off";
}

TEST_F(VideoOptionTest, FormatChoiceAndStyle)
{
    video()->setFormat("3GB-444-12");
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 7u);
    video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_10, Video::LEVEL_A, Video::SAMPLING_YCBCR422);
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 7u) << "a chosen format is kept";
    video()->setFormat("Auto");
    video()->setStlye();
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 0u);
    video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_12, Video::LEVEL_B, Video::SAMPLING_RGB444);
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 7u);
    video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_8, Video::LEVEL_A, Video::SAMPLING_YCBCR422);
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 7u) << "8 bits write nothing";

    video()->setInput(VideoOption::ASSIST_CHANNEL, "WHDI");
    video()->setInput(VideoOption::MAIN_CHANNEL, "HDMI");
    EXPECT_EQ(field(MAIN_CH_CTL, 1, 0), 1u);
    EXPECT_EQ(field(ASSIST_CH_CTL, 1, 0), 0u);
    video()->setInput(VideoOption::MAIN_CHANNEL, "USB");
    EXPECT_EQ(field(MAIN_CH_CTL, 1, 0), 1u) << "an unknown name selects nothing";
    EXPECT_EQ(video()->getInput(VideoOption::MAIN_CHANNEL), "USB");
    EXPECT_EQ(video()->getInput(VideoOption::ASSIST_CHANNEL), "WHDI");
}

TEST_F(VideoOptionTest, ColourMatricesFollowTheSourceAndTheRange)
{
    constexpr uint32_t rgbWhite = 1023u | 1023u << 10 | 1023u << 20;
    constexpr uint32_t ycbcrWhite = 512u | 940u << 10 | 512u << 20;
    LightMeterCtl *meter = LightMeterCtl::getInstance();

    // A 4:2:2 SDI source in video range: the video-range matrix everywhere.
    video()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
    video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_10, Video::LEVEL_A, Video::SAMPLING_YCBCR422);
    EXPECT_EQ(zebraColour(), ycbcrWhite);
    video()->setRange("video");
    board().pl().set(VID_SCOPE_CTL, 1u << 3);
    video()->loadCscMatrix(VideoOption::MAIN_CHANNEL);
    EXPECT_EQ(enabledBlocks(), 0b01001u) << "main input and scope";
    EXPECT_EQ(staged(), recordOf(CscCtl::MatrixVideo));
    EXPECT_EQ(field(VID_SCOPE_CTL, 3, 3), 0u) << "the scopes show YCbCr";
    EXPECT_EQ(meter->getLightMeterRange(), CscCtl::MatrixVideo);

    // Full range.
    video()->setRange("data");
    video()->loadCscMatrix(VideoOption::MAIN_CHANNEL);
    EXPECT_EQ(staged(), recordOf(CscCtl::MatrixData));
    EXPECT_EQ(meter->getLightMeterRange(), CscCtl::MatrixData);

    // RGB sources: an RGB SDI picture and any HDMI picture.
    for (const char *input : {"SDI", "HDMI"}) {
        board().pl().set(CSC_MATRIX_CTL, 0);
        board().pl().set(VID_SCOPE_CTL, 0);
        video()->setInput(VideoOption::MAIN_CHANNEL, input);
        video()->setStlye(VideoOption::MAIN_CHANNEL, Video::DEPTH_10, Video::LEVEL_A, Video::SAMPLING_RGB444);
        EXPECT_EQ(zebraColour(), rgbWhite) << input;
        video()->loadCscMatrix(VideoOption::MAIN_CHANNEL);
        EXPECT_EQ(enabledBlocks(), 0b01001u) << input;
        EXPECT_EQ(staged(), recordOf(CscCtl::MatrixVideo, true)) << "the scope's output matrix, " << input;
        EXPECT_EQ(field(VID_SCOPE_CTL, 3, 3), 1u) << input;
        EXPECT_EQ(meter->getLightMeterRange(), CscCtl::MatrixVideo) << input;
    }

    // The assist channel loads its own block and leaves the scopes alone.
    board().pl().set(CSC_MATRIX_CTL, 0);
    video()->setInput(VideoOption::ASSIST_CHANNEL, "WHDI");
    video()->loadCscMatrix(VideoOption::ASSIST_CHANNEL);
    EXPECT_EQ(enabledBlocks(), 0b00010u);
    EXPECT_EQ(staged(), recordOf(CscCtl::MatrixData));
    EXPECT_EQ(field(VID_SCOPE_CTL, 3, 3), 1u);

    // The screen matrix: normal, or the single-colour view's.
    video()->loadCscMatrix();
    EXPECT_EQ(enabledBlocks(), 0b10010u);
    EXPECT_EQ(staged(), recordOf(CscCtl::ScreenNormal));
    video()->setSingleOnly(true);
    video()->loadCscMatrix();
    EXPECT_EQ(staged(), recordOf(CscCtl::ScreenBlue));
    video()->setSingleColorType(CscCtl::ScreenRed);
    video()->loadCscMatrix();
    EXPECT_EQ(staged(), recordOf(CscCtl::ScreenRed));

    // The zebra colour follows the main input: RGB for HDMI, YCbCr for the
    // wireless picture, the style for SDI.
    video()->setInput(VideoOption::MAIN_CHANNEL, "WHDI");
    EXPECT_EQ(zebraColour(), ycbcrWhite);
    video()->setInput(VideoOption::MAIN_CHANNEL, "HDMI");
    EXPECT_EQ(zebraColour(), rgbWhite);
    video()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
    EXPECT_EQ(zebraColour(), rgbWhite);
}

// An RGB SDI picture shown only on the assist channel: its style is stored
// like the main channel's, so its input matrix is the identity; the zebra
// colour stays the main input's.
TEST_F(VideoOptionTest, AnRgbSdiSourceOnTheAssistChannelAloneGetsTheRgbMatrix)
{
    constexpr uint32_t ycbcrWhite = 512u | 940u << 10 | 512u << 20;
    video()->setInput(VideoOption::MAIN_CHANNEL, "WHDI");
    video()->setInput(VideoOption::ASSIST_CHANNEL, "SDI");
    video()->setStlye(VideoOption::ASSIST_CHANNEL, Video::DEPTH_10, Video::LEVEL_A, Video::SAMPLING_RGB444);
    video()->loadCscMatrix(VideoOption::ASSIST_CHANNEL);
    EXPECT_EQ(enabledBlocks(), 0b00010u);
    EXPECT_EQ(staged(), recordOf(CscCtl::MatrixRGB));
    EXPECT_EQ(zebraColour(), ycbcrWhite);
}

TEST_F(VideoOptionTest, LutCompareSplitInSourcePixels)
{
    auto split = [&] { return field(VID_3DLUT_CTL, 23, 12); };
    source("SDI", 1920, 1080);
    EXPECT_EQ(split(), 960u) << "the stored middle position is applied with the size";
    video()->lutContrastPosition(480);
    EXPECT_EQ(split(), 480u);
    source("SDI", 2048, 1080);
    EXPECT_EQ(split(), 512u) << "the position is kept and re-applied";
    // Pixel pairs for HDMI and for sources wider than 2048.
    source("SDI", 4096, 2160);
    EXPECT_EQ(split(), 512u);
    source("HDMI", 1920, 1080);
    video()->UplutContrastPosition();
    EXPECT_EQ(split(), 240u);
    video()->lutContrastPosition(5000);
    EXPECT_EQ(split(), 960u) << "held to the screen";
}

TEST_F(VideoOptionTest, VideoInterruptRefreshesTheSelectedDecoders)
{
    video()->setInput(VideoOption::MAIN_CHANNEL, "HDMI");
    video()->setInput(VideoOption::ASSIST_CHANNEL, "SDI");
    QSignalSpy hdmi(HDMICtl::getInstance(), &HDMICtl::signalUpdate);
    board().pl().set(MAIN_VID_INFO0, 1u | (148500u / 2) << 4 | 0x20u << 24);
    board().pl().set(MAIN_VID_INFO1, 960u | 1100u << 16);
    board().pl().set(MAIN_VID_INFO2, 1080u | 1125u << 16);
    board().pl().set(AUD_FRM_CNT, 800);
    board().pl().set(AUD_AES_MAX, 32768u << 16 | 32768u);
    video()->interruptsHandle(InterruptsCtl::KEY_CLICKED, 0);
    ASSERT_EQ(hdmi.count(), 1);
    EXPECT_EQ(hdmi.at(0).at(0).toInt(), 0);
    // The SDI decoder was asked for the assist channel: it read the receiver.
    board().pl().set(SDI_IN_INFO, 1u << 3 | 1u << 8 | 7u << 12);
    video()->interruptsHandle(InterruptsCtl::KEY_CLICKED, 0);
    EXPECT_TRUE(SDICtl::getInstance()->isActive());
    std::string text;
    SDICtl::getInstance()->getInfo(text);
    EXPECT_EQ(text, "1920x1080 60i 422 10bit");
}

TEST_F(VideoOptionTest, AFloodThroughTheDispatcherIsPacedAndNoChangeIsLost)
{
    video()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
    video()->setInput(VideoOption::ASSIST_CHANNEL, "SDI");
    QSignalSpy formats(SDICtl::getInstance(), &SDICtl::updateVideoFormat);
    auto format = [](const char *size, const char *rate) {
        sim::VideoModel::Format result;
        std::string error;
        EXPECT_TRUE(sim::VideoModel::parseFormat(size, rate, result, error)) << error;
        return result;
    };
    const sim::VideoModel::Format formatsToFlip[2] = {format("1920x1080", "50i"), format("1280x720", "60p")};
    std::string error;
    ASSERT_TRUE(board().video().sdi(formatsToFlip[0], error)) << error;

    const int handledBefore = board().interrupts().acknowledgements(0);
    std::atomic<bool> running{true};
    std::atomic<int> raised{0};
    const auto start = std::chrono::steady_clock::now();
    std::thread flood([&] {
        std::string ignored;
        for (int i = 0; running; ++i) {
            board().interrupts().raise(0);
            if (i % 50 == 0)
                board().video().sdi(formatsToFlip[(i / 50) % 2], ignored);
            ++raised;
        }
    });
    bool served = false;
    QMetaObject::invokeMethod(video(), [&] { served = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return served; }, 10000)) << "the user interface is served during the flood";
    QTest::qWait(1500);
    running = false;
    flood.join();
    const long elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    QCoreApplication::processEvents();
    const int handled = board().interrupts().acknowledgements(0) - handledBefore;
    EXPECT_GE(raised, 1000) << "a flood, not a trickle";
    EXPECT_GE(handled, 1);
    EXPECT_LE(handled, elapsedMs / 10 + 2) << "the dispatcher takes one event a line every 10 ms at most";
    EXPECT_GE(formats.count(), 1);
    EXPECT_LE(formats.count(), elapsedMs / 750 + 1) << "the debounce holds";

    // A change after the flood still arrives, from the frame interrupts alone.
    const int before = formats.count();
    ASSERT_TRUE(board().video().sdi(format("1920x1080", "25p"), error)) << error;
    std::string text;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            SDICtl::getInstance()->getInfo(text);
            return formats.count() > before && text == "1920x1080 25p 422 10bit";
        },
        10000))
        << text;
}

TEST_F(VideoOptionTest, AbsurdSizesInEveryModeStayWithinThePanel)
{
    video()->setInput(VideoOption::MAIN_CHANNEL, "HDMI");
    for (const auto &size : {std::pair<int, int>{0, 0}, {65535, 65535}, {1, 65535}, {65535, 1}, {-5, 100000}}) {
        for (int scan = 0; scan < 3; ++scan) {
            video()->setScanMode(static_cast<VideoOption::ScanMode>(scan), false);
            video()->setSize(VideoOption::MAIN_CHANNEL, size.first, size.second);
            video()->setScanModeOffset(30000, -30000);
            EXPECT_LE(field(LEFT_HOR_SET, 27, 16), 1372u);
            EXPECT_GE(field(LEFT_VER_SET, 11, 0), 6u);
            EXPECT_LE(field(LEFT_VER_SET, 27, 16), 1446u);
        }
        video()->enableZoomMode(true, true);
        video()->setScaleFactor(VideoOption::SCALE_ZOOM_IN);
        video()->setScaleFactor(VideoOption::SCALE_ZOOM_OUT);
        video()->setScaleOffset(-30000, 30000);
        video()->enableWarpMode(true, true);
        video()->setPinInPinMode(AssistChannelCtl::PIP_LEFT_HALF, false);
        video()->enablePicInPic(true, true);
        video()->lutContrastPosition(100000);
        video()->enablePicInPic(false, true);
    }
    video()->setScanMode(static_cast<VideoOption::ScanMode>(7), true);
    EXPECT_EQ(video()->getScanMode(), VideoOption::SCAN_NORMAL) << "an unknown scan mode is refused";
}
