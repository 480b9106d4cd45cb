#include "ZqEventFilter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace {

// The message area: the only live part of the screen while a confirmation is up.
constexpr int messageLeft = 607;
constexpr int messageRight = 1313;
constexpr int messageTop = 30;
constexpr int messageBottom = 142;

// The dynamic property that marks an exempt top-level widget.
constexpr const char *exemptProperty = "touchGateExempt";

// The widget a mouse event is for: the receiver itself, or the top-level
// widget whose native window received it.
QWidget *widgetOf(QObject *receiver)
{
    if (receiver->isWidgetType())
        return static_cast<QWidget *>(receiver);
    for (QWidget *topLevel : QApplication::topLevelWidgets()) {
        if (topLevel->windowHandle() == receiver)
            return topLevel;
    }
    return nullptr;
}

// In an exempt window, or in a popup or dialog of one (a combo box's list).
bool exempt(QObject *receiver)
{
    QWidget *widget = widgetOf(receiver);
    for (QWidget *window = widget != nullptr ? widget->window() : nullptr; window != nullptr;
         window = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr) {
        if (window->property(exemptProperty).toBool())
            return true;
    }
    return false;
}

bool inMessageArea(const QPoint &position)
{
    return position.x() >= messageLeft && position.x() <= messageRight && position.y() >= messageTop
           && position.y() <= messageBottom;
}

} // namespace

ZqEventFilter::ZqEventFilter(QObject *parent) : QObject(parent) {}

void ZqEventFilter::setTouchState(int state)
{
    if (state >= TOUCH_NORMAL && state <= TOUCH_MESSAGE)
        touchState = state;
}

void ZqEventFilter::exemptWindow(QWidget &window)
{
    window.setProperty(exemptProperty, true);
}

QPoint ZqEventFilter::windowPosition(QObject *receiver, const QPointF &localPosition)
{
    const QPoint rounded(static_cast<int>(std::floor(localPosition.x() + 0.5)),
                         static_cast<int>(std::floor(localPosition.y() + 0.5)));
    if (receiver->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(receiver);
        return widget->mapTo(widget->window(), rounded);
    }
    return rounded;
}

bool ZqEventFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    // A mouse event reaches the window first, then the widget under it. A
    // swallowed event goes no further, so each release is judged once.
    if (!watched->isWidgetType() && qobject_cast<QWindow *>(watched) == nullptr)
        return false;
    if (touchState != TOUCH_NORMAL && exempt(watched))
        return false;

    switch (touchState) {
    case TOUCH_SCANNING:
    case TOUCH_SCREEN_OFF:
        return true;
    case TOUCH_MESSAGE: {
        const QPoint position = windowPosition(watched, static_cast<QMouseEvent *>(event)->localPos());
        if (inMessageArea(position))
            return false;
        if (type == QEvent::MouseButtonRelease)
            emit clicked(position.x(), position.y());
        return true;
    }
    case TOUCH_LOCKED:
    case TOUCH_LOCKED_HIDDEN:
        if (type == QEvent::MouseButtonRelease) {
            const QPoint position = windowPosition(watched, static_cast<QMouseEvent *>(event)->localPos());
            emit clicked(position.x(), position.y());
        }
        return true;
    default:
        return false;
    }
}
