#include "BitWatch.h"
#include "BoardTest.h"
#include "CubeFiles.h"
#include "GammaCtl.h"
#include "HDRCtl.h"
#include "Lut1D.h"

#include <cstring>
#include <functional>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// A curve file: a title and a comment, then lines of (v, v / 2, constant).
std::string curveText(int lines, double constant = 0.25)
{
    std::string text = "TITLE \"test curve\"\n# red rises, green at half, blue flat\nLUT_1D_SIZE 1024\n\n";
    char line[64];
    for (int i = 0; i < lines; ++i) {
        const double v = i / 1023.0;
        std::snprintf(line, sizeof(line), "%.6f %.6f %.6f\n", v, v / 2, constant);
        text += line;
    }
    return text;
}

int curveWord(int i, double constant = 0.25)
{
    const double v = i / 1023.0;
    auto code = [](double x) { return static_cast<int>(0.5f + static_cast<float>(x) * 1023.0f); };
    return (code(v) << 20) + (code(v / 2) << 10) + code(constant);
}

class CurvesTest : public BoardTest
{
protected:
    std::vector<int> region()
    {
        const auto *words = static_cast<const int *>(board().pl().memory(PLMemory::GAMMA_INDEX0));
        return std::vector<int>(words, words + Lut1D::tableWords);
    }

    void clearRegion() { std::memset(board().pl().memory(PLMemory::GAMMA_INDEX0), 0, 4096); }

    void writeCurve(const char *name, double constant) { writeText(workFile(name), curveText(1024, constant)); }

    // The curve memory and the control word at the moment the upload strobe
    // rises, for an action started from cleared memory and control.
    struct Upload {
        std::vector<int> memory;
        uint32_t control = 0;
    };
    Upload watchUpload(const std::function<void()> &action)
    {
        Upload upload;
        const bool seen = watchEdge(
            board().pl(), CALI_GAMMA_CTL, 4, true,
            [&] {
                clearRegion();
                board().pl().set(CALI_GAMMA_CTL, 0);
            },
            action,
            [&](uint32_t word) {
                upload.control = word;
                upload.memory = region();
            });
        EXPECT_TRUE(seen) << "the upload strobe never rose";
        return upload;
    }
};

} // namespace

TEST_F(CurvesTest, ReaderStoresExactly1024WholeDataLinesAndHoldsValuesToTenBits)
{
    Lut1D &reader = *Lut1D::getInstance();
    std::vector<int> table(1024, -1);
    writeText(workFile("long.cube"), curveText(1100));
    ASSERT_TRUE(reader.load("long.cube", table.data()));
    for (int i : {0, 1, 512, 1000, 1023})
        EXPECT_EQ(table[static_cast<size_t>(i)], curveWord(i)) << i;
    EXPECT_EQ(table[1023] >> 20, 1023);

    // 1000 lines are too few: the load fails and the table is left as it was.
    const std::vector<int> before = table;
    writeText(workFile("short.cube"), curveText(1000, 0.75));
    EXPECT_FALSE(reader.load("short.cube", table.data()));
    EXPECT_EQ(table, before);

    EXPECT_FALSE(reader.load("missing.cube", table.data()));
    EXPECT_FALSE(reader.load(nullptr, table.data()));
    EXPECT_EQ(table, before);

    std::string twoNumbers = curveText(1024);
    twoNumbers.replace(twoNumbers.find("0.000978 0.000489 0.250000"), 26, "0.000978 0.000489");
    writeText(workFile("two.cube"), twoNumbers);
    CaptureStderr();
    EXPECT_FALSE(reader.load("two.cube", table.data()));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: read cube rgb data error\n\033[0m");
    EXPECT_EQ(table, before);

    std::string text;
    for (int i = 0; i < 1024; ++i)
        text += i == 0 ? "1.5 -0.5 nan\n" : i == 1 ? "0.5 1e300 0.0004\n" : "0 0 0\n";
    writeText(workFile("wild.cube"), text);
    ASSERT_TRUE(reader.load("wild.cube", table.data()));
    EXPECT_EQ(table[0], 1023 << 20) << "clamped, no spill into the neighbours";
    EXPECT_EQ(table[1], (512 << 20) + (1023 << 10) + 0);
}

TEST_F(CurvesTest, GammaValuesChooseTheirFiles)
{
    writeCurve("gamma22.cube", 0.1);
    writeCurve("gamma24.cube", 0.2);
    writeCurve("gamma26.cube", 0.3);
    GammaCtl &gamma = *GammaCtl::getInstance();
    gamma.gammaEnable(true);
    const struct {
        int value;
        double constant;
    } cases[] = {{22, 0.1}, {26, 0.3}, {24, 0.2}, {25, 0.2}, {0, 0.2}};
    for (const auto &c : cases) {
        gamma.setGammaValue(c.value);
        EXPECT_EQ(region()[700], curveWord(700, c.constant)) << c.value;
    }
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 1u);
}

TEST_F(CurvesTest, GammaWhileDisabledLoadsButWritesNothing)
{
    writeCurve("gamma22.cube", 0.1);
    GammaCtl &gamma = *GammaCtl::getInstance();
    board().pl().set(CALI_GAMMA_CTL, 0x100u);
    {
        BitWatch strobe(board().pl(), CALI_GAMMA_CTL, 4, true);
        gamma.setGammaValue(22);
        EXPECT_FALSE(strobe.finish());
    }
    EXPECT_EQ(region(), std::vector<int>(1024, 0));
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 0x100u);

    // Enabling uploads the curve loaded meanwhile: fill, flush, strobe, enable.
    const Upload upload = watchUpload([&] { gamma.gammaEnable(true); });
    ASSERT_EQ(upload.memory.size(), 1024u);
    EXPECT_EQ(upload.memory[1023], curveWord(1023, 0.1));
    EXPECT_EQ(upload.control & 1u, 0u);
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 1u);

    gamma.gammaEnable(false);
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 0u);
    EXPECT_EQ(region()[1023], curveWord(1023, 0.1)) << "disabling leaves the memory";
}

TEST_F(CurvesTest, AMissingGammaFileIsReportedAndKeepsTheCurve)
{
    writeCurve("gamma24.cube", 0.2);
    GammaCtl &gamma = *GammaCtl::getInstance();
    gamma.setGammaValue(24);
    gamma.gammaEnable(true);
    CaptureStderr();
    gamma.setGammaValue(26);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: gamma26.cube file is not exist\n\033[0m");
    EXPECT_EQ(region()[5], curveWord(5, 0.2));
    clearRegion();
    gamma.gammaEnable(true);
    EXPECT_EQ(region()[5], curveWord(5, 0.2)) << "the own table still holds the 2.4 curve";
}

TEST_F(CurvesTest, PqLuminanceFollowsTheStandardCurveAndItsTableStretchesThenClips)
{
    CaptureStderr();
    HDRCtl &hdr = *HDRCtl::getInstance();
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: gammaHLG.cube file is not exist\n\033[0m");
    hdr.HDREnable(true);
    const std::vector<int> table = region();
    auto grey = [](int v) { return (v << 20) | (v << 10) | v; };
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[1], grey(1));
    EXPECT_EQ(table[2], grey(2));
    EXPECT_EQ(table[512], grey(641));
    EXPECT_EQ(table[813], grey(1017));
    for (int v = 814; v < 1024; ++v)
        ASSERT_EQ(table[static_cast<size_t>(v)], grey(1023)) << v;
    for (int v = 1; v < 814; ++v)
        ASSERT_GT(table[static_cast<size_t>(v)], table[static_cast<size_t>(v - 1)]) << v;
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 1u);

    // Independent values of the ST 2084 EOTF for 10-bit full-range codes.
    EXPECT_EQ(HDRCtl::pqLuminance(0), 0u);
    EXPECT_EQ(HDRCtl::pqLuminance(520), 100u);  // 100.2 cd/m2
    EXPECT_EQ(HDRCtl::pqLuminance(769), 998u);  // 998.9 cd/m2
    EXPECT_EQ(HDRCtl::pqLuminance(813), 1481u); // 1481.7 cd/m2
    EXPECT_EQ(HDRCtl::pqLuminance(814), 1495u); // 1495.1 cd/m2
    EXPECT_EQ(HDRCtl::pqLuminance(1023), 10000u);
}

TEST_F(CurvesTest, HlgComesFromItsFileAndDisablingLeavesTheMemory)
{
    writeCurve("gammaHLG.cube", 0.6);
    HDRCtl &hdr = *HDRCtl::getInstance();
    hdr.type = HDRCtl::HDRHLG;
    const Upload upload = watchUpload([&] { hdr.HDREnable(true); });
    ASSERT_EQ(upload.memory.size(), 1024u);
    EXPECT_EQ(upload.memory[300], curveWord(300, 0.6));
    EXPECT_EQ(upload.control & 1u, 0u);
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 1u);

    clearRegion();
    {
        BitWatch strobe(board().pl(), CALI_GAMMA_CTL, 4, true);
        hdr.HDREnable(false);
        EXPECT_FALSE(strobe.finish());
    }
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 0u);
    EXPECT_EQ(region(), std::vector<int>(1024, 0)) << "disabling does not touch the memory";

    hdr.type = HDRCtl::HDRPQ;
    hdr.tableLoad();
    EXPECT_EQ(region()[813], (1017 << 20) | (1017 << 10) | 1017);
}
