#pragma once

#include <cstdint>

// Every platform operation the tune player uses, so that its logic stays the same everywhere
// and tests can put a fake in.
class SpeakerPlatform {
public:
    virtual ~SpeakerPlatform() = default;
    virtual bool IsNTFamily() = 0; // GetVersionExA's dwPlatformId == 2: a synchronous tone service exists
    virtual void Beep(std::uint32_t frequency, std::uint32_t duration) = 0;
    virtual std::uint32_t GetTickCount() = 0;
    // Handles pending user-interface events; may block until the next event or until the tick
    // counter reaches deadlineTick, whichever comes first.
    virtual void ProcessMessages(std::uint32_t deadlineTick) = 0;
    virtual std::uint8_t ReadPort(std::uint16_t port) = 0;
    virtual void WritePort(std::uint16_t port, std::uint8_t value) = 0;
};

// The process-wide platform the tune players use; tests put a fake in. nullptr restores the real one.
void SetSpeakerPlatform(SpeakerPlatform* platform);
SpeakerPlatform& CurrentSpeakerPlatform();
// Opens the real platform's output (an audio device opens in the background), so that the first
// tune finds it ready; nothing while a test's platform is in.
void WarmUpSpeakerPlatform();

// Puts a platform in for the lifetime of a scope, then restores the one that was there.
class ScopedSpeakerPlatform {
public:
    explicit ScopedSpeakerPlatform(SpeakerPlatform& platform);
    ~ScopedSpeakerPlatform();
    ScopedSpeakerPlatform(const ScopedSpeakerPlatform&) = delete;
    ScopedSpeakerPlatform& operator=(const ScopedSpeakerPlatform&) = delete;

private:
    SpeakerPlatform* previous_;
};
