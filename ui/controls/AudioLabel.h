#pragma once

#include <QLabel>

// The two-channel audio level meter: per channel a bar, green up to the
// nominal level, yellow above it, red near full scale.
class AudioLabel : public QLabel
{
    Q_OBJECT

public:
    enum AudioChannel : int { AUDIO_CHANNEL_LEFT = 0, AUDIO_CHANNEL_RIGHT = 1 };

    explicit AudioLabel(QWidget *parent = nullptr);

    // Levels in pixels of bar.
    void setAudioChannelValue(AudioLabel::AudioChannel a, int levelA, AudioLabel::AudioChannel b, int levelB);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Slot {
        AudioChannel channel;
        int level;
    };

    void paintBar(QPainter &painter, const Slot &slot) const;

    Slot meters[2] = {{AUDIO_CHANNEL_LEFT, 0}, {AUDIO_CHANNEL_RIGHT, 0}};
};
