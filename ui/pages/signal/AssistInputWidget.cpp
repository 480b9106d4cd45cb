#include "AssistInputWidget.h"

#include "InputNames.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "UartAPI.h"
#include "VideoOption.h"
#include "ui_AssistInputWidget.h"

#include <QButtonGroup>
#include <QSignalBlocker>

AssistInputWidget::AssistInputWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_AssistInputWidget), inputGroup(new QButtonGroup(this)),
      layoutGroup(new QButtonGroup(this)), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    inputGroup->addButton(ui->assistInputSDI, 0);
    inputGroup->addButton(ui->assistInputHDMI, 1);
    inputGroup->addButton(ui->assistInputWHDI, 2);
    // Numbered as the layouts are.
    layoutGroup->addButton(ui->assistLayoutLeftTop, AssistChannelCtl::PIP_LEFT_TOP);
    layoutGroup->addButton(ui->assistLayoutLeftBottom, AssistChannelCtl::PIP_LEFT_BOTTOM);
    layoutGroup->addButton(ui->assistLayoutRightTop, AssistChannelCtl::PIP_RIGHT_TOP);
    layoutGroup->addButton(ui->assistLayoutRightBottom, AssistChannelCtl::PIP_RIGHT_BOTTOM);
    layoutGroup->addButton(ui->assistLayoutLeftHalf, AssistChannelCtl::PIP_LEFT_HALF);
    layoutGroup->addButton(ui->assistLayoutRightHalf, AssistChannelCtl::PIP_RIGHT_HALF);
    translateUi();
    configInit();
    connect(ui->assistPicEnable, &QPushButton::clicked, this, &AssistInputWidget::slotIsEnable);
    connect(inputGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &AssistInputWidget::slotButtonGroup);
    connect(layoutGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &AssistInputWidget::slotLayoutGroup);
    connect(videoOption, &VideoOption::signalPicEnable, this, &AssistInputWidget::slotPicEnable);
    connectFunctionKey();
}

AssistInputWidget::~AssistInputWidget()
{
    delete ui;
}

void AssistInputWidget::configInit()
{
    input = readChoice("inputAssist", inputs::wireless, inputs::choices);
    // The main window reads the same key: an unknown name must not reach it.
    appConfig->setValue("inputAssist", input);
    const AssistChannelCtl::PicInPicMode mode = AssistChannelCtl::picInPicMode(
        readChoice("inputPicInPic", "rightTop",
                   {"leftTop", "leftBottom", "rightTop", "rightBottom", "leftHalf", "rightHalf"}));
    const bool on = readBool("inputPicEnable", false);
    videoOption->setPinInPinMode(mode, false);
    videoOption->enablePicInPic(on, false);
    UartSetWHDIStatus(1, input == inputs::wireless);

    const QSignalBlocker blocker(layoutGroup);
    layoutGroup->button(mode)->setChecked(true);
    ui->assistPicEnable->setChecked(on);
    showInput();
}

void AssistInputWidget::translateUi()
{
    ui->assistPicTitle->setText(tr("画中画"));
    ui->assistInputTitle->setText(tr("信号源选择"));
    ui->assistInputWHDI->setText(tr("无线"));
    ui->assistLayoutTitle->setText(tr("画面位置"));
    ui->assistLayoutLeftTop->setText(tr("左上"));
    ui->assistLayoutLeftBottom->setText(tr("左下"));
    ui->assistLayoutRightTop->setText(tr("右上"));
    ui->assistLayoutRightBottom->setText(tr("右下"));
    ui->assistLayoutLeftHalf->setText(tr("左半屏"));
    ui->assistLayoutRightHalf->setText(tr("右半屏"));
}

void AssistInputWidget::slotFunctionClicked(int code)
{
    if (code == KeyCtl::FUNC_PIP) {
        ui->assistPicEnable->toggle();
        slotIsEnable();
    } else if (code == KeyCtl::FUNC_SWAP_AB) {
        // The main-input page has swapped the stored inputs.
        input = readChoice("inputAssist", inputs::wireless, inputs::choices);
        showInput();
    }
}

void AssistInputWidget::slotIsEnable()
{
    const bool on = ui->assistPicEnable->isChecked();
    videoOption->enablePicInPic(on, true);
    store("inputPicEnable", on);
}

void AssistInputWidget::slotButtonGroup(QAbstractButton *button)
{
    const int index = inputGroup->id(button);
    if (index < 0 || inputs::names[index] == input)
        return;
    input = inputs::names[index];
    store("inputAssist", input);
    UartSetWHDIStatus(1, input == inputs::wireless);
    emit signalAssistInput(input);
}

void AssistInputWidget::slotLayoutGroup(QAbstractButton *button)
{
    const auto mode = static_cast<AssistChannelCtl::PicInPicMode>(layoutGroup->id(button));
    videoOption->setPinInPinMode(mode, true);
    store("inputPicInPic", AssistChannelCtl::picInPicText(mode));
}

void AssistInputWidget::slotPicEnable(bool on)
{
    if (ui->assistPicEnable->isChecked() == on)
        return;
    ui->assistPicEnable->setChecked(on);
    store("inputPicEnable", on);
}

void AssistInputWidget::showInput()
{
    const QSignalBlocker blocker(inputGroup);
    if (QAbstractButton *button = inputGroup->button(inputs::indexOf(input)))
        button->setChecked(true);
}
