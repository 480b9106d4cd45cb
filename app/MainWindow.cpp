#include "MainWindow.h"

#include "AudioCtl.h"
#include "Battery.h"
#include "CalibrateCtl.h"
#include "DeviceUSB.h"
#include "FanCtrl.h"
#include "GsensorCtl.h"
#include "HDMICtl.h"
#include "KeyCtl.h"
#include "LightMeterCtl.h"
#include "Lut3D.h"
#include "LutCtl.h"
#include "OsdCtl.h"
#include "OutCtl.h"
#include "SDICtl.h"
#include "Version.h"
#include "WHDICtl.h"
#include "ui_mainwindow.h"

namespace {

constexpr int inputDetectIntervalMs = 1000;
// The die temperature from which on the fan control shuts the system down.
constexpr double overTemperature = 100.0;
// From this width on a channel runs in 4K mode.
constexpr int width4K = 3840;

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui_MainWindow)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_AcceptTouchEvents);
    grabGesture(Qt::PinchGesture);
    init();
    translateUi();
}

MainWindow::~MainWindow()
{
    {
        // The dispatcher calls back holding this mutex: once it is ours, no
        // callback runs on this window, and none will.
        std::lock_guard<std::mutex> lock(Singleton<InterruptsCtl>::classMutex());
        *dispatcherCallbacks = false;
    }
    delete ui;
}

void MainWindow::init()
{
    PLinit();
    topFrameInit();
    videoOption->setInput(VideoOption::MAIN_CHANNEL, inputMain);
    videoOption->setInput(VideoOption::ASSIST_CHANNEL, inputAssist);
    keyCtl = KeyCtl::getInstance();
    connect(&inputDetectTimer, &QTimer::timeout, this, &MainWindow::slotInputDetect);
    ui->McustackedWidget->insertWidget(0, &mcuUpdateWidget);
    ui->McustackedWidget->setCurrentIndex(0);
    ui->McustackedWidget->hide();
    ui->poweroffLabel->hide();
    inputDetectTimer.start(inputDetectIntervalMs);
}

void MainWindow::PLinit()
{
    osdCtl = OsdCtl::getInstance();
    sdiCtl = SDICtl::getInstance();
    hdmiCtl = HDMICtl::getInstance();
    whdiCtl = WHDICtl::getInstance();
    outCtl = OutCtl::getInstance();
    lutCtl = LutCtl::getInstance();
    lut3D = Lut3D::getInstance();
    calibrateCtl = CalibrateCtl::getInstance();
    audioCtl = AudioCtl::getInstance();
    lightMeterCtl = LightMeterCtl::getInstance();
    gsensorCtl = GsensorCtl::getInstance();
    videoOption = VideoOption::getInstance();
    interruptsCtl = InterruptsCtl::getInstance();
    battery = Battery::getInstance();
    version = Version::getInstance();
    calibrateInit();
    appConfig->findValue("inputMain", inputMain);
    appConfig->findValue("inputAssist", inputAssist);
    connect(version, &Version::signalMcuUpgrade, this, &MainWindow::slotMcuUpgradeWidget);
    connect(sdiCtl, &SDICtl::updateVideoFormat, this, &MainWindow::slotUpdateVideoFormat);
    connect(hdmiCtl, &HDMICtl::signalUpdate, this, &MainWindow::slotUpdateVideoFormat);
    connect(hdmiCtl, &HDMICtl::signalUpdateHDMI, this, &MainWindow::slotUpdateHDMI);
    connect(whdiCtl, &WHDICtl::signalUpdate, this, &MainWindow::slotUpdateVideoFormat);
    connect(whdiCtl, &WHDICtl::signalChannel, this, &MainWindow::slotChannel);
    interruptsCtl->attach(InterruptsCtl::KEY_F2, InterruptsCtl::KEY_F3,
                          [this, live = dispatcherCallbacks](InterruptsCtl::KeyHandle handle, int value) {
                              if (*live)
                                  interruptsHandleKeyF2F3(handle, value);
                          });
}

void MainWindow::calibrateInit()
{
    // The user's own calibration file when user calibration is on, else the
    // factory cube; a missing or broken file leaves calibration untouched.
    bool userCalibration = false;
    std::string userFile;
    appConfig->findValue("colorLutCalibrateEnable", userCalibration);
    appConfig->findValue("colorLutCalibrateFile", userFile);
    calibrateCtl->loadFile(userCalibration ? userFile : std::string("calibrate.cube"));
}

void MainWindow::slotMcuUpgradeWidget()
{
    mcuUpdateWidget.upgrade();
    ui->McustackedWidget->show();
}

void MainWindow::interruptsHandleKeyF2F3(InterruptsCtl::KeyHandle handle, int)
{
    if (handle != InterruptsCtl::KEY_LONG_CLICKED)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            showTemperature = !showTemperature;
            ui->temperatureLabel->setVisible(showTemperature);
        },
        Qt::QueuedConnection);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (firstPaint) {
        firstPaint = false;
        osdCtl->start(!mainNoVideo, !assistNoVideo);
    }
}

void MainWindow::topFrameInit()
{
    ui->USBLabel->setText(tr("USB"));
    for (QWidget *control : {static_cast<QWidget *>(ui->USBIcon), static_cast<QWidget *>(ui->USBLabel),
                             static_cast<QWidget *>(ui->Battery0Label), static_cast<QWidget *>(ui->Battery0Value),
                             static_cast<QWidget *>(ui->Battery1Label), static_cast<QWidget *>(ui->Battery1Value),
                             static_cast<QWidget *>(ui->DCLabel)})
        control->hide();
    int channel = 0;
    appConfig->findValue("inputChannel", channel);
    ui->signalLabel->setText(QString::asprintf("CH.%02d", channel));
    ui->inputLabel->setText(inputLabelText(inputMain));
    ui->timeLabel->setText(tr("00:00:00:00"));
}

QString MainWindow::inputLabelText(const std::string &input) const
{
    if (input == "WHDI")
        return QStringLiteral("WIRELESS");
    return QString::fromStdString(input) + QStringLiteral(" IN");
}

void MainWindow::translateUi()
{
    ui->poweroffLabel->setText(tr("温度过高，系统即将关机！"));
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
        osdCtl->setVideoEnable(0, !mainNoVideo);
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
                unsigned int horizontal = 0;
                unsigned int vertical = 0;
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
