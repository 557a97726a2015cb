// Drives the emulated speaker's ports and the square-wave stream with arbitrary writes, reads,
// renders and clock jumps, checking what must always hold.
#include "sound/EmulatedSpeaker.h"
#include "sound/SquareWaveStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::int16_t Amplitude = 6000;

class StreamSink : public ToneSink {
public:
    explicit StreamSink(SquareWaveStream& stream)
        : stream_(stream)
    {
    }
    void Tone(double frequency, std::int64_t at) override { stream_.Schedule(frequency, at); }

private:
    SquareWaveStream& stream_;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint64_t Bytes(int count)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | Byte();
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input(data, size);
    SquareWaveStream stream(48000, Amplitude, 10'000'000);
    StreamSink sink(stream);
    EmulatedSpeaker speaker(sink);
    std::int64_t now = static_cast<std::int64_t>(input.Bytes(4)) * 1000;
    std::uint8_t gate = 0;
    std::vector<std::int16_t> samples;

    while (!input.Empty()) {
        switch (input.Byte() % 5) {
        case 0: { // a write to one of the speaker's ports, or elsewhere
            static constexpr std::uint16_t ports[] = {0x42, 0x43, 0x61, 0x40};
            const std::uint16_t port = ports[input.Byte() % 4];
            const std::uint8_t value = input.Byte();
            speaker.Write(port, value, now);
            if (port == 0x61)
                gate = value;
            break;
        }
        case 1: // the gate port reads back what was written
            Check(speaker.Read(0x61) == gate);
            break;
        case 2: { // the device asks for a buffer
            samples.assign(input.Byte() * 8 + 1, 1);
            stream.Render(samples.data(), samples.size(), now);
            for (const std::int16_t sample : samples)
                Check(sample == 0 || sample == Amplitude || sample == -Amplitude);
            Check(stream.PendingChanges() <= SquareWaveStream::MaxPendingChanges);
            break;
        }
        case 3: // a short step of the clock
            now += static_cast<std::int64_t>(input.Bytes(2)) * 1000;
            break;
        case 4: // a long one: up to 18 hours
            now += static_cast<std::int64_t>(input.Bytes(2)) * 1'000'000'000;
            break;
        }
        const double frequency = speaker.Frequency();
        Check(frequency == 0
              || (frequency >= EmulatedSpeaker::TimerClock / 65536.0 && frequency <= EmulatedSpeaker::TimerClock));
        Check(frequency == 0 || (gate & 3) == 3);
    }
    return 0;
}
