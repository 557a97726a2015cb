#include "sound/KwOdeum.h"

#include "sound/SpeakerPlatform.h"

#include <iterator>

bool UseBeepService = false;

namespace {

constexpr std::uint16_t Rest = 1;

constexpr TNote OK[] = {{932, 100}, {988, 100}, {1046, 100}};
constexpr TNote Error[] = {{92, 150}, {Rest, 200}, {65, 500}};
constexpr TNote Welcome[] = {{932, 100}, {988, 100}, {1046, 100}, {Rest, 100}, {1046, 100}, {988, 100}, {932, 100}};
constexpr TNote Emergency[] = {{698, 200}, {494, 200}, {698, 200}, {494, 200},
                               {698, 200}, {494, 200}, {698, 200}, {494, 200}};
// 189 and 149 Hz are off the even-tempered scale, and are meant to be.
constexpr TNote Wrong[] = {{261, 150}, {247, 50}, {233, 50}, {220, 50}, {207, 50}, {196, 50},  {189, 50},
                           {174, 50},  {165, 50}, {155, 50}, {149, 50}, {138, 50}, {131, 100}, {65, 200}};
constexpr TNote Call[] = {{196, 650}, {Rest, 100}, {165, 500}};
constexpr TNote Official[] = {{196, 200}, {Rest, 50}, {196, 200},  {Rest, 50}, {196, 200},
                              {Rest, 50}, {165, 700}, {Rest, 100}, {261, 200}, {Rest, 50},
                              {261, 200}, {Rest, 50}, {261, 200},  {Rest, 50}, {131, 700}};
constexpr TNote Daze[] = {{329, 100}, {311, 100}, {293, 100}, {311, 100}, {329, 100}, {311, 100},
                          {293, 100}, {311, 100}, {329, 100}, {311, 100}, {293, 100}, {311, 100}};
constexpr TNote Fall[] = {{329, 100}, {311, 100}, {293, 100}, {311, 100}, {349, 100}, {329, 100},
                          {311, 100}, {329, 100}, {370, 100}, {349, 100}, {329, 100}, {349, 100}};
constexpr TNote Chord[] = {{494, 80}, {466, 80}, {440, 80}, {415, 80}, {392, 80}, {370, 80},
                           {349, 80}, {329, 80}, {311, 80}, {293, 80}, {277, 80}, {261, 80}};
constexpr TNote Whisle[] = {{523, 80}, {698, 80}, {784, 80}, {1046, 80}};
constexpr TNote Hanging[] = {{784, 80}, {1046, 80}, {830, 80}, {1109, 80}, {880, 80},  {1174, 80},
                             {932, 80}, {1244, 80}, {988, 80}, {1318, 80}, {1046, 80}, {1397, 80}};
constexpr TNote Climb[] = {{261, 80}, {277, 80}, {293, 80}, {311, 80}, {329, 80}, {349, 80},
                           {370, 80}, {392, 80}, {415, 80}, {440, 80}, {466, 80}, {494, 80}};

// One row per TPresetSound value, in its order.
constexpr std::span<const TNote> Tunes[] = {OK,   Error, Welcome, Emergency, Wrong,   Call, Official,
                                            Daze, Fall,  Chord,   Whisle,    Hanging, Climb};
static_assert(std::size(Tunes) == TuneCount, "every tune needs its row in the tune table");

constexpr std::uint32_t TimerClock = 1193181;
constexpr std::uint16_t CounterPort = 0x42;
constexpr std::uint16_t ControlPort = 0x43;
constexpr std::uint16_t GatePort = 0x61;
constexpr std::uint8_t GateAndSpeaker = 0x03;
constexpr std::uint8_t Channel2SquareWave = 0xB6; // channel 2, low then high byte, mode 3, binary

// Waits `duration` ticks from now, running the event pump; the test comes before the first
// pump, and the difference of the wrapping 32-bit counter is the elapsed time.
void Wait(std::int32_t duration)
{
    SpeakerPlatform& platform = CurrentSpeakerPlatform();
    const std::uint32_t start = platform.GetTickCount();
    const auto length = static_cast<std::uint32_t>(duration);
    while (platform.GetTickCount() - start < length)
        platform.ProcessMessages(start + length);
}

} // namespace

std::span<const TNote> TuneNotes(std::uint8_t sound)
{
    return sound < TuneCount ? Tunes[sound] : std::span<const TNote>();
}

TKwBeeper::TKwBeeper(QObject* owner)
    : QObject(owner)
{
    UseBeepService = IsNTFamily();
    beatDuration_ = bd_1000;
    beatLength_ = 1000;
    defaultSound_ = psOK;
}

void TKwBeeper::Play(std::uint8_t sound)
{
    for (const TNote& note : TuneNotes(sound))
        PlayNote(note.frequency, note.duration);
}

void TKwBeeper::PlayDefault()
{
    Play(defaultSound_);
}

void TKwBeeper::SetBeatDuration(TBeatDuration value)
{
    if (value == beatDuration_)
        return;
    beatDuration_ = value;
    switch (value) {
    case bd_500:
        beatLength_ = 500;
        break;
    case bd_1000:
        beatLength_ = 1000;
        break;
    case bd_1500:
        beatLength_ = 1500;
        break;
    case bd_2000:
        beatLength_ = 2000;
        break;
    }
}

void TKwBeeper::PlayNote(std::uint16_t frequency, std::int32_t duration)
{
    if (frequency == Rest) {
        Wait(duration);
        return;
    }
    if (UseBeepService) {
        CurrentSpeakerPlatform().Beep(frequency, static_cast<std::uint32_t>(duration));
        return;
    }
    SpeakerOn(frequency);
    Wait(duration);
    SpeakerOff();
}

void TKwBeeper::SpeakerOn(std::uint16_t frequency)
{
    if (frequency < 40 || frequency > 5000)
        return;
    const std::uint32_t divisor = TimerClock / frequency;
    SpeakerPlatform& platform = CurrentSpeakerPlatform();
    const std::uint8_t status = platform.ReadPort(GatePort);
    if ((status & GateAndSpeaker) == 0) {
        platform.WritePort(GatePort, status | GateAndSpeaker);
        platform.WritePort(ControlPort, Channel2SquareWave);
    }
    platform.WritePort(CounterPort, static_cast<std::uint8_t>(divisor & 0xFF));
    platform.WritePort(CounterPort, static_cast<std::uint8_t>((divisor >> 8) & 0xFF));
}

void TKwBeeper::SpeakerOff()
{
    SpeakerPlatform& platform = CurrentSpeakerPlatform();
    const std::uint8_t status = platform.ReadPort(GatePort);
    platform.WritePort(GatePort, status & ~GateAndSpeaker);
}

bool TKwBeeper::IsNTFamily()
{
    return CurrentSpeakerPlatform().IsNTFamily();
}
