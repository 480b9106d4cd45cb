#include "CustomLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor barColor(255, 217, 230);
constexpr int barWidth = 3;
constexpr int barBottom = 23;
// Per bar: its x and the y of its top.
constexpr int barX[CustomLabel::maxStrength] = {23, 30, 37, 44, 51};
constexpr int barTop[CustomLabel::maxStrength] = {20, 15, 10, 5, 1};

const QColor batteryColor(0, 226, 32);
const QColor batteryLowColor(255, 0, 0);
constexpr int batteryLowLevel = 20;
constexpr int batteryLeft = 4;
constexpr int batteryTop = 4;
constexpr int batteryBottom = 17;
constexpr int batteryFullWidth = 31;

const QColor rangeColor(0x2D, 0x9C, 0xFF);
constexpr int rangeLineWidth = 2;

} // namespace

CustomLabel::CustomLabel(QWidget *parent) : QLabel(parent)
{
}

void CustomLabel::setCustomLabelIcon(const QString &path, int x, int y, int w, int h)
{
    if (icon.load(path, x, y, w, h))
        update();
}

void CustomLabel::setCustomLabelType(int kind)
{
    this->kind = kind;
    update();
}

void CustomLabel::setSignalStrength(int strength)
{
    this->strength = qBound(0, strength, maxStrength);
    update();
}

void CustomLabel::setBatteryLevel(int level)
{
    this->level = qBound(0, level, 100);
    update();
}

void CustomLabel::setCustomRect(const QRect &rect)
{
    range = rect;
    update();
}

void CustomLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    icon.paint(painter);
    switch (kind) {
    case LABEL_SIGNAL:
        paintSignal(painter);
        break;
    case LABEL_RANGE:
        paintRange(painter);
        break;
    case LABEL_BATTERY:
        paintBattery(painter);
        break;
    default:
        break;
    }
}

void CustomLabel::paintSignal(QPainter &painter) const
{
    painter.setPen(QPen(barColor, barWidth));
    for (int bar = 0; bar < strength; ++bar)
        painter.drawLine(barX[bar], barBottom, barX[bar], barTop[bar]);
}

void CustomLabel::paintBattery(QPainter &painter) const
{
    const int width = level * batteryFullWidth / 100;
    if (width == 0)
        return;
    const QRect fill(QPoint(batteryLeft, batteryTop), QPoint(batteryLeft - 1 + width, batteryBottom));
    painter.fillRect(fill, level > batteryLowLevel ? batteryColor : batteryLowColor);
}

void CustomLabel::paintRange(QPainter &painter) const
{
    if (range.isEmpty())
        return;
    painter.setPen(QPen(rangeColor, rangeLineWidth));
    painter.drawRect(range);
}

void CustomLabel::mousePressEvent(QMouseEvent *event)
{
    if (kind == LABEL_RANGE && range.contains(event->pos())) {
        dragging = true;
        lastPos = event->pos();
    }
    QLabel::mousePressEvent(event);
}

// The rectangle stays on the label: a finger that leaves it drags the
// rectangle along the edge.
void CustomLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragging) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    QRect moved = range.translated(event->pos() - lastPos);
    lastPos = event->pos();
    moved.moveLeft(qBound(0, moved.left(), qMax(0, width() - moved.width())));
    moved.moveTop(qBound(0, moved.top(), qMax(0, height() - moved.height())));
    if (moved == range)
        return;
    range = moved;
    update();
    emit signalUpdateRange(range);
}

void CustomLabel::mouseReleaseEvent(QMouseEvent *event)
{
    dragging = false;
    QLabel::mouseReleaseEvent(event);
}
