#pragma once

#include "sound/EmulatedSpeaker.h"
#include "sound/SquareWaveStream.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

// The default audio device through SDL2: a square wave, signed 16-bit mono at 48000 Hz, in
// buffers of 5 ms. The device is opened once, on a thread of its own so that the program's
// first window is not kept waiting, and stays open (rendering silence) until destruction.
// Without a usable device every tone is dropped quietly.
class SdlToneSink final : public ToneSink {
public:
    static constexpr std::int32_t SampleRate = 48000;
    static constexpr std::uint16_t BufferSamples = 240;
    static constexpr std::int16_t Amplitude = 6000; // about -15 dB of full scale: clear, not harsh

    SdlToneSink();
    ~SdlToneSink() override;
    SdlToneSink(const SdlToneSink&) = delete;
    SdlToneSink& operator=(const SdlToneSink&) = delete;

    void Tone(double frequency, std::int64_t atNanoseconds) override;

    // Blocks until the device has been opened or given up on; true when it is open.
    bool WaitUntilOpen();

    // True once every change made so far has reached the device.
    bool Played();

private:
    enum class State { Opening, Open, Failed };

    void OpenDevice();
    bool TryOpenDevice();
    static void Fill(void* self, std::uint8_t* stream, int length);

    std::mutex mutex_;               // guards stream_ between the caller and SDL's audio thread
    SquareWaveStream stream_;
    std::atomic<State> state_{State::Opening};
    std::uint32_t device_ = 0;
    std::thread opener_;
};
