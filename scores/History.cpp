#include "scores/History.h"

#include "scores/StoredFile.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace session::history {

namespace {

constexpr std::string_view Ranks = "23456789TJQKA";
constexpr std::string_view Suits = "cdhs";
// "Wirt" in the file's header, so a file of ours is told from any other database.
constexpr int ApplicationId = 0x57697274;
constexpr int SchemaVersion = 1;

constexpr const char* Schema = "CREATE TABLE IF NOT EXISTS record("
                               " id INTEGER PRIMARY KEY, time INTEGER NOT NULL, kind INTEGER NOT NULL,"
                               " stake INTEGER, dealt TEXT, dealt_class INTEGER, cards TEXT, class INTEGER,"
                               " computer TEXT, computer_class INTEGER, result INTEGER, moved INTEGER,"
                               " fund INTEGER NOT NULL, wins INTEGER NOT NULL, losses INTEGER NOT NULL)";
constexpr const char* Columns = "time, kind, stake, dealt, dealt_class, cards, class, computer, computer_class,"
                                " result, moved, fund, wins, losses";

constexpr std::array<const char*, 10> ClassWords{"high card",      "one pair",   "two pairs",  "three of a kind",
                                                 "straight",       "flush",      "full house", "four of a kind",
                                                 "straight flush", "royal flush"};
constexpr std::array<const char*, 5> KindWords{"round", "loan", "reward", "new game", "carried over"};

// One prepared statement, finalised on every way out.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
            stmt_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

int Execute(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// The first column of the first row as text, or the statement's error code as text.
std::string Scalar(sqlite3* db, const char* sql, int& code)
{
    Statement statement(db, sql);
    if (!statement) {
        code = sqlite3_errcode(db);
        return {};
    }
    code = sqlite3_step(statement.get());
    if (code != SQLITE_ROW) {
        return {};
    }
    code = SQLITE_OK;
    const auto* text = sqlite3_column_text(statement.get(), 0);
    return text ? reinterpret_cast<const char*>(text) : "";
}

bool IsDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// In a folder others may write, every file of the record must be ours and no link: the same
// rule as for the statistics file and its lock.
bool ForeignFilesAt(const std::string& path)
{
    struct stat folder {};
    if (stat(profile::FolderOf(path).c_str(), &folder) != 0) {
        return false;
    }
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        struct stat st {};
        const std::string name = path + suffix;
        if (lstat(name.c_str(), &st) != 0) {
            continue;
        }
        if (S_ISLNK(st.st_mode) && *suffix == '\0') {
            return true; // SQLite's own refusal of a linked name would come later and less clearly
        }
        if (profile::OthersMayWrite(folder) && (S_ISLNK(st.st_mode) || st.st_uid != geteuid())) {
            return true;
        }
    }
    return false;
}

// The columns the statistics window reads: a third of them, for a record read whole.
constexpr const char* TallyColumns = "kind, dealt_class, cards, class, result, moved, fund";

Entry Row(sqlite3_stmt* s, bool all)
{
    const auto text = [s](int column) {
        const auto* t = sqlite3_column_text(s, column);
        return t ? std::string_view(reinterpret_cast<const char*>(t)) : std::string_view();
    };
    const auto number = [s](int column) { return static_cast<std::int32_t>(sqlite3_column_int(s, column)); };
    Entry e;
    if (!all) {
        e.kind = static_cast<Kind>(number(0));
        e.dealtClass = static_cast<std::uint8_t>(number(1));
        e.player = CardsFromText(text(2));
        e.playerClass = static_cast<std::uint8_t>(number(3));
        e.result = static_cast<Result>(number(4));
        e.moved = number(5);
        e.fund = number(6);
        return e;
    }
    e.time = sqlite3_column_int64(s, 0);
    e.kind = static_cast<Kind>(number(1));
    e.stake = number(2);
    e.dealt = CardsFromText(text(3));
    e.dealtClass = static_cast<std::uint8_t>(number(4));
    e.player = CardsFromText(text(5));
    e.playerClass = static_cast<std::uint8_t>(number(6));
    e.computer = CardsFromText(text(7));
    e.computerClass = static_cast<std::uint8_t>(number(8));
    e.result = static_cast<Result>(number(9));
    e.moved = number(10);
    e.fund = number(11);
    e.wins = number(12);
    e.losses = number(13);
    return e;
}

std::vector<Entry> Rows(sqlite3* db, const std::string& sql, bool all = true)
{
    std::vector<Entry> entries;
    Statement statement(db, sql.c_str());
    if (!statement) {
        return entries;
    }
    int code = SQLITE_OK;
    entries.reserve(std::stoul("0" + Scalar(db, "SELECT max(id) FROM record", code)));
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        entries.push_back(Row(statement.get(), all));
    }
    return entries;
}

std::string TimeText(std::int64_t milliseconds)
{
    const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    std::array<char, 40> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text.data() + n, text.size() - n, ".%03dZ", static_cast<int>(milliseconds % 1000));
    return text.data();
}

} // namespace

Result ResultOf(engine::Outcome outcome)
{
    switch (outcome) {
    case engine::Outcome::PlayerByCategory:
    case engine::Outcome::PlayerByValue:
        return Result::Won;
    case engine::Outcome::ComputerByCategory:
    case engine::Outcome::ComputerByValue:
        return Result::Lost;
    case engine::Outcome::Tie:
        break;
    }
    return Result::Tied;
}

std::int64_t NowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string HistoryPathFor(const std::string& statisticsPath)
{
    const std::size_t nameStart = statisticsPath.rfind('/') + 1; // npos + 1 == 0
    const std::size_t dot = statisticsPath.rfind('.');
    const std::string stem =
        dot == std::string::npos || dot < nameStart ? statisticsPath : statisticsPath.substr(0, dot);
    return stem + ".history";
}

std::string CardsText(const engine::HandCards& cards)
{
    std::string text;
    for (const engine::Card& c : cards) {
        if (c.rank < 1 || c.rank > 13 || c.suit < 0 || c.suit > 3) {
            return {};
        }
        if (!text.empty()) {
            text += ' ';
        }
        text += Ranks[static_cast<std::size_t>(c.rank - 1)];
        text += Suits[static_cast<std::size_t>(c.suit)];
    }
    return text;
}

engine::HandCards CardsFromText(std::string_view text)
{
    engine::HandCards cards{};
    if (text.size() != 14) {
        return cards;
    }
    for (std::size_t slot = 0; slot < cards.size(); ++slot) {
        const std::size_t rank = Ranks.find(text[slot * 3]);
        const std::size_t suit = Suits.find(text[slot * 3 + 1]);
        if (rank == std::string_view::npos || suit == std::string_view::npos) {
            return {};
        }
        cards[slot] = {static_cast<std::int32_t>(rank + 1), static_cast<std::int32_t>(suit)};
    }
    return cards;
}

History::History(std::string path)
    : path_(std::move(path))
{
    // No count of SQLite's memory, which takes a lock at every allocation; set before its first use.
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)configured;
}

History::~History()
{
    Close();
}

void History::Close()
{
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool History::OpenFile(bool mayCreate)
{
    if (mayCreate) {
        // Made here, private, so that SQLite (which gives its log files the database's mode)
        // never makes it readable to others whatever the umask.
        const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fchmod(fd, 0600);
            close(fd);
        }
    }
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    sqlite3_busy_timeout(db_, 2000);
    // Read through a memory map: the window reads the whole record at once.
    Execute(db_, "PRAGMA mmap_size=268435456");
    return true;
}

History::Opened History::Open(const engine::SessionValues& totals)
{
    if (db_) {
        return Opened::Existing;
    }
    if (ForeignFilesAt(path_)) {
        return Opened::Refused;
    }
    bool renewed = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!OpenFile(true)) {
            return Opened::Failed;
        }
        int code = SQLITE_OK;
        // The header and the schema read, and the file is ours. A whole-file check would cost the
        // window's first opening tens of milliseconds at 100,000 rounds; damage deeper in the
        // file shows as a failed row and is told on the status bar.
        const std::string tables = Scalar(db_, "SELECT count(*) FROM sqlite_schema", code);
        const std::string id = code == SQLITE_OK ? Scalar(db_, "PRAGMA application_id", code) : "";
        const bool ours = code == SQLITE_OK && (id == std::to_string(ApplicationId) || (id == "0" && tables == "0"));
        if (!ours && (IsDamage(code) || code == SQLITE_OK)) {
            // Kept aside under a name of its own, with its log, so nothing of it is lost.
            Close();
            setAside_ = path_ + ".damaged-" + std::to_string(NowMilliseconds());
            if (rename(path_.c_str(), setAside_.c_str()) != 0) {
                return Opened::Failed;
            }
            rename((path_ + "-wal").c_str(), (setAside_ + "-wal").c_str());
            unlink((path_ + "-shm").c_str());
            renewed = true;
            continue;
        }
        if (code != SQLITE_OK) {
            Close();
            return Opened::Failed;
        }
        break;
    }
    if (!db_) {
        return Opened::Failed;
    }
    int code = SQLITE_OK;
    // Write-ahead log with a flush at every commit: a kill or a power cut keeps every
    // committed round, and a reader (--history) never waits for the game.
    if (Scalar(db_, "PRAGMA journal_mode=WAL", code) != "wal" || Execute(db_, "PRAGMA synchronous=FULL") != SQLITE_OK) {
        Close();
        return Opened::Failed;
    }
    const bool fresh = Scalar(db_, "PRAGMA user_version", code) == "0";
    // The table and the marks that make the file ours in one commit: a game killed while
    // making the record leaves an empty file, never a table that is not marked as ours.
    const std::string make = std::string("BEGIN; ") + Schema + "; PRAGMA application_id="
        + std::to_string(ApplicationId) + "; PRAGMA user_version=" + std::to_string(SchemaVersion) + "; COMMIT";
    if (fresh && Execute(db_, make.c_str()) != SQLITE_OK) {
        Execute(db_, "ROLLBACK");
        Close();
        return Opened::Failed;
    }
    // The totals the statistics file holds, where the record does not end with them: an older
    // game's, or a round whose save was the last thing a killed game did.
    Entry last;
    const bool agrees = Last(last)
        ? std::tie(last.wins, last.losses, last.fund) == std::tie(totals.Wins, totals.Losses, totals.Fund)
        : totals.Wins == 0 && totals.Losses == 0 && totals.Fund == engine::StartingFund;
    if (!agrees) {
        Append({.time = NowMilliseconds(),
                .kind = Kind::Carried,
                .fund = totals.Fund,
                .wins = totals.Wins,
                .losses = totals.Losses});
    }
    return renewed ? Opened::Renewed : fresh ? Opened::Started : Opened::Existing;
}

bool History::Append(const Entry& e)
{
    if (!db_) {
        return false;
    }
    const std::string sql = std::string("INSERT INTO record(") + Columns + ") VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    Statement statement(db_, sql.c_str());
    if (!statement) {
        return false;
    }
    sqlite3_stmt* s = statement.get();
    const bool round = e.kind == Kind::Round;
    const auto cards = [&](int column, const engine::HandCards& hand, std::uint8_t category) {
        if (round) {
            const std::string text = CardsText(hand);
            sqlite3_bind_text(s, column, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(s, column + 1, category);
        }
    };
    sqlite3_bind_int64(s, 1, e.time);
    sqlite3_bind_int(s, 2, static_cast<int>(e.kind));
    if (round) {
        sqlite3_bind_int(s, 3, e.stake);
        sqlite3_bind_int(s, 10, static_cast<int>(e.result));
        sqlite3_bind_int(s, 11, e.moved);
    }
    cards(4, e.dealt, e.dealtClass);
    cards(6, e.player, e.playerClass);
    cards(8, e.computer, e.computerClass);
    sqlite3_bind_int(s, 12, e.fund);
    sqlite3_bind_int(s, 13, e.wins);
    sqlite3_bind_int(s, 14, e.losses);
    return sqlite3_step(s) == SQLITE_DONE;
}

bool History::AppendAll(const std::vector<Entry>& entries)
{
    if (!db_ || Execute(db_, "BEGIN") != SQLITE_OK) {
        return false;
    }
    for (const Entry& entry : entries) {
        if (!Append(entry)) {
            Execute(db_, "ROLLBACK");
            return false;
        }
    }
    return Execute(db_, "COMMIT") == SQLITE_OK;
}

std::vector<Entry> History::ReadAll(bool allCards) const
{
    const std::string sql = std::string("SELECT ") + (allCards ? Columns : TallyColumns) + " FROM record ORDER BY id";
    return db_ ? Rows(db_, sql, allCards) : std::vector<Entry>{};
}

bool History::Last(Entry& entry) const
{
    if (!db_) {
        return false;
    }
    const std::vector<Entry> last =
        Rows(db_, std::string("SELECT ") + Columns + " FROM record ORDER BY id DESC LIMIT 1");
    if (last.empty()) {
        return false;
    }
    entry = last.front();
    return true;
}

std::vector<Entry> ReadHistory(const std::string& path)
{
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
    std::vector<Entry> entries;
    if (!ForeignFilesAt(path) && sqlite3_open_v2(path.c_str(), &db, flags, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        entries = Rows(db, std::string("SELECT ") + Columns + " FROM record ORDER BY id");
    }
    sqlite3_close_v2(db);
    return entries;
}

void WriteCsv(std::FILE* out, const std::vector<Entry>& entries)
{
    std::fputs("time,event,stake,dealt,dealt_class,cards,class,computer_cards,computer_class,result,moved,fund,wins,"
               "losses\n",
               out);
    const auto word = [](std::uint8_t category) { return category < ClassWords.size() ? ClassWords[category] : ""; };
    for (const Entry& e : entries) {
        const auto kind = static_cast<std::size_t>(e.kind);
        std::fprintf(out, "%s,%s,", TimeText(e.time).c_str(), kind < KindWords.size() ? KindWords[kind] : "");
        if (e.kind == Kind::Round) {
            const char* result = e.result == Result::Won ? "won" : e.result == Result::Lost ? "lost" : "tied";
            std::fprintf(out, "%d,%s,%s,%s,%s,%s,%s,%s,%d,", e.stake, CardsText(e.dealt).c_str(), word(e.dealtClass),
                         CardsText(e.player).c_str(), word(e.playerClass), CardsText(e.computer).c_str(),
                         word(e.computerClass), result, e.moved);
        } else {
            std::fputs(",,,,,,,,,", out);
        }
        std::fprintf(out, "%d,%d,%d\n", e.fund, e.wins, e.losses);
    }
}

} // namespace session::history
