#include "BoardTest.h"
#include "FrameCtl.h"

TEST_F(BoardTest, FrameCaptureControlFields)
{
    board().pl().set(FRAME_CAP_CTL, 0x1u);
    FrameCtl *frame = FrameCtl::getInstance();
    EXPECT_EQ(board().pl().get(FRAME_CAP_CTL), 0u) << "construction disarms";
    EXPECT_NE(frame->saveAddress(), nullptr);
    EXPECT_NE(frame->loadAddress(), nullptr);

    frame->frameSave(0);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 3, 0), 0x9u);
    frame->frameSave(1);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 3, 0), 0x0u);

    frame->frameOpacity(50);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 17, 8), 511u);
    frame->framePosition(50);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 31, 20), 1280u);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 5, 5), 1u);
    // Out-of-range percentages stay within their fields.
    frame->frameOpacity(1000);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 17, 8), 1023u);
    frame->framePosition(-20);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 31, 20), 0u);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 19, 18), 0u);

    frame->frameFreeze(true);
    frame->frameLutEnable(true);
    frame->frameLoad();
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 4, 1), 0xBu);
    frame->frameOverlay(false);
    frame->framePreview(false);
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 5, 4), 0u);
}
