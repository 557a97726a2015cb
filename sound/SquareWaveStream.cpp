#include "sound/SquareWaveStream.h"

namespace {

constexpr std::int64_t NanosecondsPerSecond = 1'000'000'000;

// floor(a / b) for b > 0, also for negative a.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

SquareWaveStream::SquareWaveStream(std::int32_t sampleRate, std::int16_t amplitude, std::int64_t latencyNanoseconds)
    : sampleRate_(sampleRate)
    , amplitude_(amplitude)
    , latency_(latencyNanoseconds)
{
}

void SquareWaveStream::Schedule(double frequency, std::int64_t atNanoseconds)
{
    if (pending_.size() >= MaxPendingChanges) {
        // Nobody renders: the oldest change is long past, so it only sets the present state.
        Apply(pending_.front().frequency);
        pending_.pop_front();
    }
    pending_.push_back({frequency, atNanoseconds});
}

std::int64_t SquareWaveStream::SampleAt(std::int64_t nanoseconds) const
{
    // Split into whole seconds and the rest so that hours of drift cannot overflow.
    const std::int64_t delta = nanoseconds - anchorTime_;
    const std::int64_t seconds = FloorDiv(delta, NanosecondsPerSecond);
    const std::int64_t rest = delta - seconds * NanosecondsPerSecond;
    return anchorSample_ + seconds * sampleRate_ + rest * sampleRate_ / NanosecondsPerSecond;
}

void SquareWaveStream::Apply(double frequency)
{
    const bool wasAudible = frequency_ > 0;
    // Above half the sample rate a square wave cannot be drawn; it would be inaudible anyway.
    frequency_ = frequency * 2 < sampleRate_ ? frequency : 0;
    if (frequency_ > 0 && !wasAudible)
        phase_ = 0; // every note starts on a rising edge
    if (frequency_ <= 0 && wasAudible)
        silentSince_ = position_;
}

void SquareWaveStream::Realign(std::size_t count, std::int64_t now)
{
    // The buffer being rendered ends `latency_` before now.
    anchorSample_ = position_ + static_cast<std::int64_t>(count);
    anchorTime_ = now - latency_;
    anchored_ = true;
}

void SquareWaveStream::Render(std::int16_t* out, std::size_t count, std::int64_t nowNanoseconds)
{
    if (frequency_ <= 0 && pending_.empty()) {
        const std::int64_t end = position_ + static_cast<std::int64_t>(count);
        const bool ahead = anchored_ && SampleAt(nowNanoseconds) < end;
        const bool longSilence = position_ - silentSince_ >= RealignAfterSilence * sampleRate_ / NanosecondsPerSecond;
        // Ahead of the clock the next change would come late; long silence drops slow drift.
        if (!anchored_ || ahead || longSilence)
            Realign(count, nowNanoseconds);
    } else if (!anchored_) {
        Realign(count, nowNanoseconds);
    }

    std::int64_t nextChange = pending_.empty() ? INT64_MAX : SampleAt(pending_.front().at);
    const double step = 1.0 / sampleRate_;
    for (std::size_t i = 0; i < count; ++i) {
        while (nextChange <= position_) {
            Apply(pending_.front().frequency);
            pending_.pop_front();
            nextChange = pending_.empty() ? INT64_MAX : SampleAt(pending_.front().at);
        }
        if (frequency_ > 0) {
            out[i] = phase_ < 0.5 ? amplitude_ : static_cast<std::int16_t>(-amplitude_);
            phase_ += frequency_ * step;
            if (phase_ >= 1)
                phase_ -= 1;
        } else {
            out[i] = 0;
        }
        ++position_;
    }
}
