#pragma once

#include "sound/EmulatedSpeaker.h"
#include "sound/SquareWaveStream.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

// The default audio device through SDL2: a square wave, signed 16-bit mono at 48000 Hz, in
// buffers of 5 ms. The device is opened once, on a thread of its own (which loads SDL2 first) so
// that the program's window is not kept waiting, and stays open (rendering silence) until destruction.
// Without a usable device every tone is dropped quietly. An open that hangs never holds up
// the end of the program: destruction waits for it only a short while, then leaves the opening
// thread to close what it opens by itself.
class SdlToneSink final : public ToneSink {
public:
    static constexpr std::int32_t SampleRate = 48000;
    static constexpr std::uint16_t BufferSamples = 240;
    static constexpr std::int16_t Amplitude = 6000; // about -15 dB of full scale: clear, not harsh

    // How long destruction waits for an open that is still running.
    static constexpr std::chrono::milliseconds OpenWaitAtEnd{300};

    // Runs on the opening thread where the device is opened, just before it is; false gives the
    // open up. Tests stand in a slow or stuck open with it.
    using BeforeOpen = std::function<bool()>;

    explicit SdlToneSink(BeforeOpen beforeOpen = nullptr);
    ~SdlToneSink() override;
    SdlToneSink(const SdlToneSink&) = delete;
    SdlToneSink& operator=(const SdlToneSink&) = delete;

    void Tone(double frequency, std::int64_t atNanoseconds) override;

    // Blocks until the device has been opened or given up on; true when it is open.
    bool WaitUntilOpen();

    // True once every change made so far has reached the device.
    bool Played();

    // Opening threads still running, their sinks destroyed or not.
    static int OpensRunning();

private:
    // Everything the opening thread and SDL's audio thread touch; it outlives the sink while
    // an open that the sink gave up waiting for is still running.
    struct Device;

    static void OpenDevice(const std::shared_ptr<Device>& device, const BeforeOpen& beforeOpen);
    static bool TryOpenDevice(Device& device, const BeforeOpen& beforeOpen);
    static void Release(Device& device);
    static void Fill(void* device, std::uint8_t* stream, int length);

    std::shared_ptr<Device> device_;
    std::thread opener_;
};
