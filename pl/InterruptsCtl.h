#pragma once

#include "Singleton.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/time.h>
#include <vector>

class PLControl;

// The dispatcher of the logic's six interrupt lines, one userspace-I/O device
// each. It re-arms a line in the logic after every interrupt, turns the three
// front-key lines into clicks, long presses and two-key combinations, and calls
// the callback attached to each line. Callbacks run on the dispatcher's own two
// threads while it holds the class mutex: they must return quickly, must not
// attach, and hand user-interface work over through queued signals.
class InterruptsCtl : public Singleton<InterruptsCtl>
{
    friend class Singleton<InterruptsCtl>;

public:
    // The line; its value is also the number of its device.
    enum InterruptsType : int {
        VIDEO_INFO = 0,
        FRAME_OPTION = 1,
        SDI_CARRIER = 2,
        KEY_F1 = 3,
        KEY_F2 = 4,
        KEY_F3 = 5,
    };

    enum KeyHandle : int {
        KEY_CLICKED = 0,
        KEY_LONG_CLICKED = 1,
    };

    using Callback = std::function<void(KeyHandle, int)>;

    ~InterruptsCtl() override;

    // Watches a line; a second non-empty callback for the same line is refused.
    bool attach(InterruptsType type, Callback callback);
    // A two-key combination, lower key first; both keys get watched.
    bool attach(InterruptsType first, InterruptsType second, Callback callback);

private:
    struct __interrupts {
        InterruptsType type;
        int32_t fd = -1;
        bool armed = false;
        bool pending = false;
        int32_t count = 0;
        Callback callback;
        std::string name;
    };

    InterruptsCtl();

    bool open(__interrupts *interrupts);
    void close(__interrupts *interrupts);
    bool clear(__interrupts *interrupts);
    bool clear(int fd, unsigned char ackBit, unsigned char enableBit, const std::string &name);
    bool readInterrupts(__interrupts *interrupts);
    void queryInterrupts(__interrupts *key);
    bool queryInterrupts(__interrupts *first, __interrupts *second);
    Callback *pairCallback(InterruptsType first, InterruptsType second);
    void loop();
    void doInterrupts();
    void wait(int ms);
    // Wakes the event thread out of its select.
    void wakeEventThread();
    bool keyPending() const;

    PLControl *pl;
    std::atomic<bool> running{false};
    bool needArm = false;
    std::atomic<bool> idle{true};
    Callback keyF1F2;
    Callback keyF1F3;
    Callback keyF2F3;

    // The previous pacing point of the event thread, which alone uses it.
    bool paced = false;
    struct timeval pacedAt = {0, 0};

    // Wakes the event thread from its first, idle wait.
    std::mutex wakeMutex;
    std::condition_variable wakeCondition;
    bool lineAdded = false;
    // Counts attaches not yet served; the event thread selects on it beside
    // the lines, so that it needs no time-out to notice a new line.
    int attachEvent = -1;
    // Wakes the key thread when a key line fires; with the class mutex.
    std::condition_variable keyCondition;

    std::vector<std::unique_ptr<__interrupts>> interruptsList;
};
