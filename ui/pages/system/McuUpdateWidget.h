#pragma once

#include "Config.h"

#include <QFrame>
#include <atomic>

class Ui_McuUpdateWidget;

// The MCU firmware update page, shown when the MCU asks for an update: a notice
// not to switch off and a progress bar. A successful update restarts the
// machine; a failed one leaves the failure shown while the updater retries.
class McuUpdateWidget : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit McuUpdateWidget(QWidget *parent = nullptr);
    ~McuUpdateWidget() override;

    void translateUi() override;
    // Keys off, the picture off, and the update started with the MCU already
    // waiting in its boot loader.
    void upgrade();

    // The updater's progress callback, on its thread: a percentage, negative
    // on failure; at 100 the machine restarts after a while.
    static void mcuUpgradePercent(int percent);

signals:
    void signalMcuUpgradeFailed();
    void signalMcuUpgradePercent(int percent);

private slots:
    void slotMcuUpgradeFailed();

private:
    Ui_McuUpdateWidget *ui;
    bool failed = false;

    static std::atomic<McuUpdateWidget *> page;
};
