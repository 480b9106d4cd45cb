#include "CustomPushButton.h"

#include "Console.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

CustomPushButton::CustomPushButton(QWidget *parent) : QPushButton(parent)
{
}

void CustomPushButton::setCustomBtIcon(const QString &path, int x, int y, int w, int h)
{
    if (icon.load(path, x, y, w, h))
        update();
}

void CustomPushButton::setCustomBtText(const QString &text, int x, int y, int w, int h, int pixelSize, int weight)
{
    setCustomBtText(text, x, y, w, h, pixelSize, weight, QColor());
}

void CustomPushButton::setCustomBtText(const QString &text, int x, int y, int w, int h, int pixelSize, int weight,
                                       const QColor &color)
{
    QFont font = this->font();
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    font.setWeight(qBound(0, weight, 99));
    setCustomBtText(text, x, y, w, h, font, color);
}

void CustomPushButton::setCustomBtText(const QString &text, int x, int y, int w, int h, const QFont &font,
                                       const QColor &color)
{
    this->text = text;
    textRect = QRect(x, y, w, h);
    textFont = font;
    textColor = color;
    textOn = true;
    update();
}

void CustomPushButton::enableCustomBtMultyState(bool on, int state)
{
    multyState = on;
    if (isState(state))
        currentState = static_cast<CustomBtState>(state);
    update();
}

void CustomPushButton::setCustomBtMultyStatePixmap(CustomPushButton::CustomBtState state, const QString &path,
                                                   const double &opacity)
{
    if (!isState(state))
        return;
    QPixmap pixmap(path);
    if (pixmap.isNull()) {
        console::warning("button state picture %s cannot be read\n", path.toLocal8Bit().constData());
        return;
    }
    statePixmap[state] = pixmap;
    stateOpacity[state] = std::isfinite(opacity) ? qBound(0.0, opacity, 1.0) : 1.0;
    update();
}

void CustomPushButton::setCustomBtMultyState(CustomPushButton::CustomBtState state)
{
    if (!isState(state))
        return;
    currentState = state;
    update();
}

void CustomPushButton::setCustomNormal(bool on)
{
    normal = on;
    update();
}

void CustomPushButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (normal)
        return;
    QPainter painter(this);
    if (multyState) {
        painter.setOpacity(stateOpacity[currentState]);
        painter.drawPixmap(rect(), statePixmap[currentState]);
        return;
    }
    icon.paint(painter);
    if (textOn) {
        painter.setFont(textFont);
        painter.setPen(textColor.isValid() ? textColor : palette().color(QPalette::ButtonText));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void CustomPushButton::mousePressEvent(QMouseEvent *event)
{
    if (normal)
        pressPos = event->pos();
    QPushButton::mousePressEvent(event);
}
