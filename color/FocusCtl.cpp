#include "FocusCtl.h"

#include "Bit.h"
#include "PLField.h"

namespace {

// Peaking: -1, -2 and 12 in units of 65536; the coefficients sum to 0.
constexpr int focusKernel[9] = {-65536, -131072, -65536, -131072, 786432, -131072, -65536, -131072, -65536};
// Sharpening: the coefficients sum to 2 (in units of 65536).
constexpr int sharpKernel[9] = {-4922, -8116, -4922, -8116, 52154, -8116, -4922, -8116, -4922};

constexpr FunctionTypeIndex kernelRegisters[9] = {SHARP_CONV_A00, SHARP_CONV_A01, SHARP_CONV_A02,
                                                  SHARP_CONV_A10, SHARP_CONV_A11, SHARP_CONV_A12,
                                                  SHARP_CONV_A20, SHARP_CONV_A21, SHARP_CONV_A22};

constexpr uint8_t enableBit = 0;
constexpr uint8_t kernelLoadedBit = 1;
constexpr uint8_t peakingModeBit = 2;
constexpr uint8_t thresholdLow = 4;
constexpr uint8_t thresholdHigh = 13;
constexpr int sharpThreshold = 96;
constexpr uint8_t gainLow = 16;
constexpr uint8_t gainHigh = 31;
constexpr float fullGain = 1536.0f;
constexpr unsigned int kernelField = 0x00FFFFFFu;
constexpr unsigned short colourScale = 4;

} // namespace

FocusCtl::FocusCtl() : pl(*PLControl::getInstance())
{
    for (int i = 0; i < 9; ++i)
        kernel[i] = focusKernel[i];
}

void FocusCtl::sharpSetValue(int value)
{
    const int gain = static_cast<int>(static_cast<float>(value) / 100.0f * fullGain);
    plfield::write(&pl, SHARP_CONV_CTL, gainLow, gainHigh, static_cast<unsigned int>(gain));
}

void FocusCtl::sharpEnable(bool on)
{
    sharpOn = on;
    if (focusOn)
        return;
    if (on)
        sharpFactoyLoad();
    else
        plfield::setBit(&pl, SHARP_CONV_CTL, enableBit, false);
}

void FocusCtl::focusEnable(bool on)
{
    focusOn = on;
    if (on)
        focusFactorLoad();
    else if (sharpOn)
        sharpFactoyLoad();
    else
        plfield::setBit(&pl, SHARP_CONV_CTL, enableBit, false);
}

void FocusCtl::focusThreshold(int value)
{
    threshold = value;
    if (focusOn)
        plfield::write(&pl, SHARP_CONV_CTL, thresholdLow, thresholdHigh, static_cast<unsigned int>(value));
}

void FocusCtl::focusColor(unsigned short first, unsigned short second, unsigned short third)
{
    plfield::write(&pl, FOCUS_ASSIST_CTL, 20, 29, first * colourScale);
    plfield::write(&pl, FOCUS_ASSIST_CTL, 10, 19, second * colourScale);
    plfield::write(&pl, FOCUS_ASSIST_CTL, 0, 9, third * colourScale);
}

void FocusCtl::focusColorIndex(int index)
{
    static constexpr unsigned short colours[8][3] = {{0, 0, 0},     {255, 0, 0},   {44, 255, 0},
                                                     {24, 0, 255},  {255, 255, 0}, {0, 255, 255},
                                                     {242, 0, 255}, {255, 255, 255}};
    const auto *colour = colours[index >= 1 && index <= 7 ? index : 0];
    focusColor(colour[0], colour[1], colour[2]);
}

int FocusCtl::sensitivityToThreshold(int percent)
{
    return static_cast<int>(8 + (100 - percent) / 100.0 * 300);
}

void FocusCtl::sharpFactoyLoad()
{
    unsigned int control = pl.getValue(SHARP_CONV_CTL);
    Bit::bitClear(control, thresholdLow, thresholdHigh);
    control |= static_cast<unsigned int>(sharpThreshold) << thresholdLow;
    Bit::bitClear(control, peakingModeBit);
    Bit::bitSet(control, kernelLoadedBit);
    Bit::bitSet(control, enableBit);
    pl.setValue(SHARP_CONV_CTL, control);
    // 24-bit two's complement; bits 24-31 keep what they held.
    for (int i = 0; i < 9; ++i)
        plfield::write(&pl, kernelRegisters[i], 0, 23, static_cast<unsigned int>(sharpKernel[i]) & kernelField);
}

void FocusCtl::focusFactorLoad()
{
    unsigned int control = pl.getValue(SHARP_CONV_CTL);
    Bit::bitClear(control, thresholdLow, thresholdHigh);
    control |= (static_cast<unsigned int>(threshold) << thresholdLow) & Bit::bitSet(thresholdLow, thresholdHigh);
    Bit::bitSet(control, peakingModeBit);
    Bit::bitSet(control, kernelLoadedBit);
    Bit::bitSet(control, enableBit);
    pl.setValue(SHARP_CONV_CTL, control);
    // Each coefficient is ORed in as a whole 32-bit value: a negative one
    // also sets bits 24-31 of its register.
    for (int i = 0; i < 9; ++i) {
        unsigned int word = pl.getValue(kernelRegisters[i]);
        Bit::bitClear(word, 0, 23);
        word |= static_cast<unsigned int>(kernel[i]);
        pl.setValue(kernelRegisters[i], word);
    }
}
