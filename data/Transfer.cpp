#include "Transfer.h"

#include <algorithm>
#include <cmath>

namespace transfer {

namespace {

// HLG (BT.2100).
constexpr double hlgA = 0.17883277;
constexpr double hlgB = 0.28466892;
constexpr double hlgC = 0.55991073;
constexpr double hlgSystemGamma = 1.2;

// S-Log3: 10-bit code values of its definition.
constexpr double slog3Black = 95.0;
constexpr double slog3Grey = 420.0;
constexpr double slog3Slope = 261.5;
constexpr double slog3LinearTop = 171.2102946929;
constexpr double slog3Cut = 0.01125;

// LogC3 at exposure index 800.
constexpr double logcCut = 0.010591;
constexpr double logcA = 5.555556;
constexpr double logcB = 0.052272;
constexpr double logcC = 0.247190;
constexpr double logcD = 0.385537;
constexpr double logcE = 5.367655;
constexpr double logcF = 0.092809;

// V-Log.
constexpr double vlogCut1 = 0.01;
constexpr double vlogCut2 = 0.181;
constexpr double vlogB = 0.00873;
constexpr double vlogC = 0.241514;
constexpr double vlogD = 0.598206;

constexpr double codeMax = 1023.0;
constexpr double legalBlack = 64.0;
constexpr double legalSpan = 876.0;

constexpr Gamut sGamut3Cine = {{{0.766, 0.275}, {0.225, 0.800}, {0.089, -0.087}}, {0.3127, 0.3290}};
constexpr Gamut wideGamut3 = {{{0.6840, 0.3130}, {0.2210, 0.8480}, {0.0861, -0.1020}}, {0.3127, 0.3290}};
constexpr Gamut vGamut = {{{0.730, 0.280}, {0.165, 0.840}, {0.100, -0.030}}, {0.3127, 0.3290}};

} // namespace

const Gamut rec709Gamut = {{{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}}, {0.3127, 0.3290}};

double displayGamma(double signal, double gamma)
{
    return std::pow(std::max(signal, 0.0), gamma / panelGamma);
}

double hlgInverseOetf(double signal)
{
    if (signal <= 0.5)
        return signal * signal / 3.0;
    return (std::exp((signal - hlgC) / hlgA) + hlgB) / 12.0;
}

double hlgDisplay(double signal)
{
    return std::pow(std::pow(hlgInverseOetf(std::max(signal, 0.0)), hlgSystemGamma), 1.0 / panelGamma);
}

double slog3Encode(double light)
{
    if (light >= slog3Cut)
        return (slog3Grey + std::log10((light + 0.01) / (0.18 + 0.01)) * slog3Slope) / codeMax;
    return (light * (slog3LinearTop - slog3Black) / slog3Cut + slog3Black) / codeMax;
}

double slog3Decode(double signal)
{
    const double code = signal * codeMax;
    if (code >= slog3LinearTop)
        return std::pow(10.0, (code - slog3Grey) / slog3Slope) * (0.18 + 0.01) - 0.01;
    return (code - slog3Black) * slog3Cut / (slog3LinearTop - slog3Black);
}

double logc3Encode(double light)
{
    if (light > logcCut)
        return logcC * std::log10(logcA * light + logcB) + logcD;
    return logcE * light + logcF;
}

double logc3Decode(double signal)
{
    if (signal > logcE * logcCut + logcF)
        return (std::pow(10.0, (signal - logcD) / logcC) - logcB) / logcA;
    return (signal - logcF) / logcE;
}

double vlogEncode(double light)
{
    if (light < vlogCut1)
        return 5.6 * light + 0.125;
    return vlogC * std::log10(light + vlogB) + vlogD;
}

double vlogDecode(double signal)
{
    if (signal < vlogCut2)
        return (signal - 0.125) / 5.6;
    return std::pow(10.0, (signal - vlogD) / vlogC) - vlogB;
}

const std::vector<LogEncoding> &logEncodings()
{
    static const std::vector<LogEncoding> encodings = {
        {"SLog3-SGamut3Cine", slog3Encode, slog3Decode, sGamut3Cine},
        {"LogC3-EI800-WideGamut3", logc3Encode, logc3Decode, wideGamut3},
        {"VLog-VGamut", vlogEncode, vlogDecode, vGamut},
    };
    return encodings;
}

Matrix inverse(const Matrix &m)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
                     - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
                     + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix result;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            // Cofactor of (j, i), with the cyclic index trick for its sign.
            const int r1 = (j + 1) % 3, r2 = (j + 2) % 3, c1 = (i + 1) % 3, c2 = (i + 2) % 3;
            result[i][j] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    }
    return result;
}

Matrix multiply(const Matrix &a, const Matrix &b)
{
    Matrix result{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                result[i][j] += a[i][k] * b[k][j];
    return result;
}

Matrix toXYZ(const Gamut &gamut)
{
    // Columns are the primaries' XYZ at luminance 1, then scaled so that
    // RGB 1, 1, 1 gives the white at luminance 1.
    Matrix primaries;
    for (int c = 0; c < 3; ++c) {
        const double x = gamut.primaries[c][0];
        const double y = gamut.primaries[c][1];
        primaries[0][c] = x / y;
        primaries[1][c] = 1.0;
        primaries[2][c] = (1.0 - x - y) / y;
    }
    const double white[3] = {gamut.white[0] / gamut.white[1], 1.0,
                             (1.0 - gamut.white[0] - gamut.white[1]) / gamut.white[1]};
    const Matrix inverted = inverse(primaries);
    Matrix result;
    for (int c = 0; c < 3; ++c) {
        const double scale = inverted[c][0] * white[0] + inverted[c][1] * white[1] + inverted[c][2] * white[2];
        for (int r = 0; r < 3; ++r)
            result[r][c] = primaries[r][c] * scale;
    }
    return result;
}

Matrix conversion(const Gamut &from, const Gamut &to)
{
    return multiply(inverse(toXYZ(to)), toXYZ(from));
}

double rec709Oetf(double light)
{
    if (light < 0.018)
        return 4.5 * std::max(light, 0.0);
    return 1.099 * std::pow(light, 0.45) - 0.099;
}

double rollOff(double signal)
{
    if (signal <= rollOffKnee)
        return signal;
    const double room = 1.0 - rollOffKnee;
    return rollOffKnee + room * (1.0 - std::exp(-(signal - rollOffKnee) / room));
}

double legalToSignal(double input)
{
    return (legalBlack + legalSpan * input) / codeMax;
}

std::array<double, 3> presetPoint(const LogEncoding &encoding, const Matrix &toRec709,
                                  const std::array<double, 3> &input)
{
    double light[3];
    for (int c = 0; c < 3; ++c)
        light[c] = encoding.decode(legalToSignal(input[c]));
    std::array<double, 3> out;
    for (int r = 0; r < 3; ++r) {
        const double linear = toRec709[r][0] * light[0] + toRec709[r][1] * light[1] + toRec709[r][2] * light[2];
        out[r] = std::min(std::max(rollOff(rec709Oetf(linear)), 0.0), 1.0);
    }
    return out;
}

} // namespace transfer
