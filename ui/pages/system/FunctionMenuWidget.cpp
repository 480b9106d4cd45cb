#include "FunctionMenuWidget.h"

#include "FunctionWidget.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_FunctionMenuWidget.h"

#include <climits>

FunctionMenuWidget::FunctionMenuWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_FunctionMenuWidget)
{
    setUpForm(ui, this);
    translateUi();
    configInit();
    connect(ui->functionMenuF1, &QPushButton::clicked, this, [this] { emit signalFunctionWidget(KeyCtl::F1); });
    connect(ui->functionMenuF2, &QPushButton::clicked, this, [this] { emit signalFunctionWidget(KeyCtl::F2); });
    connect(ui->functionMenuF3, &QPushButton::clicked, this, [this] { emit signalFunctionWidget(KeyCtl::F3); });
}

FunctionMenuWidget::~FunctionMenuWidget()
{
    delete ui;
}

void FunctionMenuWidget::configInit()
{
    for (int key = 0; key < FunctionWidget::keyCount; ++key) {
        codes[key] =
            FunctionWidget::validCode(readInt(FunctionWidget::settingKey(key), KeyCtl::FUNC_OFF, INT_MIN, INT_MAX));
        nameLabel(key)->setText(FunctionWidget::functionName(codes[key]));
    }
}

void FunctionMenuWidget::translateUi()
{
    ui->functionMenuTitle->setText(tr("功能"));
    ui->functionMenuF1->setText(tr("F1自定义"));
    ui->functionMenuF2->setText(tr("F2自定义"));
    ui->functionMenuF3->setText(tr("F3自定义"));
    for (int key = 0; key < FunctionWidget::keyCount; ++key)
        nameLabel(key)->setText(FunctionWidget::functionName(codes[key]));
}

void FunctionMenuWidget::slotFunctionSelect(int key, int code)
{
    if (key < 0 || key >= FunctionWidget::keyCount)
        return;
    codes[key] = FunctionWidget::validCode(code);
    nameLabel(key)->setText(FunctionWidget::functionName(codes[key]));
}

QLabel *FunctionMenuWidget::nameLabel(int key) const
{
    QLabel *const labels[FunctionWidget::keyCount] = {ui->functionMenuF1Name, ui->functionMenuF2Name,
                                                      ui->functionMenuF3Name};
    return labels[key];
}
