#pragma once

#include "sound/EmulatedSpeaker.h"

#include <memory>

// The computer's built-in speaker through the Linux PC-speaker input device, which takes
// EV_SND / SND_TONE events.
class EvdevToneSink final : public ToneSink {
public:
    // nullptr when no such device is present or none may be written to.
    static std::unique_ptr<EvdevToneSink> Open();
    ~EvdevToneSink() override;
    EvdevToneSink(const EvdevToneSink&) = delete;
    EvdevToneSink& operator=(const EvdevToneSink&) = delete;

    void Tone(double frequency, std::int64_t atNanoseconds) override;

private:
    explicit EvdevToneSink(int fd);
    int fd_;
};
