#pragma once

#include "Singleton.h"

#include <QObject>
#include <atomic>
#include <ctime>

class RotateCtl;

// Decides from the tilt angle the MCU reports when the monitor has been turned
// over, asks the MCU to confirm the new orientation and applies it when the
// confirmation arrives. A request stays pending, and is repeated with the
// current orientation on samples more than 200 ms after the last one, until
// the MCU confirms. Samples and confirmations come from the MCU link's reader
// thread, the switch from the user-interface thread.
class GsensorCtl : public QObject, public Singleton<GsensorCtl>
{
    Q_OBJECT
    friend class Singleton<GsensorCtl>;

public:
    // The automatic orientation switch.
    void setFlipEnable(bool enable);
    // One G-sensor sample; only the angle is used.
    void setGsensorData(int x, int y, int z, short a, short angle);
    // The MCU's confirmation: turns picture and touch.
    void setFlip(bool state);

private:
    GsensorCtl();

    void send();

    std::atomic<bool> flipEnabled{true};
    std::atomic<bool> flipped{false};
    std::atomic<bool> pending{false};
    struct timespec lastRequest = {0, 0};
    struct timespec sample = {0, 0};
    RotateCtl &rotate;
};
