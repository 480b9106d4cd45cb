#pragma once

#include "CscCtl.h"

#include <mutex>

// One colour standard: its YCbCr-to-RGB input records and RGB-to-YCbCr output
// records in register form, built once from the standard's constant tables,
// and the same conversions in floating point for single pixels (the light
// meter). Components travel as Cr, Y, Cb and as R, G, B; pixels are 10-bit
// code values.
class ColourStandard
{
public:
    using MatrixType = CscCtl::MatrixType;

    // Rows and columns as the records use them: the YCbCr-to-RGB tables have
    // rows R, G, B and columns Cr, Y, Cb; the RGB-to-YCbCr tables have rows
    // Cr, Y, Cb and columns R, G, B.
    struct Tables {
        float baseMatrixVideo[3][3];
        float baseMatrixData[3][3];
        float RGBMatrixVideo[3][3];
        float RGBbaseMatrixData[3][3];
    };

    virtual ~ColourStandard() = default;

    // Stage input record 0-2 or output record 0-1; anything else is refused
    // with false and nothing written.
    bool matrixLoad(MatrixType type);
    bool matrixOutputLoad(MatrixType type);

    // MatrixVideo and MatrixData convert; any other type leaves the outputs as
    // they were. The outputs are clamped to 0-1023 in every case.
    void convertRGB(MatrixType type, float y, float cb, float cr, float &r, float &g, float &b) const;
    void convertYCbCr(MatrixType type, float r, float g, float b, float &y, float &cb, float &cr) const;

    void inputMatrixInit();
    void outputMatrixInit();

protected:
    explicit ColourStandard(const Tables &tables);

private:
    PLControl &pl;
    CscMatrix input[3];
    CscMatrix output[2];
    std::mutex mutex;
    const Tables &tables;
};

class Rec709 : public ColourStandard, public Singleton<Rec709>
{
    friend class Singleton<Rec709>;
    Rec709();
};

class DCIP3 : public ColourStandard, public Singleton<DCIP3>
{
    friend class Singleton<DCIP3>;
    DCIP3();
};

class BT2020 : public ColourStandard, public Singleton<BT2020>
{
    friend class Singleton<BT2020>;
    BT2020();
};
