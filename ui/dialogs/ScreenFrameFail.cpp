#include "ScreenFrameFail.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_ScreenFrameFail.h"

ScreenFrameFail::ScreenFrameFail(QWidget *parent) : QFrame(parent), ui(new Ui_ScreenFrameFail)
{
    setUpForm(ui, this);
    ui->screenFrameFailIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/fail.png")));
    translateUi();
}

ScreenFrameFail::~ScreenFrameFail()
{
    delete ui;
}

void ScreenFrameFail::translateUi()
{
    ui->labelText->setText(tr("截图失败 请插入USB设备"));
}
