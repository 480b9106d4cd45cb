#pragma once

#include "Singleton.h"

#include <QObject>
#include <atomic>
#include <string>

class PLControl;

// The SDI stream's timecode (TIME_CODE_INFO, BCD) and recording flags.
class TimeCode : public QObject, public Singleton<TimeCode>
{
    Q_OBJECT

public:
    // True when the timecode word changed since the last call.
    bool update();
    // "HH:MM:SS:FF" of the last word read.
    void getTimeCode(std::string &text) const;
    bool getSDIRecStatus() const;
    int getSDITimeCodeMode() const;

private:
    friend class Singleton<TimeCode>;
    TimeCode();

    PLControl *m_pl;
    std::atomic<unsigned int> m_word{0};
};
