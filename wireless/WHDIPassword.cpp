#include "WHDIPassword.h"

#include "PLField.h"

namespace {

constexpr unsigned int enableBit = 0;
constexpr unsigned int firstDigitBit = 8;
constexpr int digitCount = 6;
constexpr int maxFrameCount = 127;

} // namespace

WHDIPassword::WHDIPassword() : m_pl(PLControl::getInstance())
{
}

void WHDIPassword::passwordEnable(bool on)
{
    plfield::setBit(m_pl, WHDI_ENCRYP_CTRL, enableBit, on);
}

void WHDIPassword::setErrorFrameCount(int count)
{
    const int clamped = count < 0 ? 0 : count > maxFrameCount ? maxFrameCount : count;
    plfield::write(m_pl, WHDI_ENCRYP_CTRL, 1, 7, static_cast<unsigned int>(clamped));
}

bool WHDIPassword::setPassword(const int digits[6])
{
    for (int i = 0; i < digitCount; ++i) {
        if (digits[i] < 0 || digits[i] > 9)
            return false;
    }
    unsigned int word = m_pl->getValue(WHDI_ENCRYP_CTRL);
    for (int i = 0; i < digitCount; ++i) {
        const unsigned int low = firstDigitBit + 4 * i;
        word = plfield::put(word, low, low + 3, static_cast<unsigned int>(digits[i]));
    }
    m_pl->setValue(WHDI_ENCRYP_CTRL, word);
    return true;
}
