#include "ImportLutSuccess.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_ImportLutSuccess.h"

ImportLutSuccess::ImportLutSuccess(QWidget *parent) : QFrame(parent), ui(new Ui_ImportLutSuccess)
{
    setUpForm(ui, this);
    ui->importLutSuccessIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/success.png")));
    translateUi();
}

ImportLutSuccess::~ImportLutSuccess()
{
    delete ui;
}

void ImportLutSuccess::translateUi()
{
    ui->labelText->setText(tr("导入自定义LUT文件成功"));
}
