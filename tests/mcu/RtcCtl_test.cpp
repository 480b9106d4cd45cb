#include "LinkTest.h"
#include "PLControl.h"
#include "RtcCtl.h"
#include "Version.h"

#include <cstdlib>
#include <ctime>

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// Local time one hour ahead of UTC, with no daylight saving, so that local
// and epoch times differ and the expected bytes need no time-zone files.
class ClockTest : public LinkTest
{
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        setenv("TZ", "CET-1", 1);
        tzset();
        QObject::connect(RtcCtl::getInstance(), &RtcCtl::signalUpdateTime,
                         [shown = shown](int year, int month, int day, int hour, int minute, int second) {
                             shown->add({year, month, day, hour, minute, second});
                         });
    }

    // Shared with the connection: the serial thread may report after the test.
    std::shared_ptr<Recorder<std::vector<int>>> shown = std::make_shared<Recorder<std::vector<int>>>();
};

// A set clock is shown and left alone, an unset one is reset to 2020, and the
// user's time goes out as the epoch seconds of the local time.
TEST_F(ClockTest, TheMcuClockIsShownInLocalTimeResetWhenUnsetAndSetOnRequest)
{
    ASSERT_TRUE(startLink());
    CaptureStdout();
    // 2024-06-01 12:00:00 UTC.
    mcu().send(0x0A, {0x66, 0x5B, 0x0D, 0x40});
    const bool reported = waitUntil([&] { return !shown->values().empty(); });
    pause(300);
    const size_t setsOfASetClock = mcu().count(0x0A);
    mcu().send(0x0A, {0, 0, 0, 0});
    // 2020-01-01 01:00:00 in UTC+1 is 1577836800 seconds.
    const bool reset = waitFor(0x0A, {0x5E, 0x0B, 0xE1, 0x00});
    const std::string output = GetCapturedStdout();
    ASSERT_TRUE(reported);
    ASSERT_TRUE(reset);
    EXPECT_EQ(setsOfASetClock, 0u);
    EXPECT_EQ(shown->values(), (std::vector<std::vector<int>>{{2024, 6, 1, 13, 0, 0}, {2020, 1, 1, 1, 0, 0}}));
    EXPECT_NE(output.find("2024-06-01 13:00:00\n"), std::string::npos) << output;
    EXPECT_NE(output.find("2020-01-01 01:00:00\nset mcu time : 2020-01-01 01:00:00\n"), std::string::npos) << output;

    EXPECT_GE(RtcCtl::getInstance()->setTime(2021, 3, 4, 5, 6, 7), 0);
    // 2021-03-04 04:06:07 UTC = 1614830767 = 0x60405CAF.
    EXPECT_TRUE(waitFor(0x0A, {0x60, 0x40, 0x5C, 0xAF}));
}

TEST_F(ClockTest, TheVersionsAsTheyAreShown)
{
    std::string text;
    Version *version = Version::getInstance();
    version->getSoftVersion(text);
    EXPECT_EQ(text, "0348");

    const std::pair<unsigned int, std::string> registers[] = {
        {0x20190725, "20190725"}, {0x00000012, "00000012"}, {0xFA000001, "1510000001"}};
    for (const auto &entry : registers) {
        board().pl().set(FPGA_VER_NUM, entry.first);
        version->getFPGAVersion(text);
        EXPECT_EQ(text, entry.second);
    }

    // The MCU's report and its answer to the version question; a short
    // report changes nothing.
    ASSERT_TRUE(startLink());
    version->getMcuVersion(text);
    EXPECT_EQ(text, "0123");
    mcu().setVersion(2, 10, 0);
    const uint8_t ask[3] = {0, 0, 0};
    UartSendValue(0x80, ask, 3);
    EXPECT_TRUE(waitUntil([&] {
        version->getMcuVersion(text);
        return text == "02100";
    }));
    mcu().send(0x00, {9, 9});
    ASSERT_TRUE(waitFor(0x0F, {0x00, 9, 9}));
    version->getMcuVersion(text);
    EXPECT_EQ(text, "02100");
}

} // namespace
