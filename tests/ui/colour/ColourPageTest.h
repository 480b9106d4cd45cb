#pragma once

#include "CscStaging.h"
#include "Lut1D.h"
#include "PageTest.h"

#include <cstdint>
#include <vector>

// What the colour pages leave in the logic: the LUT and tone-curve memories,
// the staged colour record, the backlight duty.
class ColourPageTest : public PageTest
{
protected:
    std::vector<uint32_t> region(PLMemory::MemoryIndex index, size_t words)
    {
        const auto *begin = static_cast<const uint32_t *>(board().pl().memory(index));
        return std::vector<uint32_t>(begin, begin + words);
    }

    std::vector<uint32_t> lutRegion() { return region(PLMemory::LUT3D_MEMORY1, 4913); }
    std::vector<uint32_t> curveRegion() { return region(PLMemory::GAMMA_INDEX0, Lut1D::tableWords); }

    // A tone-curve file of the working directory as the application reads it.
    std::vector<uint32_t> curveFile(const char *name)
    {
        std::vector<int> table(Lut1D::tableWords);
        EXPECT_TRUE(Lut1D::getInstance()->load(name, table.data())) << name;
        return std::vector<uint32_t>(table.begin(), table.end());
    }

    // Entries of the staged colour record: a coefficient by row and column,
    // an offset by output component.
    int coefficient(int row, int column) { return half(3 * row + column); }
    int offset(int component) { return half(9 + component); }

    uint32_t duty() { return field(BL_PWM_DUTY, 23, 0); }
    uint32_t curveEnabled() { return field(CALI_GAMMA_CTL, 0, 0); }

    static uint32_t grey(uint32_t value) { return (value << 20) | (value << 10) | value; }

private:
    int half(int index)
    {
        const uint32_t word = stagedCscWords(board().pl())[static_cast<size_t>(index / 2)];
        return static_cast<int16_t>(index % 2 == 0 ? word & 0xFFFFu : word >> 16);
    }
};
