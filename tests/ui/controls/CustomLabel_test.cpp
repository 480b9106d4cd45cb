#include "CustomLabel.h"
#include "Render.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor barColor(255, 217, 230);
const QColor green(0, 226, 32);
const QColor red(255, 0, 0);

bool isBar(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == barColor.rgba();
}

// The columns of a row that carry bar colour.
std::vector<int> barColumns(const QImage &image, int y)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (isBar(image, x, y))
            columns.push_back(x);
    }
    return columns;
}

TEST(CustomLabelSignal, BarsFollowTheStrength)
{
    CustomLabel label;
    label.resize(60, 26);
    label.setCustomLabelType(CustomLabel::LABEL_SIGNAL);

    EXPECT_TRUE(barColumns(renderControl(label), 22).empty()) << "strength 0 draws nothing";

    label.setSignalStrength(3);
    QImage image = renderControl(label);
    // Three bars of 3 pixels around x 23, 30 and 37, and nothing further right.
    EXPECT_EQ(barColumns(image, 22), (std::vector<int>{22, 23, 24, 29, 30, 31, 36, 37, 38}));
    // Each from y 23 up to its own top.
    EXPECT_TRUE(isBar(image, 23, 20) && !isBar(image, 23, 18));
    EXPECT_TRUE(isBar(image, 30, 15) && !isBar(image, 30, 13));
    EXPECT_TRUE(isBar(image, 37, 10) && !isBar(image, 37, 8));
    EXPECT_TRUE(isBar(image, 37, 23) && !isBar(image, 37, 25));

    label.setSignalStrength(9);
    image = renderControl(label);
    EXPECT_EQ(label.signalStrength(), 5);
    EXPECT_TRUE(isBar(image, 44, 5) && isBar(image, 51, 1));
    EXPECT_EQ(barColumns(image, 22).size(), 15u);

    label.setSignalStrength(-1);
    EXPECT_TRUE(barColumns(renderControl(label), 22).empty());
}

TEST(CustomLabelBattery, GaugeWidthAndColourFollowTheLevel)
{
    CustomLabel label;
    label.resize(40, 22);
    label.setCustomLabelType(CustomLabel::LABEL_BATTERY);

    struct Case {
        int level;
        QColor color;
        int lastColumn; // -1: nothing drawn
    };
    const Case cases[] = {{20, red, 9}, {21, green, 9}, {100, green, 34}, {150, green, 34}, {1, red, -1},
                          {0, red, -1}, {-7, red, -1}};
    for (const Case &each : cases) {
        label.setBatteryLevel(each.level);
        const QImage image = renderControl(label);
        for (int y : {3, 4, 10, 17, 18}) {
            const int expected = each.lastColumn < 0 || y < 4 || y > 17 ? 0 : each.lastColumn - 3;
            EXPECT_EQ(countInRow(image, y, 0, image.width(), each.color), expected)
                << "level " << each.level << " row " << y;
        }
        if (each.lastColumn >= 0) {
            EXPECT_EQ(image.pixel(4, 10), each.color.rgba()) << each.level;
            EXPECT_EQ(image.pixel(each.lastColumn, 10), each.color.rgba()) << each.level;
        }
    }
}

TEST(CustomLabelRange, DraggingMovesTheRectangleAndReportsIt)
{
    CustomLabel label;
    label.resize(200, 100);
    label.setCustomLabelType(CustomLabel::LABEL_RANGE);
    label.setCustomRect(QRect(10, 10, 40, 30));
    label.show();
    std::vector<QRect> ranges;
    QObject::connect(&label, &CustomLabel::signalUpdateRange, [&](QRect &rect) { ranges.push_back(rect); });

    auto move = [&](QPoint to) {
        QMouseEvent event(QEvent::MouseMove, to, label.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    };

    // A press outside the rectangle drags nothing.
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(100, 80));
    move(QPoint(120, 90));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(120, 90));
    EXPECT_TRUE(ranges.empty());
    EXPECT_EQ(label.customRect(), QRect(10, 10, 40, 30));

    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    move(QPoint(30, 25));
    move(QPoint(50, 40));
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0], QRect(20, 15, 40, 30));
    EXPECT_EQ(ranges[1], QRect(40, 30, 40, 30));

    // Far past the corner: the rectangle stops at the label's edges.
    move(QPoint(400, 300));
    ASSERT_EQ(ranges.size(), 3u);
    EXPECT_EQ(ranges[2], QRect(160, 70, 40, 30));

    // After the release moves drag nothing.
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
    move(QPoint(0, 0));
    EXPECT_EQ(ranges.size(), 3u);

    // The outline is painted where the rectangle now is, not where it was.
    const QImage image = renderControl(label);
    const QRgb accent = QColor(0x2D, 0x9C, 0xFF).rgba();
    EXPECT_EQ(image.pixel(160, 85), accent);
    EXPECT_EQ(image.pixel(180, 70), accent);
    EXPECT_NE(image.pixel(10, 20), accent);
    EXPECT_NE(image.pixel(30, 10), accent);
}

TEST(CustomLabelKinds, OtherKindsDragNothingAndPaintNoGauge)
{
    CustomLabel label;
    label.resize(60, 26);
    label.setCustomRect(QRect(0, 0, 60, 26));
    label.setSignalStrength(5);
    label.setBatteryLevel(100);
    label.show();
    int ranges = 0;
    QObject::connect(&label, &CustomLabel::signalUpdateRange, [&](QRect &) { ++ranges; });
    for (int kind : {int(CustomLabel::LABEL_PLAIN), int(CustomLabel::LABEL_SIGNAL), 7}) {
        label.setCustomLabelType(kind);
        QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QMouseEvent event(QEvent::MouseMove, QPoint(20, 20), label.mapToGlobal(QPoint(20, 20)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
        QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        const QImage image = renderControl(label);
        EXPECT_EQ(countInRow(image, 10, 0, 60, green), 0) << kind;
        EXPECT_EQ(countInRow(image, 22, 0, 60, barColor), kind == CustomLabel::LABEL_SIGNAL ? 15 : 0) << kind;
    }
    EXPECT_EQ(ranges, 0);
}

} // namespace
