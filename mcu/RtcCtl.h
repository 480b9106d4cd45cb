#pragma once

#include "Singleton.h"

#include <QObject>

// The bridge to the MCU's battery-backed clock: turns the MCU's time report into
// a local date and time for the user interface, and sets the MCU clock.
class RtcCtl : public QObject, public Singleton<RtcCtl>
{
    Q_OBJECT
    friend class Singleton<RtcCtl>;

public:
    // The MCU's report, seconds since the epoch. A time before 2020 means the
    // clock was never set: it is reset to 2020-01-01 01:00:00 local time.
    void updateTime(long seconds);
    void updateTime(int year, int month, int day, int hour, int minute, int second);
    // Sets the MCU clock to the given local time (command 0x0A); what the link
    // returned, or -1 for a time that has no epoch value.
    int setTime(int year, int month, int day, int hour, int minute, int second);

signals:
    void signalUpdateTime(int year, int month, int day, int hour, int minute, int second);

private:
    RtcCtl() = default;
};
