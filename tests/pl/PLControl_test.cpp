#include "BoardTest.h"
#include "PLControl.h"

#include <cstdint>
#include <fcntl.h>
#include <future>
#include <unistd.h>
#include <thread>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

struct ExpectedRegister {
    int identifier;
    const char *name;
    uint32_t address;
};

// The register map as the logic documents it, written out independently of the
// application's table.
const std::vector<ExpectedRegister> expectedMap = {
    {0, "FPGA_VER_NUM", 0x43C00000},      {1, "FPGA_INIT_CTL", 0x43C00004},
    {2, "BL_PWM_DUTY", 0x43C00008},       {3, "MAIN_CH_CTL", 0x43C00010},
    {4, "ASSIST_CH_CTL", 0x43C00014},     {5, "SDI_OUT_CTRL", 0x43C00018},
    {6, "SDI_IN_INFO", 0x43C0001C},       {7, "SDI_ST352_PL0", 0x43C00020},
    {8, "SDI_ST352_PL1", 0x43C00024},     {9, "WHDI_ST352_PL", 0x43C00028},
    {10, "SDI_AUX_CTL", 0x43C0002C},      {11, "LIGHT_METER_CTL", 0x43C00030},
    {12, "LIGHT_METER_INFO", 0x43C00034}, {13, "FRAME_CAP_CTL", 0x43C00038},
    {14, "TIME_CODE_INFO", 0x43C0003C},   {15, "SDIOUT_ST352_PL", 0x43C00040},
    {16, "HDMI_HOR_CTL", 0x43C00044},     {17, "HDMI_VER_CTL", 0x43C00048},
    {18, "ZEBRA_LINE_CTL", 0x43C00050},   {19, "ZEBRA_COLOR_SET", 0x43C00054},
    {20, "FALSE_COLOR_CTL", 0x43C00058},  {21, "VID_DENOISY_CTL", 0x43C0005C},
    {22, "VID_SCOPE_CTL", 0x43C00060},    {23, "VID_SCOPE_DISP1", 0x43C00064},
    {24, "VID_SCOPE_DISP2", 0x43C00068},  {25, "CSC_MATRIX_CTL", 0x43C00070},
    {26, "CSC_MATRIX_VAL0", 0x43C00074},  {27, "CSC_MATRIX_VAL1", 0x43C00078},
    {28, "CSC_MATRIX_VAL2", 0x43C0007C},  {29, "CSC_MATRIX_VAL3", 0x43C00080},
    {30, "CSC_MATRIX_VAL4", 0x43C00084},  {31, "CSC_MATRIX_VAL5", 0x43C00088},
    {32, "CSC_MATRIX_VAL6", 0x43C0008C},  {33, "VID_GAMMA_CTL", 0x43C00090},
    {34, "VID_3DLUT_CTL", 0x43C00094},    {35, "CALI_GAMMA_CTL", 0x43C00098},
    {36, "CALI_3DLUT_CTL", 0x43C0009C},   {37, "MAIN_RESIZE_CTL", 0x43C000A0},
    {38, "MAIN_RESIZE_VAL", 0x43C000A4},  {39, "RIGHT_SIDE_POS", 0x43C000A8},
    {40, "ASSIST_RESIZE_CTL", 0x43C000AC}, {41, "ASSIST_ZOOM_OUT", 0x43C000B0},
    {42, "ASSIST_ZOOM_IN", 0x43C000B4},   {43, "SHARP_CONV_CTL", 0x43C000C0},
    {44, "SHARP_CONV_A00", 0x43C000C4},   {45, "SHARP_CONV_A01", 0x43C000C8},
    {46, "SHARP_CONV_A02", 0x43C000CC},   {47, "SHARP_CONV_A10", 0x43C000D0},
    {48, "SHARP_CONV_A11", 0x43C000D4},   {49, "SHARP_CONV_A12", 0x43C000D8},
    {50, "SHARP_CONV_A20", 0x43C000DC},   {51, "SHARP_CONV_A21", 0x43C000E0},
    {52, "SHARP_CONV_A22", 0x43C000E4},   {53, "FOCUS_ASSIST_CTL", 0x43C000E8},
    {54, "OSD_CTL", 0x43C000F0},          {55, "LEFT_HOR_SET", 0x43C00110},
    {56, "LEFT_VER_SET", 0x43C00114},     {57, "RIGHT_HOR_SET", 0x43C00118},
    {58, "RIGHT_VER_SET", 0x43C0011C},    {59, "AUD_FRM_CNT", 0x43C0012C},
    {60, "AUD_AES_MAX", 0x43C00130},      {61, "AUD_AES_RIGHT", 0x43C00134},
    {62, "AUD_AES_LEFT", 0x43C00138},     {63, "MAIN_VID_INFO0", 0x43C00140},
    {64, "MAIN_VID_INFO1", 0x43C00144},   {65, "MAIN_VID_INFO2", 0x43C00148},
    {66, "ASSIST_VID_INFO0", 0x43C0014C}, {67, "ASSIST_VID_INFO1", 0x43C00150},
    {68, "ASSIST_VID_INFO2", 0x43C00154}, {69, "WHDI_ENCRYP_CTRL", 0x43C00160},
    {72, "DISP_FLIP_CONTROL", 0x43C000B8}, {73, "TOUCHEVENT_ROTATE", 0x38960000},
    {74, "RESET_SYSTEM", 0xF8007000},
};

struct ExpectedRegion {
    PLMemory::MemoryIndex index;
    const char *name;
    uint32_t address;
    uint32_t size;
};

const std::vector<ExpectedRegion> expectedRegions = {
    {PLMemory::LUT3D_MEMORY0, "LUT3D_MEMORY0", 0x39001000, 19652},
    {PLMemory::LUT3D_MEMORY1, "LUT3D_MEMORY1", 0x39007000, 19652},
    {PLMemory::FRAME_SAVE, "FRAME_SAVE", 0x3A000000, 0x1000000},
    {PLMemory::FRAME_LOAD, "FRAME_LOAD", 0x3B000000, 0x1000000},
    {PLMemory::GAMMA_INDEX0, "GAMMA_INDEX0", 0x39000000, 4096},
    {PLMemory::GAMMA_INDEX1, "GAMMA_INDEX1", 0x39006000, 4096},
};

class PLControlTest : public BoardTest
{
protected:
    uint32_t fileWord(uint64_t address)
    {
        uint32_t value = 0;
        int fd = ::open(board().tree().path("/dev/mem").c_str(), O_RDONLY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(pread(fd, &value, sizeof(value), static_cast<off_t>(address)), 4);
        ::close(fd);
        return value;
    }
};

TEST_F(PLControlTest, TableHoldsExactlyTheRegisterMap)
{
    ASSERT_EQ(plRegisterCount, expectedMap.size());
    for (size_t i = 0; i < plRegisterCount; ++i) {
        const PLRegisterRecord &record = plRegisterTable[i];
        SCOPED_TRACE(expectedMap[i].name);
        EXPECT_EQ(record.identifier, expectedMap[i].identifier);
        EXPECT_EQ(record.enabled, 1);
        EXPECT_STREQ(record.name, expectedMap[i].name);
        EXPECT_EQ(record.physicalAddress, expectedMap[i].address);
        EXPECT_EQ(plRegister(static_cast<FunctionTypeIndex>(expectedMap[i].identifier)), &record);
    }
}

TEST_F(PLControlTest, EveryRegisterHasItsOwnWindowAtItsAddress)
{
    PLControl *pl = PLControl::getInstance();
    auto marker = [](const ExpectedRegister &r) { return 0xC0DE0000u | static_cast<uint32_t>(r.identifier); };
    for (const ExpectedRegister &r : expectedMap)
        EXPECT_TRUE(pl->setValue(static_cast<FunctionTypeIndex>(r.identifier), marker(r))) << r.name;
    // Written all first and checked after: two windows on one word would show.
    for (const ExpectedRegister &r : expectedMap) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(fileWord(r.address), marker(r));
        EXPECT_EQ(pl->getValue(static_cast<FunctionTypeIndex>(r.identifier)), marker(r));
    }
}

TEST_F(PLControlTest, LogicModelAndApplicationSeeTheSameRegistersAndTheBoardLogsTheWrites)
{
    PLControl *pl = PLControl::getInstance();
    ASSERT_TRUE(pl->setValue(OSD_CTL, 0x00000301u));
    EXPECT_EQ(board().pl().get(OSD_CTL), 0x00000301u);

    board().pl().set(SDI_IN_INFO, 0x8000002Au);
    EXPECT_EQ(pl->getValue(SDI_IN_INFO), 0x8000002Au);

    // Outside the register block: high physical addresses and the touch register.
    ASSERT_TRUE(pl->setValue(RESET_SYSTEM, 1));
    EXPECT_EQ(board().pl().get(RESET_SYSTEM), 1u);
    board().pl().set(TOUCHEVENT_ROTATE, 0xFFFFFFFFu);
    EXPECT_EQ(pl->getValue(TOUCHEVENT_ROTATE), 0xFFFFFFFFu);

    // The neighbours of a written register stay as they were.
    ASSERT_TRUE(pl->setValue(MAIN_CH_CTL, 0x5A5A5A5Au));
    EXPECT_EQ(board().pl().get(BL_PWM_DUTY), 0u);
    EXPECT_EQ(board().pl().get(ASSIST_CH_CTL), 0u);

    // The board logs every write by name, in order, until the log stops.
    pl->setValue(ZEBRA_LINE_CTL, 1);
    board().pl().startWriteLog();
    pl->setValue(ZEBRA_LINE_CTL, 2);
    pl->setValue(BL_PWM_DUTY, 0x1234);
    std::thread([pl] { pl->setValue(FRAME_CAP_CTL, 9); }).join();
    board().pl().stopWriteLog();
    pl->setValue(ZEBRA_LINE_CTL, 3);
    const std::vector<sim::PLModel::Write> log = board().pl().writeLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].name, "ZEBRA_LINE_CTL");
    EXPECT_EQ(log[0].value, 2u);
    EXPECT_EQ(log[1].name, "BL_PWM_DUTY");
    EXPECT_EQ(log[1].value, 0x1234u);
    EXPECT_EQ(log[2].name, "FRAME_CAP_CTL");
}

TEST_F(PLControlTest, UnknownIdentifiersAreRefusedQuietly)
{
    PLControl *pl = PLControl::getInstance();
    CaptureStdout();
    CaptureStderr();
    for (int missing : {-1, 70, 71, 75, 1000}) {
        const auto identifier = static_cast<FunctionTypeIndex>(missing);
        EXPECT_EQ(pl->getValue(identifier), 0u) << missing;
        EXPECT_FALSE(pl->setValue(identifier, 0xFFFFFFFFu)) << missing;
    }
    const auto region = static_cast<PLMemory::MemoryIndex>(6);
    EXPECT_EQ(pl->getMemAddr(region), nullptr);
    EXPECT_EQ(pl->getMemSize(region), 0u);
    pl->SyncMem(region);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(PLMemory::getPhyicsAddr(region), 0u);
    EXPECT_EQ(PLMemory::getPhyicsSize(region), 0u);
}

TEST_F(PLControlTest, MemoryRegionsAreSharedWithTheLogic)
{
    PLControl *pl = PLControl::getInstance();
    for (const ExpectedRegion &r : expectedRegions) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(PLMemory::getPhyicsAddr(r.index), r.address);
        EXPECT_EQ(PLMemory::getPhyicsSize(r.index), r.size);
        EXPECT_EQ(pl->getMemSize(r.index), r.size);

        auto *application = static_cast<uint32_t *>(pl->getMemAddr(r.index));
        auto *logic = static_cast<uint32_t *>(board().pl().memory(r.index));
        ASSERT_NE(application, nullptr);
        ASSERT_NE(logic, nullptr);
        const size_t last = r.size / 4 - 1;
        application[0] = r.address;
        application[last] = r.address + r.size;
        pl->SyncMem(r.index);
        EXPECT_EQ(logic[0], r.address);
        EXPECT_EQ(logic[last], r.address + r.size);
        EXPECT_EQ(fileWord(r.address + 4ull * last), r.address + r.size);

        logic[1] = ~r.address;
        EXPECT_EQ(application[1], ~r.address);
    }
}

TEST_F(PLControlTest, MissingDeviceLeavesEveryWindowInTheMap)
{
    ASSERT_EQ(unlink(board().tree().path("/dev/mem").c_str()), 0);
    CaptureStderr();
    PLControl *pl = PLControl::getInstance();
    const std::string openLine = "\033[1;31m[ ERROR ]: open /dev/mem failed\n\033[0m";
    std::string expected;
    for (size_t i = 0; i < expectedMap.size() + expectedRegions.size(); ++i)
        expected += openLine;
    EXPECT_EQ(GetCapturedStderr(), expected);

    CaptureStderr();
    EXPECT_EQ(pl->getValue(RESET_SYSTEM), 0u);
    EXPECT_FALSE(pl->setValue(OSD_CTL, 1));
    EXPECT_EQ(GetCapturedStderr(),
              "\033[1;31m[ ERROR ]: read [RESET_SYSTEM]:: phyicsAddr:0xf8007000 failed,virAddr is null\n\033[0m"
              "\033[1;31m[ ERROR ]: write [OSD_CTL]:: phyicsAddr:0x43c000f0 failed,virAddr is null\n\033[0m");
    EXPECT_EQ(pl->getMemAddr(PLMemory::FRAME_SAVE), nullptr);
}

TEST_F(PLControlTest, ConcurrentFirstCallsCreateOneInstance)
{
    constexpr int callers = 8;
    std::promise<void> start;
    std::shared_future<void> go = start.get_future().share();
    std::vector<std::future<PLControl *>> results;
    for (int i = 0; i < callers; ++i)
        results.push_back(std::async(std::launch::async, [go] {
            go.wait();
            return PLControl::getInstance();
        }));
    start.set_value();
    PLControl *first = results[0].get();
    ASSERT_NE(first, nullptr);
    for (int i = 1; i < callers; ++i)
        EXPECT_EQ(results[i].get(), first);
    EXPECT_EQ(PLControl::getInstance(), first);
}

} // namespace
