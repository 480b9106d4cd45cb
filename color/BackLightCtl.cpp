#include "BackLightCtl.h"

#include "PLField.h"

BackLightCtl::BackLightCtl() : pl(*PLControl::getInstance()) {}

void BackLightCtl::setBackLightValue(int percent)
{
    // Below 0 would drive the duty under its minimum, as above 100 over its
    // maximum.
    if (percent < 0 || percent > 100)
        return;
    level = percent;
    const float span = static_cast<float>(maxDuty - minDuty);
    const auto duty = static_cast<unsigned int>(static_cast<float>(minDuty) + span * static_cast<float>(percent) / 100.0f);
    plfield::write(&pl, BL_PWM_DUTY, 0, 23, duty);
}

void BackLightCtl::setBackLightOff(bool off)
{
    plfield::setBit(&pl, BL_PWM_DUTY, 24, off);
}

int BackLightCtl::getBackLightValue() const
{
    return level;
}
