#pragma once

#include "CustomIcon.h"

#include <QLabel>
#include <QPoint>
#include <QRect>

// A label that paints, over its icon, the wireless signal bars, the battery
// gauge, or a rectangle the finger can drag (the zoom window).
class CustomLabel : public QLabel
{
    Q_OBJECT

public:
    enum CustomLabelType : int {
        LABEL_PLAIN = 0,
        LABEL_SIGNAL = 1,
        LABEL_RANGE = 2,
        LABEL_BATTERY = 3,
    };
    static constexpr int maxStrength = 5;

    explicit CustomLabel(QWidget *parent = nullptr);

    void setCustomLabelIcon(const QString &path, int x, int y, int w, int h);

    // An unknown kind paints as a plain label.
    void setCustomLabelType(int kind);
    int customLabelType() const { return kind; }
    // Bars shown, 0 to 5; numbers outside are taken as the nearest end.
    void setSignalStrength(int strength);
    int signalStrength() const { return strength; }
    // Percent, 0 to 100; numbers outside are taken as the nearest end.
    void setBatteryLevel(int level);
    int batteryLevel() const { return level; }
    void setCustomRect(const QRect &rect);
    const QRect &customRect() const { return range; }

signals:
    // The dragged rectangle, after each move.
    void signalUpdateRange(QRect &rect);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void paintSignal(QPainter &painter) const;
    void paintBattery(QPainter &painter) const;
    void paintRange(QPainter &painter) const;

    CustomIcon icon;
    int kind = LABEL_PLAIN;
    bool dragging = false;
    QPoint lastPos;
    int strength = 0;
    int level = 100;
    QRect range;
};
