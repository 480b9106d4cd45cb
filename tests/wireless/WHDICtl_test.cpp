#include "BoardTest.h"
#include "OutCtl.h"
#include "WHDICtl.h"
#include "WHDIPassword.h"

#include <QSignalSpy>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr uint32_t present = 1u;
constexpr uint32_t lost = 1u << 4;

class WHDITest : public BoardTest
{
protected:
    // The measured timing of a channel; sizes in pixels, totals and clock as
    // the logic counts them (pairs of pixels, their rate in kHz).
    void measure(int channel, unsigned int clock, unsigned int width, unsigned int totalPairs,
                 unsigned int height, unsigned int totalHeight)
    {
        const bool main = channel == 0;
        board().pl().set(main ? MAIN_VID_INFO0 : ASSIST_VID_INFO0, 1u | clock << 4 | 0x20u << 24);
        board().pl().set(main ? MAIN_VID_INFO1 : ASSIST_VID_INFO1, width / 2 | totalPairs << 16);
        board().pl().set(main ? MAIN_VID_INFO2 : ASSIST_VID_INFO2, height | totalHeight << 16);
    }
    std::string label()
    {
        std::string text;
        WHDICtl::getInstance()->getInfo(text);
        return text;
    }
};

} // namespace

TEST(WHDIRules, SizeCorrectionAndRateCodes)
{
    // Measured, then corrected: within a few pixels of a standard size only.
    const int sizes[][4] = {{1917, 1083, 1920, 1080}, {1914, 546, 1914, 546}, {725, 481, 720, 486}};
    for (const auto &c : sizes) {
        int width = c[0];
        int height = c[1];
        WHDICtl::correction(width, height);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(c[2], c[3])) << c[0] << "x" << c[1];
    }
    EXPECT_EQ(WHDICtl::rateCodeOf(59.97, 0), 11);
    EXPECT_EQ(WHDICtl::rateCodeOf(59.94, 0), 10);
    EXPECT_EQ(WHDICtl::rateCodeOf(49.0, 0), 9);
    EXPECT_EQ(WHDICtl::rateCodeOf(29.98, 0), 6);
    EXPECT_EQ(WHDICtl::rateCodeOf(23.976, 0), 2);
    EXPECT_EQ(WHDICtl::rateCodeOf(12.0, 7), 7) << "lower rates keep the previous code";
    EXPECT_FALSE(WHDICtl::isValidSize(1920, 540));
    EXPECT_TRUE(WHDICtl::isValidSize(720, 486));
}

TEST_F(WHDITest, ProgressiveInterlacedAndSegmentedFrames)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    // 1080p59.94: 2200 x 1125 at 148.35 MHz; the logic counts pairs.
    measure(0, 74176, 1920, 1100, 1080, 1125);
    whdi->update(0);
    EXPECT_TRUE(whdi->isActive(0));
    EXPECT_EQ(label(), "1920x1080 59.94p 422 10bit");
    EXPECT_EQ(whdi->sdiMode(), 2);
    EXPECT_EQ(whdi->getPayLoad(), 0x0100CA89u);
    EXPECT_EQ(board().pl().field(WHDI_ENCRYP_CTRL, 7, 1), 60u) << "frame count handed to the link password";

    // A progressive rate of 119.88 is halved to 59.94.
    measure(0, 148352, 1920, 1100, 1080, 1125);
    whdi->update(0);
    EXPECT_EQ(label(), "1920x1080 59.94p 422 10bit");

    // 1080i60: 540-line fields.
    measure(0, 37125, 1920, 1100, 540, 562);
    whdi->update(0);
    EXPECT_EQ(whdi->interlance(), 1);
    EXPECT_EQ(label(), "1920x1080 60i 422 10bit");
    EXPECT_EQ(whdi->getPayLoad(), 0x01000785u);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(whdi->getSize(width, height, 0));
    EXPECT_EQ(height, 1080) << "field height doubled";
    unsigned int horizontal = 0;
    unsigned int vertical = 0;
    whdi->getHDMICtl(horizontal, vertical);
    EXPECT_EQ(horizontal, 0x00C00840u);
    EXPECT_EQ(vertical, 0x00140230u);

    // A field rate of 47.95 is a segmented frame at 23.976.
    measure(0, 37088, 1920, 1375, 540, 562);
    whdi->update(0);
    EXPECT_EQ(label(), "1920x1080 23.98psf 422 10bit");
    EXPECT_EQ(whdi->getPayLoad(), 0x01004285u);
    EXPECT_EQ(board().pl().field(WHDI_ENCRYP_CTRL, 7, 1), 24u);

    // 720p50.
    measure(0, 37125, 1280, 990, 720, 750);
    whdi->update(0);
    EXPECT_EQ(label(), "1280x720 50p 422 10bit");
    EXPECT_EQ(whdi->getPayLoad(), 0x0100C984u);
    whdi->getHDMICtl(horizontal, vertical);
    EXPECT_EQ(horizontal, 0x01040604u);
    EXPECT_EQ(vertical, 0x001802E0u);
}

TEST_F(WHDITest, PayloadScanDecidesFieldPictures)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    // The payload says PsF (progressive picture, interlaced transport).
    board().pl().set(WHDI_ST352_PL, present | 0x43u << 8 | 1u << 14);
    measure(0, 37125, 1920, 1375, 540, 562);
    whdi->update(0);
    EXPECT_EQ(whdi->interlance(), 1);
    EXPECT_EQ(label(), "1920x1080 24psf 422 10bit");
    // A payload byte of 0 is no payload: nothing changes.
    board().pl().set(WHDI_ST352_PL, present | 1u << 15);
    whdi->update(0);
    EXPECT_EQ(label(), "1920x1080 24psf 422 10bit");
}

// Both channels on the wireless input; the link comes back between the poll's
// question about the assist channel and its question about the main channel.
TEST_F(WHDITest, LinkLossMutesTheOutputUntilTheMainChannelSeesTheLinkReturn)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    QSignalSpy spy(whdi, &WHDICtl::signalUpdate);
    measure(0, 74250, 1920, 1100, 1080, 1125);
    measure(1, 74250, 1920, 1100, 1080, 1125);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (spy.count() == 0 && std::chrono::steady_clock::now() < deadline) {
        whdi->update(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(spy.count(), 1);
    whdi->update(1);
    ASSERT_TRUE(whdi->isActive(0));
    ASSERT_TRUE(whdi->isActive(1));

    board().pl().set(WHDI_ST352_PL, lost | 0xCBu << 8 | present | 1u << 15);
    measure(0, 37125, 1280, 825, 720, 750);
    const int before = spy.count();
    for (int i = 0; i < 5; ++i)
        whdi->update(0);
    EXPECT_FALSE(whdi->isActive(0));
    EXPECT_EQ(board().pl().field(SDI_OUT_CTRL, 20, 20), 1u) << "output muted";
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    whdi->update(0);
    EXPECT_EQ(spy.count(), before) << "no change is reported while the signal is lost";

    board().pl().set(WHDI_ST352_PL, 0xCBu << 8 | present | 1u << 15);
    whdi->update(1);
    EXPECT_TRUE(whdi->isActive(1));
    EXPECT_EQ(board().pl().field(SDI_OUT_CTRL, 20, 20), 1u) << "only the main channel restores the output";
    EXPECT_TRUE(whdi->isActive(0));
    EXPECT_EQ(board().pl().field(SDI_OUT_CTRL, 20, 20), 0u) << "output back";
    ASSERT_GT(spy.count(), before);
    EXPECT_EQ(spy.last().at(0).toInt(), 0);
    whdi->cleanPayload();
    EXPECT_TRUE(whdi->isActive(0));
}

TEST_F(WHDITest, PerChannelDebounceAndAbsurdTimings)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    QSignalSpy spy(whdi, &WHDICtl::signalUpdate);
    auto pollUntil = [&](int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (spy.count() < count && std::chrono::steady_clock::now() < deadline) {
            whdi->update(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return spy.count();
    };
    // When each signal left: the debounce interval runs between emissions.
    std::vector<std::chrono::steady_clock::time_point> emitted;
    QObject::connect(whdi, &WHDICtl::signalUpdate, whdi,
                     [&emitted] { emitted.push_back(std::chrono::steady_clock::now()); }, Qt::DirectConnection);
    measure(1, 74250, 1920, 1100, 1080, 1125);
    ASSERT_EQ(pollUntil(1), 1);
    measure(1, 37125, 1280, 825, 720, 750);
    whdi->update(1);
    measure(1, 74250, 3840, 2200, 2160, 2250);
    whdi->update(1);
    ASSERT_EQ(pollUntil(2), 2);
    // The debouncer divides the microseconds by 1000 before it compares, so
    // across a second boundary its truncation gains up to a millisecond and
    // it may notify as early as 749.0 ms; it also reads the time of day a
    // moment before these stamps are taken. Hence 748.
    EXPECT_GE(emitted[1] - emitted[0], std::chrono::milliseconds(748));
    EXPECT_EQ(spy.at(1).at(0).toInt(), 1);

    // Reserved bits everywhere, zero and huge sizes: no crash, no bad label.
    board().pl().set(WHDI_ST352_PL, 0xFFFFFFEFu);
    board().pl().set(MAIN_VID_INFO0, 0xFFFFFFFFu);
    board().pl().set(MAIN_VID_INFO1, 0xFFFFFFFFu);
    board().pl().set(MAIN_VID_INFO2, 0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i)
        whdi->update(0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(label(), "Unknow");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WHDI width :131070  height : 65535 \n");
    int width = 0;
    int height = 0;
    EXPECT_FALSE(whdi->getSize(width, height, 0));
    EXPECT_EQ(width, 1920);
    measure(0, 0, 0, 0, 0, 0);
    whdi->update(0);
    EXPECT_FALSE(whdi->isActive(0));
    EXPECT_FALSE(whdi->isActive(5));
}

// With both channels on the wireless picture, a payload change that one
// channel's question reads first still reaches the other channel.
TEST_F(WHDITest, APayloadChangeReachesBothChannelsWhicheverAsksFirst)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    std::vector<int> updates;
    QObject::connect(whdi, &WHDICtl::signalUpdate, whdi, [&updates](int ch) { updates.push_back(ch); },
                     Qt::DirectConnection);
    // Polls both channels, the assist one first, until each has signalled
    // `count` times or two seconds (more than the debounce) have passed.
    auto pollBoth = [&](int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        auto signalled = [&](int ch) { return std::count(updates.begin(), updates.end(), ch) >= count; };
        while (!(signalled(0) && signalled(1)) && std::chrono::steady_clock::now() < deadline) {
            whdi->update(1);
            whdi->update(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return signalled(0) && signalled(1);
    };
    // The payload byte (bits 8 to 15): progressive transport 0x80, progressive
    // picture 0x40, and the rate code.
    board().pl().set(WHDI_ST352_PL, present | 0xCAu << 8);
    for (int ch : {0, 1})
        measure(ch, 74176, 1920, 1100, 1080, 1125);
    ASSERT_TRUE(pollBoth(1));
    // 50 Hz fields arrive before the payload that calls them segmented frames.
    for (int ch : {0, 1})
        measure(ch, 37125, 1920, 1320, 540, 562);
    ASSERT_TRUE(pollBoth(2));
    EXPECT_EQ(label(), "1920x1080 50i 422 10bit");
    board().pl().set(WHDI_ST352_PL, present | 0x45u << 8);
    EXPECT_TRUE(pollBoth(3));
    EXPECT_EQ(label(), "1920x1080 25psf 422 10bit");
}

TEST_F(WHDITest, McuValuesAreSignalledOnlyOnChange)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    QSignalSpy channel(whdi, &WHDICtl::signalChannel);
    QSignalSpy mode(whdi, &WHDICtl::signalMode);
    QSignalSpy strength(whdi, &WHDICtl::signalStrength);
    whdi->setChannel(3);
    whdi->setChannel(3);
    EXPECT_EQ(channel.count(), 1);
    whdi->setStrength(255);
    EXPECT_EQ(strength.count(), 0) << "255 is the initial value";
    whdi->setStrength(80);
    EXPECT_EQ(strength.count(), 1);
    whdi->setEncryption(false);
    whdi->setEncryption(true);
    EXPECT_EQ(mode.count(), 1);
}

TEST_F(WHDITest, PasswordFieldsLeaveTheirNeighbours)
{
    WHDIPassword *password = WHDIPassword::getInstance();
    board().pl().set(WHDI_ENCRYP_CTRL, 0xFFu);
    const int digits[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(password->setPassword(digits));
    EXPECT_EQ(board().pl().get(WHDI_ENCRYP_CTRL), 0x654321FFu);
    const int bad[6] = {1, 2, 3, 4, 5, 10};
    EXPECT_FALSE(password->setPassword(bad));
    EXPECT_EQ(board().pl().get(WHDI_ENCRYP_CTRL), 0x654321FFu);
    password->setErrorFrameCount(500);
    EXPECT_EQ(board().pl().field(WHDI_ENCRYP_CTRL, 7, 1), 127u);
    EXPECT_EQ(board().pl().field(WHDI_ENCRYP_CTRL, 31, 8), 0x654321u);
}
