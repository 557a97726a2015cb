#pragma once

// What the statistics window tells of the record: the counts, the runs, the best hand and the
// fund's course, for the game under way (since the last loan or reward) and for all time.
// Kept as running totals: a round adds to them, nothing is counted twice.

#include "scores/History.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scores::history {

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

// At most this many points stand in a course, however long the record: a plot is a few hundred
// pixels wide, and the window must not grow with the record.
inline constexpr std::size_t CoursePoints = 1024;

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
    // How the player drew, over the rounds the advice judged, overall and by the dealt hand's
    // class: how many, how many were the best draw, and the money (grosze) the others gave away
    // against the best.
    struct Draws {
        std::int64_t judged = 0;
        std::int64_t best = 0;
        std::int64_t givenAway = 0;
    };
    Draws draws;
    std::array<Draws, 10> drawsByClass{};
    // The fund's course in round order: every round while it is short; then, per span of
    // `courseSpan` rounds, the span's first, lowest, highest and last points, so the start, the
    // end and the extremes stay exact. Loans and rewards stand as points of their own.
    std::vector<FundPoint> fund;
    std::int64_t courseSpan = 1;
};

struct Tallies {
    Tally game; // since the last loan or reward
    Tally all;
};

// The running totals, one row of the record at a time.
class Tallier {
public:
    void Add(const Entry& entry);
    // A verdict come for a round already added without one.
    void AddVerdict(const Entry& entry);
    const Tallies& tallies() const { return tallies_; }

    // The state as bytes, to be kept with the record, and read back: false (and nothing
    // changed) for bytes that are not a whole state this version wrote.
    std::string Saved() const;
    bool Restore(std::string_view bytes);

private:
    struct Runs {
        std::int64_t winning = 0;
        std::int64_t losing = 0;
    };
    struct Course {
        std::size_t spanStart = 0; // where the last span's points begin in Tally::fund
        std::int64_t span = -1;    // the last span's number; -1 when a mark closed it
    };

    Tallies tallies_;
    Runs allRuns_;
    Runs gameRuns_;
    Course allCourse_;
    Course gameCourse_;

    static void Count(Tally& t, Runs& runs, Course& course, const Entry& e);
    static void CountVerdict(Tally& t, const Entry& e);
    static void AddPoint(Tally& t, Course& course, const FundPoint& point);
    static void Compact(Tally& t, Course& course);
};

Tallies TallyUp(const std::vector<Entry>& entries);

} // namespace scores::history
