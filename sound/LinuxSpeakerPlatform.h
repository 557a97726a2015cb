#pragma once

#include "sound/EmulatedSpeaker.h"
#include "sound/SpeakerPlatform.h"

#include <memory>

// The platform on Linux: no synchronous tone service, so the tune player drives the speaker
// ports, which reach an emulated PC speaker that sounds through a ToneSink. The tick counter
// counts milliseconds of CLOCK_MONOTONIC.
class LinuxSpeakerPlatform final : public SpeakerPlatform {
public:
    explicit LinuxSpeakerPlatform(std::unique_ptr<ToneSink> sink);
    ~LinuxSpeakerPlatform() override;

    // The computer's own speaker (evdev) if there is one we may write to, else the default
    // audio device through SDL2, else silence.
    static std::unique_ptr<ToneSink> OpenBestToneSink();

    bool IsNTFamily() override;
    void Beep(std::uint32_t frequency, std::uint32_t duration) override;
    std::uint32_t GetTickCount() override;
    void ProcessMessages(std::uint32_t deadlineTick) override;
    std::uint8_t ReadPort(std::uint16_t port) override;
    void WritePort(std::uint16_t port, std::uint8_t value) override;

private:
    std::unique_ptr<ToneSink> sink_;
    EmulatedSpeaker speaker_;
};
