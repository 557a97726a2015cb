#include "sound/LinuxSpeakerPlatform.h"

#include "sound/Clock.h"
#include "sound/EvdevToneSink.h"
#include "sound/SdlToneSink.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// Time stamps of speaker changes are put on the start of the current tick: the tune player
// times notes in whole ticks, so a note sounds exactly as many milliseconds as it waited.
std::int64_t CurrentTickStart()
{
    const std::int64_t now = MonotonicNanoseconds();
    return now - now % NanosecondsPerMillisecond;
}

void SleepUntil(std::int64_t nanoseconds)
{
    timespec when{};
    when.tv_sec = static_cast<time_t>(nanoseconds / 1'000'000'000);
    when.tv_nsec = static_cast<long>(nanoseconds % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {}
}

// A one-shot wake-up at an absolute CLOCK_MONOTONIC time that the event loop watches, so a
// blocking wait for events ends on time to the tenth of a millisecond (Qt's own timers round
// to whole milliseconds).
class WakeUp {
public:
    explicit WakeUp(std::int64_t at)
        : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
    {
        if (fd_ < 0)
            return;
        itimerspec spec{};
        spec.it_value.tv_sec = static_cast<time_t>(at / 1'000'000'000);
        spec.it_value.tv_nsec = static_cast<long>(at % 1'000'000'000);
        if (timerfd_settime(fd_, TFD_TIMER_ABSTIME, &spec, nullptr) != 0) {
            close(fd_);
            fd_ = -1;
            return;
        }
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        // The descriptor stays readable once expired: without this a modal loop that an event
        // handler opens during the wait would wake for it again and again.
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [notifier = notifier_.get()] { notifier->setEnabled(false); });
    }
    ~WakeUp()
    {
        notifier_.reset();
        if (fd_ >= 0)
            close(fd_);
    }
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    bool Armed() const { return notifier_ != nullptr; }

private:
    int fd_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace

LinuxSpeakerPlatform::LinuxSpeakerPlatform(std::unique_ptr<ToneSink> sink)
    : sink_(sink ? std::move(sink) : std::make_unique<SilentToneSink>())
    , speaker_(*sink_)
{
}

LinuxSpeakerPlatform::~LinuxSpeakerPlatform()
{
    // A program that ends in the middle of a note must not leave the speaker sounding.
    sink_->Tone(0, MonotonicNanoseconds());
}

std::unique_ptr<ToneSink> LinuxSpeakerPlatform::OpenBestToneSink()
{
    if (auto speaker = EvdevToneSink::Open())
        return speaker;
    return std::make_unique<SdlToneSink>();
}

bool LinuxSpeakerPlatform::IsNTFamily()
{
    return false;
}

void LinuxSpeakerPlatform::Beep(std::uint32_t frequency, std::uint32_t duration)
{
    const std::int64_t start = CurrentTickStart();
    sink_->Tone(frequency, start);
    const std::int64_t end = start + static_cast<std::int64_t>(duration) * NanosecondsPerMillisecond;
    SleepUntil(end);
    sink_->Tone(speaker_.Frequency(), end);
}

std::uint32_t LinuxSpeakerPlatform::GetTickCount()
{
    return static_cast<std::uint32_t>(MonotonicNanoseconds() / NanosecondsPerMillisecond);
}

void LinuxSpeakerPlatform::ProcessMessages(std::uint32_t deadlineTick)
{
    const std::int64_t now = MonotonicNanoseconds();
    const std::int64_t nowTicks = now / NanosecondsPerMillisecond;
    const auto ticksLeft = static_cast<std::int32_t>(deadlineTick - static_cast<std::uint32_t>(nowTicks));
    const std::int64_t deadline = (nowTicks + (ticksLeft > 0 ? ticksLeft : 0)) * NanosecondsPerMillisecond;

    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        // No event loop to serve here: just let the time pass.
        SleepUntil(deadline);
        return;
    }
    if (ticksLeft <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    const WakeUp wakeUp(deadline);
    if (!wakeUp.Armed()) {
        QCoreApplication::processEvents();
        SleepUntil(deadline);
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

std::uint8_t LinuxSpeakerPlatform::ReadPort(std::uint16_t port)
{
    return speaker_.Read(port);
}

void LinuxSpeakerPlatform::WritePort(std::uint16_t port, std::uint8_t value)
{
    speaker_.Write(port, value, CurrentTickStart());
}
