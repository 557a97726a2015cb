#include "session/Statistics.h"

#include "engine/Engine.h"
#include "session/Profile.h"
#include "session/WholeNumber.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace session {

namespace {

constexpr std::string_view Section = "Statystyka";
constexpr std::string_view WinsKey = "Wygrane";
constexpr std::string_view LossesKey = "Przegrane";
constexpr std::string_view FundKey = "Fundusz";

// Set by the package build: the installed program keeps every player's file in their home.
#ifdef WIRTOLA_PER_USER_STATISTICS
constexpr bool PerUserBuild = true;
#else
constexpr bool PerUserBuild = false;
#endif

std::optional<StatisticsPlace> placeOverride;

void ReadInteger(std::string_view text, std::string_view key, std::int32_t& value)
{
    if (const auto stored = profile::FindValue(text, Section, key)) {
        if (const auto number = ParseWholeNumber(*stored)) {
            value = *number;
        }
    }
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool CanWrite(const std::string& path)
{
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool IsWritableFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && CanWrite(path);
}

std::string Home()
{
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : "";
}

// Like "mkdir -p" for the folders the user's data folder lacks, each private to the player.
void MakeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) == 0) {
            chmod(part.c_str(), 0700); // whatever the umask took away
        }
        if (slash == std::string::npos) {
            return;
        }
    }
}

const StatisticsPlace& CurrentPlace()
{
    if (placeOverride) {
        return *placeOverride;
    }
    static const StatisticsPlace chosen = ChooseStatisticsPlace(profile::ExecutablePath(), PerUserBuild);
    return chosen;
}

} // namespace

WriteError::WriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path)
{
}

std::string StatisticsFilePathFor(const std::string& executable)
{
    const std::size_t nameStart = executable.rfind('/') + 1; // npos + 1 == 0
    const std::size_t dot = executable.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        return executable + ".ini";
    }
    return executable.substr(0, dot) + ".ini";
}

std::string PerUserStatisticsFilePath()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (dataHome && dataHome[0] == '/') {
        folder = dataHome;
    } else {
        const std::string home = Home();
        if (home.empty()) {
            return "";
        }
        folder = home + (home.ends_with('/') ? "" : "/") + ".local/share";
    }
    return folder + (folder.ends_with('/') ? "" : "/") + "wirtola/wirtola.ini";
}

StatisticsPlace ChooseStatisticsPlace(const std::string& executable, bool perUserOnly)
{
    const std::string beside = StatisticsFilePathFor(executable);
    if (!perUserOnly) {
        // The save lands where the links lead, so that is the place that must take it.
        const std::string target = profile::ResolveLinks(beside);
        if (CanWrite(FolderOf(target)) || IsWritableFile(target)) {
            return {beside, false};
        }
    }
    const std::string perUser = PerUserStatisticsFilePath();
    return perUser.empty() ? StatisticsPlace{beside, false} : StatisticsPlace{perUser, true};
}

std::string StatisticsFilePath()
{
    return CurrentPlace().path;
}

void SetStatisticsFilePath(const std::string& path)
{
    if (path.empty()) {
        placeOverride.reset();
    } else {
        placeOverride = StatisticsPlace{path, false};
    }
}

void SetStatisticsPlace(const StatisticsPlace& place)
{
    placeOverride = place;
}

void ReadStatisticsText(std::string_view text, engine::SessionValues& values)
{
    ReadInteger(text, WinsKey, values.Wins);
    ReadInteger(text, LossesKey, values.Losses);
    ReadInteger(text, FundKey, values.Fund);
    if (values.Fund < 1) {
        values.Fund = engine::StartingFund;
    }
}

void read_inifile(engine::SessionValues& values)
{
    // A file that cannot be read is taken as no file: the session keeps its start values.
    const profile::LoadedFile file = profile::LoadFile(StatisticsFilePath());
    if (file.state == profile::FileState::Readable) {
        ReadStatisticsText(profile::DecodeText(file.text).text, values);
    }
}

void PrepareStatisticsFolder()
{
    const StatisticsPlace& place = CurrentPlace();
    if (place.perUser) {
        MakeFolders(FolderOf(place.path));
    }
}

void save_inifile(const engine::SessionValues& values)
{
    const StatisticsPlace place = CurrentPlace();
    PrepareStatisticsFolder(); // a failure here shows as a failed write below
    const profile::LoadedFile file = profile::LoadFile(place.path);
    // Whatever stands there and cannot be read is not ours to overwrite.
    if (file.state == profile::FileState::Unreadable) {
        throw WriteError(place.path);
    }
    profile::DecodedText decoded = profile::DecodeText(file.text);
    const std::array<std::pair<std::string_view, std::int32_t>, 3> entries{{
        {WinsKey, values.Wins},
        {LossesKey, values.Losses},
        {FundKey, values.Fund},
    }};
    for (const auto& [key, value] : entries) {
        decoded.text = profile::WithValue(decoded.text, Section, key, std::to_string(value));
    }
    // One replacement for all three, so no crash can leave the counters out of step with the fund.
    if (!profile::ReplaceFile(place.path, profile::EncodeText(decoded))) {
        throw WriteError(place.path);
    }
}

} // namespace session
