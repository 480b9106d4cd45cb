#include "EraseLutSuccess.h"

#include "ui_EraseLutSuccess.h"

EraseLutSuccess::EraseLutSuccess(QWidget *parent) : QFrame(parent), ui(new Ui_EraseLutSuccess)
{
    ui->setupUi(this);
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
