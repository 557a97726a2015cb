#include "sound/SdlToneSink.h"

#include "sound/Clock.h"

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <thread>

namespace {

// SDL2 and the 30-odd libraries it brings (sound servers, codecs, Wayland) are loaded when sound
// is first due rather than linked: the first window needs none of them, and a game played
// silently never maps them at all.
struct SdlLibrary {
    decltype(&SDL_SetHint) SetHint;
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_Quit) Quit;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_TLSCleanup) TLSCleanup;
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

const SdlLibrary* Load()
{
    // Never closed: SDL's audio thread and its handlers stay in the library until the exit.
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static SdlLibrary sdl{};
    const bool complete = Resolve(library, "SDL_SetHint", sdl.SetHint)
        && Resolve(library, "SDL_InitSubSystem", sdl.InitSubSystem)
        && Resolve(library, "SDL_QuitSubSystem", sdl.QuitSubSystem) && Resolve(library, "SDL_Quit", sdl.Quit)
        && Resolve(library, "SDL_OpenAudioDevice", sdl.OpenAudioDevice)
        && Resolve(library, "SDL_PauseAudioDevice", sdl.PauseAudioDevice)
        && Resolve(library, "SDL_CloseAudioDevice", sdl.CloseAudioDevice)
        && Resolve(library, "SDL_TLSCleanup", sdl.TLSCleanup);
    return complete ? &sdl : nullptr;
}

// The library, loaded by the first call (on an opening thread; later callers wait for it) and
// kept loaded to the end; null when SDL2 or one of these functions is missing.
const SdlLibrary* LoadSdlLibrary()
{
    static std::once_flag once;
    static const SdlLibrary* loaded = nullptr;
    std::call_once(once, [] { loaded = Load(); });
    return loaded;
}

// SDL keeps process-wide state (hints, driver lists) that only SDL_Quit frees; the last sink quits.
std::atomic<int> liveSinks{0};
std::atomic<int> opensRunning{0};

// Stream latency: two buffers, enough for a late callback, short enough not to be heard.
constexpr std::int64_t Latency = 10 * NanosecondsPerMillisecond;

// ALSA reports a machine without a sound card on stderr, line after line; a machine without
// audio must stay quiet. Its own error handler is set to a silent one, and the library is kept
// loaded so that the handler stays when SDL unloads it. Standard error itself is never touched:
// the program's own messages go on reaching it while the device opens.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa()
{
    static const bool silenced = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (alsa == nullptr)
            return false;
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        const auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
        return set != nullptr && set(&QuietAlsa) == 0;
    }();
    (void)silenced;
}

} // namespace

struct SdlToneSink::Device {
    Device()
        : stream(SampleRate, Amplitude, Latency)
    {
    }

    enum class State { Opening, Open, Failed };

    std::mutex mutex; // guards stream between the caller and SDL's audio thread
    SquareWaveStream stream;
    std::atomic<State> state{State::Opening};
    std::uint32_t id = 0;

    std::mutex openMutex; // guards the two flags below
    std::condition_variable openEnded;
    bool ended = false;     // the open has succeeded or failed
    bool abandoned = false; // the sink is gone: the opening thread releases the device
};

SdlToneSink::SdlToneSink(BeforeOpen beforeOpen)
    : device_(std::make_shared<Device>())
{
    ++liveSinks;
    ++opensRunning;
    opener_ = std::thread([device = device_, beforeOpen = std::move(beforeOpen)] {
        OpenDevice(device, beforeOpen);
        --opensRunning;
    });
}

SdlToneSink::~SdlToneSink()
{
    bool ended = false;
    {
        std::unique_lock lock(device_->openMutex);
        ended = device_->openEnded.wait_for(lock, OpenWaitAtEnd, [this] { return device_->ended; });
        device_->abandoned = !ended;
    }
    if (!ended) {
        // An open that hangs (a sound server that does not answer) must not keep the program
        // from ending; the thread holds its own share of the device.
        opener_.detach();
        return;
    }
    opener_.join();
    Release(*device_);
}

int SdlToneSink::OpensRunning()
{
    return opensRunning;
}

void SdlToneSink::OpenDevice(const std::shared_ptr<Device>& device, const BeforeOpen& beforeOpen)
{
    const bool open = TryOpenDevice(*device, beforeOpen);
    device->state = open ? Device::State::Open : Device::State::Failed;
    bool abandoned = false;
    {
        const std::lock_guard lock(device->openMutex);
        device->ended = true;
        abandoned = device->abandoned;
    }
    device->openEnded.notify_all();
    if (abandoned)
        Release(*device);
    // SDL keeps error texts per thread and frees them only for threads of its own making.
    if (const SdlLibrary* sdl = LoadSdlLibrary())
        sdl->TLSCleanup();
}

bool SdlToneSink::TryOpenDevice(Device& device, const BeforeOpen& beforeOpen)
{
    const SdlLibrary* sdl = LoadSdlLibrary();
    if (sdl == nullptr)
        return false;
    SilenceAlsa();
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdl->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Wirtola");
    if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = SampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = BufferSamples;
    wanted.callback = &SdlToneSink::Fill;
    wanted.userdata = &device;
    if (beforeOpen && !beforeOpen()) {
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // SDL converts to whatever the device needs, so the callback always sees this format.
    device.id = sdl->OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device.id == 0) {
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sdl->PauseAudioDevice(device.id, 0);
    return true;
}

void SdlToneSink::Release(Device& device)
{
    const SdlLibrary* sdl = LoadSdlLibrary();
    const bool last = --liveSinks == 0;
    if (sdl == nullptr)
        return;
    if (device.id != 0)
        sdl->CloseAudioDevice(device.id);
    if (device.state == Device::State::Open)
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
    if (last)
        sdl->Quit();
}

bool SdlToneSink::WaitUntilOpen()
{
    std::unique_lock lock(device_->openMutex);
    device_->openEnded.wait(lock, [this] { return device_->ended; });
    return device_->state == Device::State::Open;
}

bool SdlToneSink::Played()
{
    const std::lock_guard lock(device_->mutex);
    return device_->stream.PendingChanges() == 0;
}

void SdlToneSink::Tone(double frequency, std::int64_t atNanoseconds)
{
    // Changes made while the device is still opening are kept; the stream plays what is still due.
    if (device_->state == Device::State::Failed)
        return;
    const std::lock_guard lock(device_->mutex);
    device_->stream.Schedule(frequency, atNanoseconds);
}

void SdlToneSink::Fill(void* device, std::uint8_t* stream, int length)
{
    auto* d = static_cast<Device*>(device);
    const std::int64_t now = MonotonicNanoseconds();
    const std::lock_guard lock(d->mutex);
    d->stream.Render(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / sizeof(std::int16_t),
                     now);
}
