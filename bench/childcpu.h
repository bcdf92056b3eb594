#pragma once

#include <sys/resource.h>

// CPU time, in seconds, of the finished child processes of this benchmark (as31, s51):
// the benchmark's CPU column counts this process only, and on a busy machine their CPU
// time compares better with Blikon's than wall time.
inline double childProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
