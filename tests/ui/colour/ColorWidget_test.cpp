#include "Application.h"
#include "BackLightCtl.h"
#include "ColorWidget.h"
#include "ColourPageTest.h"
#include "VideoOption.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <memory>

namespace {

class ColorWidgetTest : public OnePageTest<ColorWidget, ColourPageTest>
{
protected:

    // Opens a tab and presses a control of its page, as a finger would.
    void press(const char *tab, const char *control)
    {
        click(button(tab));
        click(button(control));
    }
};

} // namespace

TEST_F(ColorWidgetTest, EachTabShowsItsPageAndThePagesRequestsPassOnUnderTheirNames)
{
    applyStyleSheet(*qApp);
    ASSERT_FALSE(qApp->styleSheet().isEmpty());
    build(std::string());
    EXPECT_EQ(page->size(), QSize(1920, 420));
    EXPECT_EQ(child<QLabel>(*page, "colorTitle")->text(), "色彩管理");
    auto *stack = child<QStackedWidget>(*page, "colorStack");
    const char *tabs[] = {"colorTabLut", "colorTabColour", "colorTabHDR", "colorTabTemp", "colorTabGamma",
                          "colorTabLightMeter"};
    const char *texts[] = {"LUT", "色域", "HDR", "色温", "伽马曲线", "测光表"};
    const char *pages[] = {"LutWidget", "ColourWidget", "HDRWidget", "ColorTempWidget", "GammaWidget",
                           "LightMeterWidget"};
    for (int i = 5; i >= 0; --i) {
        click(button(tabs[i]));
        EXPECT_EQ(button(tabs[i])->text(), texts[i]);
        const QWidget *shown = stack->currentWidget();
        EXPECT_STREQ(shown->metaObject()->className(), pages[i]);
        EXPECT_EQ(QRect(shown->mapTo(page.get(), QPoint(0, 0)), shown->size()), QRect(0, 80, 1920, 340));
    }
    // The open tab is underlined in the accent colour, the others are not.
    const QImage image = page->grab().toImage();
    const QRect lut = button("colorTabLut")->geometry();
    const QRect gamma = button("colorTabGamma")->geometry();
    EXPECT_EQ(image.pixelColor(lut.center().x(), lut.bottom() - 1), QColor("#2D9CFF"));
    EXPECT_NE(image.pixelColor(gamma.center().x(), gamma.bottom() - 1), QColor("#2D9CFF"));

    QSignalSpy preset(page.get(), &ColorWidget::signalPreSelectLut);
    QSignalSpy user(page.get(), &ColorWidget::signalUserLutOp);
    QSignalSpy rgb(page.get(), &ColorWidget::signalRGBadjust);
    click(button("lutPreSelect"));
    click(button("lutUserErase"));
    press("colorTabTemp", "tempRGBadjust");
    EXPECT_EQ(preset.count(), 1);
    EXPECT_EQ(user.count(), 1);
    EXPECT_EQ(rgb.count(), 1);
}

TEST_F(ColorWidgetTest, HDRAndGammaExcludeEachOtherAndTheBacklightFollowsHDR)
{
    build("[AppConfig]\ncolorGammaEnable=true\ncolorGammaValue=24\ncolorHDREnable=false\n");
    BackLightCtl::getInstance()->setBackLightValue(30);
    const uint32_t dimmed = duty();
    QSignalSpy hdr(page.get(), &ColorWidget::signalHDREnable);
    QSignalSpy gamma(page.get(), &ColorWidget::signalGammaEnable);
    EXPECT_EQ(curveRegion(), curveFile("gamma24.cube"));

    press("colorTabHDR", "hdrEnable");
    const std::vector<uint32_t> pq = curveRegion();
    EXPECT_EQ(pq[512], grey(641));
    EXPECT_EQ(curveEnabled(), 1u);
    EXPECT_EQ(duty(), 418770u);
    EXPECT_FALSE(button("gammaEnable")->isChecked());
    EXPECT_EQ(hdr.count(), 1);
    ASSERT_EQ(gamma.count(), 1);
    EXPECT_EQ(gamma[0], QVariantList{false});

    // A gamma value chosen while HDR shows stays out of the table.
    press("colorTabGamma", "gamma26");
    EXPECT_EQ(curveRegion(), pq);

    click(button("gammaEnable"));
    EXPECT_EQ(curveRegion(), curveFile("gamma26.cube"));
    EXPECT_EQ(curveEnabled(), 1u);
    EXPECT_EQ(duty(), dimmed);
    EXPECT_FALSE(button("hdrEnable")->isChecked());
    ASSERT_EQ(hdr.count(), 2);
    EXPECT_EQ(hdr[1], QVariantList{false});
    expectSavedOnHide(*page, {{"colorHDREnable", "false"}, {"colorGammaEnable", "true"}});

    // Both stored on: the gamma keeps the curve, HDR shows off.
    AppConfig::getInstance()->setValue("colorHDREnable", true);
    AppConfig::getInstance()->setValue("colorGammaValue", 22);
    page->configUpdate();
    EXPECT_EQ(curveEnabled(), 1u);
    EXPECT_EQ(curveRegion(), curveFile("gamma22.cube"));
    EXPECT_EQ(duty(), dimmed);
    EXPECT_FALSE(button("hdrEnable")->isChecked());
}

TEST_F(ColorWidgetTest, SwitchingHDRReloadsTheColourStandardsMatrices)
{
    build("[AppConfig]\ncolorColourType=BT-2020\n");
    VideoOption::getInstance()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
    VideoOption::getInstance()->setRange("video");
    for (bool on : {true, false}) {
        board().pl().set(CSC_MATRIX_VAL0, 0);
        press("colorTabHDR", "hdrEnable");
        EXPECT_EQ(coefficient(0, 0), 6896) << on;
        EXPECT_EQ(field(CSC_MATRIX_CTL, 1, 0), 3u) << on;
    }
}
