#include "scores/History.h"
#include "scores/Tally.h"
#include "windows/StatisticsWindow.h"

#include <QApplication>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Rounds = 1000000;
// The totals the history ends with, as the statistics file beside it would hold them.
engine::SessionValues finalTotals;

// A history of 1,000,000 rounds as a long player's would be: random hands, stakes and outcomes,
// a loan whenever the fund runs dry.
void RemoveHistory(const std::string& path)
{
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::remove((path + suffix).c_str());
    }
}

// Made once for every benchmark of the run, and removed at its end.
struct MadeHistory {
    std::string path;
    ~MadeHistory() { RemoveHistory(path); }
};

std::string MakeHistory()
{
    static MadeHistory made;
    if (!made.path.empty()) {
        return made.path;
    }
    const std::string path = "/tmp/wirtola-bench-" + std::to_string(getpid()) + ".history";
    scores::history::History history(path);
    history.Open(engine::SessionValues{});
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> card(1, 52);
    std::uniform_int_distribution<int> category(0, 9);
    std::uniform_int_distribution<int> stake(1, 99);
    std::vector<scores::history::Entry> entries;
    std::int32_t fund = engine::StartingFund;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::int64_t time = 1700000000000;
    for (int i = 0; i < Rounds; ++i) {
        scores::history::Entry e{.time = time += 20000, .stake = stake(random) * 10};
        for (auto* hand : {&e.dealt, &e.player, &e.computer}) {
            for (engine::Card& c : *hand) {
                c = engine::DecodeCard(card(random));
            }
        }
        e.dealtClass = static_cast<std::uint8_t>(category(random));
        e.playerClass = static_cast<std::uint8_t>(category(random));
        e.computerClass = static_cast<std::uint8_t>(category(random));
        const bool won = random() % 2 == 0;
        e.result = won ? scores::history::Result::Won : scores::history::Result::Lost;
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
            entries.push_back({.time = time, .kind = scores::history::Kind::Loan, .fund = fund});
        }
    }
    history.AppendAll(entries);
    finalTotals = {.Wins = wins, .Losses = losses, .Fund = fund, .Stake = 0, .BettingOpen = true};
    made.path = path;
    return path;
}

long ResidentKilobytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// From the menu item to the painted window, as the game opens it the first time: the record
// opened and checked, its running totals read, laid out and painted. The goal: within 150 ms and
// 30 MB at a million rounds.
void BM_OpenWindowOnAMillionRounds(benchmark::State& state)
{
    const std::string path = MakeHistory();
    long grown = 0;
    for (auto _ : state) {
        const long before = ResidentKilobytes();
        scores::history::History history(path);
        history.Open(finalTotals);
        StatisticsWindow window;
        window.SetTotals(history.Totals().tallies());
        window.Show();
        benchmark::DoNotOptimize(window.grab());
        grown = std::max(grown, ResidentKilobytes() - before);
    }
    struct stat st {};
    stat(path.c_str(), &st);
    state.counters["file_MB"] = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
    state.counters["grown_MB"] = static_cast<double>(grown) / 1024.0;
}
BENCHMARK(BM_OpenWindowOnAMillionRounds)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

// One more round while the window is open: the row committed (and flushed) with the running
// totals, and the window's tables and plot filled again from them. The goal: within 2 ms.
void BM_RoundWhileTheWindowIsOpen(benchmark::State& state)
{
    const std::string path = MakeHistory();
    scores::history::History history(path);
    history.Open(finalTotals);
    StatisticsWindow window;
    window.SetTotals(history.Totals().tallies());
    window.Show();
    scores::history::Entry entry{.stake = 10, .dealt = {{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {8, 0}}}};
    entry.player = entry.dealt;
    entry.computer = entry.dealt;
    entry.result = scores::history::Result::Won;
    entry.moved = 10;
    entry.fund = finalTotals.Fund;
    entry.wins = finalTotals.Wins;
    entry.losses = finalTotals.Losses;
    for (auto _ : state) {
        state.PauseTiming();
        entry.fund += 10;
        ++entry.wins;
        state.ResumeTiming();
        if (history.Append(entry) == scores::history::History::Appended::Failed) {
            state.SkipWithError("the row was not recorded");
        }
        window.SetTotals(history.Totals().tallies());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RoundWhileTheWindowIsOpen)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3);

// The log of rounds opened on its newest page: the goal is that it costs what one page costs,
// whatever the record's length.
void BM_OpenLogOnAMillionRounds(benchmark::State& state)
{
    const std::string path = MakeHistory();
    scores::history::History history(path);
    history.Open(finalTotals);
    StatisticsWindow window;
    window.SetTotals(history.Totals().tallies());
    window.Pages->setCurrentIndex(1);
    window.Show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.SetRecord({.pages = [&history](std::int64_t before, int count) { return history.Page(before, count); },
                          .place = {},
                          .startAfresh = {}});
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_OpenLogOnAMillionRounds)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3);

// Scrolled from the newest round to the oldest of a million, a page at a time as the view asks
// for them, and painted there; what the rows take is the memory it grew by.
void BM_ScrollLogToTheOldestOfAMillionRounds(benchmark::State& state)
{
    const std::string path = MakeHistory();
    scores::history::History history(path);
    history.Open(finalTotals);
    StatisticsWindow window;
    window.Pages->setCurrentIndex(1);
    window.Show();
    QApplication::processEvents();
    long grown = 0;
    int rows = 0;
    for (auto _ : state) {
        const long before = ResidentKilobytes();
        window.SetRecord({.pages = [&history](std::int64_t from, int count) { return history.Page(from, count); },
                          .place = {},
                          .startAfresh = {}});
        // As Ctrl+End does it: the view at its end asks for the next page.
        while (window.LogModel->canFetchMore({})) {
            window.Log->scrollToBottom();
            QApplication::processEvents();
        }
        window.Log->scrollToBottom();
        benchmark::DoNotOptimize(window.grab());
        rows = window.LogModel->rowCount();
        grown = std::max(grown, ResidentKilobytes() - before);
    }
    state.counters["rows"] = rows;
    state.counters["grown_MB"] = static_cast<double>(grown) / 1024.0;
}
BENCHMARK(BM_ScrollLogToTheOldestOfAMillionRounds)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace
