#include "BoardTest.h"
#include "InterruptsCtl.h"
#include "ThreadWatch.h"
#include "Wait.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Key = sim::InterruptModel::Key;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

struct Event {
    std::string source;
    InterruptsCtl::KeyHandle handle;
    int value;
    std::thread::id thread;
    bool underClassMutex;
};

// Everything the dispatcher called back, from whichever thread. Callbacks
// hold it shared: they outlive the test body.
class Recorder
{
public:
    InterruptsCtl::Callback callback(const std::string &source)
    {
        return [this, source](InterruptsCtl::KeyHandle handle, int value) {
            // The dispatcher must call back holding its class mutex.
            const bool locked = !Singleton<InterruptsCtl>::classMutex().try_lock();
            if (!locked)
                Singleton<InterruptsCtl>::classMutex().unlock();
            std::lock_guard<std::mutex> lock(m_mutex);
            m_events.push_back({source, handle, value, std::this_thread::get_id(), locked});
        };
    }

    std::vector<Event> events() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }

    size_t size() const { return events().size(); }

    // "F1:clicked", "F1+F3:long", ... in order.
    std::vector<std::string> names() const
    {
        std::vector<std::string> names;
        for (const Event &event : events())
            names.push_back(event.source + (event.handle == InterruptsCtl::KEY_CLICKED ? ":clicked" : ":long"));
        return names;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Event> m_events;
};

class InterruptsCtlTest : public BoardTest
{
protected:
    InterruptsCtl *dispatcher() { return InterruptsCtl::getInstance(); }
    sim::InterruptModel &model() { return board().interrupts(); }

    void attachKeys()
    {
        for (auto key : {InterruptsCtl::KEY_F1, InterruptsCtl::KEY_F2, InterruptsCtl::KEY_F3})
            ASSERT_TRUE(dispatcher()->attach(key, recorder->callback("F" + std::to_string(key - 2))));
        armed({3, 4, 5});
    }

    // Holds the keys until the dispatcher called back at least that often,
    // then lets them go and waits for late events.
    void holdTogether(std::initializer_list<Key> keys, size_t events = 1)
    {
        for (Key key : keys)
            model().press(key);
        ASSERT_TRUE(waitUntil([&] { return recorder->size() >= events; }));
        for (Key key : keys)
            model().release(key);
        settle();
    }

    void armed(std::initializer_list<int> lines)
    {
        for (int line : lines)
            ASSERT_TRUE(waitUntil([&] { return model().isArmed(line); })) << "line " << line;
    }

    // A few key polls for late events to show up.
    static void settle() { std::this_thread::sleep_for(300ms); }

    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

} // namespace

TEST_F(InterruptsCtlTest, EveryQuickClickGivesExactlyOneClick)
{
    attachKeys();
    for (int round = 1; round <= 3; ++round) {
        model().click(Key::F2);
        ASSERT_TRUE(waitUntil([&] { return recorder->size() == static_cast<size_t>(round); }));
        armed({4});
    }
    settle();
    EXPECT_EQ(recorder->names(), std::vector<std::string>(3, "F2:clicked"));
    for (const Event &event : recorder->events())
        EXPECT_EQ(event.value, 0);
}

TEST_F(InterruptsCtlTest, KeyHeldThreeSecondsGivesOneLongClickAndNoClick)
{
    attachKeys();
    const auto pressed = Clock::now();
    model().press(Key::F3);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() > 0; }));
    // 150 polls of at least 20 ms each.
    EXPECT_GE(Clock::now() - pressed, 2900ms);
    model().release(Key::F3);
    settle();
    EXPECT_EQ(recorder->names(), std::vector<std::string>{"F3:long"});
}

TEST_F(InterruptsCtlTest, TwoKeysHeldGiveOnlyTheirCombination)
{
    attachKeys();
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, InterruptsCtl::KEY_F3, recorder->callback("F1+F3")));
    const auto pressed = Clock::now();
    model().press(Key::F1);
    model().press(Key::F3);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() > 0; }));
    // More than 99 polls on both keys.
    EXPECT_GE(Clock::now() - pressed, 1900ms);
    // Held on past the single long press: the combination reset both keys.
    std::this_thread::sleep_for(1500ms);
    model().release(Key::F1);
    model().release(Key::F3);
    settle();
    EXPECT_EQ(recorder->names(), std::vector<std::string>{"F1+F3:long"});
}

TEST_F(InterruptsCtlTest, AllThreeKeysHeldGiveFirstPairOnlyThenTheThirdKeysLongPress)
{
    attachKeys();
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F2, InterruptsCtl::KEY_F3, recorder->callback("F2+F3")));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, InterruptsCtl::KEY_F3, recorder->callback("F1+F3")));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, InterruptsCtl::KEY_F2, recorder->callback("F1+F2")));
    // F1 first: its count is never behind, so F1+F2 is due whenever a pair is.
    // F3 keeps counting after F1+F2 took the other two keys.
    holdTogether({Key::F1, Key::F2, Key::F3}, 2);
    EXPECT_EQ(recorder->names(), (std::vector<std::string>{"F1+F2:long", "F3:long"}));
}

TEST_F(InterruptsCtlTest, PairAttachRules)
{
    EXPECT_FALSE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, InterruptsCtl::KEY_F1, recorder->callback("x")));
    EXPECT_FALSE(dispatcher()->attach(InterruptsCtl::KEY_F2, InterruptsCtl::SDI_CARRIER, recorder->callback("x")));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, InterruptsCtl::KEY_F3, recorder->callback("F1+F3")));
    // Descending: accepted, stores nothing, but both key lines are watched.
    EXPECT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F3, InterruptsCtl::KEY_F1, recorder->callback("F3+F1")));
    armed({3, 5});
    // The pair created the lines without callbacks: a single callback still fits.
    EXPECT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, recorder->callback("F1")));
    holdTogether({Key::F1, Key::F3});
    EXPECT_EQ(recorder->names(), std::vector<std::string>{"F1+F3:long"});
}

TEST_F(InterruptsCtlTest, SingleAttachRules)
{
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("first")));
    CaptureStdout();
    EXPECT_FALSE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("second")));
    EXPECT_EQ(GetCapturedStdout(), "\033[1;34m[ WARNING ]: attach interrupts:0 has been attached\n\033[0m");
    // An empty callback on a watched line changes nothing.
    EXPECT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, InterruptsCtl::Callback()));
    // Only the six lines exist.
    EXPECT_FALSE(dispatcher()->attach(static_cast<InterruptsCtl::InterruptsType>(6), recorder->callback("x")));

    armed({0});
    model().raise(0);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() > 0; }));
    settle();
    EXPECT_EQ(recorder->names(), std::vector<std::string>{"first:clicked"});
}

TEST_F(InterruptsCtlTest, MissingDeviceLeavesTheOtherLinesWorking)
{
    ASSERT_TRUE(model().removeDevice(2));
    CaptureStderr();
    EXPECT_FALSE(dispatcher()->attach(InterruptsCtl::SDI_CARRIER, recorder->callback("carrier")));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: open interruputs[/dev/uio2] failed\n\033[0m");

    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("video")));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, recorder->callback("F1")));
    armed({0, 3});
    model().raise(0);
    model().click(Key::F1);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() >= 2; }));
    settle();
    std::vector<std::string> names = recorder->names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"F1:clicked", "video:clicked"}));
}

TEST_F(InterruptsCtlTest, PlainLineCallsBackOncePerInterruptOnTheEventThread)
{
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("video")));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, recorder->callback("F1")));
    armed({0, 3});
    model().click(Key::F1);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() == 1; }));

    constexpr int interrupts = 5;
    for (int i = 1; i <= interrupts; ++i) {
        model().raise(0);
        ASSERT_TRUE(waitUntil([&] { return recorder->size() == static_cast<size_t>(1 + i); }));
        armed({0});
    }
    settle();
    const std::vector<Event> events = recorder->events();
    ASSERT_EQ(events.size(), static_cast<size_t>(1 + interrupts));
    const std::thread::id keyThread = events[0].thread;
    const std::thread::id eventThread = events[1].thread;
    EXPECT_NE(eventThread, std::this_thread::get_id());
    EXPECT_NE(eventThread, keyThread);
    for (size_t i = 1; i < events.size(); ++i) {
        EXPECT_EQ(events[i].source, "video");
        EXPECT_EQ(events[i].handle, InterruptsCtl::KEY_CLICKED);
        EXPECT_EQ(events[i].value, 0);
        EXPECT_EQ(events[i].thread, eventThread);
    }
    for (const Event &event : events)
        EXPECT_TRUE(event.underClassMutex) << event.source;
    EXPECT_EQ(model().count(0), static_cast<uint32_t>(interrupts));
}

TEST_F(InterruptsCtlTest, ReArmAcknowledgesThenUnmasksThenEnables)
{
    constexpr uint32_t unrelated = 0x80000000u;
    board().pl().set(FPGA_INIT_CTL, unrelated);
    model().stallUnmask(1, true);
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::FRAME_OPTION, recorder->callback("frame")));

    // The unmask write waits: the acknowledge is already there, the enable not yet.
    ASSERT_TRUE(waitUntil([&] { return model().acknowledgements(1) > 0; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 4, 4), 0u);
    EXPECT_FALSE(model().isArmed(1));

    model().stallUnmask(1, false);
    armed({1});
    EXPECT_EQ(board().pl().get(FPGA_INIT_CTL), unrelated | 0x10u);
    EXPECT_EQ(model().acknowledgements(1), 1);

    // Every interrupt re-arms the line.
    model().raise(1);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() == 1 && model().isArmed(1); }));
    EXPECT_EQ(board().pl().get(FPGA_INIT_CTL), unrelated | 0x10u);
    for (int other : {0, 2, 3, 4, 5})
        EXPECT_EQ(model().acknowledgements(other), 0) << other;
}

TEST_F(InterruptsCtlTest, FailedUnmaskEndsTheEventThreadButNotTheKeyThread)
{
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("video")));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::KEY_F1, recorder->callback("F1")));
    armed({0, 3});
    model().press(Key::F1);
    ASSERT_TRUE(waitUntil([&] { return model().count(3) == 1 && model().isArmed(3); }));

    ASSERT_TRUE(model().refuseUnmask(2));
    CaptureStdout();
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::SDI_CARRIER, recorder->callback("carrier")));
    // Acknowledged, then the unmask failed: the enable never comes.
    ASSERT_TRUE(waitUntil(
        [&] { return board().pl().field(FPGA_INIT_CTL, 9, 9) == 1 || model().acknowledgements(2) > 0; }));

    // The key thread finishes the press the event thread had started.
    model().release(Key::F1);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() == 1; }));
    // Attaching still works; no line is served any more.
    EXPECT_TRUE(dispatcher()->attach(InterruptsCtl::FRAME_OPTION, recorder->callback("frame")));
    model().raise(0);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(GetCapturedStdout(), "\033[1;34m[ WARNING ]: enable /dev/uio2 interrupts failed\n\033[0m");
    EXPECT_EQ(recorder->names(), std::vector<std::string>{"F1:clicked"});
    EXPECT_EQ(board().pl().field(FPGA_INIT_CTL, 8, 8), 0u);
    EXPECT_FALSE(model().isArmed(1));
}

TEST_F(InterruptsCtlTest, FailedReadSilencesOnlyThatLine)
{
    ASSERT_TRUE(model().failReads(1));
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("video")));
    CaptureStderr();
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::FRAME_OPTION, recorder->callback("frame")));
    armed({0});
    // Enough event-thread iterations for a device left in the watch to
    // report again and again.
    for (int i = 1; i <= 5; ++i) {
        model().raise(0);
        ASSERT_TRUE(waitUntil([&] { return recorder->size() == static_cast<size_t>(i); }));
        armed({0});
    }
    settle();
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: /dev/uio1 interrupts error\n\033[0m");
    EXPECT_EQ(recorder->names(), std::vector<std::string>(5, "video:clicked"));
}

// With no line firing and no key down both threads sleep; a held key is
// polled every 20 ms, and once it is up the key thread sleeps again.
TEST_F(InterruptsCtlTest, ThreadsSleepUntilThereIsSomethingToDo)
{
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::VIDEO_INFO, recorder->callback("video")));
    attachKeys();
    armed({0});
    EXPECT_TRUE(sleepsThrough("irq-event", 500ms, 2));
    EXPECT_TRUE(sleepsThrough("irq-keys", 500ms));

    model().press(Key::F2);
    ASSERT_TRUE(waitUntil([&] { return model().count(4) == 1 && model().isArmed(4); }));
    EXPECT_GE(wakeupsDuring("irq-keys", 500ms), 10) << "a poll every 20 ms while the key is down";
    model().release(Key::F2);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() == 1; }));
    settle();
    EXPECT_TRUE(sleepsThrough("irq-keys", 500ms));

    // A line attached to the sleeping dispatcher is armed and served.
    ASSERT_TRUE(dispatcher()->attach(InterruptsCtl::SDI_CARRIER, recorder->callback("carrier")));
    armed({2});
    model().raise(2);
    ASSERT_TRUE(waitUntil([&] { return recorder->size() == 2; }));
    EXPECT_EQ(recorder->names(), (std::vector<std::string>{"F2:clicked", "carrier:clicked"}));
}
