// The fanfare through the real platform: how long each of its 15 notes lasts against the
// table, and how much processor time the process spends while it plays.
#include "sound/Clock.h"
#include "sound/KwOdeum.h"
#include "sound/LinuxSpeakerPlatform.h"
#include "sound/SdlToneSink.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// Passes everything on and notes when port 0x61 switches the speaker on or off.
class TimedPlatform : public SpeakerPlatform {
public:
    explicit TimedPlatform(SpeakerPlatform& inner)
        : inner_(inner)
    {
    }
    bool IsNTFamily() override { return inner_.IsNTFamily(); }
    void Beep(std::uint32_t frequency, std::uint32_t duration) override { inner_.Beep(frequency, duration); }
    std::uint32_t GetTickCount() override { return inner_.GetTickCount(); }
    void ProcessMessages(std::uint32_t deadlineTick) override { inner_.ProcessMessages(deadlineTick); }
    std::uint8_t ReadPort(std::uint16_t port) override { return inner_.ReadPort(port); }
    void WritePort(std::uint16_t port, std::uint8_t value) override
    {
        inner_.WritePort(port, value);
        if (port == 0x61)
            switches.push_back(MonotonicNanoseconds());
    }
    std::vector<std::int64_t> switches;

private:
    SpeakerPlatform& inner_;
};

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void PlayOfficial(benchmark::State& state, std::unique_ptr<ToneSink> sink)
{
    LinuxSpeakerPlatform real(std::move(sink));
    TimedPlatform timed(real);
    const ScopedSpeakerPlatform scoped(timed);
    TKwBeeper beeper(nullptr);
    beeper.SetDefaultSound(psOfficial);
    std::vector<double> errors;
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        timed.switches.clear();
        const double cpuStart = CpuSeconds();
        const std::int64_t start = MonotonicNanoseconds();
        beeper.PlayDefault();
        wall += static_cast<double>(MonotonicNanoseconds() - start) / 1e9;
        cpu += CpuSeconds() - cpuStart;
        // Sounding notes run from an on-switch to the next off-switch, rests the other way.
        const auto notes = TuneNotes(psOfficial);
        if (timed.switches.size() != 16) {
            state.SkipWithError("the fanfare switched the speaker an unexpected number of times");
            return;
        }
        for (std::size_t i = 0; i + 1 < timed.switches.size(); ++i)
            errors.push_back(static_cast<double>(timed.switches[i + 1] - timed.switches[i]) / 1e6 - notes[i].duration);
    }
    std::sort(errors.begin(), errors.end());
    state.counters["median_err_ms"] = errors[errors.size() / 2];
    state.counters["shortest_err_ms"] = errors.front();
    state.counters["worst_err_ms"] = errors.back();
    state.counters["cpu_pct"] = 100 * cpu / wall;
}

void Silent(benchmark::State& state)
{
    PlayOfficial(state, std::make_unique<SilentToneSink>());
}

void SdlDiskDriver(benchmark::State& state)
{
    // The audio thread renders and writes a real stream, to nowhere.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    auto sink = std::make_unique<SdlToneSink>();
    if (!sink->WaitUntilOpen()) {
        state.SkipWithError("SDL's disk audio driver did not open");
        return;
    }
    PlayOfficial(state, std::move(sink));
}

} // namespace

BENCHMARK(Silent)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(SdlDiskDriver)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the tune player waits in the event loop
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
