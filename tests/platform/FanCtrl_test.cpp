#include "FanCtrl.h"
#include "PlatformModel.h"
#include "PlatformTest.h"

namespace {

class FanCtrlTest : public BoardTest
{
protected:
    // Sets the die temperature and waits for the tick that measured it; the
    // fan has then been set for it.
    void heat(double celsius)
    {
        const double measured = sim::PlatformModel::temperatureOf(sim::PlatformModel::temperatureRaw(celsius));
        ASSERT_TRUE(board().platform().setTemperature(celsius));
        ASSERT_TRUE(waitUntil([&] { return FanCtrl::getInstance()->getTemperature() == measured; })) << celsius;
    }

    // Another reading in the same band: one more tick has passed.
    void nextTick(double celsius)
    {
        heat(celsius + 0.2);
        heat(celsius);
    }

    void expectFan(FanCtrl::FanMode mode, const char *when)
    {
        EXPECT_EQ(FanCtrl::getInstance()->getFanMode(), mode) << when;
        EXPECT_EQ(board().platform().gpioValue(12), mode == FanCtrl::FAN_LOW ? 1 : 0) << when;
        EXPECT_EQ(board().platform().gpioValue(13), mode == FanCtrl::FAN_HIGH ? 1 : 0) << when;
    }

    void setRecording(bool on) { board().pl().setField(SDI_AUX_CTL, 12, 12, on ? 1 : 0); }
};

TEST_F(FanCtrlTest, WalksUpAndDownWithHysteresisUnlessTheUserSetsTheState)
{
    FanCtrl *fan = FanCtrl::getInstance();
    const struct {
        double celsius;
        FanCtrl::FanMode mode;
    } walk[] = {
        {40.0, FanCtrl::FAN_OFF},  {54.9, FanCtrl::FAN_OFF},  {55.0, FanCtrl::FAN_LOW},
        {74.9, FanCtrl::FAN_LOW},  {75.0, FanCtrl::FAN_HIGH}, {70.0, FanCtrl::FAN_HIGH},
        // The sensor's steps are 0.123 degrees: 69.8 is the last one below 70.
        {69.8, FanCtrl::FAN_LOW},  {50.0, FanCtrl::FAN_LOW},  {49.9, FanCtrl::FAN_OFF},
        {72.0, FanCtrl::FAN_OFF},  {99.0, FanCtrl::FAN_HIGH}, {30.0, FanCtrl::FAN_OFF},
    };
    for (const auto &step : walk) {
        heat(step.celsius);
        expectFan(step.mode, std::to_string(step.celsius).c_str());
    }

    // The user's state overrides the temperature.
    heat(40.0);
    fan->setState(FanCtrl::FAN_ON);
    expectFan(FanCtrl::FAN_LOW, "on");
    heat(80.0);
    nextTick(80.0);
    expectFan(FanCtrl::FAN_LOW, "on at 80");

    fan->setState(FanCtrl::FAN_CLOSE);
    expectFan(FanCtrl::FAN_OFF, "off");
    heat(90.0);
    nextTick(90.0);
    expectFan(FanCtrl::FAN_OFF, "off at 90");

    fan->setState(FanCtrl::FAN_AUTO);
    nextTick(90.0);
    expectFan(FanCtrl::FAN_HIGH, "automatic again at 90");
}

TEST_F(FanCtrlTest, RecordingPausesTheFanAndRestoresIt)
{
    FanCtrl::getInstance();
    heat(80.0);
    expectFan(FanCtrl::FAN_HIGH, "before recording");

    setRecording(true);
    nextTick(80.0);
    expectFan(FanCtrl::FAN_OFF, "recording");
    heat(95.0);
    nextTick(95.0);
    expectFan(FanCtrl::FAN_OFF, "recording at 95");

    // Between 70 and 75 the temperature changes nothing: what runs now is the
    // mode from before the recording.
    heat(72.0);
    setRecording(false);
    nextTick(72.0);
    expectFan(FanCtrl::FAN_HIGH, "after recording");

    heat(60.0);
    expectFan(FanCtrl::FAN_LOW, "cooler");
    setRecording(true);
    nextTick(60.0);
    expectFan(FanCtrl::FAN_OFF, "recording again");
    heat(40.0);
    setRecording(false);
    nextTick(40.0);
    expectFan(FanCtrl::FAN_OFF, "stopped recording when cool");
}

TEST_F(FanCtrlTest, HundredDegreesShutsDownAfterTenSeconds)
{
    ASSERT_TRUE(startLink(board()));
    heat(99.9);
    expectFan(FanCtrl::FAN_HIGH, "just below 100");
    EXPECT_LT(FanCtrl::getInstance()->getTemperature(), 100.0);
    settle(std::chrono::milliseconds(1500));
    EXPECT_EQ(board().mcu().count(0x0D), 0u);

    heat(100.0);
    settle(std::chrono::milliseconds(7000));
    EXPECT_EQ(board().mcu().count(0x0D), 0u) << "not before ten seconds";
    ASSERT_TRUE(waitUntil([&] { return board().mcu().count(0x0D) > 0; }, std::chrono::milliseconds(15000)));
    EXPECT_EQ(framesOf(board(), 0x0D), (std::vector<std::vector<uint8_t>>{{0}}));
    EXPECT_EQ(board().pl().get(RESET_SYSTEM), 0u) << "only the button resets the logic";

    // The control has ended: nothing is measured any more.
    const double last = FanCtrl::getInstance()->getTemperature();
    EXPECT_GE(last, 100.0);
    ASSERT_TRUE(board().platform().setTemperature(40.0));
    settle(std::chrono::milliseconds(2500));
    EXPECT_EQ(FanCtrl::getInstance()->getTemperature(), last);
    EXPECT_EQ(board().mcu().count(0x0D), 1u);
}

TEST_F(FanCtrlTest, MissingSensorLeavesTheFanOff)
{
    ASSERT_EQ(unlink(board().tree().path(FanCtrl::temperatureFile).c_str()), 0);
    testing::internal::CaptureStderr();
    FanCtrl *fan = FanCtrl::getInstance();
    settle(std::chrono::milliseconds(300));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\033[1;31m[ ERROR ]: open temperature detect file error\n\033[0m");
    EXPECT_EQ(fan->getTemperature(), 0.0);
    expectFan(FanCtrl::FAN_OFF, "no sensor");
}

} // namespace
