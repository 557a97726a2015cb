#include "scores/History.h"

#include "scores/Statistics.h"
#include "scores/StoredFile.h"
#include "scores/Tally.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace scores::history {

namespace {

constexpr std::string_view Ranks = "23456789TJQKA";
constexpr std::string_view Suits = "cdhs";
// "Wirt" in the file's header, so a file of ours is told from any other database.
constexpr int ApplicationId = 0x57697274;

// The record's columns, in the order every statement names them. A column added later is one
// row here with the version that brings it (and SchemaVersion raised to it): an older record
// gains it in its upgrade, and a reader of an older record gets NULL for it.
struct Column {
    std::string_view name;
    std::string_view type;
    int since;
};
constexpr std::array<Column, 18> Columns{{
    {"time", "INTEGER NOT NULL", 1},
    {"kind", "INTEGER NOT NULL", 1},
    {"stake", "INTEGER", 1},
    {"dealt", "TEXT", 1},
    {"dealt_class", "INTEGER", 1},
    {"cards", "TEXT", 1},
    {"class", "INTEGER", 1},
    {"computer", "TEXT", 1},
    {"computer_class", "INTEGER", 1},
    {"result", "INTEGER", 1},
    {"moved", "INTEGER", 1},
    {"fund", "INTEGER NOT NULL", 1},
    {"wins", "INTEGER NOT NULL", 1},
    {"losses", "INTEGER NOT NULL", 1},
    // How the player drew: the keep choices as masks of the dealt hand's slots, and the money
    // each was expected to bring at the round's stake, in grosze.
    {"kept", "INTEGER", 3},
    {"best", "INTEGER", 3},
    {"kept_expected", "INTEGER", 3},
    {"best_expected", "INTEGER", 3},
}};
// What each version adds besides its columns; [0] makes version 1.
constexpr std::array<std::string_view, 3> Steps{
    "CREATE TABLE record(id INTEGER PRIMARY KEY)",
    // The running totals as of row `last`, so the window never reads the whole record.
    "CREATE TABLE tally(id INTEGER PRIMARY KEY CHECK (id = 1), last INTEGER NOT NULL, state BLOB NOT NULL)",
    // Columns only; the kept totals of an older version count no draws, so they are counted again.
    "DELETE FROM tally",
};
constexpr int SchemaVersion = static_cast<int>(Steps.size());
// The tables each version holds, and nothing else may stand in the file.
constexpr std::array<std::pair<std::string_view, int>, 2> Tables{{{"record", 1}, {"tally", 2}}};

// The running totals are kept with the record every so many rows; the rows after them are
// counted again when the record is opened.
constexpr std::int64_t SaveTotalsEvery = 32;

constexpr std::array<const char*, 10> ClassWords{"high card",      "one pair",   "two pairs",  "three of a kind",
                                                 "straight",       "flush",      "full house", "four of a kind",
                                                 "straight flush", "royal flush"};
constexpr std::array<const char*, 5> KindWords{"round", "loan", "reward", "new game", "carried over"};

// A writer that another program holds the record for must not freeze a round for long.
constexpr int BusyMilliseconds = 250;

// One prepared statement, finalised on every way out.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) {
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

int Execute(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

// The first column of the first row as a number; `code` is SQLITE_OK or the error.
std::int64_t Scalar(sqlite3* db, const std::string& sql, int& code)
{
    Statement statement(db, sql);
    if (!statement) {
        code = sqlite3_errcode(db);
        return 0;
    }
    code = sqlite3_step(statement.get());
    if (code == SQLITE_DONE) {
        code = SQLITE_OK;
        return 0;
    }
    if (code != SQLITE_ROW) {
        return 0;
    }
    code = SQLITE_OK;
    return sqlite3_column_int64(statement.get(), 0);
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

// Every file SQLite opens goes through here: never a link, never a file another user made, never
// a pipe that would hang the game. Folders (for their flush) and the system's character devices
// (its randomness) are opened as asked.
int OwnFileOpen(const char* path, int flags, int mode)
{
    const int fd = open(path, flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, static_cast<mode_t>(mode));
    if (fd < 0) {
        return fd;
    }
    struct stat st {};
    const bool stated = fstat(fd, &st) == 0;
    if (stated && (S_ISDIR(st.st_mode) || (S_ISCHR(st.st_mode) && st.st_uid == 0))) {
        return fd;
    }
    if (!stated || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        errno = EACCES;
        return -1;
    }
    return fd;
}

// Each connection: no trigger or view runs, nothing in the schema is trusted, and the file's
// structure cannot be written through SQL.
void Harden(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_timeout(db, BusyMilliseconds);
}

std::string ColumnList(int version)
{
    std::string list;
    for (const Column& c : Columns) {
        list += list.empty() ? "" : ", ";
        if (c.since > version) {
            list += "NULL AS ";
        }
        list += c.name;
    }
    return list;
}

std::string Placeholders()
{
    std::string list;
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        list += i == 0 ? "?" : ",?";
    }
    return list;
}

// What the file is, read from its header and schema. Damage shows in `code`.
struct Standing {
    int code = SQLITE_OK;
    int version = 0;
    bool empty = false; // no table at all: a file to make the record in
    bool ours = false;  // our mark, and nothing in it we did not make
};

Standing Stand(sqlite3* db)
{
    Standing s;
    const std::int64_t id = Scalar(db, "PRAGMA application_id", s.code);
    if (s.code != SQLITE_OK) {
        return s;
    }
    s.version = static_cast<int>(std::clamp<std::int64_t>(Scalar(db, "PRAGMA user_version", s.code), -1, INT_MAX));
    Statement schema(db, "SELECT type, name FROM sqlite_schema");
    if (!schema) {
        s.code = sqlite3_errcode(db);
        return s;
    }
    int objects = 0;
    bool foreign = false;
    while ((s.code = sqlite3_step(schema.get())) == SQLITE_ROW) {
        ++objects;
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(schema.get(), 0));
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(schema.get(), 1));
        const bool known = type && name && std::string_view(type) == "table"
            && std::any_of(Tables.begin(), Tables.end(),
                           [&](const auto& table) { return table.first == name && table.second <= s.version; });
        foreign = foreign || !known;
    }
    if (s.code != SQLITE_DONE) {
        return s;
    }
    s.code = SQLITE_OK;
    s.empty = objects == 0 && (id == 0 || id == ApplicationId);
    if (id != ApplicationId || foreign || s.version < 1) {
        return s;
    }
    if (s.version > SchemaVersion) {
        s.ours = true; // a newer game's: left alone
        return s;
    }
    // The record's columns, as this version made them, and no others.
    Statement columns(db, "SELECT name FROM pragma_table_info('record')");
    if (!columns) {
        s.code = sqlite3_errcode(db);
        return s;
    }
    std::vector<std::string> names;
    while ((s.code = sqlite3_step(columns.get())) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0));
        names.emplace_back(name ? name : "");
    }
    if (s.code != SQLITE_DONE) {
        return s;
    }
    s.code = SQLITE_OK;
    std::vector<std::string> want{"id"};
    for (const Column& c : Columns) {
        if (c.since <= s.version) {
            want.emplace_back(c.name);
        }
    }
    s.ours = names == want;
    return s;
}

ReadEnd EndOf(const Standing& s)
{
    if (s.code != SQLITE_OK) {
        return IsDamage(s.code) ? ReadEnd::Damaged : ReadEnd::Failed;
    }
    if (!s.ours) {
        return ReadEnd::NotOurs;
    }
    return s.version > SchemaVersion ? ReadEnd::Newer : ReadEnd::Whole;
}

// A number from the file, within the range its field takes.
std::int32_t Clamped(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::uint8_t ClassOf(sqlite3_stmt* s, int column)
{
    const std::int64_t value = sqlite3_column_int64(s, column);
    return sqlite3_column_type(s, column) == SQLITE_INTEGER && value >= 0 && value <= 9
        ? static_cast<std::uint8_t>(value)
        : NoClass;
}

// One row as it stands, whatever a person wrote into it: numbers out of range, texts where
// numbers belong, NULLs, cards that are not cards.
Entry Row(sqlite3_stmt* s)
{
    const auto text = [s](int column) {
        const auto* t = sqlite3_column_text(s, column);
        return t ? std::string_view(reinterpret_cast<const char*>(t),
                                    static_cast<std::size_t>(sqlite3_column_bytes(s, column)))
                 : std::string_view();
    };
    const auto number = [s](int column) { return Clamped(sqlite3_column_int64(s, column)); };
    Entry e;
    e.id = sqlite3_column_int64(s, 0);
    e.time = sqlite3_column_int64(s, 1);
    const std::int64_t kind = sqlite3_column_int64(s, 2);
    e.kind = sqlite3_column_type(s, 2) == SQLITE_INTEGER && kind >= 0 && kind < std::int64_t{KindWords.size()}
        ? static_cast<Kind>(kind)
        : Kind::Unknown;
    e.stake = number(3);
    e.dealt = CardsFromText(text(4));
    e.dealtClass = ClassOf(s, 5);
    e.player = CardsFromText(text(6));
    e.playerClass = ClassOf(s, 7);
    e.computer = CardsFromText(text(8));
    e.computerClass = ClassOf(s, 9);
    const std::int64_t result = sqlite3_column_int64(s, 10);
    e.result = sqlite3_column_type(s, 10) == SQLITE_INTEGER && result >= -1 && result <= 1 ? static_cast<Result>(result)
                                                                                           : Result::Unknown;
    e.moved = number(11);
    e.fund = number(12);
    e.wins = number(13);
    e.losses = number(14);
    const auto choice = [s](int column) {
        const std::int64_t value = sqlite3_column_int64(s, column);
        return sqlite3_column_type(s, column) == SQLITE_INTEGER && value >= 0 && value <= 31
            ? static_cast<std::uint8_t>(value)
            : NoChoice;
    };
    // Money beyond what any stake could expect is no verdict a game wrote.
    constexpr std::int64_t MostExpected = std::int64_t{INT32_MAX} * 100;
    const auto money = [s](int column) {
        const std::int64_t value = sqlite3_column_int64(s, column);
        return sqlite3_column_type(s, column) == SQLITE_INTEGER && value >= -MostExpected && value <= MostExpected;
    };
    if (e.kind == Kind::Round && choice(15) != NoChoice && choice(16) != NoChoice && money(17) && money(18)) {
        e.kept = choice(15);
        e.best = choice(16);
        e.keptExpected = sqlite3_column_int64(s, 17);
        e.bestExpected = sqlite3_column_int64(s, 18);
    }
    return e;
}

// Every row after `after`, oldest first, to `sink`: SQLITE_OK when all were read.
int Rows(sqlite3* db, int version, const std::string& order, const RowSink& sink)
{
    Statement statement(db, "SELECT id, " + ColumnList(version) + " FROM record " + order);
    if (!statement) {
        return sqlite3_errcode(db);
    }
    int code = SQLITE_OK;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        sink(Row(statement.get()));
    }
    return code == SQLITE_DONE ? SQLITE_OK : code;
}

// The whole calendar date and time of a moment, without the C library's limits or its locale:
// "" for a moment outside the years 0 to 9999.
std::string TimeText(std::int64_t milliseconds)
{
    constexpr std::int64_t DayMs = 86400000;
    constexpr std::int64_t Earliest = -62167219200000; // 0000-01-01
    constexpr std::int64_t Latest = 253402300800000;   // 10000-01-01
    if (milliseconds < Earliest || milliseconds >= Latest) {
        return {};
    }
    const std::int64_t days = milliseconds >= 0 ? milliseconds / DayMs : -((-milliseconds + DayMs - 1) / DayMs);
    const std::int64_t ms = milliseconds - days * DayMs;
    // The civil date of a day count, in eras of 400 years that begin on 1 March.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", static_cast<int>(year),
                  static_cast<int>(month), static_cast<int>(day), static_cast<int>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
    return text.data();
}

class Line {
public:
    void Add(std::string_view text) { line_.append(text); }
    void Add(std::int64_t number)
    {
        std::array<char, 24> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
        line_.append(digits.data(), end);
    }
    void Comma() { line_ += ','; }
    const std::string& text() const { return line_; }

private:
    std::string line_;
};

// The cards a choice keeps, as --hint writes them: "Qh Qs"; empty for a full draw.
std::string KeptText(const engine::HandCards& dealt, std::uint8_t choice)
{
    std::string text;
    for (std::size_t slot = 0; slot < dealt.size(); ++slot) {
        if ((choice >> slot) & 1U) {
            const std::string card = CardsText({dealt[slot], dealt[slot], dealt[slot], dealt[slot], dealt[slot]});
            text += text.empty() ? "" : " ";
            text += card.substr(0, 2);
        }
    }
    return text;
}

// Grosze as złoty with two decimals and a point, whatever the locale: "-12.05".
std::string ZlotyText(std::int64_t grosze)
{
    const std::uint64_t magnitude = grosze < 0 ? 0 - static_cast<std::uint64_t>(grosze) : grosze;
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%s%llu.%02llu", grosze < 0 ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 100), static_cast<unsigned long long>(magnitude % 100));
    return text.data();
}

std::string_view ClassWord(std::uint8_t category)
{
    return category < ClassWords.size() ? ClassWords[category] : "";
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

void SetVerdict(Entry& entry, std::uint8_t kept, std::uint8_t best, double keptPerZloty, double bestPerZloty)
{
    entry.kept = kept;
    entry.best = best;
    entry.keptExpected = std::llround(keptPerZloty * entry.stake * 100.0);
    entry.bestExpected = std::llround(bestPerZloty * entry.stake * 100.0);
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
        if (rank == std::string_view::npos || suit == std::string_view::npos
            || (slot < 4 && text[slot * 3 + 2] != ' ')) {
            return {};
        }
        cards[slot] = {static_cast<std::int32_t>(rank + 1), static_cast<std::int32_t>(suit)};
    }
    return cards;
}

void GuardSqliteFiles()
{
    static const bool guarded = [] {
        // No count of SQLite's memory, which takes a lock at every allocation; set before its first use.
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        sqlite3_vfs* posix = sqlite3_vfs_find("unix");
        return posix && posix->xSetSystemCall
            && posix->xSetSystemCall(posix, "open", reinterpret_cast<sqlite3_syscall_ptr>(&OwnFileOpen)) == SQLITE_OK;
    }();
    (void)guarded;
}

History::History(std::string path)
    : path_(std::move(path))
    , totals_(std::make_unique<Tallier>())
{
    GuardSqliteFiles();
}

History::~History()
{
    Close();
}

// The check of every page, on a thread of its own with a connection of its own, so the game
// never waits for it; stopped at once when the record closes.
struct History::Check {
    enum State { Running, Whole, Damaged, Unchecked };
    std::atomic<int> state{Running};
    std::mutex mutex;
    sqlite3* db = nullptr;
    bool stop = false;
    std::thread thread;
};

void History::StartCheck()
{
    auto check = std::make_shared<Check>();
    check->thread = std::thread([check, path = path_] {
        sqlite3* db = nullptr;
        {
            const std::lock_guard<std::mutex> lock(check->mutex);
            const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
            if (check->stop || sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
                sqlite3_close_v2(db);
                check->state = Check::Unchecked;
                return;
            }
            check->db = db;
        }
        Harden(db);
        int state = Check::Unchecked;
        {
            Statement pages(db, "PRAGMA quick_check(1)");
            const int code = pages ? sqlite3_step(pages.get()) : sqlite3_errcode(db);
            if (code == SQLITE_ROW) {
                const auto* said = reinterpret_cast<const char*>(sqlite3_column_text(pages.get(), 0));
                state = said && std::string_view(said) == "ok" ? Check::Whole : Check::Damaged;
            } else if (IsDamage(code)) {
                state = Check::Damaged;
            }
        }
        {
            const std::lock_guard<std::mutex> lock(check->mutex);
            check->db = nullptr;
        }
        sqlite3_close_v2(db);
        check->state = state;
    });
    check_ = std::move(check);
}

void History::StopCheck()
{
    if (!check_) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(check_->mutex);
        check_->stop = true;
        if (check_->db) {
            sqlite3_interrupt(check_->db);
        }
    }
    check_->thread.join();
    check_.reset();
}

bool History::Checked() const
{
    return !check_ || check_->state != Check::Running;
}

void History::Close()
{
    StopCheck();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool History::OpenFile()
{
    // Made here, private, so that SQLite (which gives its log files the database's mode) never
    // makes it readable to others whatever the umask.
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        fchmod(fd, 0600);
        close(fd);
    }
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    Harden(db_);
    struct stat st {};
    if (lstat(path_.c_str(), &st) != 0) {
        Close();
        return false;
    }
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return true;
}

bool History::NameStillOurs() const
{
    struct stat st {};
    return lstat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_;
}

bool History::SetAsideAndClose()
{
    // Kept under a name of its own, with its log, so nothing of it is lost: as it was, for the
    // log is not written back into a damaged file on the way out.
    if (db_) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    Close();
    setAside_ = path_ + ".damaged-" + std::to_string(NowMilliseconds());
    if (rename(path_.c_str(), setAside_.c_str()) != 0) {
        return false;
    }
    rename((path_ + "-wal").c_str(), (setAside_ + "-wal").c_str());
    unlink((path_ + "-shm").c_str());
    return true;
}

History::Opened History::Open(const engine::SessionValues& totals)
{
    if (db_) {
        return Opened::Existing;
    }
    bool renewed = false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        bool again = false;
        const Opened opened = OpenOnce(totals, again);
        if (!again) {
            return renewed && (opened == Opened::Started || opened == Opened::Existing) ? Opened::Renewed : opened;
        }
        renewed = true;
    }
    return Opened::Failed;
}

History::Opened History::OpenOnce(const engine::SessionValues& totals, bool& again)
{
    struct stat st {};
    if (ForeignFilesAt(path_) || (lstat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode))) {
        return Opened::Refused;
    }
    if (!OpenFile()) {
        return Opened::Failed;
    }
    const auto setAside = [this, &again] {
        again = SetAsideAndClose();
        return Opened::Failed;
    };
    const Standing standing = Stand(db_);
    if (IsDamage(standing.code) || (standing.code == SQLITE_OK && !standing.ours && !standing.empty)) {
        return setAside();
    }
    if (standing.code != SQLITE_OK) {
        Close();
        return Opened::Failed;
    }
    if (standing.version > SchemaVersion) {
        Close();
        return Opened::Newer;
    }
    int code = SQLITE_OK;
    // Write-ahead log with a flush at every commit: a kill or a power cut keeps every
    // committed round, and a reader (--history) never waits for the game.
    const auto wal = [this] {
        Statement mode(db_, "PRAGMA journal_mode=WAL");
        const bool set = mode && sqlite3_step(mode.get()) == SQLITE_ROW
            && std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(mode.get(), 0))) == "wal";
        return set ? Execute(db_, "PRAGMA synchronous=FULL") : sqlite3_errcode(db_);
    };
    code = wal();
    // The tables and the marks that make the file ours in one commit: a game killed while
    // making or upgrading the record leaves it as it was, never half made.
    const int from = standing.empty ? 0 : standing.version;
    if (code == SQLITE_OK && from < SchemaVersion) {
        std::string upgrade = "BEGIN IMMEDIATE;";
        for (int version = from + 1; version <= SchemaVersion; ++version) {
            upgrade += std::string(Steps[static_cast<std::size_t>(version - 1)]) + ";";
            for (const Column& c : Columns) {
                if (c.since == version) {
                    upgrade += "ALTER TABLE record ADD COLUMN " + std::string(c.name) + " " + std::string(c.type) + ";";
                }
            }
        }
        upgrade += "PRAGMA application_id=" + std::to_string(ApplicationId)
            + "; PRAGMA user_version=" + std::to_string(SchemaVersion) + "; COMMIT";
        code = Execute(db_, upgrade);
        if (code != SQLITE_OK) {
            Execute(db_, "ROLLBACK");
        }
    }
    if (code == SQLITE_OK && !LoadTotals(code)) {
        code = code == SQLITE_OK ? SQLITE_ERROR : code;
    }
    if (IsDamage(code)) {
        return setAside();
    }
    if (code != SQLITE_OK) {
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
        InsertRow({.time = NowMilliseconds(),
                   .kind = Kind::Carried,
                   .fund = totals.Fund,
                   .wins = totals.Wins,
                   .losses = totals.Losses});
    }
    StartCheck();
    return from == 0 ? Opened::Started : Opened::Existing;
}

bool History::LoadTotals(int& code)
{
    *totals_ = Tallier{};
    totalsThrough_ = 0;
    const std::int64_t lastRow = Scalar(db_, "SELECT max(id) FROM record", code);
    if (code != SQLITE_OK) {
        return false;
    }
    {
        // The kept totals stand for the rows up to theirs, unless those rows are gone.
        Statement kept(db_, "SELECT last, state FROM tally WHERE id = 1");
        if (!kept) {
            code = sqlite3_errcode(db_);
            return false;
        }
        code = sqlite3_step(kept.get());
        if (code == SQLITE_ROW) {
            const std::int64_t through = sqlite3_column_int64(kept.get(), 0);
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(kept.get(), 1));
            const std::string_view state(bytes ? bytes : "",
                                         static_cast<std::size_t>(sqlite3_column_bytes(kept.get(), 1)));
            if (through > 0 && through <= lastRow && totals_->Restore(state)) {
                totalsThrough_ = through;
            }
        } else if (code != SQLITE_DONE) {
            return false;
        }
    }
    std::int64_t counted = 0;
    code = Rows(db_, SchemaVersion, "WHERE id > " + std::to_string(totalsThrough_) + " ORDER BY id",
                [this, &counted](const Entry& e) {
                    totals_->Add(e);
                    ++counted;
                });
    if (code != SQLITE_OK) {
        return false;
    }
    if (counted >= SaveTotalsEvery && lastRow > 0) {
        Statement save(db_, "INSERT OR REPLACE INTO tally(id, last, state) VALUES(1, ?, ?)");
        const std::string state = totals_->Saved();
        if (save) {
            sqlite3_bind_int64(save.get(), 1, lastRow);
            sqlite3_bind_blob(save.get(), 2, state.data(), static_cast<int>(state.size()), SQLITE_STATIC);
            if (sqlite3_step(save.get()) == SQLITE_DONE) {
                totalsThrough_ = lastRow;
            }
        }
    }
    return true;
}

namespace {

// The row into the record and, every so many rows, the running totals with it, in one commit.
int Insert(sqlite3* db, const Entry& e, const Tallier& after, std::int64_t& totalsThrough, std::int64_t& inserted)
{
    Statement statement(db, "INSERT INTO record(" + ColumnList(SchemaVersion) + ") VALUES(" + Placeholders() + ")");
    if (!statement) {
        return sqlite3_errcode(db);
    }
    sqlite3_stmt* s = statement.get();
    const bool round = e.kind == Kind::Round;
    const auto cards = [&](int column, const engine::HandCards& hand, std::uint8_t category) {
        if (round) {
            const std::string text = CardsText(hand);
            sqlite3_bind_text(s, column, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            if (category != NoClass) {
                sqlite3_bind_int(s, column + 1, category);
            }
        }
    };
    sqlite3_bind_int64(s, 1, e.time);
    sqlite3_bind_int(s, 2, static_cast<int>(e.kind));
    if (round) {
        sqlite3_bind_int(s, 3, e.stake);
        if (e.result != Result::Unknown) {
            sqlite3_bind_int(s, 10, static_cast<int>(e.result));
        }
        sqlite3_bind_int(s, 11, e.moved);
    }
    cards(4, e.dealt, e.dealtClass);
    cards(6, e.player, e.playerClass);
    cards(8, e.computer, e.computerClass);
    sqlite3_bind_int(s, 12, e.fund);
    sqlite3_bind_int(s, 13, e.wins);
    sqlite3_bind_int(s, 14, e.losses);
    if (round && e.Judged()) {
        sqlite3_bind_int(s, 15, e.kept);
        sqlite3_bind_int(s, 16, e.best);
        sqlite3_bind_int64(s, 17, e.keptExpected);
        sqlite3_bind_int64(s, 18, e.bestExpected);
    }
    int code = sqlite3_step(s);
    if (code != SQLITE_DONE) {
        return code;
    }
    // Taken before the totals' row, which is an insert too.
    const std::int64_t row = sqlite3_last_insert_rowid(db);
    inserted = row;
    if (row - totalsThrough >= SaveTotalsEvery) {
        Statement save(db, "INSERT OR REPLACE INTO tally(id, last, state) VALUES(1, ?, ?)");
        if (!save) {
            return sqlite3_errcode(db);
        }
        const std::string state = after.Saved();
        sqlite3_bind_int64(save.get(), 1, row);
        sqlite3_bind_blob(save.get(), 2, state.data(), static_cast<int>(state.size()), SQLITE_STATIC);
        code = sqlite3_step(save.get());
        if (code != SQLITE_DONE) {
            return code;
        }
        totalsThrough = row;
    }
    return SQLITE_OK;
}

// The totals before a row, for a record started again where it stands.
engine::SessionValues TotalsBefore(const Entry& e)
{
    engine::SessionValues totals;
    totals.Fund = e.kind == Kind::Round ? Clamped(std::int64_t{e.fund} - e.moved) : e.fund;
    totals.Wins = e.kind == Kind::Round && e.result == Result::Won ? e.wins - 1 : e.wins;
    totals.Losses = e.kind == Kind::Round && e.result == Result::Lost ? e.losses - 1 : e.losses;
    return totals;
}

} // namespace

int History::InsertRow(const Entry& entry)
{
    Tallier after = *totals_;
    after.Add(entry);
    std::int64_t through = totalsThrough_;
    std::int64_t inserted = 0;
    int code = Execute(db_, "BEGIN IMMEDIATE");
    if (code == SQLITE_OK) {
        code = Insert(db_, entry, after, through, inserted);
    }
    if (code == SQLITE_OK) {
        code = Execute(db_, "COMMIT");
    }
    if (code != SQLITE_OK) {
        Execute(db_, "ROLLBACK");
        return code;
    }
    *totals_ = std::move(after);
    totalsThrough_ = through;
    lastId_ = inserted;
    return SQLITE_OK;
}

History::Appended History::Append(const Entry& entry)
{
    lastId_ = 0;
    if (!db_) {
        return Appended::Failed;
    }
    Appended how = Appended::Recorded;
    const auto reopen = [this, &entry, &how](Appended why) {
        const Opened opened = Open(TotalsBefore(entry));
        how = opened == Opened::Renewed ? Appended::Renewed : why;
        return db_ != nullptr;
    };
    // Damage the check found: kept aside, as damage met at opening is.
    if (check_ && check_->state == Check::Damaged) {
        if (!SetAsideAndClose() || !reopen(Appended::Renewed)) {
            return Appended::Failed;
        }
        how = Appended::Renewed;
    }
    // Deleted or replaced while the game ran: started again at its name.
    else if (!NameStillOurs()) {
        Close();
        if (!reopen(Appended::Restarted)) {
            return Appended::Failed;
        }
    }
    int code = InsertRow(entry);
    if (IsDamage(code)) {
        if (!SetAsideAndClose() || !reopen(Appended::Renewed)) {
            return Appended::Failed;
        }
        how = Appended::Renewed;
        code = InsertRow(entry);
    }
    return code == SQLITE_OK ? how : Appended::Failed;
}

bool History::AddVerdict(const Entry& entry)
{
    if (!db_ || entry.id <= 0 || entry.kind != Kind::Round || !entry.Judged() || !NameStillOurs()) {
        return false;
    }
    Tallier after = *totals_;
    after.AddVerdict(entry);
    int code = Execute(db_, "BEGIN IMMEDIATE");
    std::int64_t lastRow = 0;
    if (code == SQLITE_OK) {
        Statement update(db_,
                         "UPDATE record SET kept = ?, best = ?, kept_expected = ?, best_expected = ? "
                         "WHERE id = ? AND kind = 0 AND best IS NULL");
        code = update ? SQLITE_OK : sqlite3_errcode(db_);
        if (code == SQLITE_OK) {
            sqlite3_bind_int(update.get(), 1, entry.kept);
            sqlite3_bind_int(update.get(), 2, entry.best);
            sqlite3_bind_int64(update.get(), 3, entry.keptExpected);
            sqlite3_bind_int64(update.get(), 4, entry.bestExpected);
            sqlite3_bind_int64(update.get(), 5, entry.id);
            code = sqlite3_step(update.get()) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db_);
        }
        if (code == SQLITE_OK && sqlite3_changes(db_) != 1) {
            code = SQLITE_NOTFOUND; // not this game's row, or judged already: counted once only
        }
        if (code == SQLITE_OK) {
            lastRow = Scalar(db_, "SELECT max(id) FROM record", code);
        }
    }
    // A row after the kept totals is counted again at the next opening, its verdict with it; for
    // a row they already hold, the totals are kept anew in the same commit, so that the verdict
    // is never lost nor counted twice.
    if (code == SQLITE_OK && entry.id <= totalsThrough_) {
        Statement save(db_, "INSERT OR REPLACE INTO tally(id, last, state) VALUES(1, ?, ?)");
        const std::string state = after.Saved();
        code = save ? SQLITE_OK : sqlite3_errcode(db_);
        if (code == SQLITE_OK) {
            sqlite3_bind_int64(save.get(), 1, lastRow);
            sqlite3_bind_blob(save.get(), 2, state.data(), static_cast<int>(state.size()), SQLITE_STATIC);
            code = sqlite3_step(save.get()) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db_);
        }
    }
    if (code == SQLITE_OK) {
        code = Execute(db_, "COMMIT");
    }
    if (code != SQLITE_OK) {
        Execute(db_, "ROLLBACK");
        return false;
    }
    *totals_ = std::move(after);
    if (entry.id <= totalsThrough_) {
        totalsThrough_ = lastRow;
    }
    return true;
}

bool History::AppendAll(const std::vector<Entry>& entries)
{
    if (!db_ || Execute(db_, "BEGIN") != SQLITE_OK) {
        return false;
    }
    Tallier after = *totals_;
    std::int64_t through = totalsThrough_;
    for (const Entry& entry : entries) {
        after.Add(entry);
        std::int64_t inserted = 0;
        if (Insert(db_, entry, after, through, inserted) != SQLITE_OK) {
            Execute(db_, "ROLLBACK");
            return false;
        }
    }
    if (Execute(db_, "COMMIT") != SQLITE_OK) {
        Execute(db_, "ROLLBACK");
        return false;
    }
    *totals_ = std::move(after);
    totalsThrough_ = through;
    return true;
}

const Tallier& History::Totals() const
{
    return *totals_;
}

std::vector<Entry> History::ReadAll() const
{
    std::vector<Entry> entries;
    if (db_) {
        Rows(db_, SchemaVersion, "ORDER BY id", [&entries](const Entry& e) { entries.push_back(e); });
    }
    return entries;
}

bool History::Last(Entry& entry) const
{
    bool found = false;
    if (db_) {
        Rows(db_, SchemaVersion, "ORDER BY id DESC LIMIT 1", [&](const Entry& e) {
            entry = e;
            found = true;
        });
    }
    return found;
}

std::vector<Entry> History::Page(std::int64_t beforeId, int count) const
{
    std::vector<Entry> entries;
    if (!db_ || count <= 0) {
        return entries;
    }
    count = std::min(count, MaxPage);
    entries.reserve(static_cast<std::size_t>(count));
    // The newest row may bear the largest id there is: a bound of "below it" would hide it.
    const std::string bound = beforeId == FromNewest ? "" : "WHERE id < " + std::to_string(beforeId) + " ";
    Rows(db_, SchemaVersion, bound + "ORDER BY id DESC LIMIT " + std::to_string(count),
         [&entries](const Entry& e) { entries.push_back(e); });
    return entries;
}

namespace {

// "2026-12-08T14-03-00": the local time of the moment a record was set aside, as a file name takes it.
std::string DatedSuffix()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    std::array<char, 32> text{};
    if (localtime_r(&now, &local) == nullptr
        || std::strftime(text.data(), text.size(), "%Y-%m-%dT%H-%M-%S", &local) == 0) {
        return std::to_string(NowMilliseconds());
    }
    return text.data();
}

} // namespace

bool History::StartAfresh(const engine::SessionValues& totals, std::string& keptAs)
{
    keptAs.clear();
    struct stat st {};
    const bool present = lstat(path_.c_str(), &st) == 0;
    if (present && (!S_ISREG(st.st_mode) || ForeignFilesAt(path_))) {
        return false; // not ours to move
    }
    // Closed first, so its log is written back into it and nothing is left behind but the file.
    Close();
    if (present) {
        const std::string stem = path_ + "." + DatedSuffix();
        // Never over another kept record: two fresh starts within a second get a number.
        for (int n = 1; n <= 100 && keptAs.empty(); ++n) {
            const std::string name = n == 1 ? stem : stem + "-" + std::to_string(n);
            if (renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
                keptAs = name;
            } else if (errno != EEXIST) {
                break;
            }
        }
        if (keptAs.empty()) {
            return false;
        }
        renameat2(AT_FDCWD, (path_ + "-wal").c_str(), AT_FDCWD, (keptAs + "-wal").c_str(), RENAME_NOREPLACE);
        unlink((path_ + "-shm").c_str());
    }
    const Opened opened = Open(totals);
    return opened == Opened::Started || opened == Opened::Renewed;
}

RecordPlace CurrentRecordPlace(bool make)
{
    const StatisticsPlace& place = CurrentStatisticsPlace();
    const profile::ResolvedPath statistics = profile::ResolveLinks(place.path, place.perUser);
    if (statistics.refusal != profile::WriteFailure::None) {
        return {.path = {}, .movedFromShared = false, .refusal = statistics.refusal};
    }
    struct stat folder {};
    const bool folderKnown = statistics.folder.valid() && fstat(statistics.folder.get(), &folder) == 0;
    if (!folderKnown || !profile::OthersMayWrite(folder)) {
        return {
            .path = HistoryPathFor(statistics.path), .movedFromShared = false, .refusal = profile::WriteFailure::None};
    }
    const StatisticsPlace own = PerUserStatisticsPlace();
    if (own.path.empty() || (make && !MakePrivateFolders(own.base, profile::FolderOf(own.path)))) {
        return {.path = {}, .movedFromShared = true, .refusal = profile::WriteFailure::NoFolder};
    }
    const profile::ResolvedPath mine = profile::ResolveLinks(own.path, true);
    if (mine.refusal != profile::WriteFailure::None) {
        return {.path = {}, .movedFromShared = true, .refusal = mine.refusal};
    }
    return {.path = HistoryPathFor(mine.path), .movedFromShared = true, .refusal = profile::WriteFailure::None};
}

ReadEnd ReadHistory(const std::string& path, const RowSink& sink)
{
    GuardSqliteFiles();
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        return errno == ENOENT ? ReadEnd::Whole : ReadEnd::Failed;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != geteuid() || ForeignFilesAt(path)) {
        return ReadEnd::Refused;
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return ReadEnd::Failed;
    }
    Harden(db);
    // Read in one transaction, so the rows are those of one moment while the game goes on.
    const Standing standing = Stand(db);
    ReadEnd end = EndOf(standing);
    if (end == ReadEnd::Whole && standing.version > 0) {
        int code = Execute(db, "BEGIN");
        if (code == SQLITE_OK) {
            code = Rows(db, standing.version, "ORDER BY id", sink);
        }
        Execute(db, "COMMIT");
        end = code == SQLITE_OK ? ReadEnd::Whole : IsDamage(code) ? ReadEnd::Damaged : ReadEnd::Failed;
    } else if (end == ReadEnd::NotOurs && standing.empty) {
        end = ReadEnd::Whole; // an empty file the game made and was killed before filling
    }
    sqlite3_close_v2(db);
    return end;
}

std::vector<Entry> ReadHistory(const std::string& path)
{
    std::vector<Entry> entries;
    ReadHistory(path, [&entries](const Entry& e) { entries.push_back(e); });
    return entries;
}

void WriteCsvHeader(std::FILE* out)
{
    std::fputs("time,event,stake,dealt_cards,dealt_class,player_cards,player_class,computer_cards,computer_class,"
               "result,moved,fund,wins,losses,kept,best,kept_expected,best_expected\n",
               out);
}

void WriteCsvRow(std::FILE* out, const Entry& e)
{
    Line line;
    line.Add(TimeText(e.time));
    line.Comma();
    const auto kind = static_cast<std::size_t>(e.kind);
    line.Add(kind < KindWords.size() ? KindWords[kind] : "");
    line.Comma();
    if (e.kind == Kind::Round) {
        const char* result = e.result == Result::Won ? "won"
            : e.result == Result::Lost               ? "lost"
            : e.result == Result::Tied               ? "tied"
                                                     : "";
        line.Add(e.stake);
        for (const auto& [cards, category] : {std::pair{&e.dealt, e.dealtClass}, std::pair{&e.player, e.playerClass},
                                              std::pair{&e.computer, e.computerClass}}) {
            line.Comma();
            line.Add(CardsText(*cards));
            line.Comma();
            line.Add(ClassWord(category));
        }
        line.Comma();
        line.Add(result);
        line.Comma();
        line.Add(e.moved);
        line.Comma();
    } else {
        line.Add(",,,,,,,,,");
    }
    line.Add(e.fund);
    line.Comma();
    line.Add(e.wins);
    line.Comma();
    line.Add(e.losses);
    if (e.Judged()) {
        for (const std::uint8_t choice : {e.kept, e.best}) {
            line.Comma();
            line.Add(KeptText(e.dealt, choice));
        }
        for (const std::int64_t grosze : {e.keptExpected, e.bestExpected}) {
            line.Comma();
            line.Add(ZlotyText(grosze));
        }
    } else {
        line.Add(",,,");
        line.Comma();
    }
    line.Add("\n");
    std::fwrite(line.text().data(), 1, line.text().size(), out);
}

void WriteCsv(std::FILE* out, const std::vector<Entry>& entries)
{
    WriteCsvHeader(out);
    for (const Entry& e : entries) {
        WriteCsvRow(out, e);
    }
}

} // namespace scores::history
