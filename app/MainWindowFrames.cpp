#include "MainWindow.h"

#include "CustomIcon.h"
#include "LightMeterCtl.h"
#include "OsdCtl.h"
#include "ZqEventFilter.h"
#include "ui_mainwindow.h"

#include <algorithm>

namespace {

constexpr int displayWidth = 1920;
constexpr int displayHeight = 1080;
constexpr int messageIntervalMs = 2000;

// Battery display: a battery counts as present above this voltage.
constexpr float batteryPresentVolts = 5.0f;
// Where battery 0 goes beside battery 1, and alone at the right edge.
constexpr int battery0IconBeside = 1656;
constexpr int battery0ValueBeside = 1705;
constexpr int battery0IconAlone = 1771;
constexpr int battery0ValueAlone = 1819;
// Where the external-power sign goes beside two, one or no batteries.
constexpr int dcBesideTwo = 1611;
constexpr int dcBesideOne = 1726;
constexpr int dcAlone = 1819;

// Scope captions sit side by side in 480-pixel slots along y 840.
constexpr int scopeSlotWidth = 480;
constexpr int scopeCaptionY = 840;
constexpr int histogramCaptionShift = -6;

constexpr int defaultSplitPercent = 50;

void moveX(QWidget *widget, int x)
{
    widget->move(x, widget->y());
}

} // namespace

// --- status bar ---------------------------------------------------------------

void MainWindow::topFrameInit()
{
    const struct {
        QLabel *label;
        const char *icon;
    } icons[] = {
        {ui->logoIcon, ":/png/top/logo.png"},
        {ui->timeIcon, ":/png/top/timeIcon.png"},
        {ui->videoIcon, ":/png/top/videoIcon.png"},
        {ui->inputIcon, ":/png/top/inputIcon.png"},
        {ui->USBIcon, ":/png/top/usbIcon.png"},
        {ui->lutIcon, ":/png/top/lutIcon.png"},
        {ui->DCLabel, ":/png/top/dcIcon.png"},
        {ui->lightMeterIcon, ":/png/top/lightMeterIcon.png"},
    };
    for (const auto &entry : icons)
        entry.label->setPixmap(CustomIcon::read(QString::fromLatin1(entry.icon)));
    ui->signaIcon->setCustomLabelType(CustomLabel::LABEL_SIGNAL);
    ui->signaIcon->setCustomLabelIcon(QStringLiteral(":/png/top/signalIcon.png"), 0, 0, 23, 23);
    ui->signaIcon->setSignalStrength(0);
    ui->USBLabel->setText(tr("USB"));
    for (QWidget *control : {static_cast<QWidget *>(ui->USBIcon), static_cast<QWidget *>(ui->USBLabel),
                             static_cast<QWidget *>(ui->Battery0Label), static_cast<QWidget *>(ui->Battery0Value),
                             static_cast<QWidget *>(ui->Battery1Label), static_cast<QWidget *>(ui->Battery1Value),
                             static_cast<QWidget *>(ui->DCLabel), static_cast<QWidget *>(ui->lutIcon),
                             static_cast<QWidget *>(ui->temperatureLabel)})
        control->hide();
    for (CustomLabel *battery : {ui->Battery0Label, ui->Battery1Label}) {
        battery->setCustomLabelType(CustomLabel::LABEL_BATTERY);
        battery->setCustomLabelIcon(QStringLiteral(":/png/top/battery.png"), 0, 0, battery->width(),
                                    battery->height());
    }
    int channel = 0;
    appConfig->findValue("inputChannel", channel);
    ui->signalLabel->setText(QString::asprintf("CH.%02d", channel));
    ui->inputLabel->setText(inputLabelText(inputMain));
    ui->timeLabel->setText(tr("00:00:00:00"));
    // A label whose size may change asks its parent to lay it out again with
    // every new text: the time code's changes with every frame, and its place
    // and size are fixed.
    ui->timeLabel->setFixedSize(ui->timeLabel->size());
}

// A battery counts as present above 5 V and as gone below; exactly 5 V keeps
// what was shown. Battery 1 has the right edge; battery 0 and the supply sign
// move left of what is shown, also when a battery comes or goes later.
void MainWindow::slotUpdateBatteryStates(bool dc, float volt0, int level0, float volt1, int level1)
{
    const auto present = [](float volts, bool shown) {
        return volts > batteryPresentVolts ? true : volts < batteryPresentVolts ? false : shown;
    };
    battery1Shown = present(volt1, battery1Shown);
    battery0Shown = present(volt0, battery0Shown);
    dcShown = dc;
    ui->Battery1Label->setVisible(battery1Shown);
    ui->Battery1Value->setVisible(battery1Shown);
    moveX(ui->Battery0Label, battery1Shown ? battery0IconBeside : battery0IconAlone);
    moveX(ui->Battery0Value, battery1Shown ? battery0ValueBeside : battery0ValueAlone);
    ui->Battery0Label->setVisible(battery0Shown);
    ui->Battery0Value->setVisible(battery0Shown);
    const int batteries = (battery0Shown ? 1 : 0) + (battery1Shown ? 1 : 0);
    moveX(ui->DCLabel, batteries == 2 ? dcBesideTwo : batteries == 1 ? dcBesideOne : dcAlone);
    ui->DCLabel->setVisible(dcShown);
    if (battery0Shown) {
        ui->Battery0Value->setText(QString::asprintf("%.1fV", static_cast<double>(volt0)));
        ui->Battery0Label->setBatteryLevel(level0);
    }
    if (battery1Shown) {
        ui->Battery1Value->setText(QString::asprintf("%.1fV", static_cast<double>(volt1)));
        ui->Battery1Label->setBatteryLevel(level1);
    }
}

void MainWindow::slotUpdateAudio(int left, int right)
{
    slotUpdateVideoInfo();
    if (!frameFrozen)
        ui->audioLabel->setAudioChannelValue(AudioLabel::AUDIO_CHANNEL_LEFT, left, AudioLabel::AUDIO_CHANNEL_RIGHT, right);
}

// --- bottom bar and quick menus -----------------------------------------------

void MainWindow::bottomFrameInit()
{
    const struct {
        CustomPushButton *button;
        const char *icon;
    } buttons[] = {
        {ui->frameManager, ":/png/bottom/frameManagerIcon.png"},
        {ui->waveManager, ":/png/bottom/waveManagerIcon.png"},
        {ui->photoManager, ":/png/bottom/pthotoManagerIcon.png"},
        {ui->colorManager, ":/png/bottom/colorManagerIcon.png"},
        {ui->signalManager, ":/png/bottom/signalManagerIcon.png"},
        {ui->menu, ":/png/bottom/menuIcon.png"},
        {ui->lock, ":/png/bottom/lockIcon.png"},
        {ui->rotateButton, ":/png/bottom/rotateIcon.png"},
    };
    for (const auto &entry : buttons) {
        const int size = 56;
        entry.button->setCustomBtIcon(QString::fromLatin1(entry.icon), (entry.button->width() - size) / 2,
                                      (entry.button->height() - size) / 2, size, size);
    }
    connect(ui->frameManager, &QPushButton::clicked, this, &MainWindow::slotFrameManagement);
    connect(ui->waveManager, &QPushButton::clicked, this, &MainWindow::slotWavesManagement);
    connect(ui->photoManager, &QPushButton::clicked, this, &MainWindow::slotPhotoManagement);
    connect(ui->colorManager, &QPushButton::clicked, this, &MainWindow::slotColorManagement);
    connect(ui->signalManager, &QPushButton::clicked, this, &MainWindow::slotSignalManagement);
    connect(ui->menu, &QPushButton::clicked, this, &MainWindow::slotMenu);
    connect(ui->lock, &QPushButton::clicked, this, &MainWindow::slotLock);
    connect(ui->rotateButton, &QPushButton::clicked, this, &MainWindow::slotRotateEnable);
}

void MainWindow::FastWidgetInit()
{
    for (QWidget *page : {static_cast<QWidget *>(&frameWidget), static_cast<QWidget *>(&wavesWidget),
                          static_cast<QWidget *>(&photoWidget), static_cast<QWidget *>(&colorWidget),
                          static_cast<QWidget *>(&signalWidget), static_cast<QWidget *>(&selectWidget),
                          static_cast<QWidget *>(&rgbAdjustWidget)})
        ui->FastWidget->addWidget(page);
    ui->FastWidget->setCurrentIndex(FastWidget::FAST_FRAME);
    ui->FastWidget->hide();
    for (QLabel *arrow : {ui->frameArray, ui->wavesArray, ui->photoArray, ui->colorArray, ui->signalArray})
        arrow->hide();
    // The window's own calibration picker is never shown; the system menu has
    // the one the user reaches.
    colorCalibrateFile.hide();

    connect(&frameWidget, &FrameWidget::signalFrameResult, this, &MainWindow::slotMsgFrameShow);
    connect(&frameWidget, &FrameWidget::signalShowFrameCompare, this, &MainWindow::slotShowFrameComparePosition);
    connect(&frameWidget, &FrameWidget::signalFramePosition, this, &MainWindow::slotMoveFrameComparePosition);
    connect(&frameWidget, &FrameWidget::signalSelectFrame, this, &MainWindow::slotSelectFrame);

    connect(&wavesWidget, &WavesWidget::signalWaves, this, &MainWindow::slotShowWaves);
    connect(&wavesWidget, &WavesWidget::signalRGBWaves, this, &MainWindow::slotShowRGBWaves);
    connect(&wavesWidget, &WavesWidget::signalHistogram, this, &MainWindow::slotShowHistogram);
    connect(&wavesWidget, &WavesWidget::signalVectorgraph, this, &MainWindow::slotShowVectorgraph);

    connect(&photoWidget, &PhotoWidget::signalMarkEnable, this, &MainWindow::slotMarkEnable);
    connect(&photoWidget, &PhotoWidget::signalMarkColor, this, &MainWindow::slotMarkColor);
    connect(&photoWidget, &PhotoWidget::signalMarkLine, this, &MainWindow::slotMarkLine);
    connect(&photoWidget, &PhotoWidget::signalMarkRate, this, &MainWindow::slotMarkRate);
    connect(&photoWidget, &PhotoWidget::signalMarkUserRate, this, &MainWindow::slotMarkUserRate);
    connect(&photoWidget, &PhotoWidget::signalSafeMarkEnable, this, &MainWindow::slotSafeMarkEnable);
    connect(&photoWidget, &PhotoWidget::signalSafeColor, this, &MainWindow::slotSafeColor);
    connect(&photoWidget, &PhotoWidget::signalSafeLine, this, &MainWindow::slotSafeLine);
    connect(&photoWidget, &PhotoWidget::signalSafeMarkPercent, this, &MainWindow::slotSafeMarkPercent);

    connect(&colorWidget, &ColorWidget::signalPreSelectLut, this, &MainWindow::slotPreSelectLut);
    connect(&colorWidget, &ColorWidget::signalUserLutOp, this, &MainWindow::slotUserLutOp);
    connect(&colorWidget, &ColorWidget::signalMsgLutContrast, this, &MainWindow::slotMsgLutContrast);
    connect(&colorWidget, &ColorWidget::signalRGBadjust, this, &MainWindow::slotRGBadjust);
    connect(&colorWidget, &ColorWidget::signalHDREnable, &systemMenuWidget, &SystemMenuWidget::slotHDREnable);

    connect(&signalWidget, &SignalWidget::signalMainInput, this, &MainWindow::slotUpdateMainInput);
    connect(&signalWidget, &SignalWidget::signalAssistInput, this, &MainWindow::slotUpdateAssistInput);
    connect(&signalWidget, &SignalWidget::signalChannel, this, &MainWindow::slotChannel);
    connect(&signalWidget, &SignalWidget::signalScanPercent, this, &MainWindow::slotMsgScanProgressBar);
    connect(&signalWidget, &SignalWidget::signalAntennaExternal, this, &MainWindow::slotMsgAntennaExternal);
    connect(&signalWidget, &SignalWidget::signalScanMsgHide, this, &MainWindow::msgWidgetHide);

    connect(&selectWidget, &SelectWidget::signalBack, this, &MainWindow::slotSelectBack);
    connect(&selectWidget, &SelectWidget::signalImportLutSuccess, this, &MainWindow::slotMsgImportLutOk);
    connect(&selectWidget, &SelectWidget::signalImportLutFailed, this, &MainWindow::slotMsgImportLutFailed);
    connect(&selectWidget, &SelectWidget::signalEraseLutSuccess, this, &MainWindow::slotMsgEraseLutOk);

    connect(&rgbAdjustWidget, &RGBadjustWidget::signalBack, this, &MainWindow::slotRGBadjustBack);
}

void MainWindow::closeFastWidget()
{
    for (QLabel *arrow : {ui->frameArray, ui->wavesArray, ui->photoArray, ui->colorArray, ui->signalArray})
        arrow->hide();
    ui->FastWidget->hide();
}

void MainWindow::changeFastWidget(FastWidget::FastWidgetIndex index, QLabel *arrow)
{
    if (ui->FastWidget->isVisible()) {
        if (ui->FastWidget->currentIndex() == index) {
            arrow->hide();
            ui->FastWidget->hide();
            return;
        }
        for (QLabel *other : {ui->frameArray, ui->wavesArray, ui->photoArray, ui->colorArray, ui->signalArray})
            other->hide();
        arrow->show();
        ui->FastWidget->setCurrentIndex(index);
        return;
    }
    if (ui->systemWidget->isVisible())
        ui->systemWidget->hide();
    ui->FastWidget->setCurrentIndex(index);
    arrow->show();
    ui->FastWidget->show();
}

void MainWindow::slotFrameManagement()
{
    changeFastWidget(FastWidget::FAST_FRAME, ui->frameArray);
}

void MainWindow::slotWavesManagement()
{
    changeFastWidget(FastWidget::FAST_WAVES, ui->wavesArray);
}

void MainWindow::slotPhotoManagement()
{
    changeFastWidget(FastWidget::FAST_PHOTO, ui->photoArray);
}

void MainWindow::slotColorManagement()
{
    changeFastWidget(FastWidget::FAST_COLOR, ui->colorArray);
}

void MainWindow::slotSignalManagement()
{
    changeFastWidget(FastWidget::FAST_SIGNAL, ui->signalArray);
}

void MainWindow::slotSelectFrame()
{
    selectWidget.setMode(SelectWidget::SELECT_FRAME);
    changeFastWidget(FastWidget::FAST_SELECT, ui->frameArray);
}

void MainWindow::slotUserLutOp(int op, bool flag)
{
    static const SelectWidget::SelectMode modes[] = {SelectWidget::SELECT_USER, SelectWidget::SELECT_IMPORT,
                                                     SelectWidget::SELECT_ERASE};
    if (op < 0 || op > 2)
        return;
    selectWidget.setMode(modes[op], flag);
    changeFastWidget(FastWidget::FAST_SELECT, ui->colorArray);
}

void MainWindow::slotPreSelectLut(bool flag)
{
    selectWidget.setMode(SelectWidget::SELECT_PRESET, flag);
    changeFastWidget(FastWidget::FAST_SELECT, ui->colorArray);
}

void MainWindow::slotSelectBack(int mode)
{
    if (mode == SelectWidget::SELECT_FRAME)
        changeFastWidget(FastWidget::FAST_FRAME, ui->frameArray);
    else
        changeFastWidget(FastWidget::FAST_COLOR, ui->colorArray);
}

void MainWindow::slotRGBadjust()
{
    changeFastWidget(FastWidget::FAST_RGB_ADJUST, ui->colorArray);
}

void MainWindow::slotRGBadjustBack()
{
    changeFastWidget(FastWidget::FAST_COLOR, ui->colorArray);
}

// --- system menu ----------------------------------------------------------------

void MainWindow::systemWidgetInit()
{
    ui->systemWidget->addWidget(&systemMenuWidget);
    ui->systemWidget->setCurrentIndex(0);
    ui->systemWidget->hide();
    connect(&systemMenuWidget, &SystemMenuWidget::signalBack, this, &MainWindow::slotSystemWidgetBack);
    connect(&systemMenuWidget, &SystemMenuWidget::signalReset, this, &MainWindow::slotMsgResetSystem);
    connect(&systemMenuWidget, &SystemMenuWidget::signalUpgrade, this, &MainWindow::slotSystemUpgrade);
    connect(&systemMenuWidget, &SystemMenuWidget::signalScreenOff, this, &MainWindow::slotScreenOff);
    connect(&systemMenuWidget, &SystemMenuWidget::signalShowSystemWidget, this, &MainWindow::showSystemWidget);
    connect(&systemMenuWidget, &SystemMenuWidget::signalPreConfig, this, &MainWindow::slotMsgPreConfig);
    connect(&systemMenuWidget, &SystemMenuWidget::signalSetTimeOk, this, &MainWindow::slotMsgTimeSettingOk);
    connect(&systemMenuWidget, &SystemMenuWidget::signalImportLutCalibrateSuccess, this,
            &MainWindow::slotMsgImportLutCalibrateOk);
    connect(&systemMenuWidget, &SystemMenuWidget::signalImportLutCalibrateFailed, this,
            &MainWindow::slotMsgImportLutCalibrateFailed);
    connect(&systemMenuWidget, &SystemMenuWidget::signalEraseLutCalibrateSuccess, this,
            &MainWindow::slotMsgEraseLutCalibrateOk);
}

// --- scope captions -------------------------------------------------------------

void MainWindow::slotShowWaves(bool on)
{
    wavesLightShown = on;
    wavesLabelUpdate();
}

void MainWindow::slotShowRGBWaves(bool on)
{
    wavesRGBShown = on;
    wavesLabelUpdate();
}

void MainWindow::slotShowHistogram(bool on)
{
    wavesHistogramShown = on;
    wavesLabelUpdate();
}

void MainWindow::slotShowVectorgraph(bool on)
{
    wavesVectorShown = on;
    wavesLabelUpdate();
}

void MainWindow::wavesLabelUpdate()
{
    if (mainNoVideo)
        return;
    int slot = 0;
    ui->luminanceWavesLabel->setVisible(wavesLightShown);
    if (wavesLightShown)
        ++slot;
    const struct {
        QLabel *caption;
        bool shown;
        int shift;
    } captions[] = {
        {ui->RGBWavesLabel, wavesRGBShown, 0},
        {ui->histogramWavesLabel, wavesHistogramShown, histogramCaptionShift},
        {ui->vectorgraphWavesLabel, wavesVectorShown, 0},
    };
    for (const auto &entry : captions) {
        if (entry.shown)
            entry.caption->move(slot++ * scopeSlotWidth + entry.shift, scopeCaptionY);
        entry.caption->setVisible(entry.shown);
    }
    update();
}

void MainWindow::wavesLabelUpdate(bool visible)
{
    if (visible) {
        wavesLabelUpdate();
        return;
    }
    for (QLabel *caption :
         {ui->luminanceWavesLabel, ui->RGBWavesLabel, ui->histogramWavesLabel, ui->vectorgraphWavesLabel})
        caption->hide();
}

// --- split handles and the light meter ----------------------------------------------

void MainWindow::placeSplitHandle(QWidget *handle, int percent)
{
    const double centre = percent / 100.0 * displayWidth;
    moveX(handle, static_cast<int>(centre - handle->width() / 2.0));
}

void MainWindow::frameComparePositionInit()
{
    appConfig->findValue("frameCompareEnable", frameCompareShown);
    int position = defaultSplitPercent;
    appConfig->findValue("frameComparePosition", position);
    position = std::clamp(position, 0, 100);
    for (QWidget *handle : {static_cast<QWidget *>(ui->frameComparePosition),
                            static_cast<QWidget *>(ui->lutContrastPosition)})
        handle->setAttribute(Qt::WA_TransparentForMouseEvents);
    placeSplitHandle(ui->frameComparePosition, position);
    ui->frameComparePosition->setVisible(frameCompareShown && !mainNoVideo);
    ui->lutContrastPosition->setVisible(lutContrastShown && !mainNoVideo);
}

void MainWindow::slotShowFrameComparePosition(bool on)
{
    frameCompareShown = on;
    ui->frameComparePosition->setVisible(on && !mainNoVideo);
}

void MainWindow::slotMoveFrameComparePosition(int percent)
{
    placeSplitHandle(ui->frameComparePosition, percent);
    if (!mainNoVideo && frameCompareShown)
        ui->frameComparePosition->show();
}

void MainWindow::slotShowLutContrastPosition(bool on)
{
    lutContrastShown = on;
    ui->lutContrastPosition->setVisible(on && !mainNoVideo);
}

void MainWindow::slotMoveLutContrastPosition(int percent)
{
    placeSplitHandle(ui->lutContrastPosition, percent);
    if (!mainNoVideo && lutContrastShown) {
        ui->lutContrastPosition->show();
        videoOption->lutContrastPosition(static_cast<int>(percent / 100.0 * displayWidth));
    }
}

void MainWindow::lightMeterFrameInit()
{
    appConfig->findValue("colorLightMeterEnable", lightMeterShown);
    ui->lightMeterFrame->setVisible(lightMeterShown);
}

void MainWindow::slotLightMeterEnable(bool on)
{
    lightMeterShown = on;
    if (!mainNoVideo)
        ui->lightMeterFrame->setVisible(on);
    markDraw.setLightMeterEnable(on);
    update();
}

void MainWindow::lightMeterSetPosition(int x, int y)
{
    lightMeterX = std::clamp(x, 0, displayWidth);
    lightMeterY = std::clamp(y, 0, displayHeight);
    const double width = appConfig->videoWidth(0);
    const double height = appConfig->videoHeight(0);
    lightMeterCtl->setLightMeterPosition(static_cast<int>(lightMeterX / double(displayWidth) * width / videoScaleX),
                                         static_cast<int>(lightMeterY / double(displayHeight) * height / videoScaleY));
    markDraw.lightMeterSetPosition(lightMeterX, lightMeterY);
    update();
}

// --- overlay ------------------------------------------------------------------------

void MainWindow::slotMarkEnable(bool on)
{
    markDraw.setMarkEnable(on);
    update();
}

void MainWindow::slotMarkColor(int index)
{
    markDraw.setMarkColor(index);
    update();
}

void MainWindow::slotMarkLine(const std::string &width)
{
    markDraw.setMarkLine(width);
    update();
}

void MainWindow::slotMarkRate(const std::string &ratio, bool on)
{
    markDraw.setMarkRate(ratio, on);
    update();
}

void MainWindow::slotMarkUserRate(float width, float height)
{
    markDraw.setMarkUserRate(width, height);
}

void MainWindow::slotSafeMarkEnable(bool on)
{
    markDraw.setSafeMarkEnable(on);
    update();
}

void MainWindow::slotSafeColor(int index)
{
    markDraw.setSafeColor(index);
    update();
}

void MainWindow::slotSafeLine(const std::string &width)
{
    markDraw.setSafeLine(width);
    update();
}

void MainWindow::slotSafeMarkPercent(int percent)
{
    markDraw.setSafeMarkPercent(percent);
    update();
}

void MainWindow::slotUpdateMark(bool zoom, bool warp, float warpRate, bool picInPic,
                                AssistChannelCtl::PicInPicMode mode, VideoOption::ScanMode scan)
{
    zoomActive = zoom;
    scanMode = scan;
    markDraw.UpdateMark(zoom, warp, warpRate, picInPic, mode, scan);
    update();
}

// --- messages -------------------------------------------------------------------------

void MainWindow::msgWidgetInit()
{
    for (QWidget *page :
         {static_cast<QWidget *>(&screenFrameSuccess), static_cast<QWidget *>(&screenFrameFail),
          static_cast<QWidget *>(&preConfig), static_cast<QWidget *>(&resetSystem),
          static_cast<QWidget *>(&antennaExternal), static_cast<QWidget *>(&timeSetting),
          static_cast<QWidget *>(&importLutSuccess), static_cast<QWidget *>(&importLutFailed),
          static_cast<QWidget *>(&eraseLutSuccess), static_cast<QWidget *>(&lutContrast),
          static_cast<QWidget *>(&scanProgress)})
        ui->msgStackedWidget->addWidget(page);
    ui->msgStackedWidget->hide();
    msgTimer.setSingleShot(true);
    msgTimer.setInterval(messageIntervalMs);
    connect(&msgTimer, &QTimer::timeout, this, &MainWindow::msgWidgetHide);
    connect(&preConfig, &PreConfig::signalMsgHide, this, &MainWindow::msgWidgetHide);
    connect(&resetSystem, &ResetSystem::signalMsgHide, this, &MainWindow::msgWidgetHide);
    connect(&resetSystem, &ResetSystem::signalMsgOk, this, &MainWindow::slotSystemReset);
}

void MainWindow::msgWidgetShow(MsgWidget::MSGWidgetIndex index)
{
    ui->msgStackedWidget->setCurrentIndex(index);
    ui->msgStackedWidget->show();
    ui->msgStackedWidget->raise();
}

void MainWindow::msgWidgetFlash(MsgWidget::MSGWidgetIndex index)
{
    msgWidgetShow(index);
    msgTimer.start();
}

void MainWindow::msgWidgetHide()
{
    const int page = ui->msgStackedWidget->currentIndex();
    if (page == MsgWidget::MSG_PRE_CONFIG || page == MsgWidget::MSG_RESET_SYSTEM) {
        setTouchState(ZqEventFilter::TOUCH_NORMAL);
        if (page == MsgWidget::MSG_PRE_CONFIG)
            systemMenuWidget.preConfigUse();
        else
            systemMenuWidget.resetButtonUse();
    }
    ui->msgStackedWidget->hide();
}

void MainWindow::setTouchState(int state)
{
    if (eventFilter != nullptr)
        eventFilter->setTouchState(state);
}

void MainWindow::slotMsgFrameShow(bool ok)
{
    msgWidgetFlash(ok ? MsgWidget::MSG_FRAME_SUCCESS : MsgWidget::MSG_FRAME_FAIL);
}

void MainWindow::slotMsgPreConfig(int type)
{
    msgTimer.stop();
    setTouchState(ZqEventFilter::TOUCH_MESSAGE);
    preConfig.setPreConfigType(static_cast<PreConfig::PreConfigType>(type));
    msgWidgetShow(MsgWidget::MSG_PRE_CONFIG);
}

void MainWindow::slotMsgResetSystem()
{
    msgTimer.stop();
    setTouchState(ZqEventFilter::TOUCH_MESSAGE);
    msgWidgetShow(MsgWidget::MSG_RESET_SYSTEM);
}

void MainWindow::slotMsgAntennaExternal()
{
    msgWidgetFlash(MsgWidget::MSG_ANTENNA_EXTERNAL);
}

void MainWindow::slotMsgTimeSettingOk()
{
    msgWidgetFlash(MsgWidget::MSG_TIME_SETTING);
}

void MainWindow::slotMsgImportLutOk()
{
    msgWidgetFlash(MsgWidget::MSG_IMPORT_LUT_SUCCESS);
}

void MainWindow::slotMsgImportLutCalibrateOk()
{
    msgWidgetFlash(MsgWidget::MSG_IMPORT_LUT_SUCCESS);
}

void MainWindow::slotMsgImportLutFailed()
{
    msgWidgetFlash(MsgWidget::MSG_IMPORT_LUT_FAILED);
}

void MainWindow::slotMsgImportLutCalibrateFailed()
{
    msgWidgetFlash(MsgWidget::MSG_IMPORT_LUT_FAILED);
}

void MainWindow::slotMsgEraseLutOk()
{
    msgWidgetFlash(MsgWidget::MSG_ERASE_LUT_SUCCESS);
}

void MainWindow::slotMsgEraseLutCalibrateOk()
{
    msgWidgetFlash(MsgWidget::MSG_ERASE_LUT_SUCCESS);
}

void MainWindow::slotMsgLutContrast()
{
    msgWidgetFlash(MsgWidget::MSG_LUT_CONTRAST);
}

void MainWindow::slotMsgScanProgressBar(int percent)
{
    scanProgress.setProgress(percent);
    if (percent == 0) {
        msgTimer.stop();
        setTouchState(ZqEventFilter::TOUCH_SCANNING);
        msgWidgetShow(MsgWidget::MSG_SCAN_PROGRESS);
    } else if (percent == 100) {
        setTouchState(ZqEventFilter::TOUCH_NORMAL);
        msgWidgetFlash(MsgWidget::MSG_SCAN_PROGRESS);
    }
}
