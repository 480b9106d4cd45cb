#include "SDICtl.h"

#include "PLField.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// SDI_IN_INFO
constexpr unsigned int lockedBit = 3;
constexpr unsigned int familyValidBit = 8;
constexpr unsigned int progressiveBit = 9;
constexpr unsigned int levelBBit = 10;
constexpr unsigned int payloadValidBit = 20;
constexpr unsigned int carrierLostBit = 28;
// What counts for change detection: bits 0 to 10 and 12 to 15; with a valid
// payload the rate code and progressive bit come from the payload instead.
constexpr uint32_t infoMask = 0x0000F7FFu;
constexpr uint32_t infoMaskWithPayload = 0x000005FFu;
// Payload fields: rate, progressive picture and transport, sampling, depth.
constexpr uint32_t payloadMask = 0x030FCF00u;

constexpr unsigned int receiverResetBit = 28; // FPGA_INIT_CTL
constexpr auto receiverResetPulse = std::chrono::milliseconds(5);

constexpr uint8_t familyUnknown = 30;
constexpr uint8_t family6G = 20;
constexpr uint8_t mode6G = 4;
constexpr uint8_t mode3G = 2;
constexpr uint8_t fieldRateOffset = 4;

const SDICtl::Table familyTable[] = {
    {0, "1920x1080"}, {1, "1280x720"},  {2, "2048x1080"},  {3, "1920x1080"},  {8, "720x486"},
    {9, "720x486"},   {20, "3840x2160"}, {22, "4096x2160"}, {23, "3840x2160"},
};
const SDICtl::Table frequencyTable[] = {
    {2, "23.98"}, {3, "24"}, {4, "47.95"}, {5, "25"},    {6, "29.97"}, {7, "30"},
    {8, "48"},    {9, "50"}, {10, "59.94"}, {11, "60"}, {15, "60"},
};
const SDICtl::Table samplingTable[] = {
    {0, "422"}, {1, "444"}, {2, "444"}, {3, "420"}, {4, "422"},
    {5, "444"}, {6, "444"}, {8, "422"}, {9, "444"}, {10, "444"},
};
const SDICtl::Table bitTable[] = {{0, "8bit"}, {1, "10bit"}, {2, "12bit"}};

template <size_t N>
const char *lookup(const SDICtl::Table (&table)[N], uint8_t key)
{
    for (const SDICtl::Table &record : table) {
        if (record.key == key)
            return record.text;
    }
    return nullptr;
}

template <size_t N>
std::string text(const SDICtl::Table (&table)[N], uint8_t key)
{
    const char *found = lookup(table, key);
    return found != nullptr ? found : "";
}

} // namespace

SDICtl::SDICtl() : m_pl(PLControl::getInstance()), m_interrupts(InterruptsCtl::getInstance())
{
    m_interrupts->attach(InterruptsCtl::SDI_CARRIER,
                         [this](InterruptsCtl::KeyHandle handle, int value) { carrierDetect(handle, value); });
}

void SDICtl::forget()
{
    lastInfo = 0;
    lastPayload = 0;
    active = false;
}

void SDICtl::carrierDetect(InterruptsCtl::KeyHandle, int)
{
    carrierLost = plfield::bit(m_pl, SDI_IN_INFO, carrierLostBit);
    if (carrierLost) {
        forget();
        return;
    }
    plfield::setBit(m_pl, FPGA_INIT_CTL, receiverResetBit, true);
    std::this_thread::sleep_for(receiverResetPulse);
    plfield::setBit(m_pl, FPGA_INIT_CTL, receiverResetBit, false);
}

void SDICtl::update(int channel)
{
    if (m_debounce.poll(parase()))
        emit updateVideoFormat(channel);
}

void SDICtl::decodePayload()
{
    progressiveTransport = plfield::get(payload, 15, 15) != 0;
    progressivePicture = plfield::get(payload, 14, 14) != 0;
    rateCode = static_cast<uint8_t>(plfield::get(payload, 8, 11));
    samplingCode = static_cast<uint8_t>(plfield::get(payload, 16, 19));
    depthCode = static_cast<uint8_t>(plfield::get(payload, 24, 25));
    // Both flags clear: an interlaced stream, whose code names the frame rate.
    const bool fieldRate = !progressiveTransport && !progressivePicture;
    displayRateCode = static_cast<uint8_t>(rateCode + (fieldRate ? fieldRateOffset : 0));
}

bool SDICtl::parase()
{
    if (plfield::bit(m_pl, SDI_IN_INFO, carrierLostBit)) {
        carrierLost = true;
        forget();
        return false;
    }
    carrierLost = false;
    info = m_pl->getValue(SDI_IN_INFO);
    active = plfield::get(info, lockedBit, lockedBit) != 0;
    if (!active) {
        lastInfo = 0;
        lastPayload = 0;
        return false;
    }
    familyValid = plfield::get(info, familyValidBit, familyValidBit) != 0;
    levelB = plfield::get(info, levelBBit, levelBBit) != 0;
    payloadValid = plfield::get(info, payloadValidBit, payloadValidBit) != 0;

    bool changed = false;
    if (payloadValid) {
        rawPayload = m_pl->getValue(SDI_ST352_PL0);
        payload = rawPayload & payloadMask;
        if (payload != lastPayload) {
            lastPayload = payload;
            if (payload != 0) {
                decodePayload();
                changed = true;
            }
        }
    }
    const uint32_t rawInfo = info;
    info &= payloadValid ? infoMaskWithPayload : infoMask;

    if (!changed) {
        if (info == lastInfo) {
            if (familyValid)
                return false;
            const uint32_t measured[2] = {m_pl->getValue(MAIN_VID_INFO1), m_pl->getValue(MAIN_VID_INFO2)};
            if (measured[0] == lastMeasured[0] && measured[1] == lastMeasured[1])
                return false;
            lastMeasured[0] = measured[0];
            lastMeasured[1] = measured[1];
        } else if (!(lastPayload != 0 && payloadValid)) {
            lastPayload = 0;
            progressiveTransport = plfield::get(rawInfo, progressiveBit, progressiveBit) != 0;
            progressivePicture = false;
            rateCode = static_cast<uint8_t>(plfield::get(rawInfo, 12, 15));
            samplingCode = 0;
            depthCode = 1;
            displayRateCode = static_cast<uint8_t>(rateCode + (progressiveTransport ? 0 : fieldRateOffset));
        }
    }

    lastInfo = info;
    mode = static_cast<uint8_t>(plfield::get(info, 0, 2));
    uint8_t newFamily = familyUnknown;
    if (familyValid) {
        newFamily = static_cast<uint8_t>(plfield::get(info, 4, 7));
    } else {
        lastMeasured[0] = m_pl->getValue(MAIN_VID_INFO1);
        lastMeasured[1] = m_pl->getValue(MAIN_VID_INFO2);
        // The measured horizontal size counts pairs of pixels.
        measuredWidth = static_cast<int>(plfield::get(lastMeasured[0], 0, 15)) * 2;
        measuredHeight = static_cast<int>(plfield::get(lastMeasured[1], 0, 15));
    }
    if (mode == mode6G)
        newFamily = static_cast<uint8_t>(newFamily + family6G);
    family = newFamily;
    return true;
}

bool SDICtl::isActive()
{
    if (carrierLost)
        return false;
    active = plfield::bit(m_pl, SDI_IN_INFO, lockedBit);
    return active;
}

bool SDICtl::isLevelB422Ten() const
{
    const uint8_t sampling = samplingCode;
    return mode == mode3G && levelB && depthCode == 1 && (sampling == 0 || sampling == 4 || sampling == 8);
}

bool SDICtl::getInfo(std::string &text) const
{
    text = "Unknow";
    if (!active)
        return true;
    std::string size;
    if (const char *known = lookup(familyTable, family)) {
        size = known;
    } else if (isValidSize(measuredWidth, measuredHeight)) {
        size = std::to_string(measuredWidth) + "x" + std::to_string(measuredHeight);
    } else {
        return true;
    }
    const bool described = payloadValid || familyValid;
    const std::string rate = described ? ::text(frequencyTable, displayRateCode) : "60";
    std::string scan = "i";
    if (!described || progressiveTransport || isLevelB422Ten())
        scan = "p";
    else if (progressivePicture)
        scan = family == 1 ? "p" : "psf";
    text = size + " " + rate + scan;
    if (payloadValid)
        text += " " + ::text(samplingTable, samplingCode) + " " + ::text(bitTable, depthCode);
    else
        text += " 422 10bit";
    return true;
}

bool SDICtl::getSize(int &width, int &height) const
{
    switch (family) {
    case 0:
    case 3:
        width = 1920;
        height = 1080;
        break;
    case 1:
        width = 1280;
        height = 720;
        break;
    case 2:
        width = 2048;
        height = 1080;
        break;
    case 8:
    case 9:
        width = 720;
        height = 486;
        break;
    case 20:
    case 23:
        width = 3840;
        height = 2160;
        break;
    case 22:
        width = 4096;
        height = 2160;
        break;
    default:
        width = measuredWidth;
        height = measuredHeight;
        break;
    }
    if (isValidSize(width, height))
        return true;
    width = 1920;
    height = 1080;
    return false;
}

bool SDICtl::isValidSize(int width, int height)
{
    return Video::isValidSize(width, height);
}

unsigned int SDICtl::getPayLoad() const
{
    return payloadValid ? rawPayload.load() : 0u;
}

Video::InterlaceMode SDICtl::interlance() const
{
    if ((!payloadValid && !familyValid) || progressiveTransport || isLevelB422Ten())
        return Video::PROGRESSIVE;
    if (!progressivePicture)
        return Video::INTERLACED;
    return family == 1 ? Video::PROGRESSIVE : Video::PSF;
}

Video::Sampling SDICtl::sampling() const
{
    if (mode != mode3G)
        return Video::SAMPLING_YCBCR422;
    switch (samplingCode) {
    case 1:
    case 5:
    case 9:
        return Video::SAMPLING_YCBCR444;
    case 2:
    case 6:
    case 10:
        return Video::SAMPLING_RGB444;
    default:
        return Video::SAMPLING_YCBCR422;
    }
}

Video::PixFormat SDICtl::pixFormat() const
{
    if (mode == mode6G)
        return Video::PIX_6G;
    return isLevelB422Ten() ? Video::PIX_3GB_422_10 : Video::PIX_SDI;
}

Video::Level SDICtl::level() const
{
    return levelB ? Video::LEVEL_B : Video::LEVEL_A;
}

Video::BitDepth SDICtl::depth() const
{
    if (!payloadValid)
        return Video::DEPTH_10;
    switch (depthCode) {
    case 0:
        return Video::DEPTH_8;
    case 1:
        return Video::DEPTH_10;
    case 2:
        return Video::DEPTH_12;
    default:
        return Video::DEPTH_UNKNOWN;
    }
}

Video::SDIMode SDICtl::sdiMode() const
{
    switch (mode) {
    case 0:
        return Video::SDI_HD;
    case 1:
        return Video::SDI_SD;
    case 2:
        return Video::SDI_3G;
    case mode6G:
        return Video::SDI_6G;
    default:
        return Video::SDI_HD;
    }
}
