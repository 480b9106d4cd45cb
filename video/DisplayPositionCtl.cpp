#include "DisplayPositionCtl.h"

#include "PLField.h"

DisplayPositionCtl::DisplayPositionCtl() : m_pl(PLControl::getInstance())
{
}

void DisplayPositionCtl::setPosition(SideType side, int x0, int x1, int y0, int y1)
{
    const int value = side;
    if (value != SIDE_LEFT && value != SIDE_RIGHT)
        return;
    const FunctionTypeIndex horizontal = side == SIDE_LEFT ? LEFT_HOR_SET : RIGHT_HOR_SET;
    const FunctionTypeIndex vertical = side == SIDE_LEFT ? LEFT_VER_SET : RIGHT_VER_SET;
    unsigned int word = plfield::put(m_pl->getValue(horizontal), 0, 11, static_cast<unsigned int>(x0));
    m_pl->setValue(horizontal, plfield::put(word, 16, 27, static_cast<unsigned int>(x1)));
    word = plfield::put(m_pl->getValue(vertical), 0, 11, static_cast<unsigned int>(y0));
    m_pl->setValue(vertical, plfield::put(word, 16, 27, static_cast<unsigned int>(y1)));
}
