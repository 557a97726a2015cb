#include "sound/EvdevToneSink.h"

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool HasBit(const unsigned char* bits, int bit)
{
    return (bits[bit / 8] >> (bit % 8)) & 1;
}

bool CanSoundTones(int fd)
{
    unsigned char types[EV_MAX / 8 + 1] = {};
    unsigned char sounds[SND_MAX / 8 + 1] = {};
    return ioctl(fd, EVIOCGBIT(0, sizeof types), types) >= 0 && HasBit(types, EV_SND)
        && ioctl(fd, EVIOCGBIT(EV_SND, sizeof sounds), sounds) >= 0 && HasBit(sounds, SND_TONE);
}

} // namespace

std::unique_ptr<EvdevToneSink> EvdevToneSink::Open()
{
    // The PC speaker driver registers an ordinary event device; look for the one that takes tones.
    for (int i = 0; i < 64; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "/dev/input/event%d", i);
        const int fd = open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (CanSoundTones(fd))
            return std::unique_ptr<EvdevToneSink>(new EvdevToneSink(fd));
        close(fd);
    }
    return nullptr;
}

EvdevToneSink::EvdevToneSink(int fd)
    : fd_(fd)
{
}

EvdevToneSink::~EvdevToneSink()
{
    Tone(0, 0);
    close(fd_);
}

void EvdevToneSink::Tone(double frequency, std::int64_t)
{
    // The driver turns the tone off for values it cannot sound, so out-of-range means silence.
    input_event event{};
    event.type = EV_SND;
    event.code = SND_TONE;
    event.value = frequency > 0 && frequency < 32767 ? static_cast<int>(std::lround(frequency)) : 0;
    // A refused write leaves the speaker as it was; nothing here could do better.
    [[maybe_unused]] const ssize_t written = write(fd_, &event, sizeof event);
}
