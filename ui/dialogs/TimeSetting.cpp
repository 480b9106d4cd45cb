#include "TimeSetting.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_TimeSetting.h"

TimeSetting::TimeSetting(QWidget *parent) : QFrame(parent), ui(new Ui_TimeSetting)
{
    setUpForm(ui, this);
    ui->timeSettingIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/success.png")));
    translateUi();
}

TimeSetting::~TimeSetting()
{
    delete ui;
}

void TimeSetting::translateUi()
{
    ui->labelText->setText(tr("时间设置成功"));
}
