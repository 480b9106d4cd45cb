#include "AssistCtls.h"
#include "BoardTest.h"
#include "FrameCtl.h"
#include "OsdCtl.h"
#include "PanelPicture.h"
#include "TestPicture.h"
#include "VideoOption.h"

#include <QPainter>
#include <QTest>
#include <array>
#include <cmath>

namespace {

using Rgb = std::array<int, 3>;

class PanelPictureTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        video = VideoOption::getInstance();
        OsdCtl::getInstance()->setVideoEnable(0, true);
        source("HDMI", "1920x1080", "60p");
    }

    void source(const std::string &input, const std::string &size, const std::string &rate)
    {
        video->setInput(VideoOption::MAIN_CHANNEL, input);
        sim::VideoModel::Format format;
        std::string error;
        ASSERT_TRUE(sim::VideoModel::parseFormat(size, rate, format, error));
        if (input == "SDI")
            ASSERT_TRUE(board().video().sdi(format, error)) << error;
        else
            ASSERT_TRUE(board().video().hdmi(0, format, error)) << error;
    }

    QImage render(const QImage &osd = QImage())
    {
        return sim::PanelPicture::render(board().pl(), board().picture(), osd);
    }

    static Rgb at(const QImage &panel, int x, int y)
    {
        const uint32_t word = reinterpret_cast<const uint32_t *>(panel.constScanLine(y))[x];
        return {static_cast<int>((word >> 20) & 0x3FFu), static_cast<int>((word >> 10) & 0x3FFu),
                static_cast<int>(word & 0x3FFu)};
    }

    static bool near(const Rgb &a, const Rgb &b, int tolerance)
    {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(a[c] - b[c]) > tolerance)
                return false;
        }
        return true;
    }

    // Where the ramp holds a value, and the value there.
    static int rampColumn(int value) { return static_cast<int>(std::lround(value * 1919.0 / 1023.0)); }
    static int rampRow() { return sim::TestPicture::rampRect(1920, 1080).center().y(); }
    static Rgb bar(int index)
    {
        uint32_t rgb[3];
        sim::TestPicture::barColour(index, rgb);
        return {static_cast<int>(rgb[0]), static_cast<int>(rgb[1]), static_cast<int>(rgb[2])};
    }
    static QPoint barCentre(int index) { return sim::TestPicture::barRect(index, 1920, 1080).center(); }

    // The application's matrices latch on the rising edge of their load bit.
    bool latched(int block, int16_t coefficient00)
    {
        return QTest::qWaitFor(
            [&] { return board().picture().latched().blocks[static_cast<size_t>(block)].coefficient[0][0] == coefficient00; },
            3000);
    }

    VideoOption *video = nullptr;
};

} // namespace

TEST_F(PanelPictureTest, TheSourceComesThroughItsInputMatrixOrBlackWithoutTheMainLayer)
{
    // RGB over HDMI through the identity, though the measurement block's
    // record is staged the moment after the main block latched.
    video->loadCscMatrix(VideoOption::MAIN_CHANNEL);
    ASSERT_TRUE(latched(3, 1793)) << "the measurement block has its RGB to YCbCr record";
    QImage panel = render();
    for (int i = 0; i < sim::TestPicture::barCount; ++i)
        EXPECT_EQ(at(panel, barCentre(i).x(), barCentre(i).y()), bar(i)) << "bar " << i;
    EXPECT_EQ(at(panel, rampColumn(1023), rampRow()), (Rgb{1023, 1023, 1023}));

    // YCbCr over SDI through the application's video-range matrix comes
    // back within the matrices' rounding.
    source("SDI", "1920x1080", "25p");
    video->setRange("video");
    video->loadCscMatrix(VideoOption::MAIN_CHANNEL);
    ASSERT_TRUE(latched(0, 7364)) << "the Rec. 709 video-range matrix is in the main input block";
    panel = render();
    for (int i = 0; i < sim::TestPicture::barCount; ++i)
        EXPECT_TRUE(near(at(panel, barCentre(i).x(), barCentre(i).y()), bar(i), 3)) << "bar " << i;

    OsdCtl::getInstance()->setVideoEnable(0, false);
    panel = render();
    EXPECT_EQ(at(panel, barCentre(0).x(), barCentre(0).y()), (Rgb{0, 0, 0}));
}

TEST_F(PanelPictureTest, ZebraStripesItsLevelsAndFalseColourPaintsOnlyTheEnabledBands)
{
    ZebraCtl *zebra = ZebraCtl::getInstance();
    zebra->zebraRGBColor(1023, 0, 0);
    zebra->zebraThreshold(ZebraCtl::percentToLevel(85), ZebraCtl::percentToLevel(100));
    zebra->zebraEnable(true);
    const QImage panel = render();
    const int y = rampRow();
    int striped = 0;
    int plain = 0;
    // Near white: about 85 % to 100 % of the video range is striped red on
    // alternate diagonal bands; below it the ramp stays grey.
    for (int x = rampColumn(1000); x < rampColumn(1015); ++x) {
        const Rgb found = at(panel, x, y);
        if (found == Rgb{1023, 0, 0})
            ++striped;
        else if (found[0] == found[1] && found[1] == found[2])
            ++plain;
    }
    EXPECT_GT(striped, 5);
    EXPECT_GT(plain, 5);
    for (int x = rampColumn(100); x < rampColumn(700); x += 7)
        EXPECT_EQ(at(panel, x, y)[1], at(panel, x, y)[0]) << x;
    // The 75 % bars lie below the lower threshold.
    EXPECT_EQ(at(panel, barCentre(0).x(), barCentre(0).y()), bar(0));

    zebra->zebraEnable(false);
    const QImage off = render();
    for (int x = rampColumn(1000); x < rampColumn(1015); ++x)
        EXPECT_NE(at(off, x, y), (Rgb{1023, 0, 0}));

    // False colour: only the enabled bands are painted.
    PseudoCtl *pseudo = PseudoCtl::getInstance();
    pseudo->PseudoEnableIndex(static_cast<unsigned short>(1u << 11 | 1u << 0));
    pseudo->PseudoEnable(true);
    const QImage coloured = render();
    // Band 11, 100 % and above: the ramp's white end.
    EXPECT_EQ(at(coloured, rampColumn(1023), rampRow()), (Rgb{1023, 0, 0}));
    // Band 0, below 2 %: its black end.
    EXPECT_EQ(at(coloured, 0, rampRow()), (Rgb{512, 0, 767}));
    // Mid grey is in a band that is off: grey.
    const Rgb middle = at(coloured, rampColumn(512), rampRow());
    EXPECT_EQ(middle[0], middle[1]);
    EXPECT_EQ(middle[1], middle[2]);
    EXPECT_EQ(sim::PanelPicture::falseColourBand(ZebraCtl::percentToLevel(55)), 6);
}

TEST_F(PanelPictureTest, SingleColourViewKeepsOneComponentThroughThePanelMatrix)
{
    video->setSingleColorType(CscCtl::ScreenRed);
    video->setSingleOnly(true);
    video->loadCscMatrix();
    ASSERT_TRUE(latched(4, 4096));
    QImage panel = render();
    EXPECT_EQ(at(panel, barCentre(1).x(), barCentre(1).y()), (Rgb{767, 0, 0})) << "yellow shows its red";
    EXPECT_EQ(at(panel, barCentre(2).x(), barCentre(2).y()), (Rgb{0, 0, 0})) << "cyan has none";

    video->setSingleColorType(CscCtl::ScreenGrey);
    video->loadCscMatrix();
    ASSERT_TRUE(latched(4, 870));
    panel = render();
    const Rgb grey = at(panel, barCentre(3).x(), barCentre(3).y());
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_TRUE(near(grey, Rgb{548, 548, 548}, 2)) << "green's luma";
}

TEST_F(PanelPictureTest, TheInterfacePlaneAndTheCompareOverlayGoOverThePicture)
{
    QImage osd(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    osd.fill(Qt::transparent);
    QPainter(&osd).fillRect(0, 0, 100, 100, Qt::white);
    OsdCtl::getInstance()->setEnable(true);
    OsdCtl::getInstance()->setOpactiy(1.0f);
    QImage panel = render(osd);
    EXPECT_EQ(at(panel, 50, 50), (Rgb{1023, 1023, 1023}));
    EXPECT_EQ(at(panel, barCentre(1).x(), barCentre(1).y()), bar(1)) << "transparent elsewhere";
    OsdCtl::getInstance()->setOpactiy(0.5f);
    panel = render(osd);
    EXPECT_TRUE(near(at(panel, 50, 50), Rgb{894, 894, 894}, 2)) << "half white over 75 % white";
    OsdCtl::getInstance()->setEnable(false);
    EXPECT_EQ(at(render(osd), 50, 50), bar(0));

    // The compare overlay blends the loaded frame left of its split.
    auto *memory = static_cast<uint32_t *>(FrameCtl::getInstance()->loadAddress());
    for (size_t i = 0; i < 2048u * 1080u; ++i)
        memory[i] = 1000u << 10; // green
    FrameCtl *frame = FrameCtl::getInstance();
    frame->frameOpacity(100);
    frame->frameOverlay(true);
    panel = render();
    EXPECT_EQ(at(panel, barCentre(0).x(), barCentre(0).y()), (Rgb{0, 1000, 0}));
    EXPECT_EQ(at(panel, barCentre(7).x(), barCentre(7).y()), (Rgb{0, 1000, 0}));

    frame->frameOpacity(50);
    frame->framePosition(50);
    panel = render();
    EXPECT_TRUE(near(at(panel, barCentre(0).x(), barCentre(0).y()), Rgb{384, 883, 384}, 1)) << "half and half";
    EXPECT_EQ(at(panel, barCentre(7).x(), barCentre(7).y()), bar(7)) << "right of the split: the live picture";
}

TEST_F(PanelPictureTest, PicturesKeepTheirShapeAndFreezeHoldsThem)
{
    source("HDMI", "1280x720", "60p");
    QImage panel = render();
    EXPECT_EQ(at(panel, 5, 5), bar(0)) << "720p fills the screen";
    source("HDMI", "2048x1080", "24p");
    panel = render();
    EXPECT_EQ(at(panel, 960, 20), (Rgb{0, 0, 0})) << "a wider picture sits between bands";
    EXPECT_EQ(at(panel, 5, 40), bar(0));

    source("HDMI", "1920x1080", "60p");
    const QRect square = sim::TestPicture::squareRect(1920, 1080, 0);
    auto bottomBand = [&](const QImage &image) { return image.copy(0, square.top(), 1920, square.height()); };
    const QImage before = bottomBand(render());
    ASSERT_TRUE(QTest::qWaitFor([&] { return bottomBand(render()) != before; }, 3000)) << "the square moves";
    FrameCtl::getInstance()->frameFreeze(true);
    QTest::qWait(20);
    const QImage frozen = bottomBand(render());
    QTest::qWait(200);
    EXPECT_EQ(bottomBand(render()), frozen);
    FrameCtl::getInstance()->frameFreeze(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bottomBand(render()) != frozen; }, 3000));
}
