#include "BackLightCtl.h"
#include "ColourPageTest.h"
#include "HDRWidget.h"
#include "KeyCtl.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// Backlight PWM duty at 0 %, 30 % and 100 %.
const uint32_t dutyOff = 36096;
const uint32_t duty30 = 150898;
const uint32_t dutyFull = 418770;

class HDRWidgetTest : public OnePageTest<HDRWidget, ColourPageTest>
{
protected:
    void reconfigure(bool hdr, const char *type, int backlight)
    {
        AppConfig::getInstance()->setValue("colorHDREnable", hdr);
        AppConfig::getInstance()->setValue("colorHDRType", type);
        AppConfig::getInstance()->setValue("displayBacklight", backlight);
        page->configUpdate();
    }

};

} // namespace

TEST_F(HDRWidgetTest, AtStartHDRShowsItsCurveAtFullBacklightAndOffRestoresTheStoredLevel)
{
    build("[AppConfig]\ncolorHDREnable=true\ndisplayBacklight=30\n");
    EXPECT_EQ(duty(), dutyFull);
    EXPECT_EQ(curveEnabled(), 1u);
    EXPECT_EQ(curveRegion()[512], grey(641));
    EXPECT_EQ(curveRegion()[813], grey(1017));
    EXPECT_TRUE(button("hdrEnable")->isChecked());

    QSignalSpy spy(page.get(), &HDRWidget::signalHDREnable);
    page->configUpdate();
    EXPECT_EQ(spy.count(), 0) << "the settings push says nothing";
    click(button("hdrEnable"));
    EXPECT_EQ(duty(), duty30);
    EXPECT_EQ(curveEnabled(), 0u);
    EXPECT_EQ(spy.count(), 1);

    // Bad values: an unknown type is PQ, the level is held to 0-100.
    reconfigure(true, "XYZ", -5);
    EXPECT_TRUE(button("hdrTypePQ")->isChecked());
    EXPECT_EQ(curveRegion()[512], grey(641));
    click(button("hdrEnable"));
    EXPECT_EQ(duty(), dutyOff);
    reconfigure(true, "HLG", 1000);
    EXPECT_EQ(curveRegion(), curveFile("gammaHLG.cube"));
    click(button("hdrEnable"));
    EXPECT_EQ(duty(), dutyFull);

    // With the gamma stored on as well, HDR shows off and pushes nothing.
    AppConfig::getInstance()->setValue("colorGammaEnable", true);
    board().pl().set(BL_PWM_DUTY, 0);
    board().pl().set(CALI_GAMMA_CTL, 1); // the gamma's
    reconfigure(true, "PQ", 30);
    EXPECT_FALSE(button("hdrEnable")->isChecked());
    EXPECT_EQ(duty(), 0u);
    EXPECT_EQ(curveEnabled(), 1u);
}

TEST_F(HDRWidgetTest, SwitchingOffRestoresTheLevelOfBeforeTheTypeReloadsWhileOnAndAllIsSavedOnHide)
{
    build("[AppConfig]\ncolorHDREnable=false\ncolorHDRType=PQ\ndisplayBacklight=30\n");
    QSignalSpy spy(page.get(), &HDRWidget::signalHDREnable);
    BackLightCtl::getInstance()->setBackLightValue(75); // the display page's slider
    const uint32_t before = duty();
    click(button("hdrEnable"));
    EXPECT_EQ(duty(), dutyFull);
    const std::vector<uint32_t> pq = curveRegion();
    click(button("hdrTypeHLG"));
    EXPECT_EQ(curveRegion(), curveFile("gammaHLG.cube"));
    click(button("hdrEnable"));
    EXPECT_EQ(duty(), before);
    click(button("hdrTypePQ"));
    EXPECT_EQ(curveRegion(), curveFile("gammaHLG.cube")) << "HDR is off";
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1], QVariantList{false});

    // Its front key, not offered in the function list.
    pressKey(KeyCtl::F3, static_cast<KeyCtl::KeyValue>(HDRWidget::functionCode));
    ASSERT_TRUE(QTest::qWaitFor([&] { return curveEnabled() == 1u; }, 5000));
    EXPECT_EQ(curveRegion(), pq);
    EXPECT_TRUE(button("hdrEnable")->isChecked());
    EXPECT_EQ(savedValue("colorHDREnable"), "false");
    expectSavedOnHide(*page, {{"colorHDREnable", "true"}, {"colorHDRType", "PQ"}});
}
