#include "scores/Statistics.h"

#include "engine/Engine.h"
#include "scores/History.h"
#include "scores/Profile.h"
#include "scores/StatisticsLock.h"
#include "scores/WholeNumber.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <memory>
#include <optional>
#include <pwd.h>
#include <random>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using engine::SessionValues;
using namespace std::string_literals;

struct Stored {
    std::int32_t wins;
    std::int32_t losses;
    std::int32_t fund;
    friend bool operator==(const Stored&, const Stored&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Stored& s)
    {
        return os << "{" << s.wins << ", " << s.losses << ", " << s.fund << "}";
    }
};

Stored Of(const SessionValues& v)
{
    return {v.Wins, v.Losses, v.Fund};
}

SessionValues Values(Stored s)
{
    SessionValues v;
    v.Wins = s.wins;
    v.Losses = s.losses;
    v.Fund = s.fund;
    return v;
}

// What a save makes of `over` for these values, through the program's own table of keys: the
// expectation of a test about something other than the file's bytes.
std::string Saved(Stored s, std::string_view over = "")
{
    return scores::WithValues(over, Values(s));
}

// What SQLite's own check says of the record at `path`.
std::string IntegrityCheck(const std::string& path)
{
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, "PRAGMA integrity_check",
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0] ? values[0] : "";
                return 0;
            },
            &result, nullptr);
    }
    sqlite3_close(db);
    return result;
}

class StatisticsFile : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "wirtola-stats-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "wirtola.ini").string();
        scores::SetStatisticsFilePath(path_);
    }

    void TearDown() override
    {
        scores::SetStatisticsFilePath("");
        scores::profile::SetBeforeReplaceHook(nullptr);
        scores::profile::SetSyncHook(nullptr);
        fs::remove_all(dir_);
    }

    void Put(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }

    std::string Contents(const std::string& file = "") const
    {
        std::ifstream in(file.empty() ? path_ : file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    Stored Read(Stored start = {0, 0, 3000}) const
    {
        SessionValues v = Values(start);
        scores::read_inifile(v);
        return Of(v);
    }

    std::vector<std::string> Folder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(StatisticsFile, FirstRunStartsFreshAndTheFirstSaveWritesFourLines)
{
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
    scores::save_inifile(Values({0, 0, 3000}));
    EXPECT_EQ(Contents(), "[Statystyka]\r\nWygrane=0\r\nPrzegrane=0\r\nFundusz=3000\r\n");
    EXPECT_EQ(Folder(), std::vector<std::string>{"wirtola.ini"});
}

TEST_F(StatisticsFile, ReadsStoredValues)
{
    struct Case {
        const char* name;
        std::string text;
        Stored want; // read over the start values {4, 6, 500}
    };
    const Case cases[] = {
        {"all three", "[Statystyka]\r\nWygrane=1\r\nPrzegrane=2\r\nFundusz=3\r\n", {1, 2, 3}},
        {"fund 0 becomes 3000", "[Statystyka]\nFundusz=0", {4, 6, 3000}},
        {"negative fund becomes 3000", "[Statystyka]\nWygrane=-3\nFundusz=-5", {-3, 6, 3000}},
        {"fund 1 stays", "[Statystyka]\nFundusz=1", {4, 6, 1}},
        {"hex -1 fund becomes 3000", "[Statystyka]\nFundusz=0xFFFFFFFF", {4, 6, 3000}},
        {"missing Wygrane keeps wins", "[Statystyka]\nPrzegrane=7\nFundusz=8", {4, 7, 8}},
        {"hexadecimal fund", "[Statystyka]\nFundusz=0x10", {4, 6, 16}},
        {"dollar and case-blind names", "[STATYSTYKA]\nwygrane=$A\nFUNDUSZ=X10", {10, 6, 16}},
        {"quoted value", "[Statystyka]\nFundusz=\"  42\"", {4, 6, 42}},
        {"not whole numbers keep their values",
         "[Statystyka]\nWygrane=5 ; x\nPrzegrane=1e3\nFundusz=2147483648",
         {4, 6, 500}},
        {"empty values and a line without equals", "[Statystyka]\nWygrane=\nPrzegrane\nFundusz=''", {4, 6, 500}},
        {"empty file", "", {4, 6, 500}},
        {"other section only", "[Inne]\nWygrane=9", {4, 6, 500}},
        {"junk around the section",
         "\x01\xff\xfe garbage\0\0\n[Statystyka]\n\xc3\x28=1\nWygrane=9\n[x\xff]\nFundusz=1"s,
         {9, 6, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.text);
        EXPECT_EQ(Read({4, 6, 500}), c.want);
    }
}

TEST_F(StatisticsFile, ExtremeValuesSurviveTheRoundTrip)
{
    const Stored cases[] = {
        {INT_MIN, INT_MAX, INT_MAX},
        {INT_MAX, INT_MIN, 1},
        {0, 0, INT_MIN},
    };
    for (const Stored& saved : cases) {
        SCOPED_TRACE(testing::PrintToString(saved));
        scores::save_inifile(Values(saved));
        const Stored want{saved.wins, saved.losses, saved.fund < 1 ? 3000 : saved.fund};
        EXPECT_EQ(Read({5, 5, 5}), want);
    }
}

TEST_F(StatisticsFile, SaveKeepsAHandEditedFile)
{
    Put("; moje notatki\n[Gracz]\nImie=Ala\n\n[statystyka]\n  WYGRANE = 3 ; stare\n"
        "Przegrane=\"4\"\n\n[Koniec]\nx=1");
    scores::save_inifile(Values({10, 20, 4500}));
    EXPECT_EQ(Contents(),
              "; moje notatki\n[Gracz]\nImie=Ala\n\n[statystyka]\nWygrane=10\n"
              "Przegrane=20\nFundusz=4500\r\n\n[Koniec]\nx=1");
    EXPECT_EQ(Read(), (Stored{10, 20, 4500}));
}

TEST_F(StatisticsFile, AWriteThatCannotHappenReportsThePath)
{
    // Root may write anywhere, but nobody can create a file under a regular file.
    const std::string blocked = (dir_ / "plik" / "wirtola.ini").string();
    std::ofstream(dir_ / "plik") << "x";
    scores::SetStatisticsFilePath(blocked);
    try {
        scores::save_inifile(Values({1, 2, 3}));
        ADD_FAILURE() << "save_inifile did not throw";
    } catch (const scores::WriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + blocked);
    }
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
}

TEST_F(StatisticsFile, ASaveIsOneFlushedReplacementOrNothing)
{
    const std::string old = Saved({1, 2, 3});
    const std::string saved = Saved({10, 20, 30});
    struct Case {
        const char* name;
        int failingRename; // 1-based; 0 for none
        int failingSync;   // 1 is the temporary file's flush, 2 the folder's
        bool throws;
        std::string want;
    };
    const Case cases[] = {
        {"all goes well", 0, 0, false, saved},
        {"the rename fails", 1, 0, true, old},
        {"the file's flush fails", 0, 1, true, old},
        // The new text is in place but may not survive a power cut: that is no success.
        {"the folder's flush fails", 0, 2, true, saved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(old);
        int renames = 0;
        int syncs = 0;
        scores::profile::SetBeforeReplaceHook([&](const std::string&) { return ++renames != c.failingRename; });
        scores::profile::SetSyncHook([&](int fd) {
            if (++syncs != c.failingSync) {
                return fsync(fd);
            }
            errno = EIO;
            return -1;
        });
        try {
            scores::save_inifile(Values({10, 20, 30}));
            EXPECT_FALSE(c.throws) << "save_inifile did not throw";
        } catch (const scores::WriteError& e) {
            EXPECT_TRUE(c.throws) << e.what();
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path_);
        }
        EXPECT_EQ(renames, c.failingSync == 1 ? 0 : 1); // all three keys in one rename
        EXPECT_EQ(syncs, c.failingSync == 1 || c.failingRename ? 1 : 2);
        EXPECT_EQ(Contents(), c.want);
        EXPECT_EQ(Folder(), std::vector<std::string>{"wirtola.ini"});
    }
}

TEST_F(StatisticsFile, ACrashBeforeTheRenameLeavesTheOldFile)
{
    const std::string old = Saved({1, 2, 3});
    Put(old);
    EXPECT_EXIT(
        {
            scores::profile::SetBeforeReplaceHook([](const std::string&) -> bool { _exit(3); });
            scores::save_inifile(Values({10, 20, 30}));
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(Contents(), old);
    EXPECT_EQ(Read(), (Stored{1, 2, 3}));
    // The next save goes through despite the temporary file the crash left.
    scores::save_inifile(Values({10, 20, 30}));
    EXPECT_EQ(Read(), (Stored{10, 20, 30}));
}

// Whatever is put under the name between the save's read and its rename is never replaced:
// the save writes nothing and says so.
TEST_F(StatisticsFile, ASaveReplacesOnlyTheFileItRead)
{
    const std::string old = Saved({1, 2, 3});
    const std::string victim = (dir_ / "cudzy.ini").string();
    // Moved aside, not removed, so that no new file can take its inode number.
    const auto moveAside = [&] { fs::rename(path_, dir_ / "stary.ini"); };
    struct Case {
        const char* name;
        bool hadFile;
        std::function<void()> swap; // run between the read and the rename
        std::string underTheName;   // afterwards; "link" for the link that was put there
    };
    const Case cases[] = {
        {"the file swapped for a link", true,
         [&] {
             moveAside();
             fs::create_symlink(victim, path_);
         },
         "link"},
        {"the file swapped for another file", true,
         [&] {
             moveAside();
             Put("[Statystyka]\r\nFundusz=99\r\n");
         },
         "[Statystyka]\r\nFundusz=99\r\n"},
        {"the file moved away", true, moveAside, ""},
        {"a link put where there was no file", false, [&] { fs::create_symlink(victim, path_); }, "link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path_);
        fs::remove(dir_ / "stary.ini");
        std::ofstream(victim) << "sekret";
        if (c.hadFile) {
            Put(old);
        }
        scores::profile::SetBeforeReplaceHook([&](const std::string&) {
            c.swap();
            return true;
        });
        try {
            scores::save_inifile(Values({10, 20, 30}));
            ADD_FAILURE() << "the save wrote over what was put under the name";
        } catch (const scores::WriteError& e) {
            EXPECT_EQ(e.cause(), scores::profile::WriteFailure::NameChanged);
        }
        scores::profile::SetBeforeReplaceHook(nullptr);
        EXPECT_EQ(Contents(victim), "sekret");
        if (c.underTheName == "link") {
            EXPECT_TRUE(fs::is_symlink(path_));
        } else {
            EXPECT_EQ(fs::exists(path_) ? Contents() : "", c.underTheName);
        }
        std::vector<std::string> want{"cudzy.ini"};
        if (c.hadFile) {
            want.push_back("stary.ini");
        }
        if (fs::exists(fs::symlink_status(path_))) {
            want.push_back("wirtola.ini");
        }
        EXPECT_EQ(Folder(), want) << "no temporary file is left";
    }
}

TEST_F(StatisticsFile, SaveKeepsPermissionsAndAChainOfLinks)
{
    const fs::path real = dir_ / "gdzie" / "staty.ini";
    fs::create_directory(real.parent_path());
    std::ofstream(real) << "[Statystyka]\nFundusz=7\n";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A chain of two links, the first relative, the second absolute.
    const fs::path middle = dir_ / "ogniwo.ini";
    fs::create_symlink(real, middle);
    fs::create_symlink("ogniwo.ini", path_);

    EXPECT_EQ(Read(), (Stored{0, 0, 7}));
    scores::save_inifile(Values({1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_TRUE(fs::is_symlink(middle));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Contents(real.string()), Saved({1, 2, 3}, "[Statystyka]\nFundusz=7\n"));
}

TEST_F(StatisticsFile, ANewFileGetsTheUsualPermissions)
{
    const mode_t mask = umask(022);
    scores::save_inifile(Values({1, 2, 3}));
    umask(mask);
    struct stat st {};
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(StatisticsFile, ADanglingLinkIsNoFileAndTheSaveCreatesItsTarget)
{
    const fs::path target = dir_ / "nowy.ini";
    fs::create_symlink(target, path_);
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
    scores::save_inifile(Values({1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Contents(target.string()), Saved({1, 2, 3}));
}

// The child holding the growing file of the case below.
pid_t& GrowingFileHolder()
{
    static pid_t pid = -1;
    return pid;
}

TEST_F(StatisticsFile, WhatIsNotAFileIsNeitherReadNorOverwritten)
{
    struct Case {
        const char* name;
        void (*make)(const std::string& path_);
    };
    const Case cases[] = {
        {"folder", [](const std::string& p) { fs::create_directory(p); }},
        {"pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }},
        {"link loop", [](const std::string& p) { fs::create_symlink(p, p); }},
        {"a byte larger than any file this game writes",
         [](const std::string& p) {
             std::ofstream(p) << "[Statystyka]\nFundusz=1\n";
             fs::resize_file(p, scores::profile::MaxFileSize + 1); // sparse: costs no disk
         }},
        // A file that tells a size of nothing and then gives more than twice the limit, as one
        // growing while it is read would: a process's environment, held by a child that waits.
        {"a file that grows while it is read",
         [](const std::string& p) {
             const std::string statistics = "A=\n[Statystyka]\nWygrane=12\nPrzegrane=34\nFundusz=777\n";
             std::vector<std::string> strings{statistics};
             for (int i = 0; strings.size() * 100'000 < 2 * scores::profile::MaxFileSize + 100'000; ++i)
                 strings.push_back("P" + std::to_string(i) + "=" + std::string(100'000, 'x'));
             std::vector<char*> env;
             for (std::string& e : strings)
                 env.push_back(e.data());
             env.push_back(nullptr);
             const pid_t child = fork();
             if (child == 0) {
                 const rlimit stack{64 << 20, 64 << 20}; // room for an environment that large
                 setrlimit(RLIMIT_STACK, &stack);
                 char sleep[] = "sleep";
                 char seconds[] = "30";
                 char* args[] = {sleep, seconds, nullptr};
                 execve("/bin/sleep", args, env.data());
                 _exit(127);
             }
             ASSERT_GT(child, 0);
             const std::string environ = "/proc/" + std::to_string(child) + "/environ";
             for (int tries = 0; tries < 500; ++tries) { // until the child stands in its program
                 std::ifstream in(environ, std::ios::binary);
                 std::string head(2, '\0');
                 if (in.read(head.data(), 2) && head == "A=")
                     break;
                 usleep(10'000);
             }
             GrowingFileHolder() = child;
             fs::create_symlink(environ, p);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(path_);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Read({4, 6, 500}), (Stored{4, 6, 500}));
        EXPECT_THROW(scores::save_inifile(Values({1, 2, 3})), scores::WriteError);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(Folder(), std::vector<std::string>{"wirtola.ini"});
        fs::remove(path_);
    }
    kill(GrowingFileHolder(), SIGKILL);
    waitpid(GrowingFileHolder(), nullptr, 0);
}

TEST_F(StatisticsFile, LongLinesAndJunkAreReadThrough)
{
    std::string text(300'000, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>((i * 7919) % 251); // junk with CRs, LFs, brackets and NULs
    }
    text += "\n" + std::string(150'000, 'x') + "=" + std::string(150'000, '9') + "\n";
    text += "[Statystyka]\nWygrane=" + std::string(150'000, ' ') + "12\n";
    text += "Przegrane=" + std::string(150'000, '0') + "34\nFundusz=" + std::string(100'000, '7') + "\n";
    text += std::string(static_cast<std::size_t>(scores::profile::MaxFileSize) - text.size(), ';'); // the largest
    Put(text);
    EXPECT_EQ(Read({4, 6, 500}), (Stored{12, 34, 500}));
}

std::string Utf16(std::u16string_view text, bool littleEndian)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST_F(StatisticsFile, AFileWithAByteOrderMarkIsReadAndWrittenInItsOwnEncoding)
{
    struct Case {
        const char* name;
        std::string before;
        Stored read;       // over the start values {4, 6, 500}
        std::string after; // once {7, 8, 9} is saved
    };
    const Case cases[] = {
        {"UTF-8",
         "\xEF\xBB\xBF; Zażółć\r\n[Statystyka]\r\nWygrane=1\r\n",
         {1, 6, 500},
         "\xEF\xBB\xBF; Zażółć\r\n[Statystyka]\r\nWygrane=7\r\nPrzegrane=8\r\nFundusz=9\r\n"},
        {"UTF-16 LE",
         Utf16(u"\uFEFF; Zażółć gęślą jaźń\r\n[Statystyka]\r\nWygrane=1\r\nPrzegrane=2\r\nFundusz=3\r\n", true),
         {1, 2, 3},
         Utf16(u"\uFEFF; Zażółć gęślą jaźń\r\n[Statystyka]\r\nWygrane=7\r\nPrzegrane=8\r\nFundusz=9\r\n", true)},
        {"UTF-16 BE without the section",
         Utf16(u"\uFEFF[Inne]\r\nImię=Łucja", false),
         {4, 6, 500},
         Utf16(u"\uFEFF[Inne]\r\nImię=Łucja\r\n[Statystyka]\r\nWygrane=7\r\nPrzegrane=8\r\nFundusz=9\r\n", false)},
        {"UTF-16 LE, a card outside the BMP, a lone surrogate and an odd last byte",
         Utf16(u"\uFEFF;\U0001F0A1 \xD800x\r\n[Statystyka]\r\nFundusz=5\r\n", true) + "A",
         {4, 6, 5},
         Utf16(u"\uFEFF;\U0001F0A1 \xD800x\r\n[Statystyka]\r\nFundusz=9\r\nWygrane=7\r\nPrzegrane=8\r\n", true) + "A"},
        {"UTF-16 LE mark alone",
         Utf16(u"\uFEFF", true),
         {4, 6, 500},
         Utf16(u"\uFEFF[Statystyka]\r\nWygrane=7\r\nPrzegrane=8\r\nFundusz=9\r\n", true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.before);
        EXPECT_EQ(Read({4, 6, 500}), c.read);
        scores::save_inifile(Values({7, 8, 9}));
        EXPECT_EQ(Contents(), c.after);
        EXPECT_EQ(Read(), (Stored{7, 8, 9}));
    }
}

// A process id that no process has: a child's, once it has ended and been waited for.
pid_t EndedProcess()
{
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST_F(StatisticsFile, ASaveRemovesOnlyTheTemporaryFilesOfEndedProcesses)
{
    const std::string dead = std::to_string(EndedProcess());
    const std::string self = std::to_string(getpid());
    const std::vector<std::string> removed{"wirtola.ini." + dead + ".0.tmp", "wirtola.ini." + dead + ".17.tmp"};
    std::vector<std::string> kept{
        "wirtola.ini." + self + ".abc.tmp", // ours
        "wirtola.ini.1.0.tmp",              // a process that runs
        "wirtola.ini." + dead + ".x.tmp",
        "wirtola.ini." + dead + ".0.tmp.bak",
        "wirtola.ini." + dead + ".tmp",
        "wirtola.ini.0" + dead + ".0.tmp",
        "inny.ini." + dead + ".0.tmp",
        "xwirtola.ini." + dead + ".0.tmp",
        "wirtola.ini.lock",
    };
    for (const auto& name : removed) {
        std::ofstream(dir_ / name) << "x";
    }
    // Names another user may plant to block the save: ours, of a process that runs.
    for (int n = 0; n < 2000; ++n) {
        kept.push_back("wirtola.ini." + self + "." + std::to_string(n) + ".tmp");
    }
    for (const auto& name : kept) {
        std::ofstream(dir_ / name) << "x";
    }
    fs::create_directory(dir_ / ("wirtola.ini." + dead + ".1.tmp")); // not a file

    scores::save_inifile(Values({1, 2, 3}));
    std::vector<std::string> want = kept;
    want.push_back("wirtola.ini");
    want.push_back("wirtola.ini." + dead + ".1.tmp");
    std::sort(want.begin(), want.end());
    EXPECT_EQ(Folder(), want);
}

TEST_F(StatisticsFile, OneGameAtATime)
{
    using Lock = scores::StatisticsLock;
    {
        const Lock first(path_);
        EXPECT_EQ(first.state(), Lock::State::Held);
        // flock locks belong to an open file, so a second one conflicts even in this process.
        EXPECT_EQ(Lock(path_).state(), Lock::State::InUse);
        fs::create_symlink(path_, dir_ / "inna-nazwa.ini");
        EXPECT_EQ(Lock((dir_ / "inna-nazwa.ini").string()).state(), Lock::State::InUse);
        // The save's rename and its clean-up leave the lock where it is.
        scores::save_inifile(Values({1, 2, 3}));
        EXPECT_EQ(Lock(path_).state(), Lock::State::InUse);
    }
    EXPECT_EQ(Lock(path_).state(), Lock::State::Held);

    // A game killed while holding the lock does not block the next one.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const Lock held(path_);
        const char state = held.state() == Lock::State::Held ? 'H' : 'x';
        (void)!write(ready[1], &state, 1);
        pause();
        _exit(0);
    }
    char state = 0;
    EXPECT_EQ(read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'H');
    EXPECT_EQ(Lock(path_).state(), Lock::State::InUse);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(Lock(path_).state(), Lock::State::Held);

    // A lock file that is a link is refused, never followed nor silently passed over.
    const std::string linked = (dir_ / "dowiazany.ini").string();
    fs::create_symlink(dir_ / "gdzie-indziej", linked + ".lock");
    EXPECT_EQ(Lock(linked).state(), Lock::State::Refused);
    EXPECT_FALSE(fs::exists(dir_ / "gdzie-indziej"));

    // Where no lock file can be made the game goes on without one.
    std::ofstream(dir_ / "plik") << "x";
    EXPECT_EQ(Lock((dir_ / "plik" / "wirtola.ini").string()).state(), Lock::State::Unavailable);

    // On a disk mounted read-only, the lock file standing there still keeps a second game out:
    // a file system of its own, in a mount namespace of its own (and a user namespace, where
    // not root), in a child that says what the two games got.
    const std::string disk = (dir_ / "tylko-odczyt").string();
    fs::create_directory(disk);
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        char said = 'n'; // no namespace: nothing to say of the lock
        if (unshare(CLONE_NEWNS | (uid == 0 ? 0 : CLONE_NEWUSER)) == 0) {
            if (uid != 0) {
                std::ofstream("/proc/self/setgroups") << "deny";
                std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
                std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
            }
            if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                && mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k,mode=0700") == 0) {
                std::ofstream(disk + "/wirtola.ini") << "[Statystyka]\n";
                std::ofstream(disk + "/wirtola.ini.lock");
                if (mount("tmpfs", disk.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k,mode=0700") == 0) {
                    const Lock first(disk + "/wirtola.ini");
                    const Lock second(disk + "/wirtola.ini");
                    said = first.state() == Lock::State::Held && second.state() == Lock::State::InUse ? 'H' : 'x';
                }
            }
        }
        (void)!write(ready[1], &said, 1);
        _exit(0);
    }
    char said = 0;
    EXPECT_EQ(read(ready[0], &said, 1), 1);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    if (said == 'n')
        GTEST_SKIP() << "no mount namespace to make a read-only disk in";
    EXPECT_EQ(said, 'H') << "the first game holds the lock, the second is kept out";
}

// The lock is looked at before every save: a lock file deleted or replaced while a game runs is
// taken again, and a game that finds another one holding it by then writes nothing from then on.
TEST_F(StatisticsFile, TheLockIsConfirmedBeforeEverySave)
{
    using Lock = scores::StatisticsLock;
    using scores::profile::WriteFailure;
    const std::string lockPath = path_ + ".lock";
    const std::string elsewhere = (dir_ / "gdzie-indziej").string();
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Lock>()> meanwhile; // after the lock file is removed
        WriteFailure first;                               // what the next save says
        WriteFailure later;                               // and the one after the other game ended
    };
    const Case cases[] = {
        {"the lock file deleted", [] { return nullptr; }, WriteFailure::None, WriteFailure::None},
        {"another game started while the lock file was gone", [&] { return std::make_unique<Lock>(path_); },
         WriteFailure::OtherGame, WriteFailure::OtherGame},
        {"a link put in its place",
         [&] {
             fs::create_symlink(elsewhere, lockPath);
             return nullptr;
         },
         WriteFailure::ForeignEntry, WriteFailure::None},
    };
    const auto save = [](int n) {
        try {
            scores::save_inifile(Values({n, n, n}));
        } catch (const scores::WriteError& e) {
            return e.cause();
        }
        return WriteFailure::None;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path_);
        Lock game(path_);
        ASSERT_EQ(game.state(), Lock::State::Held);
        scores::SetStatisticsLock(&game);
        EXPECT_EQ(save(1), WriteFailure::None);
        fs::remove(lockPath);
        std::unique_ptr<Lock> other = c.meanwhile();
        EXPECT_EQ(save(2), c.first);
        EXPECT_EQ(Read().wins, c.first == WriteFailure::None ? 2 : 1);
        other.reset();
        fs::remove(lockPath);
        EXPECT_EQ(save(3), c.later);
        EXPECT_EQ(Read().wins, c.later == WriteFailure::None ? 3 : 1);
        if (c.later == WriteFailure::None) {
            EXPECT_EQ(Lock(path_).state(), Lock::State::InUse) << "the lock was taken again";
        }
        EXPECT_FALSE(fs::exists(elsewhere));
        scores::SetStatisticsLock(nullptr);
    }
}

TEST_F(StatisticsFile, AKilledSaveNeverLeavesTheValuesOutOfStepNorTheRecordBehindByMoreThanARound)
{
    // Each child saves {n, n, 1000 + n} for n = 1, 2, ... from where the file stands, then
    // records the round, as the game does, until it is killed at a random moment; the file must
    // always hold one whole save, and the record must be whole and hold it or the one before.
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
    constexpr int Kills = 300;
    const std::string record = scores::history::HistoryPathFor(path_);
    std::int32_t last = 0;
    for (int i = 0; i < Kills; ++i) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SessionValues v = Values({0, 0, 1000});
            scores::read_inifile(v);
            scores::history::History history(record);
            history.Open(v);
            // The kill comes at a random moment of the rounds, not of the record's opening.
            (void)!write(ready[1], "r", 1);
            for (std::int32_t n = v.Wins + 1;; ++n) {
                try {
                    scores::save_inifile(Values({n, n, 1000 + n}));
                } catch (...) {
                    _exit(1);
                }
                history.Append({.stake = 1, .fund = 1000 + n, .wins = n, .losses = n});
            }
        }
        char byte = 0;
        close(ready[1]);
        (void)!read(ready[0], &byte, 1);
        close(ready[0]);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed at kill " << i;
        if (!fs::exists(path_)) {
            ASSERT_EQ(last, 0) << "the file vanished at kill " << i;
            continue;
        }
        SessionValues v = Values({-1, -1, -1});
        scores::read_inifile(v);
        ASSERT_GE(v.Wins, last) << "kill " << i;
        last = v.Wins;
        ASSERT_EQ(Contents(), Saved({last, last, 1000 + last})) << "kill " << i;
        ASSERT_EQ(IntegrityCheck(record), "ok") << "kill " << i;
        const auto rows = scores::history::ReadHistory(record);
        const std::int32_t recorded = rows.empty() ? 0 : rows.back().wins;
        ASSERT_TRUE(recorded == last || recorded + 1 == last) << "kill " << i << ": " << recorded << " of " << last;
    }
    EXPECT_GT(last, 0);
    // The next save clears what the kills left behind.
    scores::save_inifile(Values({1, 1, 1}));
    std::vector<std::string> left = Folder();
    std::erase_if(left, [](const std::string& name) { return name.starts_with("wirtola.history-"); }); // its log
    EXPECT_EQ(left, (std::vector<std::string>{"wirtola.history", "wirtola.ini"}));
    EXPECT_EQ(fs::status(record).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(StatisticsFile, TheRecordIsNeverReachedThroughALinkAndADamagedOneIsKeptAside)
{
    using scores::history::History;
    const std::string record = scores::history::HistoryPathFor(path_);
    const std::string elsewhere = (dir_ / "elsewhere").string();
    fs::create_symlink(elsewhere, record);
    EXPECT_EQ(History(record).Open(Values({0, 0, 3000})), History::Opened::Refused);
    EXPECT_FALSE(fs::exists(elsewhere));
    fs::remove(record);

    std::ofstream(record, std::ios::binary) << std::string(4096, 'x');
    History renewed(record);
    EXPECT_EQ(renewed.Open(Values({4, 2, 1200})), History::Opened::Renewed);
    ASSERT_TRUE(fs::exists(renewed.SetAside()));
    EXPECT_EQ(fs::file_size(renewed.SetAside()), 4096U);
    // The totals an older game kept start the new record.
    const auto rows = renewed.ReadAll();
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].kind, scores::history::Kind::Carried);
    EXPECT_EQ(std::tie(rows[0].wins, rows[0].losses, rows[0].fund), std::make_tuple(4, 2, 1200));
    EXPECT_FALSE(fs::exists(path_)) << "the record never touches the statistics file";
}

// Runs `body` in a child process, as the user "nobody" when we are root (root may write where
// a player may not, so a read-only folder or file means nothing to it), and returns what the
// body returned; "" means the child could not run as a player.
std::string AsPlayer(const std::function<std::string()>& body)
{
    int out[2];
    if (pipe(out) != 0) {
        return "";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        if (getuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            if (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
                _exit(2);
            }
        }
        std::string result;
        try {
            result = body();
        } catch (const std::exception& e) {
            result = std::string("exception: ") + e.what();
        }
        (void)!write(out[1], result.data(), result.size());
        _exit(0);
    }
    close(out[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    waitpid(child, nullptr, 0);
    return result;
}

std::string HomeOfPlayer()
{
    const passwd* entry = getuid() == 0 ? getpwnam("nobody") : getpwuid(getuid());
    return entry ? entry->pw_dir : "";
}

class StatisticsPlace : public StatisticsFile {
protected:
    void SetUp() override
    {
        StatisticsFile::SetUp();
        // The player must reach the folders below.
        fs::permissions(dir_,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
                            | fs::perms::others_exec);
    }

    // A folder holding a program "wirtola" and, when `file` is not 0, a statistics file of that mode.
    std::string ProgramIn(const std::string& name, fs::perms folderMode, std::optional<fs::perms> file) const
    {
        const fs::path folder = dir_ / name;
        fs::create_directory(folder);
        if (file) {
            std::ofstream(folder / "wirtola.ini") << "[Statystyka]\r\nFundusz=5\r\n";
            fs::permissions(folder / "wirtola.ini", *file);
        }
        fs::permissions(folder, folderMode);
        return (folder / "wirtola").string();
    }
};

constexpr fs::perms ReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
    | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms ReadOnlyFile = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

TEST_F(StatisticsPlace, BesideTheProgramWhenThatPlaceCanBeWrittenElseInTheDataFolder)
{
    const std::string writable = ProgramIn("budowa", fs::perms::all, std::nullopt);
    const std::string readOnly = ProgramIn("bin", ReadOnlyFolder, std::nullopt);
    const std::string readOnlyWithFile = ProgramIn("bin-plik", ReadOnlyFolder, fs::perms::all);
    const std::string readOnlyWithReadOnlyFile = ProgramIn("bin-plik-ro", ReadOnlyFolder, ReadOnlyFile);
    const std::string data = (dir_ / "dane").string();
    const std::string home = (dir_ / "dom").string();
    const std::string homeWithSlash = home + "/";
    const std::string inData = data + "/wirtola/wirtola.ini";
    const std::string inHome = home + "/.local/share/wirtola/wirtola.ini";
    const char* unset = nullptr;
    struct Case {
        const char* name;
        std::string executable;
        bool perUserOnly;
        const char* dataHome;
        const char* homeVariable;
        std::string want; // the path, then "+" for a place in the data folder, and " < " the file left
    };
    const Case cases[] = {
        {"writable build folder", writable, false, data.c_str(), home.c_str(), writable + ".ini"},
        {"read-only folder", readOnly, false, data.c_str(), home.c_str(), inData + "+"},
        {"read-only folder with a writable file", readOnlyWithFile, false, data.c_str(), home.c_str(),
         readOnlyWithFile + ".ini"},
        {"read-only folder with a read-only file", readOnlyWithReadOnlyFile, false, data.c_str(), home.c_str(),
         inData + "+ < " + readOnlyWithReadOnlyFile + ".ini"},
        {"relative data home", readOnly, false, "dane", home.c_str(), inHome + "+"},
        {"empty data home", readOnly, false, "", home.c_str(), inHome + "+"},
        {"unset data home", readOnly, false, unset, home.c_str(), inHome + "+"},
        {"home with a slash at the end", readOnly, false, unset, homeWithSlash.c_str(), inHome + "+"},
        {"no HOME: the password database", readOnly, false, unset, unset,
         HomeOfPlayer() + "/.local/share/wirtola/wirtola.ini+"},
        {"empty HOME: the password database", readOnly, false, unset, "",
         HomeOfPlayer() + "/.local/share/wirtola/wirtola.ini+"},
        {"relative HOME: the password database", readOnly, false, unset, "dom",
         HomeOfPlayer() + "/.local/share/wirtola/wirtola.ini+"},
        {"installed build, writable folder", writable, true, data.c_str(), home.c_str(), inData + "+"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string got = AsPlayer([&] {
            const auto set = [](const char* name, const char* value) {
                if (value) {
                    setenv(name, value, 1);
                } else {
                    unsetenv(name);
                }
            };
            set("XDG_DATA_HOME", c.dataHome);
            set("HOME", c.homeVariable);
            const scores::StatisticsPlace place = scores::ChooseStatisticsPlace(c.executable, c.perUserOnly);
            return place.path + (place.perUser ? "+" : "") + (place.leftBehind.empty() ? "" : " < " + place.leftBehind);
        });
        EXPECT_EQ(got, c.want);
    }
    EXPECT_FALSE(fs::exists(data)); // choosing makes no folder
}

TEST_F(StatisticsPlace, TheDataFolderIsMadePrivateAtTheFirstStartSoTheFirstGameIsLocked)
{
    const std::string file = (dir_ / "dane" / "glebiej" / "wirtola" / "wirtola.ini").string();
    scores::SetStatisticsPlace({.path = file, .perUser = true, .base = dir_.string(), .avoidedSharedFolder = false});
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
    EXPECT_FALSE(fs::exists(dir_ / "dane")); // reading makes nothing
    const mode_t mask = umask(077);
    EXPECT_EQ(scores::PrepareStatisticsFolder(), scores::profile::WriteFailure::None);
    umask(mask);
    const scores::StatisticsLock first(file);
    const scores::StatisticsLock second(file);
    EXPECT_EQ(first.state(), scores::StatisticsLock::State::Held);
    EXPECT_EQ(second.state(), scores::StatisticsLock::State::InUse);
    scores::save_inifile(Values({1, 2, 3}));
    EXPECT_EQ(Read(), (Stored{1, 2, 3}));
    for (const fs::path& folder : {dir_ / "dane", dir_ / "dane" / "glebiej", dir_ / "dane" / "glebiej" / "wirtola"}) {
        SCOPED_TRACE(folder.string());
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    }

    // A home that is not there is reported, never built from the root down.
    const fs::path missing = dir_ / "nie-ma";
    scores::SetStatisticsPlace({.path = (missing / ".local/share/wirtola/wirtola.ini").string(),
                                .perUser = true,
                                .base = missing.string(),
                                .avoidedSharedFolder = false});
    EXPECT_EQ(scores::PrepareStatisticsFolder(), scores::profile::WriteFailure::NoFolder);
    try {
        scores::save_inifile(Values({1, 2, 3}));
        ADD_FAILURE() << "the save made the missing home";
    } catch (const scores::WriteError& e) {
        EXPECT_EQ(e.cause(), scores::profile::WriteFailure::NoFolder);
    }
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(StatisticsPlace, AFileMadeReadOnlyIsKept)
{
    if (getuid() != 0 || !getpwnam("nobody")) {
        GTEST_SKIP() << "needs root to stand for a second user";
    }
    const std::string old = "[Statystyka]\r\nFundusz=5\r\n";
    const std::string saved = "saved";
    struct Case {
        const char* name;
        fs::perms folderMode;
        fs::perms fileMode;
        bool asPlayer; // else as root, who ignores permission bits
        std::string want;
        std::string before = ""; // the file's text, when not the usual one
    };
    const Case cases[] = {
        {"no write bit, saved by root", fs::perms::all, ReadOnlyFile, false, "Unable to write to "},
        {"another user's file in a folder anybody may write", fs::perms::all, ReadOnlyFile | fs::perms::owner_write,
         true, "Unable to write to "},
        // No temporary file can be made there, so the file is rewritten where it stands.
        {"writable file in a read-only folder", ReadOnlyFolder, fs::perms::all, true, saved},
        // Nothing of the longer old text may stay behind the new one.
        {"writable file in a read-only folder, the new text shorter", ReadOnlyFolder, fs::perms::all, true, saved,
         "[Statystyka]\r\nFundusz=123456789\r\nWygrane=123456789\r\nPrzegrane=123456789\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir_ / std::to_string(&c - cases);
        const std::string file = (folder / "wirtola.ini").string();
        ProgramIn(folder.filename().string(), c.folderMode, c.fileMode);
        if (!c.before.empty()) {
            std::ofstream(file, std::ios::binary) << c.before;
        }
        struct stat before {};
        ASSERT_EQ(stat(file.c_str(), &before), 0);
        const auto save = [&]() -> std::string {
            scores::SetStatisticsFilePath(file);
            try {
                scores::save_inifile(Values({1, 2, 3}));
            } catch (const scores::WriteError& e) {
                return e.what();
            }
            return "";
        };
        const std::string error = c.asPlayer ? AsPlayer(save) : save();
        scores::SetStatisticsFilePath(path_);
        const bool fails = c.want.starts_with("Unable");
        EXPECT_EQ(error, fails ? c.want + file : "");
        EXPECT_EQ(Contents(file), fails ? old : Saved({1, 2, 3}, c.before.empty() ? old : c.before));
        struct stat after {};
        ASSERT_EQ(stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }

    // A read-only folder that holds its owner's lock file: the player's game locks it all the same.
    const fs::path folder = dir_ / "z-blokada";
    const std::string file = (folder / "wirtola.ini").string();
    ProgramIn(folder.filename().string(), fs::perms::all, fs::perms::all);
    std::ofstream(file + ".lock") << "";
    fs::permissions(folder, ReadOnlyFolder);
    EXPECT_EQ(AsPlayer([&] {
                  const scores::StatisticsLock first(file);
                  const scores::StatisticsLock second(file);
                  return std::to_string(static_cast<int>(first.state()))
                      + std::to_string(static_cast<int>(second.state()));
              }),
              "01")
        << "held, then in use";
}

// In a folder other users may write ("nobody" stands for them here), the game never writes
// through their links nor over their files or locks: it keeps the scores in the data folder
// instead, and a save or a lock that meets them there refuses.
TEST_F(StatisticsPlace, AnotherUsersLinksFilesAndLocksInASharedFolderAreNeverWrittenThrough)
{
    const passwd* nobody = getpwnam("nobody");
    if (getuid() != 0 || !nobody) {
        GTEST_SKIP() << "needs root to stand for a second user";
    }
    using Lock = scores::StatisticsLock;
    using scores::profile::WriteFailure;
    const fs::path victim = dir_ / "moje.ini";
    const std::string data = (dir_ / "dane").string();
    struct Case {
        const char* name;
        mode_t folderMode;
        bool groupOfOthers;  // the folder's group is nobody's
        const char* planted; // by nobody: "link", "file", "lock link", "lock file"; "own link" by us
        WriteFailure save;
        Lock::State lock;
    };
    const Case cases[] = {
        {"another's link, sticky folder for all", 01777, false, "link", WriteFailure::ForeignEntry,
         Lock::State::Refused},
        {"another's link, folder for all", 0777, false, "link", WriteFailure::ForeignEntry, Lock::State::Refused},
        {"another's link, folder for a group", 0775, true, "link", WriteFailure::ForeignEntry, Lock::State::Refused},
        {"another's file", 01777, false, "file", WriteFailure::ForeignEntry, Lock::State::Held},
        {"another's link as the lock", 01777, false, "lock link", WriteFailure::None, Lock::State::Refused},
        {"another's lock file", 0777, false, "lock file", WriteFailure::None, Lock::State::Refused},
        {"our own link", 01777, false, "own link", WriteFailure::None, Lock::State::Held},
    };
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(victim) << "sekret";
        fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
        const fs::path folder = dir_ / ("wspolny" + std::to_string(&c - cases));
        fs::create_directory(folder);
        ASSERT_EQ(chown(folder.c_str(), 0, c.groupOfOthers ? nobody->pw_gid : 0), 0);
        ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);
        const std::string file = (folder / "wirtola.ini").string();
        const std::string planted = c.planted;
        const std::string name = planted.starts_with("lock") ? file + ".lock" : file;
        if (planted == "own link") {
            fs::create_symlink(victim, file);
        } else {
            ASSERT_EQ(AsPlayer([&]() -> std::string {
                          if (planted.ends_with("link")) {
                              return symlink(victim.c_str(), name.c_str()) == 0 ? "ok" : "no link";
                          }
                          std::ofstream(name) << "[Statystyka]\r\nFundusz=77\r\n";
                          return chmod(name.c_str(), 0666) == 0 ? "ok" : "no file";
                      }),
                      "ok");
        }

        const scores::StatisticsPlace place = scores::ChooseStatisticsPlace((folder / "wirtola").string(), false);
        const bool ours = planted == "own link";
        EXPECT_EQ(place.perUser, !ours);
        EXPECT_EQ(place.avoidedSharedFolder, !ours);
        EXPECT_EQ(Lock(file).state(), c.lock);
        scores::SetStatisticsFilePath(file);
        WriteFailure failure = WriteFailure::None;
        try {
            scores::save_inifile(Values({1, 2, 3}));
        } catch (const scores::WriteError& e) {
            failure = e.cause();
        }
        scores::SetStatisticsFilePath(path_);
        EXPECT_EQ(failure, c.save);
        EXPECT_EQ(Contents(victim.string()), ours ? Saved({1, 2, 3}, "sekret") : "sekret");
        EXPECT_EQ(fs::status(victim).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        if (planted == "file") {
            EXPECT_EQ(Contents(file), "[Statystyka]\r\nFundusz=77\r\n");
        }
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_FALSE(fs::exists(data)) << "choosing makes no folder";

    // The per-user folder serves only when it is the player's and nobody else may write it.
    for (const std::string made : {"his folder", "his link to ours"}) {
        SCOPED_TRACE(made);
        const fs::path base = dir_ / made, ours = base.string() + "-ours", folder = base / "wirtola";
        const std::string file = (folder / "wirtola.ini").string();
        std::ofstream(victim) << "sekret";
        fs::create_directories(ours);
        fs::create_directory(base);
        ASSERT_EQ(chown(base.c_str(), nobody->pw_uid, 0), 0);
        EXPECT_EQ(AsPlayer([&] {
                      if (made == "his folder") {
                          return std::to_string(mkdir(folder.c_str(), 0755) + symlink(victim.c_str(), file.c_str()));
                      }
                      return std::to_string(symlink(ours.c_str(), folder.c_str()));
                  }),
                  "0");
        scores::SetStatisticsPlace(
            {.path = file, .perUser = true, .base = base.string(), .avoidedSharedFolder = false});
        EXPECT_EQ(scores::PrepareStatisticsFolder(), WriteFailure::ForeignFolder);
        EXPECT_EQ(Lock(file, true).state(), Lock::State::Unavailable);
        try {
            scores::save_inifile(Values({1, 2, 3}));
        } catch (const scores::WriteError& e) {
            EXPECT_EQ(e.cause(), WriteFailure::ForeignFolder);
        }
        EXPECT_EQ(Contents(victim.string()), "sekret");
        EXPECT_TRUE(fs::is_empty(ours));
        EXPECT_FALSE(fs::exists(file + ".lock"));
    }

    // Nor when he keeps swapping his own link with ours, in a folder both may write, as saves run.
    const fs::path folder = dir_ / "zamiany", other = dir_ / "inny.ini";
    const std::string file = (folder / "wirtola.ini").string(), his = (folder / "jego.ini").string();
    fs::create_directory(folder);
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0); // not sticky: anybody may rename anything in it
    std::ofstream(other) << "sekret";
    fs::create_symlink(victim, file);
    const pid_t swapper = fork();
    if (swapper == 0) {
        if (setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0 && symlink(other.c_str(), his.c_str()) == 0) {
            for (;;) {
                renameat2(AT_FDCWD, his.c_str(), AT_FDCWD, file.c_str(), RENAME_EXCHANGE);
            }
        }
        _exit(2);
    }
    scores::SetStatisticsFilePath(file);
    for (int i = 1; i <= 3000; ++i) {
        const scores::StatisticsLock lock(file);
        try {
            scores::save_inifile(Values({i, i, i}));
        } catch (const scores::WriteError& e) {
            EXPECT_EQ(e.cause(), scores::profile::WriteFailure::ForeignEntry);
        }
    }
    kill(swapper, SIGKILL);
    waitpid(swapper, nullptr, 0);
    scores::SetStatisticsFilePath(path_);
    EXPECT_EQ(Contents(other.string()), "sekret");
    EXPECT_FALSE(fs::exists(dir_ / "inny.ini.lock"));
}

TEST(StatisticsPath, ReplacesTheExtensionOfTheFileName)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/games/wirtola", "/usr/games/wirtola.ini"},
        {"/opt/gry/wirtola.exe", "/opt/gry/wirtola.ini"},
        {"/opt/gry.d/wirtola", "/opt/gry.d/wirtola.ini"},
        {"/opt/x/wirtola.tar.gz", "/opt/x/wirtola.tar.ini"},
        {"/opt/x/wirtola.", "/opt/x/wirtola.ini"},
        {"wirtola", "wirtola.ini"},
        {"./wirtola", "./wirtola.ini"},
        {"../gry/wirtola", "../gry/wirtola.ini"},
        {"/opt/x/.wirtola", "/opt/x/.ini"},
        {"/opt/x/.wirtola.bin", "/opt/x/.wirtola.ini"},
        {".wirtola", ".ini"},
    };
    for (const auto& [executable, want] : cases) {
        SCOPED_TRACE(executable);
        EXPECT_EQ(scores::StatisticsFilePathFor(executable), want);
    }
    // The record beside it takes the name's stem, never a dot of a folder's.
    const std::pair<std::string, std::string> records[] = {
        {"/home/ala/.local/share/wirtola/wirtola.ini", "/home/ala/.local/share/wirtola/wirtola.history"},
        {"/opt/gry.d/wirtola", "/opt/gry.d/wirtola.history"},
        {"/opt/x/wirtola.tar.ini", "/opt/x/wirtola.tar.history"},
        {"wirtola.ini", "wirtola.history"},
        {".ini", ".history"},
    };
    for (const auto& [statistics, want] : records) {
        SCOPED_TRACE(statistics);
        EXPECT_EQ(scores::history::HistoryPathFor(statistics), want);
    }
}

// Only the installed program (program/Installed.cpp, checked by tests/package/installed.sh) keeps
// its file in the data folder; every other, this test included, beside itself.
TEST(StatisticsPath, LiesBesideTheRunningProgram)
{
    scores::SetStatisticsFilePath("");
    EXPECT_FALSE(scores::BuiltForInstalling());
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(scores::StatisticsFilePath(), self + ".ini");
    scores::SetStatisticsFilePath("/tmp/inny.ini");
    EXPECT_EQ(scores::StatisticsFilePath(), "/tmp/inny.ini");
    scores::SetStatisticsFilePath("");
}

TEST(WholeNumber, FollowsTheStoredNumberRules)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"+5", 5},
        {"-5", -5},
        {"007", 7},
        {"   42", 42},
        {"  -0", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"0000000000002147483647", INT_MAX},
        {"0x10", 16},
        {"0XfF", 255},
        {"$10", 16},
        {"x1f", 31},
        {"X1F", 31},
        {"0xFFFFFFFF", -1},
        {"$80000000", INT_MIN},
        {"0x0000000010", 16},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"0x100000000", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"+-5", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"-0x10", std::nullopt},
        {"$-5", std::nullopt},
        {"0x1g", std::nullopt},
        {"\t5", std::nullopt},
        {"5 ", std::nullopt},
        {"1e3", std::nullopt},
        {"1 000", std::nullopt},
        {"1,000", std::nullopt},
        {"\xD9\xA3", std::nullopt},     // Arabic-Indic three
        {"\xEF\xBC\x95", std::nullopt}, // full-width five
    };
    for (const auto& [text, want] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(scores::ParseWholeNumber(text), want);
    }
}

} // namespace
