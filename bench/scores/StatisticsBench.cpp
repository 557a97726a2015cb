#include "scores/Statistics.h"

#include "engine/Engine.h"
#include "scores/History.h"
#include "scores/Profile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t JunkSize = 100u * 1024 * 1024;

std::string ScratchFile(const char* name)
{
    return "/tmp/wirtola-bench-" + std::to_string(getpid()) + "-" + name;
}

// Binary junk with short and very long lines, NULs and brackets; the section comes last so
// every byte is looked at.
std::string Junk(std::size_t size)
{
    std::string text(size, '\0');
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        text[i] = static_cast<char>(state >> 24);
    }
    return text + "\n[Statystyka]\nWygrane=1\nPrzegrane=2\nFundusz=3\n";
}

void ReadFile(benchmark::State& state, const std::string& text)
{
    const std::string path = ScratchFile("read.ini");
    std::ofstream(path, std::ios::binary) << text;
    scores::SetStatisticsFilePath(path);
    for (auto _ : state) {
        engine::SessionValues values;
        scores::read_inifile(values);
        benchmark::DoNotOptimize(values);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    std::remove(path.c_str());
    scores::SetStatisticsFilePath("");
}

void BM_ReadWrittenFile(benchmark::State& state)
{
    ReadFile(state, "[Statystyka]\r\nWygrane=12\r\nPrzegrane=34\r\nFundusz=5600\r\n");
}
BENCHMARK(BM_ReadWrittenFile);

void BM_Read100MBJunk(benchmark::State& state)
{
    ReadFile(state, Junk(JunkSize));
}
BENCHMARK(BM_Read100MBJunk)->Unit(benchmark::kMillisecond);

void BM_Find100MBJunkInMemory(benchmark::State& state)
{
    const std::string text = Junk(JunkSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(scores::profile::FindValue(text, "Statystyka", "Fundusz"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Find100MBJunkInMemory)->Unit(benchmark::kMillisecond);

void SaveFile(benchmark::State& state, const std::string& text)
{
    const std::string path = ScratchFile("save.ini");
    std::ofstream(path, std::ios::binary) << text;
    scores::SetStatisticsFilePath(path);
    engine::SessionValues values;
    for (auto _ : state) {
        ++values.Wins;
        scores::save_inifile(values);
    }
    std::remove(path.c_str());
    scores::SetStatisticsFilePath("");
}

// One flushed replacement and a folder flush: the price of never losing a score.
void BM_SaveSmall(benchmark::State& state)
{
    SaveFile(state, "");
}
BENCHMARK(BM_SaveSmall)->Unit(benchmark::kMillisecond);

// Rounds recorded one after another, each one committed row in the write-ahead log, flushed;
// with `lateVerdict`, each round's verdict then written into its row, as when the advice comes
// after the draw.
void RecordRounds(benchmark::State& state, const char* name, bool lateVerdict)
{
    const std::string path = ScratchFile(name);
    {
        scores::history::History history(path);
        history.Open(engine::SessionValues{});
        scores::history::Entry entry{.stake = 10, .dealt = {{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {8, 0}}}};
        entry.player = entry.dealt;
        entry.computer = entry.dealt;
        for (auto _ : state) {
            ++entry.wins;
            scores::history::Entry round = entry;
            if (history.Append(round) == scores::history::History::Appended::Failed) {
                state.SkipWithError("the row was not recorded");
            }
            if (!lateVerdict) {
                continue;
            }
            round.id = history.LastId();
            scores::history::SetVerdict(round, 0b00011, 0b10011, -0.25, -0.12);
            if (!history.AddVerdict(round)) {
                state.SkipWithError("the verdict was not written");
            }
        }
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::remove((path + suffix).c_str());
    }
}

// Recording a round in the history beside it. Its goal: no dearer than BM_SaveSmall.
void BM_RecordRound(benchmark::State& state)
{
    RecordRounds(state, "record.history", false);
}
BENCHMARK(BM_RecordRound)->Unit(benchmark::kMillisecond);

// The two commits a late advice costs the main thread, against BM_RecordRound's one.
void BM_RecordRoundThenItsVerdict(benchmark::State& state)
{
    RecordRounds(state, "verdict.history", true);
}
BENCHMARK(BM_RecordRoundThenItsVerdict)->Unit(benchmark::kMillisecond);

// The worst a save meets: it rewrites and flushes the whole 100 MB.
void BM_Save100MBJunk(benchmark::State& state)
{
    SaveFile(state, Junk(JunkSize));
}
BENCHMARK(BM_Save100MBJunk)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
