#include "WHDICtl.h"

#include "Console.h"
#include "OutCtl.h"
#include "PLField.h"
#include "Video.h"
#include "WHDIPassword.h"

#include <cstdlib>

namespace {

// WHDI_ST352_PL
constexpr unsigned int presentBit = 0;
constexpr unsigned int lostBit = 4;
constexpr unsigned int progressivePictureBit = 14;
constexpr unsigned int progressiveTransportBit = 15;

constexpr int scanProgressive = 0;
constexpr int scanInterlaced = 1;
constexpr int scanPsf = 2;

constexpr double doubleRate = 97.99;
constexpr double fieldLines = 1125.0;
// Field rates in this range are the two halves of a segmented frame.
constexpr double psfLow = 31.0;
constexpr double psfHigh = 48.9;
constexpr double fastRate = 59.97;
constexpr int tolerance = 5;

struct RateRecord {
    uint8_t code;
    const char *text;
    int count;
};

const RateRecord rateTable[] = {{2, "23.98", 24}, {3, "24", 24},    {5, "25", 25},     {6, "29.97", 30},
                                {7, "30", 30},    {9, "50", 50},    {10, "59.94", 60}, {11, "60", 60}};

const RateRecord *rateRecord(uint8_t code)
{
    for (const RateRecord &record : rateTable) {
        if (record.code == code)
            return &record;
    }
    return nullptr;
}

int snap(int value, std::initializer_list<int> sizes)
{
    for (int size : sizes) {
        if (std::abs(value - size) <= tolerance)
            return size;
    }
    return value;
}

} // namespace

WHDICtl::WHDICtl()
    : m_pl(PLControl::getInstance()), m_password(WHDIPassword::getInstance()), m_out(OutCtl::getInstance())
{
    qRegisterMetaType<std::string>("std::string");
}

void WHDICtl::setChannel(uint8_t value)
{
    if (channel.exchange(value) != value)
        emit signalChannel(value);
}

void WHDICtl::setStrength(uint8_t value)
{
    if (strength.exchange(value) != value)
        emit signalStrength(value);
}

void WHDICtl::setEncryption(bool on)
{
    if (encryption.exchange(on) != on)
        emit signalMode(on);
}

void WHDICtl::setEncryptionPassword(const std::string &password)
{
    emit signalPassword(password);
}

void WHDICtl::cleanPayload()
{
    payloadPresent = false;
    payloadByte = 0;
    signalLost = false;
}

bool WHDICtl::isValidSize(int width, int height)
{
    return Video::isValidSize(width, height);
}

void WHDICtl::correction(int &width, int &height)
{
    width = snap(width, {1920, 1280, 2048, 3840, 4096, 720});
    height = snap(height, {1080, 720, 2160, 486, 540});
}

uint8_t WHDICtl::rateCodeOf(double rate, uint8_t previous)
{
    if (rate >= 59.97)
        return 11;
    if (rate >= 59.9)
        return 10;
    if (rate >= 49.0)
        return 9;
    if (rate >= 29.985)
        return 7;
    if (rate >= 29.9)
        return 6;
    if (rate >= 24.99)
        return 5;
    if (rate >= 23.99)
        return 3;
    if (rate >= 23.9)
        return 2;
    return previous;
}

bool WHDICtl::updatePayload()
{
    const unsigned int word = m_pl->getValue(WHDI_ST352_PL);
    signalLost = plfield::get(word, lostBit, lostBit) != 0;
    const uint8_t byte = static_cast<uint8_t>(plfield::get(word, 8, 15));
    if (byte == 0)
        return false;
    payloadByte = byte;
    payloadPresent = plfield::get(word, presentBit, presentBit) != 0;
    if (!payloadPresent)
        return false;
    progressiveTransport = plfield::get(word, progressiveTransportBit, progressiveTransportBit) != 0;
    progressivePicture = plfield::get(word, progressivePictureBit, progressivePictureBit) != 0;
    const int scan = progressiveTransport ? scanProgressive : progressivePicture ? scanPsf : scanInterlaced;
    return payloadScan.exchange(scan) != scan;
}

double WHDICtl::frameRate(uint32_t clock, uint32_t totalWidth, uint32_t totalHeight, uint32_t width,
                          uint32_t height)
{
    const double frame = 1000.0 * clock / (static_cast<double>(totalWidth) * totalHeight);
    const double field = 2000.0 * clock / (fieldLines * totalWidth);
    if (width == 1920 && height == 540 && payloadScan == scanProgressive) {
        scanMode = scanInterlaced;
    } else if ((width == 1920 && height == 1080) || (width == 1280 && height == 720)) {
        scanMode = scanProgressive;
        return frame;
    } else if (width == 1920 && height == 540) {
        scanMode = payloadScan.load();
    }
    switch (scanMode) {
    case scanInterlaced:
        if (field >= psfLow && field <= psfHigh) {
            scanMode = scanPsf;
            return field / 2;
        }
        return field;
    case scanPsf:
        if (field >= fastRate) {
            scanMode = scanInterlaced;
            return field;
        }
        return field / 2;
    default:
        return frame;
    }
}

bool WHDICtl::measure(int ch, bool payloadChanged)
{
    std::lock_guard<std::mutex> measuring(m_measureMutex);
    const bool main = ch == 0;
    const VideoInfo &info = main ? static_cast<const VideoInfo &>(m_mainInfo) : m_assistInfo;
    Measurement &stored = m_measurement[ch];
    detectState[ch] = 1;
    std::atomic<bool> &lock = locked[ch];

    bool changed = false;
    int validity = 0;
    const uint32_t clock = info.clock(validity);
    if (clock == 0) {
        changed = main;
        lock = false;
        return signalLost ? false : changed;
    }
    const bool nowLocked = info.locked();
    changed = lock.exchange(nowLocked) != nowLocked;

    // The horizontal size counts pairs of pixels.
    int width = static_cast<int>(info.horActive()) * 2;
    int height = static_cast<int>(info.verActive());
    correction(width, height);
    if (static_cast<uint32_t>(width) != stored.width || static_cast<uint32_t>(height) != stored.height) {
        stored.width = static_cast<uint32_t>(width);
        stored.height = static_cast<uint32_t>(height);
        changed = true;
    }

    const uint32_t totalWidth = info.horTotal();
    const uint32_t totalHeight = info.verTotal();
    if (totalWidth == stored.totalWidth && totalHeight == stored.totalHeight && clock == stored.clock
        && !payloadChanged)
        return signalLost ? false : changed;
    stored.totalWidth = totalWidth;
    stored.totalHeight = totalHeight;
    stored.clock = clock;
    if (totalWidth == 0 || totalHeight == 0)
        return false;

    double rate = frameRate(clock, totalWidth, totalHeight, stored.width, stored.height);
    if (rate >= doubleRate)
        rate /= 2;
    rateCode = rateCodeOf(rate, rateCode);
    if (lastRateCode[ch].exchange(rateCode) != rateCode) {
        changed = true;
        m_password->setErrorFrameCount(getFreqCount());
    }
    if (lastScanMode[ch].exchange(scanMode) != scanMode)
        changed = true;
    return signalLost ? false : changed;
}

void WHDICtl::update(int ch)
{
    if (ch != 0 && ch != 1)
        return;
    if (updatePayload()) {
        payloadPending[0] = true;
        payloadPending[1] = true;
    }
    const bool changed = measure(ch, payloadPending[ch].exchange(false));
    if (m_debounce[ch].poll(changed))
        emit signalUpdate(ch);
}

bool WHDICtl::isActive(int ch)
{
    if (ch != 0 && ch != 1)
        return false;
    if (signalLost) {
        lostSeen[ch] = true;
        if (ch == 0)
            m_out->outOff();
        return false;
    }
    std::atomic<int> &state = detectState[ch];
    if (state == 1) {
        state = 0;
    } else if (state == 0) {
        measure(ch, false);
        state = 2;
    }
    if (lostSeen[ch] && locked[0]) {
        lostSeen[ch] = false;
        if (ch == 0)
            m_out->outRegain();
        emit signalUpdate(ch);
    }
    return locked[ch];
}

bool WHDICtl::doubledSize(int ch, int &width, int &height) const
{
    const Measurement &stored = m_measurement[ch];
    width = static_cast<int>(stored.width);
    height = static_cast<int>(stored.height);
    if ((scanMode == scanInterlaced || scanMode == scanPsf) && !(width == 1920 && height == 1080))
        height *= 2;
    return isValidSize(width, height);
}

bool WHDICtl::getSize(int &width, int &height, int ch) const
{
    if (ch == 0 || ch == 1) {
        if (locked[ch]) {
            if (doubledSize(ch, width, height))
                return true;
        } else {
            width = defaultWidth;
            height = defaultHeight;
            return true;
        }
    }
    width = defaultWidth;
    height = defaultHeight;
    return false;
}

unsigned int WHDICtl::getPayLoad() const
{
    constexpr unsigned int fallback = 0x0100CB89;
    const uint8_t code = rateCode;
    const uint32_t height = m_measurement[0].height;
    switch (scanMode) {
    case scanProgressive:
        if (height == 1080 && code >= 2 && code <= 11) {
            static const unsigned int words[] = {0x0100C285, 0x0100C385, 0x0100CB89, 0x0100C585, 0x0100C685,
                                                 0x0100C785, 0x0100CB89, 0x0100C989, 0x0100CA89, 0x0100CB89};
            return words[code - 2];
        }
        if (height == 720)
            return code == 9 ? 0x0100C984 : code == 10 ? 0x0100CA84 : 0x0100CB84;
        return fallback;
    case scanInterlaced:
        return code == 9 ? 0x01000585 : code == 10 ? 0x01000685 : 0x01000785;
    case scanPsf:
        if (code >= 2 && code <= 7) {
            static const unsigned int words[] = {0x01004285, 0x01004385, 0x0100CB89,
                                                 0x01004585, 0x01004685, 0x01004785};
            return words[code - 2];
        }
        return fallback;
    default:
        return fallback;
    }
}

void WHDICtl::getHDMICtl(unsigned int &horizontal, unsigned int &vertical) const
{
    const uint32_t height = m_measurement[0].height;
    if (scanMode == scanProgressive && height == 1080) {
        horizontal = 0x00C00840;
        vertical = 0x00280460;
    } else if (scanMode == scanProgressive && height == 720) {
        horizontal = 0x01040604;
        vertical = rateCode == 9 ? 0x001802E0 : 0x001802E8;
    } else {
        horizontal = 0x00C00840;
        vertical = 0x00140230;
    }
}

int WHDICtl::sdiMode() const
{
    return scanMode == scanProgressive && m_measurement[0].height == 1080 && rateCode >= 9 ? 2 : 0;
}

int WHDICtl::interlance() const
{
    return scanMode == scanInterlaced || scanMode == scanPsf ? 1 : 0;
}

int WHDICtl::getFreqCount() const
{
    const RateRecord *record = rateRecord(rateCode);
    return record != nullptr ? record->count : 60;
}

std::string WHDICtl::rateText() const
{
    const RateRecord *record = rateRecord(rateCode);
    return record != nullptr ? record->text : "60";
}

void WHDICtl::getInfo(std::string &text) const
{
    int width = 0;
    int height = 0;
    if (!doubledSize(0, width, height)) {
        console::print("WHDI width :%d  height : %d \n", width, height);
        text = "Unknow";
        return;
    }
    static const char *const scanLetters[] = {"p", "i", "psf"};
    const int scan = scanMode;
    text = std::to_string(width) + "x" + std::to_string(height) + " " + rateText()
           + scanLetters[scan >= 0 && scan <= 2 ? scan : 0] + " 422 10bit";
}
