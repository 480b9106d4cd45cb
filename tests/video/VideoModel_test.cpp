#include "BoardTest.h"
#include "Wait.h"
#include "InterruptsCtl.h"
#include "SDICtl.h"
#include "VideoModel.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using sim::VideoModel;

VideoModel::Format parse(const char *size, const char *rate)
{
    VideoModel::Format format;
    std::string error;
    EXPECT_TRUE(VideoModel::parseFormat(size, rate, format, error)) << error;
    return format;
}

} // namespace

TEST(VideoSources, FormatsAndLinksTheReceiverTakes)
{
    VideoModel::Format format;
    std::string error;
    EXPECT_FALSE(VideoModel::parseFormat("1920x", "50i", format, error));
    EXPECT_FALSE(VideoModel::parseFormat("0x0", "50i", format, error));
    EXPECT_FALSE(VideoModel::parseFormat("1920x1080", "50", format, error));
    EXPECT_FALSE(VideoModel::parseFormat("1920x1080", "51p", format, error));
    EXPECT_FALSE(VideoModel::parseFormat("1920x1080", "50x", format, error));

    VideoModel::SdiLink link;
    EXPECT_TRUE(VideoModel::sdiLink(parse("1920x1080", "50i"), link, error));
    EXPECT_EQ(link.mode, 0);
    EXPECT_TRUE(VideoModel::sdiLink(parse("1920x1080", "60p"), link, error));
    EXPECT_EQ(link.mode, 2);
    VideoModel::Format levelB = parse("1920x1080", "50p");
    levelB.levelB = true;
    EXPECT_TRUE(VideoModel::sdiLink(levelB, link, error));
    EXPECT_EQ(VideoModel::st352(levelB, link) & 0xFF, 0x8Au);
    EXPECT_TRUE(VideoModel::sdiLink(parse("4096x2160", "24p"), link, error));
    EXPECT_EQ(link.mode, 4);
    EXPECT_EQ(link.family, 2);
    EXPECT_TRUE(VideoModel::sdiLink(parse("720x576", "50i"), link, error));
    EXPECT_EQ(link.mode, 1);
    EXPECT_FALSE(link.payload);
    EXPECT_FALSE(VideoModel::sdiLink(parse("3840x2160", "60p"), link, error)) << "12G is beyond this receiver";
    EXPECT_FALSE(VideoModel::sdiLink(parse("1920x1080", "60psf"), link, error));
    EXPECT_FALSE(VideoModel::sdiLink(parse("1280x720", "50i"), link, error));
    EXPECT_FALSE(VideoModel::sdiLink(parse("1024x768", "60p"), link, error));

    VideoModel::Timing timing;
    ASSERT_TRUE(VideoModel::timing(parse("1920x1080", "50i"), timing));
    EXPECT_EQ(timing.activePairs, 960u);
    EXPECT_EQ(timing.totalPairs, 1320u);
    EXPECT_EQ(timing.activeLines, 540u);
    EXPECT_EQ(timing.clockPairsKHz, 37125u);
    ASSERT_TRUE(VideoModel::timing(parse("3840x2160", "60p"), timing));
    EXPECT_EQ(timing.clockPairsKHz, 297000u);
    EXPECT_FALSE(VideoModel::timing(parse("1000x1000", "60p"), timing));
}

TEST_F(BoardTest, SdiSourceKeepsTheKeyLevelsAndRaisesTheCarrierLine)
{
    board().interrupts().press(sim::InterruptModel::F2);
    std::string error;
    ASSERT_TRUE(board().video().sdi(parse("1920x1080", "50i"), error));
    EXPECT_EQ(board().pl().field(SDI_IN_INFO, 26, 26), 1u) << "the key level stays";
    EXPECT_EQ(board().pl().field(SDI_IN_INFO, 3, 3), 1u);
    EXPECT_EQ(board().pl().get(SDI_ST352_PL0), 0x01000585u);
    board().interrupts().release(sim::InterruptModel::F2);

    SDICtl *sdi = SDICtl::getInstance();
    ASSERT_TRUE(sdi->isActive());
    board().video().sdiCable(false);
    EXPECT_EQ(board().pl().field(SDI_IN_INFO, 28, 28), 1u);
    EXPECT_TRUE(waitUntil([&] { return !sdi->isActive(); })) << "the carrier interrupt reached the decoder";
    board().video().sdiCable(true);
    EXPECT_TRUE(waitUntil([&] { return sdi->isActive(); }));

    board().video().sdiOff();
    EXPECT_FALSE(sdi->isActive());
}

TEST_F(BoardTest, FrameInterruptsAtTheFrameRateAtMost60AndARunningTimecode)
{
    // The dispatcher keeps its callback past the end of the test, and the
    // board's last frames may still reach it: the count lives as long.
    const auto counted = std::make_shared<std::atomic<int>>(0);
    std::atomic<int> &frames = *counted;
    ASSERT_TRUE(InterruptsCtl::getInstance()->attach(InterruptsCtl::VIDEO_INFO,
                                                     [counted](InterruptsCtl::KeyHandle, int) { ++*counted; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(frames, 0) << "no source, no frames";

    std::string error;
    ASSERT_TRUE(board().video().timecode("10:59:59:20", error));
    EXPECT_EQ(board().pl().get(TIME_CODE_INFO), 0x10595920u);
    EXPECT_FALSE(board().video().timecode("24:00:00:00", error));

    ASSERT_TRUE(board().video().hdmi(0, parse("1920x1080", "119.88p"), error));
    const auto start = std::chrono::steady_clock::now();
    const int before = frames;
    ASSERT_TRUE(waitUntil([&] { return frames - before >= 20; }));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LE(frames - before, static_cast<int>(60 * seconds) + 3) << "capped at 60 a second";
    EXPECT_TRUE(waitUntil([&] { return board().pl().get(TIME_CODE_INFO) >= 0x11000000u; }))
        << "the timecode runs into the next hour";

    board().video().hdmiOff(0);
    EXPECT_EQ(board().pl().get(MAIN_VID_INFO0), 0u);
}
