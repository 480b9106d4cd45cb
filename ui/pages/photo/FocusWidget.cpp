#include "FocusWidget.h"

#include "FocusCtl.h"
#include "KeyCtl.h"
#include "PhotoChoices.h"
#include "SetUpForm.h"
#include "ui_FocusWidget.h"

#include <QSignalBlocker>

namespace {

constexpr int defaultColour = 1;
constexpr int defaultSensitivity = 30;
// Peaking draws pure white where the overlays use their own last colour.
constexpr int whiteChoice = 7;

} // namespace

FocusWidget::FocusWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_FocusWidget), focusCtl(FocusCtl::getInstance())
{
    setUpForm(ui, this);
    photo::addChoices(colourGroup,
                      {ui->focusColor1, ui->focusColor2, ui->focusColor3, ui->focusColor4, ui->focusColor5,
                       ui->focusColor6, ui->focusColor7},
                      photo::firstColour);
    for (int i = photo::firstColour; i <= photo::lastColour; ++i)
        colourGroup.button(i)->setIcon(photo::swatchIcon(i == whiteChoice ? QColor(Qt::white) : photo::overlayColour(i)));
    ui->focusSlider->setRange(0, 100);
    translateUi();
    configInit();
    connect(ui->focusEnable, &QPushButton::clicked, this, &FocusWidget::slotIsEnable);
    connect(&colourGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &FocusWidget::slotButtonGroup);
    connect(ui->focusSlider, &QSlider::valueChanged, this, &FocusWidget::slotValueChanged);
    connectFunctionKey();
}

FocusWidget::~FocusWidget()
{
    delete ui;
}

void FocusWidget::configInit()
{
    const bool on = readBool("photoFocusEnable", false);
    const int colour = photo::colourIndex(readInt("photoFocusColor", defaultColour, 0, photo::lastColour + 1));
    sensitivity = readInt("photoFocusValue", defaultSensitivity, 0, 100);
    ui->focusEnable->setChecked(on);
    photo::checkChoice(colourGroup, colour);
    focusCtl->focusColorIndex(colour);
    focusCtl->focusThreshold(FocusCtl::sensitivityToThreshold(sensitivity));
    focusCtl->focusEnable(on);
    showValue();
}

void FocusWidget::translateUi()
{
    ui->focusTitle->setText(tr("峰值对焦"));
    ui->focusColorTitle->setText(tr("对焦颜色"));
    ui->focusValueTitle->setText(tr("灵敏度"));
}

void FocusWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_FOCUS_PEAKING)
        return;
    ui->focusEnable->toggle();
    slotIsEnable();
}

void FocusWidget::slotIsEnable()
{
    const bool on = ui->focusEnable->isChecked();
    focusCtl->focusEnable(on);
    store("photoFocusEnable", on);
}

void FocusWidget::slotButtonGroup(QAbstractButton *button)
{
    const int colour = colourGroup.id(button);
    focusCtl->focusColorIndex(colour);
    store("photoFocusColor", colour);
}

void FocusWidget::slotValueChanged(int value)
{
    sensitivity = value;
    showValue();
    focusCtl->focusThreshold(FocusCtl::sensitivityToThreshold(sensitivity));
    store("photoFocusValue", sensitivity);
}

void FocusWidget::showValue()
{
    const QSignalBlocker blocker(ui->focusSlider);
    ui->focusSlider->setValue(sensitivity);
    ui->focusValue->setText(percentText(sensitivity));
}
