#pragma once

#include "Config.h"
#include "Upgrade.h"

#include <QFrame>
#include <atomic>

class Ui_SystemUpgrade;

// The system-upgrade page: tells whether a stick holds an upgrade package,
// starts the upgrade on the user's confirmation and follows it on a progress
// bar, hands over to the MCU firmware update when the package carries one, and
// restarts the system at the end. The upgrade and the MCU update report from
// their own threads; the page takes their reports on its own thread.
class SystemUpgrade : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit SystemUpgrade(QWidget *parent = nullptr);
    ~SystemUpgrade() override;

    void translateUi() override;

signals:
    void signalUpgrade();
    void signalMcuUpgradeFailed();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotUpgrade();
    void slotMcuUpgradeFailed();

private:
    // The upgrade's state callback, on the upgrade thread.
    static void upgdateProcessBar(Upgrade::UpgradeState state);
    // The MCU updater's progress callback, on its thread; negative on failure.
    static void mcuUpgradePercent(int percent);
    // Syncs, tells the MCU and restarts the machine, from a thread of its own.
    static void restart();

    void showPackageState();
    void applyState(Upgrade::UpgradeState state);
    void applyMcuPercent(int percent);
    void setMessage(const char *text);
    void upgradeFailed(const char *text);

    Ui_SystemUpgrade *ui;
    // The untranslated text of the message shown, for a change of language.
    const char *message = nullptr;
    bool upgrading = false;
    bool upgradeMcu = false;

    static std::atomic<SystemUpgrade *> page;
};
