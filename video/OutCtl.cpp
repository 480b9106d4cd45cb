#include "OutCtl.h"

#include "CscCtl.h"
#include "PLField.h"

#include <chrono>
#include <thread>

namespace {

constexpr unsigned int lutBit = 3;
constexpr unsigned int clockStrobeBit = 8;
constexpr unsigned int convert6GBit = 15;
constexpr unsigned int resetBit = 20;
constexpr auto pulse = std::chrono::milliseconds(5);

// Output modes of bits 0 to 2.
constexpr unsigned int outHD = 0;
constexpr unsigned int outSD = 1;
constexpr unsigned int out3G = 2;
constexpr unsigned int out6G = 4;

// The payload identifier (byte 1) of a 6G picture converted to 1080-line HD.
constexpr unsigned int hd1080PayloadId = 0x85;

} // namespace

OutCtl::OutCtl() : m_pl(PLControl::getInstance()), m_csc(CscCtl::getInstance())
{
}

void OutCtl::setField(unsigned int low, unsigned int high, unsigned int value)
{
    plfield::write(m_pl, SDI_OUT_CTRL, low, high, value);
}

void OutCtl::setInput(Video::InputSource input)
{
    this->input = input;
}

void OutCtl::setSDIMode(Video::SDIMode mode)
{
    sdiMode = mode;
}

void OutCtl::setStlye(Video::BitDepth depth, Video::Level level, Video::Sampling sampling)
{
    bitDepth = depth;
    this->level = level;
    this->sampling = sampling;
}

void OutCtl::setSize(int width, int height)
{
    this->width = width;
    this->height = height;
}

void OutCtl::setPayLoad(unsigned int payload)
{
    this->payload = payload;
}

void OutCtl::setRange(const std::string &range)
{
    this->range = range;
}

void OutCtl::Output6GConverts(bool on)
{
    convert6G = on;
}

void OutCtl::setOutEnable(bool on)
{
    outDisabled = !on;
    setField(resetBit, resetBit, on ? 0 : 1);
}

void OutCtl::lutEnable(bool on)
{
    lutOnOutput = on;
    setField(lutBit, lutBit, on ? 1 : 0);
}

void OutCtl::setHDMICtl(unsigned int horizontal, unsigned int vertical)
{
    m_pl->setValue(HDMI_HOR_CTL, horizontal);
    m_pl->setValue(HDMI_VER_CTL, vertical);
}

void OutCtl::currentHDMICtl(unsigned int &horizontal, unsigned int &vertical) const
{
    horizontal = m_pl->getValue(HDMI_HOR_CTL);
    vertical = m_pl->getValue(HDMI_VER_CTL);
}

void OutCtl::outOff()
{
    if (outMuted.exchange(true))
        return;
    setField(resetBit, resetBit, 1);
}

void OutCtl::outRegain()
{
    if (!outMuted.exchange(false))
        return;
    setField(resetBit, resetBit, outDisabled ? 1 : 0);
}

void OutCtl::SDIoutput(Video::SDIinputFormat format)
{
    const int value = format;
    setField(16, 19, value >= 0 && value <= 7 ? value : 0);
}

void OutCtl::outputUpdate()
{
    const bool sdi = input == Video::SDI_SOURCE;
    const bool hdmi = input == Video::HDMI_SOURCE;
    const bool wireless = input == Video::WHDI_SOURCE;

    if (sdiMode == Video::SDI_6G)
        setField(convert6GBit, convert6GBit, convert6G ? 1 : 0);

    unsigned int mode = out3G;
    if (sdi) {
        switch (sdiMode) {
        case Video::SDI_HD:
            mode = outHD;
            break;
        case Video::SDI_SD:
            mode = outSD;
            break;
        case Video::SDI_6G:
            mode = convert6G ? outHD : out6G;
            break;
        default:
            mode = out3G;
            break;
        }
    } else if (hdmi || wireless) {
        mode = sdiMode != Video::SDI_HD ? out3G : outHD;
    }
    setField(0, 2, mode);

    if (sdi) {
        Video::SDIinputFormat format;
        if (Video::sdiInputFormatOf(bitDepth, level, sampling, format))
            setField(16, 19, format);
    } else {
        setField(16, 19, 0);
    }

    unsigned int multiplex = 0;
    if (sdi && sdiMode == Video::SDI_3G)
        multiplex = level == Video::LEVEL_B ? 1 : 0;
    else if (sdi && sdiMode == Video::SDI_6G)
        multiplex = convert6G ? 0 : 2;
    setField(12, 14, multiplex);

    setField(24, 27, width == 1280 && height == 720 ? 1 : 0);

    if (sdiMode == Video::SDI_6G && convert6G)
        payload = plfield::put(payload, 0, 7, hd1080PayloadId);
    m_pl->setValue(SDIOUT_ST352_PL, payload);

    unsigned int clock = 0;
    if (sdi) {
        if (sdiMode == Video::SDI_3G || sdiMode == Video::SDI_6G)
            clock = 0;
        else if (sdiMode == Video::SDI_HD)
            clock = 1;
        else
            return;
    } else if (hdmi) {
        clock = sdiMode == Video::SDI_3G ? 1 : sdiMode == Video::SDI_HD ? 2 : 0;
    } else if (wireless) {
        clock = sdiMode == Video::SDI_HD ? 1 : 0;
    }
    setField(9, 11, clock);
    setField(clockStrobeBit, clockStrobeBit, 0);
    std::this_thread::sleep_for(pulse);
    setField(clockStrobeBit, clockStrobeBit, 1);

    outReset();
}

void OutCtl::outReset()
{
    if (outDisabled || outMuted)
        return;
    setField(resetBit, resetBit, 1);
    std::this_thread::sleep_for(pulse);
    setField(resetBit, resetBit, 0);
}

void OutCtl::matrixLoad(bool on)
{
    if (on) {
        m_csc->matrixOutputLoad(range != "video" ? CscCtl::MatrixData : CscCtl::MatrixVideo);
        m_csc->matrixEnable(true, CscCtl::Output);
    } else if (input != Video::HDMI_SOURCE) {
        m_csc->matrixEnable(false, CscCtl::Output);
    }
}

void OutCtl::outputUpdateMatrix()
{
    matrixLoad(lutOnOutput);
}
