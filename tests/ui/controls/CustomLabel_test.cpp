#include "CustomLabel.h"
#include "Render.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor barColor(255, 217, 230);

// The columns of a row that carry bar colour.
std::vector<int> barColumns(const QImage &image, int y)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == barColor.rgba())
            columns.push_back(x);
    }
    return columns;
}

TEST(CustomLabel, SignalBarsFollowTheStrength)
{
    CustomLabel label;
    label.resize(60, 26);
    label.setCustomLabelType(CustomLabel::LABEL_SIGNAL);
    EXPECT_TRUE(barColumns(renderControl(label), 22).empty()) << "strength 0 draws nothing";

    label.setSignalStrength(3);
    QImage image = renderControl(label);
    // Three 3-pixel bars at x 23, 30 and 37, from y 23 up to 20, 15 and 10
    // (the pen reaches a pixel past either end).
    EXPECT_EQ(barColumns(image, 22), (std::vector<int>{22, 23, 24, 29, 30, 31, 36, 37, 38}));
    EXPECT_EQ(barColumns(image, 18), (std::vector<int>{29, 30, 31, 36, 37, 38}));
    EXPECT_EQ(barColumns(image, 13), (std::vector<int>{36, 37, 38}));
    EXPECT_TRUE(barColumns(image, 8).empty());
    EXPECT_TRUE(barColumns(image, 25).empty());

    label.setSignalStrength(9);
    image = renderControl(label);
    EXPECT_EQ(barColumns(image, 22).size(), 15u);
    EXPECT_EQ(barColumns(image, 1), (std::vector<int>{50, 51, 52}));
}

TEST(CustomLabel, BatteryGaugeWidthAndColourFollowTheLevel)
{
    CustomLabel label;
    label.resize(40, 22);
    label.setCustomLabelType(CustomLabel::LABEL_BATTERY);
    const QColor green(0, 226, 32);
    const QColor red(255, 0, 0);
    const struct {
        int level;
        QColor color;
        int width; // from x 4, rows 4 to 17
    } cases[] = {{20, red, 6}, {21, green, 6}, {100, green, 31}, {150, green, 31}, {1, red, 0}, {-7, red, 0}};
    for (const auto &each : cases) {
        label.setBatteryLevel(each.level);
        const QImage image = renderControl(label);
        for (int y : {3, 4, 17, 18}) {
            const int expected = y < 4 || y > 17 ? 0 : each.width;
            EXPECT_EQ(countInRow(image, y, 0, 40, each.color), expected) << each.level << " row " << y;
        }
        if (each.width > 0) {
            EXPECT_EQ(image.pixel(4, 10), each.color.rgba()) << each.level;
        }
    }
}

TEST(CustomLabel, DraggingMovesTheRectangleWithinTheLabelAndReportsIt)
{
    CustomLabel label;
    label.resize(200, 100);
    label.setCustomLabelType(CustomLabel::LABEL_RANGE);
    label.setCustomRect(QRect(10, 10, 40, 30));
    label.show();
    std::vector<QRect> ranges;
    QObject::connect(&label, &CustomLabel::signalUpdateRange, [&](QRect &rect) { ranges.push_back(rect); });
    auto drag = [&](QPoint from, std::vector<QPoint> path) {
        QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, from);
        for (QPoint to : path) {
            QMouseEvent move(QEvent::MouseMove, to, label.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(&label, &move);
        }
        QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, path.back());
    };

    drag(QPoint(100, 80), {QPoint(120, 90)});
    EXPECT_TRUE(ranges.empty()) << "a press outside the rectangle drags nothing";

    // Far past the corner the rectangle stops at the label's edges.
    drag(QPoint(20, 20), {QPoint(30, 25), QPoint(50, 40), QPoint(400, 300)});
    EXPECT_EQ(ranges, (std::vector<QRect>{QRect(20, 15, 40, 30), QRect(40, 30, 40, 30), QRect(160, 70, 40, 30)}));

    const QImage image = renderControl(label);
    const QRgb accent = QColor(0x2D, 0x9C, 0xFF).rgba();
    EXPECT_EQ(image.pixel(160, 85), accent);
    EXPECT_NE(image.pixel(10, 20), accent) << "nothing left where it was";

    label.setCustomLabelType(CustomLabel::LABEL_SIGNAL);
    drag(QPoint(170, 80), {QPoint(100, 50)});
    EXPECT_EQ(ranges.size(), 3u) << "only the range kind drags";
}

} // namespace
