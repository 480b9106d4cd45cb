#include "MainChannelCtl.h"

#include "PLField.h"

#include <chrono>
#include <thread>

namespace {

constexpr unsigned int resetBit = 8;
constexpr auto resetPulse = std::chrono::milliseconds(10);

} // namespace

MainChannelCtl::MainChannelCtl() : m_pl(PLControl::getInstance())
{
}

void MainChannelCtl::inputSelect(Video::InputSource source)
{
    const int value = source;
    plfield::write(m_pl, MAIN_CH_CTL, 0, 1, value >= 0 && value <= 2 ? value : 0);
}

void MainChannelCtl::enable4Kmode(bool on)
{
    plfield::setBit(m_pl, MAIN_CH_CTL, 2, on);
}

void MainChannelCtl::pixFormat(Video::PixFormat format)
{
    const int value = format;
    plfield::write(m_pl, MAIN_CH_CTL, 12, 13, value >= 1 && value <= 4 ? value - 1 : 0);
}

void MainChannelCtl::SDIinput(Video::SDIinputFormat format)
{
    const int value = format;
    plfield::write(m_pl, MAIN_CH_CTL, 16, 19, value >= 0 && value <= 7 ? value : 0);
}

void MainChannelCtl::interlaceMode(Video::InterlaceMode mode)
{
    const int value = mode;
    plfield::write(m_pl, MAIN_CH_CTL, 20, 21, value >= 0 && value <= 2 ? value : 0);
}

void MainChannelCtl::reset()
{
    plfield::setBit(m_pl, MAIN_CH_CTL, resetBit, true);
    std::this_thread::sleep_for(resetPulse);
    plfield::setBit(m_pl, MAIN_CH_CTL, resetBit, false);
}
