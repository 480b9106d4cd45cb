#include "LutCtl.h"

#include "Lut3D.h"
#include "PLField.h"
#include "LoadStrobe.h"

namespace {

constexpr uint8_t enableBit = 0;
constexpr uint8_t previewBit = 8;
constexpr uint8_t positionLow = 12;
constexpr uint8_t positionHigh = 23;

} // namespace

LutCtl::LutCtl() : pl(*PLControl::getInstance()), memory(pl.getMemAddr(PLMemory::LUT3D_MEMORY1))
{
    plfield::setBit(&pl, VID_3DLUT_CTL, enableBit, false);
}

void LutCtl::lutEnable(bool on)
{
    plfield::setBit(&pl, VID_3DLUT_CTL, enableBit, on);
    enabled = on;
}

bool LutCtl::getLutEnable() const
{
    return enabled;
}

void LutCtl::lutPreviewEnable(bool on)
{
    if (enabled)
        plfield::setBit(&pl, VID_3DLUT_CTL, previewBit, on);
}

void LutCtl::lutPreviewPosition(int position)
{
    plfield::write(&pl, VID_3DLUT_CTL, positionLow, positionHigh, static_cast<unsigned int>(position));
}

void LutCtl::lutUpdate()
{
    loadStrobe(pl, VID_3DLUT_CTL);
}

bool LutCtl::loadFile(const std::string &path)
{
    Lut3D &lut = *Lut3D::getInstance();
    if (!lut.load(path.c_str(), Lut3D::LutDebugNone) || !lut.copy(static_cast<int *>(memory), Lut3D::lutWords))
        return false;
    pl.SyncMem(PLMemory::LUT3D_MEMORY1);
    lutUpdate();
    return true;
}
