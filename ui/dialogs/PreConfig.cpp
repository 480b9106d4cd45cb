#include "PreConfig.h"

#include "Console.h"
#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_PreConfig.h"

PreConfig::PreConfig(QWidget *parent) : QFrame(parent), ui(new Ui_PreConfig)
{
    setUpForm(ui, this);
    ui->preConfigIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/question.png")));
    connect(ui->msgOk, &QPushButton::clicked, this, &PreConfig::slotMsgOk);
    connect(ui->msgCancel, &QPushButton::clicked, this, &PreConfig::slotMsgCancel);
    translateUi();
}

PreConfig::~PreConfig()
{
    delete ui;
}

void PreConfig::translateUi()
{
    ui->labelText->setText(type == PRE_CONFIG_SAVE ? tr("是否覆盖之前的预设值") : tr("是否加载保存的预设值"));
    ui->msgOk->setText(tr("确定"));
    ui->msgCancel->setText(tr("取消"));
}

void PreConfig::setPreConfigType(PreConfig::PreConfigType type)
{
    if (type != PRE_CONFIG_SAVE && type != PRE_CONFIG_LOAD) {
        console::warning("favourite request %d unknown\n", static_cast<int>(type));
        return;
    }
    this->type = type;
    translateUi();
}

// A favourite that could not be written is not reported as saved; the store
// has printed why. A missing favourite loads nothing and changes nothing.
void PreConfig::slotMsgOk()
{
    if (type == PRE_CONFIG_SAVE) {
        if (appConfig->favouriteSave())
            console::print("favourite config save ok\n");
    } else {
        if (appConfig->favouriteLoad())
            configUpdate();
        console::print("favourite config load ok\n");
    }
    emit signalMsgHide();
}

void PreConfig::slotMsgCancel()
{
    emit signalMsgHide();
}
