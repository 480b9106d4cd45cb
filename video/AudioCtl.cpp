#include "AudioCtl.h"

#include "PLField.h"

#include <cmath>

namespace {

constexpr unsigned int extractBit = 0;
constexpr unsigned int groupBit = 4;
constexpr int tickMs = 16;
constexpr int fallPerTick = 2;
constexpr double fullScale = 32768.0;

} // namespace

AudioCtl::AudioCtl() : m_pl(PLControl::getInstance())
{
    plfield::setBit(m_pl, SDI_AUX_CTL, extractBit, true);
    connect(&m_timer, &QTimer::timeout, this, &AudioCtl::slotAudioUp);
    m_timer.start(tickMs);
}

int AudioCtl::convert(int peak)
{
    if (peak <= 0)
        return 0;
    // The logic's 16-bit peak can exceed full scale; that is still full scale.
    const double ratio = std::fmin(peak / fullScale, 1.0);
    const int down = static_cast<int>(std::fabs(20.0 * std::log10(ratio)) + 0.5);
    return down > maxLevel - 1 ? 0 : maxLevel - down;
}

void AudioCtl::update()
{
    const unsigned int samples = plfield::get(m_pl->getValue(AUD_FRM_CNT), 0, 11);
    const unsigned int peaks = m_pl->getValue(AUD_AES_MAX);
    if (samples == 0) {
        levelLeft = 0;
        levelRight = 0;
    } else {
        levelLeft = convert(static_cast<int>(plfield::get(peaks, 16, 31)));
        levelRight = convert(static_cast<int>(plfield::get(peaks, 0, 15)));
    }
    blank = false;
}

void AudioCtl::setAudio(bool blank)
{
    this->blank = blank;
}

void AudioCtl::resetAudio(bool skip)
{
    skipTick = skip;
}

void AudioCtl::setAudioGroup(int group)
{
    if (group == 0 || group == 1)
        plfield::setBit(m_pl, SDI_AUX_CTL, groupBit, group == 1);
}

int AudioCtl::fall(int displayed, int level)
{
    const int next = displayed > (level + 1) * unitsPerLevel ? displayed - fallPerTick : level * unitsPerLevel;
    return next < 0 ? 0 : next;
}

void AudioCtl::slotAudioUp()
{
    if (skipTick.exchange(false))
        return;
    if (blank) {
        displayLeft = 0;
        displayRight = 0;
    } else {
        displayLeft = fall(displayLeft, levelLeft);
        displayRight = fall(displayRight, levelRight);
    }
    emit updateAudio(displayLeft, displayRight);
}
