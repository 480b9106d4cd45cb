#include "ResetSystem.h"

#include "Console.h"
#include "CustomIcon.h"
#include "LutConfig.h"
#include "SetUpForm.h"
#include "UartAPI.h"
#include "ui_ResetSystem.h"

#include <cstdint>

namespace {

// The MCU value of the wireless channel, reset to channel 0.
constexpr uint8_t mcuChannel = 0x01;

} // namespace

ResetSystem::ResetSystem(QWidget *parent) : QFrame(parent), ui(new Ui_ResetSystem)
{
    setUpForm(ui, this);
    ui->resetSystemIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/warning.png")));
    connect(ui->msgOk, &QPushButton::clicked, this, &ResetSystem::slotMsgOk);
    connect(ui->msgCancel, &QPushButton::clicked, this, &ResetSystem::slotMsgCancel);
    translateUi();
}

ResetSystem::~ResetSystem()
{
    delete ui;
}

void ResetSystem::translateUi()
{
    ui->labelText->setText(tr("是否恢复出厂设置"));
    ui->msgOk->setText(tr("确定"));
    ui->msgCancel->setText(tr("取消"));
}

void ResetSystem::slotMsgOk()
{
    const uint8_t channel = 0;
    UartSendValue(mcuChannel, &channel, 1);
    LutConfig::getInstance()->reset();
    configReset();
    console::print("reset system ok\n");
    emit signalMsgOk();
}

void ResetSystem::slotMsgCancel()
{
    console::print("reset system cancel\n");
    emit signalMsgHide();
}
