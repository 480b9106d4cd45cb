#include "EraseLutSuccess.h"

#include "SetUpForm.h"
#include "ui_EraseLutSuccess.h"

EraseLutSuccess::EraseLutSuccess(QWidget *parent) : QFrame(parent), ui(new Ui_EraseLutSuccess)
{
    setUpForm(ui, this);
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
