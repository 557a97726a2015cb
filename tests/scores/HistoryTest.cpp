// The record of play as a file a person may edit, damage or plant things beside: what every
// reader makes of it, what the game does with it, and that the running totals tell the rows.

#include "scores/History.h"

#include "scores/Statistics.h"
#include "scores/StatisticsLock.h"
#include "scores/Tally.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <numeric>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using scores::history::Entry;
using scores::history::History;
using scores::history::Kind;
using scores::history::ReadEnd;
using scores::history::Result;

// The record's first shape, as the game wrote it before the running totals.
constexpr const char* VersionOne =
    "CREATE TABLE record(id INTEGER PRIMARY KEY, time INTEGER NOT NULL, kind INTEGER NOT NULL, stake INTEGER,"
    " dealt TEXT, dealt_class INTEGER, cards TEXT, class INTEGER, computer TEXT, computer_class INTEGER,"
    " result INTEGER, moved INTEGER, fund INTEGER NOT NULL, wins INTEGER NOT NULL, losses INTEGER NOT NULL);"
    " PRAGMA application_id=1466528372; PRAGMA user_version=1;";

// SQL straight into the file, as a person with the sqlite3 shell would write it.
void Sql(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string said = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(code, SQLITE_OK) << said << " in " << sql;
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The record read back as --history prints it, one line a row (the header left out).
std::vector<std::string> CsvLines(const std::string& path, ReadEnd& end)
{
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    end = scores::history::ReadHistory(path, [out](const Entry& e) { scores::history::WriteCsvRow(out, e); });
    std::fclose(out);
    std::vector<std::string> lines;
    std::string all(text, size);
    std::free(text);
    for (std::size_t at = 0, next; at < all.size(); at = next + 1) {
        next = all.find('\n', at);
        lines.push_back(all.substr(at, next - at));
    }
    return lines;
}

// `judge`: some rounds with a verdict on the draw, as the advice gives it.
Entry RoundOf(std::mt19937& random, std::int32_t& fund, std::int32_t& wins, std::int32_t& losses, bool judge = false)
{
    Entry e{.time = 1700000000000 + static_cast<std::int64_t>(random() % 1000000000), .stake = 10};
    for (auto* hand : {&e.dealt, &e.player, &e.computer}) {
        for (engine::Card& c : *hand) {
            c = engine::DecodeCard(static_cast<int>(random() % 52) + 1);
        }
    }
    e.dealtClass = static_cast<std::uint8_t>(random() % 10);
    e.playerClass = static_cast<std::uint8_t>(random() % 10);
    e.computerClass = static_cast<std::uint8_t>(random() % 10);
    const int outcome = static_cast<int>(random() % 5);
    e.result = outcome == 0 ? Result::Tied : outcome % 2 ? Result::Won : Result::Lost;
    e.stake = static_cast<std::int32_t>(random() % 99 + 1) * 10;
    e.moved = e.result == Result::Won ? e.stake : e.result == Result::Lost ? -e.stake : 0;
    fund += e.moved;
    wins += e.result == Result::Won;
    losses += e.result == Result::Lost;
    e.fund = fund;
    e.wins = wins;
    e.losses = losses;
    if (judge && random() % 3 != 0) {
        e.kept = static_cast<std::uint8_t>(random() % 32);
        e.best = random() % 4 == 0 ? e.kept : static_cast<std::uint8_t>(random() % 32);
        e.bestExpected = static_cast<std::int64_t>(random() % 200000) - 100000;
        e.keptExpected =
            e.kept == e.best ? e.bestExpected : e.bestExpected - static_cast<std::int64_t>(random() % 5000);
    }
    return e;
}

// A record of `rounds` random rounds, with a loan wherever the fund runs dry.
std::vector<Entry> Play(History& history, int rounds, unsigned seed, bool judge = false)
{
    std::mt19937 random(seed);
    std::int32_t fund = engine::StartingFund;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::vector<Entry> played;
    for (int i = 0; i < rounds; ++i) {
        played.push_back(RoundOf(random, fund, wins, losses, judge));
        if (fund <= 0) {
            fund = engine::StartingFund;
            wins = losses = 0;
            played.push_back({.time = played.back().time, .kind = Kind::Loan, .fund = fund});
        }
    }
    EXPECT_TRUE(history.AppendAll(played));
    return played;
}

class HistoryFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/wirtola-history-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
        path_ = (dir_ / "wirtola.history").string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, ignored);
        fs::remove_all(dir_, ignored);
    }
    std::vector<std::string> Aside() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("wirtola.history.damaged-") && !name.ends_with("-wal")) {
                names.push_back(entry.path().string());
            }
        }
        return names;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(HistoryFile, AnyRowAPersonCanWriteIsReadWithoutHarmByEveryReader)
{
    Sql(path_, VersionOne);
    struct Case {
        const char* row; // the values after the id
        const char* csv; // what --history prints of it
    };
    const Case cases[] = {
        {"1700000000000, 0, 10, '2c 3d 4h 5s 9c', 0, 'Th Jh Qh Kh Ah', 9, '2c 2d 4h 5s 9c', 1, 1, 10, 3010, 1, 0",
         "2023-11-14T22:13:20.000Z,round,10,2c 3d 4h 5s 9c,high card,Th Jh Qh Kh Ah,royal flush,2c 2d 4h 5s 9c,one "
         "pair,won,10,3010,1,0"},
        // Numbers out of every range, texts where numbers belong, NULLs, cards that are not cards.
        {"-5, 99, 'x', 'ZZ', 200, '2c 3d', -5, NULL, 'abc', 7, 1e12, -99999999999, 'w', 'z'",
         "1969-12-31T23:59:59.995Z,,,,,,,,,,,-2147483648,0,0"},
        {"99999999999999999, 0, NULL, '2c_3d_4h_5s_9c', 10, 'Xc 3d 4h 5s 9c', 3.5, x'00ff', -1, -1, 4294967296,"
         " 2147483648, 1, 2",
         ",round,0,,,,,,,lost,2147483647,2147483647,1,2"},
        {"'soon', 'loan', 0, '', 0, '', 0, '', 0, 0, 0, 3000, 0, 0", "1970-01-01T00:00:00.000Z,,,,,,,,,,,3000,0,0"},
        {"-62167219200001, 2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 6000, 5, 1",
         ",reward,,,,,,,,,,6000,5,1"},
        {"951868799999, 4, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 6000, 5, 1",
         "2000-02-29T23:59:59.999Z,carried over,,,,,,,,,,6000,5,1"},
        {"1700000000000, 0, 990, 'Ac Ad Ah As Kc', 7, 'Ac Ad Ah As Kc', 7, '2c 3c 4c 5c 6c', 8, 0, 0, 3000, 2, 2",
         "2023-11-14T22:13:20.000Z,round,990,Ac Ad Ah As Kc,four of a kind,Ac Ad Ah As Kc,four of a "
         "kind,2c 3c 4c 5c 6c,straight flush,tied,0,3000,2,2"},
    };
    // Ids of any size and with gaps: the largest first, so a reader sized by it would show.
    const char* ids[] = {"9223372036854775807", "3", "400000000", "400000001", "9223372036854775806", "8", "7"};
    std::vector<std::pair<long double, std::string>> byId;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Sql(path_, std::string("INSERT INTO record VALUES(") + ids[i] + ", " + cases[i].row + ")");
        byId.emplace_back(std::stold(ids[i]), cases[i].csv + std::string(",,,,")); // no verdict in a first-shape row
    }
    std::sort(byId.begin(), byId.end());
    std::vector<std::string> want;
    for (const auto& [id, csv] : byId) {
        want.push_back(csv);
    }

    ReadEnd end = ReadEnd::Failed;
    EXPECT_EQ(CsvLines(path_, end), want);
    EXPECT_EQ(end, ReadEnd::Whole);
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read)
        << "a reader changes nothing";

    // The game opens it, upgrades it, counts it and goes on after its largest id.
    History history(path_);
    ASSERT_EQ(history.Open({.Wins = 2, .Losses = 2, .Fund = 3000, .Stake = 0, .BettingOpen = true}),
              History::Opened::Existing);
    const auto& all = history.Totals().tallies().all;
    EXPECT_EQ(all.rounds, 3);
    EXPECT_EQ(std::make_tuple(all.won, all.lost, all.tied), std::make_tuple(1, 1, 1));
    EXPECT_EQ(all.rewards, 1);
    EXPECT_EQ(all.bestClass, 9);
    EXPECT_EQ(history.Totals().tallies().game.rounds, 1) << "this game begins at the reward";
    EXPECT_EQ(all.biggestWin, 2147483647);
    EXPECT_EQ(all.final[7], 1);
    EXPECT_EQ(std::accumulate(all.dealt.begin(), all.dealt.end(), std::int64_t{0}), 2) << "class 10 counts nowhere";
    // The largest id is taken: the row goes in all the same, after the totals the last row did
    // not end with, and the next reading has both.
    EXPECT_EQ(history.Append({.time = 1, .kind = Kind::Loan, .fund = 3000}), History::Appended::Recorded);
    EXPECT_EQ(CsvLines(path_, end).size(), want.size() + 2);
}

TEST_F(HistoryFile, WhatTheGameDidNotMakeIsSetAsideAndANewerRecordLeftAlone)
{
    const auto v1 =
        std::string(VersionOne) + "INSERT INTO record VALUES(1, 5, 0, 10, '', 0, '', 0, '', 0, 1, 10, 10, 1, 0);";
    struct Case {
        const char* name;
        std::string sql;
        History::Opened opened;
    } cases[] = {
        {"a trigger that drops rows", v1 + "CREATE TRIGGER t AFTER INSERT ON record BEGIN DELETE FROM record; END;",
         History::Opened::Renewed},
        {"a view named like a table",
         "CREATE TABLE x(a); CREATE VIEW record AS SELECT * FROM x;"
         " PRAGMA application_id=1466528372; PRAGMA user_version=1;",
         History::Opened::Renewed},
        {"another table", v1 + "CREATE TABLE notes(a);", History::Opened::Renewed},
        {"an index", v1 + "CREATE INDEX byfund ON record(fund);", History::Opened::Renewed},
        {"a column more", v1 + "ALTER TABLE record ADD COLUMN extra;", History::Opened::Renewed},
        {"another program's database", "CREATE TABLE record(id INTEGER PRIMARY KEY, x);", History::Opened::Renewed},
        {"another program's empty database, its mark on it", "PRAGMA application_id=1234;", History::Opened::Renewed},
        {"a newer game's record", v1 + "PRAGMA user_version=99;", History::Opened::Newer},
        {"the game's own record", v1, History::Opened::Existing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Sql(path_, c.sql);
        const std::string before = Bytes(path_);
        ReadEnd end = ReadEnd::Whole;
        CsvLines(path_, end);
        EXPECT_EQ(end,
                  c.opened == History::Opened::Renewed     ? ReadEnd::NotOurs
                      : c.opened == History::Opened::Newer ? ReadEnd::Newer
                                                           : ReadEnd::Whole);
        History history(path_);
        EXPECT_EQ(history.Open({.Wins = 1, .Losses = 0, .Fund = 10, .Stake = 0, .BettingOpen = true}), c.opened);
        if (c.opened == History::Opened::Renewed) {
            ASSERT_EQ(Aside().size(), 1U);
            EXPECT_EQ(Bytes(Aside()[0]), before) << "kept whole";
            EXPECT_EQ(history.Append({.time = 6, .kind = Kind::Loan, .fund = 3000}), History::Appended::Recorded);
            EXPECT_EQ(scores::history::ReadHistory(path_).size(), 2U) << "the totals carried, then the loan";
        } else if (c.opened == History::Opened::Newer) {
            EXPECT_FALSE(history.IsOpen());
            EXPECT_EQ(Bytes(path_), before) << "untouched";
        } else {
            EXPECT_EQ(history.Append({.time = 6, .kind = Kind::Loan, .fund = 3000}), History::Appended::Recorded);
            EXPECT_EQ(scores::history::ReadHistory(path_).size(), 2U);
        }
    }
}

// The statistics file's totals are carried over where the record does not end with them, and
// only there, whatever the record's first row holds.
TEST_F(HistoryFile, TheScoresAreCarriedOverWhereTheRecordDoesNotEndWithThem)
{
    const std::vector<Entry> rows{
        {.time = 1, .stake = 10, .result = Result::Won, .moved = 10, .fund = 3010, .wins = 1, .losses = 0},
        {.time = 2, .stake = 20, .result = Result::Lost, .moved = -20, .fund = 2990, .wins = 1, .losses = 1}};
    struct Case {
        const char* name;
        bool played; // the rows above, or a new record
        engine::SessionValues scores;
        bool carried;
    } cases[] = {
        {"the record ends with the file's totals", true, {.Wins = 1, .Losses = 1, .Fund = 2990}, false},
        {"the file holds the first row's totals", true, {.Wins = 1, .Losses = 0, .Fund = 3010}, true},
        {"wins edited by hand", true, {.Wins = 5, .Losses = 1, .Fund = 2990}, true},
        {"losses edited by hand", true, {.Wins = 1, .Losses = 7, .Fund = 2990}, true},
        {"a new record beside a fresh file", false, {.Wins = 0, .Losses = 0, .Fund = 3000}, false},
        {"a new record beside an older game's file", false, {.Wins = 2, .Losses = 1, .Fund = 500}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        if (c.played) {
            History history(path_);
            ASSERT_EQ(history.Open({.Wins = 0, .Losses = 0, .Fund = 3000}), History::Opened::Started);
            ASSERT_TRUE(history.AppendAll(rows));
        }
        History history(path_);
        history.Open(c.scores);
        const std::vector<Entry> read = scores::history::ReadHistory(path_);
        ASSERT_EQ(read.size(), (c.played ? rows.size() : 0) + c.carried);
        if (c.carried) {
            EXPECT_EQ(std::make_tuple(read.back().kind, read.back().wins, read.back().losses, read.back().fund),
                      std::make_tuple(Kind::Carried, c.scores.Wins, c.scores.Losses, c.scores.Fund));
        }
    }
}

TEST_F(HistoryFile, AnOlderRecordIsReadWholeAndBroughtUpToDateOnce)
{
    Sql(path_, VersionOne);
    std::string rows = "BEGIN;";
    for (int i = 1; i <= 300; ++i) {
        rows += "INSERT INTO record(time, kind, stake, result, moved, fund, wins, losses) VALUES(" + std::to_string(i)
            + ", 0, 10, 1, 10, " + std::to_string(3000 + 10 * i) + ", " + std::to_string(i) + ", 0);";
    }
    Sql(path_, rows + "COMMIT;");
    ReadEnd end = ReadEnd::Failed;
    EXPECT_EQ(CsvLines(path_, end).size(), 300U);
    EXPECT_EQ(end, ReadEnd::Whole);
    {
        History history(path_);
        EXPECT_EQ(history.Open({.Wins = 300, .Losses = 0, .Fund = 6000, .Stake = 0, .BettingOpen = true}),
                  History::Opened::Existing);
        EXPECT_EQ(history.Totals().tallies().all.rounds, 300);
        EXPECT_EQ(history.Totals().tallies().all.longestWinningRun, 300);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT (SELECT user_version FROM pragma_user_version), (SELECT last FROM tally)", -1, &s,
                       nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), 3);
    EXPECT_EQ(sqlite3_column_int(s, 1), 300) << "the totals kept with the rows";
    sqlite3_finalize(s);
    sqlite3_close(db);
    EXPECT_EQ(scores::history::ReadHistory(path_).size(), 300U) << "nothing carried: the totals agreed";
}

// The second shape, with the kept totals and before the verdicts on the draws.
constexpr const char* VersionTwo =
    "CREATE TABLE record(id INTEGER PRIMARY KEY, time INTEGER NOT NULL, kind INTEGER NOT NULL, stake INTEGER,"
    " dealt TEXT, dealt_class INTEGER, cards TEXT, class INTEGER, computer TEXT, computer_class INTEGER,"
    " result INTEGER, moved INTEGER, fund INTEGER NOT NULL, wins INTEGER NOT NULL, losses INTEGER NOT NULL);"
    " CREATE TABLE tally(id INTEGER PRIMARY KEY CHECK (id = 1), last INTEGER NOT NULL, state BLOB NOT NULL);"
    " PRAGMA application_id=1466528372; PRAGMA user_version=2;";

bool SameDraws(const scores::history::Tally::Draws& a, const scores::history::Tally::Draws& b)
{
    return a.judged == b.judged && a.best == b.best && a.givenAway == b.givenAway;
}

TEST_F(HistoryFile, ASecondShapeRecordIsReadWholeUpgradedAndItsRowsJudgedLater)
{
    Sql(path_, VersionTwo);
    std::string rows = "BEGIN;";
    for (int i = 1; i <= 40; ++i) {
        rows += "INSERT INTO record(time, kind, stake, dealt, dealt_class, result, moved, fund, wins, losses) VALUES("
            + std::to_string(i) + ", 0, 10, '2c 2d 7h 9s Kd', 1, 1, 10, " + std::to_string(3000 + 10 * i) + ", "
            + std::to_string(i) + ", 0);";
    }
    // Totals an older game kept: they count no draws, so they are counted again.
    Sql(path_, rows + "INSERT INTO tally VALUES(1, 40, x'57544c31'); COMMIT;");
    ReadEnd end = ReadEnd::Failed;
    const std::vector<std::string> before = CsvLines(path_, end);
    ASSERT_EQ(before.size(), 40U);
    EXPECT_EQ(end, ReadEnd::Whole);
    EXPECT_TRUE(before[0].ends_with(",10,3010,1,0,,,,")) << before[0];

    Entry judged;
    {
        History history(path_);
        ASSERT_EQ(history.Open({.Wins = 40, .Losses = 0, .Fund = 3400, .Stake = 0, .BettingOpen = true}),
                  History::Opened::Existing);
        EXPECT_EQ(history.Totals().tallies().all.rounds, 40);
        judged = history.ReadAll().at(4);
        // Kept the pair (slots 0 and 1), the best kept the pair and the king: 1.30 zł given away.
        scores::history::SetVerdict(judged, 0b00011, 0b10011, -0.25, -0.12);
        EXPECT_TRUE(history.AddVerdict(judged));
        EXPECT_FALSE(history.AddVerdict(judged)) << "a row is judged once";
        Entry missing = judged;
        missing.id = 999;
        EXPECT_FALSE(history.AddVerdict(missing));
        const auto& draws = history.Totals().tallies().all.draws;
        EXPECT_TRUE(SameDraws(draws, {.judged = 1, .best = 0, .givenAway = 130}))
            << draws.judged << " " << draws.best << " " << draws.givenAway;
        EXPECT_TRUE(SameDraws(history.Totals().tallies().game.drawsByClass[1], draws));
        // A new round after the kept totals, judged late too: another choice the advice expects
        // as much of counts as the best, nothing given away.
        Entry next = history.ReadAll().at(39);
        next.id = 0;
        next.wins = 41;
        next.fund = 3410;
        EXPECT_EQ(history.Append(next), History::Appended::Recorded);
        next.id = history.LastId();
        EXPECT_EQ(next.id, 41);
        scores::history::SetVerdict(next, 0b10111, 0b10011, -0.12, -0.12);
        EXPECT_TRUE(history.AddVerdict(next));
        EXPECT_TRUE(SameDraws(history.Totals().tallies().all.draws, {.judged = 2, .best = 1, .givenAway = 130}));
    }
    const std::vector<std::string> after = CsvLines(path_, end);
    ASSERT_EQ(after.size(), 41U);
    EXPECT_TRUE(after[4].ends_with(",2c 2d,2c 2d Kd,-2.50,-1.20")) << after[4];
    EXPECT_TRUE(after[40].ends_with(",2c 2d 7h Kd,2c 2d Kd,-1.20,-1.20")) << after[40];
    EXPECT_TRUE(after[3].ends_with(",,,,"));
    // Opened again, the kept totals agree with the rows counted afresh.
    History again(path_);
    ASSERT_EQ(again.Open({.Wins = 41, .Losses = 0, .Fund = 3410, .Stake = 0, .BettingOpen = true}),
              History::Opened::Existing);
    const auto counted = scores::history::TallyUp(again.ReadAll());
    EXPECT_TRUE(SameDraws(again.Totals().tallies().all.draws, counted.all.draws));
    EXPECT_TRUE(SameDraws(again.Totals().tallies().all.draws, {.judged = 2, .best = 1, .givenAway = 130}));
    EXPECT_EQ(again.ReadAll().at(4).kept, 0b00011);
    // A verdict a person wrote that no game could: no verdict at all.
    Sql(path_,
        "UPDATE record SET kept = 32, best = 1, kept_expected = 0, best_expected = 0 WHERE id = 6;"
        "UPDATE record SET kept = 1, best = 1, kept_expected = 'x', best_expected = 0 WHERE id = 7;"
        "UPDATE record SET kept = 1, best = -1, kept_expected = 0, best_expected = 0 WHERE id = 8;"
        "UPDATE record SET kept = 1, best = 2, kept_expected = 0, best_expected = 1e300 WHERE id = 9;");
    const auto hostile = scores::history::ReadHistory(path_);
    for (std::size_t i = 5; i <= 8; ++i) {
        EXPECT_FALSE(hostile.at(i).Judged()) << i;
    }
}

TEST_F(HistoryFile, RunningTotalsTellEveryRowAndAreKeptWithThem)
{
    std::vector<Entry> played;
    {
        History history(path_);
        history.Open({});
        played = Play(history, 5000, 7, true);
        std::mt19937 random(8);
        std::int32_t fund = played.back().fund;
        std::int32_t wins = played.back().wins;
        std::int32_t losses = played.back().losses;
        for (int i = 0; i < 70; ++i) { // one at a time, past a keeping of the totals
            played.push_back(RoundOf(random, fund, wins, losses, true));
            ASSERT_EQ(history.Append(played.back()), History::Appended::Recorded);
            Entry newest;
            ASSERT_TRUE(history.Last(newest));
            ASSERT_EQ(history.LastId(), newest.id) << "the round's row, also where the totals were kept with it";
        }
        played.push_back({.time = 9, .kind = Kind::Reward, .fund = 3000});
        ASSERT_EQ(history.Append(played.back()), History::Appended::Recorded);
        played.push_back(RoundOf(random, fund = 3000, wins = 0, losses = 0));
        ASSERT_EQ(history.Append(played.back()), History::Appended::Recorded);
    }
    const auto want = scores::history::TallyUp(played);
    History reopened(path_);
    const Entry& last = played.back();
    ASSERT_EQ(
        reopened.Open({.Wins = last.wins, .Losses = last.losses, .Fund = last.fund, .Stake = 0, .BettingOpen = true}),
        History::Opened::Existing);
    for (const auto& [got, expected] : {std::pair{&reopened.Totals().tallies().all, &want.all},
                                        std::pair{&reopened.Totals().tallies().game, &want.game}}) {
        EXPECT_EQ(std::make_tuple(got->rounds, got->won, got->lost, got->tied, got->loans, got->rewards),
                  std::make_tuple(expected->rounds, expected->won, expected->lost, expected->tied, expected->loans,
                                  expected->rewards));
        EXPECT_EQ(std::make_tuple(got->longestWinningRun, got->longestLosingRun, got->biggestWin, got->biggestLoss,
                                  got->bestClass),
                  std::make_tuple(expected->longestWinningRun, expected->longestLosingRun, expected->biggestWin,
                                  expected->biggestLoss, expected->bestClass));
        EXPECT_EQ(got->dealt, expected->dealt);
        EXPECT_EQ(got->final, expected->final);
        EXPECT_EQ(got->fund.size(), expected->fund.size());
        for (std::size_t c = 0; c < 10; ++c) {
            EXPECT_TRUE(SameDraws(got->drawsByClass[c], expected->drawsByClass[c])) << c;
        }
        EXPECT_TRUE(SameDraws(got->draws, expected->draws));
    }
    // The draws counted plainly: judged rounds, the best of them, the money the others gave away.
    scores::history::Tally::Draws plain;
    for (const Entry& e : played) {
        if (e.kind == Kind::Round && e.Judged()) {
            ++plain.judged;
            plain.best += e.keptExpected >= e.bestExpected;
            plain.givenAway += std::max<std::int64_t>(0, e.bestExpected - e.keptExpected);
        }
    }
    EXPECT_GT(plain.judged, 3000);
    EXPECT_TRUE(SameDraws(want.all.draws, plain));
    EXPECT_EQ(want.all.rounds, 5071);
    EXPECT_EQ(want.game.rounds, 1);
    // However long the record, the course keeps its bound, its ends and its extremes, and every
    // point stands in round order.
    const auto& course = want.all.fund;
    EXPECT_LE(course.size(), scores::history::CoursePoints);
    EXPECT_GT(course.size(), scores::history::CoursePoints / 8);
    std::int32_t lowest = engine::StartingFund;
    std::int32_t highest = engine::StartingFund;
    for (const Entry& e : played) {
        if (e.kind == Kind::Round) {
            lowest = std::min(lowest, e.fund);
            highest = std::max(highest, e.fund);
        }
    }
    const auto [low, high] =
        std::minmax_element(course.begin(), course.end(), [](const auto& a, const auto& b) { return a.fund < b.fund; });
    EXPECT_EQ(low->fund, lowest);
    EXPECT_EQ(high->fund, highest);
    EXPECT_EQ(course.front().fund, engine::StartingFund);
    EXPECT_EQ(course.back().fund, last.fund);
    EXPECT_EQ(course.back().round, 5071);
    EXPECT_TRUE(
        std::is_sorted(course.begin(), course.end(), [](const auto& a, const auto& b) { return a.round < b.round; }));
    EXPECT_EQ(std::count_if(course.begin(), course.end(), [](const auto& p) { return p.mark == Kind::Reward; }), 1);

    // Kept totals that are not a whole state are counted again from the rows, not believed.
    scores::history::Tallier tallier;
    EXPECT_FALSE(tallier.Restore("WTL1 and then some"));
    const std::string saved = reopened.Totals().Saved();
    EXPECT_FALSE(tallier.Restore(saved.substr(0, saved.size() - 1)));
    EXPECT_TRUE(tallier.Restore(saved));
    EXPECT_EQ(tallier.Saved(), saved);
    Sql(path_, "UPDATE tally SET state = x'57544c31ffffffffffffffff'");
    History recounted(path_);
    recounted.Open({.Wins = last.wins, .Losses = last.losses, .Fund = last.fund, .Stake = 0, .BettingOpen = true});
    EXPECT_EQ(recounted.Totals().tallies().all.rounds, 5071);
    EXPECT_EQ(recounted.Totals().Saved(), saved);

    // Rows deleted by hand below the kept totals: the rows that stand are counted again.
    Sql(path_, "DELETE FROM record WHERE id > 50");
    const auto left = scores::history::TallyUp(scores::history::ReadHistory(path_));
    History shortened(path_);
    shortened.Open({.Wins = last.wins, .Losses = last.losses, .Fund = last.fund, .Stake = 0, .BettingOpen = true});
    EXPECT_EQ(shortened.Totals().tallies().all.rounds, left.all.rounds);
    EXPECT_LT(left.all.rounds, 51);
}

TEST(Tally, ThisGamesRunsAndCountsBeginAfreshAtALoanOrTheReward)
{
    const auto round = [](Result result, std::int32_t fund, std::uint8_t dealtClass = 0, std::uint8_t playerClass = 1) {
        const std::int32_t moved = result == Result::Won ? 10 : result == Result::Lost ? -10 : 0;
        Entry e{.kind = Kind::Round,
                .dealtClass = dealtClass,
                .playerClass = playerClass,
                .result = result,
                .moved = result == Result::Won && playerClass == 9 ? 40 : moved,
                .fund = fund};
        e.dealt = {engine::Card{2, 0}, {3, 1}, {4, 2}, {6, 3}, {8, 0}};
        e.player =
            playerClass == 9 ? engine::HandCards{engine::Card{9, 2}, {10, 2}, {11, 2}, {12, 2}, {13, 2}} : e.dealt;
        return e;
    };
    const std::vector<Entry> rows{round(Result::Won, 3010),
                                  round(Result::Lost, 3000),
                                  round(Result::Lost, 2990),
                                  round(Result::Tied, 2990),
                                  round(Result::Lost, 2980),
                                  round(Result::Lost, 2970),
                                  {.kind = Kind::Loan, .fund = 3000},
                                  round(Result::Lost, 2990),
                                  {.kind = Kind::NewGame, .fund = 3000},
                                  round(Result::Won, 3000, 3, 9),
                                  round(Result::Won, 3010),
                                  round(Result::Tied, 3010),
                                  round(Result::Won, 3020),
                                  {.kind = Kind::Reward, .fund = 6000},
                                  round(Result::Won, 6010, 2, 2)};
    const auto t = scores::history::TallyUp(rows);
    EXPECT_EQ(std::make_tuple(t.all.rounds, t.all.won, t.all.lost, t.all.tied), std::make_tuple(12, 5, 5, 2));
    EXPECT_EQ(std::make_tuple(t.all.longestWinningRun, t.all.longestLosingRun), std::make_tuple(2, 3))
        << "a tie ends a run either way; a loan does not end all time's";
    EXPECT_EQ(std::make_tuple(t.all.biggestWin, t.all.biggestLoss, t.all.loans, t.all.rewards),
              std::make_tuple(40, 10, 1, 1));
    EXPECT_EQ(t.all.bestClass, 9);
    EXPECT_EQ(scores::history::CardsText(t.all.bestHand), "Th Jh Qh Kh Ah") << "the hand as it ended";
    EXPECT_EQ(t.all.dealt, (std::array<std::int64_t, 10>{10, 0, 1, 1, 0, 0, 0, 0, 0, 0})) << "by the dealt class";
    EXPECT_EQ(t.all.final, (std::array<std::int64_t, 10>{0, 10, 1, 0, 0, 0, 0, 0, 0, 1})) << "by the class at the end";
    EXPECT_EQ(std::make_tuple(t.game.rounds, t.game.won, t.game.longestWinningRun, t.game.loans, t.game.rewards),
              std::make_tuple(1, 1, 1, 0, 1))
        << "this game begins at the reward";
    // The course: the fund before the first round, each round's, and the marks where they fell.
    std::vector<std::tuple<std::int64_t, std::int32_t, Kind>> course;
    for (const auto& p : t.all.fund)
        course.emplace_back(p.round, p.fund, p.mark);
    EXPECT_EQ(course.front(), std::make_tuple(0, 3000, Kind::Round)) << "the fund before the first round";
    EXPECT_EQ(course.size(), 15U);
    EXPECT_EQ(course[7], std::make_tuple(6, 3000, Kind::Loan));
    EXPECT_EQ(course[13], std::make_tuple(11, 6000, Kind::Reward));
    ASSERT_EQ(t.game.fund.size(), 2U);
    EXPECT_EQ(t.game.fund[0].mark, Kind::Reward);

    // However long, a thinned course keeps each span's last point, neither its lowest nor its
    // highest (every fourth round here), and ends at the last round.
    std::vector<Entry> many;
    for (int i = 1; i <= 5000; ++i)
        many.push_back(round(Result::Won, i % 4 == 3 ? 3050 : i % 4 == 1 ? 3100 : 3000));
    const auto thinned = scores::history::TallyUp(many).all;
    EXPECT_LE(thinned.fund.size(), scores::history::CoursePoints);
    ASSERT_GE(thinned.courseSpan, 4);
    for (std::int64_t end = thinned.courseSpan - 1; end < 5000; end += thinned.courseSpan)
        EXPECT_TRUE(std::any_of(thinned.fund.begin(), thinned.fund.end(), [end](const auto& p) {
            return p.round == end && p.fund == 3050;
        })) << end;
    EXPECT_EQ(std::make_pair(thinned.fund.back().round, thinned.fund.back().fund),
              std::make_pair(std::int64_t{5000}, 3000));

    // Kept and read back at every row, the totals go on as if never kept: runs, course and all.
    scores::history::Tallier whole;
    for (const Entry& e : rows)
        whole.Add(e);
    for (std::size_t cut = 1; cut < rows.size(); ++cut) {
        SCOPED_TRACE(cut);
        scores::history::Tallier kept;
        for (std::size_t i = 0; i < cut; ++i)
            kept.Add(rows[i]);
        scores::history::Tallier restored;
        ASSERT_TRUE(restored.Restore(kept.Saved()));
        for (std::size_t i = cut; i < rows.size(); ++i)
            restored.Add(rows[i]);
        EXPECT_EQ(restored.Saved(), whole.Saved());
    }
}

// Every kind of row as --history prints it, under a header of as many columns, in UTC whatever
// the player's time zone: a time marked "Z" is never the local one.
TEST(WriteCsv, EveryRowHasEveryColumnInUtcWhateverTheTimeZone)
{
    const char* zone = std::getenv("TZ");
    const std::string before = zone ? zone : "";
    setenv("TZ", "Europe/Warsaw", 1);
    tzset();
    Entry judged{.time = 1765198980123, // 2025-12-08 14:03:00.123 in Warsaw
                 .kind = Kind::Round,
                 .stake = 50,
                 .dealt = {engine::Card{12, 2}, {12, 3}, {5, 0}, {9, 1}, {13, 0}},
                 .player = {engine::Card{12, 2}, {12, 3}, {12, 0}, {2, 1}, {7, 0}},
                 .computer = {engine::Card{1, 0}, {1, 1}, {3, 2}, {3, 3}, {10, 0}},
                 .dealtClass = 1,
                 .playerClass = 3,
                 .computerClass = 2,
                 .result = Result::Won,
                 .moved = 50,
                 .fund = 3050,
                 .wins = 1,
                 .losses = 0};
    scores::history::SetVerdict(judged, 0b00011, 0b10011, -0.2512, 0.0302);
    Entry lost = judged;
    lost.time = 1751371200000; // 2025-07-01 14:00 in Warsaw, summer time
    lost.result = Result::Lost;
    lost.moved = -50;
    lost.fund = 3000;
    lost.losses = 1;
    lost.kept = lost.best = scores::history::NoChoice;
    const std::vector<Entry> rows{
        judged,
        lost,
        {.time = 1751371200001, .kind = Kind::Loan, .fund = 3000, .wins = 0, .losses = 0},
        {.time = 1751371200002, .kind = Kind::Reward, .fund = 6010, .wins = 7, .losses = 2},
        {.time = 1751371200003, .kind = Kind::NewGame, .fund = 3000, .wins = 0, .losses = 0},
        {.time = 1751371200004, .kind = Kind::Carried, .fund = 500, .wins = 2, .losses = 1},
    };
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    scores::history::WriteCsv(out, rows);
    std::fclose(out);
    const std::string csv(text, size);
    std::free(text);
    setenv("TZ", before.c_str(), 1);
    if (!zone)
        unsetenv("TZ");
    tzset();
    EXPECT_EQ(csv,
              "time,event,stake,dealt_cards,dealt_class,player_cards,player_class,computer_cards,computer_class,"
              "result,moved,fund,wins,losses,kept,best,kept_expected,best_expected\n"
              "2025-12-08T13:03:00.123Z,round,50,Kh Ks 6c Td Ac,one pair,Kh Ks Kc 3d 8c,three of a kind,"
              "2c 2d 4h 4s Jc,two pairs,won,50,3050,1,0,Kh Ks,Kh Ks Ac,-12.56,1.51\n"
              "2025-07-01T12:00:00.000Z,round,50,Kh Ks 6c Td Ac,one pair,Kh Ks Kc 3d 8c,three of a kind,"
              "2c 2d 4h 4s Jc,two pairs,lost,-50,3000,1,1,,,,\n"
              "2025-07-01T12:00:00.001Z,loan,,,,,,,,,,3000,0,0,,,,\n"
              "2025-07-01T12:00:00.002Z,reward,,,,,,,,,,6010,7,2,,,,\n"
              "2025-07-01T12:00:00.003Z,new game,,,,,,,,,,3000,0,0,,,,\n"
              "2025-07-01T12:00:00.004Z,carried over,,,,,,,,,,500,2,1,,,,\n");
}

TEST_F(HistoryFile, DamageIsToldAndNeverReadAsTheRecordsEnd)
{
    {
        History history(path_);
        history.Open({});
        Play(history, 400, 3);
    }
    Sql(path_, "PRAGMA wal_checkpoint(TRUNCATE)");
    const std::string whole = Bytes(path_);
    ReadEnd end = ReadEnd::Failed;
    const std::vector<std::string> all = CsvLines(path_, end);
    ASSERT_EQ(end, ReadEnd::Whole);
    std::mt19937 random(11);
    int told = 0;
    for (int copy = 0; copy < 60; ++copy) {
        std::string damaged = whole;
        const std::size_t page = 4096 * (random() % (whole.size() / 4096));
        if (copy % 3 == 0) {
            damaged.resize(page + random() % 4096); // cut short
        } else {
            for (int flip = 0; flip < 1 + copy % 5; ++flip) { // a few bytes of one page
                damaged[page + random() % 4096] ^= static_cast<char>(1 << (random() % 8));
            }
        }
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << damaged;
        const std::vector<std::string> read = CsvLines(path_, end);
        SCOPED_TRACE("copy " + std::to_string(copy));
        if (end == ReadEnd::Whole) {
            EXPECT_EQ(read.size(), all.size()) << "a whole reading is every row";
        } else {
            ++told;
        }
    }
    EXPECT_GT(told, 20);

    // Damage the opening meets (no kept totals: every row is counted) is kept aside at once.
    {
        const std::string uncounted = (dir_ / "uncounted.history").string();
        std::ofstream(uncounted, std::ios::binary) << whole;
        Sql(uncounted, "DELETE FROM tally; PRAGMA wal_checkpoint(TRUNCATE)");
        std::string bytes = Bytes(uncounted);
        for (std::size_t at = bytes.size() - 4096 * 3; at < bytes.size() - 4096 * 3 + 64; ++at) {
            bytes[at] = '\x55';
        }
        std::ofstream(uncounted, std::ios::binary | std::ios::trunc) << bytes;
        History history(uncounted);
        EXPECT_EQ(history.Open({}), History::Opened::Renewed);
        EXPECT_TRUE(fs::exists(history.SetAside()));
    }

    // In the game, damage the opening does not meet is found by the check beside it, and the
    // next row goes into a new record, the damaged one kept.
    std::string damaged = whole;
    for (std::size_t at = 4096 * 3; at < 4096 * 3 + 64; ++at) {
        damaged[at] = '\x55';
    }
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << damaged;
    History history(path_);
    ASSERT_NE(history.Open({}), History::Opened::Failed);
    for (int wait = 0; wait < 500 && !history.Checked(); ++wait) {
        usleep(10000);
    }
    ASSERT_TRUE(history.Checked());
    EXPECT_EQ(history.Append({.time = 1, .kind = Kind::Loan, .fund = 3000}), History::Appended::Renewed);
    ASSERT_EQ(Aside().size(), 1U);
    EXPECT_EQ(Bytes(Aside()[0]), damaged);
    EXPECT_EQ(scores::history::ReadHistory(path_).back().kind, Kind::Loan);
}

TEST_F(HistoryFile, ARecordDeletedOrReplacedDuringPlayIsStartedAgainAtItsName)
{
    History history(path_);
    ASSERT_EQ(history.Open({}), History::Opened::Started);
    ASSERT_EQ(
        history.Append({.time = 1, .kind = Kind::Round, .result = Result::Won, .moved = 10, .fund = 3010, .wins = 1}),
        History::Appended::Recorded);
    for (const char* how : {"deleted", "replaced"}) {
        SCOPED_TRACE(how);
        for (const char* suffix : {"", "-wal", "-shm"}) {
            fs::remove(path_ + suffix);
        }
        if (std::string_view(how) == "replaced") {
            std::ofstream(path_) << "";
        }
        EXPECT_EQ(history.Append({.time = 2,
                                  .kind = Kind::Round,
                                  .result = Result::Lost,
                                  .moved = -10,
                                  .fund = 3000,
                                  .wins = 1,
                                  .losses = 1}),
                  History::Appended::Restarted);
        const auto rows = scores::history::ReadHistory(path_);
        ASSERT_EQ(rows.size(), 2U);
        EXPECT_EQ(rows[0].kind, Kind::Carried);
        EXPECT_EQ(std::make_tuple(rows[0].fund, rows[0].wins, rows[0].losses), std::make_tuple(3010, 1, 0));
        EXPECT_EQ(rows[1].result, Result::Lost);
        EXPECT_EQ(history.Append({.time = 3, .kind = Kind::Loan, .fund = 3000}), History::Appended::Recorded);
        EXPECT_EQ(scores::history::ReadHistory(path_).size(), 3U);
    }
    // A pipe, a folder, a link at its name: told, never read, never waited on.
    for (const char* what : {"pipe", "folder", "link"}) {
        SCOPED_TRACE(what);
        fs::remove_all(path_);
        if (std::string_view(what) == "pipe") {
            ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
        } else if (std::string_view(what) == "folder") {
            fs::create_directory(path_);
        } else {
            fs::create_symlink(dir_ / "elsewhere", path_);
        }
        ReadEnd end = ReadEnd::Whole;
        EXPECT_TRUE(CsvLines(path_, end).empty());
        EXPECT_EQ(end, ReadEnd::Refused);
        EXPECT_EQ(History(path_).Open({}), History::Opened::Refused);
        EXPECT_FALSE(fs::exists(dir_ / "elsewhere"));
    }
}

// Root stands for the player and "nobody" for another user who watches a shared folder.
TEST_F(HistoryFile, AnotherUserRacingInASharedFolderNeverHoldsAFileOfTheRecord)
{
    const passwd* nobody = getpwnam("nobody");
    if (getuid() != 0 || !nobody) {
        GTEST_SKIP() << "needs root to stand for a second user";
    }
    const fs::path shared = dir_ / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string record = (shared / "wirtola.history").string();

    // The game keeps no record in a folder others may write: the player's own folder takes it.
    const std::string data = (dir_ / "data").string();
    fs::create_directory(data);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    scores::SetStatisticsFilePath((shared / "wirtola.ini").string());
    const scores::history::RecordPlace place = scores::history::CurrentRecordPlace(true);
    scores::SetStatisticsFilePath("");
    EXPECT_TRUE(place.movedFromShared);
    EXPECT_EQ(place.path, data + "/wirtola/wirtola.history");
    EXPECT_EQ(fs::status(data + "/wirtola").permissions() & fs::perms::all, fs::perms::owner_all);

    // Whatever the folder, SQLite never takes a file of the record that another user owns.
    {
        const std::string own = (dir_ / "own.history").string();
        History(own).Open({});
        for (const char* suffix : {"-wal", "-shm"}) {
            fs::remove(own + suffix);
            std::ofstream(own + suffix) << "";
            ASSERT_EQ(chown((own + suffix).c_str(), nobody->pw_uid, nobody->pw_gid), 0);
            History history(own);
            EXPECT_NE(history.Open({}), History::Opened::Existing) << suffix;
            EXPECT_EQ(history.Append({.time = 1, .kind = Kind::Loan, .fund = 3000}), History::Appended::Failed);
            EXPECT_EQ(fs::file_size(own + suffix), 0U) << suffix;
            fs::remove(own + suffix);
        }
    }

    // And should one be opened there all the same, the files the other user plants at any moment
    // are never taken: the record fails, and nothing of it reaches theirs.
    for (int trial = 0; trial < 12; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        for (const auto& entry : fs::directory_iterator(shared)) {
            fs::remove(entry.path());
        }
        const pid_t racer = fork();
        ASSERT_GE(racer, 0);
        if (racer == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
                _exit(2);
            }
            usleep(static_cast<useconds_t>(trial * 300));
            for (int i = 0; i < 20000; ++i) {
                for (const char* suffix : {"-wal", "-shm", "-journal"}) {
                    const int fd = open((record + suffix).c_str(), O_CREAT | O_EXCL | O_WRONLY, 0666);
                    if (fd >= 0) {
                        close(fd);
                    }
                }
            }
            _exit(0);
        }
        {
            History history(record);
            if (history.Open({}) != History::Opened::Refused) {
                for (int row = 0; row < 5; ++row) {
                    history.Append({.time = row, .kind = Kind::Loan, .fund = 3000});
                }
            }
        }
        int status = 0;
        waitpid(racer, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        for (const auto& entry : fs::directory_iterator(shared)) {
            struct stat st {};
            ASSERT_EQ(lstat(entry.path().c_str(), &st), 0);
            if (st.st_uid != getuid()) {
                EXPECT_EQ(st.st_size, 0) << entry.path() << " holds what the game wrote";
            } else {
                EXPECT_EQ(st.st_mode & 077, 0U) << entry.path() << " is readable by others";
            }
        }
    }
}

// The per-user folder deleted during play (a cleaning, a second login): the next save makes it
// again, the lock is taken there again, and a second game is refused as before.
TEST_F(HistoryFile, AStatisticsFolderDeletedDuringPlayIsMadeAgainWithItsLock)
{
    const std::string data = (dir_ / "data").string();
    fs::create_directory(data);
    const std::string statistics = data + "/wirtola/wirtola.ini";
    scores::SetStatisticsPlace({.path = statistics, .perUser = true, .base = data, .avoidedSharedFolder = false});
    ASSERT_EQ(scores::PrepareStatisticsFolder(), scores::profile::WriteFailure::None);
    scores::StatisticsLock lock(statistics, true);
    ASSERT_EQ(lock.state(), scores::StatisticsLock::State::Held);
    scores::SetStatisticsLock(&lock);
    engine::SessionValues values;
    values.Wins = 1;
    scores::save_inifile(values);
    fs::remove_all(data + "/wirtola");

    values.Wins = 2;
    EXPECT_NO_THROW(scores::save_inifile(values));
    engine::SessionValues read;
    scores::read_inifile(read);
    EXPECT_EQ(read.Wins, 2);
    EXPECT_EQ(scores::StatisticsLock(statistics, true).state(), scores::StatisticsLock::State::InUse);
    scores::SetStatisticsLock(nullptr);
    scores::SetStatisticsFilePath("");
}

} // namespace
