#include "sound/EmulatedSpeaker.h"

EmulatedSpeaker::EmulatedSpeaker(ToneSink& sink)
    : sink_(sink)
{
}

std::uint8_t EmulatedSpeaker::Read(std::uint16_t port) const
{
    if (port == GatePort)
        return gate_;
    // The counter's read-back is not emulated, and an absent port floats high.
    return port == CounterPort ? 0 : 0xFF;
}

void EmulatedSpeaker::Write(std::uint16_t port, std::uint8_t value, std::int64_t atNanoseconds)
{
    switch (port) {
    case GatePort:
        gate_ = value;
        Update(atNanoseconds);
        break;
    case ControlPort: {
        const int counter = value >> 6;
        const int access = (value >> 4) & 3;
        // Only channel 2 drives the speaker; access 0 is a latch command that changes nothing heard.
        if (counter != 2 || access == 0)
            break;
        accessMode_ = static_cast<std::uint8_t>(access);
        highByteNext_ = false;
        // A new control word stops the counter until its count has been written.
        count_ = 0;
        Update(atNanoseconds);
        break;
    }
    case CounterPort:
        if (accessMode_ == 1) {
            LoadCount(value, atNanoseconds);
        } else if (accessMode_ == 2) {
            LoadCount(static_cast<std::uint32_t>(value) << 8, atNanoseconds);
        } else if (!highByteNext_) {
            lowByte_ = value;
            highByteNext_ = true;
        } else {
            highByteNext_ = false;
            LoadCount(lowByte_ | static_cast<std::uint32_t>(value) << 8, atNanoseconds);
        }
        break;
    default:
        break;
    }
}

void EmulatedSpeaker::LoadCount(std::uint32_t count, std::int64_t at)
{
    count_ = count == 0 ? 0x10000 : count;
    Update(at);
}

void EmulatedSpeaker::Update(std::int64_t at)
{
    const bool on = (gate_ & 3) == 3 && count_ != 0;
    const double frequency = on ? static_cast<double>(TimerClock) / count_ : 0;
    if (frequency == frequency_)
        return;
    frequency_ = frequency;
    sink_.Tone(frequency, at);
}
