#include "sound/SdlToneSink.h"

#include "sound/Clock.h"

#include <SDL.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// SDL keeps process-wide state (hints, driver lists) that only SDL_Quit frees; the last sink quits.
std::atomic<int> liveSinks{0};

// Stream latency: two buffers, enough for a late callback, short enough not to be heard.
constexpr std::int64_t Latency = 10 * NanosecondsPerMillisecond;

// Audio back ends (ALSA above all) print to stderr when there is no sound card; a machine
// without audio must stay quiet, so the open runs with stderr sent to /dev/null.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;
};

} // namespace

SdlToneSink::SdlToneSink()
    : stream_(SampleRate, Amplitude, Latency)
{
    ++liveSinks;
    opener_ = std::thread([this] { OpenDevice(); });
}

SdlToneSink::~SdlToneSink()
{
    if (opener_.joinable())
        opener_.join();
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (state_ != State::Failed)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (--liveSinks == 0)
        SDL_Quit();
}

void SdlToneSink::OpenDevice()
{
    state_ = TryOpenDevice() ? State::Open : State::Failed;
    // SDL keeps error texts per thread and frees them only for threads of its own making.
    SDL_TLSCleanup();
}

bool SdlToneSink::TryOpenDevice()
{
    const QuietStderr quiet;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Wirtola");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = SampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = BufferSamples;
    wanted.callback = &SdlToneSink::Fill;
    wanted.userdata = this;
    // SDL converts to whatever the device needs, so the callback always sees this format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool SdlToneSink::WaitUntilOpen()
{
    if (opener_.joinable())
        opener_.join();
    return state_ == State::Open;
}

bool SdlToneSink::Played()
{
    const std::lock_guard lock(mutex_);
    return stream_.PendingChanges() == 0;
}

void SdlToneSink::Tone(double frequency, std::int64_t atNanoseconds)
{
    // Changes made while the device is still opening are kept; the stream plays what is still due.
    if (state_ == State::Failed)
        return;
    const std::lock_guard lock(mutex_);
    stream_.Schedule(frequency, atNanoseconds);
}

void SdlToneSink::Fill(void* self, std::uint8_t* stream, int length)
{
    auto* sink = static_cast<SdlToneSink*>(self);
    const std::int64_t now = MonotonicNanoseconds();
    const std::lock_guard lock(sink->mutex_);
    sink->stream_.Render(reinterpret_cast<std::int16_t*>(stream),
                         static_cast<std::size_t>(length) / sizeof(std::int16_t), now);
}
