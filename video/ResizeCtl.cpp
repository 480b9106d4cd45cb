#include "ResizeCtl.h"

#include "PLField.h"

#include <chrono>
#include <thread>

namespace {

constexpr unsigned int panelHalfWidth = 1280;
constexpr unsigned int panelHeight = 1440;
constexpr unsigned int strobeBit = 24;
constexpr auto strobeLow = std::chrono::milliseconds(5);

// Source units per output unit in 12-bit fixed point; a zero output size
// scales nothing rather than dividing by zero.
unsigned int step(unsigned short source, unsigned short output)
{
    if (output == 0)
        return 0;
    return static_cast<unsigned int>(static_cast<double>(source) / output * 4096.0);
}

} // namespace

ResizeCtl::ResizeCtl() : m_pl(PLControl::getInstance())
{
}

void ResizeCtl::resize(unsigned short inWidth, unsigned short inHeight, unsigned short outWidth,
                       unsigned short outHeight)
{
    const unsigned int h = step(inWidth, outWidth) & 0xFFFFu;
    const unsigned int v = step(inHeight, outHeight) & 0xFFFFu;
    // Full-panel scaling keeps the aspect ratio: the horizontal step serves both.
    const unsigned int vertical = outHeight == panelHeight && h != v ? h : v;
    m_pl->setValue(MAIN_RESIZE_VAL, h | vertical << 16);
    setRightSideStart(h * panelHalfWidth);
    resizeEnable(true, 0);
    resizeUpdate();
}

void ResizeCtl::resizeEnable(bool on, unsigned short width)
{
    plfield::setBit(m_pl, MAIN_RESIZE_CTL, 0, on);
    if (!on && width != 0)
        setRightSideStart(width / 2 * 4096u);
}

void ResizeCtl::resizeZoomEnable(bool on)
{
    plfield::setBit(m_pl, MAIN_RESIZE_CTL, 4, on);
}

void ResizeCtl::resizeZoomPosition(unsigned short x, unsigned short y)
{
    unsigned int word = m_pl->getValue(MAIN_RESIZE_CTL);
    word = plfield::put(word, 8, 19, x);
    word = plfield::put(word, 20, 31, y);
    m_pl->setValue(MAIN_RESIZE_CTL, word);
}

void ResizeCtl::resizeUpdate()
{
    plfield::setBit(m_pl, RIGHT_SIDE_POS, strobeBit, false);
    std::this_thread::sleep_for(strobeLow);
    plfield::setBit(m_pl, RIGHT_SIDE_POS, strobeBit, true);
}

void ResizeCtl::setRightSideStart(unsigned int position)
{
    plfield::write(m_pl, RIGHT_SIDE_POS, 0, 23, position);
}
