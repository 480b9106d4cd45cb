#include "BitWatch.h"
#include "BoardTest.h"
#include "CscCtl.h"
#include "CscStaging.h"
#include "OutCtl.h"

#include <vector>

namespace {

class OutTest : public BoardTest
{
protected:
    uint32_t out(int high, int low) { return board().pl().field(SDI_OUT_CTRL, high, low); }
    // A source handed to the output, which is then updated.
    void send(Video::InputSource input, Video::SDIMode mode, int width, int height, unsigned int payload,
              Video::BitDepth depth = Video::DEPTH_10, Video::Level level = Video::LEVEL_A,
              Video::Sampling sampling = Video::SAMPLING_YCBCR422)
    {
        OutCtl *o = OutCtl::getInstance();
        o->setInput(input);
        o->setSDIMode(mode);
        o->setStlye(depth, level, sampling);
        o->setSize(width, height);
        o->setPayLoad(payload);
        o->outputUpdate();
    }
};

} // namespace

TEST_F(OutTest, SdSourceLeavesClockStrobeAndResetAlone)
{
    board().pl().set(SDI_OUT_CTRL, 0x7u << 9);
    send(Video::SDI_SOURCE, Video::SDI_SD, 720, 486, 0);
    EXPECT_EQ(out(2, 0), 1u) << "SD mode";
    EXPECT_EQ(out(11, 9), 7u);
    EXPECT_EQ(out(8, 8), 0u) << "no strobe";
    EXPECT_EQ(out(19, 16), 0u);
}

TEST_F(OutTest, ThreeGAndSixGModesFormatsAndClocks)
{
    OutCtl *o = OutCtl::getInstance();
    // 3G level B 4:4:4 12-bit.
    send(Video::SDI_SOURCE, Video::SDI_3G, 1920, 1080, 0x0202CA89, Video::DEPTH_12, Video::LEVEL_B,
         Video::SAMPLING_RGB444);
    EXPECT_EQ(out(2, 0), 2u);
    EXPECT_EQ(out(19, 16), 7u);
    EXPECT_EQ(out(14, 12), 1u) << "level B multiplex";
    EXPECT_EQ(out(11, 9), 0u);
    EXPECT_EQ(out(8, 8), 1u) << "the clock strobe ends high";
    EXPECT_EQ(out(20, 20), 0u) << "out of reset";
    EXPECT_EQ(board().pl().get(SDIOUT_ST352_PL), 0x0202CA89u);

    // 6G without conversion (its mode and multiplex are the SDI scenario's).
    send(Video::SDI_SOURCE, Video::SDI_6G, 3840, 2160, 0x0100C7C0);
    EXPECT_EQ(out(15, 15), 0u);
    EXPECT_EQ(board().pl().get(SDIOUT_ST352_PL), 0x0100C7C0u);

    // 6G converted: sent as HD, identified as 1080-line HD in byte 1.
    o->Output6GConverts(true);
    o->outputUpdate();
    EXPECT_EQ(out(2, 0), 0u);
    EXPECT_EQ(out(14, 12), 0u);
    EXPECT_EQ(out(15, 15), 1u);
    EXPECT_EQ(o->payLoad(), 0x0100C785u);
    EXPECT_EQ(out(11, 9), 0u);

    // The conversion bit is only touched for a 6G source.
    send(Video::SDI_SOURCE, Video::SDI_HD, 1280, 720, 0x0100CA84);
    EXPECT_EQ(out(15, 15), 1u);
    EXPECT_EQ(out(2, 0), 0u);
    EXPECT_EQ(out(27, 24), 1u) << "720-line family";
    EXPECT_EQ(out(11, 9), 1u);
}

TEST_F(OutTest, HdmiAndWirelessSources)
{
    OutCtl *o = OutCtl::getInstance();
    board().pl().set(SDI_OUT_CTRL, 0x5u << 16);
    // Source, mode, size and payload; the mode and clock written.
    const struct {
        Video::InputSource input;
        Video::SDIMode mode;
        int width, height;
        unsigned int payload;
        uint32_t sentMode, clock;
    } cases[] = {
        {Video::HDMI_SOURCE, Video::SDI_3G, 1920, 1080, 0x0100CB89, 2, 1},
        {Video::HDMI_SOURCE, Video::SDI_HD, 1920, 1080, 0x01000785, 0, 2},
        {Video::WHDI_SOURCE, Video::SDI_HD, 1280, 720, 0x0100CB84, 0, 1},
        {Video::WHDI_SOURCE, Video::SDI_3G, 1920, 1080, 0x0100CB89, 2, 0},
    };
    for (const auto &c : cases) {
        send(c.input, c.mode, c.width, c.height, c.payload, Video::DEPTH_UNKNOWN);
        EXPECT_EQ(out(2, 0), c.sentMode) << c.input << " " << c.payload;
        EXPECT_EQ(out(11, 9), c.clock) << c.input << " " << c.payload;
        EXPECT_EQ(out(19, 16), 0u) << "no SDI format for other sources";
    }

    o->setHDMICtl(0x00600420, 0x00280460);
    EXPECT_EQ(board().pl().get(HDMI_HOR_CTL), 0x00600420u);
    EXPECT_EQ(board().pl().get(HDMI_VER_CTL), 0x00280460u);
    o->SDIoutput(static_cast<Video::SDIinputFormat>(9));
    EXPECT_EQ(out(19, 16), 0u);
}

TEST_F(OutTest, MuteAndRegainCounting)
{
    OutCtl *o = OutCtl::getInstance();
    send(Video::SDI_SOURCE, Video::SDI_HD, 1920, 1080, 0x01000585);
    o->outOff();
    o->outOff();
    EXPECT_EQ(out(20, 20), 1u);
    o->outputUpdate();
    EXPECT_EQ(out(20, 20), 1u) << "no reset while muted";
    o->outRegain();
    EXPECT_EQ(out(20, 20), 0u) << "one regain undoes any number of mutes";
    o->outRegain();
    EXPECT_EQ(out(20, 20), 0u);

    // Switched off by the user: regain and reset keep it off.
    o->setOutEnable(false);
    o->outOff();
    o->outRegain();
    EXPECT_EQ(out(20, 20), 1u);
    o->outputUpdate();
    EXPECT_EQ(out(20, 20), 1u);
    o->setOutEnable(true);
    EXPECT_EQ(out(20, 20), 0u);

    o->lutEnable(true);
    EXPECT_EQ(out(3, 3), 1u);
    o->lutEnable(false);
    EXPECT_EQ(out(3, 3), 0u);
}

TEST_F(OutTest, ClockStrobeFollowsTheSettingsAndTheResetFollowsTheStrobe)
{
    OutCtl *o = OutCtl::getInstance();
    send(Video::HDMI_SOURCE, Video::SDI_3G, 1920, 1080, 0x0100CA89, Video::DEPTH_UNKNOWN);
    // At rest the strobe is high and the transmitter runs.
    auto prepare = [&] {
        board().pl().set(SDI_OUT_CTRL, 1u << 8);
        board().pl().set(SDIOUT_ST352_PL, 0);
    };
    auto action = [&] { o->outputUpdate(); };

    uint32_t atStrobe = 0;
    uint32_t payloadAtStrobe = 0;
    ASSERT_TRUE(watchEdge(board().pl(), SDI_OUT_CTRL, 8, false, prepare, action, [&](uint32_t word) {
        atStrobe = word;
        payloadAtStrobe = board().pl().get(SDIOUT_ST352_PL);
    }));
    EXPECT_EQ((atStrobe >> 9) & 7u, 1u) << "the clock is chosen before the strobe";
    EXPECT_EQ(atStrobe & 7u, 2u) << "so is the mode";
    EXPECT_EQ(payloadAtStrobe, 0x0100CA89u) << "and the payload";
    EXPECT_EQ((atStrobe >> 20) & 1u, 0u) << "the reset comes after the strobe";

    uint32_t atReset = 0;
    ASSERT_TRUE(watchEdge(board().pl(), SDI_OUT_CTRL, 20, true, prepare, action,
                          [&](uint32_t word) { atReset = word; }));
    EXPECT_EQ((atReset >> 8) & 1u, 1u) << "the strobe has ended when the reset starts";
    EXPECT_EQ((atReset >> 9) & 7u, 1u);
    EXPECT_EQ(out(20, 20), 0u) << "the transmitter runs again";
    EXPECT_EQ(out(8, 8), 1u);
}

TEST_F(OutTest, OutputMatrixFollowsTheRangeAndTheLut)
{
    OutCtl *o = OutCtl::getInstance();
    CscCtl *csc = CscCtl::getInstance();
    auto staged = [&] { return stagedCscWords(board().pl()); };
    auto outputRecord = [&](CscCtl::MatrixType type) {
        csc->matrixOutputLoad(type);
        return staged();
    };
    const std::vector<uint32_t> video = outputRecord(CscCtl::MatrixVideo);
    const std::vector<uint32_t> full = outputRecord(CscCtl::MatrixData);
    ASSERT_NE(video, full);
    auto outputEnabled = [&] { return (board().pl().get(CSC_MATRIX_CTL) >> 8) & 1u; };

    o->setInput(Video::SDI_SOURCE);
    o->setRange("video");
    o->lutEnable(true);
    o->outputUpdateMatrix();
    EXPECT_EQ(staged(), video);
    EXPECT_EQ(outputEnabled(), 1u);
    o->setRange("data");
    o->matrixLoad(true);
    EXPECT_EQ(staged(), full);

    // Without the LUT on the output the block goes off, except for HDMI.
    o->lutEnable(false);
    o->setInput(Video::HDMI_SOURCE);
    o->outputUpdateMatrix();
    EXPECT_EQ(outputEnabled(), 1u);
    o->setInput(Video::WHDI_SOURCE);
    o->outputUpdateMatrix();
    EXPECT_EQ(outputEnabled(), 0u);
}
