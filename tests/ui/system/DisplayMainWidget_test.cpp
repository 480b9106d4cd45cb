#include "BackLightCtl.h"
#include "CscStaging.h"
#include "DisplayMainWidget.h"
#include "KeyCtl.h"
#include "PageTest.h"
#include "VideoOption.h"
#include "Wait.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <memory>

namespace {

class DisplayMainWidgetTest : public OnePageTest<DisplayMainWidget>
{
protected:
    void build(const std::string &settings = std::string())
    {
        OnePageTest::build(settings);
        QObject::connect(page.get(), &DisplayMainWidget::signalScreenOff, page.get(),
                         [this](bool off) { screenOffs.push_back(off); });
    }

    // The backlight duty for a level, as the panel takes it.
    static uint32_t duty(int percent) { return static_cast<uint32_t>(36096 + (418770 - 36096) * percent / 100.0f); }
    uint32_t backlight() { return field(BL_PWM_DUTY, 23, 0); }
    bool backlightOff() { return field(BL_PWM_DUTY, 24, 24) == 1; }
    uint32_t opacity() { return field(OSD_CTL, 25, 16); }
    QSlider *slider(const char *name) { return child<QSlider>(*page, name); }

    // The panel matrix as it was last staged: diagonal and offsets.
    std::vector<int> panelRecord()
    {
        const std::vector<uint32_t> words = stagedCscWords(board().pl());
        auto low = [&](int i) { return static_cast<int>(static_cast<int16_t>(words[i] & 0xFFFFu)); };
        auto high = [&](int i) { return static_cast<int>(static_cast<int16_t>(words[i] >> 16)); };
        return {low(0), low(2), low(4), high(4), low(5), high(5)};
    }

    // A front key bound to a function, pressed; waits until the page acted.
    void pressFunction(KeyCtl::KeyValue function, const std::function<bool()> &done)
    {
        pressKey(KeyCtl::F1, function);
        ASSERT_TRUE(waitUntil(done, std::chrono::seconds(5)));
    }

    std::vector<bool> screenOffs;
};

VideoOption::ScanMode scanMode()
{
    return VideoOption::getInstance()->getScanMode();
}

} // namespace

TEST_F(DisplayMainWidgetTest, StoredSettingsReachThePanelAtStart)
{
    build("[AppConfig]\ndisplayLight=100\ndisplayContrast=100\ndisplayChroma=50\ndisplayBacklight=40\n"
          "displaySharpen=0\nopacity=50\nscanMode=pixTopix\n");
    EXPECT_EQ(backlight(), duty(40));
    EXPECT_EQ(opacity(), 511u);
    EXPECT_EQ(field(SHARP_CONV_CTL, 0, 0), 0u);
    EXPECT_EQ(scanMode(), VideoOption::SCAN_PIX_TO_PIX);
    // Contrast doubles the diagonal, brightness lifts every channel.
    EXPECT_EQ(panelRecord(), (std::vector<int>{8192, 8192, 8192, 8000, 8000, 8000}));
    EXPECT_TRUE(button("displayScanPixToPix")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "displayBacklightValue")->text(), "40%");
    EXPECT_TRUE(slider("displayBacklightSlider")->isEnabled());

    // Bad stored values push valid ones.
    rebuild("[AppConfig]\ndisplayLight=-5\ndisplayBacklight=1000\nopacity=0\nscanMode=zoomed\ndisplaySharpen=x\n");
    EXPECT_EQ(slider("displayLightSlider")->value(), 0);
    EXPECT_EQ(backlight(), 418770u);
    EXPECT_EQ(slider("displayOpacitySlider")->value(), 10);
    EXPECT_EQ(opacity(), 102u);
    EXPECT_EQ(scanMode(), VideoOption::SCAN_NORMAL);
    EXPECT_TRUE(button("displayScanNormal")->isChecked());
    // A value that is no number keeps the default.
    EXPECT_EQ(slider("displaySharpenSlider")->value(), 50);
    EXPECT_EQ(field(SHARP_CONV_CTL, 31, 16), 768u);
}

TEST_F(DisplayMainWidgetTest, WithHdrOnTheStoredBacklightIsNeitherAppliedNorAdjustable)
{
    build("[AppConfig]\ndisplayBacklight=40\ncolorHDREnable=true\n");
    EXPECT_NE(backlight(), duty(40));
    EXPECT_FALSE(slider("displayBacklightSlider")->isEnabled());
    page->slotHDREnable(false);
    EXPECT_TRUE(slider("displayBacklightSlider")->isEnabled());
    slide(slider("displayBacklightSlider"), 70);
    EXPECT_EQ(backlight(), duty(70));
}

TEST_F(DisplayMainWidgetTest, SlidersDriveTheirBlocksAndAreSavedWhenThePageHides)
{
    build();
    slide(slider("displayBacklightSlider"), 100);
    EXPECT_EQ(backlight(), 418770u);
    slide(slider("displayOpacitySlider"), 10);
    EXPECT_EQ(opacity(), 102u);
    slide(slider("displaySharpenSlider"), 60);
    EXPECT_EQ(field(SHARP_CONV_CTL, 0, 0), 1u);
    EXPECT_EQ(field(SHARP_CONV_CTL, 31, 16), 921u);
    slide(slider("displaySharpenSlider"), 0);
    EXPECT_EQ(field(SHARP_CONV_CTL, 0, 0), 0u);
    slide(slider("displayLightSlider"), 0);
    EXPECT_EQ(panelRecord(), (std::vector<int>{4096, 4096, 4096, -8000, -8000, -8000}));
    slide(slider("displayContrastSlider"), 0);
    EXPECT_EQ(panelRecord()[0], 0);
    EXPECT_EQ(child<QLabel>(*page, "displayContrastValue")->text(), "0%");

    EXPECT_EQ(savedValue("displayBacklight"), "50");
    expectSavedOnHide(*page, {{"displayBacklight", "100"}, {"opacity", "10"}, {"displaySharpen", "0"},
                              {"displayLight", "0"}, {"displayContrast", "0"}});
}

TEST_F(DisplayMainWidgetTest, ScanModeButtonsRescaleThePicture)
{
    build();
    VideoOption::getInstance()->setSize(VideoOption::MAIN_CHANNEL, 1920, 1080);
    EXPECT_EQ(field(LEFT_HOR_SET, 11, 0), 92u);
    click(button("displayScanPixToPix"));
    // One pixel per pixel, centred.
    EXPECT_EQ(field(LEFT_HOR_SET, 11, 0), 412u);
    EXPECT_EQ(field(RIGHT_HOR_SET, 27, 16), 1052u);
    click(button("displayScanNormal"));
    EXPECT_EQ(field(LEFT_HOR_SET, 11, 0), 92u);
    click(button("displayScanPix"));
    EXPECT_EQ(scanMode(), VideoOption::SCAN_PIX);
    expectSavedOnHide(*page, {{"scanMode", "pix"}});
}

TEST_F(DisplayMainWidgetTest, ScanModeKeyCyclesBackToNormalAfterThreePresses)
{
    build();
    pressFunction(KeyCtl::FUNC_SCAN_MODE, [] { return scanMode() == VideoOption::SCAN_PIX; });
    EXPECT_TRUE(button("displayScanPix")->isChecked());
    pressFunction(KeyCtl::FUNC_SCAN_MODE, [] { return scanMode() == VideoOption::SCAN_PIX_TO_PIX; });
    pressFunction(KeyCtl::FUNC_SCAN_MODE, [] { return scanMode() == VideoOption::SCAN_NORMAL; });
    EXPECT_TRUE(button("displayScanNormal")->isChecked());
    expectSavedOnHide(*page, {{"scanMode", "normal"}});
}

TEST_F(DisplayMainWidgetTest, ScreenOffAndFullBacklightKeysKeepTheLevelToRestore)
{
    build("[AppConfig]\ndisplayBacklight=30\n");
    pressFunction(KeyCtl::FUNC_WIRELESS_MODE, [this] { return backlightOff(); });
    EXPECT_EQ(screenOffs, std::vector<bool>{true});
    pressFunction(KeyCtl::FUNC_WIRELESS_MODE, [this] { return !backlightOff(); });
    EXPECT_EQ(screenOffs, (std::vector<bool>{true, false}));
    // The level itself is untouched.
    EXPECT_EQ(backlight(), duty(30));

    pressFunction(KeyCtl::FUNC_MAX_BRIGHTNESS, [this] { return backlight() == duty(100); });
    pressFunction(KeyCtl::FUNC_MAX_BRIGHTNESS, [this] { return backlight() == duty(30); });
    EXPECT_EQ(child<QSlider>(*page, "displayBacklightSlider")->value(), 30);

    // Moving the slider during the boost ends it: the next press boosts again.
    pressFunction(KeyCtl::FUNC_MAX_BRIGHTNESS, [this] { return backlight() == duty(100); });
    slide(slider("displayBacklightSlider"), 60);
    EXPECT_EQ(backlight(), duty(60));
    pressFunction(KeyCtl::FUNC_MAX_BRIGHTNESS, [this] { return backlight() == duty(100); });

    // Under HDR the key leaves the full backlight alone.
    page->slotHDREnable(true);
    pressKey(KeyCtl::F1, KeyCtl::FUNC_MAX_BRIGHTNESS);
    QTest::qWait(100);
    EXPECT_EQ(backlight(), duty(100));
}
