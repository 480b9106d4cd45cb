#include "AudioLabel.h"

#include <QPainter>

namespace {

const QColor greenColor(107, 240, 24);
const QColor yellowColor(242, 234, 38);
const QColor redColor(226, 43, 40);
// Where the yellow and the red parts of a bar begin.
constexpr int yellowStart = 231;
constexpr int redStart = 308;
// Rows of each channel's bar, inclusive.
constexpr int barTop[2] = {0, 24};
constexpr int barBottom[2] = {16, 40};

} // namespace

AudioLabel::AudioLabel(QWidget *parent) : QLabel(parent)
{
}

void AudioLabel::setAudioChannelValue(AudioLabel::AudioChannel a, int levelA, AudioLabel::AudioChannel b, int levelB)
{
    const bool changed = levelA != meters[0].level || levelB != meters[1].level || a != meters[0].channel
                         || b != meters[1].channel;
    meters[0] = {a, levelA};
    meters[1] = {b, levelB};
    if (changed)
        update();
}

void AudioLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    for (const Slot &slot : meters)
        paintBar(painter, slot);
}

void AudioLabel::paintBar(QPainter &painter, const Slot &slot) const
{
    const int channel = slot.channel;
    const int level = slot.level;
    if ((channel != AUDIO_CHANNEL_LEFT && channel != AUDIO_CHANNEL_RIGHT) || level <= 0)
        return;
    const int top = barTop[channel];
    const int height = barBottom[channel] - top + 1;
    painter.fillRect(0, top, qMin(level, yellowStart), height, greenColor);
    if (level > yellowStart)
        painter.fillRect(yellowStart, top, qMin(level, redStart) - yellowStart, height, yellowColor);
    if (level > redStart)
        painter.fillRect(redStart, top, level - redStart, height, redColor);
}
