#pragma once

// The record of play: every round and every loan, reward and new game, one row each, in an
// SQLite database beside the statistics file. The statistics file keeps only the totals that
// older copies of the game read; the record keeps the story behind them.

#include "engine/Engine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace session::history {

enum class Kind : std::uint8_t {
    Round = 0,
    Loan = 1,    // a granted loan: the fund starts again at 3000
    Reward = 2,  // the reward was won: the tallies start again
    NewGame = 3, // the first round after a loan or the reward
    Carried = 4, // the statistics file's totals, where the record did not end with them
};

// Won, lost or tied, for the player.
enum class Result : std::int8_t { Lost = -1, Tied = 0, Won = 1 };

struct Entry {
    std::int64_t time = 0; // milliseconds since 1970, UTC
    Kind kind = Kind::Round;
    std::int32_t stake = 0;
    engine::HandCards dealt{}; // the player's five cards as dealt, before the draw
    engine::HandCards player{};
    engine::HandCards computer{};
    std::uint8_t dealtClass = 0;
    std::uint8_t playerClass = 0;
    std::uint8_t computerClass = 0;
    Result result = Result::Tied;
    std::int32_t moved = 0; // money the round moved into the fund (negative: out of it)
    // The totals after this row, as the statistics file holds them once the row is saved.
    std::int32_t fund = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
};

Result ResultOf(engine::Outcome outcome);
std::int64_t NowMilliseconds();

// "wirtola.ini" → "wirtola.history": the record of the statistics file at this path.
std::string HistoryPathFor(const std::string& statisticsPath);

// The five cards as the record writes them: "2c Td Qh As Ah"; empty for a hand of no cards.
std::string CardsText(const engine::HandCards& cards);
engine::HandCards CardsFromText(std::string_view text);

class History {
public:
    enum class Opened {
        Existing, // an earlier record, whole, goes on
        Started,  // a new record
        Renewed,  // the old one was damaged, kept aside (SetAside()) and a new one started
        Refused,  // another user's file or a link stands there: nothing is recorded
        Failed,   // the folder cannot take it: nothing is recorded
    };

    // Opens nothing yet: the game's start must not pay for the record.
    explicit History(std::string path);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Opens or makes the record (private, write-ahead log, every commit flushed). Where the
    // record does not end with `totals` (the statistics file's), they are carried over as a row:
    // a record begun beside older statistics, or one a kill left a round behind.
    Opened Open(const engine::SessionValues& totals);
    bool IsOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }
    const std::string& SetAside() const { return setAside_; }

    // One row, committed and on disk when this returns true.
    bool Append(const Entry& entry);
    // Many rows in one commit (the benchmark's record of 100,000 rounds).
    bool AppendAll(const std::vector<Entry>& entries);
    // Every row, oldest first; unless `allCards`, only what the statistics window shows (the
    // kind, the result, the money, the fund, the classes and the player's final cards).
    std::vector<Entry> ReadAll(bool allCards = true) const;
    // The last row, or none.
    bool Last(Entry& entry) const;

private:
    bool OpenFile(bool mayCreate);
    void Close();

    std::string path_;
    std::string setAside_;
    sqlite3* db_ = nullptr;
};

// Opens the record at `path` to read, without making it; an empty list when there is none.
std::vector<Entry> ReadHistory(const std::string& path);

// The record as CSV: a header line, then one line per row.
void WriteCsv(std::FILE* out, const std::vector<Entry>& entries);

} // namespace session::history
