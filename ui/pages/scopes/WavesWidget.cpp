#include "WavesWidget.h"

#include "AssistCtls.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_WavesWidget.h"

#include <QSignalBlocker>

namespace {

constexpr int defaultPercent = 50;
// The corners the scopes may take, as stored; the buttons' ids.
const char *const positionNames[] = {"leftBottom", "rightBottom"};

} // namespace

WavesWidget::WavesWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_WavesWidget), wavesCtl(WavesCtl::getInstance())
{
    setUpForm(ui, this);
    positionGroup.addButton(ui->wavesPositionLeftBottom, 0);
    positionGroup.addButton(ui->wavesPositionRightBottom, 1);
    ui->wavesOpacitySlider->setRange(0, 100);
    ui->wavesLightSlider->setRange(0, 100);
    translateUi();
    configInit();
    connect(ui->wavesHistogramEnable, &QPushButton::clicked, this, &WavesWidget::slotHistogramEnable);
    connect(ui->wavesLightEnable, &QPushButton::clicked, this, &WavesWidget::slotWavesEnable);
    connect(ui->wavesRGBEnable, &QPushButton::clicked, this, &WavesWidget::slotRGBWavesEnable);
    connect(ui->wavesVectorgraphEnable, &QPushButton::clicked, this, &WavesWidget::slotVectorgraphEnable);
    connect(ui->wavesOpacitySlider, &QSlider::valueChanged, this, &WavesWidget::slotOpacityChanged);
    connect(ui->wavesLightSlider, &QSlider::valueChanged, this, &WavesWidget::slotLightChanged);
    connect(&positionGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &WavesWidget::slotButtonGroup);
    connectFunctionKey();
}

WavesWidget::~WavesWidget()
{
    delete ui;
}

void WavesWidget::configInit()
{
    const bool histogram = readBool("wavesHistogramEnable", false);
    const bool waves = readBool("wavesLightEnable", false);
    const bool rgbWaves = readBool("waveRGBWavesEnable", false);
    const bool vectorgraph = readBool("waveVectorgraphEnable", false);
    opacity = readInt("wavesOpacity", defaultPercent, 0, 100);
    light = readInt("wavesLight", defaultPercent, 0, 100);
    const std::string position = readChoice("wavesPosition", positionNames[0], {positionNames[0], positionNames[1]});
    ui->wavesHistogramEnable->setChecked(histogram);
    ui->wavesLightEnable->setChecked(waves);
    ui->wavesRGBEnable->setChecked(rgbWaves);
    ui->wavesVectorgraphEnable->setChecked(vectorgraph);
    positionGroup.button(position == positionNames[1] ? 1 : 0)->setChecked(true);
    wavesCtl->setOpacityValue(opacity);
    wavesCtl->setLuminanceValue(light);
    wavesCtl->luminanceEnable(waves);
    wavesCtl->RGBEnable(rgbWaves);
    wavesCtl->histogramEnable(histogram);
    wavesCtl->vectorgraphEnable(vectorgraph);
    wavesCtl->setOpacityValue(opacity);
    wavesCtl->setLuminanceValue(light);
    showValues();
}

void WavesWidget::translateUi()
{
    ui->wavesTitle->setText(tr("波形菜单"));
    ui->wavesHistogramTitle->setText(tr("直方图"));
    ui->wavesLightTitle->setText(tr("波形图"));
    ui->wavesRGBTitle->setText(tr("RGB波形图"));
    ui->wavesVectorgraphTitle->setText(tr("矢量图"));
    ui->wavesPositionTitle->setText(tr("显示位置"));
    ui->wavesPositionLeftBottom->setText(tr("左下"));
    ui->wavesPositionRightBottom->setText(tr("右下"));
    ui->wavesOpacityTitle->setText(tr("透明度"));
    ui->wavesLightValueTitle->setText(tr("亮度"));
}

void WavesWidget::slotFunctionClicked(int code)
{
    switch (code) {
    case KeyCtl::FUNC_HISTOGRAM:
        ui->wavesHistogramEnable->toggle();
        slotHistogramEnable();
        break;
    case KeyCtl::FUNC_WAVEFORM:
        ui->wavesLightEnable->toggle();
        slotWavesEnable();
        break;
    case KeyCtl::FUNC_RGB_WAVEFORM:
        ui->wavesRGBEnable->toggle();
        slotRGBWavesEnable();
        break;
    case KeyCtl::FUNC_VECTORSCOPE:
        ui->wavesVectorgraphEnable->toggle();
        slotVectorgraphEnable();
        break;
    default:
        break;
    }
}

void WavesWidget::slotHistogramEnable()
{
    const bool on = ui->wavesHistogramEnable->isChecked();
    wavesCtl->histogramEnable(on);
    store("wavesHistogramEnable", on);
    emit signalHistogram(on);
}

void WavesWidget::slotWavesEnable()
{
    const bool on = ui->wavesLightEnable->isChecked();
    wavesCtl->luminanceEnable(on);
    store("wavesLightEnable", on);
    emit signalWaves(on);
}

void WavesWidget::slotRGBWavesEnable()
{
    const bool on = ui->wavesRGBEnable->isChecked();
    wavesCtl->RGBEnable(on);
    store("waveRGBWavesEnable", on);
    emit signalRGBWaves(on);
}

void WavesWidget::slotVectorgraphEnable()
{
    const bool on = ui->wavesVectorgraphEnable->isChecked();
    wavesCtl->vectorgraphEnable(on);
    store("waveVectorgraphEnable", on);
    emit signalVectorgraph(on);
}

void WavesWidget::slotOpacityChanged(int value)
{
    opacity = value;
    showValues();
    wavesCtl->setOpacityValue(opacity);
    store("wavesOpacity", opacity);
}

void WavesWidget::slotLightChanged(int value)
{
    light = value;
    showValues();
    wavesCtl->setLuminanceValue(light);
    store("wavesLight", light);
}

// Where the scopes are drawn is the window's affair; the page keeps the choice.
void WavesWidget::slotButtonGroup(QAbstractButton *button)
{
    store("wavesPosition", std::string(positionNames[positionGroup.id(button)]));
}

void WavesWidget::showValues()
{
    const QSignalBlocker opacityBlocker(ui->wavesOpacitySlider);
    const QSignalBlocker lightBlocker(ui->wavesLightSlider);
    ui->wavesOpacitySlider->setValue(opacity);
    ui->wavesLightSlider->setValue(light);
    ui->wavesOpacityValue->setText(percentText(opacity));
    ui->wavesLightValue->setText(percentText(light));
}
