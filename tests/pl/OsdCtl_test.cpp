#include "BoardTest.h"
#include "Wait.h"
#include "OsdCtl.h"
#include "UartAPI.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr uint32_t planeBit = 1u << 0;
constexpr uint32_t mainBit = 1u << 4;
constexpr uint32_t assistBit = 1u << 5;

class OsdCtlTest : public BoardTest
{
protected:
    uint32_t osd() { return board().pl().get(OSD_CTL); }
    uint32_t opacity() { return board().pl().field(OSD_CTL, 25, 16); }
    bool planeOn() { return (osd() & planeBit) != 0; }

    // Whether every byte of the frame-compare region is 0xFF.
    bool frameLoadCleared()
    {
        const auto *bytes = static_cast<const unsigned char *>(board().pl().memory(PLMemory::FRAME_LOAD));
        const size_t size = PLMemory::getPhyicsSize(PLMemory::FRAME_LOAD);
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] != 0xFF)
                return false;
        }
        return true;
    }
};

} // namespace

TEST_F(OsdCtlTest, ConstructionTurnsTheLayersOffAndOpacityIsHeldToItsRangeAndTruncated)
{
    board().pl().set(OSD_CTL, 0xFFFFFFFFu);
    OsdCtl *ctl = OsdCtl::getInstance();
    EXPECT_EQ(osd(), 0xFFFFFFFFu & ~(planeBit | mainBit | assistBit)) << "the three layers off, the rest kept";

    board().pl().set(OSD_CTL, 0xFC000031u);
    const struct {
        float opacity;
        uint32_t field;
    } cases[] = {{0.05f, 102}, {2.0f, 1023}, {0.5f, 511}, {1.0f, 1023}, {0.1f, 102},
                 {0.75f, 767}, {-3.0f, 102}, {std::nanf(""), 102}};
    for (const auto &c : cases) {
        ctl->setOpactiy(c.opacity);
        EXPECT_EQ(opacity(), c.field) << c.opacity;
        EXPECT_EQ(osd() & ~0x03FF0000u, 0xFC000031u) << "other fields changed by " << c.opacity;
    }
}

TEST_F(OsdCtlTest, OnlyLayerOneIsTheAssistLayer)
{
    OsdCtl *ctl = OsdCtl::getInstance();
    ctl->setVideoEnable(7, true);
    EXPECT_EQ(osd(), mainBit);
    ctl->setVideoEnable(1, true);
    EXPECT_EQ(osd(), mainBit | assistBit);
    ctl->setVideoEnable(0, false);
    EXPECT_EQ(osd(), assistBit);
    ctl->setEnable(true);
    EXPECT_EQ(osd(), assistBit | planeBit);
}

TEST_F(OsdCtlTest, ShowRunsOnceAfterTheDelayEvenWhenStartComesFirst)
{
    OsdCtl *ctl = OsdCtl::getInstance();
    board().mcu().setBootDelay(0);
    UartInit();
    std::memset(board().pl().memory(PLMemory::FRAME_LOAD), 0x5A, 4096);
    ctl->start(true, false);
    const auto initialised = Clock::now();
    ctl->init();
    ASSERT_TRUE(waitUntil([&] { return planeOn(); }));
    EXPECT_GE(Clock::now() - initialised, 600ms);
    EXPECT_EQ(osd() & (mainBit | assistBit), mainBit);
    EXPECT_TRUE(waitUntil([&] { return frameLoadCleared(); }));
    ASSERT_TRUE(waitUntil([&] { return board().mcu().count(7) > 0; }));

    // No second show: neither another start nor another init brings the plane back.
    ctl->setEnable(false);
    ctl->start(true, true);
    ctl->init();
    std::this_thread::sleep_for(1500ms);
    EXPECT_FALSE(planeOn());
    EXPECT_EQ(osd() & (mainBit | assistBit), mainBit);
    ASSERT_EQ(board().mcu().count(7), 1u);
    for (const sim::McuModel::Frame &frame : board().mcu().received()) {
        if (frame.command == 7) {
            EXPECT_EQ(frame.data, std::vector<uint8_t>{0});
        }
    }
}
