#include "ZqEventFilter.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A 1920 x 1080 window with a button in the message area and one outside,
// under the filter as the application installs it; touches go in through
// the window, as the panel's do.
class ZqEventFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(1920, 1080);
        inside = new QPushButton(&window);
        inside->setGeometry(700, 40, 200, 80);
        outside = new QPushButton(&window);
        outside->setGeometry(100, 500, 200, 80);
        for (QPushButton *button : {inside, outside})
            QObject::connect(button, &QPushButton::clicked, [this, button] { pressed.push_back(button); });
        qApp->installEventFilter(&filter);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override { qApp->removeEventFilter(&filter); }

    void tap(const QPoint &position)
    {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, position);
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, position, 20);
    }

    ZqEventFilter filter;
    QWidget window;
    QPushButton *inside = nullptr;
    QPushButton *outside = nullptr;
    std::vector<QPushButton *> pressed;
};

} // namespace

// Normal, every tap goes through; locked, the releases come back as clicks
// instead; scanning and with the screen off, not even that.
TEST_F(ZqEventFilterTest, EachStatePassesReportsOrSwallowsTheTaps)
{
    const std::vector<QPushButton *> both = {outside, inside};
    const QList<QList<QVariant>> reported = {{150, 540}, {750, 80}};
    for (int state : {ZqEventFilter::TOUCH_NORMAL, ZqEventFilter::TOUCH_LOCKED, ZqEventFilter::TOUCH_LOCKED_HIDDEN,
                      ZqEventFilter::TOUCH_SCANNING, ZqEventFilter::TOUCH_SCREEN_OFF}) {
        pressed.clear();
        filter.setTouchState(state);
        QSignalSpy clicks(&filter, &ZqEventFilter::clicked);
        tap({150, 540});
        tap({750, 80});
        const bool locked = state == ZqEventFilter::TOUCH_LOCKED || state == ZqEventFilter::TOUCH_LOCKED_HIDDEN;
        EXPECT_EQ(pressed, state == ZqEventFilter::TOUCH_NORMAL ? both : std::vector<QPushButton *>())
            << "state " << state;
        EXPECT_EQ(clicks, locked ? reported : QList<QList<QVariant>>()) << "state " << state;
    }
}

TEST_F(ZqEventFilterTest, AMessageKeepsOnlyItsAreaLiveAndReportsTapsElsewhere)
{
    filter.setTouchState(ZqEventFilter::TOUCH_MESSAGE);
    QSignalSpy clicks(&filter, &ZqEventFilter::clicked);
    tap({750, 80});
    EXPECT_EQ(pressed, (std::vector<QPushButton *>{inside}));
    EXPECT_TRUE(clicks.isEmpty());
    tap({150, 540});
    EXPECT_EQ(pressed.size(), 1u);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0], (QList<QVariant>{150, 540}));
    // The area's edges are inclusive: 607..1313 by 30..142.
    for (const QPoint &edge : {QPoint(607, 30), QPoint(1313, 142)}) {
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, edge);
        EXPECT_EQ(clicks.size(), 1);
    }
    for (const QPoint &beyond : {QPoint(606, 80), QPoint(1314, 80), QPoint(700, 29), QPoint(700, 143)})
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, beyond);
    EXPECT_EQ(clicks.size(), 5);
}

TEST_F(ZqEventFilterTest, PositionsAreInWindowCoordinatesRoundedHalfUp)
{
    EXPECT_EQ(ZqEventFilter::windowPosition(outside, QPointF(10.5, 20.49)), QPoint(111, 520));
    EXPECT_EQ(ZqEventFilter::windowPosition(window.windowHandle(), QPointF(-0.5, 3.5)), QPoint(0, 4));
    // Only the six states exist.
    filter.setTouchState(ZqEventFilter::TOUCH_LOCKED);
    filter.setTouchState(6);
    filter.setTouchState(-1);
    EXPECT_EQ(filter.getTouchState(), ZqEventFilter::TOUCH_LOCKED);
}

TEST_F(ZqEventFilterTest, WindowsBesideThePanelStayLiveInEveryState)
{
    // A tool window of the virtual board, and a window it opens (as a combo
    // box opens its list), each with a button; the panel stays gated.
    QWidget beside;
    beside.resize(400, 300);
    auto *besideButton = new QPushButton(&beside);
    besideButton->setGeometry(10, 10, 200, 80);
    ZqEventFilter::exemptWindow(beside);
    QWidget opened(&beside, Qt::Tool);
    opened.resize(300, 200);
    auto *openedButton = new QPushButton(&opened);
    openedButton->setGeometry(10, 10, 200, 80);
    int besideClicks = 0;
    int openedClicks = 0;
    QObject::connect(besideButton, &QPushButton::clicked, [&] { ++besideClicks; });
    QObject::connect(openedButton, &QPushButton::clicked, [&] { ++openedClicks; });
    beside.show();
    opened.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&beside));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&opened));

    int expected = 0;
    for (int state : {ZqEventFilter::TOUCH_LOCKED, ZqEventFilter::TOUCH_SCANNING, ZqEventFilter::TOUCH_MESSAGE}) {
        filter.setTouchState(state);
        QSignalSpy clicks(&filter, &ZqEventFilter::clicked);
        QTest::mouseClick(beside.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
        QTest::mouseClick(opened.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
        ++expected;
        EXPECT_EQ(besideClicks, expected) << "state " << state;
        EXPECT_EQ(openedClicks, expected) << "state " << state;
        EXPECT_TRUE(clicks.isEmpty()) << "state " << state;
        tap({150, 540});
        EXPECT_TRUE(pressed.empty()) << "the panel is still gated in state " << state;
    }
}
