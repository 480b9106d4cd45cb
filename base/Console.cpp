#include "Console.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex consoleMutex;

void emit(FILE *stream, const char *prefix, const char *suffix, const char *format, va_list args)
{
    std::lock_guard<std::mutex> lock(consoleMutex);
    std::fputs(prefix, stream);
    std::vfprintf(stream, format, args);
    std::fputs(suffix, stream);
    std::fflush(stream);
}

} // namespace

namespace console {

void error(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    emit(stderr, "\033[1;31m[ ERROR ]: ", "\033[0m", format, args);
    va_end(args);
}

void warning(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    emit(stdout, "\033[1;34m[ WARNING ]: ", "\033[0m", format, args);
    va_end(args);
}

void print(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    emit(stdout, "", "", format, args);
    va_end(args);
}

} // namespace console
