#include "VideoFormatWidget.h"

#include "AudioCtl.h"
#include "OutCtl.h"
#include "SDIFormat.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_VideoFormatWidget.h"

#include <QButtonGroup>

namespace {

const char *const rangeTexts[] = {"video", "data"};
const char *const audioTexts[] = {"ch1ch2", "ch3ch4"};

} // namespace

VideoFormatWidget::VideoFormatWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_VideoFormatWidget), videoOption(VideoOption::getInstance()),
      outCtl(OutCtl::getInstance()), audioCtl(AudioCtl::getInstance())
{
    setUpForm(ui, this);
    auto *rangeGroup = new QButtonGroup(this);
    rangeGroup->addButton(ui->videoRangeVideo, 0);
    rangeGroup->addButton(ui->videoRangeData, 1);
    auto *audioGroup = new QButtonGroup(this);
    audioGroup->addButton(ui->videoAudioCh12, 0);
    audioGroup->addButton(ui->videoAudioCh34, 1);
    translateUi();
    configInit();
    connect(rangeGroup, &QButtonGroup::idClicked, this, &VideoFormatWidget::slotRangeChanged);
    connect(audioGroup, &QButtonGroup::idClicked, this, &VideoFormatWidget::slotAudioChanged);
    connect(ui->videoFormatButton, &QPushButton::clicked, this, &VideoFormatWidget::signalSDIFormat);
    connect(ui->videoOutEnable, &QPushButton::clicked, this, &VideoFormatWidget::slotOutEnable);
    connect(ui->videoConversionEnable, &QPushButton::clicked, this, &VideoFormatWidget::slotConversionEnable);
    connect(ui->videoOutLutEnable, &QPushButton::clicked, this, &VideoFormatWidget::slotOutLutEnable);
}

VideoFormatWidget::~VideoFormatWidget()
{
    delete ui;
}

void VideoFormatWidget::configInit()
{
    const std::string range = readChoice("videoRange", rangeTexts[0], {"video", "data"});
    const std::string audio = readChoice("audioChannel", audioTexts[0], {"ch1ch2", "ch3ch4"});
    const bool out = readBool("videoOutEnabel", true);
    const bool conversion = readBool("videoConversionEnable", false);
    const bool lut = readBool("videoLutEnable", false);
    const int group = audio == audioTexts[1] ? 1 : 0;

    videoOption->setRange(range);
    outCtl->setRange(range);
    audioCtl->setAudioGroup(group);
    outCtl->setOutEnable(out);
    outCtl->lutEnable(lut);
    outCtl->Output6GConverts(conversion);
    outCtl->matrixLoad(lut);

    (range == rangeTexts[1] ? ui->videoRangeData : ui->videoRangeVideo)->setChecked(true);
    (group == 1 ? ui->videoAudioCh34 : ui->videoAudioCh12)->setChecked(true);
    ui->videoOutEnable->setChecked(out);
    ui->videoConversionEnable->setChecked(conversion);
    ui->videoOutLutEnable->setChecked(lut);
    showOutputOptions(out);
    showFormat();
}

void VideoFormatWidget::translateUi()
{
    ui->videoFormatTitle->setText(tr("视频格式"));
    ui->videoRangeTitle->setText(tr("视频范围"));
    ui->videoRangeVideo->setText(tr("视频"));
    ui->videoRangeData->setText(tr("数据"));
    ui->videoSdiFormatTitle->setText(tr("3G SDI格式"));
    ui->videoAudioTitle->setText(tr("SDI音频通道"));
    ui->videoOutTitle->setText(tr("SDI输出开启"));
    ui->videoConversionTitle->setText(tr("SDI输出变换"));
    ui->videoOutLutTitle->setText(tr("SDI输出加载LUT"));
}

void VideoFormatWidget::slotSDIFormat(int)
{
    showFormat();
}

void VideoFormatWidget::slotRangeChanged(int data)
{
    const std::string range = rangeTexts[data != 0 ? 1 : 0];
    videoOption->setRange(range);
    videoOption->loadCscMatrix(VideoOption::MAIN_CHANNEL);
    videoOption->loadCscMatrix(VideoOption::ASSIST_CHANNEL);
    outCtl->setRange(range);
    outCtl->matrixLoad(true);
    store("videoRange", range);
}

void VideoFormatWidget::slotAudioChanged(int group)
{
    audioCtl->setAudioGroup(group);
    store("audioChannel", std::string(audioTexts[group != 0 ? 1 : 0]));
}

void VideoFormatWidget::slotOutEnable()
{
    const bool on = ui->videoOutEnable->isChecked();
    showOutputOptions(on);
    outCtl->setOutEnable(on);
    store("videoOutEnabel", on);
}

void VideoFormatWidget::slotConversionEnable()
{
    const bool on = ui->videoConversionEnable->isChecked();
    outCtl->Output6GConverts(on);
    outCtl->outputUpdate();
    store("videoConversionEnable", on);
}

void VideoFormatWidget::slotOutLutEnable()
{
    const bool on = ui->videoOutLutEnable->isChecked();
    outCtl->lutEnable(on);
    outCtl->matrixLoad(on);
    store("videoLutEnable", on);
}

// The conversion and the output LUT mean nothing while the output is off.
void VideoFormatWidget::showOutputOptions(bool on)
{
    setShown({ui->videoConversionTitle, ui->videoConversionEnable, ui->videoOutLutTitle, ui->videoOutLutEnable}, on);
}

void VideoFormatWidget::showFormat()
{
    ui->videoFormatButton->setText(QString::fromStdString(SDIFormat::storedFormat()));
}
