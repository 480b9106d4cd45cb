#include "KeyCtl.h"
#include "MarkWidget.h"
#include "PageTest.h"
#include "StringSignals.h"

#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

namespace {

class MarkWidgetTest : public OnePageTest<MarkWidget>
{
protected:
    void build(const std::string &settings = std::string())
    {
        registerStringSignals();
        OnePageTest::build(settings);
        // What reaches the overlay, in order.
        connect(&MarkWidget::signalMarkRate, [this](const std::string &ratio, bool on) {
            overlay.push_back("rate " + ratio + (on ? " on" : " off"));
        });
        connect(&MarkWidget::signalMarkUserRate, [this](float width, float height) {
            overlay.push_back("user " + QString::number(width).toStdString() + " " +
                              QString::number(height).toStdString());
        });
    }

    template <typename Signal, typename Slot>
    void connect(Signal signal, Slot slot)
    {
        QObject::connect(page.get(), signal, page.get(), slot);
    }

    // Taps the pad's keys for a text ('<' backspace, 'C' clear, '=' enter).
    void type(const char *keys)
    {
        for (const char *k = keys; *k != '\0'; ++k) {
            switch (*k) {
            case '<': click(button("markKeyBackspace")); break;
            case 'C': click(button("markKeyClean")); break;
            case '=': click(button("markKeyEnter")); break;
            case '.': click(button("markKeyDot")); break;
            default: click(button(qPrintable(QString("markKey%1").arg(*k)))); break;
            }
        }
    }
    QString widthEntry() { return button("markRatioWidth")->text(); }
    QString heightEntry() { return button("markRatioHeight")->text(); }

    std::vector<std::string> overlay;
};

} // namespace

TEST_F(MarkWidgetTest, ShowsTheStoredChoicesAndFallsBackOnBadOnes)
{
    build("[AppConfig]\nphotoMarkEnable=true\nphotoMarkColor=4\nphotoMarkLine=small\nphotoMarkRate43=true\n"
          "photoMarkRate2401=true\nphotoMarkRateCustomEn=true\nphotoMarkRatioWidth=2.39\nphotoMarkRatioHeight=1\n");
    EXPECT_TRUE(button("markEnable")->isChecked());
    EXPECT_TRUE(button("markColor4")->isChecked());
    EXPECT_TRUE(button("markLineSmall")->isChecked());
    for (const char *name : {"markRate11", "markRate53", "markRate169", "markRate2351", "markRate916"})
        EXPECT_FALSE(button(name)->isChecked()) << name;
    for (const char *name : {"markRate43", "markRate2401", "markRateCustom"})
        EXPECT_TRUE(button(name)->isChecked()) << name;
    EXPECT_EQ(widthEntry(), "2.39");
    EXPECT_EQ(heightEntry(), "1");
    EXPECT_TRUE(button("markRatioWidth")->isChecked()) << "the width is edited first";

    rebuild("[AppConfig]\nphotoMarkColor=12\nphotoMarkLine=thick\nphotoMarkRatioWidth=123456\n"
            "photoMarkRatioHeight=9;rm\n");
    EXPECT_TRUE(button("markColor1")->isChecked());
    EXPECT_TRUE(button("markLineMiddle")->isChecked());
    EXPECT_EQ(widthEntry(), "16");
    EXPECT_EQ(heightEntry(), "9");
}

TEST_F(MarkWidgetTest, ColourAndLineButtonsTellTheOverlayAndAreSavedOnHide)
{
    build();
    QSignalSpy colour(page.get(), &MarkWidget::signalMarkColor);
    QSignalSpy line(page.get(), &MarkWidget::signalMarkLine);
    for (int i = 1; i <= 7; ++i)
        click(button(qPrintable(QString("markColor%1").arg(i))));
    click(button("markColor3"));
    ASSERT_EQ(colour.count(), 8);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(argument<int>(colour, i, 0), i + 1);
    click(button("markLineLarge"));
    click(button("markLineSmall"));
    click(button("markLineMiddle"));
    ASSERT_EQ(line.count(), 3);
    EXPECT_EQ(argument<std::string>(line, 0, 0), "large");
    EXPECT_EQ(argument<std::string>(line, 1, 0), "small");
    EXPECT_EQ(argument<std::string>(line, 2, 0), "middle");
    click(button("markLineSmall"));
    EXPECT_EQ(savedValue("photoMarkColor"), "1");
    expectSavedOnHide(*page, {{"photoMarkColor", "3"}, {"photoMarkLine", "small"}});
}

TEST_F(MarkWidgetTest, RatioButtonsToggleTheirFlagAndRememberTheLastRatioTouched)
{
    build("[AppConfig]\nphotoMarkRate169=true\n");
    click(button("markRate43"));
    click(button("markRate169"));
    click(button("markRate2351"));
    click(button("markRate43"));
    EXPECT_EQ(overlay,
              (std::vector<std::string>{"rate 4:3 on", "rate 16:9 off", "rate 2.35:1 on", "rate 4:3 off"}));
    expectSavedOnHide(*page, {{"photoMarkRate43", "false"}, {"photoMarkRate169", "false"},
                              {"photoMarkRate2351", "true"}, {"photoMarkRate", "4:3"}});

    page->show();
    overlay.clear();
    for (const char *name : {"markRate11", "markRate53", "markRate2401", "markRate916"})
        click(button(name));
    EXPECT_EQ(overlay, (std::vector<std::string>{"rate 1:1 on", "rate 5:3 on", "rate 2.40:1 on", "rate 9:16 on"}));
    expectSavedOnHide(*page, {{"photoMarkRate11", "true"}, {"photoMarkRate53", "true"}, {"photoMarkRate2401", "true"},
                              {"photoMarkRate916", "true"}, {"photoMarkRate", "9:16"}});
}

TEST_F(MarkWidgetTest, ThePadAppendsAtMostFiveCharactersToTheEditedEntry)
{
    build();
    EXPECT_EQ(widthEntry(), "16");
    type("2.345");
    EXPECT_EQ(widthEntry(), "162.3") << "a sixth character is refused";
    type("<<");
    EXPECT_EQ(widthEntry(), "162");
    type("<<<<");
    EXPECT_EQ(widthEntry(), "");
    type("7");
    EXPECT_EQ(widthEntry(), "7");

    click(button("markRatioHeight"));
    type("0");
    EXPECT_EQ(heightEntry(), "90");
    EXPECT_EQ(widthEntry(), "7");

    type("C");
    EXPECT_EQ(widthEntry(), "");
    EXPECT_EQ(heightEntry(), "");
    EXPECT_TRUE(button("markRatioWidth")->isChecked());
    type("3");
    EXPECT_EQ(widthEntry(), "3") << "after clearing the width is edited";
    EXPECT_TRUE(overlay.empty());
    page->hide();
    EXPECT_EQ(savedValue("photoMarkRatioWidth"), "16") << "keys alone store nothing";
}

TEST_F(MarkWidgetTest, EnterSelectsAnEmptyEntryAndOtherwiseStoresBoth)
{
    build();
    auto stored = [](const char *key) {
        std::string value;
        AppConfig::getInstance()->findValue(key, value);
        return value;
    };
    type("C");
    click(button("markRatioHeight"));
    type("=");
    EXPECT_TRUE(button("markRatioWidth")->isChecked()) << "an empty width is selected";
    type("21=");
    EXPECT_TRUE(button("markRatioHeight")->isChecked()) << "then an empty height";
    type("9");
    click(button("markRatioWidth"));
    type("<<");
    click(button("markRatioHeight"));
    type("=");
    EXPECT_TRUE(button("markRatioWidth")->isChecked()) << "an emptied width is selected again";
    EXPECT_EQ(stored("photoMarkRatioWidth"), "16") << "selecting stores nothing";
    EXPECT_EQ(stored("photoMarkRatioHeight"), "9");
    type("22=");
    EXPECT_EQ(stored("photoMarkRatioWidth"), "22");
    EXPECT_TRUE(overlay.empty()) << "custom lines are off: the overlay is not told";
    EXPECT_EQ(savedValue("photoMarkRatioWidth"), "16");
    expectSavedOnHide(*page, {{"photoMarkRatioWidth", "22"}, {"photoMarkRatioHeight", "9"}});
}

TEST_F(MarkWidgetTest, CustomLinesSwitchedOnCarryTheEnteredRatioAndWhileOnEnterRedrawsThem)
{
    build();
    type("C4=3=");
    type("C5");
    EXPECT_TRUE(overlay.empty());
    click(button("markRateCustom"));
    EXPECT_EQ(overlay, (std::vector<std::string>{"user 4 3", "rate custom on"})) << "not the unentered 5";
    click(button("markRateCustom"));
    EXPECT_EQ(overlay.back(), "rate custom off");
    expectSavedOnHide(*page, {{"photoMarkRateCustomEn", "false"}, {"photoMarkRate", "custom"}});

    page->show();
    click(button("markRateCustom"));
    overlay.clear();
    type("C2.35=1=");
    EXPECT_EQ(overlay, (std::vector<std::string>{"user 2.35 1", "rate custom on"}));
    // Texts that are no number count as 0.
    overlay.clear();
    type("C1.2.3=.=");
    EXPECT_EQ(overlay, (std::vector<std::string>{"user 0 0", "rate custom on"}));
    expectSavedOnHide(*page, {{"photoMarkRatioWidth", "1.2.3"}, {"photoMarkRatioHeight", "."}});
}

TEST_F(MarkWidgetTest, TheSwitchAndItsFrontKeyToggleFrameLines)
{
    build();
    QSignalSpy enable(page.get(), &MarkWidget::signalMarkEnable);
    click(button("markEnable"));
    ASSERT_EQ(enable.count(), 1);
    EXPECT_TRUE(argument<bool>(enable, 0, 0));
    expectSavedOnHide(*page, {{"photoMarkEnable", "true"}});

    page->show();
    pressKey(KeyCtl::F2, KeyCtl::FUNC_MARKER);
    ASSERT_TRUE(QTest::qWaitFor([&] { return enable.count() == 2; }, 5000));
    EXPECT_FALSE(argument<bool>(enable, 1, 0));
    EXPECT_FALSE(button("markEnable")->isChecked());
    pressKey(KeyCtl::F3, KeyCtl::FUNC_SAFE_FRAME);
    QTest::qWait(50);
    EXPECT_EQ(enable.count(), 2);
    expectSavedOnHide(*page, {{"photoMarkEnable", "false"}});
}
