#pragma once

#include <sys/resource.h>

// The process's peak resident memory so far, in MB.
inline double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}
