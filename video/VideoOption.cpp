#include "VideoOption.h"

#include "AssistCtls.h"
#include "AudioCtl.h"
#include "DisplayPositionCtl.h"
#include "FrameCtl.h"
#include "HDMICtl.h"
#include "LightMeterCtl.h"
#include "LutCtl.h"
#include "MainChannelCtl.h"
#include "PLControl.h"
#include "ResizeCtl.h"
#include "SDICtl.h"
#include "TimeCode.h"
#include "WHDICtl.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

// Panel geometry: two halves of 1280 positions each, 1440 lines.
constexpr int panelWidth = 2560;
constexpr int panelHeight = 1440;
constexpr int halfLeft = 92;
constexpr int halfRight = 1372;
constexpr int panelTop = 6;
constexpr int panelBottom = 1446;
// A 4096 x 2160 or 2048 x 1080 picture letterboxed to 1350 lines.
constexpr int letterboxTop = 51;
constexpr int letterboxBottom = 1401;
// The half-screen picture-in-picture layout.
constexpr int pipWidth = 1280;
constexpr int pipHeight = 720;
constexpr int pipTop = 368;
constexpr int pipBottom = 1088;

constexpr double wideRatio = 16.0 / 9.0;
constexpr int zoomMinimum = 640;
constexpr int screenWidth = 1920;
constexpr auto resetDelay = std::chrono::milliseconds(50);

constexpr int rgbWhite = 1023;
constexpr int yWhite = 940;
constexpr int chromaZero = 512;

const char *const scanTexts[] = {"normal", "pix", "pixTopix"};

int clampTo(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

int sourceOf(const std::string &name)
{
    if (name == "SDI")
        return Video::SDI_SOURCE;
    if (name == "HDMI")
        return Video::HDMI_SOURCE;
    if (name == "WHDI")
        return Video::WHDI_SOURCE;
    return -1;
}

} // namespace

VideoOption::VideoOption()
    : m_pl(PLControl::getInstance()), m_csc(CscCtl::getInstance()), m_resize(ResizeCtl::getInstance()),
      m_zebra(ZebraCtl::getInstance()), m_waves(WavesCtl::getInstance()), m_lightMeter(LightMeterCtl::getInstance()),
      m_frame(FrameCtl::getInstance()), m_position(DisplayPositionCtl::getInstance()),
      m_main(MainChannelCtl::getInstance()), m_assist(AssistChannelCtl::getInstance()),
      m_sdi(SDICtl::getInstance()), m_whdi(WHDICtl::getInstance()), m_hdmi(HDMICtl::getInstance()),
      m_audio(AudioCtl::getInstance()), m_timeCode(TimeCode::getInstance()),
      m_interrupts(InterruptsCtl::getInstance()), m_lut(LutCtl::getInstance())
{
    qRegisterMetaType<AssistChannelCtl::PicInPicMode>("AssistChannelCtl::PicInPicMode");
    qRegisterMetaType<VideoOption::ScanMode>("VideoOption::ScanMode");
    m_interrupts->attach(InterruptsCtl::VIDEO_INFO,
                         [this](InterruptsCtl::KeyHandle handle, int value) { interruptsHandle(handle, value); });
}

std::string VideoOption::scanModeText(ScanMode mode)
{
    const int value = mode;
    return scanTexts[value >= 0 && value <= 2 ? value : 0];
}

bool VideoOption::scanModeFromText(const std::string &text, ScanMode &mode)
{
    for (int i = 0; i < 3; ++i) {
        if (text == scanTexts[i]) {
            mode = static_cast<ScanMode>(i);
            return true;
        }
    }
    mode = SCAN_NORMAL;
    return false;
}

// --- inputs and format -------------------------------------------------------

void VideoOption::setInput(Channel channel, const std::string &name)
{
    const int index = channel == ASSIST_CHANNEL ? 1 : 0;
    {
        std::lock_guard<std::mutex> lock(m_inputMutex);
        input[index] = name;
    }
    const int source = sourceOf(name);
    m_source[index] = source;
    if (source < 0)
        return;
    if (index == 0)
        m_main->inputSelect(static_cast<Video::InputSource>(source));
    else
        m_assist->inputSelect(static_cast<Video::InputSource>(source));
    if (index == 0 && source == Video::HDMI_SOURCE)
        m_zebra->zebraRGBColor(rgbWhite, rgbWhite, rgbWhite);
    else if (index == 0 && source == Video::WHDI_SOURCE)
        m_zebra->zebraYCbCcColor(yWhite, chromaZero, chromaZero);
}

std::string VideoOption::getInput(Channel channel) const
{
    std::lock_guard<std::mutex> lock(m_inputMutex);
    return input[channel == ASSIST_CHANNEL ? 1 : 0];
}

bool VideoOption::mainIs(Video::InputSource source) const
{
    return m_source[0] == source;
}

void VideoOption::setFormat(const std::string &format)
{
    this->format = format;
    Video::SDIinputFormat value;
    if (Video::sdiInputFormatFromText(format, value))
        m_main->SDIinput(value);
}

void VideoOption::setStlye(Channel channel, Video::BitDepth depth, Video::Level level, Video::Sampling sampling)
{
    // Stored for either channel: the input matrix of the channel loaded next
    // follows it. Only the zebra colour belongs to the main channel alone.
    bitDepth = depth;
    this->level = level;
    this->sampling = sampling;
    Video::SDIinputFormat value;
    if (format == "Auto" && Video::sdiInputFormatOf(depth, level, sampling, value))
        m_main->SDIinput(value);
    if (channel != MAIN_CHANNEL)
        return;
    if (sampling == Video::SAMPLING_RGB444)
        m_zebra->zebraRGBColor(rgbWhite, rgbWhite, rgbWhite);
    else
        m_zebra->zebraYCbCcColor(yWhite, chromaZero, chromaZero);
}

void VideoOption::setStlye()
{
    setStlye(MAIN_CHANNEL, bitDepth, level, sampling);
}

void VideoOption::setRange(const std::string &range)
{
    this->range = range;
}

void VideoOption::setSDImode(Video::SDIMode mode)
{
    sdiMode = mode;
}

void VideoOption::setInterlance(Channel channel, Video::InterlaceMode mode)
{
    if (channel == MAIN_CHANNEL) {
        mainInterlace = mode;
        m_main->interlaceMode(mode);
    } else {
        m_assist->interlaceMode(mode);
    }
}

void VideoOption::setPixFormat(Channel channel, Video::PixFormat format)
{
    if (channel == MAIN_CHANNEL)
        m_main->pixFormat(format);
    else
        m_assist->pixFormat(format);
}

void VideoOption::enable4KMode(Channel channel, bool on)
{
    if (channel == MAIN_CHANNEL)
        m_main->enable4Kmode(on);
    else
        m_assist->enable4Kmode(on);
}

void VideoOption::reset(Channel channel)
{
    std::this_thread::sleep_for(resetDelay);
    if (channel == MAIN_CHANNEL)
        m_main->reset();
    else
        m_assist->reset();
}

void VideoOption::setSize(Channel channel, int width, int height)
{
    if (channel == ASSIST_CHANNEL) {
        m_assist->setSize(static_cast<unsigned short>(width), static_cast<unsigned short>(height));
        return;
    }
    const unsigned short newWidth = static_cast<unsigned short>(clampTo(width, 0, 0xFFFF));
    const unsigned short newHeight = static_cast<unsigned short>(clampTo(height, 0, 0xFFFF));
    if (newWidth != this->width && newWidth != 0) {
        zoomMinWidth = zoomMinimum;
        zoomMaxWidth = zoomWidth = newWidth;
        zoomHeight = newHeight;
        zoomFull = true;
        const int divisions = newWidth == 2048 || newWidth == 4096 ? 22 : 20;
        zoomStep = static_cast<unsigned short>(std::max(0, (newWidth - zoomMinimum) / divisions));
        panX = panY = 0;
        zoomPosX = zoomPosY = 0;
    }
    this->width = newWidth;
    this->height = newHeight;
    update();
    UplutContrastPosition();
}

Video::InterlaceMode VideoOption::getInterlance() const
{
    if (mainIs(Video::SDI_SOURCE))
        return m_sdi->interlance();
    if (mainIs(Video::WHDI_SOURCE))
        return static_cast<Video::InterlaceMode>(m_whdi->interlance());
    return m_hdmi->interlance();
}

// --- modes -------------------------------------------------------------------

void VideoOption::clearModes()
{
    zoom = warp = lightMeter = frameCompare = lutContrast = false;
    m_scanMode = SCAN_NORMAL;
}

void VideoOption::exclusive()
{
    clearModes();
    if (AssistChannelCtl::isHalfScreen(pipMode))
        m_picInPic = false;
}

void VideoOption::enablePicInPic(bool on, bool update)
{
    if (on && AssistChannelCtl::isHalfScreen(pipMode))
        clearModes();
    m_picInPic = on;
    if (update)
        this->update();
}

void VideoOption::setPinInPinMode(AssistChannelCtl::PicInPicMode mode, bool update)
{
    m_assist->setPicInPic(mode);
    if (m_picInPic && AssistChannelCtl::isHalfScreen(mode))
        clearModes();
    pipMode = mode;
    if (update)
        this->update();
}

void VideoOption::enableZoomMode(bool on, bool update)
{
    if (on)
        exclusive();
    zoom = on;
    if (update)
        this->update();
}

void VideoOption::enableWarpMode(bool on, bool update)
{
    if (on)
        exclusive();
    warp = on;
    if (update)
        this->update();
}

void VideoOption::enableLightMeterMode(bool on, bool update)
{
    if (on)
        exclusive();
    lightMeter = on;
    if (update)
        this->update();
}

void VideoOption::enableFrameCompareMode(bool on, bool update)
{
    if (on)
        exclusive();
    frameCompare = on;
    if (update)
        this->update();
}

void VideoOption::enableLutContrastMode(bool on, bool update)
{
    if (on)
        exclusive();
    lutContrast = on;
    if (update)
        this->update();
}

void VideoOption::setScanMode(ScanMode mode, bool update)
{
    const int value = mode;
    if (value < SCAN_NORMAL || value > SCAN_PIX_TO_PIX)
        return;
    if (mode != SCAN_NORMAL)
        exclusive();
    m_scanMode = mode;
    if (update)
        this->update();
}

void VideoOption::setAssistNovideo(bool noVideo)
{
    assistNoVideo = noVideo;
    m_assist->enablePicInPic(noVideo ? false : m_picInPic);
}

void VideoOption::resizeWarpRate(float rate)
{
    // A factor below 1 would stretch the picture beyond the panel.
    if (!std::isfinite(rate) || rate < 1.0f)
        return;
    m_warpRate = rate;
    update();
}

// --- the whole display ---------------------------------------------------------

void VideoOption::update()
{
    emit signalUpdateMark(zoom, warp, m_warpRate, m_picInPic, pipMode, m_scanMode);
    emit signalPicEnable(m_picInPic);
    emit signalZoomEnable(zoom);
    emit signalWrapEnable(warp);
    emit signalScanMode(m_scanMode);
    emit signalLightMeterEnable(lightMeter);
    emit signalFrameCompareEnable(frameCompare);
    emit signalLutContrastEnable(lutContrast);

    scanMode();
    zoomMode();
    picInPic();
    warpRate();
    m_frame->frameOverlay(frameCompare);
    m_lut->lutPreviewEnable(lutContrast);
}

void VideoOption::setWindows(int leftX0, int leftX1, int rightX0, int rightX1, int y0, int y1)
{
    m_position->setPosition(DisplayPositionCtl::SIDE_LEFT, leftX0, leftX1, y0, y1);
    m_position->setPosition(DisplayPositionCtl::SIDE_RIGHT, rightX0, rightX1, y0, y1);
}

void VideoOption::setDefaultWindow()
{
    const bool letterbox = (width == 4096 && height == 2160) || (width == 2048 && height == 1080);
    setWindows(halfLeft, halfRight, halfLeft, halfRight, letterbox ? letterboxTop : panelTop,
               letterbox ? letterboxBottom : panelBottom);
}

void VideoOption::scanMode()
{
    switch (m_scanMode) {
    case SCAN_NORMAL:
        applyCrop(0, 0);
        break;
    case SCAN_PIX: {
        unsigned short cropWidth = width;
        unsigned short cropHeight = height;
        int offsetX = 0;
        int offsetY = 0;
        if (static_cast<double>(width) / height > wideRatio) {
            cropWidth = static_cast<unsigned short>(height / 9.0 * 16);
            offsetX = (width - cropWidth) / 2;
        } else {
            cropHeight = static_cast<unsigned short>(width * 0.0625 * 9);
            offsetY = (height - cropHeight) / 2;
        }
        if (offsetX != 0 || offsetY != 0) {
            applyCrop(static_cast<unsigned short>(offsetX), static_cast<unsigned short>(offsetY));
            m_resize->resizeZoomEnable(true);
        } else {
            m_resize->resizeZoomEnable(false);
        }
        m_resize->resize(cropWidth, cropHeight, panelWidth, panelHeight);
        setWindows(halfLeft, halfRight, halfLeft, halfRight, panelTop, panelBottom);
        break;
    }
    case SCAN_PIX_TO_PIX:
        m_resize->resizeEnable(false, width);
        m_resize->resizeZoomEnable(false);
        if (width <= panelWidth || height <= panelHeight) {
            // One pixel per pixel, centred; what does not fit is cut by the panel.
            const int y0 = (panelHeight - height) / 2 + panelTop;
            const int y1 = (height + panelHeight) / 2 + panelTop;
            m_resize->resizeUpdate();
            setWindows(clampTo(halfRight - width / 2, halfLeft, halfRight), halfRight, halfLeft,
                       clampTo(halfLeft + width / 2, halfLeft, halfRight), clampTo(y0, panelTop, panelBottom),
                       clampTo(y1, panelTop, panelBottom));
        } else {
            applyCrop(static_cast<unsigned short>((width - panelWidth) / 2),
                      static_cast<unsigned short>((height - panelHeight) / 2));
            m_resize->resizeZoomEnable(true);
            m_resize->resizeUpdate();
            setWindows(halfLeft, halfRight, halfLeft, halfRight, panelTop, panelBottom);
        }
        break;
    }
}

void VideoOption::zoomMode()
{
    if (m_scanMode == SCAN_NORMAL)
        m_resize->resizeZoomEnable(zoom);
    if (!zoom)
        return;
    if (zoomPosX != panX || zoomPosY != panY)
        applyCrop(panX, panY);
    m_resize->resize(zoomWidth, zoomHeight, panelWidth, panelHeight);
    setDefaultWindow();
}

void VideoOption::picInPic()
{
    if (AssistChannelCtl::isHalfScreen(pipMode) && m_picInPic) {
        unsigned short mainHeight = height;
        if (mainIs(Video::HDMI_SOURCE) && m_hdmi->interlance() == Video::INTERLACED)
            mainHeight /= 2;
        m_resize->resize(width, mainHeight, pipWidth, pipHeight);
        setWindows(halfLeft, halfRight, halfLeft, halfRight, pipTop, pipBottom);
    } else if (!zoom && !warp && m_scanMode == SCAN_NORMAL) {
        m_resize->resize(width, height, panelWidth, panelHeight);
        setDefaultWindow();
    }
    if (!assistNoVideo)
        m_assist->enablePicInPic(m_picInPic);
}

void VideoOption::warpRate()
{
    if (!warp)
        return;
    const int outHeight = static_cast<int>(panelHeight / m_warpRate);
    m_resize->resize(width, height, panelWidth, static_cast<unsigned short>(outHeight));
    setWindows(halfLeft, halfRight, halfLeft, halfRight, (panelHeight - outHeight) / 2 + panelTop,
               (outHeight + panelHeight) / 2 + panelTop);
}

// --- crop, zoom and panning -----------------------------------------------------

void VideoOption::applyCrop(unsigned short x, unsigned short y)
{
    zoomPosX = x;
    zoomPosY = y;
    resizeZoomPosition();
}

// A place chosen for the zoom window: later zoom steps and drags start from
// it, and the scaler takes it at once.
void VideoOption::resizeZoomPosition(unsigned short x, unsigned short y)
{
    panX = x;
    panY = y;
    applyCrop(x, y);
    m_resize->resizeUpdate();
}

void VideoOption::resizeZoomPosition()
{
    unsigned short x = zoomPosX;
    unsigned short y = zoomPosY;
    // Field-based and two-stream transports store half the lines per stream.
    const bool halfLines = mainInterlace == Video::INTERLACED || mainInterlace == Video::PSF
                           || sdiMode == Video::SDI_6G
                           || (sdiMode == Video::SDI_3G && level == Video::LEVEL_B
                               && sampling == Video::SAMPLING_YCBCR422 && bitDepth == Video::DEPTH_10);
    if (halfLines)
        y /= 2;
    if (mainIs(Video::HDMI_SOURCE))
        x /= 2;
    m_resize->resizeZoomPosition(x, y);
}

void VideoOption::setScaleFactor(ScaleType type)
{
    const int w = width;
    const int h = height;
    if (w == 0)
        return;
    const int old = zoomWidth;
    int next = old;
    bool whole = false;
    if (type == SCALE_ZOOM_IN) {
        if (zoomWidth < zoomMinWidth + zoomStep)
            return;
        next = old - zoomStep;
        zoomHeight = static_cast<unsigned short>(next * h / w);
        zoomFull = false;
    } else if (type == SCALE_ZOOM_OUT) {
        if (old <= zoomMaxWidth - zoomStep) {
            next = old + zoomStep;
            zoomHeight = static_cast<unsigned short>(next * h / w);
            zoomFull = false;
        } else {
            if (zoomFull)
                return;
            next = w;
            zoomHeight = static_cast<unsigned short>(h);
            zoomFull = true;
            whole = true;
        }
    } else {
        return;
    }
    zoomWidth = static_cast<unsigned short>(next);
    if (whole) {
        panX = panY = 0;
    } else {
        const int x = panX + (w - next) / 2 - (w - old) / 2;
        const int y = panY + (h - zoomHeight) / 2 - (h - h * old / w) / 2;
        panX = static_cast<unsigned short>(clampTo(x, 0, std::max(0, w - next)));
        panY = static_cast<unsigned short>(clampTo(y, 0, std::max(0, h - zoomHeight - 1)));
    }
    zoomMode();
}

void VideoOption::setScaleOffset(int dx, int dy)
{
    const int x = static_cast<int>(static_cast<double>(dx) * zoomWidth / panelWidth + panX);
    const int y = static_cast<int>(static_cast<double>(dy) * zoomWidth / panelWidth + panY);
    panX = static_cast<unsigned short>(x < 0 ? 0 : std::min(x, std::max(0, width - zoomWidth)));
    panY = static_cast<unsigned short>(y < 0 ? 0 : std::min(y, std::max(0, height - zoomHeight - 1)));
    if (panX != zoomPosX || panY != zoomPosY) {
        applyCrop(panX, panY);
        m_resize->resizeUpdate();
    }
}

void VideoOption::setScanModeOffset(int dx, int dy)
{
    int x = zoomPosX;
    int y = zoomPosY;
    if (m_scanMode == SCAN_PIX && height != 0 && static_cast<double>(width) / height > wideRatio) {
        const int crop = static_cast<unsigned short>(height / 9.0 * 16);
        const int spare = (width - crop) / 2;
        if (spare == 0)
            return;
        const int next = static_cast<int>(static_cast<double>(dx) * crop / panelWidth + zoomPosX);
        x = next < 0 ? 0 : std::min(2 * spare, next);
        y = 0;
    } else if (m_scanMode == SCAN_PIX) {
        const int crop = static_cast<unsigned short>(width * 0.0625 * 9);
        const int spare = (height - crop) / 2;
        if (spare == 0)
            return;
        const int next = static_cast<int>(static_cast<double>(dy) * crop / panelHeight + zoomPosY);
        x = 0;
        y = next < 0 ? 0 : std::min(2 * spare, next);
    } else {
        if (width <= panelWidth && height <= panelHeight)
            return;
        x = clampTo(zoomPosX + dx, 0, std::max(0, width - panelWidth));
        y = clampTo(zoomPosY + dy, 0, std::max(0, height - panelHeight));
    }
    if (x == zoomPosX && y == zoomPosY)
        return;
    applyCrop(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
    m_resize->resizeUpdate();
}

void VideoOption::lutContrastPosition(int position)
{
    m_lutContrastPosition = clampTo(position, 0, screenWidth);
    const int x = static_cast<int>(static_cast<double>(m_lutContrastPosition) / screenWidth * width);
    if (!mainIs(Video::HDMI_SOURCE) && width <= 2048)
        m_lut->lutPreviewPosition(x);
    else
        m_lut->lutPreviewPosition(x / 2);
}

void VideoOption::UplutContrastPosition()
{
    lutContrastPosition(m_lutContrastPosition);
}

void VideoOption::setSingleOnly(bool on)
{
    singleOnly = on;
}

void VideoOption::setSingleColorType(CscCtl::ScreenMatrixType type)
{
    singleColorType = type;
}

// --- colour ---------------------------------------------------------------------

void VideoOption::setLuminanceGain(float gain)
{
    m_csc->setLuminanceGain(gain);
}

void VideoOption::setContranstGain(float gain)
{
    m_csc->setContranstGain(gain);
}

void VideoOption::setChromaGain(float gain)
{
    m_csc->setChromaGain(gain);
}

void VideoOption::setTemperture(bool on, int kelvin)
{
    m_csc->setTemperture(kelvin, on);
}

void VideoOption::setColourType(CscCtl::ColourType type)
{
    m_csc->setColourType(type);
    m_lightMeter->setColourType(type);
}

void VideoOption::loadCscMatrix()
{
    m_csc->matrixLoad(singleOnly ? singleColorType : CscCtl::ScreenNormal);
    m_csc->matrixEnable(true, CscCtl::Screen);
}

void VideoOption::loadCscMatrix(Channel channel)
{
    const bool main = channel == MAIN_CHANNEL;
    const CscCtl::MatrixEnableType enable = main ? CscCtl::MainInput : CscCtl::AssistInput;
    const int source = m_source[main ? 0 : 1];
    const bool rgb = source == Video::HDMI_SOURCE || (source == Video::SDI_SOURCE && sampling == Video::SAMPLING_RGB444);
    if (rgb) {
        m_csc->matrixLoad(CscCtl::MatrixRGB);
        m_csc->matrixEnable(true, enable);
        if (!main)
            return;
        m_waves->setColorValue(WavesCtl::WaveRGB);
        m_lightMeter->setLightMeterType(LightMeterCtl::LightMeterRGB, CscCtl::MatrixRGB);
        m_csc->matrixOutputLoad(CscCtl::MatrixVideo);
        m_csc->matrixEnable(true, CscCtl::Scope);
        return;
    }
    const CscCtl::MatrixType matrix = range == "video" ? CscCtl::MatrixVideo : CscCtl::MatrixData;
    m_csc->matrixLoad(matrix);
    m_csc->matrixEnable(true, enable);
    if (!main)
        return;
    m_waves->setColorValue(WavesCtl::WaveYCbCr);
    m_lightMeter->setLightMeterType(LightMeterCtl::LightMeterYCbCr, matrix);
    m_csc->matrixLoad(matrix);
    m_csc->matrixEnable(true, CscCtl::Scope);
}

// --- video interrupt ------------------------------------------------------------

void VideoOption::refresh(int channel, int source)
{
    if (source == Video::SDI_SOURCE)
        m_sdi->update(channel);
    else if (source == Video::WHDI_SOURCE)
        m_whdi->update(channel);
    else
        m_hdmi->update(channel);
}

void VideoOption::interruptsHandle(InterruptsCtl::KeyHandle, int)
{
    refresh(MAIN_CHANNEL, m_source[0]);
    refresh(ASSIST_CHANNEL, m_source[1]);
    m_audio->update();
}
