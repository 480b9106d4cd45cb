#include "ColourPageTest.h"
#include "ColourWidget.h"
#include "OutCtl.h"
#include "VideoOption.h"

#include <QPushButton>
#include <memory>

namespace {

// First coefficients of the standards' video-range records: the input
// matrix's red from Cr, the output matrix's Cr from green.
struct Standard {
    const char *text;
    const char *button;
    int input;
    int output;
};
const Standard rec709 = {"REC-709", "colourRec709", 7364, -1629};
const Standard dciP3 = {"DCI-P3", "colourDciP3", 7393, -1637};
const Standard bt2020 = {"BT-2020", "colourBt2020", 6896, -1649};

class ColourWidgetTest : public OnePageTest<ColourWidget, ColourPageTest>
{
protected:
    void build(const std::string &settings)
    {
        VideoOption::getInstance()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
        VideoOption::getInstance()->setRange("video");
        OnePageTest::build(settings);
    }

    bool shown(const Standard &standard) { return child<QPushButton>(*page, standard.button)->isChecked(); }
};

} // namespace

TEST_F(ColourWidgetTest, TheStoredStandardIsLoadedByTheNextInputUpdateAChosenOneAtOnce)
{
    build("[AppConfig]\ncolorColourType=DCI-P3\n");
    EXPECT_EQ(field(CSC_MATRIX_CTL, 17, 0), 0u) << "nothing loaded at start";
    EXPECT_TRUE(shown(dciP3));
    VideoOption::getInstance()->loadCscMatrix(VideoOption::MAIN_CHANNEL); // the main window's first update
    EXPECT_EQ(coefficient(0, 0), dciP3.input);

    // Replaced settings apply at once; an unknown name is REC-709.
    AppConfig::getInstance()->setValue("colorColourType", "BT-2020");
    page->configUpdate();
    EXPECT_EQ(coefficient(0, 0), bt2020.input);
    AppConfig::getInstance()->setValue("colorColourType", "sRGB");
    page->configUpdate();
    EXPECT_EQ(coefficient(0, 0), rec709.input);
    EXPECT_TRUE(shown(rec709));

    // Choosing a standard reloads the input and output matrices and is saved on hide.
    rebuild("[AppConfig]\ncolorColourType=REC-709\n");
    click(child<QPushButton>(*page, bt2020.button));
    EXPECT_EQ(coefficient(0, 0), bt2020.input);
    EXPECT_EQ(field(CSC_MATRIX_CTL, 1, 0), 3u);
    EXPECT_EQ(field(CSC_MATRIX_CTL, 8, 8), 0u) << "no LUT on the output: its matrix is off";

    OutCtl::getInstance()->setRange("video");
    OutCtl::getInstance()->lutEnable(true);
    for (const Standard &standard : {rec709, bt2020, dciP3}) {
        click(child<QPushButton>(*page, standard.button));
        EXPECT_EQ(coefficient(0, 1), standard.output) << standard.text;
        EXPECT_EQ(field(CSC_MATRIX_CTL, 9, 8), 3u) << standard.text;
    }
    EXPECT_EQ(savedValue("colorColourType"), "REC-709");
    expectSavedOnHide(*page, {{"colorColourType", "DCI-P3"}});
}
