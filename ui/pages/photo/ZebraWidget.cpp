#include "ZebraWidget.h"

#include "AssistCtls.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_ZebraWidget.h"

#include <QSignalBlocker>

namespace {

// The percentages the sliders reach: 109 % is the top of the 10-bit range,
// and the maximum always stays above the minimum.
constexpr int lowestPercent = 0;
constexpr int highestPercent = 109;

} // namespace

ZebraWidget::ZebraWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_ZebraWidget), zebraCtl(ZebraCtl::getInstance())
{
    setUpForm(ui, this);
    ui->zebraMinSlider->setRange(lowestPercent, highestPercent - 1);
    ui->zebraMaxSlider->setRange(lowestPercent + 1, highestPercent);
    translateUi();
    configInit();
    connect(ui->zebraEnable, &QPushButton::clicked, this, &ZebraWidget::slotIsEnable);
    connect(ui->zebraMinSlider, &QSlider::valueChanged, this, &ZebraWidget::slotMinValueChanged);
    connect(ui->zebraMaxSlider, &QSlider::valueChanged, this, &ZebraWidget::slotMaxValueChanged);
    connectFunctionKey();
}

ZebraWidget::~ZebraWidget()
{
    delete ui;
}

void ZebraWidget::configInit()
{
    const bool on = readBool("photoZebraEnable", false);
    minValue = readInt("photoZebraMinValue", 85, lowestPercent, highestPercent - 1);
    maxValue = readInt("photoZebraMaxValue", 100, lowestPercent + 1, highestPercent);
    if (maxValue <= minValue)
        maxValue = minValue + 1;
    ui->zebraEnable->setChecked(on);
    sendThresholds();
    zebraCtl->zebraEnable(on);
    showValues();
}

void ZebraWidget::translateUi()
{
    ui->zebraTitle->setText(tr("斑马纹"));
    ui->zebraMinTitle->setText(tr("最小值"));
    ui->zebraMaxTitle->setText(tr("最大值"));
}

void ZebraWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_ZEBRA)
        return;
    ui->zebraEnable->toggle();
    slotIsEnable();
}

void ZebraWidget::slotIsEnable()
{
    const bool on = ui->zebraEnable->isChecked();
    zebraCtl->zebraEnable(on);
    store("photoZebraEnable", on);
}

void ZebraWidget::slotMinValueChanged(int value)
{
    minValue = value;
    if (minValue >= maxValue) {
        maxValue = minValue + 1;
        store("photoZebraMaxValue", maxValue);
    }
    showValues();
    sendThresholds();
    store("photoZebraMinValue", minValue);
}

void ZebraWidget::slotMaxValueChanged(int value)
{
    maxValue = value;
    if (maxValue <= minValue) {
        minValue = maxValue - 1;
        store("photoZebraMinValue", minValue);
    }
    showValues();
    sendThresholds();
    store("photoZebraMaxValue", maxValue);
}

// Labels and sliders follow the values; the sliders do not call back.
void ZebraWidget::showValues()
{
    const QSignalBlocker minBlocker(ui->zebraMinSlider);
    const QSignalBlocker maxBlocker(ui->zebraMaxSlider);
    ui->zebraMinSlider->setValue(minValue);
    ui->zebraMaxSlider->setValue(maxValue);
    ui->zebraMinValue->setText(percentText(minValue));
    ui->zebraMaxValue->setText(percentText(maxValue));
}

void ZebraWidget::sendThresholds()
{
    zebraCtl->zebraThreshold(ZebraCtl::percentToLevel(minValue), ZebraCtl::percentToLevel(maxValue));
}
