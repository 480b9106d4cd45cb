#include "SystemUpgrade.h"

#include "Console.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "UartAPI.h"
#include "ThreadName.h"
#include "ui_SystemUpgrade.h"

#include <QMetaObject>
#include <chrono>
#include <cstdint>
#include <thread>
#include <unistd.h>

std::atomic<SystemUpgrade *> SystemUpgrade::page{nullptr};

namespace {

const char *const packageFound = QT_TRANSLATE_NOOP("SystemUpgrade", "检测到升级文件，请确认是否升级!");
const char *const noPackage = QT_TRANSLATE_NOOP("SystemUpgrade", "请将升级文件放入USB设备中并插入系统!");
const char *const upgradingNow = QT_TRANSLATE_NOOP("SystemUpgrade", "正在升级中，请勿关机和断开电源!");
const char *const upgradeFailedText = QT_TRANSLATE_NOOP("SystemUpgrade", "升级失败");
const char *const mcuUpgradeFailedText = QT_TRANSLATE_NOOP("SystemUpgrade", "MCU升级失败，请重新开机并长按F1");

// The bar: unpacking 10, reading 20, copying 80 (40 when the MCU follows, which
// then runs from 50 to 100).
constexpr int progressUnpacking = 10;
constexpr int progressReading = 20;
constexpr int progressCopying = 80;
constexpr int progressCopyingBeforeMcu = 40;
constexpr int progressMcuStart = 50;
constexpr int progressDone = 100;
constexpr int mcuDone = 100;

constexpr std::chrono::seconds restartDelay(5);
constexpr std::chrono::milliseconds mcuNoticeDelay(30);
// Tells the MCU that the system restarts after an upgrade.
constexpr uint8_t mcuUpdateMode = 0x0C;

} // namespace

SystemUpgrade::SystemUpgrade(QWidget *parent) : QFrame(parent), ui(new Ui_SystemUpgrade)
{
    setUpForm(ui, this);
    page = this;
    connect(ui->upgradeButton, &QPushButton::clicked, this, &SystemUpgrade::slotUpgrade);
    connect(this, &SystemUpgrade::signalMcuUpgradeFailed, this, &SystemUpgrade::slotMcuUpgradeFailed);
    ui->upgradeProgressBar->hide();
    translateUi();
}

SystemUpgrade::~SystemUpgrade()
{
    SystemUpgrade *self = this;
    page.compare_exchange_strong(self, nullptr);
    delete ui;
}

void SystemUpgrade::translateUi()
{
    ui->upgradeTitleLabel->setText(tr("系统升级"));
    ui->upgradeButton->setText(tr("升级"));
    if (message != nullptr)
        ui->upgradeLabel->setText(tr(message));
}

void SystemUpgrade::setMessage(const char *text)
{
    message = text;
    ui->upgradeLabel->setText(tr(text));
}

void SystemUpgrade::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    if (!upgrading)
        showPackageState();
}

void SystemUpgrade::showPackageState()
{
    const bool present = Upgrade::isExistUpgradePackage();
    setMessage(present ? packageFound : noPackage);
    ui->upgradeButton->setEnabled(present);
    ui->upgradeProgressBar->hide();
}

void SystemUpgrade::slotUpgrade()
{
    upgrading = true;
    upgradeMcu = false;
    ui->upgradeButton->setEnabled(false);
    setMessage(upgradingNow);
    console::print("****Upgrade start****\n");
    emit signalUpgrade();
    KeyCtl::getInstance()->disableKey(true);
    ui->upgradeProgressBar->setValue(0);
    ui->upgradeProgressBar->show();
    Upgrade::getInstance()->start(upgdateProcessBar);
}

void SystemUpgrade::upgdateProcessBar(Upgrade::UpgradeState state)
{
    if (SystemUpgrade *target = page)
        QMetaObject::invokeMethod(target, [target, state] { target->applyState(state); }, Qt::QueuedConnection);
}

void SystemUpgrade::mcuUpgradePercent(int percent)
{
    SystemUpgrade *target = page;
    if (target == nullptr)
        return;
    if (percent < 0)
        emit target->signalMcuUpgradeFailed();
    else
        QMetaObject::invokeMethod(target, [target, percent] { target->applyMcuPercent(percent); },
                                  Qt::QueuedConnection);
}

void SystemUpgrade::applyState(Upgrade::UpgradeState state)
{
    switch (state) {
    case Upgrade::UNPACK_START:
        ui->upgradeProgressBar->setValue(progressUnpacking);
        break;
    case Upgrade::READ_XML:
        ui->upgradeProgressBar->setValue(progressReading);
        break;
    case Upgrade::UPGRADE_MCU:
        upgradeMcu = true;
        break;
    case Upgrade::COPY_FILE:
        ui->upgradeProgressBar->setValue(upgradeMcu ? progressCopyingBeforeMcu : progressCopying);
        break;
    case Upgrade::COMPLETE:
        if (!upgradeMcu) {
            ui->upgradeProgressBar->setValue(progressDone);
            restart();
            break;
        }
        ui->upgradeProgressBar->setValue(progressMcuStart);
        if (!UartUpdateMcu(mcuUpgradePercent, false))
            slotMcuUpgradeFailed();
        configSave(false);
        break;
    case Upgrade::UNPACK_FAILED:
    case Upgrade::READ_XML_FAILED:
    case Upgrade::CHECK_FILE_FAILED:
    case Upgrade::COPY_FILE_FAILED:
        upgradeFailed(upgradeFailedText);
        break;
    case Upgrade::CHECK_FILE:
    case Upgrade::RESTART:
        break;
    }
}

void SystemUpgrade::applyMcuPercent(int percent)
{
    ui->upgradeProgressBar->setValue(progressMcuStart + percent / 2);
    if (percent == mcuDone)
        restart();
}

void SystemUpgrade::slotMcuUpgradeFailed()
{
    setMessage(mcuUpgradeFailedText);
}

// A failed upgrade keeps its progress and installs nothing more; the keys work
// again and showing the page anew offers the upgrade again.
void SystemUpgrade::upgradeFailed(const char *text)
{
    setMessage(text);
    upgrading = false;
    KeyCtl::getInstance()->disableKey(false);
}

void SystemUpgrade::restart()
{
    std::thread([] {
        nameThread("restart");
        ::sync();
        ::sync();
        console::print("***restart system after 5 seconds***\n");
        std::this_thread::sleep_for(restartDelay);
        const uint8_t restarting = 0;
        UartSendValue(mcuUpdateMode, &restarting, 1);
        std::this_thread::sleep_for(mcuNoticeDelay);
        Upgrade::getInstance()->restart();
    }).detach();
}
