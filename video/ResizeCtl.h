#pragma once

#include "Singleton.h"

class PLControl;

// The main scaler: step factors, crop window and the right half's start
// (MAIN_RESIZE_CTL, MAIN_RESIZE_VAL, RIGHT_SIDE_POS).
class ResizeCtl : public Singleton<ResizeCtl>
{
public:
    void resize(unsigned short inWidth, unsigned short inHeight, unsigned short outWidth, unsigned short outHeight);
    void resizeEnable(bool on, unsigned short width);
    void resizeZoomEnable(bool on);
    void resizeZoomPosition(unsigned short x, unsigned short y);
    // Latches the new scaler values (rising edge of the strobe).
    void resizeUpdate();

private:
    friend class Singleton<ResizeCtl>;
    ResizeCtl();

    void setRightSideStart(unsigned int position);

    PLControl *m_pl;
};
