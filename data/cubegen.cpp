// Writes the curve files, the factory calibration cube and the preset LUTs of
// the working directory into the directory given on the command line.

#include "Transfer.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr int curveLines = 1024;
constexpr int calibrationPoints = 17;
constexpr int identityPoints = 17;
constexpr int presetPoints = 33;

bool writeFile(const std::filesystem::path &path, const std::function<void(FILE *)> &body)
{
    FILE *file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        std::fprintf(stderr, "cubegen: cannot write %s\n", path.c_str());
        return false;
    }
    body(file);
    const bool ok = std::ferror(file) == 0;
    return std::fclose(file) == 0 && ok;
}

// A 1D curve: the same output for red, green and blue at each input code.
bool writeCurve(const std::filesystem::path &path, const char *title, const std::function<double(double)> &curve)
{
    return writeFile(path, [&](FILE *file) {
        std::fprintf(file, "TITLE \"%s\"\n", title);
        std::fprintf(file, "LUT_1D_SIZE %d\n", curveLines);
        for (int code = 0; code < curveLines; ++code) {
            const double value = curve(code / double(curveLines - 1));
            std::fprintf(file, "%.6f %.6f %.6f\n", value, value, value);
        }
    });
}

// A 3D cube, red changing fastest.
bool writeCube(const std::filesystem::path &path, const std::string &title, int points,
               const std::function<std::array<double, 3>(const std::array<double, 3> &)> &lut)
{
    return writeFile(path, [&](FILE *file) {
        std::fprintf(file, "TITLE \"%s\"\n", title.c_str());
        std::fprintf(file, "LUT_3D_SIZE %d\n", points);
        std::fprintf(file, "DOMAIN_MIN 0.0 0.0 0.0\nDOMAIN_MAX 1.0 1.0 1.0\n");
        for (int b = 0; b < points; ++b) {
            for (int g = 0; g < points; ++g) {
                for (int r = 0; r < points; ++r) {
                    const double step = 1.0 / (points - 1);
                    const std::array<double, 3> out = lut({r * step, g * step, b * step});
                    std::fprintf(file, "%.6f %.6f %.6f\n", out[0], out[1], out[2]);
                }
            }
        }
    });
}

std::array<double, 3> identity(const std::array<double, 3> &input)
{
    return input;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: cubegen <working directory template>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::filesystem::path presets = root / "Lut" / "Pre";
    std::error_code error;
    std::filesystem::create_directories(presets, error);
    if (error) {
        std::fprintf(stderr, "cubegen: cannot create %s\n", presets.c_str());
        return 1;
    }

    bool ok = true;
    for (const int gamma : {22, 24, 26}) {
        const std::string name = "gamma" + std::to_string(gamma) + ".cube";
        const std::string title = "display gamma " + std::to_string(gamma / 10) + "." + std::to_string(gamma % 10);
        ok = writeCurve(root / name, title.c_str(),
                        [gamma](double signal) { return transfer::displayGamma(signal, gamma / 10.0); })
          && ok;
    }
    ok = writeCurve(root / "gammaHLG.cube", "HLG display", transfer::hlgDisplay) && ok;
    ok = writeCube(root / "calibrate.cube", "factory calibration", calibrationPoints, identity) && ok;
    ok = writeCube(presets / "Identity.cube", "identity", identityPoints, identity) && ok;
    for (const transfer::LogEncoding &encoding : transfer::logEncodings()) {
        const transfer::Matrix toRec709 = transfer::conversion(encoding.gamut, transfer::rec709Gamut);
        ok = writeCube(presets / (encoding.name + "_to_Rec709.cube"), encoding.name + " to Rec.709", presetPoints,
                       [&](const std::array<double, 3> &input) {
                           return transfer::presetPoint(encoding, toRec709, input);
                       })
          && ok;
    }
    return ok ? 0 : 1;
}
