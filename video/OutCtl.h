#pragma once

#include "Singleton.h"
#include "Video.h"

#include <atomic>
#include <string>

class CscCtl;
class PLControl;

// The SDI loop-through output (SDI_OUT_CTRL, SDIOUT_ST352_PL): from the main
// source's description and the user's options it sets the transmitter's mode,
// format, multiplex, family, payload and clock, then restarts it. The wireless
// link mutes it while the link is lost.
class OutCtl : public Singleton<OutCtl>
{
public:
    void setInput(Video::InputSource input);
    void setSDIMode(Video::SDIMode mode);
    void setStlye(Video::BitDepth depth, Video::Level level, Video::Sampling sampling);
    void setSize(int width, int height);
    void setPayLoad(unsigned int payload);
    void setRange(const std::string &range);
    void Output6GConverts(bool on);

    void setOutEnable(bool on);
    void lutEnable(bool on);
    void setHDMICtl(unsigned int horizontal, unsigned int vertical);
    // The timing words as the registers hold them now.
    void currentHDMICtl(unsigned int &horizontal, unsigned int &vertical) const;
    void outOff();
    void outRegain();
    void SDIoutput(Video::SDIinputFormat format);

    void outputUpdate();
    void matrixLoad(bool on);
    void outputUpdateMatrix();

    // The payload as last stored (6G conversion rewrites its first byte).
    unsigned int payLoad() const { return payload; }

private:
    friend class Singleton<OutCtl>;
    OutCtl();

    void outReset();
    void setField(unsigned int low, unsigned int high, unsigned int value);

    PLControl *m_pl;
    bool convert6G = false;
    bool lutOnOutput = false;
    std::atomic<bool> outDisabled{false};
    std::atomic<bool> outMuted{false};
    Video::SDIMode sdiMode = Video::SDI_HD;
    Video::InputSource input = Video::WHDI_SOURCE;
    Video::BitDepth bitDepth = Video::DEPTH_UNKNOWN;
    Video::Level level = Video::LEVEL_A;
    Video::Sampling sampling = static_cast<Video::Sampling>(0);
    std::string range;
    unsigned int payload = 0;
    int width = 0;
    int height = 0;
    CscCtl *m_csc;
};
