#include "AppConfig.h"
#include "LinkTest.h"
#include "MainWindow.h"
#include "McuUpdateWidget.h"

#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <filesystem>
#include <memory>

namespace {

class McuUpdateWidgetTest : public LinkTest
{
protected:
    void startWindow()
    {
        std::filesystem::copy(FIELDMON_SEED_DIR, workDir(), std::filesystem::copy_options::recursive);
        AppConfig::getInstance()->init("config.ini");
        window = std::make_unique<MainWindow>();
        window->show();
    }

    template <class T>
    T *child(const char *name)
    {
        return window->findChild<T *>(name);
    }

    // The window's threads use the board's devices: it goes before the board.
    void TearDown() override
    {
        window.reset();
        LinkTest::TearDown();
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(McuUpdateWidgetTest, TheMcusRequestRunsTheUpdateToTheRestart)
{
    installFirmware(3000);
    startWindow();
    auto *stack = child<QStackedWidget>("McustackedWidget");
    ASSERT_NE(stack, nullptr);
    EXPECT_FALSE(stack->isVisible());
    ASSERT_NE(stack->currentWidget(), nullptr);
    EXPECT_EQ(stack->indexOf(stack->currentWidget()), 0);
    EXPECT_EQ(stack->currentWidget()->objectName(), "McuUpdateWidget");
    EXPECT_EQ(child<QLabel>("mcuUpdateLabel")->text(), QString::fromUtf8("正在升级MCU固件，请勿关机和断开电源!"));

    ASSERT_TRUE(startLink());
    board().pl().setField(OSD_CTL, 4, 4, 1);
    mcu().requestUpdate();
    ASSERT_TRUE(waitUntil([&] { return stack->isVisible(); }));
    EXPECT_EQ(board().pl().field(OSD_CTL, 4, 4), 0u) << "the picture is switched off";

    auto *bar = child<QProgressBar>("mcuUpdateProgressBar");
    ASSERT_TRUE(waitUntil([&] { return bar->value() == 100; }, std::chrono::seconds(20)));
    EXPECT_TRUE(mcu().bootLoader().matches);
    EXPECT_EQ(mcu().count(0x0C), 0u) << "the MCU already waited in its boot loader";
    EXPECT_EQ(board().system().restartCount(), 0) << "the MCU gets its time first";
    EXPECT_TRUE(waitUntil([&] { return board().system().restartCount() == 1; }, std::chrono::seconds(20)));
}

TEST_F(McuUpdateWidgetTest, AFailureIsShownAndTheBarFollowsTheProgress)
{
    McuUpdateWidget page;
    auto *label = page.findChild<QLabel *>("mcuUpdateLabel");
    auto *bar = page.findChild<QProgressBar *>("mcuUpdateProgressBar");
    McuUpdateWidget::mcuUpgradePercent(40);
    EXPECT_TRUE(waitUntil([&] { return bar->value() == 40; }));
    McuUpdateWidget::mcuUpgradePercent(-2);
    EXPECT_TRUE(waitUntil([&] { return label->text() == QString::fromUtf8("升级失败"); }));
    EXPECT_EQ(bar->value(), 40);
    EXPECT_EQ(board().system().restartCount(), 0);
}

} // namespace
