#include "session/Statistics.h"

#include "engine/Engine.h"
#include "session/Profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
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

class StatisticsFile : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "wirtola-stats-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = (dir / "wirtola.ini").string();
        session::SetStatisticsFilePath(path);
    }

    void TearDown() override
    {
        session::SetStatisticsFilePath("");
        session::profile::SetBeforeReplaceHook(nullptr);
        fs::remove_all(dir);
    }

    void Put(const std::string& text) const
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    std::string Contents(const std::string& file = "") const
    {
        std::ifstream in(file.empty() ? path : file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    Stored Read(Stored start = {0, 0, 3000}) const
    {
        SessionValues v = Values(start);
        session::read_inifile(v);
        return Of(v);
    }

    std::vector<std::string> Folder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir;
    std::string path;
};

TEST_F(StatisticsFile, FirstRunStartsFreshAndTheFirstSaveWritesFourLines)
{
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
    session::save_inifile(Values({0, 0, 3000}));
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
         "[Statystyka]\nWygrane=5 ; x\nPrzegrane=1e3\nFundusz=2147483648", {4, 6, 500}},
        {"empty values and a line without equals", "[Statystyka]\nWygrane=\nPrzegrane\nFundusz=''", {4, 6, 500}},
        {"empty file", "", {4, 6, 500}},
        {"other section only", "[Inne]\nWygrane=9", {4, 6, 500}},
        {"junk around the section",
         "\x01\xff\xfe garbage\0\0\n[Statystyka]\n\xc3\x28=1\nWygrane=9\n[x\xff]\nFundusz=1"s, {9, 6, 500}},
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
        session::save_inifile(Values(saved));
        const Stored want{saved.wins, saved.losses, saved.fund < 1 ? 3000 : saved.fund};
        EXPECT_EQ(Read({5, 5, 5}), want);
    }
}

TEST_F(StatisticsFile, SaveKeepsAHandEditedFile)
{
    Put("; moje notatki\n[Gracz]\nImie=Ala\n\n[statystyka]\n  WYGRANE = 3 ; stare\n"
        "Przegrane=\"4\"\n\n[Koniec]\nx=1");
    session::save_inifile(Values({10, 20, 4500}));
    EXPECT_EQ(Contents(), "; moje notatki\n[Gracz]\nImie=Ala\n\n[statystyka]\nWygrane=10\n"
                          "Przegrane=20\nFundusz=4500\r\n\n[Koniec]\nx=1");
    EXPECT_EQ(Read(), (Stored{10, 20, 4500}));
}

TEST_F(StatisticsFile, AWriteThatCannotHappenReportsThePath)
{
    // Root may write anywhere, but nobody can create a file under a regular file.
    const std::string blocked = (dir / "plik" / "wirtola.ini").string();
    std::ofstream(dir / "plik") << "x";
    session::SetStatisticsFilePath(blocked);
    try {
        session::save_inifile(Values({1, 2, 3}));
        ADD_FAILURE() << "save_inifile did not throw";
    } catch (const session::WriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + blocked);
    }
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
}

TEST_F(StatisticsFile, KeysWrittenBeforeAFailureStayWritten)
{
    Put("[Statystyka]\r\nWygrane=1\r\nPrzegrane=2\r\nFundusz=3\r\n");
    int writes = 0;
    session::profile::SetBeforeReplaceHook([&](const std::string&) { return ++writes < 2; });
    EXPECT_THROW(session::save_inifile(Values({10, 20, 30})), session::WriteError);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(Contents(), "[Statystyka]\r\nWygrane=10\r\nPrzegrane=2\r\nFundusz=3\r\n");
    EXPECT_EQ(Folder(), std::vector<std::string>{"wirtola.ini"});
}

TEST_F(StatisticsFile, ACrashBeforeTheRenameLeavesTheOldFile)
{
    const std::string old = "[Statystyka]\r\nWygrane=1\r\nPrzegrane=2\r\nFundusz=3\r\n";
    Put(old);
    EXPECT_EXIT(
        {
            session::profile::SetBeforeReplaceHook([](const std::string&) -> bool { _exit(3); });
            session::save_inifile(Values({10, 20, 30}));
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(Contents(), old);
    EXPECT_EQ(Read(), (Stored{1, 2, 3}));
    // The next save goes through despite the temporary file the crash left.
    session::save_inifile(Values({10, 20, 30}));
    EXPECT_EQ(Read(), (Stored{10, 20, 30}));
}

TEST_F(StatisticsFile, SaveKeepsPermissionsAndLinks)
{
    const fs::path real = dir / "gdzie" / "staty.ini";
    fs::create_directory(real.parent_path());
    std::ofstream(real) << "[Statystyka]\nFundusz=7\n";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, path);

    session::save_inifile(Values({1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Contents(real.string()), "[Statystyka]\nFundusz=3\nWygrane=1\r\nPrzegrane=2\r\n");
}

TEST_F(StatisticsFile, ANewFileGetsTheUsualPermissions)
{
    const mode_t mask = umask(022);
    session::save_inifile(Values({1, 2, 3}));
    umask(mask);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(StatisticsFile, ADanglingLinkIsNoFileAndTheSaveCreatesItsTarget)
{
    const fs::path target = dir / "nowy.ini";
    fs::create_symlink(target, path);
    EXPECT_EQ(Read(), (Stored{0, 0, 3000}));
    session::save_inifile(Values({1, 2, 3}));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(Contents(target.string()), "[Statystyka]\r\nWygrane=1\r\nPrzegrane=2\r\nFundusz=3\r\n");
}

TEST_F(StatisticsFile, WhatIsNotAFileIsNeitherReadNorOverwritten)
{
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"folder", [](const std::string& p) { fs::create_directory(p); }},
        {"pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }},
        {"link loop", [](const std::string& p) { fs::create_symlink(p, p); }},
        {"file too big to be ours", [](const std::string& p) {
             std::ofstream(p) << "[Statystyka]\nFundusz=1\n";
             fs::resize_file(p, 300u * 1024 * 1024); // sparse: costs no disk
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(path);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Read({4, 6, 500}), (Stored{4, 6, 500}));
        EXPECT_THROW(session::save_inifile(Values({1, 2, 3})), session::WriteError);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(Folder(), std::vector<std::string>{"wirtola.ini"});
        fs::remove(path);
    }
}

TEST_F(StatisticsFile, LongLinesAndJunkAreReadThrough)
{
    std::string text(3'000'000, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>((i * 7919) % 251); // junk with CRs, LFs, brackets and NULs
    }
    text += "\n" + std::string(1'000'000, 'x') + "=" + std::string(1'000'000, '9') + "\n";
    text += "[Statystyka]\nWygrane=" + std::string(1'000'000, ' ') + "12\n";
    text += "Przegrane=" + std::string(1'000'000, '0') + "34\nFundusz=" + std::string(1'000'000, '7') + "\n";
    Put(text);
    EXPECT_EQ(Read({4, 6, 500}), (Stored{12, 34, 500}));
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
    };
    for (const auto& [executable, want] : cases) {
        SCOPED_TRACE(executable);
        EXPECT_EQ(session::StatisticsFilePathFor(executable), want);
    }
}

TEST(StatisticsPath, LiesBesideTheRunningProgram)
{
    session::SetStatisticsFilePath("");
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(session::StatisticsFilePath(), self + ".ini");
    session::SetStatisticsFilePath("/tmp/inny.ini");
    EXPECT_EQ(session::StatisticsFilePath(), "/tmp/inny.ini");
    session::SetStatisticsFilePath("");
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
        {"\xD9\xA3", std::nullopt}, // Arabic-Indic three
        {"\xEF\xBC\x95", std::nullopt}, // full-width five
    };
    for (const auto& [text, want] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(session::ParseWholeNumber(text), want);
    }
}

} // namespace
