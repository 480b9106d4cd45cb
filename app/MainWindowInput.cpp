#include "MainWindow.h"

#include "AudioCtl.h"
#include "DeviceUSB.h"
#include "FanCtrl.h"
#include "HDMICtl.h"
#include "LightMeterCtl.h"
#include "LutCtl.h"
#include "OsdCtl.h"
#include "OutCtl.h"
#include "SDICtl.h"
#include "TimeCode.h"
#include "WHDICtl.h"
#include "ui_mainwindow.h"

namespace {

// The die temperature from which on the fan control shuts the system down.
constexpr double overTemperature = 100.0;
// From this width on a channel runs in 4K mode.
constexpr int width4K = 3840;
// Set once the time code label shows the zeros of an HDMI source, so that
// it is not rewritten on every audio tick; cleared by a time code read.
bool hdmiTimeCodeShown = false;

} // namespace

QString MainWindow::inputLabelText(const std::string &input) const
{
    if (input == "WHDI")
        return QStringLiteral("WIRELESS");
    return QString::fromStdString(input) + QStringLiteral(" IN");
}
void MainWindow::slotInputDetect()
{
    // A channel whose first update came before its source had settled.
    if (!mainNoVideo && ui->videoLabel->text() == QStringLiteral("No video"))
        channelUpdate(VideoOption::MAIN_CHANNEL);
    const bool oldMain = mainNoVideo;
    const bool oldAssist = assistNoVideo;
    mainNoVideo = !mainInputDetect();
    assistNoVideo = !assistInputDetect();
    videoDetectAction(mainNoVideo != oldMain, assistNoVideo != oldAssist);

    const bool present = DeviceUSB::isActive();
    if (present != usbPresent) {
        usbPresent = present;
        ui->USBLabel->setVisible(present);
        ui->USBIcon->setVisible(present);
    }

    const double temperature = FanCtrl::getInstance()->getTemperature();
    if (temperature >= overTemperature && ui->poweroffLabel->isHidden())
        ui->poweroffLabel->show();
    if (showTemperature)
        ui->temperatureLabel->setText(QString::asprintf("%.1f", temperature));

    const bool lutOn = lutCtl->getLutEnable();
    if (lutOn != lutIconShown) {
        lutIconShown = lutOn;
        ui->lutIcon->setVisible(lutOn);
    }
}

const std::string &MainWindow::inputOf(VideoOption::Channel channel) const
{
    return channel == VideoOption::MAIN_CHANNEL ? inputMain : inputAssist;
}

bool MainWindow::inputDetect(VideoOption::Channel channel)
{
    const std::string &input = inputOf(channel);
    if (input == "SDI")
        return sdiCtl->isActive();
    if (input == "HDMI")
        return hdmiCtl->isActive(channel);
    if (input == "WHDI") {
        const bool active = whdiCtl->isActive(channel);
        if (!active)
            whdiCtl->cleanPayload();
        return active;
    }
    return false;
}

bool MainWindow::mainInputDetect()
{
    return inputDetect(VideoOption::MAIN_CHANNEL);
}

bool MainWindow::assistInputDetect()
{
    return inputDetect(VideoOption::ASSIST_CHANNEL);
}

void MainWindow::videoDetectAction(bool mainChanged, bool assistChanged)
{
    if (mainNoVideo) {
        ui->timeLabel->setText(tr("00:00:00:00"));
        ui->videoLabel->setText(QStringLiteral("No video"));
        audioCtl->setAudio(true);
    }
    if (assistChanged)
        osdCtl->setVideoEnable(1, !assistNoVideo);
    if (mainChanged) {
        const bool visible = !mainNoVideo;
        if (frameCompareShown)
            ui->frameComparePosition->setVisible(visible);
        if (lutContrastShown)
            ui->lutContrastPosition->setVisible(visible);
        if (lightMeterShown)
            ui->lightMeterFrame->setVisible(visible);
        osdCtl->setVideoEnable(0, visible);
        wavesLabelUpdate(visible);
        markDraw.setNoVideo(mainNoVideo);
        frameWidget.setFrameGetUsed(visible);
        update();
    }
}

void MainWindow::channelUpdate(VideoOption::Channel channel)
{
    const bool main = channel == VideoOption::MAIN_CHANNEL;
    const std::string &input = inputOf(channel);
    int &width = videoWidth[main ? 0 : 1];
    int &height = videoHeight[main ? 0 : 1];
    videoOption->setInput(channel, input);
    if (inputDetect(channel)) {
        if (input == "SDI") {
            sdiCtl->getSize(width, height);
            videoOption->setStlye(channel, sdiCtl->depth(), sdiCtl->level(), sdiCtl->sampling());
            videoOption->setPixFormat(channel, sdiCtl->pixFormat());
            videoOption->setInterlance(channel, sdiCtl->interlance());
            if (main) {
                sdiCtl->getInfo(videoInfo);
                ui->videoLabel->setText(QString::fromStdString(videoInfo));
                videoOption->setSDImode(sdiCtl->sdiMode());
                outCtl->setSDIMode(sdiCtl->sdiMode());
                outCtl->setStlye(sdiCtl->depth(), sdiCtl->level(), sdiCtl->sampling());
                outCtl->setPayLoad(sdiCtl->getPayLoad());
                outCtl->setSize(width, height);
                outCtl->setInput(Video::SDI_SOURCE);
                outCtl->outputUpdateMatrix();
                const Video::PixFormat format = sdiCtl->pixFormat();
                videoScaleX = 1;
                videoScaleY = format == Video::PIX_6G || format == Video::PIX_3GB_422_10
                                      || sdiCtl->interlance() != Video::PROGRESSIVE
                                  ? 2
                                  : 1;
            }
        } else if (input == "HDMI") {
            hdmiCtl->getSize(width, height);
            videoOption->setPixFormat(channel, hdmiCtl->pixFormat());
            videoOption->setInterlance(channel, hdmiCtl->interlance());
            if (main) {
                hdmiCtl->getInfo(videoInfo);
                ui->videoLabel->setText(QString::fromStdString(videoInfo));
                videoOption->setSDImode(hdmiCtl->sdiMode());
                outCtl->setSDIMode(hdmiCtl->sdiMode());
                // Formats without timing words of their own keep the ones in force.
                unsigned int horizontal = 0;
                unsigned int vertical = 0;
                outCtl->currentHDMICtl(horizontal, vertical);
                hdmiCtl->getHDMICtl(horizontal, vertical);
                outCtl->setHDMICtl(horizontal, vertical);
                outCtl->setPayLoad(hdmiCtl->getPayLoad());
                outCtl->setSize(width, height);
                outCtl->setInput(Video::HDMI_SOURCE);
                outCtl->matrixLoad(true);
                videoScaleX = 2;
                videoScaleY = hdmiCtl->interlance() != Video::PROGRESSIVE ? 2 : 1;
            }
        } else if (input == "WHDI") {
            whdiCtl->getSize(width, height, channel);
            // The wireless picture arrives as a single-link picture does.
            videoOption->setPixFormat(channel, Video::PIX_SDI);
            const auto interlace = static_cast<Video::InterlaceMode>(whdiCtl->interlance());
            videoOption->setInterlance(channel, interlace);
            if (main) {
                whdiCtl->getInfo(videoInfo);
                ui->videoLabel->setText(QString::fromStdString(videoInfo));
                const auto mode = static_cast<Video::SDIMode>(whdiCtl->sdiMode());
                videoOption->setSDImode(mode);
                outCtl->setSDIMode(mode);
                unsigned int horizontal = 0;
                unsigned int vertical = 0;
                whdiCtl->getHDMICtl(horizontal, vertical);
                outCtl->setHDMICtl(horizontal, vertical);
                outCtl->setPayLoad(whdiCtl->getPayLoad());
                outCtl->setSize(width, height);
                outCtl->setInput(Video::WHDI_SOURCE);
                outCtl->outputUpdateMatrix();
                videoScaleX = 1;
                videoScaleY = interlace != Video::PROGRESSIVE ? 2 : 1;
            }
        }
    }
    Config::setVideoWidth(channel, width);
    Config::setVideoHeight(channel, height);
    videoOption->enable4KMode(channel, width >= width4K);
    videoOption->loadCscMatrix(channel);
    videoOption->setSize(channel, width, height);
    if (!main)
        return;
    outCtl->outputUpdate();
    lightMeterSetPosition(lightMeterX, lightMeterY);
    if (firstVideoUpdate) {
        videoOption->loadCscMatrix();
        lutCtl->lutUpdate();
        update();
        firstVideoUpdate = false;
    }
}

void MainWindow::slotUpdateMainInput(const std::string &name)
{
    if (name == inputMain)
        return;
    inputMain = name;
    ui->inputLabel->setText(inputLabelText(inputMain));
    audioCtl->resetAudio(true);
    channelUpdate(VideoOption::MAIN_CHANNEL);
    videoOption->reset(VideoOption::MAIN_CHANNEL);
    outCtl->outRegain();
}

void MainWindow::slotUpdateAssistInput(const std::string &name)
{
    if (name == inputAssist)
        return;
    inputAssist = name;
    channelUpdate(VideoOption::ASSIST_CHANNEL);
    videoOption->reset(VideoOption::ASSIST_CHANNEL);
}

void MainWindow::slotUpdateVideoFormat(int channel)
{
    if (inputMain == inputAssist) {
        channelUpdate(VideoOption::MAIN_CHANNEL);
        channelUpdate(VideoOption::ASSIST_CHANNEL);
        return;
    }
    channelUpdate(channel == VideoOption::ASSIST_CHANNEL ? VideoOption::ASSIST_CHANNEL : VideoOption::MAIN_CHANNEL);
}

void MainWindow::slotUpdateHDMI()
{
    const bool oldMain = mainNoVideo;
    const bool oldAssist = assistNoVideo;
    if (inputMain == "HDMI") {
        mainNoVideo = !hdmiCtl->isActive(0);
        if (!mainNoVideo)
            channelUpdate(VideoOption::MAIN_CHANNEL);
    }
    if (inputAssist == "HDMI") {
        assistNoVideo = !hdmiCtl->isActive(1);
        if (!assistNoVideo)
            channelUpdate(VideoOption::ASSIST_CHANNEL);
    }
    videoDetectAction(mainNoVideo != oldMain, assistNoVideo != oldAssist);
}

void MainWindow::slotChannel(int channel)
{
    ui->signalLabel->setText(QString::asprintf("CH.%02d", channel));
}

void MainWindow::slotStrength(int strength)
{
    ui->signaIcon->setSignalStrength(strength);
}

void MainWindow::slotUpdateVideoInfo()
{
    if (mainNoVideo)
        return;
    if (inputMain != "HDMI") {
        if (timeCode->update() && !frameFrozen) {
            std::string text;
            timeCode->getTimeCode(text);
            ui->timeLabel->setTimeCode(QString::fromStdString(text));
            hdmiTimeCodeShown = false;
        }
    } else if (!hdmiTimeCodeShown) {
        ui->timeLabel->setText(tr("00:00:00:00"));
        hdmiTimeCodeShown = true;
    }
    lightMeterReadout();
}

// The probe's reading as percentages of the 10-bit range, video range
// counted from black (64) to white (940, or 960 for colour difference).
void MainWindow::lightMeterReadout()
{
    float y = 0, cb = 0, cr = 0, r = 0, g = 0, b = 0;
    if (!lightMeterShown || !lightMeterCtl->lightMeterValue(y, cb, cr, r, g, b))
        return;
    const auto percent = [](double value) { return QString::asprintf("%d%%", static_cast<int>(value)); };
    if (lightMeterCtl->getLightMeterRange() == CscCtl::MatrixData) {
        ui->YValue->setText(percent(y * 100 / 1023));
        ui->CbValue->setText(percent(cb * 100 / 1023));
        ui->CrValue->setText(percent(cr * 100 / 1023));
    } else {
        ui->YValue->setText(percent((y - 64) * 100 / 876));
        ui->CbValue->setText(percent((cb - 64) * 100 / 896));
        ui->CrValue->setText(percent((cr - 64) * 100 / 896));
    }
    ui->RValue->setText(percent(r * 100 / 1023));
    ui->GValue->setText(percent(g * 100 / 1023));
    ui->BValue->setText(percent(b * 100 / 1023));
    ui->colorLabel->setColor(static_cast<int>(r / 1023 * 255), static_cast<int>(g / 1023 * 255),
                             static_cast<int>(b / 1023 * 255));
}
