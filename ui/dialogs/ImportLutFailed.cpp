#include "ImportLutFailed.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_ImportLutFailed.h"

ImportLutFailed::ImportLutFailed(QWidget *parent) : QFrame(parent), ui(new Ui_ImportLutFailed)
{
    setUpForm(ui, this);
    ui->importLutFailedIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/fail.png")));
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
