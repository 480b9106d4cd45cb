#pragma once

#include "Config.h"
#include "InterruptsCtl.h"
#include "McuUpdateWidget.h"
#include "VideoOption.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <string>

class Ui_MainWindow;
class AudioCtl;
class HDMICtl;
class OutCtl;
class SDICtl;
class WHDICtl;
class Battery;
class CalibrateCtl;
class GsensorCtl;
class KeyCtl;
class LightMeterCtl;
class Lut3D;
class LutCtl;
class OsdCtl;
class Version;

// The one top-level window, drawn full-screen over the picture the logic
// composes. It owns every page and dialog, watches the inputs and the USB stick
// once a second, and keeps the status and bottom bars.
class MainWindow : public QMainWindow, public Config
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void translateUi() override;
    // F2 and F3 held together: on the dispatcher's key thread.
    void interruptsHandleKeyF2F3(InterruptsCtl::KeyHandle handle, int value);

public slots:
    // The user chose another input for a channel ("SDI", "HDMI" or "WHDI").
    void slotUpdateMainInput(const std::string &name);
    void slotUpdateAssistInput(const std::string &name);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void slotInputDetect();
    // The MCU asked for a firmware update.
    void slotMcuUpgradeWidget();
    // A receiver's format changed.
    void slotUpdateVideoFormat(int channel);
    // The HDMI receiver's state as the MCU reports it changed.
    void slotUpdateHDMI();
    void slotChannel(int channel);

private:
    void init();
    void PLinit();
    // The monitor's own calibration cube into calibration slot 0.
    void calibrateInit();
    void topFrameInit();
    QString inputLabelText(const std::string &input) const;
    // Signal test of a channel's input.
    bool inputDetect(VideoOption::Channel channel);
    bool mainInputDetect();
    bool assistInputDetect();
    void videoDetectAction(bool mainChanged, bool assistChanged);
    // Measures the channel's source and reconfigures the pipeline for it.
    void channelUpdate(VideoOption::Channel channel);
    const std::string &inputOf(VideoOption::Channel channel) const;

    QTimer inputDetectTimer;
    McuUpdateWidget mcuUpdateWidget;
    std::string inputMain;
    std::string inputAssist;
    bool usbPresent = false;
    bool firstPaint = true;
    bool mainNoVideo = false;
    bool assistNoVideo = false;
    bool showTemperature = false;
    bool firstVideoUpdate = true;
    // Last measured input size and pixel scale per channel (0 main, 1 assist).
    int videoWidth[2] = {1920, 1920};
    int videoHeight[2] = {1080, 1080};
    int videoScaleX = 1;
    int videoScaleY = 1;
    std::string videoInfo;
    OsdCtl *osdCtl = nullptr;
    SDICtl *sdiCtl = nullptr;
    HDMICtl *hdmiCtl = nullptr;
    WHDICtl *whdiCtl = nullptr;
    OutCtl *outCtl = nullptr;
    AudioCtl *audioCtl = nullptr;
    VideoOption *videoOption = nullptr;
    LutCtl *lutCtl = nullptr;
    Lut3D *lut3D = nullptr;
    CalibrateCtl *calibrateCtl = nullptr;
    LightMeterCtl *lightMeterCtl = nullptr;
    GsensorCtl *gsensorCtl = nullptr;
    InterruptsCtl *interruptsCtl = nullptr;
    Battery *battery = nullptr;
    KeyCtl *keyCtl = nullptr;
    Version *version = nullptr;
    // Shared with the dispatcher's callback and cleared under its class mutex
    // when the window goes, so that no callback reaches a destroyed window.
    std::shared_ptr<bool> dispatcherCallbacks = std::make_shared<bool>(true);
    Ui_MainWindow *ui;
};
