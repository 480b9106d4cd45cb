#include "KeyCtl.h"
#include "PageTest.h"
#include "ZebraWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <memory>

namespace {

class ZebraWidgetTest : public OnePageTest<ZebraWidget>
{
protected:
    uint32_t enabled() { return field(ZEBRA_LINE_CTL, 0, 0); }
    uint32_t low() { return field(ZEBRA_LINE_CTL, 13, 4); }
    uint32_t high() { return field(ZEBRA_LINE_CTL, 25, 16); }
    QString label(const char *name) { return child<QLabel>(*page, name)->text(); }
};

} // namespace

TEST_F(ZebraWidgetTest, StoredSettingsReachTheLogicAtStartAsValidVideoLevels)
{
    build("[AppConfig]\nphotoZebraEnable=true\nphotoZebraMinValue=0\nphotoZebraMaxValue=109\n");
    EXPECT_EQ(enabled(), 1u);
    EXPECT_EQ(low(), 64u);
    EXPECT_EQ(high(), 1023u);
    EXPECT_TRUE(child<QPushButton>(*page, "zebraEnable")->isChecked());
    EXPECT_EQ(label("zebraMinValue"), "0%");
    EXPECT_EQ(label("zebraMaxValue"), "109%");

    // Defaults: 85 % and 100 %, off.
    rebuild();
    EXPECT_EQ(enabled(), 0u);
    EXPECT_EQ(low(), 811u);
    EXPECT_EQ(high(), 943u);

    // Out-of-range or wrong-type values push valid levels.
    rebuild("[AppConfig]\nphotoZebraMinValue=-5\nphotoZebraMaxValue=1000\nphotoZebraEnable=maybe\n");
    EXPECT_EQ(low(), 64u);
    EXPECT_EQ(high(), 1023u);
    EXPECT_EQ(enabled(), 0u);
    EXPECT_EQ(child<QSlider>(*page, "zebraMinSlider")->value(), 0);
    EXPECT_EQ(child<QSlider>(*page, "zebraMaxSlider")->value(), 109);
}

TEST_F(ZebraWidgetTest, TheMaximumStaysAboveTheMinimumTheSwitchAndItsKeyToggleAndAllIsSavedOnHide)
{
    build("[AppConfig]\nphotoZebraMinValue=50\nphotoZebraMaxValue=100\n");
    slide(child<QSlider>(*page, "zebraMinSlider"), 100);
    EXPECT_EQ(label("zebraMinValue"), "100%");
    EXPECT_EQ(label("zebraMaxValue"), "101%");
    EXPECT_EQ(child<QSlider>(*page, "zebraMaxSlider")->value(), 101);
    EXPECT_EQ(low(), 943u);
    EXPECT_EQ(high(), 952u);
    EXPECT_EQ(savedValue("photoZebraMinValue"), "50"); // not saved before the page hides
    expectSavedOnHide(*page, {{"photoZebraMinValue", "100"}, {"photoZebraMaxValue", "101"}});

    page->show();
    slide(child<QSlider>(*page, "zebraMaxSlider"), 30);
    EXPECT_EQ(label("zebraMinValue"), "29%");
    EXPECT_EQ(low(), 319u);
    EXPECT_EQ(high(), 327u);
    expectSavedOnHide(*page, {{"photoZebraMinValue", "29"}, {"photoZebraMaxValue", "30"}});

    // The switch and its front key toggle the stripes.
    page->show();
    QPushButton *button = child<QPushButton>(*page, "zebraEnable");
    click(button);
    EXPECT_EQ(enabled(), 1u);
    expectSavedOnHide(*page, {{"photoZebraEnable", "true"}});

    page->show();
    pressKey(KeyCtl::F1, KeyCtl::FUNC_ZEBRA);
    ASSERT_TRUE(QTest::qWaitFor([&] { return enabled() == 0u; }, 5000));
    EXPECT_FALSE(button->isChecked());
    // Another function leaves the page alone.
    pressKey(KeyCtl::F2, KeyCtl::FUNC_FOCUS_PEAKING);
    QTest::qWait(50);
    EXPECT_EQ(enabled(), 0u);
    expectSavedOnHide(*page, {{"photoZebraEnable", "false"}});
}
