#include "LutContrast.h"

#include "CustomIcon.h"
#include "SetUpForm.h"
#include "ui_LutContrast.h"

LutContrast::LutContrast(QWidget *parent) : QFrame(parent), ui(new Ui_LutContrast)
{
    setUpForm(ui, this);
    ui->lutContrastIcon->setPixmap(CustomIcon::read(QStringLiteral(":/png/msg/warning.png")));
    translateUi();
}

LutContrast::~LutContrast()
{
    delete ui;
}

void LutContrast::translateUi()
{
    ui->labelText->setText(tr("请确保LUT开启且加载有效文件"));
}
