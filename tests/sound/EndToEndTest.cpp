#include "sound/KwOdeum.h"
#include "sound/LinuxSpeakerPlatform.h"
#include "sound/SdlToneSink.h"

#include "RecordingSink.h"
#include "StreamAnalysis.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double NsPerMs = 1e6;

struct Recording {
    std::vector<Segment> stream;  // as read back from the audio stream
    std::vector<Segment> stamped; // as the player sent it to the speaker
    std::vector<double> kept;     // milliseconds of each stamped note spent waiting for a processor
};

// Plays through the real emulated speaker into SDL's disk audio driver, which writes the raw
// stream (signed 16-bit mono, 48000 Hz) to a file, and reads the notes back from it.
Recording RecordThroughSdl(const std::string& file, const std::vector<TPresetSound>& tunes)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    Recording recording;
    {
        // Outlives the platform, which silences the speaker through the tee when it goes.
        const auto sdl = std::make_unique<SdlToneSink>();
        EXPECT_TRUE(sdl->WaitUntilOpen());
        // The stamps tell how well the player kept time on this machine, apart from how well
        // the stream follows.
        auto* tee = new RecordingSink(sdl.get());
        LinuxSpeakerPlatform platform{std::unique_ptr<ToneSink>(tee)};
        {
            const ScopedSpeakerPlatform scoped(platform);
            TKwBeeper beeper(nullptr);
            for (const TPresetSound tune : tunes) {
                QTest::qWait(150);
                beeper.Play(tune);
            }
        }
        // The disk driver paces itself by sleeping and falls behind on a busy machine.
        EXPECT_TRUE(QTest::qWaitFor([&] { return sdl->Played(); }, 30000));
        QTest::qWait(100);
        for (std::size_t i = 0; i + 1 < tee->changes.size(); ++i) {
            const RecordingSink::Change& note = tee->changes[i];
            const RecordingSink::Change& next = tee->changes[i + 1];
            recording.stamped.push_back({note.frequency, static_cast<double>(next.stamp - note.stamp) / NsPerMs});
            recording.kept.push_back(static_cast<double>(next.waited - note.waited) / NsPerMs);
        }
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    recording.stream = Segments(samples, SdlToneSink::SampleRate);
    return recording;
}

// The player kept the table's time, leaving out the time the machine kept it from running.
bool KeptTime(const Recording& recording, const std::vector<Segment>& want)
{
    if (recording.stamped.size() != want.size() || Trimmed(recording.stream).size() != want.size())
        return false;
    for (std::size_t i = 0; i < want.size(); ++i)
        if (want[i].frequency > 0 && recording.stamped[i].milliseconds - recording.kept[i] > want[i].milliseconds + 4)
            return false;
    return true;
}

TEST(SpeakerEndToEnd, WhistleAndOkComeOutOfTheAudioStream)
{
    // Between the tunes: a pause of at least 150 ms.
    const std::vector<Segment> want = {{523, 80}, {698, 80},  {784, 80},  {1046, 80},
                                       {0, 150},  {932, 100}, {988, 100}, {1046, 100}};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Recording recording;
    // A note's end and the next one's start are two writes; a tick boundary, or a machine that
    // takes the processor away, between them leaves a hair of silence, and such a run is repeated.
    for (int attempt = 0; attempt < 3; ++attempt) {
        recording = RecordThroughSdl(dir.filePath("stream.raw").toStdString(), {psWhisle, psOK});
        if (KeptTime(recording, want))
            break;
    }
    ASSERT_FALSE(recording.stream.empty());
    EXPECT_EQ(recording.stream.back().frequency, 0);
    EXPECT_GT(recording.stream.back().milliseconds, 50); // silence after the last note

    const auto got = Trimmed(recording.stream);
    ASSERT_EQ(got.size(), want.size());
    ASSERT_EQ(recording.stamped.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("note " + std::to_string(i));
        EXPECT_NEAR(got[i].frequency, want[i].frequency, want[i].frequency * 0.01);
        // The stream follows the player to the millisecond...
        EXPECT_NEAR(got[i].milliseconds, recording.stamped[i].milliseconds, 1.5);
        // ...and the player keeps the table's time.
        if (want[i].frequency > 0) {
            EXPECT_GE(recording.stamped[i].milliseconds, want[i].milliseconds);
            EXPECT_GE(got[i].milliseconds, want[i].milliseconds - 5);
            EXPECT_LE(got[i].milliseconds - recording.kept[i], want[i].milliseconds + 5);
        } else {
            EXPECT_GE(got[i].milliseconds, want[i].milliseconds - 5);
        }
    }
}

// An audio open that hangs until released: it stands where SDL opens the device.
struct HangingOpen {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;

    static SdlToneSink::BeforeOpen Of(const std::shared_ptr<HangingOpen>& open)
    {
        return [open] {
            std::unique_lock lock(open->mutex);
            open->entered = true;
            open->changed.notify_all();
            open->changed.wait(lock, [&] { return open->released; });
            return true; // then the real open
        };
    }
    bool WaitEntered()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return entered; });
    }
    void Release()
    {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

TEST(SpeakerEndToEnd, AnOpenThatHangsDoesNotHoldUpTheEnd)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto hanging = std::make_shared<HangingOpen>();
    auto sink = std::make_unique<SdlToneSink>(HangingOpen::Of(hanging));
    ASSERT_TRUE(hanging->WaitEntered());
    sink->Tone(440, 0); // a tune played while the device opens
    // The open ends after three seconds, so a destruction that waited for it fails, not hangs.
    std::thread release([hanging] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        hanging->Release();
    });
    const auto start = std::chrono::steady_clock::now();
    sink.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    // The thread goes on alone, opens the device it still holds, and closes it again.
    release.join();
    EXPECT_TRUE(QTest::qWaitFor([] { return SdlToneSink::OpensRunning() == 0; }, 10000));
}

TEST(SpeakerEndToEnd, TheOpenLeavesStandardErrorToTheProgramAndKeepsAlsaQuiet)
{
    // The program's own message, written while an open hangs, still reaches stderr.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto hanging = std::make_shared<HangingOpen>();
    testing::internal::CaptureStderr();
    {
        const auto sink = std::make_unique<SdlToneSink>(HangingOpen::Of(hanging));
        EXPECT_TRUE(hanging->WaitEntered());
        std::fputs("the program's own warning\n", stderr);
        std::fflush(stderr);
        hanging->Release();
        EXPECT_TRUE(sink->WaitUntilOpen());
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "the program's own warning\n");

    // A machine without a sound card: ALSA's complaints are not shown (where ALSA is missing or
    // finds a card, it has nothing to complain about either).
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("AUDIODEV", "hw:99", 1);
    testing::internal::CaptureStderr();
    std::make_unique<SdlToneSink>()->WaitUntilOpen();
    unsetenv("AUDIODEV");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SpeakerEndToEnd, NoAudioDeviceMeansQuietSilence)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    auto sink = std::make_unique<SdlToneSink>();
    EXPECT_FALSE(sink->WaitUntilOpen());
    LinuxSpeakerPlatform platform(std::move(sink));
    const ScopedSpeakerPlatform scoped(platform);
    TKwBeeper beeper(nullptr);
    const auto start = std::chrono::steady_clock::now();
    beeper.Play(psWhisle);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(319));
}

// A game that never sounded a note opens no output, not even to silence it as the program ends:
// no audio library is loaded and no thread started to open a device.
TEST(SpeakerEndToEnd, AnOutputNeverOpenedIsNotOpenedToSilenceIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static const auto threads = [] {
                std::ifstream in("/proc/self/status");
                const std::string text(std::istreambuf_iterator<char>(in), {});
                const std::size_t at = text.find("\nThreads:");
                return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 9);
            };
            static const int before = threads();
            // Registered before the platform is made, so it runs after the platform is gone.
            std::atexit([] {
                std::ifstream in("/proc/self/maps");
                const std::string maps(std::istreambuf_iterator<char>(in), {});
                _exit(maps.find("libSDL2") == std::string::npos && threads() <= before ? 0 : 1);
            });
            CurrentSpeakerPlatform();
            std::exit(2);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
