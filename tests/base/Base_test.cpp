#include "Console.h"
#include "HardwarePath.h"
#include "Singleton.h"
#include "System.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

TEST(Console, LinesCarryTheirColoursPrefixesAndStreams)
{
    CaptureStdout();
    CaptureStderr();
    console::error("open %s failed\n", "/dev/mem");
    console::warning("Key:%s type[int] not found\n", "photoMarkEnable");
    console::print("start app used time:%ld us\n", 42L);
    const std::string out = GetCapturedStdout();
    const std::string err = GetCapturedStderr();
    EXPECT_EQ(err, "\033[1;31m[ ERROR ]: open /dev/mem failed\n\033[0m");
    EXPECT_EQ(out, "\033[1;34m[ WARNING ]: Key:photoMarkEnable type[int] not found\n\033[0m"
                   "start app used time:42 us\n");
}

TEST(HardwarePath, AbsolutePathsMoveUnderTheRootRelativeOnesStay)
{
    hw::setRoot("");
    EXPECT_EQ(hw::path("/dev/mem"), "/dev/mem");
    hw::setRoot("/tmp/board/");
    EXPECT_EQ(hw::root(), "/tmp/board");
    EXPECT_EQ(hw::path("/dev/ttyPS1"), "/tmp/board/dev/ttyPS1");
    EXPECT_EQ(hw::path("/run/media/sda1/"), "/tmp/board/run/media/sda1/");
    EXPECT_EQ(hw::path("config.ini"), "config.ini");
    EXPECT_EQ(hw::path("Lut/User/"), "Lut/User/");
    EXPECT_EQ(hw::path(""), "");
    hw::setRoot("/");
    EXPECT_EQ(hw::path("/dev/mem"), "/dev/mem");
}

TEST(System, EffectsAreRefusedUntilAnImplementationIsInstalled)
{
    hw::installSystem(nullptr);
    CaptureStderr();
    struct timeval time = {1, 0};
    EXPECT_FALSE(hw::system().setClock(time));
    hw::system().restart();
    const std::string err = GetCapturedStderr();
    EXPECT_NE(err.find("clock change refused"), std::string::npos);
    EXPECT_NE(err.find("restart refused"), std::string::npos);
    unsigned char mode = 0;
    EXPECT_EQ(hw::system().spiIoctl(0, 0, &mode), -1);
}

namespace {

std::atomic<int> constructions{0};

class Counted : public Singleton<Counted>
{
    friend class Singleton<Counted>;
    Counted()
    {
        ++constructions;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
};

} // namespace

TEST(Singleton, ConcurrentFirstCallsShareOneInstance)
{
    std::vector<std::thread> threads;
    std::vector<Counted *> seen(8, nullptr);
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = Counted::getInstance(); });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(constructions.load(), 1);
    for (Counted *instance : seen)
        EXPECT_EQ(instance, seen.front());
}
