#pragma once

#include <QObject>

class QEvent;

// Every widget asks, when it is built, to be polished by the style sheet
// once the event loop runs. With the menu pages and messages built at start,
// that is hundreds of widgets nobody sees yet, polished before the first
// frame. Installed on the application, this filter drops the request of a
// widget that is hidden then: Qt polishes a widget anyway when it is first
// shown, and most widgets polish themselves when a layout first asks their
// size.
class PolishOnShow : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override;
};
