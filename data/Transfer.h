#pragma once

#include <array>
#include <string>
#include <vector>

// The transfer functions and colour gamuts behind the curve files and preset
// LUTs of the working directory (see README.md for the formulas and the
// choices made). Values are normalised: signals 0-1 of the full 10-bit code
// range, scene light with 1.0 as a perfect white reflector.
namespace transfer {

using Matrix = std::array<std::array<double, 3>, 3>;

// Chromaticities of a gamut's red, green and blue primaries and its white.
struct Gamut {
    double primaries[3][2];
    double white[2];
};

// A camera's log encoding: scene light to signal and back.
struct LogEncoding {
    std::string name;
    double (*encode)(double light);
    double (*decode)(double signal);
    Gamut gamut;
};

// --- display curves of the tone-curve files ---------------------------------
// The panel's own gamma.
constexpr double panelGamma = 2.2;
// The panel drive for a signal shown with display gamma `gamma`.
double displayGamma(double signal, double gamma);
// HLG: the signal's scene light, and the panel drive that shows it.
double hlgInverseOetf(double signal);
double hlgDisplay(double signal);

// --- camera encodings -------------------------------------------------------
double slog3Encode(double light);
double slog3Decode(double signal);
double logc3Encode(double light);
double logc3Decode(double signal);
double vlogEncode(double light);
double vlogDecode(double signal);
const std::vector<LogEncoding> &logEncodings();

// --- gamuts -----------------------------------------------------------------
extern const Gamut rec709Gamut;
Matrix toXYZ(const Gamut &gamut);
Matrix inverse(const Matrix &m);
Matrix multiply(const Matrix &a, const Matrix &b);
// Linear RGB of one gamut to another with the same white.
Matrix conversion(const Gamut &from, const Gamut &to);

// --- display rendering of the presets ---------------------------------------
double rec709Oetf(double light);
// The shoulder that brings highlights above the knee softly to 1.0.
constexpr double rollOffKnee = 0.8;
double rollOff(double signal);
// The signal value a LUT input 0-1 stands for: the input matrix has expanded
// the legal range 64-940 to 0-1023.
double legalToSignal(double input);
// One LUT point of a log-to-Rec.709 preset: camera RGB in, display RGB out.
std::array<double, 3> presetPoint(const LogEncoding &encoding, const Matrix &toRec709,
                                  const std::array<double, 3> &input);

} // namespace transfer
