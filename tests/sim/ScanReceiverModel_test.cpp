#include "BoardTest.h"
#include "OutputCapture.h"
#include "RfCommands.h"
#include "ScenarioRunner.h"

#include <array>
#include <linux/spi/spidev.h>

namespace {

const std::vector<uint32_t> initialisation = {
    0x0FF550, 0x000001, 0x451FE2, 0x5FDFA3, 0x6FD784, 0x853F55, 0x56AF36, 0xCE0207, 0x5E8C98, 0x221BC9,
    0xE06F2A, 0x08031B, 0x00143C, 0xFFFFFD, 0x00000E, 0x12BACF, 0x9ABA8F, 0x3ABA8F, 0x12BACF, 0xE06F2A,
};
const std::vector<uint32_t> channel4 = {0x0FF560, 0x19DDE1, 0x7FD784, 0x223BB9};
const std::vector<uint32_t> channel17 = {0x0FF5A0, 0x0F3331, 0x7FD784, 0x223BB9};

class ScanReceiverModelTest : public BoardTest
{
protected:
    sim::ScanReceiverModel &receiver() { return board().scanReceiver(); }

    // Words on the bus as a spidev user sends them, one message each.
    void send(const std::vector<uint32_t> &words, size_t bytes = 3)
    {
        for (uint32_t word : words) {
            uint8_t tx[4] = {static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 8),
                             static_cast<uint8_t>(word), 0};
            struct spi_ioc_transfer transfer = {};
            transfer.tx_buf = reinterpret_cast<uintptr_t>(tx);
            transfer.len = static_cast<uint32_t>(bytes);
            ASSERT_EQ(hw::system().spiIoctl(3, SPI_IOC_MESSAGE(1), &transfer), static_cast<int>(bytes));
        }
    }

    void power(bool on)
    {
        for (int line : {25, 26})
            board().tree().writeFile("/sys/class/gpio/gpio" + std::to_string(line + 906) + "/value",
                                     std::string(on ? "1" : "0") + '\0');
    }

    std::string levelFile() { return board().tree().readFile(sim::DeviceTree::levelFile); }
};

} // namespace

TEST_F(ScanReceiverModelTest, ThePoweredInitialisedSynthesizerTakesAChannelAndTheFileFollowsIt)
{
    ASSERT_TRUE(receiver().setLevel(4, 812));
    ASSERT_TRUE(receiver().setLevel(17, 95));
    EXPECT_EQ(levelFile(), "0\n");

    // Not powered: neither the initialisation nor the channel count.
    send(initialisation);
    send(channel4);
    power(true);
    send(channel4);
    EXPECT_EQ(receiver().tunedChannel(), -1);
    EXPECT_EQ(levelFile(), "0\n");

    send(initialisation);
    send(channel4);
    EXPECT_EQ(receiver().tunedChannel(), 4);
    EXPECT_EQ(levelFile(), "812\n");
    send(channel17);
    EXPECT_EQ(levelFile(), "95\n");
    EXPECT_EQ(receiver().tuneCount(), 2);

    // The level of the channel it is on shows at once; others wait their turn.
    ASSERT_TRUE(receiver().setLevel(17, 3000));
    EXPECT_EQ(levelFile(), "3000\n");
    ASSERT_TRUE(receiver().setLevel(4, 10));
    EXPECT_EQ(levelFile(), "3000\n");

    // Powered down, it forgets its initialisation.
    power(false);
    send(channel4);
    power(true);
    send(channel4);
    EXPECT_EQ(receiver().tunedChannel(), 17);
}

TEST_F(ScanReceiverModelTest, BrokenSequencesTuneNothing)
{
    power(true);
    send(initialisation);
    // Cut short, unknown words, and a message of the wrong size.
    send({0x19DDE1, 0x7FD784, 0x223BB9});
    send({0x0FF560, 0x123456, 0x7FD784, 0x223BB9});
    send({0x0FF560, 0x19DDE1});
    send({0x7FD784}, 4);
    send({0x223BB9});
    EXPECT_EQ(receiver().tunedChannel(), -1);
    // An initialisation interrupted by another word does not count.
    power(false);
    send(channel4);
    power(true);
    std::vector<uint32_t> broken = initialisation;
    broken[12] = 0x000000;
    send(broken);
    send(channel4);
    EXPECT_EQ(receiver().tunedChannel(), -1);
    EXPECT_EQ(receiver().tuneCount(), 0);
}

TEST_F(ScanReceiverModelTest, ScriptCommandsSetTheBandAndCheckTheirArguments)
{
    sim::CommandTable commands;
    sim::addRfCommands(commands);
    std::vector<std::string> levels = {"rf", "levels"};
    for (int i = 0; i < 20; ++i)
        levels.push_back(std::to_string(100 * i));
    std::vector<std::string> tooHigh = levels;
    tooHigh[5] = "4096";
    const struct {
        std::vector<std::string> words;
        bool valid;
    } cases[] = {
        {levels, true},
        {{"rf", "levels", "1", "2"}, false},
        {tooHigh, false},
        {{"rf", "level", "19", "4095"}, true},
        {{"rf", "level", "20", "5"}, false},
        {{"rf", "level", "-1", "5"}, false},
        {{"rf", "level", "3", "0x10"}, false},
        {{"rf", "level", "3"}, false},
    };
    for (const auto &c : cases) {
        size_t nameWords = 0;
        const sim::ScenarioCommand *command = commands.find(c.words, nameWords);
        ASSERT_NE(command, nullptr);
        const std::vector<std::string> arguments(c.words.begin() + static_cast<long>(nameWords), c.words.end());
        EXPECT_EQ(command->check(arguments).empty(), c.valid) << c.words[1] << " " << c.words.size();
    }

    sim::OutputCapture output;
    sim::ScenarioContext context(board(), output, workDir());
    size_t nameWords = 0;
    const std::vector<std::string> twenty(levels.begin() + 2, levels.end());
    ASSERT_TRUE(commands.find(levels, nameWords)->run(context, twenty).status == sim::Outcome::Passed);
    EXPECT_EQ(receiver().level(19), 1900);
    const std::vector<std::string> one = {"rf", "level", "7", "33"};
    ASSERT_TRUE(commands.find(one, nameWords)->run(context, {"7", "33"}).status == sim::Outcome::Passed);
    EXPECT_EQ(receiver().level(7), 33);
    EXPECT_EQ(receiver().level(6), 600);
}
