#pragma once

#include "RegisterTable.h"

class PLControl;

// Reader of the timing the logic measures on one channel (VID_INFO0 to 2):
// lock, pixel-clock count, active and total sizes. The horizontal sizes count
// pairs of pixels and the clock count runs at that pair rate (kHz).
class VideoInfo
{
public:
    bool locked() const;
    unsigned int horActive() const;
    unsigned int horTotal() const;
    unsigned int verActive() const;
    unsigned int verTotal() const;
    // The clock count, or 0 while the measurement is not yet trustworthy;
    // validity receives the measurement's validity count.
    unsigned int clock(int &validity) const;

protected:
    VideoInfo(FunctionTypeIndex info0, FunctionTypeIndex info1, FunctionTypeIndex info2, int minimumValidity);

private:
    PLControl *m_pl;
    const FunctionTypeIndex m_info0;
    const FunctionTypeIndex m_info1;
    const FunctionTypeIndex m_info2;
    const int m_minimumValidity;
};

class MainVideoInfo : public VideoInfo
{
public:
    MainVideoInfo();
};

class AssistVideoInfo : public VideoInfo
{
public:
    AssistVideoInfo();
};
