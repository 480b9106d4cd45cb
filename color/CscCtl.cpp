#include "CscCtl.h"

#include "Bit.h"
#include "ColourStandard.h"

#include <chrono>
#include <thread>

namespace {

constexpr auto strobeTime = std::chrono::microseconds(5000);
constexpr int enableBitsPerBlock = 4;

// The Rec. 709 luma weights in 12 fraction bits.
constexpr int16_t greyWeights[3] = {870, 2929, 295};

constexpr float warmBlue = 0.89818f;  // 5600 K
constexpr float coolRed = 0.79077f;   // 9300 K
constexpr float coolGreen = 0.8516f;  // 9300 K

int16_t truncated(float value)
{
    return static_cast<int16_t>(static_cast<int>(value));
}

} // namespace

CscCtl::CscCtl()
    : pl(*PLControl::getInstance()),
      rec709(*::Rec709::getInstance()),
      dciP3(*::DCIP3::getInstance()),
      bt2020(*::BT2020::getInstance())
{
    screenMatrixInit();
}

void CscCtl::setColourType(ColourType type)
{
    colourType = type;
}

bool CscCtl::matrixLoad(MatrixType type)
{
    switch (colourType) {
    case Rec709:
        rec709.matrixLoad(type);
        break;
    case DCIP3:
        dciP3.matrixLoad(type);
        break;
    default:
        bt2020.matrixLoad(type);
        break;
    }
    return true;
}

bool CscCtl::matrixOutputLoad(MatrixType type)
{
    switch (colourType) {
    case Rec709:
        rec709.matrixOutputLoad(type);
        break;
    case DCIP3:
        dciP3.matrixOutputLoad(type);
        break;
    default:
        bt2020.matrixOutputLoad(type);
        break;
    }
    return true;
}

bool CscCtl::matrixLoad(ScreenMatrixType type)
{
    if (type < ScreenNormal || type > ScreenGrey)
        return false;
    std::lock_guard<std::mutex> lock(mutex);
    screen[type].stage(pl);
    return true;
}

bool CscCtl::matrixEnable(bool enable, MatrixEnableType type)
{
    const int block = type < MainInput || type > Screen ? MainInput : type;
    const auto enableBit = static_cast<uint8_t>(enableBitsPerBlock * block);
    const auto loadBit = static_cast<uint8_t>(enableBit + 1);
    unsigned int word = pl.getValue(CSC_MATRIX_CTL);
    if (enable) {
        // The block takes the staged record on the rising edge of its load bit.
        Bit::bitClear(word, loadBit);
        pl.setValue(CSC_MATRIX_CTL, word);
        std::this_thread::sleep_for(strobeTime);
        Bit::bitSet(word, loadBit);
        pl.setValue(CSC_MATRIX_CTL, word);
    }
    Bit::bitSetValue(word, enableBit, enable);
    return pl.setValue(CSC_MATRIX_CTL, word);
}

void CscCtl::setTemperture(int kelvin, bool enable)
{
    if (!enable || kelvin == 6500) {
        temperatureR = temperatureG = temperatureB = 1.0f;
    } else if (kelvin == 5600) {
        temperatureR = temperatureG = 1.0f;
        temperatureB = warmBlue;
    } else if (kelvin == 9300) {
        temperatureR = coolRed;
        temperatureG = coolGreen;
        temperatureB = 1.0f;
    }
    screenMatrixInit();
}

void CscCtl::setRGBgain(GainType type, int percent, bool apply)
{
    const float gain = static_cast<float>(percent) / 100.0f;
    switch (type) {
    case GainRed:
        gainR = gain;
        break;
    case GainGreen:
        gainG = gain;
        break;
    case GainBlue:
        gainB = gain;
        break;
    }
    if (apply)
        screenMatrixInit();
}

void CscCtl::setRGBOffset(OffsetType type, int codeValues, bool apply)
{
    switch (type) {
    case OffsetRed:
        offsetR = codeValues;
        break;
    case OffsetGreen:
        offsetG = codeValues;
        break;
    case OffsetBlue:
        offsetB = codeValues;
        break;
    }
    if (apply)
        screenMatrixInit();
}

void CscCtl::setLuminanceGain(float offset)
{
    luminance = offset;
    screenMatrixInit();
}

void CscCtl::setContranstGain(float gain)
{
    contrast = gain;
    screenMatrixInit();
}

void CscCtl::setChromaGain(float gain)
{
    chroma = gain;
    screenMatrixInit();
}

void CscCtl::screenMatrixInit()
{
    const float L = luminance;
    const float A = contrast;
    const float K = chroma;
    const float XK = chromaCross * K;
    const float t[3] = {temperatureR, temperatureG, temperatureB};
    const float g[3] = {gainR, gainG, gainB};
    const int o[3] = {offsetR, offsetG, offsetB};

    CscMatrix normal;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            // Scaling by 4096 is exact in floating point, so this is the
            // product (K + A t) x 4096 x g of the logic's documentation.
            normal.coefficient[i][j] = CscMatrix::toCoefficient((i == j ? K + A * t[i] : XK) * g[i]);
        }
        normal.offset[i] = CscMatrix::toOffset(static_cast<float>(o[i]) + L);
    }

    // The single-colour views keep one output component, without gain or
    // temperature.
    CscMatrix single[3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            single[i].coefficient[i][j] = CscMatrix::toCoefficient(i == j ? A + K : XK);
        single[i].offset[i] = CscMatrix::toOffset(static_cast<float>(o[i]) + L);
    }

    // Monochrome: luma on every output; the offset is L itself, without
    // fraction bits.
    CscMatrix grey;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            grey.coefficient[i][j] = greyWeights[j];
        grey.offset[i] = truncated(L);
    }

    std::lock_guard<std::mutex> lock(mutex);
    screen[ScreenNormal] = normal;
    screen[ScreenRed] = single[0];
    screen[ScreenGreen] = single[1];
    screen[ScreenBlue] = single[2];
    screen[ScreenGrey] = grey;
}
