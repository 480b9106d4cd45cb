#include "BoardTest.h"
#include "HDMICtl.h"
#include "OutCtl.h"
#include "SDICtl.h"
#include "VideoModel.h"
#include "WHDICtl.h"

#include <map>
#include <vector>

// The ST 352 payload identifier as the standard writes it down, independent of
// the tables of the decoders: byte 1 names the picture and link, byte 2 holds
// the progressive transport flag (bit 7), the progressive picture flag (bit 6)
// and the picture-rate code (bits 0 to 3, the frame rate); byte 3 0 is 4:2:2
// YCbCr, byte 4 1 is 10 bits.
namespace {

constexpr uint32_t id720 = 0x84;
constexpr uint32_t id1080HD = 0x85;
constexpr uint32_t id1080ThreeGA = 0x89;

const std::map<std::string, uint32_t> rateCodes = {{"23.98", 2}, {"24", 3},    {"25", 5},     {"29.97", 6},
                                                   {"30", 7},    {"50", 9},    {"59.94", 10}, {"60", 11}};

enum class Scan { P, I, PsF };

uint32_t standardWord(uint32_t identifier, const std::string &frameRate, Scan scan)
{
    const uint32_t transport = scan == Scan::P ? 0x80 : 0;
    const uint32_t picture = scan == Scan::I ? 0 : 0x40;
    return identifier | (transport | picture | rateCodes.at(frameRate)) << 8 | 0u << 16 | 1u << 24;
}

struct Case {
    const char *size;
    const char *rate; // as the scenario writes it
    uint32_t identifier;
    const char *frameRate;
    Scan scan;
};

// 720p and 1080p up to 30 Hz on HD, 1080p from 50 Hz on 3G level A, 1080i
// on HD with the frame rate in the code.
const std::vector<Case> progressive = {
    {"1280x720", "50p", id720, "50", Scan::P},           {"1280x720", "59.94p", id720, "59.94", Scan::P},
    {"1280x720", "60p", id720, "60", Scan::P},           {"1920x1080", "23.98p", id1080HD, "23.98", Scan::P},
    {"1920x1080", "24p", id1080HD, "24", Scan::P},       {"1920x1080", "25p", id1080HD, "25", Scan::P},
    {"1920x1080", "29.97p", id1080HD, "29.97", Scan::P}, {"1920x1080", "30p", id1080HD, "30", Scan::P},
    {"1920x1080", "50p", id1080ThreeGA, "50", Scan::P},  {"1920x1080", "59.94p", id1080ThreeGA, "59.94", Scan::P},
    {"1920x1080", "60p", id1080ThreeGA, "60", Scan::P},
};
const std::vector<Case> interlaced = {
    {"1920x1080", "50i", id1080HD, "25", Scan::I},
    {"1920x1080", "59.94i", id1080HD, "29.97", Scan::I},
    {"1920x1080", "60i", id1080HD, "30", Scan::I},
};
const std::vector<Case> segmented = {
    {"1920x1080", "23.98psf", id1080HD, "23.98", Scan::PsF}, {"1920x1080", "24psf", id1080HD, "24", Scan::PsF},
    {"1920x1080", "25psf", id1080HD, "25", Scan::PsF},       {"1920x1080", "29.97psf", id1080HD, "29.97", Scan::PsF},
};

sim::VideoModel::Format format(const Case &c)
{
    sim::VideoModel::Format result;
    std::string error;
    EXPECT_TRUE(sim::VideoModel::parseFormat(c.size, c.rate, result, error)) << error;
    return result;
}

} // namespace

TEST(ST352, TheBoardsSdiPayloadsFollowTheStandard)
{
    for (const auto *cases : {&progressive, &interlaced, &segmented}) {
        for (const Case &c : *cases) {
            sim::VideoModel::SdiLink link;
            std::string error;
            ASSERT_TRUE(sim::VideoModel::sdiLink(format(c), link, error)) << c.size << " " << c.rate << ": " << error;
            EXPECT_EQ(sim::VideoModel::st352(format(c), link), standardWord(c.identifier, c.frameRate, c.scan))
                << c.size << " " << c.rate;
        }
    }
}

TEST_F(BoardTest, St352OfTheSdiDecoderAndTheOutput)
{
    SDICtl *sdi = SDICtl::getInstance();
    OutCtl *out = OutCtl::getInstance();
    for (const Case &c : progressive) {
        std::string error;
        ASSERT_TRUE(board().video().sdi(format(c), error)) << error;
        sdi->parase();
        const uint32_t expected = standardWord(c.identifier, c.frameRate, c.scan);
        EXPECT_EQ(sdi->getPayLoad(), expected) << c.size << " " << c.rate;
        out->setInput(Video::SDI_SOURCE);
        out->setSDIMode(sdi->sdiMode());
        out->setPayLoad(sdi->getPayLoad());
        out->outputUpdate();
        EXPECT_EQ(board().pl().get(SDIOUT_ST352_PL), expected) << c.size << " " << c.rate;
    }
    // A 6G picture converted for an HD link is announced as 1080-line HD.
    sim::VideoModel::Format uhd;
    std::string error;
    ASSERT_TRUE(sim::VideoModel::parseFormat("3840x2160", "30p", uhd, error));
    ASSERT_TRUE(board().video().sdi(uhd, error)) << error;
    sdi->parase();
    out->setSDIMode(sdi->sdiMode());
    out->setPayLoad(sdi->getPayLoad());
    out->Output6GConverts(true);
    out->outputUpdate();
    EXPECT_EQ(board().pl().get(SDIOUT_ST352_PL), standardWord(id1080HD, "30", Scan::P));
}

TEST_F(BoardTest, St352OfTheHdmiDecoder)
{
    HDMICtl *hdmi = HDMICtl::getInstance();
    for (const auto *cases : {&progressive, &interlaced}) {
        for (const Case &c : *cases) {
            // The measured field total cannot tell 59.94 from 60 fields; the
            // MCU's report below does.
            if (std::string(c.rate) == "59.94i")
                continue;
            std::string error;
            ASSERT_TRUE(board().video().hdmi(0, format(c), error)) << error;
            hdmi->update(0);
            EXPECT_EQ(hdmi->getPayLoad(), standardWord(c.identifier, c.frameRate, c.scan)) << c.size << " " << c.rate;
        }
    }
    for (const Case &c : interlaced) {
        std::string error;
        ASSERT_TRUE(board().video().hdmi(0, format(c), error)) << error;
        const int totalWidth = std::string(c.rate) == "50i" ? 2640 : 2200;
        hdmi->setInfo(true, 0, totalWidth, 1920, 1125, 540, false, 1, 5);
        EXPECT_EQ(hdmi->getPayLoad(), standardWord(c.identifier, c.frameRate, c.scan)) << "MCU " << c.rate;
    }
}

TEST_F(BoardTest, St352OfTheWirelessReceiver)
{
    WHDICtl *whdi = WHDICtl::getInstance();
    for (const auto *cases : {&progressive, &interlaced, &segmented}) {
        for (const Case &c : *cases) {
            std::string error;
            ASSERT_TRUE(board().video().whdi(0, format(c), error)) << error;
            whdi->update(0);
            EXPECT_EQ(whdi->getPayLoad(), standardWord(c.identifier, c.frameRate, c.scan)) << c.size << " " << c.rate;
        }
    }
}
