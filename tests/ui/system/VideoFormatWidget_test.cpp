#include "CscCtl.h"
#include "CscStaging.h"
#include "OutCtl.h"
#include "PageTest.h"
#include "SDIFormat.h"
#include "VideoFormatWidget.h"

#include <QPushButton>
#include <memory>

namespace {

// CSC_MATRIX_CTL: the output block's enable bit.
constexpr int outputMatrixEnable = 8;

class VideoFormatWidgetTest : public OnePageTest<VideoFormatWidget>
{
protected:
    uint32_t output(int high, int low) { return field(SDI_OUT_CTRL, high, low); }
    uint32_t audioGroup() { return field(SDI_AUX_CTL, 4, 4); }

    // The output record the colour block stages for a range.
    std::vector<uint32_t> outputRecord(CscCtl::MatrixType type)
    {
        CscCtl::getInstance()->matrixOutputLoad(type);
        return stagedCscWords(board().pl());
    }
};

class SDIFormatTest : public OnePageTest<SDIFormat>
{
protected:
    uint32_t inputFormat() { return field(MAIN_CH_CTL, 19, 16); }
};

} // namespace

TEST_F(VideoFormatWidgetTest, StoredOptionsReachTheOutputAndAudioAtStart)
{
    build("[AppConfig]\nvideoRange=data\naudioChannel=ch3ch4\nvideoOutEnabel=false\nvideoConversionEnable=true\n"
          "videoLutEnable=true\nvideoFormat=3GB-422-12\n");
    EXPECT_EQ(audioGroup(), 1u);
    EXPECT_EQ(output(20, 20), 1u) << "output held off";
    EXPECT_EQ(output(3, 3), 1u) << "LUT on the output";
    EXPECT_EQ(field(CSC_MATRIX_CTL, outputMatrixEnable, outputMatrixEnable), 1u);
    const std::vector<uint32_t> staged = stagedCscWords(board().pl());
    EXPECT_EQ(staged, outputRecord(CscCtl::MatrixData));
    EXPECT_TRUE(button("videoRangeData")->isChecked());
    EXPECT_TRUE(button("videoAudioCh34")->isChecked());
    EXPECT_FALSE(button("videoOutEnable")->isChecked());
    // With the output off its options are out of the way.
    EXPECT_FALSE(button("videoConversionEnable")->isVisible());
    EXPECT_FALSE(button("videoOutLutEnable")->isVisible());
    EXPECT_EQ(button("videoFormatButton")->text(), "3GB-422-12");

    // Unknown choices fall back to the defaults.
    rebuild("[AppConfig]\nvideoRange=wide\naudioChannel=ch9\nvideoFormat=4K\n");
    EXPECT_TRUE(button("videoRangeVideo")->isChecked());
    EXPECT_TRUE(button("videoAudioCh12")->isChecked());
    EXPECT_EQ(audioGroup(), 0u);
    EXPECT_EQ(button("videoFormatButton")->text(), "Auto");
}

TEST_F(VideoFormatWidgetTest, RangeAndAudioChoicesAndTheirSaving)
{
    build();
    EXPECT_EQ(field(CSC_MATRIX_CTL, outputMatrixEnable, outputMatrixEnable), 0u);
    click(button("videoRangeData"));
    const std::vector<uint32_t> staged = stagedCscWords(board().pl());
    EXPECT_EQ(staged, outputRecord(CscCtl::MatrixData));
    EXPECT_NE(staged, outputRecord(CscCtl::MatrixVideo));
    EXPECT_EQ(field(CSC_MATRIX_CTL, outputMatrixEnable, outputMatrixEnable), 1u);
    click(button("videoRangeVideo"));
    EXPECT_EQ(stagedCscWords(board().pl()), outputRecord(CscCtl::MatrixVideo));

    click(button("videoAudioCh34"));
    EXPECT_EQ(audioGroup(), 1u);
    click(button("videoAudioCh12"));
    EXPECT_EQ(audioGroup(), 0u);
    click(button("videoAudioCh34"));

    expectSavedOnHide(*page, {{"videoRange", "video"}, {"audioChannel", "ch3ch4"}});
}

TEST_F(VideoFormatWidgetTest, OutputSwitchesAndTheirOptions)
{
    build();
    // A 6G SDI source, so that the conversion shows in the transmitter's mode.
    OutCtl::getInstance()->setInput(Video::SDI_SOURCE);
    OutCtl::getInstance()->setSDIMode(Video::SDI_6G);
    EXPECT_EQ(output(20, 20), 0u);
    click(button("videoConversionEnable"));
    EXPECT_EQ(output(15, 15), 1u);
    EXPECT_EQ(output(2, 0), 0u);
    EXPECT_EQ(output(14, 12), 0u);
    click(button("videoConversionEnable"));
    EXPECT_EQ(output(15, 15), 0u);
    EXPECT_EQ(output(2, 0), 4u);

    click(button("videoOutLutEnable"));
    EXPECT_EQ(output(3, 3), 1u);
    EXPECT_EQ(field(CSC_MATRIX_CTL, outputMatrixEnable, outputMatrixEnable), 1u);

    click(button("videoOutEnable"));
    EXPECT_EQ(output(20, 20), 1u);
    EXPECT_FALSE(button("videoConversionEnable")->isVisible());
    click(button("videoOutEnable"));
    EXPECT_EQ(output(20, 20), 0u);
    EXPECT_TRUE(button("videoOutLutEnable")->isVisible());

    expectSavedOnHide(*page, {{"videoOutEnabel", "true"}, {"videoConversionEnable", "false"},
                              {"videoLutEnable", "true"}});
}

TEST_F(SDIFormatTest, StoredFormatIsWrittenAtStartAndAChoiceTakesEffect)
{
    build("[AppConfig]\nvideoFormat=3GA-444-10\n");
    EXPECT_EQ(inputFormat(), 2u);
    EXPECT_TRUE(button("sdiFormat3GA44410")->isChecked());

    std::vector<int> chosen;
    QObject::connect(page.get(), &SDIFormat::signalSDIFormat, page.get(), [&](int index) { chosen.push_back(index); });
    click(button("sdiFormat3GB44412"));
    EXPECT_EQ(inputFormat(), 7u);
    click(button("sdiFormat3GA42212"));
    EXPECT_EQ(inputFormat(), 1u);
    click(button("sdiFormatAuto"));
    EXPECT_EQ(chosen, (std::vector<int>{8, 2, 0}));
    expectSavedOnHide(*page, {{"videoFormat", "Auto"}});
}

TEST_F(SDIFormatTest, AnUnknownStoredFormatMeansAuto)
{
    build("[AppConfig]\nvideoFormat=3GC-422-10\n");
    EXPECT_TRUE(button("sdiFormatAuto")->isChecked());
    EXPECT_EQ(inputFormat(), 0u);
}
