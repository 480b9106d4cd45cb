#include "BoardTest.h"
#include "HDMICtl.h"

#include <QSignalSpy>

namespace {

class HDMITest : public BoardTest
{
protected:
    // The measured timing of a channel: sizes in pixels and lines, the clock
    // in kHz of the pixel clock; the logic counts pairs of pixels.
    void measure(int channel, bool locked, unsigned int pixelKHz, unsigned int width, unsigned int totalWidth,
                 unsigned int height, unsigned int totalHeight, unsigned int validity = 0x20)
    {
        const bool main = channel == 0;
        board().pl().set(main ? MAIN_VID_INFO0 : ASSIST_VID_INFO0,
                         (locked ? 1u : 0u) | (pixelKHz / 2) << 4 | validity << 24);
        board().pl().set(main ? MAIN_VID_INFO1 : ASSIST_VID_INFO1, width / 2 | (totalWidth / 2) << 16);
        board().pl().set(main ? MAIN_VID_INFO2 : ASSIST_VID_INFO2, height | totalHeight << 16);
    }
    std::string text()
    {
        std::string result;
        HDMICtl::getInstance()->getInfo(result);
        return result;
    }
};

} // namespace

TEST(HDMIRates, ThresholdsOfBothPaths)
{
    EXPECT_EQ(HDMICtl::measuredRateText(60.0), "60");
    EXPECT_EQ(HDMICtl::measuredRateText(59.98), "59.94");
    EXPECT_EQ(HDMICtl::measuredRateText(49.99), "50");
    EXPECT_EQ(HDMICtl::measuredRateText(49.98), "30");
    EXPECT_EQ(HDMICtl::measuredRateText(29.95), "29.97");
    EXPECT_EQ(HDMICtl::measuredRateText(23.95), "23.98");
    EXPECT_EQ(HDMICtl::measuredRateText(23.89), "60") << "below 23.9 the text is 60";
    EXPECT_EQ(HDMICtl::mcuRateText(59.97), "60");
    EXPECT_EQ(HDMICtl::mcuRateText(59.96), "59.94");
    EXPECT_EQ(HDMICtl::mcuRateText(49.0), "50");
    EXPECT_EQ(HDMICtl::mcuRateText(29.985), "30");
    EXPECT_EQ(HDMICtl::mcuRateText(10), "60");
}

// The timing words each format gives the output are the HDMI scenario's.
TEST_F(HDMITest, MeasuredProgressiveAndInterlacedSources)
{
    HDMICtl *hdmi = HDMICtl::getInstance();
    QSignalSpy spy(hdmi, &HDMICtl::signalUpdate);
    measure(0, true, 148500, 1920, 2200, 1080, 1125);
    hdmi->update(0);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(text(), "1920x1080 60p 422 10bit");
    EXPECT_EQ(hdmi->sdiMode(), Video::SDI_3G);
    EXPECT_TRUE(hdmi->isActive(0));
    hdmi->update(0);
    EXPECT_EQ(spy.count(), 1) << "same timing, no signal";

    // 1080i50: 540-line fields are a 1920 x 1080 interlaced picture.
    measure(0, true, 74250, 1920, 2640, 540, 562);
    hdmi->update(0);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(hdmi->interlance(), Video::INTERLACED);
    EXPECT_EQ(text(), "1920x1080 50i 422 10bit");
    EXPECT_EQ(hdmi->sdiMode(), Video::SDI_HD);

    // 720p at 59.94 and 1080p at 23.98 (a slow rate is not halved).
    measure(0, true, 74176, 1280, 1650, 720, 750);
    hdmi->update(0);
    EXPECT_EQ(text(), "1280x720 59.94p 422 10bit");
    measure(0, true, 74176, 1920, 2750, 1080, 1125);
    hdmi->update(0);
    EXPECT_EQ(text(), "1920x1080 23.98p 422 10bit");

    // 2160p has no payload entry.
    measure(0, true, 594000, 3840, 4400, 2160, 2250);
    hdmi->update(0);
    EXPECT_EQ(text(), "3840x2160 60p 422 10bit");
    EXPECT_EQ(hdmi->getPayLoad(), 0x0100CB89u);
}

TEST_F(HDMITest, NoClockTotalsOfZeroAndAbsurdSizes)
{
    HDMICtl *hdmi = HDMICtl::getInstance();
    QSignalSpy spy(hdmi, &HDMICtl::signalUpdate);
    measure(0, true, 148500, 1920, 2200, 1080, 1125, 4);
    hdmi->update(0);
    EXPECT_EQ(spy.count(), 0) << "a clock of too low validity is no clock";
    EXPECT_FALSE(hdmi->isActive(0));

    measure(0, true, 0, 1920, 2200, 1080, 1125);
    hdmi->update(0);
    EXPECT_EQ(spy.count(), 0);
    measure(0, true, 148500, 1920, 2200, 1080, 1125);
    hdmi->update(0);
    EXPECT_EQ(spy.count(), 1) << "lock gained";
    measure(0, true, 148500, 0, 0, 0, 0);
    hdmi->update(0);
    EXPECT_EQ(spy.count(), 2);
    int width = 0;
    int height = 0;
    EXPECT_FALSE(hdmi->getSize(width, height));
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
    testing::internal::CaptureStdout();
    EXPECT_EQ(text(), "Unknow");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "HDMI width :0  height : 0 \n");

    measure(0, true, 2097150, 131070, 131070, 65535, 65535);
    hdmi->update(0);
    EXPECT_FALSE(hdmi->getSize(width, height));
    board().pl().set(MAIN_VID_INFO0, 0xFFFFFFFFu);
    board().pl().set(MAIN_VID_INFO1, 0xFFFFFFFFu);
    board().pl().set(MAIN_VID_INFO2, 0xFFFFFFFFu);
    hdmi->update(0);
    EXPECT_FALSE(hdmi->isActive(2));
}

TEST_F(HDMITest, AssistChannelAndPolling)
{
    HDMICtl *hdmi = HDMICtl::getInstance();
    QSignalSpy spy(hdmi, &HDMICtl::signalUpdate);
    measure(1, true, 74250, 1280, 1650, 720, 750, 1);
    hdmi->update(1);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(hdmi->getSize(width, height));
    EXPECT_EQ(width, 1280);

    // Without interrupts the input detection's own poll reads the registers.
    measure(1, false, 74250, 1280, 1650, 720, 750, 1);
    EXPECT_TRUE(hdmi->isActive(1)) << "fresh data of an update is used once";
    EXPECT_FALSE(hdmi->isActive(1)) << "then the registers are read";
    measure(1, true, 74250, 1280, 1650, 720, 750, 1);
    EXPECT_FALSE(hdmi->isActive(1)) << "read once, then the stored state until the next update";
}

TEST_F(HDMITest, McuReportsReplaceTheMeasurement)
{
    HDMICtl *hdmi = HDMICtl::getInstance();
    QSignalSpy spy(hdmi, &HDMICtl::signalUpdateHDMI);
    QSignalSpy measured(hdmi, &HDMICtl::signalUpdate);
    measure(0, true, 74250, 1920, 2200, 540, 562);
    hdmi->update(0);
    ASSERT_EQ(measured.count(), 1);

    // 1080i60 as the MCU sees it: 540 lines, interlaced, total 2200.
    hdmi->setInfo(true, 0, 2200, 1920, 1125, 540, false, 1, 5);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(text(), "1920x1080 60i 422 10bit");
    hdmi->setInfo(true, 0, 2200, 1920, 1125, 540, false, 1, 5);
    EXPECT_EQ(spy.count(), 1) << "the same report, no signal";

    // Measured updates no longer count.
    measure(0, true, 148500, 1280, 1650, 720, 750);
    hdmi->update(0);
    EXPECT_EQ(measured.count(), 1);

    // Totals of zero: the size still changes and is signalled, the rate stays.
    hdmi->setInfo(true, 0, 0, 1280, 0, 720, true, 1, 5);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(text(), "1280x720 60p 422 10bit");
    hdmi->setInfo(true, 0, 0, 1280, 0, 720, true, 1, 5);
    EXPECT_EQ(spy.count(), 2);

    hdmi->setInfo(true, 0, 0, 1280, 0, 720, true, 2, 6);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(text(), "1280x720 60p 444 12bit");
    hdmi->setInfo(true, 0, 0, 1280, 0, 720, true, 0, 4);
    EXPECT_EQ(text(), "1280x720 60p 444 8bit");
    hdmi->setInfo(true, 0, 0, 1280, 0, 720, true, 3, 7);
    EXPECT_EQ(text(), "1280x720 60p 422 16bit");

    hdmi->setInfo(false, 0, 0, 1280, 0, 720, true, 3, 7);
    EXPECT_EQ(spy.count(), 6);
    EXPECT_FALSE(hdmi->isActive(0));

    // Only a 1080-line interlaced source counts its rate from a 1125-line
    // frame (1080i50 as the MCU reports it is the MCU scenario's); a
    // standard-definition one is rated by the totals reported.
    measure(0, true, 13500, 720, 858, 243, 262);
    hdmi->setInfo(true, 0, 858, 720, 525, 486, false, 1, 5);
    EXPECT_EQ(text(), "720x486 29.97i 422 10bit");
}
