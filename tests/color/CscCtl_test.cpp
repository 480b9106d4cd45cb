#include "BitWatch.h"
#include "BoardTest.h"
#include "ColourStandard.h"
#include "CscCtl.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// A record as the logic reads it back from the staging registers.
struct Staged {
    int m[3][3];
    int offset[3];
};

class CscTest : public BoardTest
{
protected:
    int16_t half(FunctionTypeIndex identifier, bool high)
    {
        const uint32_t word = board().pl().get(identifier);
        return static_cast<int16_t>(high ? word >> 16 : word & 0xFFFFu);
    }

    // Nine coefficients row by row, then three offsets: low half first, from
    // VAL0 on.
    Staged staged()
    {
        const FunctionTypeIndex words[] = {CSC_MATRIX_VAL0, CSC_MATRIX_VAL1, CSC_MATRIX_VAL2,
                                           CSC_MATRIX_VAL3, CSC_MATRIX_VAL4, CSC_MATRIX_VAL5};
        Staged s;
        for (int i = 0; i < 12; ++i)
            (i < 9 ? s.m[i / 3][i % 3] : s.offset[i - 9]) = half(words[i / 2], i % 2 == 1);
        return s;
    }

    void expectRecord(const Staged &s, const int (&m)[3][3], const int (&offset)[3])
    {
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(s.m[i][j], m[i][j]) << "coefficient " << i << j;
            EXPECT_EQ(s.offset[i], offset[i]) << "offset " << i;
        }
    }

    Staged screen(CscCtl::ScreenMatrixType type)
    {
        EXPECT_TRUE(CscCtl::getInstance()->matrixLoad(type));
        return staged();
    }

    void fillStaging(uint32_t value)
    {
        for (FunctionTypeIndex r : {CSC_MATRIX_VAL0, CSC_MATRIX_VAL1, CSC_MATRIX_VAL2, CSC_MATRIX_VAL3,
                                    CSC_MATRIX_VAL4, CSC_MATRIX_VAL5, CSC_MATRIX_VAL6})
            board().pl().set(r, value);
    }
};

const int identity[3][3] = {{4096, 0, 0}, {0, 4096, 0}, {0, 0, 4096}};
const int noOffset[3] = {0, 0, 0};

} // namespace

TEST_F(CscTest, InvalidRecordsWriteNothingAndRec709VideoTakesItsRegisterHalves)
{
    fillStaging(0xA5A5A5A5u);
    EXPECT_FALSE(Rec709::getInstance()->matrixLoad(static_cast<CscCtl::MatrixType>(3)));
    EXPECT_FALSE(Rec709::getInstance()->matrixOutputLoad(CscCtl::MatrixRGB));
    EXPECT_FALSE(DCIP3::getInstance()->matrixLoad(static_cast<CscCtl::MatrixType>(-1)));
    EXPECT_FALSE(CscCtl::getInstance()->matrixLoad(static_cast<CscCtl::ScreenMatrixType>(5)));
    EXPECT_EQ(board().pl().get(CSC_MATRIX_VAL0), 0xA5A5A5A5u);
    EXPECT_EQ(board().pl().get(CSC_MATRIX_VAL5), 0xA5A5A5A5u);

    ASSERT_TRUE(Rec709::getInstance()->matrixLoad(CscCtl::MatrixVideo));
    expectRecord(staged(), {{7364, 4783, 0}, {-2189, 4783, -875}, {0, 4783, 8677}}, {-15923, 4935, -18550});
    // A negative word takes exactly its 16 bits: -875 in the high half of VAL2.
    EXPECT_EQ(board().pl().field(CSC_MATRIX_VAL2, 31, 16), 0xFC95u);
    EXPECT_EQ(board().pl().get(CSC_MATRIX_VAL2), 0xFC9512AFu);
    EXPECT_EQ(board().pl().get(CSC_MATRIX_VAL6), 0xA5A5A5A5u) << "VAL6 is not ours";
}

TEST_F(CscTest, DataRgbAndOutputRecordsAndThoseOfTheOtherStandards)
{
    Rec709 &rec709 = *Rec709::getInstance();
    ASSERT_TRUE(rec709.matrixLoad(CscCtl::MatrixData));
    // Full range: no black level to remove, only the chroma centring.
    expectRecord(staged(), {{6450, 4096, 0}, {-1917, 4096, -767}, {0, 4096, 7600}}, {-12900, 5369, -15201});
    ASSERT_TRUE(rec709.matrixLoad(CscCtl::MatrixRGB));
    expectRecord(staged(), identity, noOffset);
    ASSERT_TRUE(rec709.matrixOutputLoad(CscCtl::MatrixVideo));
    expectRecord(staged(), {{1793, -1629, -164}, {745, 2508, 253}, {-411, -1382, 1793}}, {8192, 1024, 8192});
    ASSERT_TRUE(rec709.matrixOutputLoad(CscCtl::MatrixData));
    const Staged data = staged();
    EXPECT_EQ(std::vector<int>(data.offset, data.offset + 3), (std::vector<int>{8192, 0, 8192}));

    // Each standard has its own records.
    ASSERT_TRUE(BT2020::getInstance()->matrixLoad(CscCtl::MatrixVideo));
    expectRecord(staged(), {{6896, 4783, 0}, {-2671, 4783, -769}, {0, 4783, 8798}}, {-14987, 5687, -18791});
    ASSERT_TRUE(BT2020::getInstance()->matrixLoad(CscCtl::MatrixData));
    expectRecord(staged(), {{6039, 4096, 0}, {-2340, 4096, -674}, {0, 4096, 7706}}, {-12079, 6028, -15412});
    ASSERT_TRUE(DCIP3::getInstance()->matrixLoad(CscCtl::MatrixVideo));
    EXPECT_EQ(staged().m[0][0], 7393);
}

TEST_F(CscTest, ConversionsGoToTheSelectedStandardAndSevenMeansBt2020)
{
    CscCtl &csc = *CscCtl::getInstance();
    const struct {
        int type;
        int m00;
    } cases[] = {{CscCtl::Rec709, 7364}, {CscCtl::DCIP3, 7393}, {CscCtl::BT2020, 6896}, {7, 6896}};
    for (const auto &c : cases) {
        csc.setColourType(static_cast<CscCtl::ColourType>(c.type));
        EXPECT_TRUE(csc.matrixLoad(CscCtl::MatrixVideo));
        EXPECT_EQ(staged().m[0][0], c.m00) << "colour type " << c.type;
        EXPECT_TRUE(csc.matrixOutputLoad(CscCtl::MatrixVideo));
        EXPECT_EQ(staged().offset[1], 1024);
    }
}

TEST_F(CscTest, ScreenMatricesAtTheDefaultsAndTheExtremes)
{
    expectRecord(screen(CscCtl::ScreenNormal), identity, noOffset);
    expectRecord(screen(CscCtl::ScreenGrey), {{870, 2929, 295}, {870, 2929, 295}, {870, 2929, 295}}, noOffset);
    expectRecord(screen(CscCtl::ScreenRed), {{4096, 0, 0}, {0, 0, 0}, {0, 0, 0}}, noOffset);
    expectRecord(screen(CscCtl::ScreenGreen), {{0, 0, 0}, {0, 4096, 0}, {0, 0, 0}}, noOffset);
    expectRecord(screen(CscCtl::ScreenBlue), {{0, 0, 0}, {0, 0, 0}, {0, 0, 4096}}, noOffset);

    CscCtl &csc = *CscCtl::getInstance();
    // Sliders at their tops: brightness 100, contrast 100, chroma 100, gains
    // 200 %, offsets +64.
    csc.setLuminanceGain((100 - 50) / 100.0f * 1000);
    csc.setContranstGain((100 - 50) / 50.0f + 1);
    csc.setChromaGain((100 - 50) / 50.0f * 0.66f);
    for (auto gain : {CscCtl::GainRed, CscCtl::GainGreen, CscCtl::GainBlue})
        csc.setRGBgain(gain, 200, false);
    for (auto offset : {CscCtl::OffsetRed, CscCtl::OffsetGreen, CscCtl::OffsetBlue})
        csc.setRGBOffset(offset, 64, offset == CscCtl::OffsetBlue);
    expectRecord(screen(CscCtl::ScreenNormal), {{21790, -2703, -2703}, {-2703, 21790, -2703}, {-2703, -2703, 21790}},
                 {9024, 9024, 9024});
    // The single-colour views ignore the gains; the grey offset is L without
    // fraction bits.
    expectRecord(screen(CscCtl::ScreenRed), {{10895, -1351, -1351}, {0, 0, 0}, {0, 0, 0}}, {9024, 0, 0});
    expectRecord(screen(CscCtl::ScreenBlue), {{0, 0, 0}, {0, 0, 0}, {-1351, -1351, 10895}}, {0, 0, 9024});
    expectRecord(screen(CscCtl::ScreenGrey), {{870, 2929, 295}, {870, 2929, 295}, {870, 2929, 295}}, {500, 500, 500});

    // And at their bottoms.
    csc.setLuminanceGain((0 - 50) / 100.0f * 1000);
    csc.setContranstGain((0 - 50) / 50.0f + 1);
    csc.setChromaGain((0 - 50) / 50.0f * 0.66f);
    for (auto offset : {CscCtl::OffsetRed, CscCtl::OffsetGreen, CscCtl::OffsetBlue})
        csc.setRGBOffset(offset, -64, true);
    for (auto gain : {CscCtl::GainRed, CscCtl::GainGreen, CscCtl::GainBlue})
        csc.setRGBgain(gain, 100, true);
    expectRecord(screen(CscCtl::ScreenNormal), {{-2703, 1351, 1351}, {1351, -2703, 1351}, {1351, 1351, -2703}},
                 {-9024, -9024, -9024});
    EXPECT_EQ(screen(CscCtl::ScreenGrey).offset[2], -500);
}

TEST_F(CscTest, TemperatureRules)
{
    CscCtl &csc = *CscCtl::getInstance();
    auto diagonal = [&] {
        const Staged s = screen(CscCtl::ScreenNormal);
        return std::vector<int>{s.m[0][0], s.m[1][1], s.m[2][2]};
    };
    csc.setTemperture(9300, true);
    EXPECT_EQ(diagonal(), (std::vector<int>{3238, 3488, 4096}));
    // A value the table does not know keeps the factors in force.
    csc.setTemperture(7000, true);
    EXPECT_EQ(diagonal(), (std::vector<int>{3238, 3488, 4096}));
    csc.setTemperture(5600, true);
    EXPECT_EQ(diagonal(), (std::vector<int>{4096, 4096, 3678}));
    // Switched off, any value means neutral, and it applies at once.
    csc.setTemperture(9300, false);
    EXPECT_EQ(diagonal(), (std::vector<int>{4096, 4096, 4096}));
    csc.setTemperture(5600, true);
    csc.setTemperture(6500, true);
    EXPECT_EQ(diagonal(), (std::vector<int>{4096, 4096, 4096}));
    // Temperature does not reach the single-colour views.
    csc.setTemperture(9300, true);
    EXPECT_EQ(screen(CscCtl::ScreenRed).m[0][0], 4096);
}

TEST_F(CscTest, GainsAndOffsetsApplyOnlyWhenAsked)
{
    CscCtl &csc = *CscCtl::getInstance();
    csc.setRGBgain(CscCtl::GainRed, 150, false);
    csc.setRGBOffset(CscCtl::OffsetGreen, -10, false);
    expectRecord(screen(CscCtl::ScreenNormal), identity, noOffset);
    csc.setRGBOffset(CscCtl::OffsetBlue, 10, true);
    expectRecord(screen(CscCtl::ScreenNormal), {{6144, 0, 0}, {0, 4096, 0}, {0, 0, 4096}}, {0, -160, 160});
    // Staging a screen record writes the registers only; nothing was strobed.
    EXPECT_EQ(board().pl().get(CSC_MATRIX_CTL), 0u);
}

TEST_F(CscTest, EnableStrobesAfterStagingThenEnablesAndDisableTouchesOnlyItsBit)
{
    CscCtl &csc = *CscCtl::getInstance();
    for (int block = 0; block < 5; ++block) {
        const int enableBit = 4 * block;
        const int loadBit = enableBit + 1;
        int staged00 = 0;
        uint32_t duringStrobe = 0;
        // As after an earlier load: the strobe bit rests at 1.
        auto prepare = [&] { board().pl().set(CSC_MATRIX_CTL, 1u << loadBit); };
        auto action = [&] {
            csc.matrixLoad(CscCtl::ScreenGrey);
            csc.matrixEnable(true, static_cast<CscCtl::MatrixEnableType>(block));
        };
        auto capture = [&](uint32_t word) {
            duringStrobe = word;
            staged00 = half(CSC_MATRIX_VAL0, false);
        };
        ASSERT_TRUE(watchEdge(board().pl(), CSC_MATRIX_CTL, loadBit, false, prepare, action, capture))
            << "block " << block;
        EXPECT_EQ(staged00, 870) << "the record is staged before the strobe";
        EXPECT_EQ(duringStrobe & (1u << enableBit), 0u) << "enabled only after the strobe";
        EXPECT_EQ(board().pl().get(CSC_MATRIX_CTL), (1u << loadBit) | (1u << enableBit))
            << "the strobe ends high and the block is enabled";
    }

    board().pl().set(CSC_MATRIX_CTL, 0);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(csc.matrixEnable(true, CscCtl::Scope));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::microseconds(5000));
    EXPECT_EQ(board().pl().get(CSC_MATRIX_CTL), 0x3000u);

    // Disabling touches only the enable bit.
    board().pl().set(CSC_MATRIX_CTL, 0xFFFFFFFFu);
    EXPECT_TRUE(csc.matrixEnable(false, CscCtl::Screen));
    EXPECT_EQ(board().pl().get(CSC_MATRIX_CTL), 0xFFFEFFFFu);

    // A block number outside 0-4 means block 0.
    board().pl().set(CSC_MATRIX_CTL, 0);
    csc.matrixEnable(true, static_cast<CscCtl::MatrixEnableType>(9));
    EXPECT_EQ(board().pl().get(CSC_MATRIX_CTL), 0x3u);
}

TEST_F(CscTest, PixelConversionsBothWays)
{
    Rec709 &rec709 = *Rec709::getInstance();
    float r = 0, g = 0, b = 0;
    // Video-range white: 876 x 1.167808, just below full scale.
    rec709.convertRGB(CscCtl::MatrixVideo, 940, 512, 512, r, g, b);
    EXPECT_FLOAT_EQ(r, 1022.9998779f);
    EXPECT_LT(r, 1023.0f);
    EXPECT_FLOAT_EQ(g, r);
    EXPECT_FLOAT_EQ(b, r);
    // Data range has no black level.
    rec709.convertRGB(CscCtl::MatrixData, 512, 512, 512, r, g, b);
    EXPECT_FLOAT_EQ(r, 512.0f);
    // A saturated red: Cr far up drives R past full scale and G below 0.
    rec709.convertRGB(CscCtl::MatrixVideo, 300, 200, 960, r, g, b);
    EXPECT_EQ(r, 1023.0f);
    EXPECT_GT(g, 0.0f);
    EXPECT_EQ(b, 0.0f);

    float y = 0, cb = 0, cr = 0;
    rec709.convertYCbCr(CscCtl::MatrixVideo, 1023, 1023, 1023, y, cb, cr);
    EXPECT_NEAR(y, 940.0f, 0.5f);
    EXPECT_NEAR(cb, 512.0f, 0.05f);
    EXPECT_NEAR(cr, 512.0f, 0.05f);
    rec709.convertYCbCr(CscCtl::MatrixData, 0, 0, 0, y, cb, cr);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(cb, 512.0f);

    // No conversion for the RGB type: the outputs stay, clamped.
    r = 2000;
    g = -5;
    b = 100;
    rec709.convertRGB(CscCtl::MatrixRGB, 940, 512, 512, r, g, b);
    EXPECT_EQ(r, 1023.0f);
    EXPECT_EQ(g, 0.0f);
    EXPECT_EQ(b, 100.0f);
}
