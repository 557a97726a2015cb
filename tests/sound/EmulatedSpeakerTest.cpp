#include "sound/EmulatedSpeaker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Change {
    double frequency;
    std::int64_t at;
    bool operator==(const Change&) const = default;
};

class RecordingSink : public ToneSink {
public:
    void Tone(double frequency, std::int64_t at) override { changes.push_back({frequency, at}); }
    std::vector<Change> changes;
};

struct Write {
    std::uint16_t port;
    std::uint8_t value;
};

TEST(EmulatedSpeaker, SoundsOnlyWithBothGateBitsAndALoadedCount)
{
    struct Case {
        std::string name;
        std::vector<Write> writes;
        double frequency;
    };
    constexpr double clock = EmulatedSpeaker::TimerClock;
    const Case cases[] = {
        {"the tune player's sequence", {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}}, clock / 1140},
        {"count before the gate", {{0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x61, 0x03}}, clock / 1140},
        {"gate only", {{0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x61, 0x01}}, 0},
        {"speaker bit only", {{0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x61, 0x02}}, 0},
        {"gate switched off", {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x61, 0xFC}}, 0},
        {"low byte only written", {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}}, 0},
        {"new control word stops the count", {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x43, 0xB6}}, 0},
        {"count changes while sounding",
         {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x42, 0xEE}, {0x42, 0x00}},
         clock / 238},
        {"count 0 is 65536", {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x00}, {0x42, 0x00}}, clock / 65536},
        {"low byte access", {{0x61, 0x03}, {0x43, 0x96}, {0x42, 0xEE}}, clock / 238},
        {"high byte access", {{0x61, 0x03}, {0x43, 0xA6}, {0x42, 0x04}}, clock / 1024},
        {"other channels do not touch channel 2",
         {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x43, 0x36}, {0x43, 0x76}},
         clock / 1140},
        {"a latch command keeps the byte order",
         {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x43, 0x80}, {0x42, 0x04}},
         clock / 1140},
        {"other ports are ignored",
         {{0x61, 0x03}, {0x43, 0xB6}, {0x42, 0x74}, {0x42, 0x04}, {0x40, 0}, {0x60, 0}},
         clock / 1140},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        EmulatedSpeaker speaker(sink);
        std::int64_t time = 0;
        for (const Write& w : c.writes)
            speaker.Write(w.port, w.value, ++time);
        EXPECT_EQ(speaker.Frequency(), c.frequency);
        const double lastHeard = sink.changes.empty() ? 0 : sink.changes.back().frequency;
        EXPECT_EQ(lastHeard, c.frequency);
    }
}

TEST(EmulatedSpeaker, ReportsEachChangeOnceWithItsTime)
{
    RecordingSink sink;
    EmulatedSpeaker speaker(sink);
    speaker.Write(0x61, 0x03, 10);
    speaker.Write(0x43, 0xB6, 11);
    speaker.Write(0x42, 0x74, 12);
    speaker.Write(0x42, 0x04, 13);
    speaker.Write(0x61, 0x07, 14); // bit 2 changes nothing heard
    speaker.Write(0x61, 0x04, 20);
    const std::vector<Change> want = {{EmulatedSpeaker::TimerClock / 1140.0, 13}, {0, 20}};
    EXPECT_EQ(sink.changes, want);
}

TEST(EmulatedSpeaker, GatePortReadsBackWhatWasWritten)
{
    SilentToneSink sink;
    EmulatedSpeaker speaker(sink);
    EXPECT_EQ(speaker.Read(0x61), 0);
    for (int value = 0; value < 256; ++value) {
        speaker.Write(0x61, static_cast<std::uint8_t>(value), value);
        ASSERT_EQ(speaker.Read(0x61), value);
    }
}

} // namespace
