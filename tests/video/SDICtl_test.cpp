#include "BoardTest.h"
#include "ChangeDebounce.h"
#include "Emulation.h"
#include "SDICtl.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <chrono>
#include <thread>
#include <tuple>
#include <vector>

namespace {

// SDI_IN_INFO words as the receiver reports them.
constexpr uint32_t locked = 1u << 3;
constexpr uint32_t familyValid = 1u << 8;
constexpr uint32_t progressive = 1u << 9;
constexpr uint32_t levelB = 1u << 10;
constexpr uint32_t payloadValid = 1u << 20;
constexpr uint32_t carrierLost = 1u << 28;

uint32_t family(uint32_t code) { return code << 4 | familyValid; }
uint32_t rate(uint32_t code) { return code << 12; }

class SDITest : public BoardTest
{
protected:
    void receive(uint32_t info, uint32_t payload = 0)
    {
        board().pl().set(SDI_ST352_PL0, payload);
        board().pl().set(SDI_IN_INFO, info);
    }
    std::string text()
    {
        std::string result;
        EXPECT_TRUE(SDICtl::getInstance()->getInfo(result));
        return result;
    }
    // Whether the decoder holds its size valid, and the size it gives.
    std::tuple<bool, int, int> size()
    {
        int width = 0;
        int height = 0;
        const bool valid = SDICtl::getInstance()->getSize(width, height);
        return {valid, width, height};
    }
};

} // namespace

TEST(ChangeDebounce, OneNotificationPer750msAndNoneLost)
{
    ChangeDebounce debounce;
    timeval start;
    gettimeofday(&start, nullptr);
    auto at = [&](long ms) {
        timeval t = start;
        t.tv_sec += 10 + ms / 1000;
        t.tv_usec += (ms % 1000) * 1000;
        if (t.tv_usec >= 1000000) {
            t.tv_sec += 1;
            t.tv_usec -= 1000000;
        }
        return t;
    };
    EXPECT_FALSE(debounce.poll(false, at(0))) << "nothing to notify";
    EXPECT_TRUE(debounce.poll(true, at(0)));
    EXPECT_FALSE(debounce.poll(true, at(100)));
    EXPECT_FALSE(debounce.poll(true, at(200)));
    EXPECT_TRUE(debounce.pending());
    EXPECT_FALSE(debounce.poll(false, at(749)));
    EXPECT_TRUE(debounce.poll(false, at(750))) << "the burst's last change comes later";
    EXPECT_FALSE(debounce.poll(false, at(5000)));
    // A clock that went backwards restarts the interval rather than notifying.
    EXPECT_FALSE(debounce.poll(true, at(500)));
    EXPECT_FALSE(debounce.poll(false, at(1249)));
    EXPECT_TRUE(debounce.poll(false, at(1250)));
    // A gap of whole seconds with a smaller microsecond part still counts.
    EXPECT_TRUE(debounce.poll(true, at(3100)));
    EXPECT_TRUE(debounce.poll(true, at(9000)));
}

TEST_F(SDITest, HdFormatsDecodeFromThePayload)
{
    SDICtl *sdi = SDICtl::getInstance();
    // 1080i50, 4:2:2 10-bit: interlaced transport, rate code 5 (25 frames).
    receive(locked | family(0) | payloadValid, 0x01000585);
    EXPECT_TRUE(sdi->parase()) << "the first reading is a change";
    EXPECT_EQ(text(), "1920x1080 50i 422 10bit");
    EXPECT_EQ(sdi->interlance(), Video::INTERLACED);
    EXPECT_EQ(sdi->getPayLoad(), 0x01000585u);
    EXPECT_FALSE(sdi->parase()) << "same words, no change";

    // 1080 PsF 23.98: progressive picture on an interlaced transport.
    receive(locked | family(0) | payloadValid, 0x01004285);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "1920x1080 23.98psf 422 10bit");
    EXPECT_EQ(sdi->interlance(), Video::PSF);

    // 720p59.94 (family 1): progressive.
    receive(locked | family(1) | payloadValid, 0x0100CA84);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "1280x720 59.94p 422 10bit");
    EXPECT_EQ(sdi->interlance(), Video::PROGRESSIVE);
    EXPECT_EQ(size(), std::make_tuple(true, 1280, 720));
    EXPECT_EQ(sdi->sdiMode(), Video::SDI_HD);
    EXPECT_EQ(sdi->pixFormat(), Video::PIX_SDI);
    EXPECT_EQ(sdi->depth(), Video::DEPTH_10);

    // Bits outside the payload fields do not count as a change.
    receive(locked | family(1) | payloadValid, 0x0100CA84 | 0xFC0030FFu);
    EXPECT_FALSE(sdi->parase());
}

// The texts of 3G level A 4:4:4 and of 6G are the SDI scenario's.
TEST_F(SDITest, ThreeGAndSixG)
{
    SDICtl *sdi = SDICtl::getInstance();
    // 3G level B, 10-bit 4:2:2: two interleaved streams, reported progressive.
    receive(2 | locked | family(0) | levelB | payloadValid, 0x01000589);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(sdi->pixFormat(), Video::PIX_3GB_422_10);
    EXPECT_EQ(sdi->interlance(), Video::PROGRESSIVE);
    EXPECT_EQ(sdi->level(), Video::LEVEL_B);
    EXPECT_EQ(sdi->sdiMode(), Video::SDI_3G);
    EXPECT_EQ(text(), "1920x1080 50p 422 10bit");

    // 3G level A 4:4:4 RGB 12-bit.
    receive(2 | locked | family(0) | payloadValid, 0x0202CA89);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(sdi->sampling(), Video::SAMPLING_RGB444);
    EXPECT_EQ(sdi->depth(), Video::DEPTH_12);
    EXPECT_EQ(sdi->pixFormat(), Video::PIX_SDI);

    // 6G with family 0 is 3840 x 2160.
    receive(4 | locked | family(0) | payloadValid, 0x0100C7C0);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(size(), std::make_tuple(true, 3840, 2160));
    EXPECT_EQ(sdi->pixFormat(), Video::PIX_6G);
    EXPECT_EQ(sdi->sdiMode(), Video::SDI_6G);
    // Outside 3G the sampling is always 4:2:2.
    EXPECT_EQ(sdi->sampling(), Video::SAMPLING_YCBCR422);
}

TEST_F(SDITest, MissingPayloadAndUnknownFamily)
{
    SDICtl *sdi = SDICtl::getInstance();
    // No payload, no family: the measured size (pairs of pixels) and "60".
    board().pl().set(MAIN_VID_INFO1, 2200u / 2 << 16 | 1920u / 2);
    board().pl().set(MAIN_VID_INFO2, 1125u << 16 | 1080u);
    receive(locked);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "1920x1080 60p 422 10bit");
    EXPECT_EQ(sdi->interlance(), Video::PROGRESSIVE);
    EXPECT_EQ(sdi->getPayLoad(), 0u);
    EXPECT_EQ(sdi->depth(), Video::DEPTH_10);
    // Without a family, a new measurement alone is a change.
    EXPECT_FALSE(sdi->parase());
    board().pl().set(MAIN_VID_INFO1, 1650u / 2 << 16 | 1280u / 2);
    board().pl().set(MAIN_VID_INFO2, 750u << 16 | 720u);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "1280x720 60p 422 10bit");

    // A valid family without payload takes rate and scan from the info word.
    receive(locked | family(9) | rate(5));
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "720x486 50i 422 10bit") << "PAL shows as 720x486";
    receive(locked | family(0) | rate(2) | progressive);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "1920x1080 23.98p 422 10bit");

    // A family not in the table with a measured size that is not valid.
    board().pl().set(MAIN_VID_INFO1, 0xFFFF);
    board().pl().set(MAIN_VID_INFO2, 0xFFFF);
    receive(locked | 7 << 4);
    EXPECT_TRUE(sdi->parase());
    EXPECT_EQ(text(), "Unknow");
    EXPECT_EQ(size(), std::make_tuple(false, 1920, 1080)) << "the default size";
}

TEST_F(SDITest, LockAndCarrierLoss)
{
    SDICtl *sdi = SDICtl::getInstance();
    receive(0);
    EXPECT_FALSE(sdi->parase());
    EXPECT_EQ(text(), "Unknow");
    receive(locked | family(0) | payloadValid, 0x0100CA89);
    EXPECT_TRUE(sdi->parase());
    EXPECT_TRUE(sdi->isActive());

    // Every bit set includes the carrier-lost bit: inactive, nothing decoded.
    receive(0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_FALSE(sdi->parase());
    EXPECT_FALSE(sdi->isActive());
    EXPECT_EQ(text(), "Unknow");

    // Cable back: the receiver is reset and the same format counts again.
    receive(locked | family(0) | payloadValid, 0x0100CA89);
    sdi->carrierDetect(InterruptsCtl::KEY_CLICKED, 0);
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 28, 28), 0u);
    EXPECT_TRUE(sdi->isActive());
    EXPECT_TRUE(sdi->parase());

    // Every bit but the carrier: an unknown mode and family, no crash.
    receive(0xEFFFFFFFu, 0xFFFFFFFFu);
    sdi->parase();
    EXPECT_EQ(sdi->sdiMode(), Video::SDI_HD);
    EXPECT_EQ(sdi->depth(), Video::DEPTH_UNKNOWN);
    text();
}

TEST_F(SDITest, TwoChangesWithin750msGiveOneSignalAndTheSecondLater)
{
    SDICtl *sdi = SDICtl::getInstance();
    QSignalSpy spy(sdi, &SDICtl::updateVideoFormat);
    auto pollUntil = [&](int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (spy.count() < count && std::chrono::steady_clock::now() < deadline) {
            sdi->update(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return spy.count();
    };
    // When each signal left: the debounce interval runs between emissions.
    std::vector<std::chrono::steady_clock::time_point> emitted;
    QObject::connect(sdi, &SDICtl::updateVideoFormat, sdi,
                     [&emitted] { emitted.push_back(std::chrono::steady_clock::now()); }, Qt::DirectConnection);
    receive(locked | family(0) | payloadValid, 0x0100CA89);
    ASSERT_EQ(pollUntil(1), 1);

    receive(locked | family(0) | payloadValid, 0x01000585);
    sdi->update(0);
    receive(locked | family(1) | payloadValid, 0x0100CA84);
    sdi->update(0);
    ASSERT_EQ(pollUntil(2), 2) << "the change of the burst is delivered later";
    // The debouncer divides the microseconds by 1000 before it compares, so
    // across a second boundary its truncation gains up to a millisecond and
    // it may notify as early as 749.0 ms; it also reads the time of day a
    // moment before these stamps are taken. Hence 748 (740 under emulation,
    // where that moment is longer).
    EXPECT_GE(emitted[1] - emitted[0], std::chrono::milliseconds(emulator() != nullptr ? 740 : 748));
    EXPECT_EQ(text(), "1280x720 59.94p 422 10bit");
    for (int i = 0; i < 100; ++i)
        sdi->update(1);
    EXPECT_EQ(spy.count(), 2) << "no change, no signal";
    EXPECT_EQ(spy.at(1).at(0).toInt(), 0);
}

TEST_F(SDITest, AFloodOfReadingsHoldsTheDebounce)
{
    SDICtl *sdi = SDICtl::getInstance();
    QSignalSpy spy(sdi, &SDICtl::updateVideoFormat);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20000; ++i) {
        // Every reserved bit set as well.
        receive(locked | family(i % 2) | payloadValid | 0xE1EF0800u, i % 2 ? 0x0100CA84 : 0x0100CA89);
        sdi->update(0);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const long maxSignals = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 750 + 1;
    EXPECT_LE(spy.count(), maxSignals);
    EXPECT_EQ(text(), "1280x720 59.94p 422 10bit") << "the reserved bits change nothing";
}
