#pragma once

// The record of play: every round and every loan, reward and new game, one row each, in an
// SQLite database beside the statistics file. The statistics file keeps only the totals that
// older copies of the game read; the record keeps the story behind them.
//
// The record is a file a person may edit, damage or plant things in: every reader takes what it
// can from any row, nothing read sizes an allocation, and damage is told, never read as an end.

#include "engine/Engine.h"
#include "scores/StoredFile.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

struct sqlite3;

namespace scores::history {

class Tallier;

enum class Kind : std::uint8_t {
    Round = 0,
    Loan = 1,      // a granted loan: the fund starts again at 3000
    Reward = 2,    // the reward was won: the tallies start again
    NewGame = 3,   // the first round after a loan or the reward
    Carried = 4,   // the statistics file's totals, where the record did not end with them
    Unknown = 255, // a row whose kind this version does not know
};

// Won, lost or tied, for the player; Unknown for a row that says none of them.
enum class Result : std::int8_t { Lost = -1, Tied = 0, Won = 1, Unknown = 2 };

// A hand's class as a row gives it: 0-9, or none.
inline constexpr std::uint8_t NoClass = 0xff;
// A round's keep choice as a row gives it: bit i keeps card i of the dealt hand; or none, for a
// round whose advice did not come before the game moved on (and for every older row).
inline constexpr std::uint8_t NoChoice = 0xff;

struct Entry {
    std::int64_t id = 0;   // the row's number in the record; 0 for a row not yet recorded
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
    // How the player drew against the best draw for the dealt hand, and the money each was
    // expected to bring at the round's stake, in grosze (1/100 zł).
    std::uint8_t kept = NoChoice;
    std::uint8_t best = NoChoice;
    std::int64_t keptExpected = 0;
    std::int64_t bestExpected = 0;

    bool Judged() const { return kept != NoChoice && best != NoChoice; }
};

// The advice's verdict on a round, as a row keeps it: money at `stake`, rounded to grosze.
void SetVerdict(Entry& entry, std::uint8_t kept, std::uint8_t best, double keptPerZloty, double bestPerZloty);

Result ResultOf(engine::Outcome outcome);
std::int64_t NowMilliseconds();

// "wirtola.ini" → "wirtola.history": the record of the statistics file at this path.
std::string HistoryPathFor(const std::string& statisticsPath);

// The five cards as the record writes them: "2c Td Qh As Ah"; empty for a hand of no cards.
std::string CardsText(const engine::HandCards& cards);
engine::HandCards CardsFromText(std::string_view text);

// How a reading of the record ended.
enum class ReadEnd {
    Whole,   // every row read; none where there is no record yet
    Damaged, // the file is damaged, or a read of it failed part of the way
    NotOurs, // another program's database, or one holding what this game did not make
    Newer,   // made by a newer version of the game, which this one does not read
    Refused, // a link, another user's file, or not a plain file
    Failed,  // it cannot be opened (permissions, the disk)
};

using RowSink = std::function<void(const Entry&)>;

class History {
public:
    enum class Opened {
        Existing, // an earlier record, whole, goes on
        Started,  // a new record
        Renewed,  // the old one was damaged or not ours, kept aside (SetAside()) and a new one started
        Refused,  // another user's file or a link stands there: nothing is recorded
        Failed,   // the folder cannot take it: nothing is recorded
        Newer,    // a newer game's record: left alone, nothing is recorded
    };
    enum class Appended {
        Recorded,
        Renewed,   // damage met: the record was kept aside (SetAside()), a new one took the row
        Restarted, // the record had gone from its name, or another file had it: a new one took the row
        Failed,
    };

    // Opens nothing yet: the game's start must not pay for the record.
    explicit History(std::string path);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Opens or makes the record (private, write-ahead log, every commit flushed), brings an older
    // one up to date and reads its running totals. Where the record does not end with `totals`
    // (the statistics file's), they are carried over as a row: a record begun beside older
    // statistics, or one a kill left a round behind.
    Opened Open(const engine::SessionValues& totals);
    bool IsOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }
    const std::string& SetAside() const { return setAside_; }

    // One row, committed and on disk unless Failed; the running totals take it too.
    Appended Append(const Entry& entry);
    // The advice's verdict for a round already recorded (`entry` as recorded, with its id and the
    // verdict set), written into its row and counted in the running totals; false when the row
    // is not there or already has one, or the record failed.
    bool AddVerdict(const Entry& entry);
    // The row id the last Append gave; 0 when it failed.
    std::int64_t LastId() const { return lastId_; }
    // Many rows in one commit (the benchmarks' long records).
    bool AppendAll(const std::vector<Entry>& entries);
    // The running totals of every row recorded; empty while the record is not open.
    const Tallier& Totals() const;
    // Every row, oldest first (for tests and tools; the window reads Totals()).
    std::vector<Entry> ReadAll() const;
    // The last row, or none.
    bool Last(Entry& entry) const;
    // Up to `count` rows (at most MaxPage) before the row `beforeId`, newest first: a page of the
    // log, read by id so that no page costs more for being deep in a long record. FromNewest
    // starts at the newest row.
    static constexpr std::int64_t FromNewest = INT64_MAX;
    static constexpr int MaxPage = 1000;
    std::vector<Entry> Page(std::int64_t beforeId, int count) const;
    // Keeps the record under a dated name beside it (with its log; never deleted) and starts an
    // empty one, which carries `totals` over as its first row where they are not a new game's.
    // `keptAs` names where the old one went ("" where there was none). False when no new record
    // could be started; the old one is then kept wherever `keptAs` says.
    bool StartAfresh(const engine::SessionValues& totals, std::string& keptAs);
    // Whether the whole-file check that each opening starts beside the game has ended (it
    // reads every page; damage it finds sets the record aside at the next row).
    bool Checked() const;

private:
    struct Check;
    void StartCheck();
    void StopCheck();
    Opened OpenOnce(const engine::SessionValues& totals, bool& again);
    bool OpenFile();
    bool SetAsideAndClose();
    bool NameStillOurs() const;
    bool LoadTotals(int& code);
    int InsertRow(const Entry& entry);
    void Close();

    std::string path_;
    std::string setAside_;
    sqlite3* db_ = nullptr;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::unique_ptr<Tallier> totals_;
    std::int64_t totalsThrough_ = 0; // the last row the kept totals hold
    std::int64_t lastId_ = 0;
    std::shared_ptr<Check> check_;
};

// Where the record of play is kept: beside the statistics file, in a folder nobody else may
// write; where that folder is shared, in the player's private data folder instead, so that no
// other user can plant, swap or read any file SQLite makes beside it.
struct RecordPlace {
    std::string path;             // "" when there is no place for it
    bool movedFromShared = false; // kept in the private folder because the statistics' is shared
    profile::WriteFailure refusal = profile::WriteFailure::None;
};
// `make`: make the private folder (mode 0700) when the record goes there; a reader makes nothing.
RecordPlace CurrentRecordPlace(bool make);

// Reads the record at `path`, oldest row first, without making or changing it: a missing record
// is Whole with no rows.
ReadEnd ReadHistory(const std::string& path, const RowSink& sink);
std::vector<Entry> ReadHistory(const std::string& path);

// The record as CSV: a header line, then one line per row.
void WriteCsvHeader(std::FILE* out);
void WriteCsvRow(std::FILE* out, const Entry& entry);
void WriteCsv(std::FILE* out, const std::vector<Entry>& entries);

// Makes every file SQLite opens for the record refuse a link, and any file that is not the
// player's own (another user's -wal or -shm planted beside it). Called before the first opening.
void GuardSqliteFiles();

} // namespace scores::history
