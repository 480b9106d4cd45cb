#include "AssistChannelCtl.h"
#include "Video.h"

#include <gtest/gtest.h>

// The settings texts are what "config.ini" keeps between versions: they must
// round-trip and unknown texts must fall back as the settings expect.
TEST(Vocabulary, SdiFormatTextsRoundTripAndAutoIsNoFormat)
{
    const char *texts[] = {"3GA-422-10", "3GA-422-12", "3GA-444-10", "3GA-444-12",
                           "3GB-422-10", "3GB-422-12", "3GB-444-10", "3GB-444-12"};
    for (int value = 0; value < 8; ++value) {
        Video::SDIinputFormat format = Video::SDI_3GA_422_10;
        ASSERT_TRUE(Video::sdiInputFormatFromText(texts[value], format)) << texts[value];
        EXPECT_EQ(format, value);
        EXPECT_EQ(Video::sdiInputFormatText(value), texts[value]);
    }
    Video::SDIinputFormat untouched = Video::SDI_3GB_444_12;
    EXPECT_FALSE(Video::sdiInputFormatFromText("Auto", untouched));
    EXPECT_FALSE(Video::sdiInputFormatFromText("3ga-422-10", untouched));
    EXPECT_EQ(untouched, Video::SDI_3GB_444_12);
    EXPECT_EQ(Video::sdiInputFormatText(8), "");
    EXPECT_EQ(Video::sdiInputFormatText(-1), "");
}

TEST(Vocabulary, AutomaticSdiFormatCoversTheTableAndNothingElse)
{
    struct Case {
        Video::BitDepth depth;
        Video::Sampling sampling;
        int levelA;
        int levelB;
    };
    const Case table[] = {
        {Video::DEPTH_10, Video::SAMPLING_RGB444, 2, 6},    {Video::DEPTH_10, Video::SAMPLING_YCBCR444, 2, 6},
        {Video::DEPTH_10, Video::SAMPLING_YCBCR422, 0, 4},  {Video::DEPTH_12, Video::SAMPLING_RGB444, 3, 7},
        {Video::DEPTH_12, Video::SAMPLING_YCBCR444, 3, 7},  {Video::DEPTH_12, Video::SAMPLING_YCBCR422, 1, 5},
    };
    for (const Case &c : table) {
        Video::SDIinputFormat format = Video::SDI_3GA_422_10;
        ASSERT_TRUE(Video::sdiInputFormatOf(c.depth, Video::LEVEL_A, c.sampling, format));
        EXPECT_EQ(format, c.levelA);
        ASSERT_TRUE(Video::sdiInputFormatOf(c.depth, Video::LEVEL_B, c.sampling, format));
        EXPECT_EQ(format, c.levelB);
    }
    Video::SDIinputFormat format = Video::SDI_3GA_422_10;
    EXPECT_FALSE(Video::sdiInputFormatOf(Video::DEPTH_8, Video::LEVEL_A, Video::SAMPLING_YCBCR422, format));
    EXPECT_FALSE(Video::sdiInputFormatOf(Video::DEPTH_UNKNOWN, Video::LEVEL_B, Video::SAMPLING_RGB444, format));
    EXPECT_FALSE(Video::sdiInputFormatOf(Video::DEPTH_10, Video::LEVEL_A, static_cast<Video::Sampling>(0), format));
}

TEST(Vocabulary, PictureInPictureTextsAndFallback)
{
    const char *texts[] = {"leftTop", "leftBottom", "rightTop", "rightBottom", "leftHalf", "rightHalf"};
    for (int mode = 0; mode < 6; ++mode) {
        EXPECT_EQ(AssistChannelCtl::picInPicMode(texts[mode]), mode);
        EXPECT_EQ(AssistChannelCtl::picInPicText(static_cast<AssistChannelCtl::PicInPicMode>(mode)), texts[mode]);
    }
    EXPECT_EQ(AssistChannelCtl::picInPicMode("middle"), AssistChannelCtl::PIP_RIGHT_TOP);
    EXPECT_EQ(AssistChannelCtl::picInPicMode(""), AssistChannelCtl::PIP_RIGHT_TOP);
    EXPECT_TRUE(AssistChannelCtl::isHalfScreen(AssistChannelCtl::PIP_LEFT_HALF));
    EXPECT_TRUE(AssistChannelCtl::isHalfScreen(AssistChannelCtl::PIP_RIGHT_HALF));
    EXPECT_FALSE(AssistChannelCtl::isHalfScreen(AssistChannelCtl::PIP_RIGHT_BOTTOM));
}
