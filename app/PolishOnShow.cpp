#include "PolishOnShow.h"

#include <QEvent>
#include <QWidget>

bool PolishOnShow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::PolishRequest && watched->isWidgetType())
        return !static_cast<QWidget *>(watched)->isVisible();
    return QObject::eventFilter(watched, event);
}
