#pragma once

// What the statistics window tells of the record: the counts, the runs, the best hand and the
// fund's course, for the game under way (since the last loan or reward) and for all time.

#include "scores/History.h"

#include <array>
#include <cstdint>
#include <vector>

namespace session::history {

// How many of the 2,598,960 five-card deals fall in each class, as this game classifies them
// (the ace is high only, so A-2-3-4-5 is no straight).
inline constexpr std::array<std::int64_t, 10> DealsByClass{1303560, 1098240, 123552, 54912, 9180,
                                                           5112,    3744,    624,    32,    4};
inline constexpr std::int64_t AllDeals = 2598960;

struct FundPoint {
    std::int64_t round = 0; // rounds played before this point, within the tally
    std::int32_t fund = 0;
    Kind mark = Kind::Round; // a loan or the reward is marked where it happened
};

struct Tally {
    std::int64_t rounds = 0;
    std::int64_t won = 0;
    std::int64_t lost = 0;
    std::int64_t tied = 0;
    std::int32_t biggestWin = 0;
    std::int32_t biggestLoss = 0; // as a positive amount
    std::int64_t longestWinningRun = 0;
    std::int64_t longestLosingRun = 0;
    std::int64_t loans = 0;
    std::int64_t rewards = 0;
    int bestClass = -1; // none yet
    engine::HandCards bestHand{};
    std::array<std::int64_t, 10> dealt{};
    std::array<std::int64_t, 10> final{};
    std::vector<FundPoint> fund;
};

struct Tallies {
    Tally game; // since the last loan or reward
    Tally all;
};

Tallies TallyUp(const std::vector<Entry>& entries);

} // namespace session::history
