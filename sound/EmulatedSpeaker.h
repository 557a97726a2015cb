#pragma once

#include <cstdint>

// Where the emulated speaker's sound goes: from the given moment on, a square wave of the given
// frequency in hertz, or silence for 0.
class ToneSink {
public:
    virtual ~ToneSink() = default;
    virtual void Tone(double frequency, std::int64_t atNanoseconds) = 0;
};

// A sink that keeps silent, for a machine with no way to make a sound.
class SilentToneSink final : public ToneSink {
public:
    void Tone(double, std::int64_t) override {}
};

// The PC speaker as its I/O ports show it: channel 2 of the 8254 interval timer (control word
// on port 0x43, count on port 0x42) and the gate and speaker-enable bits of port 0x61.
// It sounds 1193181 / count Hz while bits 0 and 1 of port 0x61 are set and a count is loaded.
class EmulatedSpeaker {
public:
    static constexpr std::uint32_t TimerClock = 1193181;
    static constexpr std::uint16_t CounterPort = 0x42;
    static constexpr std::uint16_t ControlPort = 0x43;
    static constexpr std::uint16_t GatePort = 0x61;

    explicit EmulatedSpeaker(ToneSink& sink);

    std::uint8_t Read(std::uint16_t port) const;
    void Write(std::uint16_t port, std::uint8_t value, std::int64_t atNanoseconds);

    // What sounds now, in hertz; 0 while silent.
    double Frequency() const { return frequency_; }

private:
    void LoadCount(std::uint32_t count, std::int64_t at);
    void Update(std::int64_t at);

    ToneSink& sink_;
    std::uint8_t gate_ = 0;
    std::uint8_t accessMode_ = 3; // 1 low byte only, 2 high byte only, 3 low then high
    bool highByteNext_ = false;
    std::uint8_t lowByte_ = 0;
    std::uint32_t count_ = 0; // 0 while no count is loaded; a written 0 means 65536
    double frequency_ = 0;
};
