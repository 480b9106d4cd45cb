#include "MainWindow.h"

#include "AudioCtl.h"
#include "Battery.h"
#include "CalibrateCtl.h"
#include "FrameCtl.h"
#include "GsensorCtl.h"
#include "HDMICtl.h"
#include "KeyCtl.h"
#include "LightMeterCtl.h"
#include "Lut3D.h"
#include "LutCtl.h"
#include "OsdCtl.h"
#include "OutCtl.h"
#include "SDICtl.h"
#include "SetUpForm.h"
#include "TimeCode.h"
#include "Version.h"
#include "WHDICtl.h"
#include "ZqEventFilter.h"
#include "ui_mainwindow.h"

#include <QGestureEvent>
#include <QPainter>

namespace {

constexpr int inputDetectIntervalMs = 1000;
constexpr int defaultWidth = 1920;
constexpr int defaultHeight = 1080;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::FramelessWindowHint),
      ui(setUpForm<Ui_MainWindow>(static_cast<QMainWindow *>(this))),
      markDraw(MarkDraw::MARK_MAIN),
      screenFrameSuccess(ui->msgStackedWidget),
      screenFrameFail(ui->msgStackedWidget),
      preConfig(ui->msgStackedWidget),
      resetSystem(ui->msgStackedWidget),
      antennaExternal(ui->msgStackedWidget),
      timeSetting(ui->msgStackedWidget),
      importLutSuccess(ui->msgStackedWidget),
      importLutFailed(ui->msgStackedWidget),
      eraseLutSuccess(ui->msgStackedWidget),
      lutContrast(ui->msgStackedWidget),
      scanProgress(ui->msgStackedWidget),
      frameWidget(ui->FastWidget),
      wavesWidget(ui->FastWidget),
      photoWidget(ui->FastWidget),
      colorWidget(ui->FastWidget),
      signalWidget(ui->FastWidget),
      selectWidget(ui->FastWidget),
      colorCalibrateFile(this),
      rgbAdjustWidget(ui->FastWidget),
      systemMenuWidget(ui->systemWidget),
      mcuUpdateWidget(ui->McustackedWidget)
{
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
    bottomFrameInit();
    systemWidgetInit();
    FastWidgetInit();
    frameComparePositionInit();
    lightMeterFrameInit();
    msgWidgetInit();
    eventFilter = nullptr;
    videoOption->setInput(VideoOption::MAIN_CHANNEL, inputMain);
    videoOption->setInput(VideoOption::ASSIST_CHANNEL, inputAssist);
    keyCtl = KeyCtl::getInstance();
    connect(keyCtl, &KeyCtl::clicked, this, &MainWindow::slotFunctionClicked);
    connect(&inputDetectTimer, &QTimer::timeout, this, &MainWindow::slotInputDetect);
    connect(&lockTimer, &QTimer::timeout, this, &MainWindow::slotTimeoutLock);
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
    timeCode = TimeCode::getInstance();
    lightMeterCtl = LightMeterCtl::getInstance();
    gsensorCtl = GsensorCtl::getInstance();
    videoOption = VideoOption::getInstance();
    interruptsCtl = InterruptsCtl::getInstance();
    battery = Battery::getInstance();
    frameCtl = FrameCtl::getInstance();
    version = Version::getInstance();

    for (int channel : {0, 1}) {
        videoWidth[channel] = defaultWidth;
        videoHeight[channel] = defaultHeight;
    }
    calibrateInit();
    appConfig->findValue("inputMain", inputMain);
    appConfig->findValue("inputAssist", inputAssist);

    connect(version, &Version::signalMcuUpgrade, this, &MainWindow::slotMcuUpgradeWidget);
    connect(audioCtl, &AudioCtl::updateAudio, this, &MainWindow::slotUpdateAudio);
    connect(sdiCtl, &SDICtl::updateVideoFormat, this, &MainWindow::slotUpdateVideoFormat);
    connect(hdmiCtl, &HDMICtl::signalUpdate, this, &MainWindow::slotUpdateVideoFormat);
    connect(hdmiCtl, &HDMICtl::signalUpdateHDMI, this, &MainWindow::slotUpdateHDMI);
    connect(whdiCtl, &WHDICtl::signalUpdate, this, &MainWindow::slotUpdateVideoFormat);
    connect(whdiCtl, &WHDICtl::signalChannel, this, &MainWindow::slotChannel);
    connect(whdiCtl, &WHDICtl::signalStrength, this, &MainWindow::slotStrength);
    connect(videoOption, &VideoOption::signalUpdateMark, this, &MainWindow::slotUpdateMark, Qt::QueuedConnection);
    connect(videoOption, &VideoOption::signalLightMeterEnable, this, &MainWindow::slotLightMeterEnable);
    connect(videoOption, &VideoOption::signalLutContrastEnable, this, &MainWindow::slotShowLutContrastPosition);
    connect(battery, &Battery::signalBattery, this, &MainWindow::slotUpdateBatteryStates);

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

void MainWindow::setEventFilterHandle(ZqEventFilter *filter)
{
    eventFilter = filter;
    if (filter != nullptr)
        connect(filter, &ZqEventFilter::clicked, this, &MainWindow::slotScreenClicked);
}

void MainWindow::slotSystemReset()
{
    firstVideoUpdate = true;
    lutContrastShown = false;
    for (int channel : {0, 1}) {
        videoWidth[channel] = defaultWidth;
        videoHeight[channel] = defaultHeight;
    }
    frameComparePositionInit();
    lightMeterFrameInit();
    appConfig->findValue("wavesLightEnable", wavesLightShown);
    appConfig->findValue("waveRGBWavesEnable", wavesRGBShown);
    appConfig->findValue("wavesHistogramEnable", wavesHistogramShown);
    appConfig->findValue("waveVectorgraphEnable", wavesVectorShown);
    wavesLabelUpdate();
    appConfig->findValue("inputMain", inputMain);
    appConfig->findValue("inputAssist", inputAssist);
    ui->inputLabel->setText(inputLabelText(inputMain));
    channelUpdate(VideoOption::MAIN_CHANNEL);
    channelUpdate(VideoOption::ASSIST_CHANNEL);
    msgWidgetHide();
}

void MainWindow::slotFunctionClicked(int key)
{
    if (key != KeyCtl::FUNC_FREEZE)
        return;
    frameFrozen = !frameFrozen;
    frameCtl->frameFreeze(frameFrozen);
}

void MainWindow::slotMcuUpgradeWidget()
{
    mcuUpdateWidget.upgrade();
    ui->McustackedWidget->show();
}

void MainWindow::slotSystemUpgrade()
{
    setTouchState(ZqEventFilter::TOUCH_SCANNING);
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

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Gesture) {
        if (!menuOpen())
            gestureEvent(static_cast<QGestureEvent *>(event));
        return true;
    }
    // The window has no dock areas, so a main window's own paint handling
    // would only set up one more painter with each repaint to draw dock
    // separators that are not there.
    if (event->type() == QEvent::Paint)
        return QWidget::event(event);
    return QMainWindow::event(event);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (mainNoVideo)
        markDraw.drawBackground(this);
    markDraw.draw(this);
    if (firstPaint) {
        firstPaint = false;
        osdCtl->start(!mainNoVideo, !assistNoVideo);
    }
}

void MainWindow::translateUi()
{
    ui->poweroffLabel->setText(tr("温度过高，系统即将关机！"));
    ui->USBLabel->setText(tr("USB"));
}
