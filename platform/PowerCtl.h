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
    // Watches the line for a change: its edges, and writes to its value file.
    // -1 when nothing can be watched and the line must be sampled instead.
    int watchLine();
    // Waits until the line may have changed.
    void waitForChange(int changes);

    PLControl &plControl;
    int lowCount = 0;
};
