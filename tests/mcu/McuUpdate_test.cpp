#include "LinkTest.h"
#include "McuUpdate.h"
#include "Version.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

Recorder<int> progress;

void recordProgress(int percent)
{
    progress.add(percent);
}

class McuUpdateTest : public LinkTest
{
protected:
    static std::vector<uint8_t> bootFrame(uint8_t command, const std::vector<uint8_t> &data)
    {
        std::vector<uint8_t> bytes = {0xAA, 0xBB, command, static_cast<uint8_t>(data.size() >> 8),
                                      static_cast<uint8_t>(data.size())};
        for (uint8_t byte : data)
            bytes.push_back(byte);
        uint8_t sum = 0;
        for (uint8_t byte : bytes)
            sum ^= byte;
        bytes.push_back(sum);
        return bytes;
    }
};

TEST(FifoByte, ARingKeepsOneSlotFree)
{
    fifobyte_t ring;
    ASSERT_TRUE(Init_FifoByte(&ring, 10240));
    int written = 0;
    while (Write_FifoByte(&ring, static_cast<uint8_t>(written)))
        ++written;
    EXPECT_EQ(written, 10239);
    EXPECT_EQ(Get_FifoByteLen(&ring), 10239);

    // Reading and writing across the end keeps order and length.
    uint8_t byte = 0;
    for (int i = 0; i < 10000; ++i)
        ASSERT_TRUE(Read_FifoByte(&ring, &byte));
    EXPECT_EQ(byte, static_cast<uint8_t>(9999));
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(Write_FifoByte(&ring, static_cast<uint8_t>(i)));
    EXPECT_EQ(Get_FifoByteLen(&ring), 5239);
    for (int i = 10000; i < 10239; ++i) {
        ASSERT_TRUE(Read_FifoByte(&ring, &byte));
        EXPECT_EQ(byte, static_cast<uint8_t>(i));
    }
    ASSERT_TRUE(Read_FifoByte(&ring, &byte));
    EXPECT_EQ(byte, 0);
    delete[] ring.buffer;
}

TEST_F(McuUpdateTest, ATwoBlockImageGoesOutWholeWithItsProgress)
{
    installFirmware(2048);
    ASSERT_TRUE(startLink());
    CaptureStdout();
    const bool started = UartUpdateMcu(recordProgress, false);
    const bool again = UartUpdateMcu(recordProgress, false);
    // The key line is taken over for the update.
    const uint32_t keyLineHeld = board().pl().field(FPGA_INIT_CTL, 14, 14);
    const bool done =
        waitUntil([&] { return progress.contains(100) && mcu().bootLoader().complete; }, std::chrono::seconds(20));
    const std::string output = GetCapturedStdout();
    ASSERT_TRUE(started);
    EXPECT_FALSE(again) << "one update per process";
    EXPECT_EQ(keyLineHeld, 1u);
    ASSERT_TRUE(done) << output;
    EXPECT_EQ(progress.values(), (std::vector<int>{50, 100}));
    const sim::McuModel::BootLoaderStatus boot = mcu().bootLoader();
    EXPECT_TRUE(boot.matches);
    EXPECT_EQ(boot.announcedSize, 2048u);
    EXPECT_EQ(boot.blocks, 2) << "two blocks of 1024";
    EXPECT_EQ(boot.erases, 1);
    EXPECT_TRUE(received(0x0C, {0x01})) << "asked to enter update mode";
    for (const char *line :
         {"Mcu update init\n", "Mcu update start\n", "Mcu_SetToUpdateMode\n", "Enter update mode successful\n",
          "Mcu Connect successful\n", "Erase successful\n", "Send file size successful\n",
          "Mcu upDate >>>>>>>    50\nsend end sendfilesize 2048 m_McuUpdate.filesize:2048\n"
          "Mcu upDate >>>>>>> successful\n"})
        EXPECT_NE(output.find(line), std::string::npos) << line;
}

TEST_F(McuUpdateTest, AnEmptyImageWaitsForABlockAndReportsFailure)
{
    installFirmware(0);
    ASSERT_TRUE(startLink());
    auto requests = std::make_shared<Recorder<bool>>();
    QObject::connect(Version::getInstance(), &Version::signalMcuUpgrade, [requests] { requests->add(true); });
    mcu().requestUpdate();
    ASSERT_TRUE(waitUntil([&] { return !requests->values().empty(); }));
    ASSERT_TRUE(UartUpdateMcu(recordProgress, true));
    EXPECT_TRUE(waitUntil([&] { return progress.contains(-2); }, std::chrono::seconds(60)));
    const sim::McuModel::BootLoaderStatus boot = mcu().bootLoader();
    EXPECT_EQ(boot.sizes, 1);
    EXPECT_EQ(boot.announcedSize, 0u);
    EXPECT_EQ(boot.blocks, 0);
    EXPECT_FALSE(progress.contains(100));
}

TEST_F(McuUpdateTest, AnEraseThatNeverEndsIsRetriedFromTheConnection)
{
    installFirmware(1500);
    mcu().setBootLoaderFailure(sim::McuModel::bootErase, true);
    ASSERT_TRUE(startLink());
    CaptureStdout();
    ASSERT_TRUE(UartUpdateMcu(recordProgress, false));
    const bool retried = waitUntil(
        [&] {
            const sim::McuModel::BootLoaderStatus boot = mcu().bootLoader();
            return boot.erases >= 2 && boot.connects >= 2;
        },
        std::chrono::seconds(20));
    const std::string output = GetCapturedStdout();
    ASSERT_TRUE(retried);
    EXPECT_NE(output.find("Mcu Erase Fail\n"), std::string::npos);
    EXPECT_EQ(mcu().count(0x0C), 1u) << "the boot loader is not asked to start again";
    EXPECT_EQ(mcu().bootLoader().sizes, 0);
    EXPECT_FALSE(progress.contains(100));
}

TEST_F(McuUpdateTest, TheBootLoadersAnswersAreCheckedAndBounded)
{
    CaptureStdout();
    std::vector<uint8_t> bytes = bootFrame(0x0F, std::vector<uint8_t>(100, 0x00));
    std::vector<uint8_t> longest = bootFrame(0x0F, std::vector<uint8_t>(99, 0x05));
    std::vector<uint8_t> corrupt = bootFrame(0x0F, {0x22});
    corrupt.back() ^= 0xFF;
    bytes.insert(bytes.end(), longest.begin(), longest.end());
    bytes.insert(bytes.end(), corrupt.begin(), corrupt.end());
    for (uint8_t byte : bytes)
        McuUpdateParse(byte);
    EXPECT_EQ(GetCapturedStdout(), "cmd valid 15\ncmd invalid\n");
}

} // namespace
