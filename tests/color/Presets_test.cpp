#include "BoardTest.h"
#include "CubeFiles.h"
#include "Lut1D.h"
#include "Lut3D.h"
#include "Transfer.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const std::string seed = FIELDMON_SEED_DIR;

double codeOf(double (*encode)(double), double light)
{
    return encode(light) * 1023.0;
}

// The neutral axis of a cube file: the lines where red, green and blue of
// the input are equal.
std::vector<std::array<double, 3>> greyAxis(const std::string &path, int points)
{
    std::ifstream file(path);
    std::string line;
    std::vector<std::array<double, 3>> axis;
    long index = 0;
    while (std::getline(file, line)) {
        std::istringstream numbers(line);
        std::array<double, 3> value;
        if (!(numbers >> value[0] >> value[1] >> value[2]))
            continue;
        const long r = index % points, g = index / points % points, b = index / points / points;
        if (r == g && g == b)
            axis.push_back(value);
        ++index;
    }
    EXPECT_EQ(index, long(points) * points * points) << path;
    return axis;
}

} // namespace

TEST(CameraEncodings, PublishedCodeValuesOfBlackGreyAndWhite)
{
    // 10-bit code values the makers publish for 0 %, 18 % grey and 90 % white.
    EXPECT_NEAR(codeOf(transfer::slog3Encode, 0.0), 95, 0.5);
    EXPECT_NEAR(codeOf(transfer::slog3Encode, 0.18), 420, 0.5);
    EXPECT_NEAR(codeOf(transfer::slog3Encode, 0.90), 598, 0.5);
    EXPECT_NEAR(codeOf(transfer::logc3Encode, 0.0), 95, 0.5);
    EXPECT_NEAR(codeOf(transfer::logc3Encode, 0.18), 400, 0.5);
    EXPECT_NEAR(codeOf(transfer::vlogEncode, 0.0), 128, 0.5);
    EXPECT_NEAR(codeOf(transfer::vlogEncode, 0.18), 433, 0.5);
    EXPECT_NEAR(codeOf(transfer::vlogEncode, 0.90), 602, 0.5);

    for (const transfer::LogEncoding &encoding : transfer::logEncodings()) {
        for (double light : {0.0, 0.004, 0.0112, 0.0106, 0.18, 1.0, 12.0})
            EXPECT_NEAR(encoding.decode(encoding.encode(light)), light, 1e-9 + light * 1e-9) << encoding.name;
        double previous = -1;
        for (double signal = 0.05; signal < 1.0; signal += 0.01) {
            const double light = encoding.decode(signal);
            EXPECT_GT(light, previous) << encoding.name << " at " << signal;
            previous = light;
        }
    }
}

TEST(CameraEncodings, GamutsMatchThePublishedMatrices)
{
    const struct {
        const char *name;
        double toXYZ[3][3];
    } published[] = {
        {"SLog3-SGamut3Cine",
         {{0.599084, 0.248926, 0.102446}, {0.215076, 0.885069, -0.100144}, {-0.032066, -0.027658, 1.148782}}},
        {"LogC3-EI800-WideGamut3",
         {{0.638008, 0.214704, 0.097744}, {0.291954, 0.823841, -0.115795}, {0.002798, -0.067034, 1.153294}}},
        {"VLog-VGamut", {{0.679644, 0.152211, 0.118600}, {0.260686, 0.774894, -0.035580}, {-0.009310, -0.004612, 1.102980}}},
    };
    ASSERT_EQ(transfer::logEncodings().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const transfer::LogEncoding &encoding = transfer::logEncodings()[i];
        ASSERT_EQ(encoding.name, published[i].name);
        const transfer::Matrix m = transfer::toXYZ(encoding.gamut);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(m[r][c], published[i].toXYZ[r][c], 2e-6) << encoding.name << " " << r << c;
        // White stays white: every row of the conversion sums to 1.
        const transfer::Matrix toRec709 = transfer::conversion(encoding.gamut, transfer::rec709Gamut);
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(toRec709[r][0] + toRec709[r][1] + toRec709[r][2], 1.0, 1e-9);
    }
    const transfer::Matrix rec709 = transfer::toXYZ(transfer::rec709Gamut);
    EXPECT_NEAR(rec709[1][0], 0.2126, 1e-4);
    EXPECT_NEAR(rec709[1][1], 0.7152, 1e-4);
    EXPECT_NEAR(rec709[1][2], 0.0722, 1e-4);
}

TEST(CameraEncodings, Rec709RenderingWithAGentleShoulder)
{
    EXPECT_NEAR(transfer::rec709Oetf(0.18), 0.409, 0.001);
    EXPECT_NEAR(transfer::rec709Oetf(1.0), 1.0, 1e-9);
    EXPECT_EQ(transfer::rollOff(0.5), 0.5);
    EXPECT_EQ(transfer::rollOff(transfer::rollOffKnee), transfer::rollOffKnee);
    // Slope 1 into the knee, then ever flatter, never reaching 1.
    const double k = transfer::rollOffKnee;
    EXPECT_NEAR((transfer::rollOff(k + 1e-6) - k) / 1e-6, 1.0, 1e-4);
    double previous = k;
    for (double signal = k + 0.05; signal < 6.0; signal += 0.05) {
        const double out = transfer::rollOff(signal);
        EXPECT_GT(out, previous);
        EXPECT_LT(out, 1.0);
        previous = out;
    }
    // A camera's 18 % grey and 90 % white through each preset: grey as
    // Rec. 709 shows it, white just under full scale.
    for (const transfer::LogEncoding &encoding : transfer::logEncodings()) {
        const transfer::Matrix toRec709 = transfer::conversion(encoding.gamut, transfer::rec709Gamut);
        auto display = [&](double light) {
            const double input = (encoding.encode(light) * 1023.0 - 64.0) / 876.0;
            return transfer::presetPoint(encoding, toRec709, {input, input, input});
        };
        const auto grey = display(0.18);
        const auto white = display(0.90);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(grey[c], 0.409, 0.001) << encoding.name;
            EXPECT_NEAR(white[c], 0.905, 0.002) << encoding.name;
        }
    }
}

class RuntimeFilesTest : public BoardTest
{
};

TEST_F(RuntimeFilesTest, CurveFilesLoadAndMeanTheirGamma)
{
    Lut1D &reader = *Lut1D::getInstance();
    const struct {
        const char *file;
        double gamma;
    } curves[] = {{"gamma22.cube", 2.2}, {"gamma24.cube", 2.4}, {"gamma26.cube", 2.6}};
    for (const auto &curve : curves) {
        std::vector<int> table(1024);
        ASSERT_TRUE(reader.load((seed + "/" + curve.file).c_str(), table.data())) << curve.file;
        for (int code : {0, 64, 256, 512, 768, 940, 1023}) {
            const int word = table[static_cast<size_t>(code)];
            const int red = word >> 20, green = (word >> 10) & 1023, blue = word & 1023;
            EXPECT_EQ(red, green);
            EXPECT_EQ(green, blue);
            // The light the panel gives against the light the gamma asks for,
            // within half a code value of drive.
            const double drive = red / 1023.0;
            const double wanted = std::pow(code / 1023.0, curve.gamma / 2.2);
            EXPECT_NEAR(drive, wanted, 0.5 / 1023 + 1e-9) << curve.file << " at " << code;
        }
        if (curve.gamma == 2.2) {
            for (int code = 0; code < 1024; ++code)
                ASSERT_EQ(table[static_cast<size_t>(code)] >> 20, code) << "2.2 on a 2.2 panel is the identity";
        }
    }
    std::vector<int> hlg(1024);
    ASSERT_TRUE(reader.load((seed + "/gammaHLG.cube").c_str(), hlg.data()));
    EXPECT_EQ(hlg[0], 0);
    EXPECT_EQ(hlg[1023] >> 20, 1023);
    EXPECT_NEAR(std::pow((hlg[767] >> 20) / 1023.0, 2.2), 0.2032, 0.002) << "reference white at 203 of 1000 cd/m2";
}

TEST_F(RuntimeFilesTest, CalibrationAndPresetCubesLoad)
{
    Lut3D &lut = *Lut3D::getInstance();
    std::vector<int> words(Lut3D::lutWords);
    ASSERT_TRUE(lut.load((seed + "/calibrate.cube").c_str(), Lut3D::LutDebugNone));
    ASSERT_TRUE(lut.copy(words.data(), Lut3D::lutWords));
    EXPECT_EQ(words[1], 63) << "identity: r = 1 of 16";
    EXPECT_EQ(words[4096], 1023);
    EXPECT_EQ(words[4912], static_cast<int>((1023u << 20) | (1023u << 10) | 1023u));
    const std::vector<int> calibration = words;
    ASSERT_TRUE(lut.load((seed + "/Lut/Pre/Identity.cube").c_str(), Lut3D::LutDebugNone));
    ASSERT_TRUE(lut.copy(words.data(), Lut3D::lutWords));
    EXPECT_EQ(words, calibration);

    for (const transfer::LogEncoding &encoding : transfer::logEncodings()) {
        const std::string path = seed + "/Lut/Pre/" + encoding.name + "_to_Rec709.cube";
        ASSERT_TRUE(lut.load(path.c_str(), Lut3D::LutDebugNone)) << path;
        // Neutral in, neutral out, rising from black to the shoulder.
        const auto axis = greyAxis(path, 33);
        ASSERT_EQ(axis.size(), 33u);
        for (size_t i = 0; i < axis.size(); ++i) {
            EXPECT_NEAR(axis[i][0], axis[i][1], 2e-6) << path << " " << i;
            EXPECT_NEAR(axis[i][1], axis[i][2], 2e-6) << path << " " << i;
            // Strictly rising once off black, up to where the shoulder has
            // reached 1 within the file's six decimals.
            if (i > 0 && axis[i - 1][0] > 0.0 && axis[i - 1][0] < 0.999) {
                EXPECT_GT(axis[i][0], axis[i - 1][0]) << path << " " << i;
            } else if (i > 0) {
                EXPECT_GE(axis[i][0], axis[i - 1][0]) << path << " " << i;
            }
            EXPECT_LE(axis[i][0], 1.0);
        }
        EXPECT_EQ(axis.front()[0], 0.0) << "legal black is below the camera's black";
        EXPECT_GT(axis.back()[0], 0.95);
    }
}
