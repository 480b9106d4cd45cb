#include "FanCtrl.h"
#include "FrameOption.h"
#include "HardwarePath.h"
#include "OutputCapture.h"
#include "PlatformTest.h"
#include "ReadFifo.h"
#include "ThreadWatch.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class ReadFifoTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        // Between 70 and 75 degrees the fan control leaves the mode alone, so
        // that what a command sets stays.
        ASSERT_TRUE(board().platform().setTemperature(72.0));
        fan = FanCtrl::getInstance();
    }

    void TearDown() override
    {
        if (writer >= 0)
            ::close(writer);
        BoardTest::TearDown();
    }

    // The application's end of the pipe must be open before a writer gets in.
    void openWriter()
    {
        const std::string path = hw::path("/tmp/control");
        ASSERT_TRUE(waitUntil([&] {
            writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return writer >= 0;
        }));
    }

    // Written and taken out of the pipe by the application, so that the next
    // write is read apart.
    void write(const std::string &text)
    {
        for (size_t done = 0; done < text.size();) {
            const ssize_t count = ::write(writer, text.data() + done, text.size() - done);
            if (count > 0)
                done += static_cast<size_t>(count);
            else
                ASSERT_TRUE(errno == EAGAIN || errno == EINTR) << errno;
        }
        ASSERT_TRUE(waitUntil([&] {
            int waiting = 0;
            return ::ioctl(writer, FIONREAD, &waiting) == 0 && waiting == 0;
        }));
    }

    bool read(ReadFifo &fifo, std::string text) { return fifo.readAction(text.data(), static_cast<int>(text.size())); }

    FanCtrl *fan = nullptr;
    int writer = -1;
};

TEST_F(ReadFifoTest, HelpListsEveryCommandInOrder)
{
    ReadFifo fifo(hw::path("/tmp/helpfifo"));
    CaptureStdout();
    fifo.help();
    EXPECT_EQ(GetCapturedStdout(),
              "\n\t******FIFO command control******\n"
              "\t         mcu_version\t\tshow mcu version\n"
              "\t          mipi_reset\t\treset mipi display\n"
              "\t                 fan\t\tuse \"fan low/high/off\" low/high/close fan\n"
              "\t                flip\t\tuse \"flip on/off\" open/close flip\n"
              "\t                hdmi\t\tshow HDMI info\n"
              "\t            strength\t\tshow WHDI signal strength\n"
              "\t             channel\t\tshow WHDI current channel\n"
              "\t                whdi\t\tshow WHDI info\n"
              "\t                 snr\t\tuse \"snr on/off\" open/close WHDI snr menu\n"
              "\t             antenna\t\tuse \"antenna in/external\" set WHDI antenna in or external\n"
              "\t            shutdown\t\tpoweroff\n"
              "\t               frame\t\tuse \"frame fm/bmp/tiff/png\"\n");
}

TEST_F(ReadFifoTest, ParsesOneWordAndOneArgumentPerReadAndFrameTakesOnlyTheFourFormats)
{
    ReadFifo fifo(hw::path("/tmp/parsefifo"));
    EXPECT_FALSE(read(fifo, "help\n"));
    EXPECT_FALSE(read(fifo, "  help  me\n"));
    EXPECT_FALSE(fifo.readAction(nullptr, 4));
    char empty[] = "";
    EXPECT_FALSE(fifo.readAction(empty, 0));

    EXPECT_TRUE(read(fifo, "fan high\n"));
    EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_HIGH);
    EXPECT_EQ(board().platform().gpioValue(13), 1);

    // Missing and unlisted arguments, unknown words and blanks change nothing.
    const std::string unchanged[] = {"fan\n", "fan fast\n", "fan HIGH\n", "fanlow\n", "Fan low\n", "bogus low\n",
                                     " \t\n", "\n\n", std::string("\0fan low\n", 9)};
    for (const std::string &text : unchanged) {
        EXPECT_TRUE(read(fifo, text)) << text;
        EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_HIGH) << text;
    }

    // Two lines in one read: only the first word and the first argument count.
    EXPECT_TRUE(read(fifo, "fan low\nfan off\n"));
    EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_LOW);
    EXPECT_EQ(board().platform().gpioValue(12), 1);
    EXPECT_EQ(board().platform().gpioValue(13), 0);
    EXPECT_TRUE(read(fifo, "fan   off  high"));
    EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_OFF);

    // "frame" sets the capture format, one of the four listed only.
    std::string suffix;
    FrameOption::getFrameSuffix(suffix);
    EXPECT_EQ(suffix, ".bmp");
    for (const char *format : {"png", "tiff", "fm", "bmp"}) {
        EXPECT_TRUE(read(fifo, std::string("frame ") + format + "\n"));
        FrameOption::getFrameSuffix(suffix);
        EXPECT_EQ(suffix, std::string(".") + format);
    }
    for (const char *text : {"frame jpg\n", "frame\n", "frame PNG\n", "frame ../x\n"}) {
        EXPECT_TRUE(read(fifo, text));
        FrameOption::getFrameSuffix(suffix);
        EXPECT_EQ(suffix, ".bmp") << text;
    }
}

// A line longer than one read: its first read counts as the command, the rest
// of the line is no command even where it reads like one.
TEST_F(ReadFifoTest, OverlongLineRunsOnlyItsStart)
{
    ReadFifo fifo(hw::path("/tmp/longfifo"));
    std::string line = "fan low " + std::string(Fifo::readSize - 8, 'x');
    line += "fan high " + std::string(Fifo::readSize - 9, 'y');
    line += "shutdown " + std::string(10000 - line.size() - 9, 'z') + "\n";
    line += "fan off\n";
    for (size_t start = 0; start < line.size(); start += Fifo::readSize) {
        const std::string piece = line.substr(start, Fifo::readSize);
        EXPECT_TRUE(read(fifo, piece));
        if (start + Fifo::readSize < 10000) {
            EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_LOW) << start;
        }
    }
    EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_OFF);

    // A short read without a line end leaves nothing open.
    EXPECT_TRUE(read(fifo, "fan"));
    EXPECT_TRUE(read(fifo, "fan high"));
    EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_HIGH);
}

TEST_F(ReadFifoTest, CommandsReachTheMcu)
{
    ASSERT_TRUE(startLink(board()));
    ReadFifo fifo(hw::path("/tmp/mcufifo"));
    for (const char *text : {"mcu_version", "mipi_reset", "fan low", "fan high", "fan off", "fan fast", "flip on",
                             "flip off", "flip", "hdmi", "strength", "channel", "whdi", "snr on", "snr off",
                             "snr maybe", "antenna external", "antenna in", "antenna out", "frame png", "shutdown"})
        EXPECT_TRUE(read(fifo, std::string(text) + "\n")) << text;
    ASSERT_TRUE(waitUntil([&] { return board().mcu().count(0x0D) > 0; }));

    // A command sent while the link was still coming up is held back and
    // flushed with the link's own questions (0x95, then 0x80): leave those out.
    std::vector<std::vector<uint8_t>> sent;
    bool afterLinkQuestion = false;
    for (const sim::McuModel::Frame &frame : board().mcu().received()) {
        const bool linkQuestion = frame.command == 0x95 || (afterLinkQuestion && frame.command == 0x80);
        afterLinkQuestion = frame.command == 0x95;
        if (frame.command == 0x0F || linkQuestion)
            continue;
        std::vector<uint8_t> bytes{frame.command};
        bytes.insert(bytes.end(), frame.data.begin(), frame.data.end());
        sent.push_back(bytes);
    }
    const std::vector<std::vector<uint8_t>> expected = {
        {0x80, 0, 0, 0}, {0x07, 0}, {0x08, 1}, {0x08, 1}, {0x08, 0}, {0x0B, 1}, {0x0B, 0}, {0x82, 0},
        {0x84, 0},       {0x81, 0}, {0x83, 0}, {0x05, 1}, {0x05, 0}, {0x10, 1}, {0x10, 0}, {0x0D, 0}};
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(fan->getFanMode(), FanCtrl::FAN_OFF);
}

TEST_F(ReadFifoTest, MissingFifoIsCreatedAndServedThroughFloodsOfGarbage)
{
    const std::string path = hw::path("/tmp/control");
    ASSERT_NE(::access(path.c_str(), F_OK), 0);
    sim::OutputCapture output;
    ASSERT_TRUE(output.start());
    FifoInit();
    FifoInit();
    struct stat info;
    ASSERT_TRUE(waitUntil([&] { return ::stat(path.c_str(), &info) == 0; }));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    openWriter();
    write("fan high\n");
    EXPECT_TRUE(waitUntil([&] { return fan->getFanMode() == FanCtrl::FAN_HIGH; }));
    write("help\n");
    EXPECT_TRUE(waitUntil([&] { return output.contains("\t******FIFO command control******"); }));

    // The writer goes and comes back; meanwhile the reader sleeps.
    ::close(writer);
    writer = -1;
    settle(std::chrono::milliseconds(100));
    EXPECT_TRUE(sleepsThrough("fifo-reader", std::chrono::milliseconds(500)));
    openWriter();
    write("fan low\n");
    EXPECT_TRUE(waitUntil([&] { return fan->getFanMode() == FanCtrl::FAN_LOW; }));
    output.stop();

    // A flood of garbage and overlong lines.
    std::mt19937 random(7);
    std::string garbage(65536, '\0');
    for (char &byte : garbage)
        byte = static_cast<char>(random() % 256);
    write(garbage);
    write(std::string(10000, 'q') + "\n");
    write("fan high " + std::string(9990, 'w') + "\n");
    EXPECT_TRUE(waitUntil([&] { return fan->getFanMode() == FanCtrl::FAN_HIGH; }));
    write("fan off\n");
    EXPECT_TRUE(waitUntil([&] { return fan->getFanMode() == FanCtrl::FAN_OFF; }));
}

// The write end: it writes only once a reader has the pipe open.
class WriteEnd : public Fifo
{
public:
    explicit WriteEnd(const std::string &path) : Fifo(path, FIFO_WRITE) { start(); }
    ~WriteEnd() override { stop(); }
    void help() override {}
    bool readAction(char *, int) override { return true; }
};

TEST_F(ReadFifoTest, WriteEndWritesOnceThereIsAReader)
{
    const std::string path = hw::path("/tmp/out");
    WriteEnd fifo(path);
    char text[] = "fan low\n";
    unsigned length = 8;
    testing::internal::CaptureStderr();
    EXPECT_EQ(fifo.writeAction(text, length), 0);
    ReadFifo reader(path);
    EXPECT_EQ(reader.writeAction(text, length), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\033[1;31m[ ERROR ]: fifo " + path + " error\n\033[0m\033[1;31m[ ERROR ]: fifo " + path
                  + " is only write\n\033[0m");
    ASSERT_TRUE(waitUntil([&] { return fifo.writeAction(text, length) == 8; }));
    EXPECT_TRUE(waitUntil([&] { return fan->getFanMode() == FanCtrl::FAN_LOW; }));
}

// Both ends made at the same moment on a new path: each may find the name
// missing and make the pipe, and the one that comes second finds it made.
TEST_F(ReadFifoTest, BothEndsOpenWhenTheyMakeThePipeAtOnce)
{
    int failed = 0;
    for (int round = 0; round < 100; ++round) {
        const std::string path = hw::path("/tmp/both" + std::to_string(round));
        std::atomic<int> ready{0};
        std::unique_ptr<ReadFifo> reader;
        std::unique_ptr<WriteEnd> writer;
        const auto together = [&ready] {
            ready.fetch_add(1);
            while (ready.load() < 2) {
            }
        };
        std::thread readSide([&] {
            together();
            reader = std::make_unique<ReadFifo>(path);
        });
        std::thread writeSide([&] {
            together();
            writer = std::make_unique<WriteEnd>(path);
        });
        readSide.join();
        writeSide.join();
        char text[] = "fan low\n";
        unsigned length = 8;
        testing::internal::CaptureStderr();
        if (!waitUntil([&] { return writer->writeAction(text, length) == 8; }, std::chrono::seconds(2)))
            ++failed;
        testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(failed, 0);

    // A name something else has is left as it is.
    const std::string taken = hw::path("/tmp/taken");
    std::ofstream(taken) << "kept";
    sim::OutputCapture output;
    ASSERT_TRUE(output.start());
    {
        ReadFifo reader(taken);
        EXPECT_TRUE(waitUntil([&] { return output.contains("creat " + taken + " fif0 failed"); }));
    }
    std::ifstream file(taken);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "kept");
}

} // namespace
