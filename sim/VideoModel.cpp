#include "VideoModel.h"

#include "RegisterTable.h"
#include "ThreadName.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr int videoInfoLine = 0;
constexpr int carrierLine = 2;
constexpr double maxInterruptRate = 60;

// SDI_IN_INFO
constexpr uint32_t lockedBit = 1u << 3;
constexpr uint32_t familyValidBit = 1u << 8;
constexpr uint32_t progressiveBit = 1u << 9;
constexpr uint32_t levelBBit = 1u << 10;
constexpr uint32_t payloadValidBit = 1u << 20;
constexpr uint32_t carrierLostBit = 1u << 28;
constexpr uint32_t keyLevels = 7u << 25;

// WHDI_ST352_PL
constexpr uint32_t whdiPresent = 1u;
constexpr uint32_t whdiLostBit = 1u << 4;

constexpr uint32_t clockValidity = 0x20;

bool near(double value, double target)
{
    return std::fabs(value - target) < 0.005;
}

// A standard rate: the integer rates and their 1000/1001 pulled-down kin.
bool standardRate(double rate)
{
    for (double r : {23.98, 24.0, 25.0, 29.97, 30.0, 47.95, 48.0, 50.0, 59.94, 60.0, 100.0, 119.88, 120.0}) {
        if (near(rate, r))
            return true;
    }
    return false;
}

// The exact rate of a standard one (23.98 is 24000/1001).
double exactRate(double rate)
{
    const double whole = std::round(rate);
    return near(rate, whole) ? whole : whole * 1000.0 / 1001.0;
}

} // namespace

VideoModel::VideoModel(DeviceTree &tree, PLModel &pl, InterruptModel &interrupts)
    : m_tree(tree), m_pl(pl), m_interrupts(interrupts)
{
}

VideoModel::~VideoModel()
{
    stop();
    if (m_page != nullptr)
        ::munmap(m_page, static_cast<size_t>(sysconf(_SC_PAGESIZE)));
}

bool VideoModel::start()
{
    const PLRegisterRecord *record = plRegister(SDI_IN_INFO);
    if (record == nullptr)
        return false;
    const long pageSize = sysconf(_SC_PAGESIZE);
    const uint32_t page = record->physicalAddress & ~static_cast<uint32_t>(pageSize - 1);
    const int fd = ::open(m_tree.path("/dev/mem").c_str(), O_RDWR);
    if (fd < 0)
        return false;
    void *mapped = ::mmap(nullptr, static_cast<size_t>(pageSize), PROT_READ | PROT_WRITE, MAP_SHARED, fd,
                          static_cast<off_t>(page));
    ::close(fd);
    if (mapped == MAP_FAILED)
        return false;
    m_page = mapped;
    m_info = reinterpret_cast<uint32_t *>(static_cast<char *>(mapped) + (record->physicalAddress - page));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_running = true;
    m_thread = std::thread(&VideoModel::run, this);
    return true;
}

bool VideoModel::ok() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

void VideoModel::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_running)
            return;
        m_running = false;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

// --- formats -------------------------------------------------------------------

bool VideoModel::parseFormat(const std::string &size, const std::string &rate, Format &format, std::string &error)
{
    int width = 0;
    int height = 0;
    char rest = 0;
    if (std::sscanf(size.c_str(), "%dx%d%c", &width, &height, &rest) != 2 || width <= 0 || height <= 0
        || width > 65535 || height > 65535) {
        error = "bad size '" + size + "' (WxH)";
        return false;
    }
    size_t digits = 0;
    while (digits < rate.size() && (std::isdigit(static_cast<unsigned char>(rate[digits])) || rate[digits] == '.'))
        ++digits;
    const std::string suffix = rate.substr(digits);
    char *end = nullptr;
    const std::string number = rate.substr(0, digits);
    const double value = std::strtod(number.c_str(), &end);
    if (digits == 0 || *end != '\0' || !standardRate(value) || (suffix != "p" && suffix != "i" && suffix != "psf")) {
        error = "bad rate '" + rate + "' (a standard rate and p, i or psf)";
        return false;
    }
    format.width = width;
    format.height = height;
    format.rate = exactRate(value);
    format.scan = suffix == "p" ? Scan::Progressive : suffix == "i" ? Scan::Interlaced : Scan::Segmented;
    return true;
}

uint32_t VideoModel::rateCode(double frameRate)
{
    struct Code {
        double rate;
        uint32_t code;
    };
    static const Code codes[] = {{23.98, 2}, {24, 3},  {25, 5},     {29.97, 6},
                                 {30, 7},    {50, 9},  {59.94, 10}, {60, 11}};
    for (const Code &c : codes) {
        if (near(frameRate, c.rate))
            return c.code;
    }
    return 0;
}

bool VideoModel::sdiLink(const Format &format, SdiLink &link, std::string &error)
{
    const double frame = format.frameRate();
    const bool fast = frame > 30.5;
    const bool rich = format.sampling != Sampling::YCbCr422 || format.bits == 12;
    if ((format.width == 720 && (format.height == 486 || format.height == 576))) {
        if (format.scan != Scan::Interlaced) {
            error = "SD formats are interlaced";
            return false;
        }
        link = {1, format.height == 486 ? 8 : 9, false};
        return true;
    }
    if (rateCode(frame) == 0) {
        error = "no ST 352 rate code for this frame rate";
        return false;
    }
    if (format.width == 1280 && format.height == 720) {
        if (format.scan != Scan::Progressive) {
            error = "720-line formats are progressive";
            return false;
        }
        link = {rich ? 2 : 0, 1, true};
        return true;
    }
    if ((format.width == 1920 || format.width == 2048) && format.height == 1080) {
        const int family = format.width == 1920 ? 0 : 2;
        if (format.scan != Scan::Progressive && fast) {
            error = "interlaced and segmented 1080-line frames run at 30 Hz at most";
            return false;
        }
        // 1080p above 30 Hz, and any 4:4:4 or 12-bit picture, needs 3G.
        link = {fast || rich || format.levelB ? 2 : 0, family, true};
        return true;
    }
    if ((format.width == 3840 || format.width == 4096) && format.height == 2160) {
        if (format.scan != Scan::Progressive || fast) {
            error = "2160-line formats travel on 6G progressive up to 30 Hz";
            return false;
        }
        link = {4, format.width == 3840 ? 0 : 2, true};
        return true;
    }
    error = "no SDI mapping for " + std::to_string(format.width) + "x" + std::to_string(format.height);
    return false;
}

uint32_t VideoModel::st352(const Format &format, const SdiLink &link)
{
    uint32_t identifier = 0x85; // 1080-line HD
    if (link.mode == 4)
        identifier = 0xC0; // 2160-line 6G
    else if (format.height == 720)
        identifier = link.mode == 2 ? 0x88 : 0x84;
    else if (link.mode == 2)
        identifier = format.levelB ? 0x8A : 0x89;
    const bool progressivePicture = format.scan != Scan::Interlaced;
    const bool progressiveTransport = format.scan == Scan::Progressive;
    const uint32_t byte2 = (progressiveTransport ? 0x80u : 0u) | (progressivePicture ? 0x40u : 0u)
                           | rateCode(format.frameRate());
    const uint32_t byte3 = format.sampling == Sampling::YCbCr422 ? 0 : format.sampling == Sampling::YCbCr444 ? 1 : 2;
    const uint32_t byte4 = format.bits == 12 ? 2 : format.bits == 8 ? 0 : 1;
    return identifier | byte2 << 8 | byte3 << 16 | byte4 << 24;
}

bool VideoModel::timing(const Format &format, Timing &timing)
{
    const double frame = format.frameRate();
    const int whole = static_cast<int>(std::round(frame));
    int totalWidth = 0;
    int totalLines = 0;
    if (format.width == 720 && (format.height == 486 || format.height == 576)) {
        totalWidth = format.height == 486 ? 858 : 864;
        totalLines = format.height == 486 ? 525 : 625;
    } else if (format.width == 1280 && format.height == 720) {
        totalWidth = whole % 30 == 0 ? 1650 : whole % 25 == 0 ? 1980 : 2062;
        if (whole <= 30)
            totalWidth *= 2;
        totalLines = 750;
    } else if (format.height == 1080 && (format.width == 1920 || format.width == 2048)) {
        totalWidth = whole % 30 == 0 ? 2200 : whole % 25 == 0 ? 2640 : 2750;
        totalWidth += format.width - 1920;
        totalLines = 1125;
    } else if (format.height == 2160 && (format.width == 3840 || format.width == 4096)) {
        totalWidth = whole % 30 == 0 ? 4400 : whole % 25 == 0 ? 5280 : 5500;
        totalLines = 2250;
    } else {
        return false;
    }
    const double pixelKHz = totalWidth * static_cast<double>(totalLines) * frame / 1000.0;
    timing.clockPairsKHz = static_cast<uint32_t>(std::lround(pixelKHz / 2));
    timing.activePairs = static_cast<uint32_t>(format.width / 2);
    timing.totalPairs = static_cast<uint32_t>(totalWidth / 2);
    if (format.scan == Scan::Progressive) {
        timing.activeLines = static_cast<uint32_t>(format.height);
        timing.totalLines = static_cast<uint32_t>(totalLines);
    } else {
        // One field: half the picture and half the frame's lines.
        timing.activeLines = static_cast<uint32_t>(format.height / 2);
        timing.totalLines = static_cast<uint32_t>(totalLines / 2);
    }
    return true;
}

// --- SDI ------------------------------------------------------------------------

void VideoModel::setInfoWord(uint32_t value)
{
    // Keep the key levels the interrupt model holds in the same word.
    uint32_t current = __atomic_load_n(m_info, __ATOMIC_SEQ_CST);
    while (!__atomic_compare_exchange_n(m_info, &current, (current & keyLevels) | (value & ~keyLevels), false,
                                        __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
    }
}

void VideoModel::writeSdi()
{
    if (!m_cableIn) {
        setInfoWord(carrierLostBit);
        return;
    }
    if (!m_sdiLocked) {
        setInfoWord(0);
        return;
    }
    SdiLink link;
    std::string ignored;
    sdiLink(m_sdiFormat, link, ignored);
    const bool progressive = m_sdiFormat.scan == Scan::Progressive;
    uint32_t info = static_cast<uint32_t>(link.mode) | lockedBit | static_cast<uint32_t>(link.family) << 4
                    | familyValidBit | (progressive ? progressiveBit : 0u) | (m_sdiFormat.levelB ? levelBBit : 0u)
                    | rateCode(m_sdiFormat.frameRate()) << 12;
    if (link.mode == 1) {
        // SD carries no payload; its picture rate is one of the two SD rates.
        info = (info & ~(0xFu << 12)) | (m_sdiFormat.height == 486 ? 6u : 5u) << 12;
    }
    if (link.payload) {
        info |= payloadValidBit;
        m_pl.set(SDI_ST352_PL0, st352(m_sdiFormat, link));
    } else {
        m_pl.set(SDI_ST352_PL0, 0);
    }
    setInfoWord(info);
}

bool VideoModel::sdi(const Format &format, std::string &error)
{
    SdiLink link;
    Format checked = format;
    if (checked.width == 720 && (checked.height == 486 || checked.height == 576))
        checked.rate = checked.height == 486 ? 59.94 : 50;
    if (!sdiLink(checked, link, error))
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sdiFormat = format;
        m_sdiLocked = true;
        m_lastRate = format.frameRate();
        writeSdi();
    }
    m_wake.notify_all();
    return true;
}

void VideoModel::sdiOff()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sdiLocked = false;
    writeSdi();
}

void VideoModel::sdiCable(bool in)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_cableIn == in)
            return;
        m_cableIn = in;
        writeSdi();
    }
    m_interrupts.raise(carrierLine);
}

// --- measured channels and the wireless picture ----------------------------------

void VideoModel::writeTiming(int channel, const Timing &timing)
{
    const bool main = channel == 0;
    const bool locked = timing.clockPairsKHz != 0;
    m_pl.set(main ? MAIN_VID_INFO0 : ASSIST_VID_INFO0,
             (locked ? 1u : 0u) | (timing.clockPairsKHz & 0xFFFFFu) << 4 | (locked ? clockValidity << 24 : 0u));
    m_pl.set(main ? MAIN_VID_INFO1 : ASSIST_VID_INFO1, (timing.activePairs & 0xFFFFu) | timing.totalPairs << 16);
    m_pl.set(main ? MAIN_VID_INFO2 : ASSIST_VID_INFO2, (timing.activeLines & 0xFFFFu) | timing.totalLines << 16);
}

bool VideoModel::hdmi(int channel, const Format &format, std::string &error)
{
    Timing t;
    if (!timing(format, t)) {
        error = "no standard timing for " + std::to_string(format.width) + "x" + std::to_string(format.height);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        writeTiming(channel, t);
        m_channelActive[channel == 0 ? 0 : 1] = true;
        m_lastRate = format.frameRate();
    }
    m_wake.notify_all();
    return true;
}

void VideoModel::hdmiOff(int channel)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    writeTiming(channel, Timing());
    m_channelActive[channel == 0 ? 0 : 1] = false;
}

bool VideoModel::whdi(int channel, const Format &format, std::string &error)
{
    if (rateCode(format.frameRate()) == 0) {
        error = "no ST 352 rate code for this frame rate";
        return false;
    }
    if (!hdmi(channel, format, error))
        return false;
    const bool progressivePicture = format.scan != Scan::Interlaced;
    const bool progressiveTransport = format.scan == Scan::Progressive;
    const uint32_t byte2 = (progressiveTransport ? 0x80u : 0u) | (progressivePicture ? 0x40u : 0u)
                           | rateCode(format.frameRate());
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pl.set(WHDI_ST352_PL, (m_pl.get(WHDI_ST352_PL) & whdiLostBit) | whdiPresent | byte2 << 8);
    return true;
}

void VideoModel::whdiLost(bool lost)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const uint32_t word = m_pl.get(WHDI_ST352_PL);
    m_pl.set(WHDI_ST352_PL, lost ? word | whdiLostBit : word & ~whdiLostBit);
}

// --- audio and timecode -----------------------------------------------------------

void VideoModel::audio(uint32_t left, uint32_t right, uint32_t samples)
{
    m_pl.set(AUD_AES_MAX, (left & 0xFFFFu) << 16 | (right & 0xFFFFu));
    m_pl.set(AUD_FRM_CNT, samples & 0xFFFu);
}

bool VideoModel::parseTimecode(const std::string &text, int parts[4], std::string &error)
{
    char rest = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d:%d%c", &parts[0], &parts[1], &parts[2], &parts[3], &rest) != 4
        || parts[0] < 0 || parts[0] > 23 || parts[1] < 0 || parts[1] > 59 || parts[2] < 0 || parts[2] > 59
        || parts[3] < 0 || parts[3] > 59) {
        error = "bad timecode '" + text + "' (HH:MM:SS:FF)";
        return false;
    }
    return true;
}

bool VideoModel::timecode(const std::string &text, std::string &error)
{
    int parts[4] = {0, 0, 0, 0};
    if (!parseTimecode(text, parts, error))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < 4; ++i)
        m_timecode[i] = parts[i];
    m_timecodeRunning = true;
    advanceTimecode();
    return true;
}

void VideoModel::advanceTimecode()
{
    auto bcd = [](int value) { return static_cast<uint32_t>(value % 10 | (value / 10) << 4); };
    m_pl.set(TIME_CODE_INFO, bcd(m_timecode[0]) << 24 | bcd(m_timecode[1]) << 16 | bcd(m_timecode[2]) << 8
                                 | bcd(m_timecode[3]));
}

// --- the frame clock ----------------------------------------------------------------

bool VideoModel::anySource() const
{
    return m_sdiLocked || m_channelActive[0] || m_channelActive[1];
}

double VideoModel::tickRate() const
{
    return std::min(std::max(m_lastRate, 1.0), maxInterruptRate);
}

void VideoModel::run()
{
    nameThread("board-video");
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto period = [this] { return std::chrono::microseconds(static_cast<long>(1e6 / tickRate())); };
    auto next = std::chrono::steady_clock::now();
    while (m_running) {
        if (!anySource()) {
            m_wake.wait(lock, [this] { return !m_running || anySource(); });
            next = std::chrono::steady_clock::now() + period();
            continue;
        }
        // A change of source wakes the wait early; the frames keep their beat.
        m_wake.wait_until(lock, next);
        const auto now = std::chrono::steady_clock::now();
        if (!m_running || !anySource() || now < next)
            continue;
        next += period();
        if (next < now)
            next = now;
        if (m_timecodeRunning) {
            const int perSecond = static_cast<int>(std::round(m_lastRate > maxInterruptRate ? maxInterruptRate
                                                                                           : m_lastRate));
            if (++m_timecode[3] >= std::max(perSecond, 1)) {
                m_timecode[3] = 0;
                if (++m_timecode[2] == 60) {
                    m_timecode[2] = 0;
                    if (++m_timecode[1] == 60) {
                        m_timecode[1] = 0;
                        m_timecode[0] = (m_timecode[0] + 1) % 24;
                    }
                }
            }
            advanceTimecode();
        }
        lock.unlock();
        m_interrupts.raise(videoInfoLine);
        lock.lock();
    }
}

} // namespace sim
