#include "sound/KwOdeum.h"

#include "tests/sound/FakeSpeakerPlatform.h"

#include <gtest/gtest.h>

#include <iterator>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Op = FakeSpeakerPlatform::Op;
using Call = FakeSpeakerPlatform::Call;

// Reaches the single-note operations that only Play uses in the program.
class NotePlayer : public TKwBeeper {
public:
    NotePlayer()
        : TKwBeeper(nullptr)
    {
    }
    using TKwBeeper::PlayNote;
    using TKwBeeper::SpeakerOff;
};

struct Note {
    std::uint32_t frequency;
    std::uint32_t length;
};

// What was heard; a port-path frequency (1193181 / divisor) truncates to the table's hertz.
std::vector<Note> HeardNotes(const FakeSpeakerPlatform& platform)
{
    std::vector<Note> notes;
    for (const auto& tone : platform.heard)
        notes.push_back({static_cast<std::uint32_t>(tone.frequency), tone.length});
    return notes;
}

bool operator==(const Note& a, const Note& b)
{
    return a.frequency == b.frequency && a.length == b.length;
}

void PrintTo(const Note& note, std::ostream* out)
{
    *out << note.frequency << "/" << note.length;
}

std::vector<std::uint32_t> CounterBytes(const FakeSpeakerPlatform& platform)
{
    std::vector<std::uint32_t> bytes;
    for (const Call& call : platform.CallsOf(Op::Write))
        if (call.a == 0x42)
            bytes.push_back(call.b);
    return bytes;
}

TEST(TunePlayer, OkPlaysExactlyItsThreeNotesOnEitherPath)
{
    for (const bool nt : {false, true}) {
        SCOPED_TRACE(nt ? "tone service" : "ports");
        FakeSpeakerPlatform platform;
        platform.ntFamily = nt;
        const ScopedSpeakerPlatform scoped(platform);
        TKwBeeper beeper(nullptr);
        beeper.Play(psOK);
        // 1193181 / 1207 = 988.55 and 1193181 / 1140 = 1046.65: the divisor's rounding.
        const std::vector<Note> want = {{932, 100}, {988, 100}, {1046, 100}};
        EXPECT_EQ(HeardNotes(platform), want);
        EXPECT_EQ(platform.tick, 300u);
        EXPECT_EQ(platform.CallsOf(Op::Beep).size(), nt ? 3u : 0u);
        EXPECT_EQ(platform.CallsOf(Op::Write).empty(), nt);
    }
}

TEST(TunePlayer, PortNoteProgramsTheTimerThenWaitsThenSilences)
{
    FakeSpeakerPlatform platform;
    platform.pumpStep = 60;
    const ScopedSpeakerPlatform scoped(platform);
    NotePlayer player;
    platform.calls.clear();
    player.PlayNote(1046, 100);
    const std::vector<Call> want = {{Op::Read, 0x61, 0x00},  {Op::Write, 0x61, 0x03}, {Op::Write, 0x43, 0xB6},
                                    {Op::Write, 0x42, 0x74}, {Op::Write, 0x42, 0x04}, {Op::Tick, 0},
                                    {Op::Tick, 0},           {Op::Pump, 100},         {Op::Tick, 60},
                                    {Op::Pump, 100},         {Op::Tick, 120},         {Op::Read, 0x61, 0x03},
                                    {Op::Write, 0x61, 0x00}};
    ASSERT_EQ(platform.calls.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        EXPECT_EQ(platform.calls[i].op, want[i].op);
        EXPECT_EQ(platform.calls[i].a, want[i].a);
        EXPECT_EQ(platform.calls[i].b, want[i].b);
    }
}

TEST(TunePlayer, DefaultSoundIsOkUntilChanged)
{
    FakeSpeakerPlatform platform;
    const ScopedSpeakerPlatform scoped(platform);
    TKwBeeper beeper(nullptr);
    EXPECT_EQ(beeper.DefaultSound(), psOK);
    beeper.PlayDefault();
    EXPECT_EQ(platform.heard.size(), 3u);
    EXPECT_EQ(platform.tick, 300u);

    // The main window's player: the fanfare, 15 notes of which 8 sound, 3000 ms in all.
    beeper.SetDefaultSound(psOfficial);
    platform.heard.clear();
    platform.tick = 0;
    beeper.PlayDefault();
    const std::vector<Note> want = {{196, 200}, {196, 200}, {196, 200}, {165, 700},
                                    {261, 200}, {261, 200}, {261, 200}, {131, 700}};
    EXPECT_EQ(HeardNotes(platform), want);
    EXPECT_EQ(platform.tick, 3000u);
}

// What a tune played, as "frequency/ms" in order with "rest/ms" for a silence: the notes that
// reached the tone service, and the waits between and after them.
std::string PlayedNotes(const FakeSpeakerPlatform& platform)
{
    std::string played;
    std::uint32_t at = 0;
    const auto add = [&played](const std::string& note) { played += (played.empty() ? "" : ", ") + note; };
    for (const auto& tone : platform.heard) {
        if (tone.start > at)
            add("rest/" + std::to_string(tone.start - at));
        add(std::to_string(static_cast<std::uint32_t>(tone.frequency)) + "/" + std::to_string(tone.length));
        at = tone.start + tone.length;
    }
    if (platform.tick > at)
        add("rest/" + std::to_string(platform.tick - at));
    return played;
}

TEST(TunePlayer, EveryTunePlaysItsNotesInOrderForItsLength)
{
    struct Row {
        const char* notes;
        std::uint32_t length;
    };
    const Row tunes[] = {
        {"932/100, 988/100, 1046/100", 300},
        {"92/150, rest/200, 65/500", 850},
        {"932/100, 988/100, 1046/100, rest/100, 1046/100, 988/100, 932/100", 700},
        {"698/200, 494/200, 698/200, 494/200, 698/200, 494/200, 698/200, 494/200", 1600},
        {"261/150, 247/50, 233/50, 220/50, 207/50, 196/50, 189/50, 174/50, 165/50, 155/50, 149/50, "
         "138/50, 131/100, 65/200",
         1000},
        {"196/650, rest/100, 165/500", 1250},
        {"196/200, rest/50, 196/200, rest/50, 196/200, rest/50, 165/700, rest/100, 261/200, rest/50, "
         "261/200, rest/50, 261/200, rest/50, 131/700",
         3000},
        {"329/100, 311/100, 293/100, 311/100, 329/100, 311/100, 293/100, 311/100, 329/100, 311/100, "
         "293/100, 311/100",
         1200},
        {"329/100, 311/100, 293/100, 311/100, 349/100, 329/100, 311/100, 329/100, 370/100, 349/100, "
         "329/100, 349/100",
         1200},
        {"494/80, 466/80, 440/80, 415/80, 392/80, 370/80, 349/80, 329/80, 311/80, 293/80, 277/80, 261/80", 960},
        {"523/80, 698/80, 784/80, 1046/80", 320},
        {"784/80, 1046/80, 830/80, 1109/80, 880/80, 1174/80, 932/80, 1244/80, 988/80, 1318/80, 1046/80, "
         "1397/80",
         960},
        {"261/80, 277/80, 293/80, 311/80, 329/80, 349/80, 370/80, 392/80, 415/80, 440/80, 466/80, 494/80", 960},
    };
    static_assert(std::size(tunes) == TuneCount, "every tune needs its row here");
    for (std::uint8_t sound = 0; sound < TuneCount; ++sound) {
        SCOPED_TRACE("tune " + std::to_string(sound));
        const auto notes = TuneNotes(sound);
        EXPECT_EQ(std::accumulate(notes.begin(), notes.end(), 0u,
                                  [](std::uint32_t sum, const TNote& n) { return sum + n.duration; }),
                  tunes[sound].length);
        {
            FakeSpeakerPlatform platform;
            platform.ntFamily = true; // the tone service is told each note's exact frequency and length
            const ScopedSpeakerPlatform scoped(platform);
            TKwBeeper(nullptr).Play(sound);
            EXPECT_EQ(PlayedNotes(platform), tunes[sound].notes);
        }
        FakeSpeakerPlatform platform;
        platform.pumpStep = 7; // a coarse clock must not shorten a note
        const ScopedSpeakerPlatform scoped(platform);
        TKwBeeper(nullptr).Play(sound);
        std::uint32_t wanted = 0;
        for (const TNote& note : notes)
            wanted += (note.duration + 6) / 7 * 7;
        EXPECT_EQ(platform.tick, wanted);
    }
}

TEST(TunePlayer, RestsOnlyWaitAndAlwaysPump)
{
    struct Case {
        bool nt;
        std::int32_t duration;
        std::size_t pumps;
    };
    const Case cases[] = {{false, 200, 200}, {true, 200, 200}, {false, 1, 1}, {true, 0, 0}, {false, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nt) + " " + std::to_string(c.duration));
        FakeSpeakerPlatform platform;
        platform.ntFamily = c.nt;
        const ScopedSpeakerPlatform scoped(platform);
        NotePlayer player;
        platform.calls.clear();
        player.PlayNote(1, c.duration);
        EXPECT_EQ(platform.CallsOf(Op::Pump).size(), c.pumps);
        EXPECT_EQ(platform.CallsOf(Op::Tick).size(), c.pumps + 2);
        EXPECT_EQ(platform.calls.size(), 2 * c.pumps + 2); // nothing but ticks and pumps
        EXPECT_EQ(platform.tick, static_cast<std::uint32_t>(c.duration));
    }
}

TEST(TunePlayer, DivisorBytesAndTheRangeThatSounds)
{
    struct Case {
        std::uint16_t frequency;
        std::vector<std::uint32_t> bytes;
    };
    const Case cases[] = {{40, {0x85, 0x74}}, {5000, {0xEE, 0x00}}, {1046, {0x74, 0x04}}, {39, {}}, {5001, {}}, {2, {}},
                          {65535, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequency);
        FakeSpeakerPlatform platform;
        const ScopedSpeakerPlatform scoped(platform);
        NotePlayer player;
        platform.calls.clear();
        player.PlayNote(c.frequency, 30);
        EXPECT_EQ(CounterBytes(platform), c.bytes);
        EXPECT_EQ(platform.tick, 30u); // silent or not, the note lasts its duration
        // ...and ends with the speaker switched off.
        ASSERT_GE(platform.calls.size(), 2u);
        EXPECT_EQ(platform.calls.end()[-2], (Call{Op::Read, 0x61, c.bytes.empty() ? 0u : 3u}));
        EXPECT_EQ(platform.calls.back(), (Call{Op::Write, 0x61, 0x00}));
        EXPECT_EQ(platform.heard.size(), c.bytes.empty() ? 0u : 1u);
    }
}

TEST(TunePlayer, ControlWordOnlyWhenBothGateBitsAreClear)
{
    struct Case {
        std::uint8_t gate;
        bool controlWord;
        std::uint8_t after; // port 0x61 once the note is over
    };
    const Case cases[] = {{0x00, true, 0x00}, {0x01, false, 0x00}, {0x02, false, 0x00}, {0x03, false, 0x00},
                          {0xFC, true, 0xFC}, {0xA5, false, 0xA4}, {0x5A, false, 0x58}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.gate));
        FakeSpeakerPlatform platform;
        const ScopedSpeakerPlatform scoped(platform);
        platform.SetGatePort(c.gate);
        NotePlayer player;
        platform.calls.clear();
        player.PlayNote(1046, 10);
        bool controlWord = false;
        for (const Call& call : platform.CallsOf(Op::Write))
            controlWord = controlWord || call.a == 0x43;
        EXPECT_EQ(controlWord, c.controlWord);
        EXPECT_EQ(platform.ReadPort(0x61), c.after);
    }
}

TEST(TunePlayer, SpeakerOffKeepsTheUpperSixBits)
{
    for (int gate = 0; gate < 256; gate += 5) {
        SCOPED_TRACE(gate);
        FakeSpeakerPlatform platform;
        const ScopedSpeakerPlatform scoped(platform);
        platform.SetGatePort(static_cast<std::uint8_t>(gate));
        NotePlayer::SpeakerOff();
        EXPECT_EQ(platform.ReadPort(0x61), gate & 0xFC);
    }
}

TEST(TunePlayer, NoteAcrossTheTickCounterWrapLastsItsFullDuration)
{
    struct Case {
        std::uint32_t start;
        std::uint32_t step;
        std::uint32_t end;
    };
    const Case cases[] = {{0xFFFFFFFFu - 30, 1, 69}, {0xFFFFFFFFu, 1, 99}, {0xFFFFFFF0u, 7, 0xFFFFFFF0u + 105}};
    for (const Case& c : cases) {
        for (const std::uint16_t frequency : {std::uint16_t{1}, std::uint16_t{1046}}) {
            SCOPED_TRACE(std::to_string(c.start) + " " + std::to_string(frequency));
            FakeSpeakerPlatform platform;
            platform.tick = c.start;
            platform.pumpStep = c.step;
            const ScopedSpeakerPlatform scoped(platform);
            NotePlayer player;
            player.PlayNote(frequency, 100);
            EXPECT_EQ(platform.tick, c.end);
        }
    }
}

TEST(TunePlayer, ValuesOutsideTheTunesPlayNothing)
{
    for (const int sound : {int{TuneCount}, 100, 255}) {
        SCOPED_TRACE(sound);
        FakeSpeakerPlatform platform;
        const ScopedSpeakerPlatform scoped(platform);
        TKwBeeper beeper(nullptr);
        platform.calls.clear();
        beeper.Play(static_cast<std::uint8_t>(sound));
        EXPECT_TRUE(platform.calls.empty());
    }
}

TEST(TunePlayer, BeatDurationIsStoredButNeverHeard)
{
    struct Case {
        TBeatDuration value;
        std::int32_t length;
    };
    const Case cases[] = {{bd_2000, 2000}, {bd_500, 500}, {bd_1500, 1500}, {bd_1000, 1000}};
    FakeSpeakerPlatform reference;
    {
        const ScopedSpeakerPlatform scoped(reference);
        TKwBeeper(nullptr).Play(psWhisle);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        FakeSpeakerPlatform platform;
        const ScopedSpeakerPlatform scoped(platform);
        TKwBeeper beeper(nullptr);
        EXPECT_EQ(beeper.BeatDuration(), bd_1000);
        EXPECT_EQ(beeper.BeatLength(), 1000);
        beeper.SetBeatDuration(c.value);
        beeper.SetBeatDuration(c.value); // the same value again changes nothing
        EXPECT_EQ(beeper.BeatDuration(), c.value);
        EXPECT_EQ(beeper.BeatLength(), c.length);
        beeper.Play(psWhisle);
        EXPECT_EQ(platform.calls, reference.calls);
    }
}

TEST(TunePlayer, EveryConstructionAsksThePlatformAgain)
{
    for (const bool nt : {true, false, true}) {
        FakeSpeakerPlatform platform;
        platform.ntFamily = nt;
        const ScopedSpeakerPlatform scoped(platform);
        const TKwBeeper beeper(nullptr);
        EXPECT_EQ(UseBeepService, nt);
        EXPECT_EQ(platform.CallsOf(Op::IsNT).size(), 1u);
    }
}

TEST(TunePlayer, HandlerMayStartATuneOrDestroyThePlayerMidTune)
{
    FakeSpeakerPlatform platform;
    const ScopedSpeakerPlatform scoped(platform);
    auto* beeper = new TKwBeeper(nullptr);
    TKwBeeper other(nullptr);
    int pumps = 0;
    platform.onPump = [&] {
        if (++pumps == 150) { // in the middle of the second note
            delete beeper;
            other.Play(psWhisle);
        }
    };
    beeper->Play(psOK);
    // The nested tune takes over the speaker; the outer one resumes and still plays its last note.
    const std::vector<Note> want = {{932, 100}, {988, 50}, {523, 80}, {698, 80}, {784, 80}, {1046, 80}, {1046, 100}};
    EXPECT_EQ(HeardNotes(platform), want);
    EXPECT_EQ(platform.tick, 570u); // the nested 320 ms replace the last 50 of the second note
}

} // namespace
