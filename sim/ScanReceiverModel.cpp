#include "ScanReceiverModel.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace sim {

namespace {

// The synthesizer's programming, as its data sheet gives it for the band.
// Kept apart from the application's copy on purpose: the board checks what
// the application sends against its own reading of the data sheet.
constexpr uint32_t initWords[] = {
    0x0FF550, 0x000001, 0x451FE2, 0x5FDFA3, 0x6FD784, 0x853F55, 0x56AF36, 0xCE0207, 0x5E8C98, 0x221BC9,
    0xE06F2A, 0x08031B, 0x00143C, 0xFFFFFD, 0x00000E, 0x12BACF, 0x9ABA8F, 0x3ABA8F, 0x12BACF, 0xE06F2A,
};
constexpr size_t initLength = sizeof(initWords) / sizeof(initWords[0]);

constexpr uint32_t channelWords[ScanReceiverModel::channelCount][3] = {
    {0x0FF5C0, 0x0F3331, 0x7FD784}, {0x0FF5D0, 0x048891, 0x7FD784}, {0x0FF5E0, 0x19DDE1, 0x7FD784},
    {0x0FF5E0, 0x0F3331, 0x7FD784}, {0x0FF560, 0x19DDE1, 0x7FD784}, {0x0FF560, 0x0F3331, 0x7FD784},
    {0x0FF570, 0x048891, 0x7FD784}, {0x0FF580, 0x19DDE1, 0x7FD784}, {0x0FF580, 0x0F3331, 0x7FD784},
    {0x0FF5C0, 0x19DDE1, 0x7FD784}, {0x0FF550, 0x048891, 0x7FD784}, {0x0FF540, 0x0F3331, 0x7FD784},
    {0x0FF530, 0x0F3331, 0x7FD784}, {0x0FF600, 0x19DDE1, 0x7FD784}, {0x0FF610, 0x048891, 0x7FD784},
    {0x0FF590, 0x048891, 0x7FD784}, {0x0FF5A0, 0x19DDE1, 0x7FD784}, {0x0FF5A0, 0x0F3331, 0x7FD784},
    {0x0FF5B0, 0x048891, 0x7FD784}, {0x0FF600, 0x0F3331, 0x7FD784},
};

constexpr uint32_t closingWord = 0x223BB9;
constexpr size_t wordBytes = 3;

} // namespace

ScanReceiverModel::ScanReceiverModel(DeviceTree &tree) : m_tree(tree)
{
}

int ScanReceiverModel::channelOf(uint32_t first, uint32_t second, uint32_t third)
{
    for (int channel = 0; channel < channelCount; ++channel) {
        const uint32_t *words = channelWords[channel];
        if (words[0] == first && words[1] == second && words[2] == third)
            return channel;
    }
    return -1;
}

bool ScanReceiverModel::powered() const
{
    for (int line : enableLines) {
        const std::string value =
            m_tree.readFile("/sys/class/gpio/gpio" + std::to_string(line + DeviceTree::gpioBase) + "/value");
        if (std::strtol(value.c_str(), nullptr, 10) != 1)
            return false;
    }
    return true;
}

void ScanReceiverModel::receive(const std::vector<uint8_t> &message)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (message.size() != wordBytes) {
        // The shift register took a wrong number of bits: nothing it holds counts.
        m_words.clear();
        m_initProgress = 0;
        return;
    }
    const uint32_t word = static_cast<uint32_t>(message[0]) << 16 | static_cast<uint32_t>(message[1]) << 8 | message[2];

    // The initialisation runs in one piece from its first word.
    if (word == initWords[m_initProgress])
        ++m_initProgress;
    else
        m_initProgress = word == initWords[0] ? 1 : 0;
    if (m_initProgress == initLength) {
        m_initProgress = 0;
        m_initialised = powered();
        m_words.clear();
        return;
    }

    if (word != closingWord) {
        m_words.push_back(word);
        if (m_words.size() > 3)
            m_words.erase(m_words.begin());
        return;
    }
    const int channel = m_words.size() == 3 ? channelOf(m_words[0], m_words[1], m_words[2]) : -1;
    m_words.clear();
    if (!powered()) {
        m_initialised = false;
        return;
    }
    if (channel < 0 || !m_initialised)
        return;
    m_tuned = channel;
    ++m_tuneCount;
    showLevel(m_levels[static_cast<size_t>(channel)]);
}

// Rewritten in place, so that a reader holding the file open sees every
// change and never an empty file.
void ScanReceiverModel::showLevel(int level) const
{
    const std::string text = std::to_string(level) + "\n";
    const int fd = ::open(m_tree.path(DeviceTree::levelFile).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    if (::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()))
        static_cast<void>(::ftruncate(fd, static_cast<off_t>(text.size())));
    ::close(fd);
}

bool ScanReceiverModel::setLevel(int channel, int level)
{
    if (channel < 0 || channel >= channelCount || level < 0 || level > maxLevel)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_levels[static_cast<size_t>(channel)] = level;
    if (m_tuned == channel)
        showLevel(level);
    return true;
}

bool ScanReceiverModel::setLevels(const std::array<int, channelCount> &levels)
{
    for (int level : levels) {
        if (level < 0 || level > maxLevel)
            return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_levels = levels;
    if (m_tuned >= 0)
        showLevel(m_levels[static_cast<size_t>(m_tuned)]);
    return true;
}

int ScanReceiverModel::level(int channel) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return channel >= 0 && channel < channelCount ? m_levels[static_cast<size_t>(channel)] : -1;
}

int ScanReceiverModel::tunedChannel() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tuned;
}

int ScanReceiverModel::tuneCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tuneCount;
}

} // namespace sim
