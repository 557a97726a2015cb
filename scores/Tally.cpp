#include "scores/Tally.h"

#include <algorithm>
#include <cstdint>

namespace session::history {

namespace {

// A record is a file anyone may edit: its numbers are taken as they come, without overflowing.
std::int32_t Clamped(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

struct Runs {
    std::int64_t winning = 0;
    std::int64_t losing = 0;
};

void Count(Tally& t, Runs& runs, const Entry& e)
{
    if (t.fund.empty()) {
        t.fund.push_back({.round = 0, .fund = Clamped(std::int64_t{e.fund} - e.moved), .mark = Kind::Round});
    }
    ++t.rounds;
    // A tie ends both runs: neither side won it.
    runs.winning = e.result == Result::Won ? runs.winning + 1 : 0;
    runs.losing = e.result == Result::Lost ? runs.losing + 1 : 0;
    t.won += e.result == Result::Won;
    t.lost += e.result == Result::Lost;
    t.tied += e.result == Result::Tied;
    t.longestWinningRun = std::max(t.longestWinningRun, runs.winning);
    t.longestLosingRun = std::max(t.longestLosingRun, runs.losing);
    t.biggestWin = std::max(t.biggestWin, e.moved);
    t.biggestLoss = std::max(t.biggestLoss, Clamped(-std::int64_t{e.moved}));
    if (e.dealtClass < t.dealt.size()) {
        ++t.dealt[e.dealtClass];
    }
    if (e.playerClass < t.final.size()) {
        ++t.final[e.playerClass];
        if (static_cast<int>(e.playerClass) > t.bestClass) {
            t.bestClass = e.playerClass;
            t.bestHand = e.player;
        }
    }
    t.fund.push_back({.round = t.rounds, .fund = e.fund, .mark = Kind::Round});
}

void Mark(Tally& t, const Entry& e)
{
    t.loans += e.kind == Kind::Loan;
    t.rewards += e.kind == Kind::Reward;
    t.fund.push_back({.round = t.rounds, .fund = e.fund, .mark = e.kind});
}

} // namespace

Tallies TallyUp(const std::vector<Entry>& entries)
{
    Tallies tallies;
    Runs allRuns;
    Runs gameRuns;
    for (const Entry& e : entries) {
        switch (e.kind) {
        case Kind::Round:
            Count(tallies.all, allRuns, e);
            Count(tallies.game, gameRuns, e);
            break;
        case Kind::Loan:
        case Kind::Reward:
            Mark(tallies.all, e);
            tallies.game = Tally{};
            gameRuns = Runs{};
            Mark(tallies.game, e); // the new game opens with it
            break;
        case Kind::NewGame:
        case Kind::Carried:
            break;
        }
    }
    return tallies;
}

} // namespace session::history
