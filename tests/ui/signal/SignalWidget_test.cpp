#include "AssistInputWidget.h"
#include "MainInputWidget.h"
#include "SignalPageTest.h"
#include "SignalWidget.h"
#include "WirelessChannelWidget.h"
#include "WirelessPasswordWidget.h"

#include <QLabel>
#include <algorithm>

namespace {

using SignalWidgetTest = SignalPageTest<SignalWidget>;

} // namespace

TEST_F(SignalWidgetTest, TabsSwitchBetweenTheFourPages)
{
    build(std::string(), false);
    EXPECT_EQ(page->size(), QSize(1920, 420));
    EXPECT_EQ(child<QLabel>(*page, "signalTitle")->text(), "信号源管理");
    const struct {
        const char *tab;
        const char *text;
        QWidget *page;
    } tabs[] = {
        {"signalMainTab", "主画面信道", page->mainInput()},
        {"signalAssistTab", "从画面信道", page->assistInput()},
        {"signalWirelessTab", "无线信道", page->wirelessChannel()},
        {"signalPasswordTab", "无线密码", page->wirelessPassword()},
    };
    EXPECT_TRUE(page->mainInput()->isVisible());
    for (const auto &tab : tabs) {
        QPushButton *tabButton = button(tab.tab);
        EXPECT_EQ(tabButton->text(), tab.text);
        EXPECT_GE(tabButton->height(), 60);
        click(tabButton);
        EXPECT_TRUE(tabButton->isChecked());
        EXPECT_TRUE(tab.page->isVisible()) << tab.tab;
        EXPECT_EQ(QRect(tab.page->mapTo(page.get(), QPoint(0, 0)), tab.page->size()), QRect(0, 80, 1920, 340));
        for (const auto &other : tabs) {
            if (other.page != tab.page) {
                EXPECT_FALSE(other.page->isVisible());
            }
        }
    }
}

TEST_F(SignalWidgetTest, ThePagesSignalsReachTheMainWindowUnderTheirNames)
{
    build();
    std::vector<std::string> events;
    QObject::connect(page.get(), &SignalWidget::signalMainInput,
                     [&](const std::string &name) { events.push_back("main " + name); });
    QObject::connect(page.get(), &SignalWidget::signalAssistInput,
                     [&](const std::string &name) { events.push_back("assist " + name); });
    QObject::connect(page.get(), &SignalWidget::signalAntennaExternal, [&] { events.push_back("antenna"); });
    QObject::connect(page.get(), &SignalWidget::signalChannel,
                     [&](int channel) { events.push_back("channel " + std::to_string(channel)); });
    QObject::connect(page.get(), &SignalWidget::signalScanPercent, page.get(),
                     [&](int percent) { events.push_back("percent " + std::to_string(percent)); });
    QObject::connect(page.get(), &SignalWidget::signalScanMsgHide, page.get(), [&] { events.push_back("hide"); });

    click(button("mainInputHDMI"));
    click(button("signalAssistTab"));
    click(button("assistInputSDI"));
    click(button("signalWirelessTab"));
    click(button("wirelessAntennaExternal"));
    board().mcu().send(0x01, {9});
    ASSERT_TRUE(waitUntil([&] { return !events.empty() && events.back() == "channel 9"; }));

    // A scan cut short by leaving its tab takes its progress message away.
    click(button("wirelessScan"));
    ASSERT_TRUE(waitUntil([&] { return events.back() == "percent 1"; }));
    click(button("signalPasswordTab"));
    ASSERT_TRUE(waitUntil([&] { return events.back() == "hide"; }));
    settle(300);
    ASSERT_GE(events.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 6),
              (std::vector<std::string>{"main HDMI", "assist SDI", "antenna", "channel 9", "percent 0", "percent 1"}));
    // Whatever progress was on its way arrived before the message went.
    EXPECT_EQ(events.back(), "hide");
    EXPECT_EQ(std::count(events.begin(), events.end(), "hide"), 1);
}

TEST_F(SignalWidgetTest, TheTitleRowShowsWhereTheAssistPictureGoes)
{
    build("[AppConfig]\ninputPicInPic=leftHalf\n", false);
    QLabel *hint = child<QLabel>(*page, "signalPipHint");
    EXPECT_EQ(hint->text(), "画面位置: 左半屏");
    click(button("signalAssistTab"));
    click(button("assistLayoutRightBottom"));
    EXPECT_EQ(hint->text(), "画面位置: 右下");

    AppConfig::getInstance()->setValue("inputPicInPic", std::string("elsewhere"));
    page->configUpdate();
    EXPECT_EQ(hint->text(), "画面位置: 右上");
    EXPECT_TRUE(button("assistLayoutRightTop")->isChecked());
}
