#include "AssistCtls.h"
#include "BoardTest.h"
#include "FocusCtl.h"

#include <vector>

namespace {

constexpr FunctionTypeIndex kernelRegisters[9] = {SHARP_CONV_A00, SHARP_CONV_A01, SHARP_CONV_A02,
                                                  SHARP_CONV_A10, SHARP_CONV_A11, SHARP_CONV_A12,
                                                  SHARP_CONV_A20, SHARP_CONV_A21, SHARP_CONV_A22};

class AssistTest : public BoardTest
{
protected:
    std::vector<uint32_t> kernel()
    {
        std::vector<uint32_t> words;
        for (FunctionTypeIndex r : kernelRegisters)
            words.push_back(board().pl().get(r));
        return words;
    }

    void fillKernel(uint32_t value)
    {
        for (FunctionTypeIndex r : kernelRegisters)
            board().pl().set(r, value);
    }

    uint32_t control() { return board().pl().get(SHARP_CONV_CTL); }
};

// Bits 24-31 were 0xAB before: the sharpening loader keeps them, 24-bit
// patterns below.
const std::vector<uint32_t> sharpKernel = {0xABFFECC6u, 0xABFFE04Cu, 0xABFFECC6u, 0xABFFE04Cu, 0xAB00CBBAu,
                                           0xABFFE04Cu, 0xABFFECC6u, 0xABFFE04Cu, 0xABFFECC6u};
// The peaking loader ORs whole 32-bit values: negative ones fill bits 24-31.
const std::vector<uint32_t> focusKernel = {0xFFFF0000u, 0xFFFE0000u, 0xFFFF0000u, 0xFFFE0000u, 0xAB0C0000u,
                                           0xFFFE0000u, 0xFFFF0000u, 0xFFFE0000u, 0xFFFF0000u};

} // namespace

TEST_F(AssistTest, SharpeningAndPeakingShareTheBlock)
{
    FocusCtl &focus = *FocusCtl::getInstance();
    fillKernel(0xAB000000u);
    focus.sharpSetValue(100);
    EXPECT_EQ(board().pl().field(SHARP_CONV_CTL, 31, 16), 1536u);
    focus.sharpEnable(true);
    EXPECT_EQ(control(), (1536u << 16) | (96u << 4) | 0x3u) << "sharpening: threshold 96, mode 0, loaded, on";
    EXPECT_EQ(kernel(), sharpKernel);

    // Peaking takes the block, with its threshold, kernel and mode bit.
    focus.focusThreshold(8);
    EXPECT_EQ(board().pl().field(SHARP_CONV_CTL, 13, 4), 96u) << "no effect while peaking is off";
    fillKernel(0xAB000000u);
    focus.focusEnable(true);
    EXPECT_EQ(control(), (1536u << 16) | (8u << 4) | 0x7u);
    EXPECT_EQ(kernel(), focusKernel);
    focus.focusThreshold(308);
    EXPECT_EQ(board().pl().field(SHARP_CONV_CTL, 13, 4), 308u) << "at once while peaking";

    // Sharpening switched while peaking only records its flag.
    focus.sharpEnable(false);
    focus.sharpEnable(true);
    EXPECT_EQ(control(), (1536u << 16) | (308u << 4) | 0x7u);
    EXPECT_EQ(kernel(), focusKernel);

    // Peaking off returns the block to sharpening: its kernel, bit 2 clear.
    fillKernel(0xAB000000u);
    focus.focusEnable(false);
    EXPECT_EQ(control(), (1536u << 16) | (96u << 4) | 0x3u);
    EXPECT_EQ(kernel(), sharpKernel);

    // Sharpening off without peaking: only the enable bit goes.
    focus.sharpEnable(false);
    EXPECT_EQ(control(), (1536u << 16) | (96u << 4) | 0x2u);
    focus.focusEnable(true);
    focus.focusEnable(false);
    EXPECT_EQ(control() & 1u, 0u) << "peaking off with sharpening off leaves the block off";
}

TEST_F(AssistTest, SharpeningGainPeakingThresholdsAndPeakingColours)
{
    FocusCtl &focus = *FocusCtl::getInstance();
    board().pl().set(SHARP_CONV_CTL, 0x0000FFFFu);
    focus.sharpSetValue(0);
    EXPECT_EQ(control(), 0x0000FFFFu);
    focus.sharpSetValue(50);
    EXPECT_EQ(control(), (768u << 16) | 0xFFFFu);
    focus.sharpSetValue(33);
    EXPECT_EQ(board().pl().field(SHARP_CONV_CTL, 31, 16), 506u);

    EXPECT_EQ(FocusCtl::sensitivityToThreshold(100), 8);
    EXPECT_EQ(FocusCtl::sensitivityToThreshold(0), 308);
    EXPECT_EQ(FocusCtl::sensitivityToThreshold(50), 158);

    // Peaking colours as 10-bit fields.
    board().pl().set(FOCUS_ASSIST_CTL, 0xC0000000u);
    const struct {
        int index;
        uint32_t fields;
    } cases[] = {{1, 1020u << 20},
                 {2, (176u << 20) | (1020u << 10)},
                 {3, (96u << 20) | 1020u},
                 {6, (968u << 20) | 1020u},
                 {7, (1020u << 20) | (1020u << 10) | 1020u},
                 {0, 0},
                 {8, 0}};
    for (const auto &c : cases) {
        focus.focusColorIndex(c.index);
        EXPECT_EQ(board().pl().get(FOCUS_ASSIST_CTL), 0xC0000000u | c.fields) << c.index;
    }
}

TEST_F(AssistTest, ZebraLevelsAndColoursAndFalseColourBands)
{
    ZebraCtl &zebra = *ZebraCtl::getInstance();
    EXPECT_EQ(ZebraCtl::percentToLevel(0), 64);
    EXPECT_EQ(ZebraCtl::percentToLevel(85), 811);
    EXPECT_EQ(ZebraCtl::percentToLevel(100), 943);
    EXPECT_EQ(ZebraCtl::percentToLevel(109), 1023);

    board().pl().set(ZEBRA_LINE_CTL, 0xC000C00Eu);
    zebra.zebraThreshold(ZebraCtl::percentToLevel(85), ZebraCtl::percentToLevel(100));
    EXPECT_EQ(board().pl().get(ZEBRA_LINE_CTL), 0xC000C00Eu | (943u << 16) | (811u << 4));
    zebra.zebraEnable(true);
    EXPECT_EQ(board().pl().field(ZEBRA_LINE_CTL, 0, 0), 1u);
    zebra.zebraThreshold(0x7FF, 0);
    EXPECT_EQ(board().pl().get(ZEBRA_LINE_CTL), 0xC000FFFFu) << "levels stay in their fields";

    zebra.zebraRGBColor(1023, 0, 5);
    EXPECT_EQ(board().pl().get(ZEBRA_COLOR_SET), (5u << 20) | 1023u);
    zebra.zebraYCbCcColor(940, 512, 100);
    EXPECT_EQ(board().pl().get(ZEBRA_COLOR_SET), (100u << 20) | (940u << 10) | 512u);

    PseudoCtl &pseudo = *PseudoCtl::getInstance();
    pseudo.PseudoEnable(true);
    pseudo.PseudoEnableIndex(0, true);
    pseudo.PseudoEnableIndex(11, true);
    EXPECT_EQ(board().pl().get(FALSE_COLOR_CTL), 0x8011u);
    pseudo.PseudoEnableIndex(12, true);
    pseudo.PseudoEnableIndex(-1, true);
    EXPECT_EQ(board().pl().get(FALSE_COLOR_CTL), 0x8011u) << "no band 12 or -1";
    pseudo.PseudoEnableIndex(0, false);
    EXPECT_EQ(board().pl().get(FALSE_COLOR_CTL), 0x8001u);

    // The whole mask: bits 4-16 cleared, then one bit a band; bits above band
    // 11 of the mask are not bands.
    board().pl().set(FALSE_COLOR_CTL, 0xFFFFFFFFu);
    pseudo.PseudoEnableIndex(static_cast<unsigned short>(0xF005));
    EXPECT_EQ(board().pl().get(FALSE_COLOR_CTL), 0xFFFE005Fu);
}

TEST_F(AssistTest, ScopeEnablesAndScales)
{
    WavesCtl &waves = *WavesCtl::getInstance();
    waves.vectorgraphEnable(true);
    waves.luminanceEnable(true);
    waves.RGBEnable(true);
    waves.histogramEnable(true);
    EXPECT_EQ(board().pl().get(VID_SCOPE_CTL), 0x1111u);
    waves.RGBEnable(false);
    EXPECT_EQ(board().pl().get(VID_SCOPE_CTL), 0x1011u);

    waves.setColorValue(WavesCtl::WaveRGB);
    EXPECT_EQ(board().pl().field(VID_SCOPE_CTL, 3, 3), 1u);
    waves.setColorValue(WavesCtl::WaveYCbCr);
    EXPECT_EQ(board().pl().field(VID_SCOPE_CTL, 3, 3), 0u);

    const struct {
        int value;
        uint32_t luminance;
        uint32_t opacity;
    } cases[] = {{0, 1000, 100}, {100, 65535, 1023}, {50, 33267, 561}, {1, 1645, 109}};
    board().pl().set(VID_SCOPE_DISP1, 0xFFFFFC00u);
    for (const auto &c : cases) {
        waves.setLuminanceValue(c.value);
        waves.setOpacityValue(c.value);
        EXPECT_EQ(board().pl().field(VID_SCOPE_CTL, 31, 16), c.luminance) << c.value;
        EXPECT_EQ(board().pl().get(VID_SCOPE_DISP1), 0xFFFFFC00u | c.opacity) << c.value;
    }
    EXPECT_EQ(board().pl().field(VID_SCOPE_CTL, 15, 0), 0x1011u) << "the enables stay";
}
