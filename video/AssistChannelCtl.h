#pragma once

#include "Singleton.h"
#include "Video.h"

#include <string>

class PLControl;

// Source selection and input format of the assist channel (ASSIST_CH_CTL) and
// the layout of the assist picture: corner window or half screen
// (ASSIST_RESIZE_CTL, ASSIST_ZOOM_OUT, ASSIST_ZOOM_IN).
class AssistChannelCtl : public Singleton<AssistChannelCtl>
{
public:
    enum PicInPicMode : int {
        PIP_LEFT_TOP = 0,
        PIP_LEFT_BOTTOM = 1,
        PIP_RIGHT_TOP = 2,
        PIP_RIGHT_BOTTOM = 3,
        PIP_LEFT_HALF = 4,
        PIP_RIGHT_HALF = 5,
    };

    // The setting text of a layout, and the layout of a setting text (an
    // unknown text gives PIP_RIGHT_TOP).
    static std::string picInPicText(PicInPicMode mode);
    static PicInPicMode picInPicMode(const std::string &text);
    static bool isHalfScreen(PicInPicMode mode) { return mode == PIP_LEFT_HALF || mode == PIP_RIGHT_HALF; }

    void inputSelect(Video::InputSource source);
    void enable4Kmode(bool on);
    void pixFormat(Video::PixFormat format);
    void interlaceMode(Video::InterlaceMode mode);
    void reset();

    void setPicInPic(PicInPicMode mode);
    void setSize(unsigned short width, unsigned short height);
    void enablePicInPic(bool on);
    void zoomOut();
    void zoomIn(float width, float height);

private:
    friend class Singleton<AssistChannelCtl>;
    AssistChannelCtl();

    bool isHdmi4K() const;

    PLControl *m_pl;
    Video::InputSource m_source = Video::WHDI_SOURCE;
    unsigned short m_width = 0;
    unsigned short m_height = 0;
    PicInPicMode m_mode = PIP_LEFT_TOP;
};
