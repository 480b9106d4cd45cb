#pragma once

#include "AntennaExternal.h"
#include "ColorCalibrateFile.h"
#include "ColorWidget.h"
#include "Config.h"
#include "EraseLutSuccess.h"
#include "FrameWidget.h"
#include "ImportLutFailed.h"
#include "ImportLutSuccess.h"
#include "InterruptsCtl.h"
#include "MainAreas.h"
#include "LutContrast.h"
#include "MarkDraw.h"
#include "McuUpdateWidget.h"
#include "PhotoWidget.h"
#include "PreConfig.h"
#include "RGBadjustWidget.h"
#include "ResetSystem.h"
#include "ScanProgress.h"
#include "ScreenFrameFail.h"
#include "ScreenFrameSuccess.h"
#include "SelectWidget.h"
#include "SignalWidget.h"
#include "SystemMenuWidget.h"
#include "TimeSetting.h"
#include "VideoOption.h"
#include "WavesWidget.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPoint>
#include <QTimer>
#include <memory>
#include <string>

class Ui_MainWindow;
class AudioCtl;
class Battery;
class CalibrateCtl;
class FrameCtl;
class GsensorCtl;
class HDMICtl;
class KeyCtl;
class LightMeterCtl;
class Lut3D;
class LutCtl;
class OsdCtl;
class OutCtl;
class QGestureEvent;
class QLabel;
class SDICtl;
class TimeCode;
class Version;
class WHDICtl;
class ZqEventFilter;

// The one top-level window, drawn full-screen over the picture the logic
// composes. It owns every page, dialog and the overlay painter, watches the
// inputs once a second and reconfigures the channels, keeps the status and
// bottom bars, the menu and message areas, and turns touches into actions.
// Construction and wiring live in MainWindow.cpp, input detection in
// MainWindowInput.cpp, touch in MainWindowTouch.cpp, the screen's areas in
// MainWindowFrames.cpp.
class MainWindow : public QMainWindow, public Config
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void translateUi() override;
    // Records the application's touch filter and takes its clicks.
    void setEventFilterHandle(ZqEventFilter *filter);
    // F2 and F3 held together: on the dispatcher's key thread.
    void interruptsHandleKeyF2F3(InterruptsCtl::KeyHandle handle, int value);

public slots:
    // The user chose another input for a channel ("SDI", "HDMI" or "WHDI").
    void slotUpdateMainInput(const std::string &name);
    void slotUpdateAssistInput(const std::string &name);
    void slotSystemReset();
    void slotFunctionClicked(int key);

    // Touch, lock and screen-off.
    void slotScreenClicked(int x, int y);
    void slotLock(bool locked);
    void slotTimeoutLock();
    void slotScreenOff(bool off);
    void showSystemWidget();
    void slotMenu();
    void slotSystemWidgetBack();
    void slotRotateEnable(bool on);

    // The status bar.
    void slotChannel(int channel);
    void slotStrength(int strength);
    void slotUpdateBatteryStates(bool dc, float volt0, int level0, float volt1, int level1);
    void slotUpdateAudio(int left, int right);
    void slotUpdateVideoInfo();

    // The quick menus and their flows.
    void slotFrameManagement();
    void slotWavesManagement();
    void slotPhotoManagement();
    void slotColorManagement();
    void slotSignalManagement();
    void slotSelectFrame();
    void slotUserLutOp(int op, bool flag);
    void slotPreSelectLut(bool flag);
    void slotSelectBack(int mode);
    void slotRGBadjust();
    void slotRGBadjustBack();

    // Scope captions, split handles and the light meter.
    void slotShowWaves(bool on);
    void slotShowRGBWaves(bool on);
    void slotShowHistogram(bool on);
    void slotShowVectorgraph(bool on);
    void slotShowFrameComparePosition(bool on);
    void slotMoveFrameComparePosition(int percent);
    void slotShowLutContrastPosition(bool on);
    void slotMoveLutContrastPosition(int percent);
    void slotLightMeterEnable(bool on);

    // The overlay: frame lines, safe area and what the pipeline tells.
    void slotMarkEnable(bool on);
    void slotMarkColor(int index);
    void slotMarkLine(const std::string &width);
    void slotMarkRate(const std::string &ratio, bool on);
    void slotMarkUserRate(float width, float height);
    void slotSafeMarkEnable(bool on);
    void slotSafeColor(int index);
    void slotSafeLine(const std::string &width);
    void slotSafeMarkPercent(int percent);
    void slotUpdateMark(bool zoom, bool warp, float warpRate, bool picInPic, AssistChannelCtl::PicInPicMode mode,
                        VideoOption::ScanMode scanMode);

    // The message area.
    void slotMsgFrameShow(bool ok);
    void slotMsgPreConfig(int type);
    void slotMsgResetSystem();
    void slotMsgAntennaExternal();
    void slotMsgTimeSettingOk();
    void slotMsgImportLutOk();
    void slotMsgImportLutCalibrateOk();
    void slotMsgImportLutFailed();
    void slotMsgImportLutCalibrateFailed();
    void slotMsgEraseLutOk();
    void slotMsgEraseLutCalibrateOk();
    void slotMsgLutContrast();
    void slotMsgScanProgressBar(int percent);
    void msgWidgetHide();

    void slotMcuUpgradeWidget();
    void slotSystemUpgrade();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private slots:
    void slotInputDetect();
    // A receiver's format changed.
    void slotUpdateVideoFormat(int channel);
    // The HDMI receiver's state as the MCU reports it changed.
    void slotUpdateHDMI();

private:
    void init();
    void PLinit();
    // The monitor's own calibration cube into calibration slot 0.
    void calibrateInit();

    // Input detection (MainWindowInput.cpp).
    QString inputLabelText(const std::string &input) const;
    bool inputDetect(VideoOption::Channel channel);
    bool mainInputDetect();
    bool assistInputDetect();
    void videoDetectAction(bool mainChanged, bool assistChanged);
    void channelUpdate(VideoOption::Channel channel);
    const std::string &inputOf(VideoOption::Channel channel) const;
    void lightMeterReadout();

    // The screen's areas (MainWindowFrames.cpp).
    void topFrameInit();
    void bottomFrameInit();
    void systemWidgetInit();
    void FastWidgetInit();
    void frameComparePositionInit();
    void lightMeterFrameInit();
    void msgWidgetInit();
    void changeFastWidget(FastWidget::FastWidgetIndex index, QLabel *arrow);
    void closeFastWidget();
    void wavesLabelUpdate();
    void wavesLabelUpdate(bool visible);
    void lightMeterSetPosition(int x, int y);
    void msgWidgetShow(MsgWidget::MSGWidgetIndex index);
    // A message that hides itself after two seconds.
    void msgWidgetFlash(MsgWidget::MSGWidgetIndex index);
    void placeSplitHandle(QWidget *handle, int percent);
    void setTouchState(int state);

    // Touch (MainWindowTouch.cpp).
    void showLockState(bool locked);
    bool lockButtonHit(int x, int y) const;
    void gestureEvent(QGestureEvent *event);
    bool menuOpen() const;

    // 0. the form, first: the pages below are built into its stacks
    Ui_MainWindow *ui;
    // 1. timers
    QTimer inputDetectTimer;
    QTimer lockTimer;
    QTimer msgTimer;
    // 2. the overlay painter of the main picture
    MarkDraw markDraw;
    // 3. the message pages, in the message stack's order
    ScreenFrameSuccess screenFrameSuccess;
    ScreenFrameFail screenFrameFail;
    PreConfig preConfig;
    ResetSystem resetSystem;
    AntennaExternal antennaExternal;
    TimeSetting timeSetting;
    ImportLutSuccess importLutSuccess;
    ImportLutFailed importLutFailed;
    EraseLutSuccess eraseLutSuccess;
    LutContrast lutContrast;
    ScanProgress scanProgress;
    // 4. the top-level menu pages
    FrameWidget frameWidget;
    WavesWidget wavesWidget;
    PhotoWidget photoWidget;
    ColorWidget colorWidget;
    SignalWidget signalWidget;
    SelectWidget selectWidget;
    ColorCalibrateFile colorCalibrateFile;
    RGBadjustWidget rgbAdjustWidget;
    SystemMenuWidget systemMenuWidget;
    McuUpdateWidget mcuUpdateWidget;
    // 5. the selected inputs and the latest video description
    std::string inputMain;
    std::string inputAssist;
    std::string videoInfo;
    // 6. the controllers
    OsdCtl *osdCtl = nullptr;
    SDICtl *sdiCtl = nullptr;
    HDMICtl *hdmiCtl = nullptr;
    WHDICtl *whdiCtl = nullptr;
    OutCtl *outCtl = nullptr;
    LutCtl *lutCtl = nullptr;
    Lut3D *lut3D = nullptr;
    CalibrateCtl *calibrateCtl = nullptr;
    AudioCtl *audioCtl = nullptr;
    TimeCode *timeCode = nullptr;
    LightMeterCtl *lightMeterCtl = nullptr;
    GsensorCtl *gsensorCtl = nullptr;
    VideoOption *videoOption = nullptr;
    InterruptsCtl *interruptsCtl = nullptr;
    Battery *battery = nullptr;
    FrameCtl *frameCtl = nullptr;
    Version *version = nullptr;
    KeyCtl *keyCtl = nullptr;
    ZqEventFilter *eventFilter = nullptr;

    // Window state.
    bool firstVideoUpdate = true;
    bool firstPaint = true;
    bool mainNoVideo = false;
    bool assistNoVideo = false;
    bool usbPresent = false;
    bool showTemperature = false;
    bool frameCompareShown = false;
    bool lutContrastShown = false;
    bool lightMeterShown = false;
    bool lutIconShown = false;
    bool frameFrozen = false;
    bool dcShown = false;
    bool battery0Shown = false;
    bool battery1Shown = false;
    bool wavesLightShown = false;
    bool wavesRGBShown = false;
    bool wavesHistogramShown = false;
    bool wavesVectorShown = false;
    // Last measured input size per channel (0 main, 1 assist) and the
    // screen-to-source scale of the main one.
    int videoWidth[2] = {1920, 1920};
    int videoHeight[2] = {1080, 1080};
    int videoScaleX = 1;
    int videoScaleY = 1;
    int lightMeterX = 960;
    int lightMeterY = 540;

    // Touch state.
    QPoint pressPosition;
    QElapsedTimer pressTime;
    QPoint movePosition;
    bool draggingSplit = false;
    bool draggingFrameCompare = false;
    bool probeDragging = false;
    bool probeMoved = false;
    bool pinching = false;
    bool panned = false;
    bool zoomActive = false;
    int panLastX = 0;
    int panLastY = 0;
    VideoOption::ScanMode scanMode = VideoOption::SCAN_NORMAL;
    float lastPinchScale = 1.0f;
    float pinchScale = 1.0f;

    // Shared with the dispatcher's callback and cleared under its class mutex
    // when the window goes, so that no callback reaches a destroyed window.
    std::shared_ptr<bool> dispatcherCallbacks = std::make_shared<bool>(true);
};
