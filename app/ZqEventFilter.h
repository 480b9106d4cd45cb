#pragma once

#include <QObject>
#include <QPoint>

class QEvent;
class QWidget;

// The application-wide touch gate. Before any widget sees a press, release or
// move, it lets the event through, swallows it, or turns its release into a
// clicked(x, y) for the main window, by the touch state: normal, locked (with
// or without the bottom bar), scanning, screen off, or a confirmation message
// up, whose area alone stays live. Positions are in window coordinates.
class ZqEventFilter : public QObject
{
    Q_OBJECT

public:
    enum TouchState : int {
        TOUCH_NORMAL = 0,
        TOUCH_LOCKED = 1,
        TOUCH_LOCKED_HIDDEN = 2,
        TOUCH_SCANNING = 3,
        TOUCH_SCREEN_OFF = 4,
        TOUCH_MESSAGE = 5,
    };

    explicit ZqEventFilter(QObject *parent = nullptr);

    int getTouchState() const { return touchState; }
    void setTouchState(int state);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // The event's position in the coordinates of its top-level window,
    // rounded to the nearest pixel, halves upward.
    static QPoint windowPosition(QObject *receiver, const QPointF &localPosition);

    // A top-level window that is not part of the panel (a tool window of the
    // virtual board): the gate lets everything through to it, whatever the
    // touch state.
    static void exemptWindow(QWidget &window);

signals:
    void clicked(int x, int y);

private:
    int touchState = TOUCH_NORMAL;
};
