#include "AppConfig.h"
#include "BoardTest.h"
#include "MainWindow.h"

#include <QLabel>
#include <QTest>
#include <filesystem>
#include <fstream>

namespace {

class MainWindowTest : public BoardTest
{
protected:
    // The working directory as a first start finds it: the seeded runtime
    // files (translations among them), plus an optional settings file.
    void start(const std::string &settings = std::string())
    {
        std::filesystem::copy(FIELDMON_SEED_DIR, workDir(), std::filesystem::copy_options::recursive);
        if (!settings.empty())
            std::ofstream(workFile("config.ini")) << settings;
        AppConfig::getInstance()->init("config.ini");
        window = std::make_unique<MainWindow>();
        window->show();
    }

    QString text(const char *name) const
    {
        QLabel *label = window->findChild<QLabel *>(name);
        return label != nullptr ? label->text() : QStringLiteral("<missing>");
    }

    bool visible(const char *name) const
    {
        QWidget *widget = window->findChild<QWidget *>(name);
        return widget != nullptr && widget->isVisible();
    }

    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(MainWindowTest, FirstStartShowsTheStoredInputAndChannelInChinese)
{
    start();
    EXPECT_EQ(window->size(), QSize(1920, 1080));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window->testAttribute(Qt::WA_AcceptTouchEvents));
    EXPECT_EQ(text("inputLabel"), "WIRELESS");
    EXPECT_EQ(text("signalLabel"), "CH.00");
    EXPECT_EQ(text("timeLabel"), "00:00:00:00");
    EXPECT_EQ(text("poweroffLabel"), QString::fromUtf8("温度过高，系统即将关机！"));
    for (const char *hidden : {"USBLabel", "USBIcon", "Battery0Label", "Battery0Value", "Battery1Label",
                               "Battery1Value", "DCLabel", "poweroffLabel", "McustackedWidget"})
        EXPECT_FALSE(visible(hidden)) << hidden;
    EXPECT_TRUE(visible("topFrame"));
    EXPECT_TRUE(visible("bottomFrame"));
}

TEST_F(MainWindowTest, StoredSettingsReachTheStatusBarAndEnglishIsTranslated)
{
    start("[AppConfig]\nlanguage=English\ninputMain=SDI\ninputChannel=7\n");
    EXPECT_EQ(text("inputLabel"), "SDI IN");
    EXPECT_EQ(text("signalLabel"), "CH.07");
    EXPECT_EQ(text("poweroffLabel"), "Temperature too high, the system is shutting down!");
}

TEST_F(MainWindowTest, UsbIndicatorFollowsTheStickWithinThePoll)
{
    start();
    ASSERT_TRUE(board().tree().insertUsb('d'));
    EXPECT_TRUE(QTest::qWaitFor([&] { return visible("USBLabel") && visible("USBIcon"); }, 5000));
    EXPECT_EQ(text("USBLabel"), "USB");
    ASSERT_TRUE(board().tree().removeUsb());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !visible("USBLabel") && !visible("USBIcon"); }, 5000));
}
