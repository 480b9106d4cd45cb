#include "BoardTest.h"
#include "OutputCapture.h"
#include "ScenarioRunner.h"

#include <fstream>

namespace {

class ScenarioRunnerTest : public BoardTest
{
protected:
    // Loads a script written into the working directory; the error text on failure.
    bool load(const std::string &script, std::string &error)
    {
        std::ofstream(workFile("test.scn")) << script;
        sim::CommandTable commands;
        sim::addCoreCommands(commands);
        sim::OutputCapture output;
        sim::ScenarioRunner runner(commands, board(), output, workDir());
        return runner.load(workFile("test.scn"), error);
    }
};

} // namespace

TEST(ScenarioWords, QuotesGroupAndHashesComment)
{
    std::vector<std::string> words;
    ASSERT_TRUE(sim::ScenarioRunner::split("expect text videoLabel \"No video\"  # a comment", words));
    EXPECT_EQ(words, (std::vector<std::string>{"expect", "text", "videoLabel", "No video"}));
    ASSERT_TRUE(sim::ScenarioRunner::split("expect log \"a # inside \\\"quotes\\\"\"", words));
    EXPECT_EQ(words, (std::vector<std::string>{"expect", "log", "a # inside \"quotes\""}));
    ASSERT_TRUE(sim::ScenarioRunner::split("   # only a comment", words));
    EXPECT_TRUE(words.empty());
    EXPECT_FALSE(sim::ScenarioRunner::split("expect text a \"unterminated", words));
}

TEST_F(ScenarioRunnerTest, EveryFirstVersionFormLoadsAndErrorsNameTheirLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"wait 10\nfrobnicate\n", "line 2: unknown command"},
        {"wait soon\n", "line 1:"},
        {"\n\nexpect reg NO_SUCH 1\n", "line 3:"},
        {"expect reg OSD_CTL[3:5] 1\n", "line 1:"},
        {"expect reg OSD_CTL[0:32] 1\n", "line 1:"},
        {"reg set OSD_CTL[0:0] 1\n", "line 1:"},
        {"reg set OSD_CTL 0x1FFFFFFFF\n", "line 1:"},
        {"expect visible USBLabel maybe\n", "line 1:"},
        {"usb insert k\n", "line 1:"},
        {"expect text a \"open\n", "line 1: unterminated quote"},
        {"quit now\n", "line 1:"},
    };
    for (const auto &entry : cases) {
        std::string error;
        EXPECT_FALSE(load(entry.first, error)) << entry.first;
        EXPECT_NE(error.find(entry.second), std::string::npos) << entry.first << " gave: " << error;
    }

    // Every form of the first version loads.
    std::string error;
    EXPECT_TRUE(load("wait 10\n"
                     "reg set OSD_CTL 0x11\n"
                     "reg set BL_PWM_DUTY 227433\n"
                     "expect reg OSD_CTL 17\n"
                     "expect reg OSD_CTL[0:0] 1\n"
                     "expect reg RESET_SYSTEM[31:0] 0\n"
                     "expect text timeLabel \"00:00:00:00\"\n"
                     "expect visible USBLabel false\n"
                     "expect file config.ini exists\n"
                     "expect file /dev/mem absent\n"
                     "expect ini config.ini language \"English\"\n"
                     "expect log \"start app\"\n"
                     "usb insert\n"
                     "usb insert j\n"
                     "usb remove\n"
                     "screenshot a.png\n"
                     "quit\n",
                     error))
        << error;
}
