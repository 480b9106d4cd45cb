#pragma once

#include "MenuPage.h"

class FanCtrl;
class Ui_ControlWidget;

// The loudspeaker volume, which the MCU sets, and the user's choice for the
// cooling fan: automatic, always on or off.
class ControlWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit ControlWidget(QWidget *parent = nullptr);
    ~ControlWidget() override;

    void configInit() override;
    void translateUi() override;

private slots:
    void slotVolumeChanged(int value);
    void slotFanChanged(int state);

private:
    void sendVolume(int percent);

    Ui_ControlWidget *ui;
    FanCtrl *fanCtrl;
};
