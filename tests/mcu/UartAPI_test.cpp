#include "LinkTest.h"
#include "ThreadWatch.h"

#include <unistd.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class UartAPITest : public LinkTest
{
protected:
    // The frames the application sent on its own, leaving out acknowledgements.
    std::vector<sim::McuModel::Frame> values()
    {
        std::vector<sim::McuModel::Frame> sent;
        for (const sim::McuModel::Frame &frame : mcu().received()) {
            if (frame.command != 0x0F)
                sent.push_back(frame);
        }
        return sent;
    }
};

TEST_F(UartAPITest, HeldValuesGoOutInCallOrderThenTheTwoQuestions)
{
    const uint8_t volume = 40;
    const uint8_t fan = 1;
    const uint8_t channel = 3;
    const uint8_t clock[4] = {0x60, 0x40, 0x20, 0x10};
    EXPECT_EQ(UartSendValue(0x06, &volume, 1), 0);
    EXPECT_EQ(UartSendValue(0x08, &fan, 1), 0);
    mcu().setBootDelay(400);
    UartInit();
    EXPECT_EQ(UartSendValue(0x01, &channel, 1), 0) << "the MCU has not spoken yet";
    EXPECT_EQ(UartSendValue(0x0A, clock, 4), 0);

    ASSERT_TRUE(waitUntil([&] { return mcu().count(0x80) == 1; }));
    const std::vector<sim::McuModel::Frame> sent = values();
    ASSERT_EQ(sent.size(), 6u);
    const std::vector<Bytes> expected = {{0x06, volume}, {0x08, fan}, {0x01, channel},
                                         {0x0A, 0x60, 0x40, 0x20, 0x10}, {0x95, 0}, {0x80, 0, 0, 0}};
    for (size_t i = 0; i < sent.size(); ++i) {
        Bytes got = {sent[i].command};
        got.insert(got.end(), sent[i].data.begin(), sent[i].data.end());
        EXPECT_EQ(got, expected[i]) << "value " << i;
    }
    // 20 ms apart: five gaps take at least 60 ms even if one frame is late.
    EXPECT_GE(sent.back().time - sent.front().time, std::chrono::milliseconds(60));

    // Once the link works a value goes at once, and the questions are not
    // asked again.
    const uint8_t antenna = 1;
    EXPECT_EQ(UartSendValue(0x10, &antenna, 1), 1);
    EXPECT_TRUE(waitFor(0x10, {antenna}));
    pause(200);
    EXPECT_EQ(mcu().count(0x95), 1u);
    EXPECT_EQ(mcu().count(0x80), 1u);
}

TEST_F(UartAPITest, TheWirelessChoiceMadeBeforeTheLinkAnswersTheFirstQuestion)
{
    UartSetWHDIStatus(1, true);
    ASSERT_TRUE(startLink());
    mcu().askWHDIUsed();
    ASSERT_TRUE(waitUntil([&] { return mcu().WHDIAnswers().size() == 1; }));
    EXPECT_EQ(mcu().WHDIAnswers()[0], 1);

    // The main channel's choice comes first; the assist one counts without it.
    UartSetWHDIStatus(1, false);
    mcu().askWHDIUsed();
    ASSERT_TRUE(waitUntil([&] { return mcu().WHDIAnswers().size() == 2; }));
    EXPECT_EQ(mcu().WHDIAnswers()[1], 0);
    UartSetWHDIStatus(0, true);
    UartSetWHDIStatus(5, true);
    mcu().askWHDIUsed();
    ASSERT_TRUE(waitUntil([&] { return mcu().WHDIAnswers().size() == 3; }));
    EXPECT_EQ(mcu().WHDIAnswers()[2], 1);
}

TEST_F(UartAPITest, RefusedCallsAndASecondInitStartNothing)
{
    // No update before the link exists.
    EXPECT_FALSE(UartUpdateMcu([](int) {}, true));
    // A value longer than a frame's data field.
    CaptureStderr();
    uint8_t data[65] = {};
    EXPECT_EQ(UartSendValue(0x06, data, sizeof(data)), 0);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: mcu value 0x06 of 65 bytes refused\n\033[0m");
    ASSERT_TRUE(startLink());
    pause(100);
    const int threads = threadCount();
    UartInit();
    pause(100);
    EXPECT_EQ(threadCount(), threads);
    const uint8_t fan = 0;
    EXPECT_EQ(UartSendValue(0x08, &fan, 1), 1);
    EXPECT_TRUE(waitFor(0x08, {fan}));
    pause(300);
    EXPECT_EQ(mcu().count(0x08), 1u) << "one send thread, one frame";
    EXPECT_EQ(mcu().count(0x06), 0u) << "the refused value";
}

TEST_F(UartAPITest, ASilentMcuKeepsEveryValueHeldUntilItSpeaks)
{
    mcu().setSilent(true);
    UartInit();
    const uint8_t volume = 12;
    const uint8_t fan = 0;
    EXPECT_EQ(UartSendValue(0x06, &volume, 1), 0);
    pause(1500);
    EXPECT_EQ(UartSendValue(0x08, &fan, 1), 0);
    EXPECT_TRUE(mcu().received().empty());

    mcu().setSilent(false);
    ASSERT_TRUE(waitUntil([&] { return mcu().count(0x80) == 1; }));
    const std::vector<sim::McuModel::Frame> sent = values();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].command, 0x06);
    EXPECT_EQ(sent[1].command, 0x08);
}

// Nothing on the line and nothing to repeat: every link thread sleeps, the
// held-value thread too while the MCU has not spoken yet.
TEST_F(UartAPITest, AnIdleLinkSleeps)
{
    mcu().setSilent(true);
    UartInit();
    pause(200);
    for (const char *name : {"mcu-reader", "mcu-send", "mcu-resend", "mcu-held"})
        EXPECT_TRUE(sleepsThrough(name, std::chrono::milliseconds(500)));

    mcu().setSilent(false);
    ASSERT_TRUE(waitFor(0x0F, {0x00, 1, 2, 3}));
    pause(200);
    EXPECT_EQ(contextSwitches("mcu-held"), -1) << "nothing was held: the thread has ended";
    for (const char *name : {"mcu-reader", "mcu-send", "mcu-resend"})
        EXPECT_TRUE(sleepsThrough(name, std::chrono::milliseconds(500)));
}

TEST_F(UartAPITest, APortThatCannotBeOpenedIsReportedAndEverythingRunsOn)
{
    ASSERT_EQ(unlink(board().tree().path("/dev/ttyPS1").c_str()), 0);
    CaptureStderr();
    UartInit();
    const uint8_t volume = 1;
    EXPECT_EQ(UartSendValue(0x06, &volume, 1), 0);
    const uint8_t raw[2] = {0xAA, 0xBB};
    UartWrite(raw, 2);
    pause(300);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: /dev/ttyPS1 open failed\n\033[0m"
                                   "\033[1;31m[ ERROR ]: /dev/ttyPS1 is not open\n\033[0m"
                                   "\033[1;31m[ ERROR ]: /dev/ttyPS1 write error\n\033[0m"
                                   "\033[1;31m[ ERROR ]: send uart data error: \033[0m");
    EXPECT_TRUE(mcu().received().empty());
}

} // namespace
