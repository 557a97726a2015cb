#pragma once

#include <chrono>
#include <cstdint>

// The one time base of the sound code: CLOCK_MONOTONIC in nanoseconds (what steady_clock reads
// on Linux), so the tick counter, the wake-up timer and the audio thread agree on "now".
inline std::int64_t MonotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::int64_t NanosecondsPerMillisecond = 1'000'000;
