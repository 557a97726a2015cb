#include "sound/KwOdeum.h"
#include "sound/LinuxSpeakerPlatform.h"

#include "RecordingSink.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double Ms = 1e6;

class NotePlayer : public TKwBeeper {
public:
    NotePlayer()
        : TKwBeeper(nullptr)
    {
    }
    using TKwBeeper::PlayNote;
};

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds since `start` that the thread was not kept waiting for a processor.
struct OwnTime {
    Clock::time_point start = Clock::now();
    std::int64_t waited = WaitedForProcessor();
    double Seconds() const { return SecondsSince(start) - static_cast<double>(WaitedForProcessor() - waited) / 1e9; }
};

class RealPlatform : public testing::Test {
protected:
    RecordingSink* sink_ = new RecordingSink;
    LinuxSpeakerPlatform platform_{std::unique_ptr<ToneSink>(sink_)};
    ScopedSpeakerPlatform scoped_{platform_};
};

// Lower bounds on time are read from the wall clock; upper bounds leave out the time a busy
// machine kept the thread waiting for a processor.
TEST_F(RealPlatform, RestLetsEventsThroughAndEndsOnTime)
{
    NotePlayer player;
    const auto start = Clock::now();
    const OwnTime own;
    double firedAt = -1;
    double firedOwn = -1;
    QTimer::singleShot(20, [&] {
        firedAt = SecondsSince(start);
        firedOwn = own.Seconds();
    });
    player.PlayNote(1, 100);
    const double elapsed = SecondsSince(start);
    EXPECT_GE(firedAt, 0.019);
    EXPECT_LT(firedOwn, 0.060);
    EXPECT_GE(elapsed, 0.099); // whole ticks of a millisecond counter
    EXPECT_LT(own.Seconds(), 0.110);
    EXPECT_TRUE(sink_->changes.empty());
}

TEST_F(RealPlatform, NotesAreStampedInWholeTicksAndNeverShort)
{
    TKwBeeper(nullptr).Play(psWhisle);
    const double want[] = {523, 698, 784, 1046, 0};
    ASSERT_EQ(sink_->changes.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE("change " + std::to_string(i));
        const RecordingSink::Change& change = sink_->changes[i];
        EXPECT_NEAR(change.frequency, want[i], want[i] * 0.001);
        EXPECT_EQ(change.stamp % 1'000'000, 0);
        if (i == 0)
            continue;
        const RecordingSink::Change& begun = sink_->changes[i - 1];
        const double stamped = static_cast<double>(change.stamp - begun.stamp) / Ms; // what the stream plays
        const double real = static_cast<double>(change.made - begun.made) / Ms;      // a speaker switched at once
        const double kept = static_cast<double>(change.waited - begun.waited) / Ms;
        EXPECT_GE(stamped, 80);
        EXPECT_LE(stamped - kept, 82);
        EXPECT_GT(real, 79);        // a note may start late in its first tick
        EXPECT_LE(real - kept, 85); // the stamps are exact; the switch itself may wait for the scheduler
    }
}

TEST_F(RealPlatform, BeepSoundsItsWholeDurationWithoutPumping)
{
    bool fired = false;
    const QObject context; // drops the call if it never came
    QTimer::singleShot(0, &context, [&] { fired = true; });
    const auto start = Clock::now();
    platform_.Beep(440, 50);
    EXPECT_GE(SecondsSince(start), 0.049);
    EXPECT_FALSE(fired); // the tone service blocks, as on the systems that have one
    ASSERT_EQ(sink_->changes.size(), 2u);
    EXPECT_EQ(sink_->changes[0].frequency, 440);
    EXPECT_EQ(sink_->changes[1].frequency, 0);
    EXPECT_EQ(sink_->changes[1].stamp - sink_->changes[0].stamp, 50'000'000);
}

TEST_F(RealPlatform, TunesUseLittleProcessorTime)
{
    TKwBeeper beeper(nullptr);
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    beeper.Play(psWrong);
    const double wall = SecondsSince(start);
    EXPECT_GE(wall, 0.99);
    // A wait that polled would take a whole core.
    EXPECT_LT((CpuSeconds() - cpu) / wall, 0.10);
}

TEST_F(RealPlatform, ModalLoopDuringANoteDoesNotSpin)
{
    // A handler run during a note opens its own event loop (a message box, say) for longer
    // than the note; the note's wake-up must not keep that loop busy.
    NotePlayer player;
    QTimer::singleShot(5, [] {
        QEventLoop modal;
        QTimer::singleShot(300, &modal, &QEventLoop::quit);
        modal.exec();
    });
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    player.PlayNote(440, 30);
    const double wall = SecondsSince(start);
    EXPECT_GE(wall, 0.3);
    EXPECT_LT((CpuSeconds() - cpu) / wall, 0.10);
}

} // namespace
