#include "BoardTest.h"
#include "ColourStandard.h"
#include "LightMeterCtl.h"

namespace {

uint32_t sample(unsigned high, unsigned middle, unsigned low)
{
    return (high << 20) | (middle << 10) | low;
}

class LightMeterTest : public BoardTest
{
protected:
    LightMeterCtl &meter() { return *LightMeterCtl::getInstance(); }

    // One poll; the six outputs start at -1 so that untouched ones show.
    bool poll()
    {
        y = cb = cr = r = g = b = -1.0f;
        return meter().lightMeterValue(y, cb, cr, r, g, b);
    }

    float y, cb, cr, r, g, b;
};

} // namespace

TEST_F(LightMeterTest, PositionAndEnableFields)
{
    board().pl().set(LIGHT_METER_CTL, 0xF000000Eu);
    meter().setLightMeterPosition(1919, 1079);
    EXPECT_EQ(board().pl().get(LIGHT_METER_CTL), 0xF000000Eu | (1079u << 16) | (1919u << 4));
    meter().lightMeterEnable(true);
    EXPECT_EQ(board().pl().field(LIGHT_METER_CTL, 0, 0), 1u);
    meter().setLightMeterPosition(0x1FFF, 0);
    EXPECT_EQ(board().pl().get(LIGHT_METER_CTL), 0xF000FFFFu) << "coordinates stay in their fields";
}

TEST_F(LightMeterTest, YCbCrSampleOfVideoWhiteGivesRgbAndRgbSampleGivesVideoRangeYCbCr)
{
    meter().setLightMeterType(LightMeterCtl::LightMeterYCbCr, CscCtl::MatrixVideo);
    board().pl().set(LIGHT_METER_INFO, sample(512, 940, 512));
    ASSERT_TRUE(poll());
    EXPECT_EQ(y, 940.0f);
    EXPECT_EQ(cb, 512.0f);
    EXPECT_EQ(cr, 512.0f);
    // 876 x 1.167808: just below full scale.
    EXPECT_NEAR(r, 1023.0f, 0.01f);
    EXPECT_LT(r, 1023.0f);
    EXPECT_EQ(g, r);
    EXPECT_EQ(b, r);
    // As the main window shows it: (Y - 64) x 100 / 876.
    EXPECT_EQ(static_cast<int>((y - 64) * 100 / 876), 100);

    meter().setLightMeterType(LightMeterCtl::LightMeterRGB, CscCtl::MatrixRGB);
    EXPECT_EQ(meter().getLightMeterRange(), CscCtl::MatrixVideo);
    board().pl().set(LIGHT_METER_INFO, sample(1023, 1023, 1023));
    ASSERT_TRUE(poll());
    EXPECT_EQ(r, 1023.0f);
    EXPECT_NEAR(y, 940.0f, 0.5f);
    EXPECT_NEAR(cb, 512.0f, 0.05f);
    EXPECT_NEAR(cr, 512.0f, 0.05f);

    board().pl().set(LIGHT_METER_INFO, sample(1023, 0, 0));
    ASSERT_TRUE(poll());
    EXPECT_EQ(r, 1023.0f);
    EXPECT_EQ(g, 0.0f);
    EXPECT_NEAR(cr, 512 + 0.437928f * 1023, 0.01f) << "pure red drives Cr to its top";
}

TEST_F(LightMeterTest, UnchangedSamplesAreNotNews)
{
    meter().setLightMeterType(LightMeterCtl::LightMeterYCbCr, CscCtl::MatrixData);
    EXPECT_FALSE(poll()) << "the memory starts at 0, as the register does";
    EXPECT_EQ(y, -1.0f);
    board().pl().set(LIGHT_METER_INFO, sample(600, 300, 400));
    EXPECT_TRUE(poll());
    EXPECT_FALSE(poll());
    EXPECT_EQ(y, -1.0f) << "outputs untouched";
    EXPECT_EQ(r, -1.0f);
    // The raw word decides: with bit 30 set every poll counts as new.
    board().pl().set(LIGHT_METER_INFO, 0x40000000u | sample(600, 300, 400));
    EXPECT_TRUE(poll());
    EXPECT_TRUE(poll());
    EXPECT_EQ(y, 300.0f) << "bits 30 and 31 are not part of the sample";
    EXPECT_EQ(cr, 600.0f);
}

TEST_F(LightMeterTest, TheSelectedStandardConverts)
{
    meter().setLightMeterType(LightMeterCtl::LightMeterYCbCr, CscCtl::MatrixData);
    EXPECT_EQ(meter().getLightMeterRange(), CscCtl::MatrixData);
    const uint32_t raw = sample(900, 500, 512);
    float expected[3][3];
    Rec709::getInstance()->convertRGB(CscCtl::MatrixData, 500, 512, 900, expected[0][0], expected[0][1], expected[0][2]);
    DCIP3::getInstance()->convertRGB(CscCtl::MatrixData, 500, 512, 900, expected[1][0], expected[1][1], expected[1][2]);
    BT2020::getInstance()->convertRGB(CscCtl::MatrixData, 500, 512, 900, expected[2][0], expected[2][1], expected[2][2]);
    EXPECT_NE(expected[0][1], expected[2][1]);
    for (int type = 0; type < 3; ++type) {
        meter().setColourType(static_cast<CscCtl::ColourType>(type));
        board().pl().set(LIGHT_METER_INFO, raw ^ static_cast<uint32_t>(type + 1) << 30);
        ASSERT_TRUE(poll());
        EXPECT_EQ(r, expected[type][0]) << type;
        EXPECT_EQ(g, expected[type][1]) << type;
        EXPECT_EQ(b, expected[type][2]) << type;
    }
    // A standard outside 0-2: the sample is new and read, nothing converts.
    meter().setColourType(static_cast<CscCtl::ColourType>(3));
    board().pl().set(LIGHT_METER_INFO, sample(100, 200, 300));
    EXPECT_TRUE(poll());
    EXPECT_EQ(y, 200.0f);
    EXPECT_EQ(r, -1.0f);
}
