#include "BoardTest.h"
#include "Emulation.h"
#include "FanCtrl.h"
#include "InterruptsCtl.h"
#include "OsdCtl.h"
#include "OutputCapture.h"
#include "PowerCtl.h"
#include "ReadFifo.h"
#include "ThreadWatch.h"
#include "UartAPI.h"
#include "Wait.h"

#include <dirent.h>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace {

// The thread sanitizer runs a thread of its own, under the process's name;
// so does the user-mode emulator of a cross build.
#ifdef __SANITIZE_THREAD__
constexpr size_t sanitizerThreads = 1;
#else
constexpr size_t sanitizerThreads = 0;
#endif
const size_t foreignThreads = sanitizerThreads + (emulator() != nullptr ? 1 : 0);

std::string processName()
{
    std::string name;
    std::getline(std::ifstream("/proc/self/comm"), name);
    return name;
}

// The names of this process's threads other than the main one.
std::multiset<std::string> threadNames()
{
    std::multiset<std::string> names;
    DIR *tasks = opendir("/proc/self/task");
    while (dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == getpid())
            continue;
        std::string name;
        std::getline(std::ifstream(std::string("/proc/self/task/") + entry->d_name + "/comm"), name);
        names.insert(name);
    }
    closedir(tasks);
    return names;
}

// Threads that carry no name of their own.
size_t unnamedThreads()
{
    return threadNames().count(processName());
}

} // namespace

using ThreadNamesTest = BoardTest;

// top -H, a profiler and the idle benchmark tell every thread apart: the
// board's by their board- prefix, the application's by their own names.
TEST_F(ThreadNamesTest, EveryThreadOfTheBoardAndTheApplicationIsNamed)
{
    sim::OutputCapture output;
    ASSERT_TRUE(output.start());
    // A thread names itself as it starts.
    EXPECT_TRUE(waitUntil([] { return unnamedThreads() <= foreignThreads; }, std::chrono::seconds(2)));

    InterruptsCtl::getInstance()->attach(InterruptsCtl::VIDEO_INFO, InterruptsCtl::Callback());
    OsdCtl::getInstance()->init();
    UartInit();
    PowerCtl::getInstance();
    FanCtrl::getInstance();
    FifoInit();
    const std::set<std::string> expected = {"irq-event", "irq-keys", "mcu-reader", "mcu-send", "mcu-resend",
                                            "power-button", "fan", "fifo-reader", "osd-show"};
    ASSERT_TRUE(waitUntil([&] {
        const std::multiset<std::string> names = threadNames();
        for (const std::string &name : expected) {
            if (names.count(name) == 0)
                return false;
        }
        return true;
    }));
    EXPECT_LE(unnamedThreads(), foreignThreads);
    for (const std::string &name : threadNames()) {
        EXPECT_TRUE(name.rfind("board-", 0) == 0 || expected.count(name) == 1 || name == "mcu-held"
                    || name == processName())
            << name;
    }
    output.stop();
}
