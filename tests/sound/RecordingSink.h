#pragma once

#include "sound/EmulatedSpeaker.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <vector>

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

// Records each change of the speaker (passing it on, if given a sink): its time stamp, the
// moment it was made, and how long the thread had waited for a processor by then.
class RecordingSink : public ToneSink {
public:
    struct Change {
        double frequency;
        std::int64_t stamp;
        std::int64_t made;
        std::int64_t waited;
    };
    explicit RecordingSink(ToneSink* next = nullptr)
        : next_(next)
    {
    }
    void Tone(double frequency, std::int64_t at) override
    {
        if (next_ != nullptr)
            next_->Tone(frequency, at);
        const std::int64_t made = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::int64_t waited = WaitedForProcessor();
        // The writes of one SpeakerOff and SpeakerOn follow each other at once: one change. The
        // stream plays only the last of changes stamped alike, whatever a slow or busy machine
        // made of the time between them; otherwise the thread's own time tells.
        if (!changes.empty()
            && (at == changes.back().stamp || made - changes.back().made - (waited - changes.back().waited) < 500'000))
            changes.back().frequency = frequency;
        else
            changes.push_back({frequency, at, made, waited});
    }
    std::vector<Change> changes;

private:
    ToneSink* next_;
};
