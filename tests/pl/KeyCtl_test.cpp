#include "AppConfig.h"
#include "BoardTest.h"
#include "KeyCtl.h"
#include "MainWindow.h"
#include "UartAPI.h"

#include <QLabel>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Key = sim::InterruptModel::Key;

class KeyCtlTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        keys = KeyCtl::getInstance();
        // Queued onto this thread, as the pages receive them.
        QObject::connect(keys, &KeyCtl::clicked, &receiver,
                         [this](int value) { emitted.push_back("clicked(" + std::to_string(value) + ")"); });
        QObject::connect(keys, &KeyCtl::longClicked, &receiver,
                         [this](int key) { emitted.push_back("longClicked(" + std::to_string(key) + ")"); });
        QObject::connect(keys, &KeyCtl::swapMainAndAssistSrc, &receiver,
                         [this] { emitted.push_back("swapMainAndAssistSrc()"); });
        for (int line : {3, 4, 5})
            ASSERT_TRUE(QTest::qWaitFor([&] { return board().interrupts().isArmed(line); }, 10000));
    }

    // Clicks a key and waits until its line is armed again.
    void click(Key key)
    {
        const uint32_t before = board().interrupts().count(3 + key);
        board().interrupts().click(key);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return board().interrupts().count(3 + key) > before && board().interrupts().isArmed(3 + key); },
            10000));
    }

    // The MCU link, once the MCU has first spoken: values go out at once.
    bool startLink()
    {
        board().mcu().setBootDelay(0);
        UartInit();
        return QTest::qWaitFor([&] { return board().mcu().count(0x0F) > 0; }, 10000);
    }

    std::vector<std::vector<uint8_t>> mcuValues(uint8_t command)
    {
        std::vector<std::vector<uint8_t>> values;
        for (const sim::McuModel::Frame &frame : board().mcu().received()) {
            if (frame.command == command)
                values.push_back(frame.data);
        }
        return values;
    }

    // Several key polls for late signals to arrive.
    static void settle() { QTest::qWait(300); }

    KeyCtl *keys = nullptr;
    QObject receiver;
    std::vector<std::string> emitted;
};

} // namespace

TEST_F(KeyCtlTest, ClickEmitsTheAssignedFunctionAndLongPressTheKeyNumber)
{
    keys->registerFunction(KeyCtl::F1, KeyCtl::FUNC_ZEBRA);
    keys->registerFunction(KeyCtl::F2, KeyCtl::FUNC_SWAP_AB);
    // There is no fourth key, nor one below F1: F3 keeps no function and its
    // click emits nothing, and nothing next to the table is overwritten.
    for (int type : {3, -1, -2, -3})
        keys->registerFunction(static_cast<KeyCtl::KeyType>(type), KeyCtl::FUNC_MONO);
    click(Key::F3);
    click(Key::F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return emitted.size() >= 1; }, 10000));
    click(Key::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return emitted.size() >= 3; }, 10000));
    settle();
    EXPECT_EQ(emitted, (std::vector<std::string>{"clicked(9)", "swapMainAndAssistSrc()", "clicked(22)"}));

    // A long press emits the key number whatever its function.
    board().interrupts().press(Key::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return emitted.size() > 3; }, 15000));
    board().interrupts().release(Key::F2);
    settle();
    EXPECT_EQ(emitted.back(), "longClicked(2)");
    EXPECT_EQ(emitted.size(), 4u);
    // The controller still reaches its registers.
    keys->closeKeyF3Interrupts();
    keys->stopPressKeyF3();
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 14, 14), 1u);
}

TEST_F(KeyCtlTest, F1AndF3HeldTogetherTellTheMcuAndNothingElse)
{
    ASSERT_TRUE(startLink());
    keys->registerFunction(KeyCtl::F1, KeyCtl::FUNC_ZEBRA);
    keys->registerFunction(KeyCtl::F3, KeyCtl::FUNC_MONO);
    board().interrupts().press(Key::F1);
    board().interrupts().press(Key::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return board().mcu().count(5) > 0; }, 15000));
    QTest::qWait(1500);
    board().interrupts().release(Key::F1);
    board().interrupts().release(Key::F3);
    settle();
    EXPECT_EQ(mcuValues(5), std::vector<std::vector<uint8_t>>{{1}});
    EXPECT_TRUE(emitted.empty());
}

TEST_F(KeyCtlTest, DisabledKeysIgnoreEverythingButTheTemperatureToggle)
{
    std::filesystem::copy(FIELDMON_SEED_DIR, workDir(), std::filesystem::copy_options::recursive);
    AppConfig::getInstance()->init("config.ini");
    MainWindow window;
    window.show();
    QLabel *temperature = window.findChild<QLabel *>("temperatureLabel");
    ASSERT_NE(temperature, nullptr);
    ASSERT_FALSE(temperature->isVisible());

    ASSERT_TRUE(startLink());
    keys->registerFunction(KeyCtl::F1, KeyCtl::FUNC_ZEBRA);
    keys->disableKey(true);
    click(Key::F1);
    board().interrupts().press(Key::F1);
    board().interrupts().press(Key::F3);
    QTest::qWait(3500);
    board().interrupts().release(Key::F1);
    board().interrupts().release(Key::F3);
    board().interrupts().press(Key::F2);
    board().interrupts().press(Key::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return temperature->isVisible(); }, 15000));
    board().interrupts().release(Key::F2);
    board().interrupts().release(Key::F3);

    // Only the combination toggles; a plain event for it changes nothing.
    window.interruptsHandleKeyF2F3(InterruptsCtl::KEY_CLICKED, 0);
    board().interrupts().press(Key::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return board().interrupts().isArmed(5); }, 10000));
    QTest::qWait(3500);
    board().interrupts().release(Key::F3);
    EXPECT_TRUE(temperature->isVisible());
    EXPECT_TRUE(emitted.empty());

    board().interrupts().press(Key::F2);
    board().interrupts().press(Key::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !temperature->isVisible(); }, 15000));
    board().interrupts().release(Key::F2);
    board().interrupts().release(Key::F3);
    settle();
    EXPECT_TRUE(emitted.empty());
    EXPECT_EQ(board().mcu().count(5), 0u);
}

TEST_F(KeyCtlTest, KeyLinePulseSquareWaveUntilStopped)
{
    constexpr uint32_t lineEnables = 0x00111111u;
    board().pl().set(FPGA_INIT_CTL, board().pl().get(FPGA_INIT_CTL) | lineEnables);
    keys->closeKeyF3Interrupts();
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 12, 12), 0u);
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 14, 14), 1u);

    int rises = 0;
    uint32_t previous = board().pl().field(FPGA_INIT_CTL, 15, 15);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const uint32_t level = board().pl().field(FPGA_INIT_CTL, 15, 15);
            if (level == 1 && previous == 0)
                ++rises;
            previous = level;
            return rises >= 2;
        },
        10000));
    // The other lines keep their enables.
    EXPECT_EQ(board().pl().get(FPGA_INIT_CTL) & lineEnables, lineEnables & ~(1u << 12));

    keys->stopPressKeyF3();
    QTest::qWait(500);
    const uint32_t stopped = board().pl().field(FPGA_INIT_CTL, 15, 15);
    for (int i = 0; i < 12; ++i) {
        QTest::qWait(50);
        EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 15, 15), stopped);
    }
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 14, 14), 1u);
}
