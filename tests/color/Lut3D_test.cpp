#include "BoardTest.h"
#include "CubeFiles.h"
#include "Lut3D.h"

#include <cmath>
#include <fcntl.h>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// The logic's memory layout, written out from its documentation: points are
// grouped by which indices sit at the last grid point (16).
int wordIndex(int r, int g, int b)
{
    const bool R = r == 16, G = g == 16, B = b == 16;
    if (!R && !G && !B)
        return 256 * b + 16 * g + r;
    if (R && !G && !B)
        return 4096 + 16 * b + g;
    if (!R && G && !B)
        return 4352 + 16 * b + r;
    if (!R && !G && B)
        return 4608 + 16 * g + r;
    if (R && G && !B)
        return 4864 + b;
    if (R && !G && B)
        return 4880 + g;
    if (!R && G && B)
        return 4896 + r;
    return 4912;
}

unsigned field(int word, int low)
{
    return (static_cast<unsigned>(word) >> low) & 1023u;
}

void smoothColour(double x, double y, double z, double out[3])
{
    out[0] = x * y;
    out[1] = std::sqrt(z);
    out[2] = 1.0 - 0.5 * x;
}

void ones(double, double, double, double out[3])
{
    out[0] = out[1] = out[2] = 1.0;
}

// Full red, half green: which field red lands in shows the order.
void redColour(double, double, double, double out[3])
{
    out[0] = 1.0;
    out[1] = 0.5;
    out[2] = 0.0;
}

class Lut3DTest : public BoardTest
{
protected:
    Lut3D &lut() { return *Lut3D::getInstance(); }

    bool loadText(const std::string &text, const char *name = "test.cube")
    {
        writeText(workFile(name), text);
        return lut().load(name, Lut3D::LutDebugNone);
    }

    std::vector<int> words()
    {
        std::vector<int> out(Lut3D::lutWords, -1);
        EXPECT_TRUE(lut().copy(out.data(), Lut3D::lutWords));
        return out;
    }

    // Loads a file that must fail and checks that the grid of the last good
    // load is still the one that packs.
    void expectRefusedKeepingPrevious(const std::string &text, const std::string &why)
    {
        const std::vector<int> before = words();
        EXPECT_FALSE(loadText(text, "broken.cube")) << why;
        EXPECT_EQ(words(), before) << why;
    }
};

} // namespace

TEST_F(Lut3DTest, EveryPointLandsWhereTheLayoutSaysInBgrOrderUnlessTheFileAsksForRgb)
{
    ASSERT_TRUE(loadText(cubeText(17, positionColour)));
    const std::vector<int> packed = words();
    std::set<int> seen;
    for (int b = 0; b < 17; ++b) {
        for (int g = 0; g < 17; ++g) {
            for (int r = 0; r < 17; ++r) {
                const int index = wordIndex(r, g, b);
                seen.insert(index);
                const int word = packed[static_cast<size_t>(index)];
                ASSERT_EQ(field(word, 0), static_cast<unsigned>(r / 16.0 * 1023)) << r << " " << g << " " << b;
                ASSERT_EQ(field(word, 10), static_cast<unsigned>(g / 16.0 * 1023)) << r << " " << g << " " << b;
                ASSERT_EQ(field(word, 20), static_cast<unsigned>(b / 16.0 * 1023)) << r << " " << g << " " << b;
                ASSERT_EQ(static_cast<unsigned>(word) >> 30, 0u);
            }
        }
    }
    EXPECT_EQ(seen.size(), 4913u);
    // Spot checks of the group boundaries: the last point of group 1, the
    // first of group 2 (r = 16, g = b = 0) and the one word of group 8.
    EXPECT_EQ(packed[4095], static_cast<int>((959u << 20) | (959u << 10) | 959u));
    EXPECT_EQ(packed[4096], 1023);
    EXPECT_EQ(packed[4912], static_cast<int>((1023u << 20) | (1023u << 10) | 1023u));

    // RGB order puts red in the high field; BGR said outright is the default.
    ASSERT_TRUE(loadText(cubeText(17, redColour, "TITLE \"red\"\nLUT_ORDER RGB\n")));
    EXPECT_EQ(words()[0], static_cast<int>((1023u << 20) | (511u << 10)));
    ASSERT_TRUE(loadText(cubeText(17, redColour, "LUT_ORDER BGR\n")));
    EXPECT_EQ(words()[0], static_cast<int>((511u << 10) | 1023u));
}

TEST_F(Lut3DTest, OnlyTheKeptLinesOfLargerFilesAreRead)
{
    ASSERT_TRUE(loadText(cubeText(17, smoothColour)));
    const std::vector<int> expected = words();
    // 33 and 65 points give the 17-point words. Every line the 17-point grid
    // does not use is garbage: the file still loads, as the parser never looks
    // at those lines.
    for (int n : {33, 65}) {
        const int step = (n - 1) / 16;
        std::string text = "LUT_3D_SIZE " + std::to_string(n) + "\n";
        const std::string full = cubeText(n, smoothColour, std::string(), false);
        size_t position = 0;
        for (int b = 0; b < n; ++b) {
            for (int g = 0; g < n; ++g) {
                for (int r = 0; r < n; ++r) {
                    const size_t end = full.find('\n', position);
                    const bool kept = r % step == 0 && g % step == 0 && b % step == 0;
                    text += kept ? full.substr(position, end - position) + "\n" : "not a number\n";
                    position = end + 1;
                }
            }
        }
        ASSERT_TRUE(loadText(text)) << n;
        EXPECT_EQ(words(), expected) << n;
    }
}

TEST_F(Lut3DTest, ValuesAreScaledByTheDomainAndClampedToTenBits)
{
    auto extremes = [](double x, double, double, double out[3]) {
        out[0] = x < 0.5 ? -0.25 : 1.0;
        out[1] = x < 0.5 ? 1.5 : 0.999;
        out[2] = x < 0.5 ? NAN : 1e300;
    };
    ASSERT_TRUE(loadText(cubeText(17, extremes)));
    const std::vector<int> packed = words();
    // Negative and NaN give 0, beyond the maximum 1023, without spilling
    // into the neighbouring field.
    EXPECT_EQ(packed[0], static_cast<int>(1023u << 10));
    EXPECT_EQ(packed[15], static_cast<int>((1023u << 20) | (1021u << 10) | 1023u));

    ASSERT_TRUE(loadText(cubeText(17, ones, "DOMAIN_MAX 2.0 2.0 4.0\n")));
    EXPECT_EQ(words()[0], static_cast<int>((255u << 20) | (511u << 10) | 511u));
    // The minimum is not subtracted: only the range divides.
    ASSERT_TRUE(loadText(cubeText(17, ones, "DOMAIN_MIN 0.5 0.5 0.5\nDOMAIN_MAX 1.5 1.5 1.5\n")));
    EXPECT_EQ(words()[0], static_cast<int>((1023u << 20) | (1023u << 10) | 1023u));
}

TEST_F(Lut3DTest, CopyRefusesBadParametersWithItsMessage)
{
    std::vector<int> out(Lut3D::lutWords, 7);
    CaptureStderr();
    EXPECT_FALSE(lut().copy(out.data(), Lut3D::lutWords));
    EXPECT_PRED2(contains, GetCapturedStderr(), "no 3DLut loaded") << "nothing to pack before a good load";

    ASSERT_TRUE(loadText(cubeText(17, positionColour, "DOMAIN_MAX 0 0 0\n")));
    CaptureStderr();
    EXPECT_FALSE(lut().copy(out.data(), Lut3D::lutWords));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: param error[size:4913  value_r:0.000000 value_g:0.000000 "
                                   "value_b:0.000000]\n\033[0m");
    EXPECT_EQ(out[5], 7);

    ASSERT_TRUE(loadText(cubeText(17, positionColour)));
    CaptureStderr();
    EXPECT_FALSE(lut().copy(out.data(), 4912));
    EXPECT_FALSE(lut().copy(nullptr, Lut3D::lutWords));
    EXPECT_PRED2(contains, GetCapturedStderr(), "param error[size:4912  value_r:1.000000");
    EXPECT_EQ(out[5], 7);
}

TEST_F(Lut3DTest, TruncatedAndMalformedFilesLeaveThePreviousLut)
{
    ASSERT_TRUE(loadText(cubeText(17, smoothColour)));
    const std::string good = cubeText(17, positionColour);

    CaptureStdout();
    CaptureStderr();
    expectRefusedKeepingPrevious(good.substr(0, good.rfind('\n', good.size() - 2) + 1), "one line short");
    EXPECT_EQ(GetCapturedStdout(), "read cube rgb data error\n");
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: parse Lut data error\n\033[0m");

    const std::string point = "0.062500 0.000000 0.000000";
    for (const auto &[line, why] : {std::make_pair("0.062500 0.000000", "a data line with two numbers"),
                                    std::make_pair("\n0.062500 0.000000 0.000000", "a blank line inside the data"),
                                    std::make_pair("0.062500,0.000000,0.000000", "commas")}) {
        std::string text = good;
        expectRefusedKeepingPrevious(text.replace(text.find(point), point.size(), line), why);
    }

    expectRefusedKeepingPrevious("LUT_ORDER RGB\nDOMAIN_MAX 2 2 2\n" + good.substr(0, good.size() / 2),
                                 "the order and domain of a failed file do not apply");
    expectRefusedKeepingPrevious(std::string(), "empty");
    expectRefusedKeepingPrevious("LUT_3D_SIZE 17\nTITLE \"no data\"\n", "no data");

    // Thirty-three points with one kept line missing at the end.
    const std::string large = cubeText(33, smoothColour);
    expectRefusedKeepingPrevious(large.substr(0, large.rfind('\n', large.size() - 2) + 1), "33 points cut short");
}

TEST_F(Lut3DTest, SizesOtherThanTheThreeKnownAreRefused)
{
    ASSERT_TRUE(loadText(cubeText(17, smoothColour)));
    for (const char *size : {"32", "0", "-17", "99999999999", "16"}) {
        CaptureStderr();
        expectRefusedKeepingPrevious("LUT_3D_SIZE " + std::string(size) + "\n" + cubeText(17, positionColour, "", false),
                                     size);
        const std::string error = GetCapturedStderr();
        EXPECT_PRED2(contains, error, "is not supported") << size;
        EXPECT_PRED2(contains, error, "parse Lut data error") << size;
    }
    // No size line at all means 17.
    ASSERT_TRUE(loadText(cubeText(17, positionColour, "", false)));
    EXPECT_EQ(words()[4096], 1023);
}

TEST_F(Lut3DTest, KeywordsAreTakenFromTheFirstLineHoldingThemCommentsIncluded)
{
    CaptureStderr();
    ASSERT_TRUE(loadText(cubeText(17, redColour, "# LUT_ORDER RGB\nLUT_ORDER RGB\n")));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: LUT_ORDER:None\n\033[0m");
    EXPECT_EQ(words()[0], static_cast<int>((511u << 10) | 1023u)) << "the comment line decided: the default order BGR";

    // "#" is the first word, "DOMAIN_MAX" no number: the range stays 1.
    ASSERT_TRUE(loadText(cubeText(17, ones, "# DOMAIN_MAX 2 2 2\nDOMAIN_MAX 2 2 2\n")));
    EXPECT_EQ(words()[0] & 1023, 1023);

    // A keyword line after the data still counts.
    ASSERT_TRUE(loadText(cubeText(17, ones) + "DOMAIN_MAX 2 2 2\n"));
    EXPECT_EQ(words()[0] & 1023, 511);

    // An unknown order word is reported and BGR kept.
    CaptureStderr();
    ASSERT_TRUE(loadText(cubeText(17, redColour, "LUT_ORDER GBR\n")));
    EXPECT_PRED2(contains, GetCapturedStderr(), "LUT_ORDER:None");
    EXPECT_EQ(words()[0], static_cast<int>((511u << 10) | 1023u));
}

TEST_F(Lut3DTest, TextVariantsThatStillLoad)
{
    ASSERT_TRUE(loadText(cubeText(17, smoothColour)));
    const std::vector<int> expected = words();

    std::string crlf;
    for (char c : cubeText(17, smoothColour, "TITLE \"crlf\"\r\n\r\n"))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_TRUE(loadText(crlf));
    EXPECT_EQ(words(), expected) << "CRLF line ends";

    std::string noNewline = cubeText(17, smoothColour);
    noNewline.pop_back();
    ASSERT_TRUE(loadText(noNewline));
    EXPECT_EQ(words(), expected) << "no newline at the end";

    ASSERT_TRUE(loadText(cubeText(17, smoothColour, "# comment\n\n   \t\nTITLE \"x\"\nLUT_1D_SIZE x\n") +
                         "trailing garbage\n\x01\x02\x03"));
    EXPECT_EQ(words(), expected) << "header lines skipped, lines after the last point ignored";

    // Text after a NUL byte is not part of its line: this size does not count.
    ASSERT_TRUE(loadText(std::string("TITLE\0 LUT_3D_SIZE 32\n", 22) + cubeText(17, smoothColour, "", false)));
    EXPECT_EQ(words(), expected) << "a size behind a NUL";

    std::string spaced;
    for (char c : cubeText(17, smoothColour))
        spaced += c == ' ' ? std::string(" \t ") : std::string(1, c);
    ASSERT_TRUE(loadText(spaced));
    EXPECT_EQ(words(), expected) << "any white space between numbers";
}

TEST_F(Lut3DTest, HostileFilesNeverCrashAndNeverReplaceTheLut)
{
    ASSERT_TRUE(loadText(cubeText(17, smoothColour)));
    std::mt19937 random(1234);
    std::string binary(200000, '\0');
    for (char &c : binary)
        c = static_cast<char>(random());
    CaptureStdout();
    CaptureStderr();
    expectRefusedKeepingPrevious(binary, "random bytes");
    expectRefusedKeepingPrevious(std::string(3 << 20, '7'), "a 3 MB line of digits");
    expectRefusedKeepingPrevious(std::string(1 << 20, '-') + "\n" + cubeText(17, positionColour).substr(0, 5000),
                                 "a 1 MB line, then a cut file");
    expectRefusedKeepingPrevious("LUT_3D_SIZE 65\n" + std::string(100000, ' '), "spaces only");
    GetCapturedStdout();
    GetCapturedStderr();

    // Not a regular file, and a file far larger than any cube.
    ASSERT_EQ(mkdir(workFile("dir.cube").c_str(), 0755), 0);
    const int fd = open(workFile("huge.cube").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, off_t(65) << 20), 0);
    close(fd);
    CaptureStderr();
    EXPECT_FALSE(lut().load("dir.cube", Lut3D::LutDebugNone));
    EXPECT_FALSE(lut().load("huge.cube", Lut3D::LutDebugNone));
    const std::string errors = GetCapturedStderr();
    EXPECT_PRED2(contains, errors, "dir.cube is not a cube file");
    EXPECT_PRED2(contains, errors, "huge.cube is too large");

    // Missing files and a null path fail quietly.
    CaptureStderr();
    EXPECT_FALSE(lut().load("missing.cube", Lut3D::LutDebugNone));
    EXPECT_FALSE(lut().load(nullptr, Lut3D::LutDebugNone));
    EXPECT_EQ(GetCapturedStderr(), "");

    std::vector<int> check(Lut3D::lutWords);
    ASSERT_TRUE(loadText(cubeText(17, smoothColour), "again.cube"));
    EXPECT_TRUE(lut().copy(check.data(), Lut3D::lutWords));
}

TEST_F(Lut3DTest, NumbersInTheirUnusualSpellings)
{
    auto value = [](const std::string &number) {
        std::string text = "LUT_3D_SIZE 17\n";
        for (int i = 0; i < 4913; ++i)
            text += number + " 0 0\n";
        return text;
    };
    const struct {
        const char *number;
        unsigned code;
    } cases[] = {{"1", 1023}, {"+0.5", 511}, {".5", 511}, {"5e-1", 511}, {"0.5E0", 511}, {"0x1p-1", 511},
                 {"-0", 0},   {"inf", 1023}, {"nan", 0},  {"1e-400", 0}, {"0.50000000000000000000001", 511},
                 {"1.", 1023}};
    for (const auto &c : cases) {
        ASSERT_TRUE(loadText(value(c.number))) << c.number;
        EXPECT_EQ(field(words()[0], 0), c.code) << c.number;
    }
}

TEST_F(Lut3DTest, DebugFilesOfTheLoadedGrid)
{
    writeText(workFile("debug-me.cube"), cubeText(17, positionColour, "LUT_ORDER RGB\n"));
    ASSERT_TRUE(lut().load("debug-me.cube", Lut3D::LutDebugAll));
    auto lines = [&](const char *name) {
        std::ifstream file(workFile(name));
        std::vector<std::string> all;
        for (std::string line; std::getline(file, line);)
            all.push_back(line);
        return all;
    };
    const std::vector<std::string> cubeLines = lines("debug.cube"), rgbLines = lines("debug.rgb");
    ASSERT_EQ(cubeLines.size(), 4913u);
    ASSERT_EQ(rgbLines.size(), 4913u);
    EXPECT_EQ(cubeLines[1], "0.0625  0.0000  0.0000");
    EXPECT_EQ(cubeLines[4096], "1.0000  0.0000  0.0000");
    EXPECT_EQ(rgbLines[4096], "0x3ff00000");
    EXPECT_EQ(rgbLines[4912], "0x3fffffff");
}
