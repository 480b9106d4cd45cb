#include "BoardTest.h"
#include "ScanControl.h"

#include <linux/spi/spidev.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string errorLine(const std::string &text)
{
    return "\033[1;31m[ ERROR ]: " + text + "\n\033[0m";
}

// The order in which the application finished writing the enable lines'
// value files, by board line number.
class LineWrites
{
public:
    explicit LineWrites(sim::DeviceTree &tree)
    {
        fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        for (int line : {25, 26}) {
            const std::string dir = tree.path("/sys/class/gpio/gpio" + std::to_string(line + 906));
            watches.push_back({inotify_add_watch(fd, dir.c_str(), IN_CLOSE_WRITE), line});
        }
    }
    ~LineWrites() { ::close(fd); }

    std::vector<int> take()
    {
        std::vector<int> lines;
        alignas(struct inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = ::read(fd, buffer, sizeof(buffer))) > 0) {
            for (char *p = buffer; p < buffer + length;) {
                const auto *event = reinterpret_cast<const struct inotify_event *>(p);
                for (const auto &watch : watches) {
                    if (watch.first == event->wd && event->len > 0 && std::string(event->name) == "value")
                        lines.push_back(watch.second);
                }
                p += sizeof(struct inotify_event) + event->len;
            }
        }
        return lines;
    }

private:
    int fd;
    std::vector<std::pair<int, int>> watches;
};

class ScanControlTest : public BoardTest
{
protected:
    // The 24-bit words sent since the last call.
    std::vector<uint32_t> newWords()
    {
        const auto messages = board().system().spiMessages();
        std::vector<uint32_t> words;
        for (size_t i = seen; i < messages.size(); ++i) {
            EXPECT_EQ(messages[i].size(), 3u);
            if (messages[i].size() == 3)
                words.push_back(static_cast<uint32_t>(messages[i][0]) << 16 | messages[i][1] << 8 | messages[i][2]);
        }
        seen = messages.size();
        return words;
    }

    int line(int number) { return board().platform().gpioValue(number); }

    size_t seen = 0;
};

} // namespace

TEST_F(ScanControlTest, OpensTheBusAtTwentyMegahertzModeZeroAndByteWords)
{
    // Unlike the driver's defaults, so that each setting must be written.
    uint8_t mode = SPI_MODE_3;
    uint8_t bits = 16;
    ASSERT_EQ(hw::system().spiIoctl(3, SPI_IOC_WR_MODE, &mode), 0);
    ASSERT_EQ(hw::system().spiIoctl(3, SPI_IOC_WR_BITS_PER_WORD, &bits), 0);
    CaptureStderr();
    ScanControl scan;
    EXPECT_EQ(GetCapturedStderr(), "");
    const sim::SimSystem::SpiSettings settings = board().system().spiSettings();
    EXPECT_EQ(settings.mode, 0);
    EXPECT_EQ(settings.bitsPerWord, 8);
    EXPECT_EQ(settings.maxSpeedHz, 20000000u);
    EXPECT_TRUE(scan.open());
    EXPECT_TRUE(newWords().empty());
}

TEST_F(ScanControlTest, EveryChannelTunesTheReceiverAndReadsBackItsLevel)
{
    ScanControl scan;
    for (int channel = 0; channel < ScanControl::channelCount; ++channel)
        ASSERT_TRUE(board().scanReceiver().setLevel(channel, 1000 + 37 * channel));

    // Powered down, the synthesizer gets no initialisation and takes nothing.
    EXPECT_TRUE(scan.setChannel(7));
    EXPECT_EQ(newWords(), (std::vector<uint32_t>{0x0FF580, 0x19DDE1, 0x7FD784, 0x223BB9}));
    EXPECT_EQ(board().scanReceiver().tunedChannel(), -1);

    scan.enable();
    for (int channel = 0; channel < ScanControl::channelCount; ++channel) {
        ASSERT_TRUE(scan.setChannel(channel));
        const std::vector<uint32_t> words = newWords();
        ASSERT_EQ(words.size(), 24u);
        EXPECT_EQ(words.front(), 0x0FF550u);
        EXPECT_EQ(words[19], 0xE06F2Au);
        EXPECT_EQ(words.back(), 0x223BB9u);
        EXPECT_EQ(board().scanReceiver().tunedChannel(), channel);
        EXPECT_EQ(scan.getADCValue(), 1000 + 37 * channel);
    }
    // A channel the band does not have: the initialisation only.
    EXPECT_FALSE(scan.setChannel(20));
    EXPECT_EQ(newWords().size(), 20u);
    EXPECT_EQ(board().scanReceiver().tuneCount(), ScanControl::channelCount);
}

TEST_F(ScanControlTest, EnableRaisesLine25FirstAndDisableLowersLine26First)
{
    ScanControl scan;
    LineWrites writes(board().tree());
    EXPECT_FALSE(scan.isEnabled());
    scan.enable();
    EXPECT_TRUE(scan.isEnabled());
    EXPECT_EQ(writes.take(), (std::vector<int>{25, 26}));
    EXPECT_EQ(line(25), 1);
    EXPECT_EQ(line(26), 1);
    scan.disable();
    EXPECT_FALSE(scan.isEnabled());
    EXPECT_EQ(writes.take(), (std::vector<int>{26, 25}));
    EXPECT_EQ(line(25), 0);
    EXPECT_EQ(line(26), 0);
}

TEST_F(ScanControlTest, EachSetUpFailureIsNamedAndLeavesTheDeviceClosedForAnotherTry)
{
    const struct {
        unsigned long request;
        const char *text;
    } failures[] = {
        {SPI_IOC_WR_MODE, "can't set spi mode"},
        {SPI_IOC_RD_MODE, "can't get spi mode"},
        {SPI_IOC_WR_BITS_PER_WORD, "can't set bits per word"},
        {SPI_IOC_RD_BITS_PER_WORD, "can't get bits per word"},
        {SPI_IOC_WR_MAX_SPEED_HZ, "can't set max speed hz"},
        {SPI_IOC_RD_MAX_SPEED_HZ, "can't get max speed hz"},
    };
    for (const auto &failure : failures) {
        board().system().failSpiRequest(failure.request, true);
        CaptureStderr();
        ScanControl scan;
        EXPECT_EQ(GetCapturedStderr(), errorLine(failure.text));
        // Nothing goes out on a half set-up bus, and no level is made up.
        scan.enable();
        CaptureStderr();
        EXPECT_FALSE(scan.setChannel(3));
        EXPECT_EQ(GetCapturedStderr(), errorLine("can't send spi message"));
        EXPECT_EQ(scan.getADCValue(), -1);
        board().system().failSpiRequest(failure.request, false);
        EXPECT_TRUE(scan.open());
        EXPECT_TRUE(scan.setChannel(3));
        EXPECT_EQ(scan.getADCValue(), 0);
    }

    const std::string device = board().tree().path("/dev/spidev1.0");
    ASSERT_EQ(::rename(device.c_str(), (device + ".away").c_str()), 0);
    CaptureStderr();
    ScanControl noDevice;
    EXPECT_EQ(GetCapturedStderr(), errorLine("can't open device"));
    ASSERT_EQ(::rename((device + ".away").c_str(), device.c_str()), 0);

    const std::string level = board().tree().path(sim::DeviceTree::levelFile);
    ASSERT_EQ(::rename(level.c_str(), (level + ".away").c_str()), 0);
    CaptureStderr();
    ScanControl noLevel;
    EXPECT_EQ(GetCapturedStderr(), errorLine("open ADC value file error"));
    EXPECT_EQ(noLevel.getADCValue(), -1);
    ASSERT_EQ(::rename((level + ".away").c_str(), level.c_str()), 0);
    EXPECT_TRUE(noLevel.open());
}

TEST_F(ScanControlTest, AFailingMessageStopsTheSequenceWithOneError)
{
    ScanControl scan;
    scan.enable();
    board().system().failSpiRequest(SPI_IOC_MESSAGE(1), true);
    CaptureStderr();
    EXPECT_FALSE(scan.setChannel(5));
    EXPECT_EQ(GetCapturedStderr(), errorLine("can't send spi message"));
    board().system().failSpiRequest(SPI_IOC_MESSAGE(1), false);
    EXPECT_TRUE(newWords().empty());
    EXPECT_EQ(board().scanReceiver().tunedChannel(), -1);
}

TEST_F(ScanControlTest, TheLevelIsReadFromTheStartOfTheFileEveryTime)
{
    ScanControl scan;
    const struct {
        const char *content;
        int level;
    } cases[] = {{"0\n", 0}, {"4095\n", 4095}, {"17", 17}, {"  250\n", 250}, {"\n", -1}, {"volts\n", -1}, {"", -1}};
    for (const auto &c : cases) {
        ASSERT_TRUE(board().tree().writeFile(sim::DeviceTree::levelFile, c.content));
        EXPECT_EQ(scan.getADCValue(), c.level) << c.content;
    }
}
