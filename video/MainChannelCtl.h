#pragma once

#include "Singleton.h"
#include "Video.h"

class PLControl;

// Source selection and input format of the main channel (MAIN_CH_CTL).
class MainChannelCtl : public Singleton<MainChannelCtl>
{
public:
    void inputSelect(Video::InputSource source);
    void enable4Kmode(bool on);
    void pixFormat(Video::PixFormat format);
    void SDIinput(Video::SDIinputFormat format);
    void interlaceMode(Video::InterlaceMode mode);
    // Pulses the channel's reset bit.
    void reset();

private:
    friend class Singleton<MainChannelCtl>;
    MainChannelCtl();

    PLControl *m_pl;
};
