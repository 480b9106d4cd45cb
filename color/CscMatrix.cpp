#include "CscMatrix.h"

#include "Bit.h"

namespace {

constexpr float coefficientOne = 4096.0f;
constexpr float offsetOne = 16.0f;

void writeHalves(PLControl &pl, FunctionTypeIndex identifier, int16_t first, int16_t second)
{
    unsigned int word = pl.getValue(identifier);
    Bit::bitClear(word, 0, 15);
    word |= static_cast<uint16_t>(first);
    Bit::bitClear(word, 16, 31);
    word |= static_cast<unsigned int>(static_cast<uint16_t>(second)) << 16;
    pl.setValue(identifier, word);
}

} // namespace

int16_t CscMatrix::toCoefficient(float value)
{
    return static_cast<int16_t>(static_cast<int>(value * coefficientOne));
}

int16_t CscMatrix::toOffset(float value)
{
    return static_cast<int16_t>(static_cast<int>(value * offsetOne));
}

void CscMatrix::stage(PLControl &pl) const
{
    const int16_t(&m)[3][3] = coefficient;
    writeHalves(pl, CSC_MATRIX_VAL0, m[0][0], m[0][1]);
    writeHalves(pl, CSC_MATRIX_VAL1, m[0][2], m[1][0]);
    writeHalves(pl, CSC_MATRIX_VAL2, m[1][1], m[1][2]);
    writeHalves(pl, CSC_MATRIX_VAL3, m[2][0], m[2][1]);
    writeHalves(pl, CSC_MATRIX_VAL4, m[2][2], offset[0]);
    writeHalves(pl, CSC_MATRIX_VAL5, offset[1], offset[2]);
}
