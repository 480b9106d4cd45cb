#pragma once

#include "MenuPage.h"

class Ui_SystemInfoAbout;
class Version;

// What the monitor is and runs: product and model, the versions of the
// application, the logic and the MCU firmware, where to get support; and the
// factory reset.
class SystemInfoAbout : public MenuPage
{
    Q_OBJECT

public:
    explicit SystemInfoAbout(QWidget *parent = nullptr);
    ~SystemInfoAbout() override;

    void translateUi() override;

    // The reset confirmation is gone.
    void resetButtonUse();

signals:
    void signalReset();

protected:
    // The MCU reports its version some time after start; every showing reads
    // the versions anew.
    void showEvent(QShowEvent *event) override;

private slots:
    void slotReset();

private:
    void showVersions();

    Ui_SystemInfoAbout *ui;
    Version *version;
};
