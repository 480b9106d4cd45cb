#pragma once

#include <sys/time.h>

// Rate limit of a decoder's change notifications: a change is notified at once
// when the last notification is at least 750 ms old, otherwise it stays
// pending and is notified by a later poll once that time has passed. A clock
// that went backwards restarts the interval. Used from one thread.
class ChangeDebounce
{
public:
    static constexpr long intervalMs = 750;

    // The interval runs from now.
    ChangeDebounce();

    // Records a change when there is one; true when a notification is due at
    // now, in which case the pending change is taken and now becomes the time
    // of the last notification.
    bool poll(bool changed, const struct timeval &now);
    // The same at the current time of day.
    bool poll(bool changed);

    bool pending() const { return m_pending; }

private:
    bool m_pending = false;
    struct timeval m_last = {0, 0};
};
