#include "TimeCode.h"

#include "PLField.h"

#include <cstdio>

TimeCode::TimeCode() : m_pl(PLControl::getInstance())
{
}

bool TimeCode::update()
{
    const unsigned int word = m_pl->getValue(TIME_CODE_INFO);
    return m_word.exchange(word) != word;
}

void TimeCode::getTimeCode(std::string &text) const
{
    const unsigned int word = m_word;
    auto bcd = [word](unsigned int units, unsigned int tensHigh) {
        return static_cast<int>(plfield::get(word, units, units + 3) + 10 * plfield::get(word, units + 4, tensHigh));
    };
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%02d:%02d:%02d:%02d", bcd(24, 29), bcd(16, 22), bcd(8, 14), bcd(0, 5));
    text = buffer;
}

bool TimeCode::getSDIRecStatus() const
{
    return plfield::bit(m_pl, SDI_AUX_CTL, 12);
}

int TimeCode::getSDITimeCodeMode() const
{
    return static_cast<int>(plfield::get(m_pl->getValue(SDI_AUX_CTL), 28, 29));
}
