#include "McuUpdateWidget.h"

#include "KeyCtl.h"
#include "OsdCtl.h"
#include "SetUpForm.h"
#include "System.h"
#include "UartAPI.h"
#include "ui_McuUpdateWidget.h"

#include <chrono>
#include <thread>

std::atomic<McuUpdateWidget *> McuUpdateWidget::page{nullptr};

namespace {

constexpr int updateDone = 100;
constexpr std::chrono::seconds rebootDelay(5);
// The layer the picture is shown on (any layer but the assist one).
constexpr int mainVideoLayer = 0;

} // namespace

McuUpdateWidget::McuUpdateWidget(QWidget *parent) : QFrame(parent), ui(new Ui_McuUpdateWidget)
{
    setUpForm(ui, this);
    page = this;
    connect(this, &McuUpdateWidget::signalMcuUpgradeFailed, this, &McuUpdateWidget::slotMcuUpgradeFailed,
            Qt::QueuedConnection);
    connect(this, &McuUpdateWidget::signalMcuUpgradePercent, ui->mcuUpdateProgressBar, &QProgressBar::setValue,
            Qt::QueuedConnection);
    translateUi();
}

McuUpdateWidget::~McuUpdateWidget()
{
    McuUpdateWidget *self = this;
    page.compare_exchange_strong(self, nullptr);
    delete ui;
}

void McuUpdateWidget::translateUi()
{
    ui->mcuUpdateLabel->setText(failed ? tr("升级失败") : tr("正在升级MCU固件，请勿关机和断开电源!"));
}

void McuUpdateWidget::upgrade()
{
    KeyCtl::getInstance()->disableKey(true);
    OsdCtl::getInstance()->setVideoEnable(mainVideoLayer, false);
    UartUpdateMcu(mcuUpgradePercent, true);
}

void McuUpdateWidget::mcuUpgradePercent(int percent)
{
    McuUpdateWidget *widget = page;
    if (percent < 0) {
        if (widget != nullptr)
            emit widget->signalMcuUpgradeFailed();
        return;
    }
    if (widget != nullptr)
        emit widget->signalMcuUpgradePercent(percent);
    if (percent == updateDone) {
        // Give the MCU time to start its new firmware before the restart.
        std::this_thread::sleep_for(rebootDelay);
        hw::system().restart();
    }
}

void McuUpdateWidget::slotMcuUpgradeFailed()
{
    failed = true;
    translateUi();
}
