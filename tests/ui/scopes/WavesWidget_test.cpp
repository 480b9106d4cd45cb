#include "KeyCtl.h"
#include "PageTest.h"
#include "WavesWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <memory>

namespace {

class WavesWidgetTest : public OnePageTest<WavesWidget>
{
protected:
    // The four scope enables: vectorscope, luminance, RGB parade, histogram.
    uint32_t scopes()
    {
        return field(VID_SCOPE_CTL, 0, 0) | field(VID_SCOPE_CTL, 4, 4) << 1 | field(VID_SCOPE_CTL, 8, 8) << 2 |
               field(VID_SCOPE_CTL, 12, 12) << 3;
    }
    uint32_t brightness() { return field(VID_SCOPE_CTL, 31, 16); }
    uint32_t opacity() { return field(VID_SCOPE_DISP1, 9, 0); }
};

constexpr uint32_t vectorscope = 1, luminance = 2, parade = 4, histogram = 8;

} // namespace

TEST_F(WavesWidgetTest, StoredSettingsReachTheLogicAtStart)
{
    // The source's colour type, set by the video state, stays as it is.
    board().pl().setField(VID_SCOPE_CTL, 3, 3, 1);
    build("[AppConfig]\nwavesHistogramEnable=true\nwaveVectorgraphEnable=true\nwavesOpacity=0\nwavesLight=100\n"
          "wavesPosition=rightBottom\n");
    EXPECT_EQ(scopes(), histogram | vectorscope);
    EXPECT_EQ(field(VID_SCOPE_CTL, 3, 3), 1u);
    EXPECT_EQ(opacity(), 100u);
    EXPECT_EQ(brightness(), 65535u);
    EXPECT_TRUE(button("wavesHistogramEnable")->isChecked());
    EXPECT_FALSE(button("wavesLightEnable")->isChecked());
    EXPECT_TRUE(button("wavesPositionRightBottom")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "wavesOpacityValue")->text(), "0%");

    rebuild();
    EXPECT_EQ(scopes(), 0u);
    EXPECT_EQ(opacity(), 561u);
    EXPECT_EQ(brightness(), 33267u);
    EXPECT_TRUE(button("wavesPositionLeftBottom")->isChecked());

    // Out-of-range values push valid levels.
    rebuild("[AppConfig]\nwavesOpacity=-5\nwavesLight=1000\nwavesPosition=top\nwavesLightEnable=yes\n");
    EXPECT_EQ(opacity(), 100u);
    EXPECT_EQ(brightness(), 65535u);
    EXPECT_EQ(child<QSlider>(*page, "wavesOpacitySlider")->value(), 0);
    EXPECT_EQ(child<QSlider>(*page, "wavesLightSlider")->value(), 100);
    EXPECT_TRUE(button("wavesPositionLeftBottom")->isChecked());
    EXPECT_EQ(scopes(), 0u);
}

TEST_F(WavesWidgetTest, SlidersAndPositionAreAppliedAndSavedOnHide)
{
    build();
    slide(child<QSlider>(*page, "wavesOpacitySlider"), 100);
    slide(child<QSlider>(*page, "wavesLightSlider"), 0);
    EXPECT_EQ(opacity(), 1023u);
    EXPECT_EQ(brightness(), 1000u);
    EXPECT_EQ(child<QLabel>(*page, "wavesLightValue")->text(), "0%");
    click(button("wavesPositionRightBottom"));
    EXPECT_EQ(savedValue("wavesPosition"), "leftBottom");
    expectSavedOnHide(*page, {{"wavesOpacity", "100"}, {"wavesLight", "0"}, {"wavesPosition", "rightBottom"}});
}

TEST_F(WavesWidgetTest, EachScopeHasItsSwitchItsSignalAndItsFrontKey)
{
    build();
    struct Scope {
        const char *button;
        void (WavesWidget::*signal)(bool);
        int code;
        uint32_t bit;
        const char *key;
    };
    const Scope all[] = {
        {"wavesHistogramEnable", &WavesWidget::signalHistogram, KeyCtl::FUNC_HISTOGRAM, histogram,
         "wavesHistogramEnable"},
        {"wavesLightEnable", &WavesWidget::signalWaves, KeyCtl::FUNC_WAVEFORM, luminance, "wavesLightEnable"},
        {"wavesRGBEnable", &WavesWidget::signalRGBWaves, KeyCtl::FUNC_RGB_WAVEFORM, parade, "waveRGBWavesEnable"},
        {"wavesVectorgraphEnable", &WavesWidget::signalVectorgraph, KeyCtl::FUNC_VECTORSCOPE, vectorscope,
         "waveVectorgraphEnable"},
    };
    for (const Scope &scope : all) {
        SCOPED_TRACE(scope.button);
        QSignalSpy spy(page.get(), scope.signal);
        click(button(scope.button));
        EXPECT_EQ(scopes(), scope.bit);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_TRUE(spy.at(0).at(0).toBool());
        page->hide();
        EXPECT_EQ(savedValue(scope.key), "true");

        page->show();
        pressKey(KeyCtl::F1, static_cast<KeyCtl::KeyValue>(scope.code));
        ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() == 2; }, 5000));
        EXPECT_FALSE(spy.at(1).at(0).toBool());
        EXPECT_EQ(scopes(), 0u);
        EXPECT_FALSE(button(scope.button)->isChecked());
        page->hide();
        EXPECT_EQ(savedValue(scope.key), "false");
        page->show();
    }
    pressKey(KeyCtl::F1, KeyCtl::FUNC_MARKER);
    QTest::qWait(50);
    EXPECT_EQ(scopes(), 0u) << "another function leaves the scopes alone";
}
