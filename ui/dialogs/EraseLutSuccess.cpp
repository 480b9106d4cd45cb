#include "EraseLutSuccess.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_EraseLutSuccess.h"

EraseLutSuccess::EraseLutSuccess(QWidget *parent) : QFrame(parent), ui(new Ui_EraseLutSuccess)
{
    setUpForm(ui, this);
    ui->eraseLutSuccessIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/success.png")));
    translateUi();
}

EraseLutSuccess::~EraseLutSuccess()
{
    delete ui;
}

void EraseLutSuccess::translateUi()
{
    ui->labelText->setText(tr("删除自定义LUT文件成功"));
}
