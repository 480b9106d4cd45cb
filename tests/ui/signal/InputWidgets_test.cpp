#include "AssistInputWidget.h"
#include "BitWatch.h"
#include "KeyCtl.h"
#include "MainInputWidget.h"
#include "SignalPageTest.h"
#include "VideoOption.h"

#include <QFrame>
#include <QVBoxLayout>

namespace {

// Both input pages, as the signal menu holds them.
class InputPages : public QFrame
{
public:
    InputPages() : main(new MainInputWidget), assist(new AssistInputWidget)
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(main);
        layout->addWidget(assist);
        resize(1920, 680);
    }
    MainInputWidget *main;
    AssistInputWidget *assist;
};

class InputWidgetsTest : public SignalPageTest<InputPages>
{
protected:
    void record()
    {
        QObject::connect(page->main, &MainInputWidget::signalMainInput,
                         [this](const std::string &name) { events.push_back("main " + name); });
        QObject::connect(page->main, &MainInputWidget::signalAssistInput,
                         [this](const std::string &name) { events.push_back("assist " + name); });
        QObject::connect(page->assist, &AssistInputWidget::signalAssistInput,
                         [this](const std::string &name) { events.push_back("assist " + name); });
    }

    // Whether the MCU is told that the wireless input is shown.
    int whdiAnswer()
    {
        const size_t before = board().mcu().WHDIAnswers().size();
        board().mcu().askWHDIUsed();
        if (!waitUntil([&] { return board().mcu().WHDIAnswers().size() > before; }))
            return -1;
        return board().mcu().WHDIAnswers().back();
    }

    uint32_t pipEnabled() { return field(ASSIST_RESIZE_CTL, 0, 0); }
    uint32_t halfScreen() { return field(ASSIST_RESIZE_CTL, 4, 4); }
    uint32_t pipX() { return field(ASSIST_RESIZE_CTL, 19, 8); }
    uint32_t pipY() { return field(ASSIST_RESIZE_CTL, 31, 20); }

    std::vector<std::string> events;
};

} // namespace

TEST_F(InputWidgetsTest, PickingAnInputTellsTheMainWindowTheMcuAndTheSettings)
{
    build("[AppConfig]\ninputMain=SDI\ninputAssist=HDMI\n");
    record();
    EXPECT_TRUE(button("mainInputSDI")->isChecked());
    EXPECT_TRUE(button("assistInputHDMI")->isChecked());
    EXPECT_EQ(whdiAnswer(), 0);

    click(button("mainInputWHDI"));
    click(button("mainInputWHDI"));
    click(button("assistInputSDI"));
    EXPECT_EQ(events, (std::vector<std::string>{"main WHDI", "assist SDI"}));
    EXPECT_EQ(whdiAnswer(), 1);
    expectSavedOnHide(*page, {{"inputMain", "WHDI"}, {"inputAssist", "SDI"}});

    page->show();
    click(button("mainInputHDMI"));
    EXPECT_EQ(whdiAnswer(), 0);

    // The reset button pulses the main channel's reset.
    QPushButton *reset = button("mainInputReset");
    EXPECT_TRUE(watchEdge(board().pl(), MAIN_CH_CTL, 8, true, [] {}, [&] { click(reset); }, [](uint32_t) {}));
    EXPECT_EQ(field(MAIN_CH_CTL, 8, 8), 0u);
}

TEST_F(InputWidgetsTest, TheSwapKeyExchangesTheInputsOnceAndBothPagesShowIt)
{
    build("[AppConfig]\ninputMain=SDI\ninputAssist=HDMI\n");
    record();
    pressKey(KeyCtl::F2, KeyCtl::FUNC_SWAP_AB);
    ASSERT_TRUE(waitUntil(
        [&] { return button("assistInputSDI")->isChecked() && button("mainInputHDMI")->isChecked(); }));
    EXPECT_EQ(events, (std::vector<std::string>{"main HDMI", "assist SDI"}));
    expectSavedOnHide(*page, {{"inputMain", "HDMI"}, {"inputAssist", "SDI"}});

    // Swapping back with the wireless input on one side.
    page->show();
    click(button("assistInputWHDI"));
    events.clear();
    clickKey(KeyCtl::F2);
    // The two pages hear of the key through two signals, which may arrive
    // in separate turns of the event loop.
    ASSERT_TRUE(waitUntil(
        [&] { return button("mainInputWHDI")->isChecked() && button("assistInputHDMI")->isChecked(); }));
    EXPECT_EQ(events, (std::vector<std::string>{"main WHDI", "assist HDMI"}));
    EXPECT_EQ(whdiAnswer(), 1);
}

TEST_F(InputWidgetsTest, LayoutAndSwitchReachTheAssistWindowRegisters)
{
    build("[AppConfig]\ninputPicInPic=leftBottom\n");
    // At start the layout is placed but picture-in-picture stays off.
    EXPECT_TRUE(button("assistLayoutLeftBottom")->isChecked());
    EXPECT_EQ(pipX(), 0u);
    EXPECT_EQ(pipY(), 1080u);
    EXPECT_EQ(pipEnabled(), 0u);

    click(button("assistLayoutLeftHalf"));
    click(button("assistPicEnable"));
    EXPECT_EQ(pipEnabled(), 1u);
    EXPECT_EQ(halfScreen(), 1u);
    EXPECT_EQ(pipX(), 1280u);
    EXPECT_EQ(pipY(), 360u);
    click(button("assistLayoutRightBottom"));
    EXPECT_EQ(halfScreen(), 0u);
    EXPECT_EQ(pipX(), 1920u);
    EXPECT_EQ(pipY(), 1080u);
    EXPECT_EQ(pipEnabled(), 1u);
    expectSavedOnHide(*page, {{"inputPicInPic", "rightBottom"}, {"inputPicEnable", "true"}});

    // The picture-in-picture key toggles it as the switch does.
    page->show();
    pressKey(KeyCtl::F3, KeyCtl::FUNC_PIP);
    ASSERT_TRUE(waitUntil([&] { return pipEnabled() == 0u; }));
    EXPECT_FALSE(button("assistPicEnable")->isChecked());
    expectSavedOnHide(*page, {{"inputPicEnable", "false"}});

    // Unknown settings show their fallbacks and reach nothing invalid.
    rebuild("[AppConfig]\ninputMain=DVI\ninputAssist=\ninputPicInPic=middle\ninputPicEnable=2\n");
    EXPECT_TRUE(button("mainInputWHDI")->isChecked());
    EXPECT_TRUE(button("assistInputWHDI")->isChecked());
    EXPECT_TRUE(button("assistLayoutRightTop")->isChecked());
    EXPECT_FALSE(button("assistPicEnable")->isChecked());
    EXPECT_EQ(pipX(), 1920u);
    EXPECT_EQ(pipY(), 0u);
    std::string main;
    AppConfig::getInstance()->findValue("inputMain", main);
    EXPECT_EQ(main, "WHDI");
    EXPECT_EQ(whdiAnswer(), 1);
}

TEST_F(InputWidgetsTest, ACompetingModeSwitchingPictureInPictureOffIsFollowed)
{
    build("[AppConfig]\ninputPicInPic=rightHalf\ninputPicEnable=true\n");
    EXPECT_TRUE(button("assistPicEnable")->isChecked());
    VideoOption::getInstance()->enableZoomMode(true, true);
    EXPECT_FALSE(button("assistPicEnable")->isChecked());
    EXPECT_EQ(pipEnabled(), 0u);
    expectSavedOnHide(*page, {{"inputPicEnable", "false"}});
}
