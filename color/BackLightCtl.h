#pragma once

#include "PLControl.h"
#include "Singleton.h"

// The panel backlight: the PWM duty for a level in percent, and the switch.
class BackLightCtl : public Singleton<BackLightCtl>
{
    friend class Singleton<BackLightCtl>;

public:
    // 0-100 % spans the duty from its minimum to its maximum; other values
    // change nothing.
    void setBackLightValue(int percent);
    void setBackLightOff(bool off);
    // The level last set, in percent.
    int getBackLightValue() const;

private:
    BackLightCtl();

    PLControl &pl;
    const int maxDuty = 418770;
    const int minDuty = 36096;
    int level = 0;
};
