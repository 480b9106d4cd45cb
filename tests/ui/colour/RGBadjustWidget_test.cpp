#include "ColourPageTest.h"
#include "RGBadjustWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <memory>

namespace {

class RGBadjustWidgetTest : public OnePageTest<RGBadjustWidget, ColourPageTest>
{
protected:
    // The panel matrix's gains (Q12) and offsets (1/16 code value).
    std::vector<int> gains() { return {coefficient(0, 0), coefficient(1, 1), coefficient(2, 2)}; }
    std::vector<int> offsets() { return {offset(0), offset(1), offset(2)}; }

    QSlider *slider(const char *name) { return child<QSlider>(*page, name); }
    QString label(const char *name) { return child<QLabel>(*page, name)->text(); }
};

} // namespace

TEST_F(RGBadjustWidgetTest, StoredGainsAndOffsetsHeldToTheirRangesSlidersAndResetsReachThePanelMatrix)
{
    build("[AppConfig]\ncolorRGain=150\ncolorGGain=50\ncolorBGain=200\n"
          "colorROffset=10\ncolorGOffset=-20\ncolorBOffset=64\n");
    EXPECT_EQ(gains(), (std::vector<int>{6144, 2048, 8192}));
    EXPECT_EQ(offsets(), (std::vector<int>{160, -320, 1024}));
    EXPECT_EQ(field(CSC_MATRIX_CTL, 17, 16), 3u);
    EXPECT_EQ(label("rgbRGainValue"), "150%");
    EXPECT_EQ(label("rgbGOffsetValue"), "-20");

    AppConfig *store = AppConfig::getInstance();
    store->setValue("colorRGain", 1000);
    store->setValue("colorGGain", -5);
    store->setValue("colorROffset", 99);
    store->setValue("colorGOffset", -99);
    page->configUpdate();
    EXPECT_EQ(gains(), (std::vector<int>{8192, 0, 8192}));
    EXPECT_EQ(offsets(), (std::vector<int>{1024, -1024, 1024}));
    EXPECT_EQ(slider("rgbGOffsetSlider")->value(), -64);

    // Sliders and resets change the panel matrix and are saved on hide.
    rebuild("[AppConfig]\ncolorRGain=100\ncolorBOffset=0\n");
    slide(slider("rgbRGainSlider"), 120);
    slide(slider("rgbBOffsetSlider"), -30);
    EXPECT_EQ(gains(), (std::vector<int>{4915, 4096, 4096}));
    EXPECT_EQ(offsets(), (std::vector<int>{0, 0, -480}));
    EXPECT_EQ(label("rgbBOffsetValue"), "-30");
    EXPECT_EQ(savedValue("colorRGain"), "100");
    expectSavedOnHide(*page, {{"colorRGain", "120"}, {"colorBOffset", "-30"}});

    page->show();
    click(child<QPushButton>(*page, "rgbGainReset"));
    EXPECT_EQ(gains(), (std::vector<int>{4096, 4096, 4096}));
    EXPECT_EQ(offsets(), (std::vector<int>{0, 0, -480}));
    EXPECT_EQ(slider("rgbRGainSlider")->value(), 100);
    click(child<QPushButton>(*page, "rgbOffsetReset"));
    EXPECT_EQ(offsets(), (std::vector<int>{0, 0, 0}));
    QSignalSpy back(page.get(), &RGBadjustWidget::signalBack);
    click(child<QPushButton>(*page, "rgbBack"));
    EXPECT_EQ(back.count(), 1);
    expectSavedOnHide(*page, {{"colorRGain", "100"}, {"colorBOffset", "0"}});
}
