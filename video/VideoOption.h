#pragma once

#include "AssistChannelCtl.h"
#include "CscCtl.h"
#include "InterruptsCtl.h"
#include "Singleton.h"
#include "Video.h"

#include <QMetaType>
#include <QObject>
#include <atomic>
#include <mutex>
#include <string>

class AudioCtl;
class DisplayPositionCtl;
class FrameCtl;
class HDMICtl;
class LightMeterCtl;
class LutCtl;
class MainChannelCtl;
class PLControl;
class ResizeCtl;
class SDICtl;
class TimeCode;
class WavesCtl;
class WHDICtl;
class ZebraCtl;

// What the screen shows: the inputs of both channels, the main input's
// format, and the display modes that compete for the scaler (picture in
// picture, zoom, de-squeeze, light meter, frame compare, LUT compare, scan
// modes). Every mode change goes through it; it keeps the modes exclusive and
// recomputes the scaler and display windows. On the video interrupt it asks
// the decoders of the selected inputs to refresh.
class VideoOption : public QObject, public Singleton<VideoOption>
{
    Q_OBJECT

public:
    enum Channel : int { MAIN_CHANNEL = 0, ASSIST_CHANNEL = 1 };
    enum ScanMode : int { SCAN_NORMAL = 0, SCAN_PIX = 1, SCAN_PIX_TO_PIX = 2 };
    enum ScaleType : int { SCALE_ZOOM_IN = 0, SCALE_ZOOM_OUT = 1 };
    Q_ENUM(ScanMode)

    // The setting text of a scan mode, and the mode of a text (false, and
    // SCAN_NORMAL, for an unknown text).
    static std::string scanModeText(ScanMode mode);
    static bool scanModeFromText(const std::string &text, ScanMode &mode);

    void setInput(Channel channel, const std::string &name);
    std::string getInput(Channel channel) const;
    void setFormat(const std::string &format);
    void setStlye(Channel channel, Video::BitDepth depth, Video::Level level, Video::Sampling sampling);
    void setStlye();
    void setRange(const std::string &range);
    void setSDImode(Video::SDIMode mode);
    void setInterlance(Channel channel, Video::InterlaceMode mode);
    void setPixFormat(Channel channel, Video::PixFormat format);
    void enable4KMode(Channel channel, bool on);
    void reset(Channel channel);
    void setSize(Channel channel, int width, int height);
    Video::InterlaceMode getInterlance() const;

    void enablePicInPic(bool on, bool update);
    void setPinInPinMode(AssistChannelCtl::PicInPicMode mode, bool update);
    void enableZoomMode(bool on, bool update);
    void enableWarpMode(bool on, bool update);
    void enableLightMeterMode(bool on, bool update);
    void enableFrameCompareMode(bool on, bool update);
    void enableLutContrastMode(bool on, bool update);
    void setScanMode(ScanMode mode, bool update);
    void setAssistNovideo(bool noVideo);
    void resizeWarpRate(float rate);
    void setScaleFactor(ScaleType type);
    void setScaleOffset(int dx, int dy);
    void setScanModeOffset(int dx, int dy);
    void resizeZoomPosition(unsigned short x, unsigned short y);
    void resizeZoomPosition();
    void lutContrastPosition(int position);
    void UplutContrastPosition();
    void setSingleOnly(bool on);
    void setSingleColorType(CscCtl::ScreenMatrixType type);

    void setLuminanceGain(float gain);
    void setContranstGain(float gain);
    void setChromaGain(float gain);
    void setTemperture(bool on, int kelvin);
    void setColourType(CscCtl::ColourType type);

    void loadCscMatrix();
    void loadCscMatrix(Channel channel);

    void update();

    void interruptsHandle(InterruptsCtl::KeyHandle handle, int value);

    // The state the modes and the zoom are in.
    bool isPicInPic() const { return m_picInPic; }
    bool isZoom() const { return zoom; }
    bool isWarp() const { return warp; }
    bool isLightMeter() const { return lightMeter; }
    bool isFrameCompare() const { return frameCompare; }
    bool isLutContrast() const { return lutContrast; }
    ScanMode getScanMode() const { return m_scanMode; }
    unsigned short getZoomWidth() const { return zoomWidth; }
    unsigned short getZoomHeight() const { return zoomHeight; }
    unsigned short getPanX() const { return panX; }
    unsigned short getPanY() const { return panY; }

signals:
    void signalUpdateMark(bool zoom, bool warp, float warpRate, bool picInPic, AssistChannelCtl::PicInPicMode mode,
                          VideoOption::ScanMode scanMode);
    void signalPicEnable(bool on);
    void signalZoomEnable(bool on);
    void signalWrapEnable(bool on);
    void signalScanMode(VideoOption::ScanMode mode);
    void signalLightMeterEnable(bool on);
    void signalFrameCompareEnable(bool on);
    void signalLutContrastEnable(bool on);

private:
    friend class Singleton<VideoOption>;
    VideoOption();

    // A competing mode is switched on: every other one goes off.
    void exclusive();
    void clearModes();
    void scanMode();
    void zoomMode();
    void picInPic();
    void warpRate();
    void setDefaultWindow();
    void setWindows(int leftX0, int leftX1, int rightX0, int rightX1, int y0, int y1);
    void applyCrop(unsigned short x, unsigned short y);
    bool mainIs(Video::InputSource source) const;
    void refresh(int channel, int source);

    PLControl *m_pl;
    bool singleOnly = false;
    bool m_picInPic = false;
    bool zoom = false;
    bool warp = false;
    bool lightMeter = false;
    bool frameCompare = false;
    bool lutContrast = false;
    bool zoomFull = false;
    bool assistNoVideo = false;
    unsigned short zoomMaxWidth = 0;
    unsigned short zoomWidth = 0;
    unsigned short zoomHeight = 0;
    unsigned short zoomMinWidth = 0;
    unsigned short zoomStep = 0;
    float m_warpRate = 1.0f;
    std::string range;
    std::string format;
    mutable std::mutex m_inputMutex;
    std::string input[2];
    // The selected source of each channel for the interrupt handler; -1 none.
    std::atomic<int> m_source[2] = {{-1}, {-1}};
    unsigned short width = 0;
    unsigned short height = 0;
    unsigned short zoomPosX = 0;
    unsigned short zoomPosY = 0;
    unsigned short panX = 0;
    unsigned short panY = 0;
    int m_lutContrastPosition = 960;
    CscCtl::ScreenMatrixType singleColorType = CscCtl::ScreenBlue;
    ScanMode m_scanMode = SCAN_NORMAL;
    Video::SDIMode sdiMode = Video::SDI_HD;
    Video::InterlaceMode mainInterlace = Video::PROGRESSIVE;
    Video::BitDepth bitDepth = Video::DEPTH_UNKNOWN;
    Video::Level level = Video::LEVEL_A;
    Video::Sampling sampling = static_cast<Video::Sampling>(0);
    AssistChannelCtl::PicInPicMode pipMode = AssistChannelCtl::PIP_LEFT_TOP;

    CscCtl *m_csc;
    ResizeCtl *m_resize;
    ZebraCtl *m_zebra;
    WavesCtl *m_waves;
    LightMeterCtl *m_lightMeter;
    FrameCtl *m_frame;
    DisplayPositionCtl *m_position;
    MainChannelCtl *m_main;
    AssistChannelCtl *m_assist;
    SDICtl *m_sdi;
    WHDICtl *m_whdi;
    HDMICtl *m_hdmi;
    AudioCtl *m_audio;
    TimeCode *m_timeCode;
    InterruptsCtl *m_interrupts;
    LutCtl *m_lut;
};

Q_DECLARE_METATYPE(AssistChannelCtl::PicInPicMode)
