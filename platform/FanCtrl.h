#pragma once

#include "GpioCtrl.h"
#include "Singleton.h"

#include <atomic>

// Drives the two-speed cooling fan from the SoC's die temperature, pauses it
// while an SDI recorder is recording, and shuts the monitor down when the die
// gets too hot. The fan lock is the class mutex.
class FanCtrl : public Singleton<FanCtrl>
{
    friend class Singleton<FanCtrl>;

public:
    enum FanMode { FAN_OFF = 0, FAN_LOW = 1, FAN_HIGH = 2 };
    // The user's choice; the control page offers "Auto", "on" and "off".
    enum FanState { FAN_AUTO = 0, FAN_ON = 1, FAN_CLOSE = 2 };

    static const char *const temperatureFile;

    ~FanCtrl() override;

    // Drives the lines, low speed on line 12 and high speed on line 13; any
    // other value is only stored. Takes no lock.
    void setFanMode(FanMode mode);
    void setState(FanState state);

    FanMode getFanMode() const { return mode; }
    // The last die temperature in degrees Celsius.
    double getTemperature() const { return temperature; }

private:
    FanCtrl();
    void fanAutoControl();
    void autoControl(double celsius);

    GpioCtrl fanLine1;
    GpioCtrl fanLine2;
    std::atomic<FanMode> mode{FAN_OFF};
    std::atomic<FanState> state{FAN_AUTO};
    std::atomic<bool> running{true};
    bool recordingSeen = false;
    FanMode modeBeforeRecording = FAN_OFF;
    std::atomic<double> temperature{0.0};
};
