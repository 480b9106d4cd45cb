#include "AppConfig.h"
#include "OutputCapture.h"
#include "PlatformTest.h"
#include "PowerCtl.h"
#include "ThreadWatch.h"

#include <thread>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;

constexpr uint32_t resetWord = 0x0C006000;

class PowerCtlTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        ASSERT_TRUE(startLink(board()));
        AppConfig::getInstance()->init("config.ini");
        ASSERT_EQ(::unlink("config.ini"), 0);
        ASSERT_TRUE(output.start());
        PowerCtl::getInstance();
    }

    void TearDown() override
    {
        if (holder.joinable())
            holder.join();
        output.stop();
        BoardTest::TearDown();
    }

    // The user's thumb, on a thread of its own: the shutdown needs the
    // user-interface thread meanwhile to save the settings.
    void hold(milliseconds duration)
    {
        holder = std::thread([this, duration] { board().platform().holdButton(duration); });
    }

    void expectNothingHappened(const char *when)
    {
        EXPECT_FALSE(output.contains("system power off")) << when;
        EXPECT_EQ(board().mcu().count(0x0D), 0u) << when;
        EXPECT_EQ(board().pl().get(RESET_SYSTEM), 0u) << when;
        EXPECT_NE(::access("config.ini", F_OK), 0) << when;
        EXPECT_EQ(board().platform().powerCutCount(), 0) << when;
    }

    sim::OutputCapture output;
    std::thread holder;
};

// While the button is up the watch sleeps until the line changes; while it
// is down the line is sampled every 10 ms.
TEST_F(PowerCtlTest, TheWatchSamplesOnlyWhileTheButtonIsDownAndShorterHoldsDoNothing)
{
    settle(milliseconds(100));
    EXPECT_TRUE(sleepsThrough("power-button", milliseconds(500)));
    board().platform().pressButton();
    EXPECT_GE(wakeupsDuring("power-button", milliseconds(500)), 20) << "a sample every 10 ms";
    board().platform().releaseButton();
    settle(milliseconds(100));
    EXPECT_TRUE(sleepsThrough("power-button", milliseconds(500)));
    expectNothingHappened("after a hold of half a second");

    // Twice in a row: a release starts the count anew.
    for (int i = 0; i < 2; ++i) {
        hold(milliseconds(2900));
        holder.join();
        settle(milliseconds(100));
    }
    settle(milliseconds(1500));
    expectNothingHappened("after two holds of 2.9 s");
}

// A hold of three seconds shuts down once the sampling has seen it whole;
// the thumb stays a little longer.
TEST_F(PowerCtlTest, HoldOfThreeSecondsShutsDownInOrder)
{
    settle(milliseconds(100));
    hold(milliseconds(3300));
    ASSERT_TRUE(waitUntil([&] { return board().mcu().count(0x0D) > 0; }, milliseconds(15000)));
    // The settings were saved before the MCU was told.
    EXPECT_EQ(::access("config.ini", F_OK), 0);
    EXPECT_TRUE(output.contains("system power off"));
    EXPECT_EQ(framesOf(board(), 0x0D), (std::vector<std::vector<uint8_t>>{{0}}));
    EXPECT_TRUE(waitUntil([&] { return board().pl().get(RESET_SYSTEM) == resetWord; }));
    EXPECT_GE(board().platform().powerCutCount(), 1);

    holder.join();
    settle(milliseconds(3500));
    EXPECT_EQ(board().mcu().count(0x0D), 1u) << "a released button shuts down once";
}

TEST_F(PowerCtlTest, KeptPressedShutsDownAgainEveryThreeSeconds)
{
    settle(milliseconds(100));
    board().platform().pressButton();
    EXPECT_TRUE(waitUntil([&] { return board().mcu().count(0x0D) >= 2; }, milliseconds(20000)));
    board().platform().releaseButton();
}

TEST_F(PowerCtlTest, ServiceShutdownNeedsNoButton)
{
    PowerCtl::getInstance()->powerOff();
    EXPECT_EQ(::access("config.ini", F_OK), 0);
    EXPECT_TRUE(waitUntil([&] { return board().mcu().count(0x0D) == 1; }));
    EXPECT_FALSE(output.contains("system power off"));
    settle(milliseconds(300));
    EXPECT_EQ(board().pl().get(RESET_SYSTEM), 0u) << "only the button resets the logic";
}

} // namespace
