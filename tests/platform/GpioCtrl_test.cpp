#include "GpioCtrl.h"
#include "PlatformTest.h"

#include <atomic>
#include <sys/stat.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

class GpioCtrlTest : public BoardTest
{
protected:
    std::string sysfs(const std::string &file) { return board().tree().path("/sys/class/gpio/" + file); }
};

TEST_F(GpioCtrlTest, NewLineIsExportedThenTurnedUnlessTheExportFails)
{
    // The kernel makes the folder on export; here it only appears later.
    CaptureStdout();
    GpioCtrl line(40, GpioCtrl::GPIO_OUTPUT);
    EXPECT_EQ(GetCapturedStdout(), "Cannot open GPIO:946 direction it\n");
    EXPECT_EQ(fileBytes(sysfs("export")), std::string("946\0", 4));

    ASSERT_EQ(mkdir(sysfs("gpio946").c_str(), 0755), 0);
    writeBytes(sysfs("gpio946/direction"), "in\n");
    EXPECT_TRUE(line.gpioDirection());
    EXPECT_EQ(fileBytes(sysfs("gpio946/direction")), std::string("out\0", 4));

    GpioCtrl input(41, GpioCtrl::GPIO_INPUT);
    ASSERT_EQ(mkdir(sysfs("gpio947").c_str(), 0755), 0);
    writeBytes(sysfs("gpio947/direction"), "out\n");
    EXPECT_TRUE(input.gpioDirection());
    EXPECT_EQ(fileBytes(sysfs("gpio947/direction")).substr(0, 3), std::string("in\0", 3));

    // Without the export file the export fails and nothing is turned.
    ASSERT_EQ(unlink(sysfs("export").c_str()), 0);
    CaptureStderr();
    CaptureStdout();
    GpioCtrl unexported(42, GpioCtrl::GPIO_OUTPUT);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: Cannot open GPIO to export it\n\033[0m");
}

// An existing line is neither exported nor turned; its values are decimal text
// with a zero byte.
TEST_F(GpioCtrlTest, ExistingLineKeepsItsDirectionAndTakesDecimalValues)
{
    const std::string directionBefore = fileBytes(sysfs("gpio918/direction"));
    GpioCtrl line(12, GpioCtrl::GPIO_OUTPUT);
    EXPECT_EQ(line.sysfsNumber(), 918);
    EXPECT_EQ(fileBytes(sysfs("export")), "");
    EXPECT_EQ(fileBytes(sysfs("gpio918/direction")), directionBefore);

    EXPECT_TRUE(line.setValue(1));
    EXPECT_EQ(fileBytes(sysfs("gpio918/value")), std::string("1\0", 2));
    EXPECT_EQ(line.getValue(), 1);
    EXPECT_TRUE(line.setValue(0));
    EXPECT_EQ(fileBytes(sysfs("gpio918/value")), std::string("0\0", 2));

    writeBytes(sysfs("gpio918/value"), "0\n");
    EXPECT_EQ(line.getValue(), 0);
    writeBytes(sysfs("gpio918/value"), "1\n");
    EXPECT_EQ(line.getValue(), 1);
}

TEST_F(GpioCtrlTest, UnreadableOrMissingValueFails)
{
    GpioCtrl line(13, GpioCtrl::GPIO_OUTPUT);
    writeBytes(sysfs("gpio919/value"), "");
    CaptureStderr();
    EXPECT_EQ(line.getValue(), -1);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: get GPIO:13 error\n\033[0m");

    ASSERT_EQ(unlink(sysfs("gpio919/value").c_str()), 0);
    CaptureStderr();
    EXPECT_FALSE(line.setValue(1));
    EXPECT_EQ(line.getValue(), -1);
    EXPECT_FALSE(line.gpioOpen());
    const std::string expected = "\033[1;31m[ ERROR ]: open " + sysfs("gpio919/value") + " error\n\033[0m";
    EXPECT_EQ(GetCapturedStderr(), expected + expected + expected);
}

TEST_F(GpioCtrlTest, EdgeNames)
{
    GpioCtrl line(26, GpioCtrl::GPIO_OUTPUT);
    const std::pair<int, const char *> modes[] = {{0, "none"}, {1, "rising"}, {2, "falling"}, {3, "both"}, {7, "both"}};
    for (const auto &mode : modes) {
        writeBytes(sysfs("gpio932/edge"), "");
        EXPECT_TRUE(line.gpioEdge(mode.first));
        EXPECT_EQ(fileBytes(sysfs("gpio932/edge")), mode.second) << mode.first;
    }
    ASSERT_EQ(unlink(sysfs("gpio932/edge").c_str()), 0);
    CaptureStderr();
    EXPECT_FALSE(line.enableInterrupts([] {}, 1));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: Failed to open gpio edge for writing!\n\033[0m");
}

// The board's value files are plain files, which never signal an edge: the
// watch sees the edges in the level.
TEST_F(GpioCtrlTest, InterruptsFollowTheEdgeMode)
{
    std::atomic<int> rising{0};
    std::atomic<int> both{0};
    {
        GpioCtrl risingLine(25, GpioCtrl::GPIO_INPUT);
        GpioCtrl bothLine(26, GpioCtrl::GPIO_INPUT);
        ASSERT_TRUE(risingLine.enableInterrupts([&] { ++rising; }, 1));
        ASSERT_TRUE(bothLine.enableInterrupts([&] { ++both; }, 3));
        settle(std::chrono::milliseconds(100));

        for (const char *level : {"1\n", "0\n", "1\n", "0\n"}) {
            const int risingBefore = rising;
            const int bothBefore = both;
            writeBytes(sysfs("gpio931/value"), level);
            writeBytes(sysfs("gpio932/value"), level);
            ASSERT_TRUE(waitUntil([&] { return both == bothBefore + 1; }));
            settle(std::chrono::milliseconds(100));
            EXPECT_EQ(rising, risingBefore + (level[0] == '1' ? 1 : 0)) << level;
        }
    }
    // Gone with their lines.
    settle(std::chrono::milliseconds(100));
    const int bothAfter = both;
    writeBytes(sysfs("gpio932/value"), "1\n");
    settle(std::chrono::milliseconds(200));
    EXPECT_EQ(both, bothAfter);
    EXPECT_EQ(rising, 2);
}

} // namespace
