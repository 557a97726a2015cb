#include "sound/SpeakerPlatform.h"

#include "sound/LinuxSpeakerPlatform.h"

#include <memory>

namespace {

SpeakerPlatform* installed = nullptr;

// The real platform's output, opened by the warm-up once the window is up or by the first tone,
// whichever comes first: opening it loads the audio libraries, which the start need not wait for.
// Used on the user-interface thread only.
class DeferredToneSink final : public ToneSink {
public:
    void Open()
    {
        if (!sink_)
            sink_ = LinuxSpeakerPlatform::OpenBestToneSink();
    }

    void Tone(double frequency, std::int64_t atNanoseconds) override
    {
        if (!sink_ && frequency == 0)
            return; // silence on an output never opened
        Open();
        sink_->Tone(frequency, atNanoseconds);
    }

private:
    std::unique_ptr<ToneSink> sink_;
};

DeferredToneSink* realSink = nullptr;

SpeakerPlatform& RealPlatform()
{
    // Made on first use, so a program that plays only through a fake never opens an audio
    // device; destroyed at exit, which silences the speaker.
    static const std::unique_ptr<LinuxSpeakerPlatform> real = [] {
        auto sink = std::make_unique<DeferredToneSink>();
        realSink = sink.get();
        return std::make_unique<LinuxSpeakerPlatform>(std::move(sink));
    }();
    return *real;
}

} // namespace

void SetSpeakerPlatform(SpeakerPlatform* platform)
{
    installed = platform;
}

void WarmUpSpeakerPlatform()
{
    if (installed != nullptr)
        return;
    RealPlatform();
    realSink->Open();
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
