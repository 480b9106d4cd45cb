#include "ScreenFrameSuccess.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_ScreenFrameSuccess.h"

ScreenFrameSuccess::ScreenFrameSuccess(QWidget *parent) : QFrame(parent), ui(new Ui_ScreenFrameSuccess)
{
    setUpForm(ui, this);
    ui->screenFrameSuccessIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/success.png")));
    translateUi();
}

ScreenFrameSuccess::~ScreenFrameSuccess()
{
    delete ui;
}

void ScreenFrameSuccess::translateUi()
{
    ui->labelText->setText(tr("截图成功 USB:Image/"));
}
