#include "AntennaExternal.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_AntennaExternal.h"

AntennaExternal::AntennaExternal(QWidget *parent) : QFrame(parent), ui(new Ui_AntennaExternal)
{
    setUpForm(ui, this);
    ui->antennaExternalIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/warning.png")));
    translateUi();
}

AntennaExternal::~AntennaExternal()
{
    delete ui;
}

void AntennaExternal::translateUi()
{
    ui->labelText->setText(tr("请确保所有天线安装正确！"));
}
