#include "AssistChannelCtl.h"
#include "BoardTest.h"
#include "DisplayPositionCtl.h"
#include "MainChannelCtl.h"
#include "ResizeCtl.h"

namespace {

class ChannelTest : public BoardTest
{
protected:
    uint32_t reg(FunctionTypeIndex id) { return board().pl().get(id); }
    uint32_t field(FunctionTypeIndex id, int high, int low) { return board().pl().field(id, high, low); }
};

} // namespace

TEST_F(ChannelTest, MainChannelFieldsKeepTheirNeighboursAndRejectBadValues)
{
    board().pl().set(MAIN_CH_CTL, 0xFFFFFFFFu);
    MainChannelCtl *main = MainChannelCtl::getInstance();
    main->inputSelect(Video::HDMI_SOURCE);
    EXPECT_EQ(reg(MAIN_CH_CTL), 0xFFFFFFFDu);
    main->inputSelect(static_cast<Video::InputSource>(7));
    EXPECT_EQ(field(MAIN_CH_CTL, 1, 0), 0u);
    main->pixFormat(Video::PIX_3GB_422_10);
    EXPECT_EQ(field(MAIN_CH_CTL, 13, 12), 3u);
    main->pixFormat(static_cast<Video::PixFormat>(9));
    EXPECT_EQ(field(MAIN_CH_CTL, 13, 12), 0u);
    main->SDIinput(Video::SDI_3GB_444_12);
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 7u);
    main->SDIinput(static_cast<Video::SDIinputFormat>(12));
    EXPECT_EQ(field(MAIN_CH_CTL, 19, 16), 0u);
    main->interlaceMode(Video::PSF);
    EXPECT_EQ(field(MAIN_CH_CTL, 21, 20), 2u);
    main->interlaceMode(static_cast<Video::InterlaceMode>(3));
    EXPECT_EQ(field(MAIN_CH_CTL, 21, 20), 0u);
    main->enable4Kmode(false);
    EXPECT_EQ(field(MAIN_CH_CTL, 2, 2), 0u);
    // Everything outside the fields written stays set.
    EXPECT_EQ(reg(MAIN_CH_CTL) | 0x003FF007u, 0xFFFFFFFFu);
    EXPECT_EQ(field(MAIN_CH_CTL, 31, 22), 0x3FFu);
    main->reset();
    EXPECT_EQ(field(MAIN_CH_CTL, 8, 8), 0u);
}

TEST_F(ChannelTest, AssistPixelFormatOutOfRangeWritesNothing)
{
    AssistChannelCtl *assist = AssistChannelCtl::getInstance();
    assist->pixFormat(Video::PIX_HDMI);
    EXPECT_EQ(field(ASSIST_CH_CTL, 13, 12), 1u);
    assist->pixFormat(static_cast<Video::PixFormat>(0));
    EXPECT_EQ(field(ASSIST_CH_CTL, 13, 12), 1u);
    assist->inputSelect(static_cast<Video::InputSource>(7));
    EXPECT_EQ(field(ASSIST_CH_CTL, 1, 0), 0u);
}

TEST_F(ChannelTest, ScalerStepsAndRightHalfStart)
{
    ResizeCtl *resize = ResizeCtl::getInstance();
    resize->resize(1920, 1080, 2560, 1440);
    EXPECT_EQ(reg(MAIN_RESIZE_VAL), 3072u | 3072u << 16);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 23, 0), 3932160u);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 24, 24), 1u) << "the strobe ends high";
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 0, 0), 1u);

    // 4096 x 2160: the steps differ, the full panel keeps the aspect ratio.
    resize->resize(4096, 2160, 2560, 1440);
    EXPECT_EQ(reg(MAIN_RESIZE_VAL), 6553u | 6553u << 16);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 23, 0), 6553u * 1280u);

    resize->resize(1280, 720, 2560, 1440);
    resize->resizeEnable(true, 1920);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 23, 0), 2048u * 1280u);
    resize->resizeEnable(false, 1920);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 23, 0), 3932160u);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 0, 0), 0u);
    resize->resizeEnable(false, 0);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 23, 0), 3932160u);
}

TEST_F(ChannelTest, AbsurdScalerSizesNeitherCrashNorSpillIntoTheStrobe)
{
    ResizeCtl *resize = ResizeCtl::getInstance();
    resize->resize(65535, 65535, 0, 0);
    EXPECT_EQ(reg(MAIN_RESIZE_VAL), 0u);
    resize->resize(65535, 65535, 1, 1);
    EXPECT_EQ(field(RIGHT_SIDE_POS, 24, 24), 1u);
    resize->resizeZoomPosition(0xFFFF, 0xFFFF);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 19, 8), 0xFFFu);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 31, 20), 0xFFFu);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 0, 0), 1u);
    resize->resizeZoomPosition(128, 360);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 19, 8), 128u);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 31, 20), 360u);
    resize->resizeZoomEnable(true);
    EXPECT_EQ(field(MAIN_RESIZE_CTL, 4, 4), 1u);
}

TEST_F(ChannelTest, DisplayWindowsPerSide)
{
    DisplayPositionCtl *position = DisplayPositionCtl::getInstance();
    position->setPosition(DisplayPositionCtl::SIDE_LEFT, 412, 1372, 186, 1266);
    position->setPosition(DisplayPositionCtl::SIDE_RIGHT, 92, 1052, 186, 1266);
    EXPECT_EQ(reg(LEFT_HOR_SET), 412u | 1372u << 16);
    EXPECT_EQ(reg(LEFT_VER_SET), 186u | 1266u << 16);
    EXPECT_EQ(reg(RIGHT_HOR_SET), 92u | 1052u << 16);
    EXPECT_EQ(reg(RIGHT_VER_SET), 186u | 1266u << 16);
    position->setPosition(static_cast<DisplayPositionCtl::SideType>(2), 1, 2, 3, 4);
    EXPECT_EQ(reg(LEFT_HOR_SET), 412u | 1372u << 16);
    EXPECT_EQ(reg(RIGHT_HOR_SET), 92u | 1052u << 16);
}

TEST_F(ChannelTest, AssistCornerAndHalfScreenLayouts)
{
    AssistChannelCtl *assist = AssistChannelCtl::getInstance();
    assist->inputSelect(Video::SDI_SOURCE);
    assist->setSize(1920, 1080);
    assist->setPicInPic(AssistChannelCtl::PIP_LEFT_TOP);
    EXPECT_EQ(reg(ASSIST_ZOOM_OUT), 12288u | 12288u << 16);
    EXPECT_EQ(reg(ASSIST_ZOOM_IN), 0u) << "corner modes do not scale up";
    assist->zoomIn(960, 540);
    EXPECT_EQ(reg(ASSIST_ZOOM_IN), 0u);

    // Where each layout puts the window is the input page's test.
    assist->setPicInPic(AssistChannelCtl::PIP_RIGHT_BOTTOM);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 6, 5), 0u);

    assist->setPicInPic(AssistChannelCtl::PIP_LEFT_HALF);
    EXPECT_EQ(reg(ASSIST_ZOOM_OUT), 8192u | 8192u << 16);
    EXPECT_EQ(reg(ASSIST_ZOOM_IN), 3072u | 3072u << 16);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 6, 5), 1u);

    assist->enablePicInPic(true);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 4, 4), 1u);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 0, 0), 1u);
    assist->setPicInPic(AssistChannelCtl::PIP_RIGHT_TOP);
    assist->enablePicInPic(true);
    EXPECT_EQ(field(ASSIST_RESIZE_CTL, 4, 4), 0u) << "the half-screen window is off in a corner mode";
    assist->zoomIn(960, 540);
    EXPECT_EQ(reg(ASSIST_ZOOM_IN), 3072u | 3072u << 16) << "zoomIn writes nothing in mode 2";
}

TEST_F(ChannelTest, AssistHdmi4KAndUnsetSizes)
{
    AssistChannelCtl *assist = AssistChannelCtl::getInstance();
    // No size yet: taken as 1920 x 1080.
    assist->setPicInPic(AssistChannelCtl::PIP_LEFT_TOP);
    EXPECT_EQ(reg(ASSIST_ZOOM_OUT), 12288u | 12288u << 16);

    assist->inputSelect(Video::HDMI_SOURCE);
    assist->setSize(3840, 2160);
    EXPECT_EQ(reg(ASSIST_ZOOM_OUT), 49152u | 24576u << 16) << "HDMI 4K corners divide by 320 x 360";
    assist->setPicInPic(AssistChannelCtl::PIP_RIGHT_HALF);
    EXPECT_EQ(reg(ASSIST_ZOOM_OUT), 30720u | 16384u << 16);
    EXPECT_EQ(reg(ASSIST_ZOOM_IN), 3276u | 3072u << 16);

    assist->inputSelect(Video::SDI_SOURCE);
    assist->setSize(1280, 720);
    EXPECT_EQ(reg(ASSIST_ZOOM_OUT), 8192u | 8192u << 16);
    EXPECT_EQ(reg(ASSIST_ZOOM_IN), 2048u | 2048u << 16);
}
