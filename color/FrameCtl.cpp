#include "FrameCtl.h"

#include "PLField.h"

namespace {

constexpr unsigned int armBit = 0;
constexpr unsigned int lutBit = 1;
constexpr unsigned int freezeBit = 2;
constexpr unsigned int armCompanionBit = 3;
constexpr unsigned int overlayBit = 4;
constexpr unsigned int previewBit = 5;
constexpr double fullOpacity = 1023.0;
constexpr double fullWidth = 2560.0;

int percentOf(int percent)
{
    return percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

} // namespace

FrameCtl::FrameCtl()
    : m_pl(PLControl::getInstance()), m_saveAddress(m_pl->getMemAddr(PLMemory::FRAME_SAVE)),
      m_loadAddress(m_pl->getMemAddr(PLMemory::FRAME_LOAD))
{
    plfield::setBit(m_pl, FRAME_CAP_CTL, armBit, false);
}

void FrameCtl::frameSave(int step)
{
    unsigned int word = m_pl->getValue(FRAME_CAP_CTL);
    const unsigned int on = step == 0 ? 1u : 0u;
    word = plfield::put(word, armBit, armBit, on);
    word = plfield::put(word, armCompanionBit, armCompanionBit, on);
    m_pl->setValue(FRAME_CAP_CTL, word);
}

void FrameCtl::frameLutEnable(bool on)
{
    plfield::setBit(m_pl, FRAME_CAP_CTL, lutBit, on);
}

void FrameCtl::frameFreeze(bool on)
{
    plfield::setBit(m_pl, FRAME_CAP_CTL, freezeBit, on);
}

void FrameCtl::frameOverlay(bool on)
{
    plfield::setBit(m_pl, FRAME_CAP_CTL, overlayBit, on);
}

void FrameCtl::framePreview(bool on)
{
    plfield::setBit(m_pl, FRAME_CAP_CTL, previewBit, on);
}

void FrameCtl::frameOpacity(int percent)
{
    const double value = percentOf(percent) / 100.0 * fullOpacity;
    plfield::write(m_pl, FRAME_CAP_CTL, 8, 17, static_cast<unsigned int>(value));
}

void FrameCtl::framePosition(int percent)
{
    const double value = percentOf(percent) / 100.0 * fullWidth;
    unsigned int word = plfield::put(m_pl->getValue(FRAME_CAP_CTL), 20, 31, static_cast<unsigned int>(value));
    m_pl->setValue(FRAME_CAP_CTL, plfield::put(word, previewBit, previewBit, 1));
}

void FrameCtl::frameLoad()
{
    plfield::setBit(m_pl, FRAME_CAP_CTL, overlayBit, true);
}
