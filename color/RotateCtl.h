#pragma once

#include "PLControl.h"
#include "Singleton.h"

// Turns the picture and the touch coordinates by 180 degrees, for a monitor
// mounted upside down.
class RotateCtl : public Singleton<RotateCtl>
{
    friend class Singleton<RotateCtl>;

public:
    // Stores both flags and applies them.
    void invert(bool first, bool second);
    // Touch inversion from both flags, picture flip from the first.
    void invert();

private:
    RotateCtl();

    PLControl &pl;
    bool first = false;
    bool second = false;
};
