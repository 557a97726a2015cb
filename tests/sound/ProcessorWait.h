#pragma once

#include <cstdint>
#include <fstream>

// Nanoseconds the calling thread has spent ready to run but waiting for a processor, as the
// kernel counts them. An upper bound on time that leaves them out holds on a busy machine: what
// remains is the lateness the code itself caused.
inline std::int64_t WaitedForProcessor()
{
    std::ifstream schedstat("/proc/thread-self/schedstat");
    std::int64_t running = 0;
    std::int64_t waiting = 0;
    schedstat >> running >> waiting;
    return waiting;
}
