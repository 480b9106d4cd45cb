#include "BoardTest.h"
#include "DeviceMem.h"
#include "Emulation.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

constexpr uintptr_t pageMask = 4095;

class DeviceMemTest : public BoardTest
{
protected:
    std::string memoryFile() { return board().tree().path("/dev/mem"); }

    // The word at a physical address as the memory file holds it.
    uint32_t fileWord(uint64_t address)
    {
        uint32_t value = 0;
        int fd = ::open(memoryFile().c_str(), O_RDONLY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(pread(fd, &value, sizeof(value), static_cast<off_t>(address)), 4);
        ::close(fd);
        return value;
    }

    void setFileWord(uint64_t address, uint32_t value)
    {
        int fd = ::open(memoryFile().c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(pwrite(fd, &value, sizeof(value), static_cast<off_t>(address)), 4);
        ::close(fd);
    }

    // Makes sure descriptor 0 is open, so that closing it by mistake shows.
    void holdDescriptorZero()
    {
        if (fcntl(0, F_GETFD) == -1) {
            ASSERT_EQ(::open("/dev/null", O_RDONLY), 0);
        }
    }
};

bool pageMapped(void *page)
{
    return msync(page, 4096, MS_ASYNC) == 0 || errno != ENOMEM;
}

TEST_F(DeviceMemTest, RegisterAtAnUnalignedAddressIsReachedInsideItsPage)
{
    DeviceMem window("MAIN_CH_CTL", 0x43C00014, 4);
    ASSERT_NE(window.accessAddress(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(window.accessAddress()) & pageMask, 0x014u);
    EXPECT_EQ(window.size(), 4u);

    EXPECT_TRUE(window.write(0xA5A5F00Du));
    EXPECT_EQ(fileWord(0x43C00014), 0xA5A5F00Du);
    EXPECT_EQ(fileWord(0x43C00010), 0u);
    EXPECT_EQ(fileWord(0x43C00018), 0u);

    setFileWord(0x43C00014, 0x12345678u);
    EXPECT_EQ(window.read(), 0x12345678u);
    EXPECT_EQ(window.sync(), 0);
}

TEST_F(DeviceMemTest, RegionPathFromOnePage)
{
    // Just below a page: one page holding the address, the offset kept.
    DeviceMem small("small", 0x39000FF0, 4095);
    ASSERT_NE(small.accessAddress(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(small.accessAddress()) & pageMask, 0xFF0u);

    // A page or more maps the whole length from the address itself.
    DeviceMem region("region", 0x39010000, 3 * 4096);
    ASSERT_NE(region.accessAddress(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(region.accessAddress()) & pageMask, 0u);
    auto *words = static_cast<volatile uint32_t *>(region.accessAddress());
    words[0] = 0x11111111u;
    words[3 * 1024 - 1] = 0x33333333u;
    EXPECT_EQ(fileWord(0x39010000), 0x11111111u);
    EXPECT_EQ(fileWord(0x39010000 + 3 * 4096 - 4), 0x33333333u);
    EXPECT_EQ(region.read(), 0x11111111u);
    EXPECT_EQ(region.sync(), 0);

    // Exactly one page takes the region path, which needs an aligned address.
    CaptureStderr();
    DeviceMem unaligned("GAMMA", 0x39000010, 4096);
    EXPECT_EQ(GetCapturedStderr(),
              "\033[1;31m[ ERROR ]: module[GAMMA] mmap phyics[0x39000010] size:4096 failed\n\033[0m");
    EXPECT_EQ(unaligned.accessAddress(), nullptr);
}

TEST_F(DeviceMemTest, DescriptorIsClosedOnceMapped)
{
    const int before = dup(1);
    ::close(before);
    {
        DeviceMem window("FPGA_VER_NUM", 0x43C00000, 4);
        ASSERT_NE(window.accessAddress(), nullptr);
        const int during = dup(1);
        ::close(during);
        EXPECT_EQ(during, before);
    }
    const int after = dup(1);
    ::close(after);
    EXPECT_EQ(after, before);
}

TEST_F(DeviceMemTest, UnmapReleasesTheMapping)
{
    SKIP_UNDER_EMULATION("the emulator keeps unmapped guest pages reserved in its own address space");
    auto window = std::make_unique<DeviceMem>("OSD_CTL", 0x43C000F0, 4);
    ASSERT_NE(window->accessAddress(), nullptr);
    void *page = reinterpret_cast<void *>(reinterpret_cast<uintptr_t>(window->accessAddress()) & ~pageMask);
    ASSERT_TRUE(pageMapped(page));

    EXPECT_TRUE(window->munmmap());
    EXPECT_EQ(window->accessAddress(), nullptr);
    EXPECT_EQ(window->size(), 0u);
    EXPECT_FALSE(pageMapped(page));
    EXPECT_TRUE(window->munmmap());

    window = std::make_unique<DeviceMem>("FRAME_SAVE", 0x3A000000, 0x1000000);
    ASSERT_NE(window->accessAddress(), nullptr);
    char *region = static_cast<char *>(window->accessAddress());
    window.reset();
    EXPECT_FALSE(pageMapped(region));
    EXPECT_FALSE(pageMapped(region + 0x1000000 - 4096));
}

TEST_F(DeviceMemTest, MissingOrUnmappableDeviceLeavesAWindowThatReadsZeroAndDropsWrites)
{
    holdDescriptorZero();
    ASSERT_EQ(unlink(memoryFile().c_str()), 0);

    CaptureStderr();
    auto window = std::make_unique<DeviceMem>("SDI_IN_INFO", 0x43C0001C, 4);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: open /dev/mem failed\n\033[0m");
    EXPECT_EQ(window->accessAddress(), nullptr);

    const std::string readLine =
        "\033[1;31m[ ERROR ]: read [SDI_IN_INFO]:: phyicsAddr:0x43c0001c failed,virAddr is null\n\033[0m";
    const std::string writeLine =
        "\033[1;31m[ ERROR ]: write [SDI_IN_INFO]:: phyicsAddr:0x43c0001c failed,virAddr is null\n\033[0m";
    CaptureStderr();
    EXPECT_EQ(window->read(), 0u);
    EXPECT_EQ(window->read(), 0u);
    EXPECT_FALSE(window->write(7));
    EXPECT_EQ(GetCapturedStderr(), readLine + readLine + writeLine);

    // Destroying it touches neither a mapping nor someone else's descriptor.
    CaptureStderr();
    window.reset();
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_NE(fcntl(0, F_GETFD), -1);

    // A device that opens but cannot be mapped.
    ASSERT_EQ(mkfifo(memoryFile().c_str(), 0600), 0);

    CaptureStderr();
    DeviceMem unmappable("OSD_CTL", 0x43C000F0, 4);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: module[OSD_CTL] mmap phyics[0x43c000f0] failed\n\033[0m");
    EXPECT_EQ(unmappable.accessAddress(), nullptr);
    EXPECT_EQ(unmappable.size(), 4u);
}

} // namespace
