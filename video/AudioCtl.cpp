#include "AudioCtl.h"

#include "PLField.h"

#include <QMetaObject>
#include <cmath>

namespace {

constexpr unsigned int extractBit = 0;
constexpr unsigned int groupBit = 4;
constexpr int tickMs = 16;
constexpr int fallPerTick = 2;
constexpr double fullScale = 32768.0;
// Frames come at least 24 times a second; this many ticks without one mean
// the picture is gone.
constexpr int restTicks = 8;

} // namespace

AudioCtl::AudioCtl() : m_pl(PLControl::getInstance())
{
    plfield::setBit(m_pl, SDI_AUX_CTL, extractBit, true);
    m_timer.setInterval(tickMs);
    connect(&m_timer, &QTimer::timeout, this, &AudioCtl::slotAudioUp);
}

// Readings come on the interrupt thread with every frame; the timer belongs
// to the thread of this object, and its start slot is queued to it.
void AudioCtl::startTicking()
{
    if (ticking.exchange(true))
        return;
    QMetaObject::invokeMethod(&m_timer, "start", Qt::QueuedConnection);
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
    int left = 0;
    int right = 0;
    if (samples != 0) {
        left = convert(static_cast<int>(plfield::get(peaks, 16, 31)));
        right = convert(static_cast<int>(plfield::get(peaks, 0, 15)));
    }
    levelLeft = left;
    levelRight = right;
    blank = false;
    framed = true;
    startTicking();
}

void AudioCtl::setAudio(bool blank)
{
    // Bars at rest must still go to zero, or back from it.
    if (this->blank.exchange(blank) != blank)
        startTicking();
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
    const bool blanked = blank;
    const int left = levelLeft;
    const int right = levelRight;
    if (blanked) {
        displayLeft = 0;
        displayRight = 0;
    } else {
        displayLeft = fall(displayLeft, left);
        displayRight = fall(displayRight, right);
    }
    // Every tick, also with the bars at rest: the time code and the light
    // meter are shown from here.
    emit updateAudio(displayLeft, displayRight);
    if (framed.exchange(false))
        restingTicks = 0;
    else if (blanked || ++restingTicks >= restTicks)
        stopTicking();
}

void AudioCtl::stopTicking()
{
    m_timer.stop();
    restingTicks = 0;
    ticking = false;
    // A frame that came in meanwhile found the tick running and left it be.
    if (framed)
        startTicking();
}
