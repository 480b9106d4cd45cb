#include "AssistChannelCtl.h"

#include "PLField.h"

#include <chrono>
#include <thread>

namespace {

const char *const modeTexts[] = {"leftTop", "leftBottom", "rightTop", "rightBottom", "leftHalf", "rightHalf"};
constexpr int modeCount = sizeof(modeTexts) / sizeof(modeTexts[0]);

constexpr unsigned int windowEnableBit = 0;
constexpr unsigned int halfScreenBit = 4;
constexpr unsigned int resetBit = 8;
constexpr auto resetPulse = std::chrono::milliseconds(10);

// Scaling step in 12-bit fixed point: source units per output unit.
unsigned int step(float source, float output)
{
    return static_cast<unsigned int>(source / output * 4096.0f) & 0xFFFFu;
}

} // namespace

AssistChannelCtl::AssistChannelCtl() : m_pl(PLControl::getInstance())
{
}

std::string AssistChannelCtl::picInPicText(PicInPicMode mode)
{
    const int value = mode;
    return value >= 0 && value < modeCount ? modeTexts[value] : modeTexts[PIP_RIGHT_TOP];
}

AssistChannelCtl::PicInPicMode AssistChannelCtl::picInPicMode(const std::string &text)
{
    for (int i = 0; i < modeCount; ++i) {
        if (text == modeTexts[i])
            return static_cast<PicInPicMode>(i);
    }
    return PIP_RIGHT_TOP;
}

void AssistChannelCtl::inputSelect(Video::InputSource source)
{
    const int value = source;
    m_source = source;
    plfield::write(m_pl, ASSIST_CH_CTL, 0, 1, value >= 0 && value <= 2 ? value : 0);
}

void AssistChannelCtl::enable4Kmode(bool on)
{
    plfield::setBit(m_pl, ASSIST_CH_CTL, 2, on);
}

void AssistChannelCtl::pixFormat(Video::PixFormat format)
{
    const int value = format;
    if (value >= 1 && value <= 4)
        plfield::write(m_pl, ASSIST_CH_CTL, 12, 13, value - 1);
}

void AssistChannelCtl::interlaceMode(Video::InterlaceMode mode)
{
    const int value = mode;
    plfield::write(m_pl, ASSIST_CH_CTL, 20, 21, value >= 0 && value <= 2 ? value : 0);
}

void AssistChannelCtl::reset()
{
    plfield::setBit(m_pl, ASSIST_RESIZE_CTL, resetBit, true);
    std::this_thread::sleep_for(resetPulse);
    plfield::setBit(m_pl, ASSIST_RESIZE_CTL, resetBit, false);
}

void AssistChannelCtl::setPicInPic(PicInPicMode mode)
{
    unsigned int word = plfield::put(m_pl->getValue(ASSIST_RESIZE_CTL), 5, 6, isHalfScreen(mode) ? 1 : 0);
    unsigned int x = 0;
    unsigned int y = 0;
    switch (mode) {
    case PIP_LEFT_BOTTOM:
        y = 1080;
        break;
    case PIP_RIGHT_TOP:
        x = 1920;
        break;
    case PIP_RIGHT_BOTTOM:
        x = 1920;
        y = 1080;
        break;
    case PIP_LEFT_HALF:
    case PIP_RIGHT_HALF:
        x = 1280;
        y = 360;
        break;
    default:
        break;
    }
    m_mode = mode;
    zoomOut();
    word = plfield::put(word, 8, 19, x);
    word = plfield::put(word, 20, 31, y);
    m_pl->setValue(ASSIST_RESIZE_CTL, word);
}

void AssistChannelCtl::setSize(unsigned short width, unsigned short height)
{
    m_width = width;
    m_height = height;
    setPicInPic(m_mode);
}

void AssistChannelCtl::enablePicInPic(bool on)
{
    unsigned int word = m_pl->getValue(ASSIST_RESIZE_CTL);
    word = plfield::put(word, halfScreenBit, halfScreenBit, on && isHalfScreen(m_mode) ? 1 : 0);
    word = plfield::put(word, windowEnableBit, windowEnableBit, on ? 1 : 0);
    m_pl->setValue(ASSIST_RESIZE_CTL, word);
}

bool AssistChannelCtl::isHdmi4K() const
{
    return m_source == Video::HDMI_SOURCE && (m_width == 3840 || m_width == 4096);
}

void AssistChannelCtl::zoomOut()
{
    if (m_width == 0 || m_height == 0) {
        m_width = 1920;
        m_height = 1080;
    }
    float dw = 640;
    float dh = 360;
    const bool half = isHalfScreen(m_mode);
    if (!half) {
        if (isHdmi4K())
            dw = 320;
    } else if (m_width == 1920) {
        dw = 960;
        dh = 540;
    } else if (m_width != 1280) {
        dw = isHdmi4K() ? 512 : 1024;
        dh = 540;
    }
    m_pl->setValue(ASSIST_ZOOM_OUT, step(m_width, dw) | step(m_height, dh) << 16);
    if (!half)
        return;
    if (isHdmi4K())
        dw = 1024;
    zoomIn(dw, dh);
}

void AssistChannelCtl::zoomIn(float width, float height)
{
    if (!isHalfScreen(m_mode))
        return;
    m_pl->setValue(ASSIST_ZOOM_IN, step(width, 1280) | step(height, 720) << 16);
}
