#include "ColorTempWidget.h"
#include "ColourPageTest.h"
#include "RGBadjustWidget.h"

#include <QPushButton>
#include <QSignalSpy>
#include <memory>

namespace {

// The panel matrix's red, green and blue gains (Q12) at each temperature.
const std::vector<int> neutral = {4096, 4096, 4096};
const std::vector<int> warm = {4096, 4096, 3678};
const std::vector<int> cool = {3238, 3488, 4096};

class ColorTempWidgetTest : public OnePageTest<ColorTempWidget, ColourPageTest>
{
protected:
    // As at start-up, the RGB page comes after and loads the panel matrix.
    void build(const std::string &settings)
    {
        OnePageTest::build(settings);
        rgb = std::make_unique<RGBadjustWidget>();
    }

    std::vector<int> diagonal() { return {coefficient(0, 0), coefficient(1, 1), coefficient(2, 2)}; }

    std::unique_ptr<RGBadjustWidget> rgb;
};

} // namespace

TEST_F(ColorTempWidgetTest, TheStoredTemperatureReachesThePanelMatrix)
{
    build("[AppConfig]\ncolorTempEnable=true\ncolorTempValue=5600\n");
    EXPECT_EQ(diagonal(), warm);
    EXPECT_TRUE(button("temp5600")->isChecked());
    const struct {
        bool on;
        int kelvin;
        const char *shown;
        std::vector<int> matrix;
    } cases[] = {
        {true, 9300, "temp9300", cool},
        {false, 9300, "temp9300", neutral},
        {true, 7000, "temp6500", neutral},
    };
    for (const auto &c : cases) {
        AppConfig::getInstance()->setValue("colorTempEnable", c.on);
        AppConfig::getInstance()->setValue("colorTempValue", c.kelvin);
        page->configUpdate();
        EXPECT_EQ(diagonal(), c.matrix) << c.kelvin;
        EXPECT_TRUE(button(c.shown)->isChecked()) << c.kelvin;
    }
}

TEST_F(ColorTempWidgetTest, TheSwitchAndValuesLoadThePanelMatrixAndAreSavedOnHide)
{
    build("[AppConfig]\ncolorTempEnable=false\ncolorTempValue=6500\n");
    click(button("temp9300"));
    EXPECT_EQ(diagonal(), neutral);
    click(button("tempEnable"));
    EXPECT_EQ(diagonal(), cool);
    EXPECT_EQ(field(CSC_MATRIX_CTL, 17, 16), 3u);
    click(button("temp5600"));
    EXPECT_EQ(diagonal(), warm);
    EXPECT_EQ(savedValue("colorTempValue"), "6500");
    expectSavedOnHide(*page, {{"colorTempValue", "5600"}, {"colorTempEnable", "true"}});

    page->show();
    QSignalSpy spy(page.get(), &ColorTempWidget::signalRGBadjust);
    click(button("tempRGBadjust"));
    EXPECT_EQ(spy.count(), 1);
}
