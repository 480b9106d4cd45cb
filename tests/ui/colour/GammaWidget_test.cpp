#include "ColourPageTest.h"
#include "GammaWidget.h"
#include "KeyCtl.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

class GammaWidgetTest : public OnePageTest<GammaWidget, ColourPageTest>
{
protected:
    void reconfigure(bool hdr, bool gamma, int value)
    {
        AppConfig::getInstance()->setValue("colorHDREnable", hdr);
        AppConfig::getInstance()->setValue("colorGammaEnable", gamma);
        AppConfig::getInstance()->setValue("colorGammaValue", value);
        page->configUpdate();
    }

};

} // namespace

TEST_F(GammaWidgetTest, TheStoredOrChosenCurveIsUploadedWhileOnUnlessHDRIsOnOtherValuesAreTwoPointFour)
{
    build("[AppConfig]\ncolorHDREnable=true\ncolorGammaValue=26\n");
    EXPECT_EQ(curveRegion(), std::vector<uint32_t>(Lut1D::tableWords, 0u));
    board().pl().set(CALI_GAMMA_CTL, 1); // HDR's
    reconfigure(true, false, 22);
    EXPECT_EQ(curveEnabled(), 1u);

    reconfigure(false, true, 22);
    EXPECT_EQ(curveRegion()[512], grey(512)); // 2.2 on the 2.2 panel: unchanged
    EXPECT_TRUE(button("gamma22")->isChecked());
    reconfigure(false, true, 26);
    EXPECT_EQ(curveRegion(), curveFile("gamma26.cube"));
    EXPECT_LT(curveRegion()[512], curveFile("gamma24.cube")[512]);
    for (int value : {23, 1000, -5}) {
        reconfigure(false, true, 26);
        reconfigure(false, true, value);
        EXPECT_TRUE(button("gamma24")->isChecked()) << value;
        EXPECT_EQ(curveRegion(), curveFile("gamma24.cube")) << value;
    }
    reconfigure(false, false, 24);
    EXPECT_EQ(curveEnabled(), 0u);

    // The switch uploads the chosen curve; values follow only while it is on.
    rebuild("[AppConfig]\ncolorGammaEnable=false\ncolorGammaValue=24\n");
    QSignalSpy spy(page.get(), &GammaWidget::signalGammaEnable);
    click(button("gamma22"));
    EXPECT_EQ(curveEnabled(), 0u);
    click(button("gammaEnable"));
    EXPECT_EQ(curveEnabled(), 1u);
    EXPECT_EQ(curveRegion(), curveFile("gamma22.cube"));
    click(button("gamma26"));
    EXPECT_EQ(curveRegion(), curveFile("gamma26.cube"));
    click(button("gammaEnable"));
    click(button("gamma22"));
    EXPECT_EQ(curveEnabled(), 0u);
    EXPECT_EQ(curveRegion(), curveFile("gamma26.cube"));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1], QVariantList{false});
    EXPECT_EQ(savedValue("colorGammaValue"), "24");
    expectSavedOnHide(*page, {{"colorGammaValue", "22"}});

    page->show();
    pressKey(KeyCtl::F1, KeyCtl::FUNC_GAMMA);
    ASSERT_TRUE(QTest::qWaitFor([&] { return curveEnabled() == 1u; }, 5000));
    EXPECT_EQ(curveRegion(), curveFile("gamma22.cube"));
    EXPECT_TRUE(button("gammaEnable")->isChecked());
}
