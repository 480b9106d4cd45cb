#pragma once

#include "Singleton.h"

class PLControl;

// The display window of each half of the panel (LEFT_/RIGHT_HOR_SET and
// LEFT_/RIGHT_VER_SET).
class DisplayPositionCtl : public Singleton<DisplayPositionCtl>
{
public:
    enum SideType : int { SIDE_LEFT = 0, SIDE_RIGHT = 1 };

    void setPosition(SideType side, int x0, int x1, int y0, int y1);

private:
    friend class Singleton<DisplayPositionCtl>;
    DisplayPositionCtl();

    PLControl *m_pl;
};
