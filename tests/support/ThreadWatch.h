#pragma once

#include <chrono>
#include <dirent.h>
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

// How often the threads of this process with that name gave up or lost their
// processor so far (voluntary and involuntary context switches, summed): a
// thread that polls shows it, a thread that blocks does not. -1 when no thread
// carries the name.
inline long long contextSwitches(const std::string &name)
{
    long long total = -1;
    DIR *tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return total;
    while (dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string comm;
        std::getline(std::ifstream(dir + "/comm"), comm);
        if (comm != name)
            continue;
        std::ifstream status(dir + "/status");
        std::string line;
        total = total < 0 ? 0 : total;
        while (std::getline(status, line)) {
            if (line.find("ctxt_switches:") != std::string::npos)
                total += std::stoll(line.substr(line.find(':') + 1));
        }
    }
    closedir(tasks);
    return total;
}

// The context switches of that thread over the interval; -1 when there is no
// thread of that name.
inline long long wakeupsDuring(const std::string &name, std::chrono::milliseconds interval)
{
    const long long before = contextSwitches(name);
    std::this_thread::sleep_for(interval);
    const long long after = contextSwitches(name);
    return before < 0 || after < 0 ? -1 : after - before;
}

// The thread of that name exists and woke at most that often over the interval.
inline testing::AssertionResult sleepsThrough(const std::string &name, std::chrono::milliseconds interval,
                                              long long most = 1)
{
    const long long wakeups = wakeupsDuring(name, interval);
    if (wakeups < 0)
        return testing::AssertionFailure() << "no thread is named " << name;
    if (wakeups > most)
        return testing::AssertionFailure() << name << " woke " << wakeups << " times in " << interval.count() << " ms";
    return testing::AssertionSuccess();
}
