#include "ColorLabel.h"

#include <QPainter>

namespace {

// Green and blue are scaled by these factors (per mille), so that the swatch
// on the panel matches the picture under the probe.
constexpr int greenFactor = 852;
constexpr int blueFactor = 903;

} // namespace

ColorLabel::ColorLabel(QWidget *parent) : QLabel(parent)
{
}

void ColorLabel::setColor(int r, int g, int b)
{
    r = qBound(0, r, 255);
    g = qBound(0, g, 255);
    b = qBound(0, b, 255);
    if (r == red && g == green && b == blue)
        return;
    red = r;
    green = g;
    blue = b;
    displayed = QColor(r, g * greenFactor / 1000, b * blueFactor / 1000, 255);
    update();
}

void ColorLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), displayed);
}
