#include "MainInputWidget.h"

#include "InputNames.h"
#include "KeyCtl.h"
#include "MainChannelCtl.h"
#include "SetUpForm.h"
#include "UartAPI.h"
#include "ui_MainInputWidget.h"

#include <QButtonGroup>
#include <QSignalBlocker>

MainInputWidget::MainInputWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_MainInputWidget), inputGroup(new QButtonGroup(this)),
      mainChannelCtl(MainChannelCtl::getInstance())
{
    setUpForm(ui, this);
    inputGroup->addButton(ui->mainInputSDI, 0);
    inputGroup->addButton(ui->mainInputHDMI, 1);
    inputGroup->addButton(ui->mainInputWHDI, 2);
    translateUi();
    configInit();
    connect(inputGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this, &MainInputWidget::slotButtonGroup);
    connect(ui->mainInputReset, &QPushButton::clicked, this, &MainInputWidget::slotMainpllReset);
    connect(KeyCtl::getInstance(), &KeyCtl::swapMainAndAssistSrc, this, &MainInputWidget::slotSwapMainAndAssistSrc);
}

MainInputWidget::~MainInputWidget()
{
    delete ui;
}

void MainInputWidget::configInit()
{
    input = readChoice("inputMain", inputs::wireless, inputs::choices);
    // The main window reads the same key: an unknown name must not reach it.
    appConfig->setValue("inputMain", input);
    UartSetWHDIStatus(0, input == inputs::wireless);
    showInput();
}

void MainInputWidget::translateUi()
{
    ui->mainInputTitle->setText(tr("信号源选择"));
    ui->mainInputWHDI->setText(tr("无线"));
    ui->mainInputResetTitle->setText(tr("通道复位"));
    ui->mainInputReset->setText(tr("复位"));
}

void MainInputWidget::slotButtonGroup(QAbstractButton *button)
{
    const int index = inputGroup->id(button);
    if (index < 0 || inputs::names[index] == input)
        return;
    input = inputs::names[index];
    store("inputMain", input);
    UartSetWHDIStatus(0, input == inputs::wireless);
    emit signalMainInput(input);
}

void MainInputWidget::slotSwapMainAndAssistSrc()
{
    const std::string assist = readChoice("inputAssist", inputs::wireless, inputs::choices);
    const std::string main = input;
    input = assist;
    store("inputMain", input);
    store("inputAssist", main);
    UartSetWHDIStatus(0, input == inputs::wireless);
    UartSetWHDIStatus(1, main == inputs::wireless);
    showInput();
    emit signalMainInput(input);
    emit signalAssistInput(main);
}

void MainInputWidget::slotMainpllReset()
{
    mainChannelCtl->reset();
}

void MainInputWidget::showInput()
{
    const QSignalBlocker blocker(inputGroup);
    if (QAbstractButton *button = inputGroup->button(inputs::indexOf(input)))
        button->setChecked(true);
}
