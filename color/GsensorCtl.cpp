#include "GsensorCtl.h"

#include "RotateCtl.h"
#include "UartAPI.h"

namespace {

constexpr uint8_t flipCommand = 0x0B;
constexpr long repeatMs = 200;

// Angles of the two orientations; between them, and beyond them, lies the
// dead band in which the orientation stays as it is.
constexpr short turnedOverLow = -159;
constexpr short turnedOverHigh = -21;
constexpr short uprightLow = 21;
constexpr short uprightHigh = 159;

// A clock that setting the system time does not move, so the repeat interval
// holds across clock changes.
struct timespec now()
{
    struct timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return time;
}

// Whole milliseconds as the interval rule counts them: microseconds difference
// / 1000 plus 1000 per second of difference.
long elapsedMs(const struct timespec &from, const struct timespec &to)
{
    const long microseconds = (to.tv_nsec / 1000) - (from.tv_nsec / 1000);
    return microseconds / 1000 + 1000 * static_cast<long>(to.tv_sec - from.tv_sec);
}

} // namespace

GsensorCtl::GsensorCtl() : rotate(*RotateCtl::getInstance()) {}

void GsensorCtl::setFlipEnable(bool enable)
{
    flipEnabled = enable;
}

void GsensorCtl::setGsensorData(int, int, int, short, short angle)
{
    if (!flipEnabled)
        return;
    if (pending) {
        sample = now();
        if (elapsedMs(lastRequest, sample) <= repeatMs)
            return;
    }
    bool changed = false;
    if (angle >= turnedOverLow && angle <= turnedOverHigh && !flipped) {
        flipped = true;
        changed = true;
    } else if (angle >= uprightLow && angle <= uprightHigh && flipped) {
        flipped = false;
        changed = true;
    }
    if (changed || pending)
        send();
}

void GsensorCtl::setFlip(bool state)
{
    pending = false;
    rotate.invert(state, state);
}

void GsensorCtl::send()
{
    const uint8_t state = flipped ? 1 : 0;
    UartSendValue(flipCommand, &state, 1);
    pending = true;
    lastRequest = now();
}
