#pragma once

#include "Singleton.h"

#include <QObject>

// Turns the battery voltages the MCU reports into charge levels for the
// status bar. Two pack sizes: below 9 V a two-cell pack, otherwise a
// four-cell one. Updated from the serial reader thread.
class Battery : public QObject, public Singleton<Battery>
{
    Q_OBJECT
    friend class Singleton<Battery>;

public:
    void setBatteryVoltage(bool externalPower, float voltageA, float voltageB);

signals:
    void signalBattery(bool externalPower, float voltageA, int levelA, float voltageB, int levelB);

private:
    Battery() = default;
    int level(float voltage) const;

    float lowPackEmpty = 7.0f;
    float lowPackFull = 8.4f;
    float highPackEmpty = 12.0f;
    float highPackFull = 16.8f;
    float voltageA = 0.0f;
    float voltageB = 0.0f;
    int levelA = 0;
    int levelB = 0;
    bool externalPower = false;
};
