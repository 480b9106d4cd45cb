#include "RotateCtl.h"

#include "Bit.h"
#include "PLField.h"

RotateCtl::RotateCtl() : pl(*PLControl::getInstance()) {}

void RotateCtl::invert(bool firstFlag, bool secondFlag)
{
    first = firstFlag;
    second = secondFlag;
    invert();
}

void RotateCtl::invert()
{
    unsigned int touch = pl.getValue(TOUCHEVENT_ROTATE);
    Bit::bitSetValue(touch, 0, first);
    Bit::bitSetValue(touch, 1, second);
    pl.setValue(TOUCHEVENT_ROTATE, touch);
    plfield::setBit(&pl, DISP_FLIP_CONTROL, 0, first);
}
