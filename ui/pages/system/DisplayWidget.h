#pragma once

#include "Config.h"
#include "DisplayMainWidget.h"

#include <QFrame>

class Ui_DisplayWidget;

// The display menu: its title over the display settings page.
class DisplayWidget : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit DisplayWidget(QWidget *parent = nullptr);
    ~DisplayWidget() override;

    void translateUi() override;

    DisplayMainWidget &displayMain() { return displayMainWidget; }

signals:
    void signalScreenOff(bool off);

private:
    Ui_DisplayWidget *ui;
    DisplayMainWidget displayMainWidget;
};
