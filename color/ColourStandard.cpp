#include "ColourStandard.h"

#include <algorithm>

namespace {

constexpr float codeMax = 1023.0f;
constexpr float chromaCentre = 512.0f;
constexpr float videoBlack = 64.0f;

// Output offsets in register form: +512 on Cr and Cb, +64 on Y for video range.
constexpr int16_t chromaCentreOffset = 8192;
constexpr int16_t videoBlackOffset = 1024;

const ColourStandard::Tables rec709Tables = {
    {{1.797925f, 1.167808f, 0.0f}, {-0.53457f, 1.167808f, -0.21386f}, {0.0f, 1.167808f, 2.118632f}},
    {{1.574722f, 1.0f, 0.0f}, {-0.46821f, 1.0f, -0.18731f}, {0.0f, 1.0f, 1.855615f}},
    {{0.437928f, -0.39777f, -0.04015f}, {0.182084f, 0.612403f, 0.061819f}, {-0.10037f, -0.33756f, 0.437928f}},
    {{0.5f, -0.45416f, -0.04584f}, {0.212639f, 0.715169f, 0.072192f}, {-0.11459f, -0.38541f, 0.5f}},
};

const ColourStandard::Tables dciP3Tables = {
    {{1.805112f, 1.167808f, 0.0f}, {-0.52406f, 1.167808f, -0.20305f}, {0.0f, 1.167808f, 2.12612f}},
    {{1.581017f, 1.0f, 0.0f}, {-0.459f, 1.0f, -0.17784f}, {0.0f, 1.0f, 1.862174f}},
    {{0.437928f, -0.39975f, -0.03818f}, {0.179389f, 0.617906f, 0.059011f}, {-0.09853f, -0.3394f, 0.437928f}},
    {{0.5f, -0.45641f, -0.04359f}, {0.209492f, 0.721595f, 0.068913f}, {-0.1125f, -0.3875f, 0.5f}},
};

const ColourStandard::Tables bt2020Tables = {
    {{1.683611f, 1.167808f, 0.0f}, {-0.65234f, 1.167808f, -0.18788f}, {0.0f, 1.167808f, 2.148068f}},
    {{1.4746f, 1.0f, 0.0f}, {-0.57136f, 1.0f, -0.16456f}, {0.0f, 1.0f, 1.881397f}},
    {{0.437928f, -0.4027f, -0.03522f}, {0.224952f, 0.580573f, 0.05078f}, {-0.1223f, -0.31563f, 0.437928f}},
    {{0.5f, -0.45978f, -0.04022f}, {0.2627f, 0.677998f, 0.059302f}, {-0.13963f, -0.36037f, 0.5f}},
};

float clampCode(float value)
{
    return std::min(std::max(value, 0.0f), codeMax);
}

void clampCodes(float &first, float &second, float &third)
{
    first = clampCode(first);
    second = clampCode(second);
    third = clampCode(third);
}

} // namespace

ColourStandard::ColourStandard(const Tables &tables) : pl(*PLControl::getInstance()), tables(tables)
{
    inputMatrixInit();
    outputMatrixInit();
}

void ColourStandard::inputMatrixInit()
{
    const auto &a = tables.baseMatrixVideo;
    const auto &b = tables.baseMatrixData;
    CscMatrix &video = input[CscCtl::MatrixVideo];
    CscMatrix &data = input[CscCtl::MatrixData];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            video.coefficient[i][j] = CscMatrix::toCoefficient(a[i][j]);
            data.coefficient[i][j] = CscMatrix::toCoefficient(b[i][j]);
        }
        // Each term is truncated on its own: remove the 512 centring of Cr and
        // Cb and, in video range, the black level 64 of Y.
        video.offset[i] = static_cast<int16_t>(CscMatrix::toOffset(a[i][0] * -chromaCentre)
                                               + CscMatrix::toOffset(a[i][1] * -videoBlack)
                                               + CscMatrix::toOffset(a[i][2] * -chromaCentre));
        data.offset[i] = static_cast<int16_t>(CscMatrix::toOffset(b[i][0] * -chromaCentre)
                                              + CscMatrix::toOffset(b[i][2] * -chromaCentre));
    }
    CscMatrix &rgb = input[CscCtl::MatrixRGB];
    rgb = CscMatrix();
    for (int i = 0; i < 3; ++i)
        rgb.coefficient[i][i] = CscMatrix::toCoefficient(1.0f);
}

void ColourStandard::outputMatrixInit()
{
    const auto &p = tables.RGBMatrixVideo;
    const auto &q = tables.RGBbaseMatrixData;
    CscMatrix &video = output[CscCtl::MatrixVideo];
    CscMatrix &data = output[CscCtl::MatrixData];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            video.coefficient[i][j] = CscMatrix::toCoefficient(p[i][j]);
            data.coefficient[i][j] = CscMatrix::toCoefficient(q[i][j]);
        }
    }
    video.offset[0] = video.offset[2] = data.offset[0] = data.offset[2] = chromaCentreOffset;
    video.offset[1] = videoBlackOffset;
    data.offset[1] = 0;
}

bool ColourStandard::matrixLoad(MatrixType type)
{
    if (type < CscCtl::MatrixVideo || type > CscCtl::MatrixRGB)
        return false;
    std::lock_guard<std::mutex> lock(mutex);
    input[type].stage(pl);
    return true;
}

bool ColourStandard::matrixOutputLoad(MatrixType type)
{
    if (type < CscCtl::MatrixVideo || type > CscCtl::MatrixData)
        return false;
    std::lock_guard<std::mutex> lock(mutex);
    output[type].stage(pl);
    return true;
}

void ColourStandard::convertRGB(MatrixType type, float y, float cb, float cr, float &r, float &g, float &b) const
{
    if (type == CscCtl::MatrixVideo || type == CscCtl::MatrixData) {
        const auto &a = type == CscCtl::MatrixVideo ? tables.baseMatrixVideo : tables.baseMatrixData;
        const float luma = type == CscCtl::MatrixVideo ? y - videoBlack : y;
        const float red = cr - chromaCentre;
        const float blue = cb - chromaCentre;
        r = luma * a[0][1] + red * a[0][0] + blue * a[0][2];
        g = luma * a[1][1] + red * a[1][0] + blue * a[1][2];
        b = luma * a[2][1] + red * a[2][0] + blue * a[2][2];
    }
    clampCodes(r, g, b);
}

void ColourStandard::convertYCbCr(MatrixType type, float r, float g, float b, float &y, float &cb, float &cr) const
{
    if (type == CscCtl::MatrixVideo || type == CscCtl::MatrixData) {
        const auto &p = type == CscCtl::MatrixVideo ? tables.RGBMatrixVideo : tables.RGBbaseMatrixData;
        const float black = type == CscCtl::MatrixVideo ? videoBlack : 0.0f;
        cr = p[0][0] * r + p[0][1] * g + p[0][2] * b + chromaCentre;
        y = p[1][0] * r + p[1][1] * g + p[1][2] * b + black;
        cb = p[2][0] * r + p[2][1] * g + p[2][2] * b + chromaCentre;
    }
    clampCodes(y, cb, cr);
}

Rec709::Rec709() : ColourStandard(rec709Tables) {}

DCIP3::DCIP3() : ColourStandard(dciP3Tables) {}

BT2020::BT2020() : ColourStandard(bt2020Tables) {}
