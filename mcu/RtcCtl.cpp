#include "RtcCtl.h"

#include "Console.h"
#include "UartAPI.h"

#include <ctime>

namespace {

constexpr uint8_t setClockCommand = 0x0A;
constexpr int firstValidYear = 2020;

} // namespace

void RtcCtl::updateTime(long seconds)
{
    const time_t stamp = static_cast<time_t>(seconds);
    struct tm local = {};
    const bool converted = localtime_r(&stamp, &local) != nullptr;
    if (converted && local.tm_year + 1900 >= firstValidYear) {
        const int year = local.tm_year + 1900;
        const int month = local.tm_mon + 1;
        console::print("%04d-%02d-%02d %02d:%02d:%02d\n", year, month, local.tm_mday, local.tm_hour, local.tm_min,
                       local.tm_sec);
        updateTime(year, month, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        return;
    }

    // The MCU clock was never set (or lost its battery): start it at a known time.
    const int year = firstValidYear, month = 1, day = 1, hour = 1, minute = 0, second = 0;
    console::print("%04d-%02d-%02d %02d:%02d:%02d\n", year, month, day, hour, minute, second);
    updateTime(year, month, day, hour, minute, second);
    console::print("set mcu time : %04d-%02d-%02d %02d:%02d:%02d\n", year, month, day, hour, minute, second);
    setTime(year, month, day, hour, minute, second);
}

void RtcCtl::updateTime(int year, int month, int day, int hour, int minute, int second)
{
    emit signalUpdateTime(year, month, day, hour, minute, second);
}

int RtcCtl::setTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const time_t stamp = mktime(&local);
    if (stamp == static_cast<time_t>(-1))
        return -1;
    const uint32_t seconds = static_cast<uint32_t>(stamp);
    const uint8_t data[4] = {static_cast<uint8_t>(seconds >> 24), static_cast<uint8_t>(seconds >> 16),
                             static_cast<uint8_t>(seconds >> 8), static_cast<uint8_t>(seconds)};
    return UartSendValue(setClockCommand, data, sizeof(data));
}
