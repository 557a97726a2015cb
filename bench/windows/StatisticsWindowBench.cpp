#include "scores/History.h"
#include "windows/StatisticsWindow.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Rounds = 100000;
// The totals the history ends with, as the statistics file beside it would hold them.
engine::SessionValues finalTotals;

// A history of 100,000 rounds as a long player's would be: random hands, stakes and outcomes,
// a loan whenever the fund runs dry.
std::string MakeHistory()
{
    const std::string path = "/tmp/wirtola-bench-" + std::to_string(getpid()) + ".history";
    session::history::History history(path);
    history.Open(engine::SessionValues{});
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> card(1, 52);
    std::uniform_int_distribution<int> category(0, 9);
    std::uniform_int_distribution<int> stake(1, 99);
    std::vector<session::history::Entry> entries;
    std::int32_t fund = engine::StartingFund;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::int64_t time = 1700000000000;
    for (int i = 0; i < Rounds; ++i) {
        session::history::Entry e{.time = time += 20000, .stake = stake(random) * 10};
        for (auto* hand : {&e.dealt, &e.player, &e.computer}) {
            for (engine::Card& c : *hand) {
                c = engine::DecodeCard(card(random));
            }
        }
        e.dealtClass = static_cast<std::uint8_t>(category(random));
        e.playerClass = static_cast<std::uint8_t>(category(random));
        e.computerClass = static_cast<std::uint8_t>(category(random));
        const bool won = random() % 2 == 0;
        e.result = won ? session::history::Result::Won : session::history::Result::Lost;
        e.moved = won ? e.stake : -e.stake;
        fund += e.moved;
        (won ? wins : losses) += 1;
        e.fund = fund;
        e.wins = wins;
        e.losses = losses;
        entries.push_back(e);
        if (fund <= 0) {
            fund = engine::StartingFund;
            wins = losses = 0;
            entries.push_back({.time = time, .kind = session::history::Kind::Loan, .fund = fund});
        }
    }
    history.AppendAll(entries);
    finalTotals = {.Wins = wins, .Losses = losses, .Fund = fund, .Stake = 0, .BettingOpen = true};
    return path;
}

// From the menu item to the painted window, as the game opens it the first time: the record
// opened and checked, read whole, tallied, laid out and painted. The goal: within 150 ms.
void BM_OpenWindowOn100000Rounds(benchmark::State& state)
{
    const std::string path = MakeHistory();
    for (auto _ : state) {
        session::history::History history(path);
        history.Open(finalTotals);
        StatisticsWindow window;
        window.SetTotals(history.Totals().tallies());
        window.Show();
        benchmark::DoNotOptimize(window.grab());
    }
    struct stat st {};
    stat(path.c_str(), &st);
    state.counters["file_MB"] = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::remove((path + suffix).c_str());
    }
}
BENCHMARK(BM_OpenWindowOn100000Rounds)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

} // namespace
