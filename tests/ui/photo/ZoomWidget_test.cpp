#include "BitWatch.h"
#include "Config.h"
#include "CustomLabel.h"
#include "KeyCtl.h"
#include "PageTest.h"
#include "VideoOption.h"
#include "ZoomWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

class ZoomWidgetTest : public OnePageTest<ZoomWidget>
{
protected:
    VideoOption *video() { return VideoOption::getInstance(); }
    // A main SDI picture measured, as the window does when one arrives.
    void sourceArrives(int width, int height)
    {
        Config::setVideoWidth(0, width);
        Config::setVideoHeight(0, height);
        video()->setInput(VideoOption::MAIN_CHANNEL, "SDI");
        video()->setSize(VideoOption::MAIN_CHANNEL, width, height);
    }
    void zoomIn(int steps)
    {
        for (int i = 0; i < steps; ++i)
            video()->setScaleFactor(VideoOption::SCALE_ZOOM_IN);
    }
    // The page opened again, as after zooming on the main screen.
    void reopen()
    {
        page->hide();
        page->show();
    }

    CustomLabel *area() { return child<CustomLabel>(*page, "zoomArea"); }
    // A finger on the rectangle's centre, moved by (dx, dy) and lifted.
    void drag(int dx, int dy)
    {
        const QPoint from = area()->customRect().center();
        const QPoint to = from + QPoint(dx, dy);
        QTest::mousePress(area(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(area(), &move);
        QTest::mouseRelease(area(), Qt::LeftButton, Qt::NoModifier, to);
    }
    std::pair<uint32_t, uint32_t> crop() { return {field(MAIN_RESIZE_CTL, 19, 8), field(MAIN_RESIZE_CTL, 31, 20)}; }
    uint32_t cropOn() { return field(MAIN_RESIZE_CTL, 4, 4); }
    QPushButton *zoomSwitch() { return child<QPushButton>(*page, "zoomEnable"); }
};

using Position = std::pair<uint32_t, uint32_t>;

} // namespace

TEST_F(ZoomWidgetTest, TheSwitchAndItsFrontKeyToggleZoom)
{
    build("[AppConfig]\nphotoZoomEnable=maybe\n");
    sourceArrives(1920, 1080);
    EXPECT_FALSE(area()->isEnabled());
    click(zoomSwitch());
    EXPECT_EQ(cropOn(), 1u);
    EXPECT_TRUE(area()->isEnabled());
    expectSavedOnHide(*page, {{"photoZoomEnable", "true"}});

    page->show();
    pressKey(KeyCtl::F3, KeyCtl::FUNC_ZOOM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cropOn() == 0u; }, 5000));
    EXPECT_FALSE(zoomSwitch()->isChecked());
    EXPECT_FALSE(area()->isEnabled());
    clickKey(KeyCtl::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cropOn() == 1u; }, 5000));
    pressKey(KeyCtl::F2, KeyCtl::FUNC_ANAMORPHIC);
    QTest::qWait(50);
    EXPECT_TRUE(video()->isZoom()) << "another function leaves zoom alone";
    clickKey(KeyCtl::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cropOn() == 0u; }, 5000));
    expectSavedOnHide(*page, {{"photoZoomEnable", "false"}});
}

TEST_F(ZoomWidgetTest, TheRectangleStandsForTheCropWhileZoomLasts)
{
    // Stored zoom waits for the picture to be applied.
    build("[AppConfig]\nphotoZoomEnable=true\n");
    EXPECT_TRUE(video()->isZoom());
    EXPECT_TRUE(zoomSwitch()->isChecked());
    EXPECT_EQ(cropOn(), 0u) << "nothing recomputed at start";
    sourceArrives(1920, 1080);
    EXPECT_EQ(cropOn(), 1u);
    zoomIn(10); // 1280 x 720, centred at (320, 180)
    reopen();
    EXPECT_EQ(area()->customRect(), QRect(80, 45, 320, 180));

    drag(1000, 1000);
    EXPECT_EQ(crop(), (Position{640, 359})) << "the last line stays free";
    EXPECT_EQ(area()->customRect().topLeft(), QPoint(160, 90));
    drag(-1000, -1000);
    EXPECT_EQ(crop(), (Position{0, 0}));
    drag(40, 45);
    EXPECT_EQ(crop(), (Position{160, 180}));

    // Dragging on the main screen goes on from there.
    video()->setScaleOffset(20, 0);
    EXPECT_EQ(crop(), (Position{170, 180}));
    EXPECT_EQ(video()->getPanX(), 170);

    // A moved rectangle is latched into the scaler.
    int step = 10;
    EXPECT_TRUE(watchEdge(
        board().pl(), RIGHT_SIDE_POS, 24, false, [] {}, [&] { drag(step = -step, 0); }, [](uint32_t) {}));
    EXPECT_EQ(field(RIGHT_SIDE_POS, 24, 24), 1u);

    // Without zoom the rectangle stays and the switch follows other modes.
    video()->enableLightMeterMode(true, true);
    EXPECT_FALSE(zoomSwitch()->isChecked());
    EXPECT_FALSE(area()->isEnabled());
    const QRect before = area()->customRect();
    drag(100, 0);
    EXPECT_EQ(area()->customRect(), before);
    EXPECT_EQ(crop(), (Position{0, 0}));
    expectSavedOnHide(*page, {{"photoZoomEnable", "false"}});
}

TEST_F(ZoomWidgetTest, AWideSourceMapsOntoTheSameArea)
{
    build("[AppConfig]\nphotoZoomEnable=true\n");
    sourceArrives(4096, 2160);
    zoomIn(1); // 3939 x 2077
    reopen();
    EXPECT_EQ(area()->customRect().size(), QSize(462, 260));
    drag(1000, 1000);
    EXPECT_EQ(crop(), (Position{157, 82}));
    drag(-1000, -1000);
    EXPECT_EQ(crop(), (Position{0, 0}));

    // At the whole frame there is nothing to move.
    sourceArrives(1920, 1080);
    reopen();
    EXPECT_EQ(area()->customRect(), QRect(0, 0, 480, 270));
    drag(100, 100);
    EXPECT_EQ(crop(), (Position{0, 0}));
}
