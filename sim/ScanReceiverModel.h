#pragma once

#include "DeviceTree.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sim {

// The scan receiver of the wireless band: a synthesizer on the SPI bus, its two
// enable lines and the converter that measures the received level.
//
// Device side: SPI messages of three bytes, each one 24-bit synthesizer word,
// first byte first. The synthesizer takes a channel only while both enable
// lines (25, 26) are high and after it was initialised with its twenty
// initialisation words while powered; the channel is set by the channel's
// three words followed by the closing word. Then the level file holds the
// level of that channel, and follows it when the level changes. Words it does
// not know, a message of another size or a sequence cut short tune nothing.
//
// Backend side: the level of each channel (0 to 4095, all 0 at first), from
// any thread.
class ScanReceiverModel
{
public:
    static constexpr int channelCount = 20;
    static constexpr int maxLevel = 4095;
    static constexpr std::array<int, 2> enableLines = {25, 26};

    explicit ScanReceiverModel(DeviceTree &tree);

    // One SPI message as the synthesizer receives it.
    void receive(const std::vector<uint8_t> &message);

    // False (nothing changes) for a channel or level out of range.
    bool setLevel(int channel, int level);
    bool setLevels(const std::array<int, channelCount> &levels);
    int level(int channel) const;

    // The channel the synthesizer is on; -1 before the first tuning.
    int tunedChannel() const;
    // How many times a channel was set.
    int tuneCount() const;

    // The channel of three channel words; -1 for words that name none.
    static int channelOf(uint32_t first, uint32_t second, uint32_t third);

private:
    bool powered() const;
    void showLevel(int level) const;

    DeviceTree &m_tree;
    mutable std::mutex m_mutex;
    std::array<int, channelCount> m_levels{};
    // The last words since the last closing word, at most three kept.
    std::vector<uint32_t> m_words;
    size_t m_initProgress = 0;
    bool m_initialised = false;
    int m_tuned = -1;
    int m_tuneCount = 0;
};

} // namespace sim
