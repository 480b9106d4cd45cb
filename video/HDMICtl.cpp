#include "HDMICtl.h"

#include "Console.h"

namespace {

// Pair-rate clocks beyond this are a double-rate measurement.
constexpr double doubleRate = 97.99;
constexpr int frameLines = 1125;

struct RateStep {
    double from;
    const char *text;
};

std::string rateTextOf(const RateStep *steps, size_t count, double rate)
{
    for (size_t i = 0; i < count; ++i) {
        if (rate >= steps[i].from)
            return steps[i].text;
    }
    return "60";
}

} // namespace

HDMICtl::HDMICtl() = default;

std::string HDMICtl::measuredRateText(double rate)
{
    static const RateStep steps[] = {{59.99, "60"}, {59.9, "59.94"}, {49.99, "50"}, {29.99, "30"},
                                     {29.9, "29.97"}, {24.99, "25"}, {23.99, "24"}, {23.9, "23.98"}};
    return rateTextOf(steps, sizeof(steps) / sizeof(steps[0]), rate);
}

std::string HDMICtl::mcuRateText(double rate)
{
    static const RateStep steps[] = {{59.97, "60"},   {59.9, "59.94"}, {49.0, "50"}, {29.985, "30"},
                                     {29.9, "29.97"}, {24.99, "25"},   {23.99, "24"}, {23.9, "23.98"}};
    return rateTextOf(steps, sizeof(steps) / sizeof(steps[0]), rate);
}

void HDMICtl::update(int channel)
{
    this->channel = channel;
    if (fromMcu)
        return;
    bool changed = false;
    if (channel == 0)
        changed = getMainVideoInfo();
    else if (channel == 1)
        changed = getAssistVideoInfo();
    if (changed)
        emit signalUpdate(channel);
}

void HDMICtl::takeActiveSize(unsigned int horActive, unsigned int verActive)
{
    int newWidth = static_cast<int>(horActive) * 2;
    int newHeight = static_cast<int>(verActive);
    // A field of 540 lines is a 1080-line interlaced picture.
    if (newWidth == 1920 && newHeight == 540) {
        interlace = Video::INTERLACED;
        newHeight = 1080;
    } else {
        interlace = Video::PROGRESSIVE;
    }
    width = newWidth;
    height = newHeight;
}

bool HDMICtl::getMainVideoInfo()
{
    std::lock_guard<std::mutex> reading(m_readMutex);
    mainState = 1;
    int validity = 0;
    const unsigned int clock = m_main.clock(validity);
    if (clock == 0) {
        mainLocked = false;
        return false;
    }
    const bool lock = m_main.locked();
    bool changed = lock != mainLocked;
    mainLocked = lock;

    const unsigned int horActive = m_main.horActive();
    const unsigned int verActive = m_main.verActive();
    if (horActive != lastMainHorActive || verActive != lastMainVerActive) {
        lastMainHorActive = horActive;
        lastMainVerActive = verActive;
        takeActiveSize(horActive, verActive);
        changed = true;
    }

    const unsigned int horTotal = m_main.horTotal();
    const unsigned int verTotal = m_main.verTotal();
    // The whole count, not whole megahertz: 59.94 and 60 Hz differ by 0.1 %.
    if (horTotal == lastMainHorTotal && verTotal == lastMainVerTotal && clock == lastMainClock)
        return changed;
    lastMainClock = clock;
    lastMainHorTotal = horTotal;
    lastMainVerTotal = verTotal;
    if (horTotal == 0 || verTotal == 0)
        return changed;
    double rate = 1000.0 * clock / (static_cast<double>(verTotal) * horTotal);
    if (rate >= doubleRate)
        rate /= 2;
    const std::string text = measuredRateText(rate);
    std::lock_guard<std::mutex> guard(m_textMutex);
    rateText = text;
    if (text != lastRateText) {
        lastRateText = text;
        changed = true;
    }
    return changed;
}

bool HDMICtl::getAssistVideoInfo()
{
    std::lock_guard<std::mutex> reading(m_readMutex);
    assistState = 1;
    int validity = 0;
    lastAssistClock = m_assist.clock(validity);
    if (lastAssistClock == 0) {
        assistLocked = false;
        return false;
    }
    const bool lock = m_assist.locked();
    const bool lockChanged = lock != assistLocked;
    assistLocked = lock;
    const unsigned int horActive = m_assist.horActive();
    const unsigned int verActive = m_assist.verActive();
    if (horActive == lastAssistHorActive && verActive == lastAssistVerActive)
        return lockChanged;
    lastAssistHorActive = horActive;
    lastAssistVerActive = verActive;
    takeActiveSize(horActive, verActive);
    return true;
}

void HDMICtl::setInfo(bool active, int, int horTotal, int horActive, int verTotal, int verActive,
                      bool progressive, int colorSpace, int colorDepth)
{
    fromMcu = true;
    bool changed = active != mcuActive;
    mcuActive = active;

    const unsigned int reportedWidth = static_cast<unsigned int>(horActive);
    const unsigned int reportedHeight = static_cast<unsigned int>(verActive);
    if (reportedWidth != lastMcuWidth || reportedHeight != lastMcuHeight) {
        lastMcuWidth = reportedWidth;
        lastMcuHeight = reportedHeight;
        mcuWidth = horActive;
        mcuHeight = verActive;
        if (progressive) {
            mcuInterlace = Video::PROGRESSIVE;
        } else {
            mcuInterlace = Video::INTERLACED;
            if (horActive == 1920)
                mcuHeight = 1080;
        }
        changed = true;
    }

    // The MCU's own clock figure is not used: the logic's count of the
    // channel last refreshed, at the pixel rate.
    int validity = 0;
    const unsigned int measured = channel == 1 ? m_assist.clock(validity) : m_main.clock(validity);
    const unsigned int clock = measured * 2;
    const unsigned int totalWidth = static_cast<unsigned int>(horTotal);
    const unsigned int totalHeight = static_cast<unsigned int>(verTotal);
    if (clock != lastMcuClock || totalWidth != lastMcuHorTotal || totalHeight != lastMcuVerTotal) {
        lastMcuClock = clock;
        lastMcuHorTotal = totalWidth;
        lastMcuVerTotal = totalHeight;
        // Without both totals there is no rate; size, activity and colour
        // changes are still reported.
        if (totalWidth != 0 && totalHeight != 0) {
            // A 1080-line interlaced source is named by its field rate, from
            // its 1125-line frame whatever the line length (2200 pixels at 60
            // fields, 2640 at 50); every other source by the totals reported.
            const bool fields1080 = mcuInterlace == Video::INTERLACED && (totalWidth == 2200 || mcuHeight == 1080);
            double rate = fields1080 ? 1000.0 * 2 * clock / (static_cast<double>(totalWidth) * frameLines)
                                     : 1000.0 * clock / (static_cast<double>(totalWidth) * totalHeight);
            if (rate >= doubleRate)
                rate /= 2;
            const std::string text = mcuRateText(rate);
            std::lock_guard<std::mutex> guard(m_textMutex);
            if (text != mcuLastRateText) {
                mcuLastRateText = text;
                m_mcuRateText = text;
                changed = true;
            }
        }
    }

    if (colorSpace != this->colorSpace || colorDepth != this->colorDepth) {
        this->colorSpace = colorSpace;
        this->colorDepth = colorDepth;
        changed = true;
    }
    if (changed)
        emit signalUpdateHDMI();
}

void HDMICtl::detectState(int channel)
{
    if (fromMcu || (channel != 0 && channel != 1))
        return;
    std::atomic<int> &state = channel == 0 ? mainState : assistState;
    if (state == 1) {
        state = 0;
    } else if (state == 0) {
        if (channel == 0)
            getMainVideoInfo();
        else
            getAssistVideoInfo();
        state = 2;
    }
}

bool HDMICtl::isActive(int channel)
{
    if (fromMcu)
        return mcuActive;
    detectState(channel);
    if (channel == 0)
        return mainLocked;
    if (channel == 1)
        return assistLocked;
    return false;
}

HDMICtl::Format HDMICtl::current() const
{
    std::lock_guard<std::mutex> guard(m_textMutex);
    if (fromMcu)
        return {mcuWidth, mcuHeight, mcuInterlace, m_mcuRateText};
    return {width, height, interlace, rateText};
}

bool HDMICtl::getSize(int &width, int &height) const
{
    const Format format = current();
    width = format.width;
    height = format.height;
    if (isValidSize(width, height))
        return true;
    width = 1920;
    height = 1080;
    return false;
}

bool HDMICtl::isValidSize(int width, int height)
{
    return Video::isValidSize(width, height);
}

Video::InterlaceMode HDMICtl::interlance() const
{
    return fromMcu ? mcuInterlace.load() : interlace.load();
}

Video::PixFormat HDMICtl::pixFormat() const
{
    return fromMcu ? mcuPixFormat.load() : m_pixFormat.load();
}

Video::SDIMode HDMICtl::sdiMode() const
{
    const Format format = current();
    const bool fast = format.rate == "60" || format.rate == "59.94" || format.rate == "50";
    return format.height == 1080 && format.interlace == Video::PROGRESSIVE && fast ? Video::SDI_3G : Video::SDI_HD;
}

unsigned int HDMICtl::getPayLoad() const
{
    struct Entry {
        const char *rate;
        unsigned int payload;
    };
    static const Entry progressive1080[] = {{"59.94", 0x0100CA89}, {"50", 0x0100C989},   {"30", 0x0100C785},
                                            {"29.97", 0x0100C685}, {"25", 0x0100C585},   {"24", 0x0100C385},
                                            {"23.98", 0x0100C285}};
    static const Entry interlaced1080[] = {{"60", 0x01000785}, {"59.94", 0x01000685}, {"50", 0x01000585}};
    static const Entry lines720[] = {{"60", 0x0100CB84}, {"59.94", 0x0100CA84}, {"50", 0x0100C984}};
    auto find = [](const Entry *entries, size_t count, const std::string &rate) {
        for (size_t i = 0; i < count; ++i) {
            if (rate == entries[i].rate)
                return entries[i].payload;
        }
        return 0x0100CB89u;
    };
    const Format format = current();
    if (format.height == 1080 && format.interlace == Video::PROGRESSIVE)
        return find(progressive1080, sizeof(progressive1080) / sizeof(Entry), format.rate);
    if (format.height == 1080)
        return find(interlaced1080, sizeof(interlaced1080) / sizeof(Entry), format.rate);
    if (format.height == 720)
        return find(lines720, sizeof(lines720) / sizeof(Entry), format.rate);
    return 0x0100CB89u;
}

void HDMICtl::getHDMICtl(unsigned int &horizontal, unsigned int &vertical) const
{
    const Format format = current();
    if (format.height == 1080) {
        horizontal = 0x00600420;
        vertical = format.interlace == Video::PROGRESSIVE ? 0x00280460 : 0x00140230;
    } else if (format.height == 720) {
        horizontal = 0x00820302;
        vertical = 0x001802E8;
    }
}

void HDMICtl::getInfo(std::string &text) const
{
    const Format format = current();
    if (!isValidSize(format.width, format.height)) {
        console::print("HDMI width :%d  height : %d \n", format.width, format.height);
        text = "Unknow";
        return;
    }
    text = std::to_string(format.width) + "x" + std::to_string(format.height) + " " + format.rate
           + (format.interlace == Video::INTERLACED ? "i" : "p");
    if (!fromMcu) {
        text += " 422 10bit";
        return;
    }
    text += colorSpace != 0 && colorSpace != 2 ? " 422" : " 444";
    switch (colorDepth) {
    case 0:
    case 4:
        text += " 8";
        break;
    case 6:
        text += " 12";
        break;
    case 7:
        text += " 16";
        break;
    default:
        text += " 10";
        break;
    }
    text += "bit";
}
