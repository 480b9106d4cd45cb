#include "LinkTest.h"
#include "Uart.h"

#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string errorLine(const std::string &text)
{
    return "\033[1;31m[ ERROR ]: " + text + "\n\033[0m";
}

class UartTest : public LinkTest
{
protected:
    // The line's settings as the device end sees them.
    struct termios lineSettings()
    {
        struct termios settings = {};
        const int fd = ::open(board().tree().serial().slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(tcgetattr(fd, &settings), 0);
        ::close(fd);
        return settings;
    }
};

struct LineCase {
    int speed;
    char parity;
    int dataBits;
    int stopBits;
    speed_t expectedSpeed;
    tcflag_t expectedSize;
    tcflag_t expectedParity; // PARENB and PARODD
    bool twoStopBits;
};

TEST_F(UartTest, SetBuildsARawLineFromTheGivenFraming)
{
    const LineCase cases[] = {
        {115200, 'n', 8, 1, B115200, CS8, 0, false},
        {9600, 'E', 7, 2, B9600, CS7, PARENB, true},
        {12345, 'o', 5, 3, B9600, CS5, PARENB | PARODD, false},
        {2400, 'e', 6, 1, B2400, CS6, PARENB, false},
        {4800, 'O', 9, 2, B4800, CS5, PARENB | PARODD, true},
        {57600, 'N', 8, 1, B9600, CS8, 0, false},
    };
    for (const LineCase &line : cases) {
        SCOPED_TRACE(std::to_string(line.speed) + " " + line.parity);
        const struct termios built = Uart::lineSettings(line.speed, line.parity, line.dataBits, line.stopBits);
        EXPECT_EQ(built.c_cflag & CSIZE, line.expectedSize);
        EXPECT_EQ(built.c_cflag & (PARENB | PARODD), line.expectedParity);
        EXPECT_EQ(built.c_cflag & (CREAD | CLOCAL), tcflag_t(CREAD | CLOCAL));

        // What a pseudo-terminal keeps of it (it always runs 8 bits without
        // parity) must be what was asked for.
        Uart port("/dev/ttyPS1", line.speed, line.parity, line.dataBits, line.stopBits);
        const struct termios settings = lineSettings();
        EXPECT_EQ(cfgetispeed(&settings), line.expectedSpeed);
        EXPECT_EQ(cfgetospeed(&settings), line.expectedSpeed);
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, line.twoStopBits);
        EXPECT_EQ(settings.c_iflag, line.expectedParity != 0 ? tcflag_t(INPCK | ISTRIP) : 0u);
        // Nothing of what the line had before survives: no processing at all.
        EXPECT_EQ(settings.c_oflag, 0u);
        EXPECT_EQ(settings.c_lflag, 0u);
        EXPECT_EQ(settings.c_cc[VMIN], 0);
        EXPECT_EQ(settings.c_cc[VTIME], 0);
    }
}

TEST_F(UartTest, APortThatDidNotOpenReportsEveryUse)
{
    CaptureStderr();
    Uart port("/dev/ttyPS9", 115200, 'n', 8, 1);
    const uint8_t byte = 0x55;
    EXPECT_EQ(port.write(&byte, 1), -1);
    EXPECT_FALSE(port.set(115200, 'n', 8, 1));
    auto consumer = [](const unsigned char *, int) {};
    EXPECT_FALSE(port.start(consumer));
    EXPECT_EQ(GetCapturedStderr(), errorLine("/dev/ttyPS9 open failed") + errorLine("/dev/ttyPS9 write error")
                                       + errorLine("/dev/ttyPS9 is not open") + errorLine("/dev/ttyPS9 is not open"));
}

TEST_F(UartTest, OneReaderHandsEveryBlockToTheConsumer)
{
    struct Collector {
        Recorder<uint8_t> bytes;
        void operator()(const unsigned char *block, int count)
        {
            for (int i = 0; i < count; ++i)
                bytes.add(block[i]);
        }
    };
    // Both live as long as the process, as the reader thread does.
    static Collector collector;
    static Uart port("/dev/ttyPS1", 115200, 'n', 8, 1);

    // The MCU stays quiet, so that only the bytes below come.
    mcu().setBootDelay(60000);
    pause(100);
    const int before = threadCount();
    ASSERT_TRUE(port.start(collector));
    ASSERT_TRUE(port.start(collector));
    EXPECT_EQ(threadCount(), before + 1);

    // On a slow machine the MCU may have announced itself before it was told
    // to stay quiet: what came before the bytes below is not theirs.
    pause(100);
    const size_t earlier = collector.bytes.values().size();

    // More than one read's worth, in pieces, with every byte value.
    std::vector<uint8_t> sent;
    for (int i = 0; i < 300; ++i)
        sent.push_back(static_cast<uint8_t>(i));
    mcu().setFragment(50);
    mcu().sendRaw(sent);
    ASSERT_TRUE(waitUntil([&] { return collector.bytes.values().size() >= earlier + sent.size(); }));
    const std::vector<uint8_t> got = collector.bytes.values();
    const auto first = got.begin() + static_cast<long>(earlier);
    EXPECT_EQ(std::vector<uint8_t>(first, first + static_cast<long>(sent.size())), sent);

    const uint8_t frame[] = {0xAA, 0xBB, 0x07, 0x01, 0x00, 0x17};
    EXPECT_EQ(port(frame, sizeof(frame)), static_cast<int>(sizeof(frame)));
    EXPECT_TRUE(waitUntil([&] { return mcu().count(0x07) == 1; }));
}

} // namespace
