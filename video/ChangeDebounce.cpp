#include "ChangeDebounce.h"

namespace {

// Beyond this the milliseconds are not computed: the interval has passed.
constexpr long longGapSeconds = 2;

} // namespace

ChangeDebounce::ChangeDebounce()
{
    gettimeofday(&m_last, nullptr);
}

bool ChangeDebounce::poll(bool changed)
{
    struct timeval now;
    gettimeofday(&now, nullptr);
    return poll(changed, now);
}

bool ChangeDebounce::poll(bool changed, const struct timeval &now)
{
    if (changed)
        m_pending = true;
    if (!m_pending)
        return false;
    if (timercmp(&now, &m_last, <)) {
        m_last = now;
        return false;
    }
    const long seconds = now.tv_sec - m_last.tv_sec;
    const long elapsedMs = seconds > longGapSeconds
                               ? intervalMs
                               : seconds * 1000 + (now.tv_usec - m_last.tv_usec) / 1000;
    if (elapsedMs < intervalMs)
        return false;
    m_last = now;
    m_pending = false;
    return true;
}
