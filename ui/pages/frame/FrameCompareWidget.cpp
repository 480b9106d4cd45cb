#include "FrameCompareWidget.h"

#include "FrameCtl.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_FrameCompareWidget.h"

#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr int lowestPercent = 0;
constexpr int highestPercent = 100;

} // namespace

FrameCompareWidget::FrameCompareWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_FrameCompareWidget), frameCtl(FrameCtl::getInstance()),
      videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    ui->frameCompareOpacitySlider->setRange(lowestPercent, highestPercent);
    ui->frameComparePositionSlider->setRange(lowestPercent, highestPercent);
    translateUi();
    configInit();
    connect(ui->frameCompareEnable, &QPushButton::clicked, this, &FrameCompareWidget::slotIsEnable);
    connect(ui->frameCompareOpacitySlider, &QSlider::valueChanged, this, &FrameCompareWidget::slotOpacityChanged);
    connect(ui->frameComparePositionSlider, &QSlider::valueChanged, this, &FrameCompareWidget::slotPositionChanged);
    connect(ui->frameCompareSelect, &QPushButton::clicked, this, &FrameCompareWidget::signalSelectFrame);
    connect(videoOption, &VideoOption::signalFrameCompareEnable, this, &FrameCompareWidget::slotCompareModeChanged);
    connectFunctionKey();
}

FrameCompareWidget::~FrameCompareWidget()
{
    delete ui;
}

void FrameCompareWidget::configInit()
{
    const bool on = readBool("frameCompareEnable", false);
    opacity = readInt("frameCompareOpacity", 50, lowestPercent, highestPercent);
    position = readInt("frameComparePosition", 50, lowestPercent, highestPercent);
    ui->frameCompareEnable->setChecked(on);
    frameCtl->frameOpacity(opacity);
    frameCtl->framePosition(position);
    videoOption->enableFrameCompareMode(on, false);
    frameCtl->frameOpacity(opacity);
    showValues();
}

void FrameCompareWidget::translateUi()
{
    ui->frameCompareTitle->setText(tr("截图对比"));
    ui->frameCompareOpacityTitle->setText(tr("透明度"));
    ui->frameComparePositionTitle->setText(tr("左右位置"));
    ui->frameCompareSelect->setText(tr("从USB选择截图"));
}

void FrameCompareWidget::setFrameComparePosition(int percent)
{
    position = std::clamp(percent, lowestPercent, highestPercent);
    frameCtl->framePosition(position);
    store("frameComparePosition", position);
    showValues();
}

void FrameCompareWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_SCREENSHOT_COMPARE)
        return;
    ui->frameCompareEnable->toggle();
    slotIsEnable();
}

void FrameCompareWidget::slotIsEnable()
{
    const bool on = ui->frameCompareEnable->isChecked();
    videoOption->enableFrameCompareMode(on, true);
    store("frameCompareEnable", on);
    emit signalShowFrameCompare(on);
}

void FrameCompareWidget::slotOpacityChanged(int value)
{
    opacity = value;
    frameCtl->frameOpacity(opacity);
    store("frameCompareOpacity", opacity);
    showValues();
}

void FrameCompareWidget::slotPositionChanged(int value)
{
    position = value;
    frameCtl->framePosition(position);
    store("frameComparePosition", position);
    showValues();
    emit signalFramePosition(position);
}

void FrameCompareWidget::slotCompareModeChanged(bool on)
{
    if (on == ui->frameCompareEnable->isChecked())
        return;
    ui->frameCompareEnable->setChecked(on);
    store("frameCompareEnable", on);
    emit signalShowFrameCompare(on);
}

// Labels and sliders follow the values; the sliders do not call back.
void FrameCompareWidget::showValues()
{
    const QSignalBlocker opacityBlocker(ui->frameCompareOpacitySlider);
    const QSignalBlocker positionBlocker(ui->frameComparePositionSlider);
    ui->frameCompareOpacitySlider->setValue(opacity);
    ui->frameComparePositionSlider->setValue(position);
    ui->frameCompareOpacityValue->setText(percentText(opacity));
    ui->frameComparePositionValue->setText(percentText(position));
}
