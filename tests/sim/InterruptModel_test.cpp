#include "BoardTest.h"
#include "HardwarePath.h"
#include "InterruptCommands.h"
#include "ScenarioRunner.h"

#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

using Key = sim::InterruptModel::Key;

// The application's side of one line, as the userspace-I/O device gives it.
class Device
{
public:
    explicit Device(int line) : m_fd(::open(hw::path("/dev/uio" + std::to_string(line)).c_str(), O_RDWR | O_NOCTTY)) {}
    ~Device()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool ok() const { return m_fd >= 0; }

    void write(int32_t value) { ASSERT_EQ(::write(m_fd, &value, sizeof(value)), 4); }

    // The next interrupt count, or -1 when none comes within the time.
    int64_t next(int timeoutMs = 3000)
    {
        struct pollfd watch = {m_fd, POLLIN, 0};
        if (::poll(&watch, 1, timeoutMs) != 1)
            return -1;
        uint32_t count = 0;
        return ::read(m_fd, &count, sizeof(count)) == 4 ? count : -2;
    }

private:
    int m_fd;
};

class InterruptModelTest : public BoardTest
{
protected:
    sim::InterruptModel &model() { return board().interrupts(); }
    void enable(int line) { board().pl().set(FPGA_INIT_CTL, board().pl().get(FPGA_INIT_CTL) | (1u << (4 * line))); }

    // Unmasks (or masks) and waits until the model has taken the write.
    void unmask(Device &device, int line, bool armed = true)
    {
        device.write(armed ? 1 : 0);
        for (int i = 0; i < 600 && model().isArmed(line) != armed; ++i)
            usleep(5000);
    }
};

} // namespace

TEST_F(InterruptModelTest, DeliversOnlyWhileEnabledAndUnmaskedRemembersTheRestAndClearsAcknowledgements)
{
    Device device(2);
    ASSERT_TRUE(device.ok());
    EXPECT_FALSE(model().isArmed(2));

    // Masked and disabled: remembered.
    model().raise(2);
    EXPECT_EQ(device.next(200), -1);
    // Unmasked but still disabled: still remembered.
    device.write(1);
    EXPECT_EQ(device.next(200), -1);
    EXPECT_FALSE(model().isArmed(2));
    // Enabled: the remembered event arrives, and the line masks itself.
    enable(2);
    EXPECT_EQ(device.next(), 1);
    EXPECT_FALSE(model().isArmed(2));

    // Several events while masked arrive as one on the unmask.
    model().raise(2);
    model().raise(2);
    model().raise(2);
    EXPECT_EQ(device.next(200), -1);
    device.write(1);
    EXPECT_EQ(device.next(), 2);
    EXPECT_EQ(device.next(200), -1);

    // Armed: delivered at once; a written 0 masks the line again.
    unmask(device, 2);
    ASSERT_TRUE(model().isArmed(2));
    model().raise(2);
    EXPECT_EQ(device.next(), 3);
    // Unmasked but disabled in the logic: held until the line is enabled again.
    unmask(device, 2);
    board().pl().set(FPGA_INIT_CTL, board().pl().get(FPGA_INIT_CTL) & ~(1u << 8));
    model().raise(2);
    EXPECT_EQ(device.next(200), -1);
    enable(2);
    EXPECT_EQ(device.next(), 4);

    unmask(device, 2);
    unmask(device, 2, false);
    EXPECT_FALSE(model().isArmed(2));
    model().raise(2);
    EXPECT_EQ(device.next(200), -1);
    EXPECT_EQ(model().count(2), 4u);
    // Other lines are untouched.
    for (int line : {0, 1, 3, 4, 5})
        EXPECT_EQ(model().count(line), 0u);

    // Acknowledge bits in the control register are counted and cleared.
    board().pl().set(FPGA_INIT_CTL, 0x80000000u | (1u << 5) | (1u << 21) | (1u << 16));
    model().raise(0);
    EXPECT_EQ(board().pl().get(FPGA_INIT_CTL), 0x80000000u | (1u << 16));
    EXPECT_EQ(model().acknowledgements(1), 1);
    EXPECT_EQ(model().acknowledgements(5), 1);
    EXPECT_EQ(model().acknowledgements(4), 0);
}

TEST_F(InterruptModelTest, KeysHoldTheirLevelAndRaiseTheirLineOnThePress)
{
    Device f2(4);
    ASSERT_TRUE(f2.ok());
    enable(4);
    unmask(f2, 4);
    board().pl().set(SDI_IN_INFO, 0x00000101u);

    model().press(Key::F2);
    EXPECT_EQ(board().pl().get(SDI_IN_INFO), 0x04000101u);
    EXPECT_EQ(f2.next(), 1);
    model().press(Key::F3);
    EXPECT_EQ(board().pl().get(SDI_IN_INFO), 0x0C000101u);
    model().release(Key::F2);
    model().release(Key::F3);
    EXPECT_EQ(board().pl().get(SDI_IN_INFO), 0x00000101u);

    model().click(Key::F1);
    model().hold({Key::F1, Key::F3}, std::chrono::milliseconds(10));
    EXPECT_EQ(board().pl().get(SDI_IN_INFO), 0x00000101u);
    EXPECT_EQ(model().count(3), 0u) << "line 3 is masked: its presses are remembered";
}

TEST_F(InterruptModelTest, ScriptCommandsCheckTheirArguments)
{
    sim::CommandTable commands;
    sim::addInterruptCommands(commands);
    const struct {
        std::vector<std::string> words;
        bool valid;
    } cases[] = {
        {{"key", "F1", "click"}, true},
        {{"key", "F3", "hold", "3000"}, true},
        {{"key", "F4", "click"}, false},
        {{"key", "F1", "hold"}, false},
        {{"key", "F1", "hold", "-5"}, false},
        {{"keys", "F2+F3", "hold", "2500"}, true},
        {{"keys", "F1+F2+F3", "hold", "100"}, true},
        {{"keys", "F1+F1", "hold", "100"}, false},
        {{"keys", "F2", "hold", "100"}, false},
        {{"keys", "F1+F3", "click"}, false},
        {{"irq", "5"}, true},
        {{"irq", "6"}, false},
        {{"irq", "01"}, false},
        {{"expect", "irq-armed", "0", "true"}, true},
        {{"expect", "irq-armed", "3", "yes"}, false},
    };
    for (const auto &c : cases) {
        size_t nameWords = 0;
        const sim::ScenarioCommand *command = commands.find(c.words, nameWords);
        ASSERT_NE(command, nullptr) << c.words[0];
        const std::vector<std::string> arguments(c.words.begin() + static_cast<long>(nameWords), c.words.end());
        EXPECT_EQ(command->check(arguments).empty(), c.valid) << c.words[0] << " " << c.words[1];
    }
}
