#include "sound/SquareWaveStream.h"

#include "StreamAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 48000;
constexpr std::int64_t Ms = 1'000'000;

struct Change {
    double frequency;
    std::int64_t at;
};

// How an audio device asks for buffers: their size and the clock time between two requests.
struct Device {
    std::string name;
    std::size_t buffer;
    std::vector<std::int64_t> periods; // used in turn
};

const Device Devices[] = {
    {"steady", 240, {5 * Ms}},
    {"slow by 2 %", 240, {5 * Ms + 100'000}},
    {"fast by 0.2 %", 240, {5 * Ms - 10'000}}, // sound cards keep far closer to the clock
    {"irregular", 240, {2 * Ms, 8 * Ms, 5 * Ms, 1 * Ms, 9 * Ms}},
    {"large buffers", 480, {10 * Ms}},
    {"small buffers", 64, {1333 * 1000}},
};

// Plays the changes through a stream as the device would ask for it, each change being
// scheduled when the clock reaches it.
std::vector<std::int16_t> Record(const std::vector<Change>& changes, const Device& device, std::int64_t until)
{
    SquareWaveStream stream(Rate, 6000, 10 * Ms);
    std::vector<std::int16_t> out;
    std::size_t next = 0;
    std::size_t period = 0;
    for (std::int64_t now = 0; now < until; now += device.periods[period++ % device.periods.size()]) {
        for (; next < changes.size() && changes[next].at <= now; ++next)
            stream.Schedule(changes[next].frequency, changes[next].at);
        const std::size_t used = out.size();
        out.resize(used + device.buffer);
        stream.Render(out.data() + used, device.buffer, now);
    }
    return out;
}

// The notes played back to back from `start`, as changes.
std::vector<Change> Tune(std::int64_t start, const std::vector<Segment>& notes)
{
    std::vector<Change> changes;
    for (const Segment& note : notes) {
        changes.push_back({note.frequency, start});
        start += static_cast<std::int64_t>(note.milliseconds * Ms);
    }
    changes.push_back({0, start});
    return changes;
}

void ExpectNotes(const std::vector<Segment>& got, const std::vector<Segment>& want, double toleranceMs)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("note " + std::to_string(i));
        EXPECT_NEAR(got[i].frequency, want[i].frequency, want[i].frequency * 0.01);
        EXPECT_NEAR(got[i].milliseconds, want[i].milliseconds, toleranceMs);
    }
}

TEST(SquareWaveStream, NotesAndRestsKeepTheirLengthsWhateverTheDeviceRhythm)
{
    // The fanfare's opening: tones with short rests, then a long note.
    const std::vector<Segment> notes = {{196, 200}, {0, 50},   {196, 200}, {0, 50},  {523, 80},
                                        {698, 80},  {784, 80}, {1046, 80}, {0, 100}, {165, 700}};
    for (const Device& device : Devices) {
        SCOPED_TRACE(device.name);
        const auto samples = Record(Tune(300 * Ms, notes), device, 2500 * Ms);
        ExpectNotes(Trimmed(Segments(samples, Rate)), notes, 1.0);
    }
}

TEST(SquareWaveStream, SilenceIsExactZerosAndEveryNoteStartsHigh)
{
    const auto samples = Record({{1000, 100 * Ms}, {0, 150 * Ms}}, Devices[0], 400 * Ms);
    const auto first = std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_NE(first, samples.end());
    EXPECT_EQ(*first, 6000);
    for (const std::int16_t sample : samples)
        ASSERT_TRUE(sample == 0 || sample == 6000 || sample == -6000) << sample;
    // 100 ms from the first change to the clock at the first render, then the latency.
    EXPECT_NEAR(static_cast<double>(first - samples.begin()), Rate * 0.110, Rate * 0.006);
}

TEST(SquareWaveStream, LateDeviceStillEndsTheNoteOnTime)
{
    // The device asks for its first buffer 30 ms after the note began.
    SquareWaveStream stream(Rate, 6000, 10 * Ms);
    stream.Schedule(440, 0);
    stream.Schedule(0, 80 * Ms);
    std::vector<std::int16_t> samples(240 * 30);
    for (std::size_t i = 0; i < 30; ++i)
        stream.Render(samples.data() + 240 * i, 240, (30 + 5 * static_cast<std::int64_t>(i)) * Ms);
    // The first buffer stands for 15..20 ms: the note sounds from there to 80 ms.
    const auto segments = Trimmed(Segments(samples, Rate));
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_NEAR(segments[0].milliseconds, 65, 1);
}

TEST(SquareWaveStream, LongSilenceRealignsWithTheClock)
{
    // A slow device falls behind while a long note sounds; after a pause it catches up, so
    // the next note is not heard later than the latency.
    const Device& slow = Devices[1];
    const std::vector<Change> changes = {{300, 100 * Ms}, {0, 2100 * Ms}, {500, 2600 * Ms}, {0, 2700 * Ms}};
    const auto samples = Record(changes, slow, 3000 * Ms);
    const auto segments = Segments(samples, Rate);
    ASSERT_EQ(segments.size(), 5u);
    EXPECT_NEAR(segments[1].milliseconds, 2000, 1);
    // The device takes 5.1 ms of the clock for 5 ms of stream: the second note must start one
    // latency (10 ms) after its time, not 40 ms more as the drift of the first note would give.
    const double streamMs = segments[0].milliseconds + segments[1].milliseconds + segments[2].milliseconds;
    EXPECT_NEAR(streamMs * 5.1 / 5.0, 2600 + 10, 6);
}

TEST(SquareWaveStream, AStalledDeviceCannotMakeTheQueueGrow)
{
    SquareWaveStream stream(Rate, 6000, 10 * Ms);
    for (int i = 0; i < 5000; ++i)
        stream.Schedule(i % 2 == 0 ? 440 : 0, i * Ms);
    EXPECT_EQ(stream.PendingChanges(), SquareWaveStream::MaxPendingChanges);
    std::vector<std::int16_t> samples(240);
    stream.Render(samples.data(), samples.size(), 10'000 * Ms);
    EXPECT_EQ(stream.PendingChanges(), 0u);
}

TEST(SquareWaveStream, FrequenciesComeOutWithinATenthOfAPercent)
{
    for (const double frequency : {65.0, 131.0036, 523.09, 1046.65, 1397.0, 4500.0}) {
        SCOPED_TRACE(frequency);
        const auto samples = Record({{frequency, 50 * Ms}, {0, 1050 * Ms}}, Devices[0], 1200 * Ms);
        const auto segments = Trimmed(Segments(samples, Rate));
        ASSERT_EQ(segments.size(), 1u);
        EXPECT_NEAR(segments[0].frequency, frequency, frequency * 0.001);
        EXPECT_NEAR(segments[0].milliseconds, 1000, 0.1);
    }
}

TEST(SquareWaveStream, FrequenciesAboveHalfTheSampleRateAreSilent)
{
    const auto samples = Record({{30000, 50 * Ms}, {0, 150 * Ms}}, Devices[0], 300 * Ms);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](std::int16_t s) { return s == 0; }));
}

} // namespace
