#include "Battery.h"

namespace {

// The pack voltage from which on a battery counts as the high pack.
constexpr float highPackFrom = 9.0f;

} // namespace

void Battery::setBatteryVoltage(bool externalPower, float voltageA, float voltageB)
{
    this->externalPower = externalPower;
    this->voltageA = voltageA;
    levelA = level(voltageA);
    this->voltageB = voltageB;
    levelB = level(voltageB);
    emit signalBattery(externalPower, voltageA, levelA, voltageB, levelB);
}

// In single precision, as the status bar has always shown it.
int Battery::level(float voltage) const
{
    const bool lowPack = voltage < highPackFrom;
    const float empty = lowPack ? lowPackEmpty : highPackEmpty;
    const float full = lowPack ? lowPackFull : highPackFull;
    if (voltage <= empty)
        return 0;
    if (voltage >= full)
        return 100;
    return 100 - static_cast<int>((full - voltage) / (full - empty) * 100.0f);
}
