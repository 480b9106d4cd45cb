#pragma once

#include "CscMatrix.h"
#include "Singleton.h"

#include <mutex>

class Rec709;
class DCIP3;
class BT2020;

// The front of the logic's five colour matrices (main input, assist input,
// output, measurement, panel), which share one staging area. It keeps the
// user's display adjustments, computes the panel ("screen") matrices from
// them, hands input and output conversions to the selected colour standard and
// drives the enable and load bits. Staging and strobing are separate calls; no
// lock spans the pair, so callers must not interleave two such sequences.
class CscCtl : public Singleton<CscCtl>
{
    friend class Singleton<CscCtl>;

public:
    enum ColourType : int { Rec709 = 0, DCIP3 = 1, BT2020 = 2 };
    enum MatrixType : int { MatrixVideo = 0, MatrixData = 1, MatrixRGB = 2 };
    enum ScreenMatrixType : int {
        ScreenNormal = 0,
        ScreenRed = 1,
        ScreenGreen = 2,
        ScreenBlue = 3,
        ScreenGrey = 4,
    };
    enum MatrixEnableType : int { MainInput = 0, AssistInput = 1, Output = 2, Scope = 3, Screen = 4 };
    enum GainType : int { GainRed = 0, GainGreen = 1, GainBlue = 2 };
    enum OffsetType : int { OffsetRed = 0, OffsetGreen = 1, OffsetBlue = 2 };

    // Nothing is loaded until the next matrixLoad or matrixOutputLoad.
    void setColourType(ColourType type);

    // Stage the current standard's input or output record.
    bool matrixLoad(MatrixType type);
    bool matrixOutputLoad(MatrixType type);
    // Stage a screen record; false for a type outside 0-4.
    bool matrixLoad(ScreenMatrixType type);
    // Enabling strobes the block's load bit first (the staged record is taken
    // on the rising edge); disabling touches only the enable bit.
    bool matrixEnable(bool enable, MatrixEnableType type);

    // Adjustments. None writes a register: the caller stages and enables the
    // screen matrix afterwards.
    void setTemperture(int kelvin, bool enable);
    void setRGBgain(GainType type, int percent, bool apply);
    void setRGBOffset(OffsetType type, int codeValues, bool apply);
    void setLuminanceGain(float offset);
    void setContranstGain(float gain);
    void setChromaGain(float gain);

    void screenMatrixInit();

private:
    CscCtl();

    PLControl &pl;
    float luminance = 0.0f;
    float contrast = 1.0f;
    float chroma = 0.0f;
    static constexpr float chromaCross = -0.5f;
    float temperatureR = 1.0f;
    float temperatureG = 1.0f;
    float temperatureB = 1.0f;
    float gainR = 1.0f;
    float gainG = 1.0f;
    float gainB = 1.0f;
    int offsetR = 0;
    int offsetG = 0;
    int offsetB = 0;
    CscMatrix screen[5];
    ColourType colourType = Rec709;
    ::Rec709 &rec709;
    ::DCIP3 &dciP3;
    ::BT2020 &bt2020;
    std::mutex mutex;
};
