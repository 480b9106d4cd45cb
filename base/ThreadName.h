#pragma once

#include <pthread.h>

// Names the calling thread, so that top -H, a profiler and the idle benchmark
// tell the threads apart. Linux keeps at most 15 characters.
inline void nameThread(const char *name)
{
    pthread_setname_np(pthread_self(), name);
}
