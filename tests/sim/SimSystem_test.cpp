#include "BoardTest.h"

#include <cerrno>
#include <filesystem>
#include <linux/spi/spidev.h>

using SimSystemTest = BoardTest;

TEST_F(SimSystemTest, RestartIsActedOutAndClockSettingsAreOnlyRecorded)
{
    int acted = 0;
    board().system().onRestart([&acted] { ++acted; });
    testing::internal::CaptureStdout();
    hw::system().restart();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(board().system().restartCount(), 1);
    EXPECT_EQ(acted, 1);
    EXPECT_NE(out.find("restarts the machine"), std::string::npos);

    // A clock setting is recorded, not applied.
    struct timeval time = {1577840400, 0};
    EXPECT_TRUE(hw::system().setClock(time));
    ASSERT_EQ(board().system().clockSettings().size(), 1u);
    EXPECT_EQ(board().system().clockSettings()[0].tv_sec, 1577840400);
}

TEST_F(SimSystemTest, SpiBehavesLikeADeviceAndRecordsEveryMessage)
{
    uint8_t mode = SPI_MODE_0;
    uint8_t bits = 8;
    uint32_t speed = 20000000;
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_WR_MODE, &mode), 0);
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_WR_BITS_PER_WORD, &bits), 0);
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_WR_MAX_SPEED_HZ, &speed), 0);
    uint32_t readSpeed = 0;
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_RD_MAX_SPEED_HZ, &readSpeed), 0);
    EXPECT_EQ(readSpeed, speed);

    uint8_t tx[3] = {0x0F, 0xF5, 0x50};
    uint8_t rx[3] = {1, 1, 1};
    struct spi_ioc_transfer transfer = {};
    transfer.tx_buf = reinterpret_cast<uintptr_t>(tx);
    transfer.rx_buf = reinterpret_cast<uintptr_t>(rx);
    transfer.len = 3;
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_MESSAGE(1), &transfer), 3);
    ASSERT_EQ(board().system().spiMessages().size(), 1u);
    EXPECT_EQ(board().system().spiMessages()[0], (std::vector<uint8_t>{0x0F, 0xF5, 0x50}));
    EXPECT_EQ(rx[0] | rx[1] | rx[2], 0);

    EXPECT_EQ(hw::system().spiIoctl(5, 0x1234, &mode), -1);
}

TEST_F(SimSystemTest, ABoardThatIsGoneRefusesWhatItsThreadsStillAsk)
{
    {
        sim::VirtualBoard other(sim::VirtualBoard::makeTemporaryRoot());
        other.install();
        uint8_t mode = 0;
        EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_RD_MODE, &mode), 0);
        std::error_code ignored;
        std::filesystem::remove_all(other.tree().root(), ignored);
    }
    uint8_t mode = 0;
    errno = 0;
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_RD_MODE, &mode), -1);
    EXPECT_EQ(errno, ENODEV);
    // A board that is not the installed one leaves the installed one alone.
    board().install();
    {
        sim::VirtualBoard idle(sim::VirtualBoard::makeTemporaryRoot());
        std::error_code ignored;
        std::filesystem::remove_all(idle.tree().root(), ignored);
    }
    EXPECT_EQ(hw::system().spiIoctl(5, SPI_IOC_RD_MODE, &mode), 0);
}
