#pragma once

#include "Singleton.h"

#include <QObject>
#include <QTimer>
#include <atomic>

class PLControl;

// The audio meters: the peaks of the metered pair become two levels (0 to
// 53, one per dB down to -52 dBFS); a 16 ms tick animates the displayed
// values, which rise at once and fall back slowly. The tick runs only while
// the bars have somewhere to go: from a reading that changes a level until
// both bars stand at their levels, or until the main input loses its picture
// and the bars have shown zero.
class AudioCtl : public QObject, public Singleton<AudioCtl>
{
    Q_OBJECT

public:
    static constexpr int maxLevel = 53;
    static constexpr int unitsPerLevel = 7;

    void update();
    static int convert(int peak);
    void setAudio(bool blank);
    void resetAudio(bool skip);
    void setAudioGroup(int group);

public slots:
    void slotAudioUp();

signals:
    void updateAudio(int left, int right);

private:
    friend class Singleton<AudioCtl>;
    AudioCtl();

    static int fall(int displayed, int level);
    // Starts the tick on the meters' own thread, once.
    void startTicking();
    // Stops the tick after one that showed these levels, unless the
    // readings moved on meanwhile.
    void stopTicking(bool blanked, int left, int right);

    PLControl *m_pl;
    std::atomic<bool> blank{false};
    std::atomic<bool> skipTick{false};
    // The tick runs or its start is on the way.
    std::atomic<bool> ticking{false};
    std::atomic<int> levelLeft{0};
    std::atomic<int> levelRight{0};
    int displayLeft = 0;
    int displayRight = 0;
    QTimer m_timer;
};
