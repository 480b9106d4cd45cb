#include "VideoInfo.h"

#include "PLField.h"

VideoInfo::VideoInfo(FunctionTypeIndex info0, FunctionTypeIndex info1, FunctionTypeIndex info2,
                     int minimumValidity)
    : m_pl(PLControl::getInstance()), m_info0(info0), m_info1(info1), m_info2(info2),
      m_minimumValidity(minimumValidity)
{
}

bool VideoInfo::locked() const
{
    return plfield::bit(m_pl, m_info0, 0);
}

unsigned int VideoInfo::horActive() const
{
    return plfield::get(m_pl->getValue(m_info1), 0, 15);
}

unsigned int VideoInfo::horTotal() const
{
    return plfield::get(m_pl->getValue(m_info1), 16, 31);
}

unsigned int VideoInfo::verActive() const
{
    return plfield::get(m_pl->getValue(m_info2), 0, 15);
}

unsigned int VideoInfo::verTotal() const
{
    return plfield::get(m_pl->getValue(m_info2), 16, 31);
}

unsigned int VideoInfo::clock(int &validity) const
{
    const unsigned int word = m_pl->getValue(m_info0);
    validity = static_cast<int>(plfield::get(word, 24, 31));
    return validity >= m_minimumValidity ? plfield::get(word, 4, 23) : 0u;
}

MainVideoInfo::MainVideoInfo() : VideoInfo(MAIN_VID_INFO0, MAIN_VID_INFO1, MAIN_VID_INFO2, 5)
{
}

AssistVideoInfo::AssistVideoInfo() : VideoInfo(ASSIST_VID_INFO0, ASSIST_VID_INFO1, ASSIST_VID_INFO2, 1)
{
}
