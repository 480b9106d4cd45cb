#pragma once

#include "GpioCtrl.h"
#include "Singleton.h"

class PLControl;

// Watches the power button and shuts the monitor down in order: settings
// saved, file systems synced, the MCU told to cut the power, the logic reset.
class PowerCtl : public GpioCtrl, public Singleton<PowerCtl>
{
    friend class Singleton<PowerCtl>;

public:
    // Also reached from the service FIFO and from the fan control at
    // over-temperature.
    void powerOff();

private:
    PowerCtl();
    void eventLoop();

    PLControl &plControl;
    int lowCount = 0;
};
