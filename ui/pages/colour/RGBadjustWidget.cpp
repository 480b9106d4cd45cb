#include "RGBadjustWidget.h"

#include "CscCtl.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_RGBadjustWidget.h"

#include <QSignalBlocker>
#include <algorithm>
#include <iterator>

namespace {

constexpr const char *gainKeys[] = {"colorRGain", "colorGGain", "colorBGain"};
constexpr const char *offsetKeys[] = {"colorROffset", "colorGOffset", "colorBOffset"};

constexpr int unityGain = 100;
constexpr int maxGain = 200;
constexpr int noOffset = 0;
constexpr int maxOffset = 64;

} // namespace

RGBadjustWidget::RGBadjustWidget(QWidget *parent)
    : MenuPage(parent),
      ui(new Ui_RGBadjustWidget),
      cscCtl(CscCtl::getInstance()),
      videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    const Channel formChannels[channels] = {
        {ui->rgbRGainSlider, ui->rgbRGainValue, ui->rgbROffsetSlider, ui->rgbROffsetValue},
        {ui->rgbGGainSlider, ui->rgbGGainValue, ui->rgbGOffsetSlider, ui->rgbGOffsetValue},
        {ui->rgbBGainSlider, ui->rgbBGainValue, ui->rgbBOffsetSlider, ui->rgbBOffsetValue},
    };
    std::copy(std::begin(formChannels), std::end(formChannels), controls);
    for (const Channel &channel : controls) {
        channel.gainSlider->setRange(0, maxGain);
        channel.offsetSlider->setRange(-maxOffset, maxOffset);
    }
    translateUi();
    configInit();
    for (int channel = 0; channel < channels; ++channel) {
        connect(controls[channel].gainSlider, &QSlider::valueChanged, this,
                [this, channel](int percent) { slotGainChanged(channel, percent); });
        connect(controls[channel].offsetSlider, &QSlider::valueChanged, this,
                [this, channel](int codeValues) { slotOffsetChanged(channel, codeValues); });
    }
    connect(ui->rgbGainReset, &QPushButton::clicked, this, &RGBadjustWidget::slotGainReset);
    connect(ui->rgbOffsetReset, &QPushButton::clicked, this, &RGBadjustWidget::slotOffsetReset);
    connect(ui->rgbBack, &QPushButton::clicked, this, &RGBadjustWidget::signalBack);
}

RGBadjustWidget::~RGBadjustWidget()
{
    delete ui;
}

void RGBadjustWidget::configInit()
{
    for (int channel = 0; channel < channels; ++channel) {
        gains[channel] = readInt(gainKeys[channel], unityGain, 0, maxGain);
        offsets[channel] = readInt(offsetKeys[channel], noOffset, -maxOffset, maxOffset);
    }
    showValues();
    cscCtl->setRGBgain(CscCtl::GainRed, gains[0], false);
    cscCtl->setRGBgain(CscCtl::GainGreen, gains[1], false);
    cscCtl->setRGBgain(CscCtl::GainBlue, gains[2], false);
    pushOffsets();
}

void RGBadjustWidget::translateUi()
{
    ui->rgbTitle->setText(tr("RGB调整"));
    ui->rgbRGainTitle->setText(tr("R增益"));
    ui->rgbGGainTitle->setText(tr("G增益"));
    ui->rgbBGainTitle->setText(tr("B增益"));
    ui->rgbROffsetTitle->setText(tr("R偏移"));
    ui->rgbGOffsetTitle->setText(tr("G偏移"));
    ui->rgbBOffsetTitle->setText(tr("B偏移"));
    ui->rgbGainReset->setText(tr("RGB增益复位"));
    ui->rgbOffsetReset->setText(tr("RGB偏移复位"));
    ui->rgbBack->setText(tr("返回"));
}

void RGBadjustWidget::slotGainChanged(int channel, int percent)
{
    gains[channel] = percent;
    cscCtl->setRGBgain(static_cast<CscCtl::GainType>(channel), percent, true);
    videoOption->loadCscMatrix();
    showValues();
    store(gainKeys[channel], percent);
}

void RGBadjustWidget::slotOffsetChanged(int channel, int codeValues)
{
    offsets[channel] = codeValues;
    cscCtl->setRGBOffset(static_cast<CscCtl::OffsetType>(channel), codeValues, true);
    videoOption->loadCscMatrix();
    showValues();
    store(offsetKeys[channel], codeValues);
}

void RGBadjustWidget::slotGainReset()
{
    for (int channel = 0; channel < channels; ++channel) {
        gains[channel] = unityGain;
        store(gainKeys[channel], unityGain);
    }
    showValues();
    pushGains();
}

void RGBadjustWidget::slotOffsetReset()
{
    for (int channel = 0; channel < channels; ++channel) {
        offsets[channel] = noOffset;
        store(offsetKeys[channel], noOffset);
    }
    showValues();
    pushOffsets();
}

void RGBadjustWidget::pushGains()
{
    cscCtl->setRGBgain(CscCtl::GainRed, gains[0], false);
    cscCtl->setRGBgain(CscCtl::GainGreen, gains[1], false);
    cscCtl->setRGBgain(CscCtl::GainBlue, gains[2], true);
    videoOption->loadCscMatrix();
}

void RGBadjustWidget::pushOffsets()
{
    cscCtl->setRGBOffset(CscCtl::OffsetRed, offsets[0], false);
    cscCtl->setRGBOffset(CscCtl::OffsetGreen, offsets[1], false);
    cscCtl->setRGBOffset(CscCtl::OffsetBlue, offsets[2], true);
    videoOption->loadCscMatrix();
}

// Sliders and labels follow the values; the sliders do not call back.
void RGBadjustWidget::showValues()
{
    for (int channel = 0; channel < channels; ++channel) {
        const Channel &control = controls[channel];
        const QSignalBlocker gainBlocker(control.gainSlider);
        const QSignalBlocker offsetBlocker(control.offsetSlider);
        control.gainSlider->setValue(gains[channel]);
        control.offsetSlider->setValue(offsets[channel]);
        control.gainLabel->setText(percentText(gains[channel]));
        control.offsetLabel->setText(QString::number(offsets[channel]));
    }
}
