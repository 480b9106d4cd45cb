#include "KeyCtl.h"
#include "PageTest.h"
#include "SystemMenuWidget.h"
#include "Wait.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <memory>

namespace {

using Page = SystemMenuWidget::Page;

class SystemMenuWidgetTest : public PageTest
{
protected:
    void build(const std::string &settings = std::string())
    {
        startStore(settings);
        menu = std::make_unique<SystemMenuWidget>();
        QObject::connect(menu.get(), &SystemMenuWidget::signalBack, menu.get(), [this] { ++backs; });
        QObject::connect(menu.get(), &SystemMenuWidget::signalShowSystemWidget, menu.get(), [this] { ++shows; });
        QObject::connect(menu.get(), &SystemMenuWidget::signalReset, menu.get(), [this] { ++resets; });
        QObject::connect(menu.get(), &SystemMenuWidget::signalSetTimeOk, menu.get(), [this] { ++timeOks; });
        QObject::connect(menu.get(), &SystemMenuWidget::signalPreConfig, menu.get(),
                         [this](int type) { preConfigs.push_back(type); });
        QObject::connect(menu.get(), &SystemMenuWidget::signalScreenOff, menu.get(),
                         [this](bool off) { screenOffs.push_back(off); });
        showPage(*menu);
    }

    QPushButton *button(const char *name) { return child<QPushButton>(*menu, name); }
    void side(const char *name) { click(button(name)); }
    void back() { click(button("systemMenuBack")); }
    int page() const { return menu->currentPage(); }
    bool checked(const char *name) { return button(name)->isChecked(); }

    std::unique_ptr<SystemMenuWidget> menu;
    int backs = 0;
    int shows = 0;
    int resets = 0;
    int timeOks = 0;
    std::vector<int> preConfigs;
    std::vector<bool> screenOffs;
};

} // namespace

TEST_F(SystemMenuWidgetTest, PagesAreStackedInMenuOrder)
{
    build();
    const QStackedWidget *stack = child<QStackedWidget>(*menu, "systemMenuStack");
    std::vector<std::string> classes;
    for (int i = 0; i < stack->count(); ++i)
        classes.push_back(stack->widget(i)->metaObject()->className());
    EXPECT_EQ(classes, (std::vector<std::string>{"VideoFormatWidget", "DisplayWidget", "FunctionMenuWidget",
                                                 "FunctionWidget", "ControlWidget", "SystemInfoMainWidget",
                                                 "SystemInfoAbout", "SystemUpgrade", "SDIFormat",
                                                 "TimeSettingWidget", "ColorCalibrateFile"}));
    EXPECT_EQ(page(), Page::VideoFormatPage);
    EXPECT_TRUE(checked("systemMenuVideoFormat"));
    EXPECT_FALSE(button("systemMenuBack")->isCheckable());
    // HDR holds the backlight slider.
    QSlider *slider = child<QSlider>(*menu, "displayBacklightSlider");
    menu->slotHDREnable(true);
    EXPECT_FALSE(slider->isEnabled());
    menu->slotHDREnable(false);
    EXPECT_TRUE(slider->isEnabled());
}

TEST_F(SystemMenuWidgetTest, VideoFormatAndFunctionSubPagesKeepTheirSideButtonAndGoBackOneStep)
{
    build();
    click(button("videoFormatButton"));
    EXPECT_EQ(page(), Page::SDIFormatPage);
    side("systemMenuVideoFormat");
    EXPECT_EQ(page(), Page::SDIFormatPage);
    click(button("sdiFormat3GB42210"));
    back();
    EXPECT_EQ(page(), Page::VideoFormatPage);
    EXPECT_EQ(button("videoFormatButton")->text(), "3GB-422-10");
    back();
    EXPECT_EQ(backs, 1);

    side("systemMenuFunction");
    EXPECT_EQ(page(), Page::FunctionMenuPage);
    click(button("functionMenuF2"));
    EXPECT_EQ(page(), Page::FunctionPage);
    EXPECT_EQ(child<QLabel>(*menu, "functionTitle")->text(), "F2自定义");
    click(button("functionCode9"));
    side("systemMenuFunction");
    EXPECT_EQ(page(), Page::FunctionPage);
    back();
    EXPECT_EQ(page(), Page::FunctionMenuPage);
    EXPECT_EQ(child<QLabel>(*menu, "functionMenuF2Name")->text(), "斑马纹");

    side("systemMenuDisplay");
    EXPECT_EQ(page(), Page::DisplayPage);
    side("systemMenuControl");
    EXPECT_EQ(page(), Page::ControlPage);
    EXPECT_TRUE(checked("systemMenuControl"));
    EXPECT_FALSE(checked("systemMenuFunction"));
    back();
    EXPECT_EQ(backs, 2);
}

TEST_F(SystemMenuWidgetTest, SystemSubPagesReturnToTheSystemPageAndConfirmationsReachTheWindow)
{
    build();
    side("systemMenuSystem");
    EXPECT_EQ(page(), Page::SystemInfoPage);

    // Upgrade and time setting hold the system button; back returns.
    click(button("systemUpgrade"));
    EXPECT_EQ(page(), Page::UpgradePage);
    side("systemMenuSystem");
    EXPECT_EQ(page(), Page::UpgradePage);
    back();
    EXPECT_EQ(page(), Page::SystemInfoPage);
    click(button("systemTimeSetting"));
    EXPECT_EQ(page(), Page::TimeSettingPage);
    side("systemMenuSystem");
    EXPECT_EQ(page(), Page::TimeSettingPage);
    click(button("timeSettingCancel"));
    EXPECT_EQ(page(), Page::SystemInfoPage);
    click(button("systemTimeSetting"));
    click(button("timeSettingOk"));
    EXPECT_EQ(page(), Page::SystemInfoPage);
    EXPECT_EQ(timeOks, 1);

    // About and the calibration files give way to the system button.
    click(button("systemAbout"));
    EXPECT_EQ(page(), Page::AboutPage);
    side("systemMenuSystem");
    EXPECT_EQ(page(), Page::SystemInfoPage);
    click(button("systemAbout"));
    back();
    EXPECT_EQ(page(), Page::SystemInfoPage);
    click(button("systemCalibrateErase"));
    EXPECT_EQ(page(), Page::CalibrateFilePage);
    EXPECT_TRUE(button("calibrateFileAction")->isVisible());
    click(button("calibrateFileBack"));
    EXPECT_EQ(page(), Page::SystemInfoPage);
    click(button("systemCalibrateSelect"));
    EXPECT_FALSE(button("calibrateFileAction")->isVisible());
    side("systemMenuSystem");
    EXPECT_EQ(page(), Page::SystemInfoPage);
    EXPECT_TRUE(checked("systemMenuSystem"));
    back();
    EXPECT_EQ(backs, 1);

    // Confirmations and the screen going off reach the window; the buttons come back.
    side("systemMenuSystem");
    click(button("systemFavouriteLoad"));
    EXPECT_EQ(preConfigs, std::vector<int>{1});
    EXPECT_FALSE(button("systemFavouriteSave")->isEnabled());
    menu->preConfigUse();
    EXPECT_TRUE(button("systemFavouriteSave")->isEnabled());

    click(button("systemReset"));
    click(button("systemAbout"));
    click(button("aboutReset"));
    EXPECT_EQ(resets, 2);
    EXPECT_FALSE(button("aboutReset")->isEnabled());
    menu->resetButtonUse();
    EXPECT_TRUE(button("aboutReset")->isEnabled());
    EXPECT_TRUE(button("systemReset")->isEnabled());

    pressKey(KeyCtl::F3, KeyCtl::FUNC_WIRELESS_MODE);
    ASSERT_TRUE(waitUntil([&] { return !screenOffs.empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(screenOffs, std::vector<bool>{true});
}

TEST_F(SystemMenuWidgetTest, LongPressOfAFrontKeyOpensItsFunctionList)
{
    build();
    side("systemMenuControl");
    ASSERT_TRUE(QTest::qWaitFor([&] { return board().interrupts().isArmed(4); }, 10000));
    board().interrupts().hold({sim::InterruptModel::F2}, std::chrono::milliseconds(3500));
    ASSERT_TRUE(waitUntil([&] { return shows == 1; }, std::chrono::seconds(5)));
    EXPECT_EQ(page(), Page::FunctionPage);
    EXPECT_EQ(child<QLabel>(*menu, "functionTitle")->text(), "F2自定义");
    EXPECT_TRUE(checked("systemMenuFunction"));
    click(button("functionCode9"));
    expectSavedOnHide(*menu, {{"functionF2", "9"}, {"functionF1", "0"}});
    // A key number out of range changes nothing.
    menu->slotKeyFunction(0);
    menu->slotKeyFunction(4);
    EXPECT_EQ(shows, 1);
}

