#include "CalibrateCtl.h"

#include "Lut3D.h"
#include "PLField.h"
#include "LoadStrobe.h"

#include <unistd.h>

namespace {

constexpr uint8_t enableBit = 0;

FunctionTypeIndex controlRegister(CalibrateCtl::CalibrateType type)
{
    return type == CalibrateCtl::CalibrateGamma ? CALI_GAMMA_CTL : CALI_3DLUT_CTL;
}

} // namespace

CalibrateCtl::CalibrateCtl() : pl(*PLControl::getInstance()), memory(pl.getMemAddr(PLMemory::LUT3D_MEMORY0))
{
    plfield::setBit(&pl, CALI_3DLUT_CTL, enableBit, false);
}

void *CalibrateCtl::getAddr(CalibrateType type) const
{
    return type == CalibrateLut ? memory : nullptr;
}

void CalibrateCtl::load(CalibrateType type)
{
    loadStrobe(pl, controlRegister(type));
}

void CalibrateCtl::enable(CalibrateType type, bool on)
{
    plfield::setBit(&pl, controlRegister(type), enableBit, on);
}

bool CalibrateCtl::loadFile(const std::string &path)
{
    if (access(path.c_str(), F_OK) != 0)
        return false;
    Lut3D &lut = *Lut3D::getInstance();
    if (!lut.load(path.c_str(), Lut3D::LutDebugNone) || !lut.copy(static_cast<int *>(memory), Lut3D::lutWords))
        return false;
    pl.SyncMem(PLMemory::LUT3D_MEMORY0);
    load(CalibrateLut);
    enable(CalibrateLut, true);
    return true;
}
