#include "FrameCompareWidget.h"
#include "FrameCtl.h"
#include "FrameGetWidget.h"
#include "FrameWidget.h"
#include "HardwarePath.h"
#include "KeyCtl.h"
#include "PageTest.h"
#include "VideoOption.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

class FrameWidgetTest : public OnePageTest<FrameWidget>
{
protected:
    void build(const std::string &settings = std::string())
    {
        OnePageTest::build(settings);
        page->resize(1920, 420);
    }

    // The main channel shows an SDI picture the logic can capture.
    void sdiSource()
    {
        VideoOption::getInstance()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
        sim::VideoModel::Format format;
        std::string error;
        ASSERT_TRUE(sim::VideoModel::parseFormat("1920x1080", "25p", format, error));
        ASSERT_TRUE(board().video().sdi(format, error)) << error;
    }

    size_t captures() const
    {
        std::error_code error;
        size_t count = 0;
        for (fs::directory_iterator entry(hw::path("/run/media/sda1/Image"), error), end; !error && entry != end;
             entry.increment(error))
            count += entry->path().filename().string()[0] != '.';
        return count;
    }

    uint32_t armBits() { return field(FRAME_CAP_CTL, 3, 3) << 1 | field(FRAME_CAP_CTL, 0, 0); }
};

} // namespace

TEST_F(FrameWidgetTest, StoredSettingsReachTheLogicAtStart)
{
    build("[AppConfig]\nframeAdjustEnable=true\nframeCompareEnable=true\nframeCompareOpacity=30\n"
          "frameComparePosition=80\n");
    EXPECT_EQ(field(FRAME_CAP_CTL, 1, 1), 1u) << "captures carry the adjustments";
    EXPECT_EQ(field(FRAME_CAP_CTL, 4, 4), 0u) << "the compare overlay waits for a loaded frame";
    EXPECT_EQ(field(FRAME_CAP_CTL, 17, 8), 306u);
    EXPECT_EQ(field(FRAME_CAP_CTL, 31, 20), 2048u);
    EXPECT_EQ(field(FRAME_CAP_CTL, 5, 5), 1u);
    EXPECT_TRUE(VideoOption::getInstance()->isFrameCompare());
    EXPECT_TRUE(child<QPushButton>(*page, "frameAdjustEnable")->isChecked());
    EXPECT_TRUE(child<QPushButton>(*page, "frameCompareEnable")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "frameCompareOpacityValue")->text(), "30%");
    EXPECT_EQ(child<QLabel>(*page, "frameComparePositionValue")->text(), "80%");

    // Values beyond the sliders are held to them.
    rebuild("[AppConfig]\nframeCompareOpacity=250\nframeComparePosition=-3\n");
    EXPECT_EQ(field(FRAME_CAP_CTL, 17, 8), 1023u);
    EXPECT_EQ(field(FRAME_CAP_CTL, 31, 20), 0u);
}

TEST_F(FrameWidgetTest, ACaptureHoldsTheArmBitsUntilItsCompletionAndASecondPressIsIgnored)
{
    build();
    sdiSource();
    QSignalSpy result(page.get(), &FrameWidget::signalFrameResult);
    QPushButton *button = child<QPushButton>(*page, "frameCaptureButton");
    // Without a stick the capture fails at once and arms nothing.
    click(button);
    ASSERT_EQ(result.count(), 1) << "reported at once";
    EXPECT_FALSE(result[0][0].toBool());
    EXPECT_EQ(armBits(), 0u);
    EXPECT_FALSE(page->getWidget().isBusy());
    QTest::qWait(100);
    EXPECT_EQ(board().picture().captures(), 0);

    ASSERT_TRUE(board().tree().insertUsb('a'));
    result.clear();
    click(button);
    EXPECT_EQ(armBits(), 3u) << "bits 0 and 3 high from the request on";
    EXPECT_TRUE(page->getWidget().isBusy());
    EXPECT_TRUE(button->property("busy").toBool());
    click(button);
    ASSERT_TRUE(result.wait(10000));
    EXPECT_EQ(armBits(), 0u) << "released once the completion is handled";
    EXPECT_FALSE(button->property("busy").toBool());
    QTest::qWait(300);
    ASSERT_EQ(result.count(), 1);
    EXPECT_TRUE(result[0][0].toBool());
    EXPECT_EQ(captures(), 1u);
    EXPECT_EQ(board().picture().captures(), 1);

    // The front key bound to the capture function takes the next one.
    QTest::qWait(20);
    pressKey(KeyCtl::F1, KeyCtl::FUNC_SCREENSHOT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.count() == 2; }, 10000));
    EXPECT_TRUE(result[1][0].toBool());
    EXPECT_EQ(captures(), 2u);
}

TEST_F(FrameWidgetTest, TabsSwitchesSlidersAndFrontKeyDriveTheCapturesAndTheOverlay)
{
    build();
    auto *stack = child<QStackedWidget>(*page, "frameStack");
    EXPECT_EQ(child<QLabel>(*page, "frameMenuTitle")->text(), "截图管理");
    EXPECT_EQ(stack->currentWidget(), &page->getWidget());
    // The adjustment switch chooses what captures carry.
    click(child<QPushButton>(*page, "frameAdjustEnable"));
    EXPECT_EQ(field(FRAME_CAP_CTL, 1, 1), 1u);
    EXPECT_EQ(field(FRAME_CAP_CTL, 4, 4), 0u);
    click(child<QPushButton>(*page, "frameCompareTab"));
    EXPECT_EQ(stack->currentWidget(), &page->compareWidget());
    EXPECT_TRUE(child<QPushButton>(*page, "frameCompareTab")->isChecked());
    EXPECT_FALSE(child<QPushButton>(*page, "frameGetTab")->isChecked());
    QSignalSpy select(page.get(), &FrameWidget::signalSelectFrame);
    click(child<QPushButton>(*page, "frameCompareSelect"));
    EXPECT_EQ(select.count(), 1);
    QSignalSpy shown(page.get(), &FrameWidget::signalShowFrameCompare);
    QSignalSpy moved(page.get(), &FrameWidget::signalFramePosition);
    QPushButton *button = child<QPushButton>(*page, "frameCompareEnable");
    click(button);
    EXPECT_EQ(field(FRAME_CAP_CTL, 4, 4), 1u);
    EXPECT_TRUE(VideoOption::getInstance()->isFrameCompare());
    ASSERT_EQ(shown.count(), 1);
    EXPECT_TRUE(shown[0][0].toBool());

    slide(child<QSlider>(*page, "frameCompareOpacitySlider"), 100);
    EXPECT_EQ(field(FRAME_CAP_CTL, 17, 8), 1023u);
    EXPECT_EQ(child<QLabel>(*page, "frameCompareOpacityValue")->text(), "100%");
    slide(child<QSlider>(*page, "frameComparePositionSlider"), 25);
    EXPECT_EQ(field(FRAME_CAP_CTL, 31, 20), 640u);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 25);
    // Dragged on the screen: the page follows without echoing the move.
    page->setFrameComparePosition(70);
    EXPECT_EQ(field(FRAME_CAP_CTL, 31, 20), 1792u);
    EXPECT_EQ(child<QSlider>(*page, "frameComparePositionSlider")->value(), 70);
    EXPECT_EQ(moved.count(), 1);
    expectSavedOnHide(*page, {{"frameAdjustEnable", "true"}, {"frameCompareEnable", "true"},
                              {"frameCompareOpacity", "100"}, {"frameComparePosition", "70"}});

    // Another display mode takes the screen: the switch follows.
    page->show();
    VideoOption::getInstance()->enableZoomMode(true, true);
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(field(FRAME_CAP_CTL, 4, 4), 0u);

    pressKey(KeyCtl::F2, KeyCtl::FUNC_SCREENSHOT_COMPARE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field(FRAME_CAP_CTL, 4, 4) == 1u; }, 5000));
    EXPECT_TRUE(button->isChecked());
    EXPECT_FALSE(VideoOption::getInstance()->isZoom());
    click(child<QPushButton>(*page, "frameGetTab"));
    EXPECT_EQ(stack->currentWidget(), &page->getWidget());
}
