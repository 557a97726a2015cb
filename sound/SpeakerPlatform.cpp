#include "sound/SpeakerPlatform.h"

#include "sound/LinuxSpeakerPlatform.h"

#include <memory>

namespace {

SpeakerPlatform* installed = nullptr;

SpeakerPlatform& RealPlatform()
{
    // Made on first use, so a program that never plays (or plays only through a fake) never
    // opens an audio device; destroyed at exit, which silences the speaker.
    static const std::unique_ptr<LinuxSpeakerPlatform> real =
        std::make_unique<LinuxSpeakerPlatform>(LinuxSpeakerPlatform::OpenBestToneSink());
    return *real;
}

} // namespace

void SetSpeakerPlatform(SpeakerPlatform* platform)
{
    installed = platform;
}

SpeakerPlatform& CurrentSpeakerPlatform()
{
    return installed != nullptr ? *installed : RealPlatform();
}

ScopedSpeakerPlatform::ScopedSpeakerPlatform(SpeakerPlatform& platform)
    : previous_(installed)
{
    installed = &platform;
}

ScopedSpeakerPlatform::~ScopedSpeakerPlatform()
{
    installed = previous_;
}
