#include "FocusWidget.h"
#include "KeyCtl.h"
#include "PageTest.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <array>
#include <memory>

namespace {

class FocusWidgetTest : public OnePageTest<FocusWidget>
{
protected:
    std::array<uint32_t, 3> colour()
    {
        return {field(FOCUS_ASSIST_CTL, 29, 20), field(FOCUS_ASSIST_CTL, 19, 10), field(FOCUS_ASSIST_CTL, 9, 0)};
    }
    bool peaking() { return field(SHARP_CONV_CTL, 0, 0) == 1u && field(SHARP_CONV_CTL, 2, 2) == 1u; }
    uint32_t threshold() { return field(SHARP_CONV_CTL, 13, 4); }
};

using Colour = std::array<uint32_t, 3>;

} // namespace

TEST_F(FocusWidgetTest, StoredSettingsReachTheLogicAtStart)
{
    build("[AppConfig]\nphotoFocusEnable=true\nphotoFocusColor=3\nphotoFocusValue=100\n");
    EXPECT_EQ(colour(), (Colour{96, 0, 1020}));
    EXPECT_TRUE(peaking());
    EXPECT_EQ(threshold(), 8u) << "100 % is the most sensitive";
    EXPECT_TRUE(button("focusEnable")->isChecked());
    EXPECT_TRUE(button("focusColor3")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "focusValue")->text(), "100%");

    // Defaults: off, red, 30 %; the threshold waits for peaking to go on.
    rebuild();
    EXPECT_EQ(colour(), (Colour{1020, 0, 0}));
    EXPECT_EQ(field(SHARP_CONV_CTL, 0, 0), 0u);
    click(button("focusEnable"));
    EXPECT_TRUE(peaking());
    EXPECT_EQ(threshold(), 218u);
    click(button("focusColor3"));

    // Bad stored values show and push valid ones.
    rebuild("[AppConfig]\nphotoFocusEnable=true\nphotoFocusColor=99\nphotoFocusValue=-5\n");
    EXPECT_EQ(colour(), (Colour{1020, 0, 0}));
    EXPECT_TRUE(button("focusColor1")->isChecked());
    EXPECT_EQ(threshold(), 308u);
    EXPECT_EQ(child<QSlider>(*page, "focusSlider")->value(), 0);

    rebuild("[AppConfig]\nphotoFocusEnable=true\nphotoFocusColor=0\nphotoFocusValue=1000\n");
    EXPECT_EQ(colour(), (Colour{1020, 0, 0})) << "0 would paint black peaking";
    EXPECT_EQ(threshold(), 8u);
}

TEST_F(FocusWidgetTest, ColourButtonsGiveThePeakingColoursTheKeyTogglesItAndAllIsSavedOnHide)
{
    build();
    const std::array<Colour, 7> expected = {Colour{1020, 0, 0},   Colour{176, 1020, 0},  Colour{96, 0, 1020},
                                            Colour{1020, 1020, 0}, Colour{0, 1020, 1020}, Colour{968, 0, 1020},
                                            Colour{1020, 1020, 1020}};
    for (int i = 1; i <= 7; ++i) {
        click(button(qPrintable(QString("focusColor%1").arg(i))));
        EXPECT_EQ(colour(), expected[i - 1]) << "colour " << i;
    }
    EXPECT_EQ(savedValue("photoFocusColor"), "1");
    expectSavedOnHide(*page, {{"photoFocusColor", "7"}});

    // The front key toggles peaking as the switch does.
    page->show();
    pressKey(KeyCtl::F1, KeyCtl::FUNC_FOCUS_PEAKING);
    ASSERT_TRUE(QTest::qWaitFor([&] { return peaking(); }, 5000));
    EXPECT_TRUE(button("focusEnable")->isChecked());
    pressKey(KeyCtl::F2, KeyCtl::FUNC_ZEBRA);
    QTest::qWait(50);
    EXPECT_TRUE(peaking()) << "another function leaves peaking alone";
    expectSavedOnHide(*page, {{"photoFocusEnable", "true"}});

    page->show();
    click(button("focusEnable"));
    EXPECT_EQ(field(SHARP_CONV_CTL, 0, 0), 0u);
    expectSavedOnHide(*page, {{"photoFocusEnable", "false"}});
}

TEST_F(FocusWidgetTest, SensitivityBecomesTheThreshold)
{
    build("[AppConfig]\nphotoFocusEnable=true\n");
    QSlider *slider = child<QSlider>(*page, "focusSlider");
    const std::pair<int, uint32_t> cases[] = {{0, 308}, {1, 305}, {55, 143}, {99, 11}, {100, 8}};
    for (const auto &[percent, level] : cases) {
        slide(slider, percent);
        EXPECT_EQ(threshold(), level) << percent << " %";
    }
    EXPECT_EQ(child<QLabel>(*page, "focusValue")->text(), "100%");
    expectSavedOnHide(*page, {{"photoFocusValue", "100"}});

    // Set while peaking is off, it takes effect when peaking goes on.
    page->show();
    click(button("focusEnable"));
    EXPECT_EQ(field(SHARP_CONV_CTL, 0, 0), 0u);
    slide(slider, 0);
    click(button("focusEnable"));
    EXPECT_EQ(threshold(), 308u);
}
