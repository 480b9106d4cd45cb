#include "ImportLutFailed.h"

#include "SetUpForm.h"
#include "ui_ImportLutFailed.h"

ImportLutFailed::ImportLutFailed(QWidget *parent) : QFrame(parent), ui(new Ui_ImportLutFailed)
{
    setUpForm(ui, this);
    translateUi();
}

ImportLutFailed::~ImportLutFailed()
{
    delete ui;
}

void ImportLutFailed::translateUi()
{
    ui->labelText->setText(tr("超过导入上限50个，导入失败"));
}
