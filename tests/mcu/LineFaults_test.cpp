#include "LinkTest.h"
#include "RtcCtl.h"
#include "Version.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// 2024-06-01 12:00:00 UTC and on: clock reports the application takes as set.
constexpr uint32_t firstReport = 1717243200;

class LineFaultsTest : public LinkTest
{
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        QObject::connect(RtcCtl::getInstance(), &RtcCtl::signalUpdateTime,
                         [seconds = seconds](int, int, int, int, int, int second) { seconds->add(second); });
    }

    // Every value of the application reaches the MCU, the latest of each
    // command last, and every report of the MCU reaches its parser.
    void exchangeEverything()
    {
        const std::vector<std::pair<uint8_t, uint8_t>> values = {
            {0x01, 4}, {0x05, 1}, {0x07, 0}, {0x08, 1}, {0x10, 1}, {0x15, 0}};
        for (const auto &value : values)
            UartSendValue(value.first, &value.second, 1);
        for (uint8_t volume = 1; volume <= 10; ++volume)
            UartSendValue(0x06, &volume, 1);

        // One clock report at a time, each once the previous one arrived.
        for (uint32_t i = 0; i < 12; ++i) {
            const uint32_t time = firstReport + i;
            mcu().send(0x0A, {static_cast<uint8_t>(time >> 24), static_cast<uint8_t>(time >> 16),
                              static_cast<uint8_t>(time >> 8), static_cast<uint8_t>(time)});
            ASSERT_TRUE(waitUntil([&] { return seconds->contains(static_cast<int>(i)); }, std::chrono::seconds(20)))
                << "report " << i;
        }

        for (const auto &value : values)
            EXPECT_TRUE(waitFor(value.first, {value.second}, 20000)) << int(value.first);
        ASSERT_TRUE(waitFor(0x06, {10}, 20000));
        // Older volumes may still be repeated or be lost, but none comes
        // after the latest was acknowledged.
        pause(3000);
        EXPECT_EQ(dataOf(0x06).back(), Bytes{10});
    }

    // With a clean line again everything works at once.
    void linkStillWorks()
    {
        mcu().setNoise(0);
        mcu().setDrop(0);
        mcu().setDelay(0);
        mcu().setFragment(0);
        const uint8_t fan = 0;
        UartSendValue(0x08, &fan, 1);
        EXPECT_TRUE(waitFor(0x08, {fan}, 3000));
        mcu().askWHDIUsed();
        EXPECT_TRUE(waitUntil([&] { return !mcu().WHDIAnswers().empty(); }, std::chrono::seconds(3)));
    }

    // Shared with the connection: the serial thread may report after the test.
    std::shared_ptr<Recorder<int>> seconds = std::make_shared<Recorder<int>>();
};

TEST_F(LineFaultsTest, OnePercentOfBytesCorruptedBothWays)
{
    ASSERT_TRUE(startLink());
    mcu().setNoise(1);
    // Busy traffic both ways, so that the noise really hits.
    mcu().report(0x12, 40);
    CaptureStderr();
    exchangeEverything();
    mcu().report(0x12, 0);
    const std::string errors = GetCapturedStderr();
    EXPECT_NE(errors.find("check sum error"), std::string::npos) << "frames to the application were corrupted";
    EXPECT_GT(mcu().badFrames(), 0u) << "frames to the MCU were corrupted";
    linkStillWorks();
}

// Noise that turns a length byte into more than a frame can hold must not
// make the MCU wait for hundreds of bytes: the next frame arrives.
// Acknowledgements that come late on a noisy line belong to older values:
// each must leave the newer value waiting until its own acknowledgement.
TEST_F(LineFaultsTest, AGarbledLengthLosesOneFrameAndLateAcknowledgementsNeverDropANewerValue)
{
    ASSERT_TRUE(startLink());
    const uint8_t garbled[] = {0xAA, 0xBB, 0x08, 200};
    UartWrite(garbled, sizeof(garbled));
    const uint8_t fan = 2;
    UartSendValue(0x08, &fan, 1);
    EXPECT_TRUE(waitFor(0x08, {fan}, 3000));
    EXPECT_EQ(mcu().badFrames(), 1u);

    mcu().setNoise(1);
    mcu().setDelay(30);
    for (uint8_t volume = 1; volume <= 30; ++volume) {
        UartSendValue(0x06, &volume, 1);
        pause(5);
    }
    ASSERT_TRUE(waitFor(0x06, {30}, 20000));
    pause(3000);
    EXPECT_EQ(dataOf(0x06).back(), Bytes{30}) << "no older value came after the latest";
    linkStillWorks();
}

TEST_F(LineFaultsTest, LostDelayedAndFragmentedBytes)
{
    ASSERT_TRUE(startLink());
    mcu().setDrop(1);
    mcu().setDelay(30);
    mcu().setFragment(4);
    mcu().report(0x12, 40);
    exchangeEverything();
    mcu().report(0x12, 0);
    linkStillWorks();
}

} // namespace
