#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

// Turns timed tone changes into a signed 16-bit mono square-wave stream, silence being exact
// zeros. The stream runs a fixed latency behind the clock, so each change lands on the sample
// its time stamp names whatever rhythm the audio device asks for buffers in; a note in the
// stream is as long as the time between its changes, to the sample.
// Not thread-safe: the owner serialises Schedule and Render.
class SquareWaveStream {
public:
    SquareWaveStream(std::int32_t sampleRate, std::int16_t amplitude, std::int64_t latencyNanoseconds);

    // From atNanoseconds on, sound `frequency` hertz (0: silence). Changes come in time order.
    void Schedule(double frequency, std::int64_t atNanoseconds);

    // Fills the next `count` samples; `nowNanoseconds` is the clock at the time of the call.
    void Render(std::int16_t* out, std::size_t count, std::int64_t nowNanoseconds);

    std::size_t PendingChanges() const { return pending_.size(); }

    // A device that stops asking for samples must not make the queue grow without end.
    static constexpr std::size_t MaxPendingChanges = 1024;

    // After this much silence the stream re-aligns with the clock, dropping any drift of the
    // device's rate; it is longer than every rest of the tunes, which keep their exact length.
    static constexpr std::int64_t RealignAfterSilence = 250 * 1'000'000LL;

private:
    struct Change {
        double frequency;
        std::int64_t at;
    };

    std::int64_t SampleAt(std::int64_t nanoseconds) const;
    void Apply(double frequency);
    void Realign(std::size_t count, std::int64_t now);

    std::int32_t sampleRate_;
    std::int16_t amplitude_;
    std::int64_t latency_;
    std::deque<Change> pending_;
    bool anchored_ = false;
    std::int64_t anchorTime_ = 0; // the clock time that sample anchorSample_ stands for
    std::int64_t anchorSample_ = 0;
    std::int64_t position_ = 0;    // index of the next sample to render
    std::int64_t silentSince_ = 0; // sample index where the current silence began
    double frequency_ = 0;
    double phase_ = 0; // 0..1 within one period; the first half is high
};
