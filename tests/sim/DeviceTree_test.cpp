#include "BoardTest.h"
#include "HardwarePath.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<uint8_t> everyByte()
{
    std::vector<uint8_t> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

// Reads until count bytes arrived or nothing came for a second.
std::vector<uint8_t> readFromDevice(int fd, size_t count)
{
    std::vector<uint8_t> got;
    uint8_t buffer[512];
    while (got.size() < count) {
        struct pollfd watch = {fd, POLLIN, 0};
        if (poll(&watch, 1, 1000) <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

std::vector<uint8_t> receiveOnBoard(sim::PseudoTerminal &terminal, size_t count)
{
    std::vector<uint8_t> got;
    uint8_t buffer[512];
    while (got.size() < count) {
        const long n = terminal.receive(buffer, sizeof(buffer), 1000);
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

bool exists(const std::string &path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

bool isDirectory(const std::string &path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

class DeviceTreeTest : public BoardTest
{
};

// The terminals alone, without the board's models, which read the same
// masters while the board runs.
class TerminalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = sim::VirtualBoard::makeTemporaryRoot();
        ASSERT_FALSE(m_root.empty());
        tree = std::make_unique<sim::DeviceTree>(m_root);
        ASSERT_TRUE(tree->ok()) << tree->error();
    }

    void TearDown() override
    {
        tree.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    // Every byte value, both ways, through the device file the application opens.
    void expectTransparent(const std::string &device, sim::PseudoTerminal &terminal)
    {
        SCOPED_TRACE(device);
        const int fd = ::open(tree->path(device).c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        const std::vector<uint8_t> bytes = everyByte();

        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        EXPECT_EQ(receiveOnBoard(terminal, bytes.size()), bytes);

        ASSERT_TRUE(terminal.send(bytes.data(), bytes.size()));
        EXPECT_EQ(readFromDevice(fd, bytes.size()), bytes);

        // Nothing was added on either side.
        uint8_t spare;
        EXPECT_EQ(terminal.receive(&spare, 1, 50), 0);
        ::close(fd);
    }

    std::unique_ptr<sim::DeviceTree> tree;

private:
    std::string m_root;
};

TEST_F(TerminalTest, PassEveryByteUnchangedAndSurviveTheApplicationClosingItsEnd)
{
    expectTransparent("/dev/uio3", tree->uio(3));
    expectTransparent("/dev/ttyPS1", tree->serial());

    // They survive the application closing its end.
    const std::vector<uint8_t> bytes = {0x03, 0x0D, 0x0A, 0x11, 0x13, 0x7F};
    for (int round = 0; round < 2; ++round) {
        const int fd = ::open(tree->path("/dev/uio0").c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(tree->uio(0).send(bytes.data(), bytes.size()));
        EXPECT_EQ(readFromDevice(fd, bytes.size()), bytes);
        ::close(fd);
        uint8_t spare;
        EXPECT_EQ(tree->uio(0).receive(&spare, 1, 50), 0);
    }
}

TEST_F(DeviceTreeTest, StickComesAndGoesWithItsFiles)
{
    sim::DeviceTree &tree = board().tree();
    const std::string mount = tree.path("/run/media/sdb1");
    const std::string node = tree.path("/dev/sdb1");
    EXPECT_EQ(tree.usbLetter(), 0);
    EXPECT_FALSE(tree.removeUsb());

    ASSERT_TRUE(tree.insertUsb('b'));
    EXPECT_EQ(tree.usbLetter(), 'b');
    EXPECT_TRUE(isDirectory(mount));
    EXPECT_TRUE(exists(node));
    // One stick at a time.
    EXPECT_FALSE(tree.insertUsb('c'));
    EXPECT_FALSE(exists(tree.path("/run/media/sdc1")));
    EXPECT_TRUE(tree.insertUsb('b'));

    ASSERT_TRUE(tree.writeFile("/run/media/sdb1/PAVORX.tar.gz", "package"));
    ASSERT_TRUE(tree.removeUsb());
    EXPECT_EQ(tree.usbLetter(), 0);
    EXPECT_FALSE(exists(mount));
    EXPECT_FALSE(exists(node));

    ASSERT_TRUE(tree.insertUsb('b'));
    EXPECT_EQ(tree.readFile("/run/media/sdb1/PAVORX.tar.gz"), "package");

    ASSERT_TRUE(tree.removeUsb());
    ASSERT_TRUE(tree.insertUsb('c'));
    EXPECT_FALSE(exists(tree.path("/run/media/sdc1/PAVORX.tar.gz")));

    EXPECT_FALSE(tree.insertUsb('k'));
    EXPECT_FALSE(tree.insertUsb('A'));
}

TEST_F(DeviceTreeTest, GpioIioAndASparseMemoryFileArePresent)
{
    sim::DeviceTree &tree = board().tree();
    EXPECT_TRUE(exists(tree.path("/sys/class/gpio/export")));
    for (int number : {918, 919, 923, 931, 932}) {
        const std::string line = "/sys/class/gpio/gpio" + std::to_string(number);
        SCOPED_TRACE(line);
        EXPECT_EQ(tree.readFile(line + "/direction"), "in\n");
        // The power button (923), released, holds its line high.
        EXPECT_EQ(tree.readFile(line + "/value"), number == 923 ? "1\n" : "0\n");
        EXPECT_EQ(tree.readFile(line + "/edge"), "none\n");
    }
    EXPECT_FALSE(exists(tree.path("/sys/class/gpio/gpio906")));

    const std::string temperature = tree.readFile("/sys/bus/iio/devices/iio:device0/in_temp0_raw");
    ASSERT_FALSE(temperature.empty());
    EXPECT_GT(std::stoi(temperature), 0);
    EXPECT_EQ(tree.readFile("/sys/bus/iio/devices/iio:device0/in_voltage8_vpvn_raw"), "0\n");
    EXPECT_TRUE(isDirectory(tree.path("/tmp")));

    // The memory file reaches the reset register and stays sparse.
    struct stat status;
    ASSERT_EQ(stat(board().tree().path("/dev/mem").c_str(), &status), 0);
    EXPECT_GE(static_cast<uint64_t>(status.st_size), 0xF8007004ull);
    EXPECT_LT(static_cast<uint64_t>(status.st_blocks) * 512, 1ull << 20);
}

} // namespace
