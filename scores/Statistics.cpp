#include "scores/Statistics.h"

#include "engine/Engine.h"
#include "scores/Profile.h"
#include "scores/StatisticsLock.h"
#include "scores/TextEncoding.h"
#include "scores/WholeNumber.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace scores {

namespace {

std::optional<StatisticsPlace> placeOverride;
StatisticsLock* heldLock = nullptr;

using profile::FolderOf;
using profile::WriteFailure;

void ReadInteger(std::string_view text, std::string_view key, std::int32_t& value)
{
    if (const auto stored = profile::FindValue(text, StatisticsSection, key)) {
        if (const auto number = ParseWholeNumber(*stored)) {
            value = *number;
        }
    }
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

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Like "mkdir -p" for the folders below `base` that `folder` lacks, each private to the player.
// The base itself is never made: a home that is not there is a mistake to report, not to build.
bool MakeFolders(const std::string& base, const std::string& folder)
{
    if (!IsFolder(base) || !folder.starts_with(base)) {
        return false;
    }
    for (std::size_t slash = folder.find('/', base.size() + (base.ends_with('/') ? 0 : 1));;
         slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) == 0) {
            // Whatever the umask took away, on the folder just made, never through a link put there.
            const profile::Descriptor made(open(part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (made.valid()) {
                fchmod(made.get(), 0700);
            }
        }
        if (slash == std::string::npos) {
            return IsFolder(folder);
        }
    }
}

// In a folder other users may write: a link, file or lock there that is not ours.
bool ForeignEntriesBeside(const std::string& file)
{
    struct stat folder {};
    if (stat(FolderOf(file).c_str(), &folder) != 0 || !profile::OthersMayWrite(folder)) {
        return false;
    }
    struct stat st {};
    const bool foreignFile = lstat(file.c_str(), &st) == 0 && st.st_uid != geteuid();
    const std::string lock = file + ".lock";
    const bool foreignLock = lstat(lock.c_str(), &st) == 0 && (S_ISLNK(st.st_mode) || st.st_uid != geteuid());
    return foreignFile || foreignLock;
}

// The close signals wait while a save writes, so that a burst of them can never cut one short.
class CloseSignalsHeld {
public:
    CloseSignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            sigaddset(&held, signal);
        }
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~CloseSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    CloseSignalsHeld(const CloseSignalsHeld&) = delete;
    CloseSignalsHeld& operator=(const CloseSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

const StatisticsPlace& CurrentPlace()
{
    if (placeOverride) {
        return *placeOverride;
    }
    static const StatisticsPlace chosen = ChooseStatisticsPlace(ExecutablePath(), BuiltForInstalling());
    return chosen;
}

} // namespace

WriteError::WriteError(const std::string& path, WriteFailure cause)
    : std::runtime_error("Unable to write to " + path)
    , cause_(cause)
{
}

std::string ExecutablePath()
{
    constexpr std::string_view Deleted = " (deleted)";
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n <= 0) {
            return "wirtola";
        }
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    // A program rebuilt while it runs is reported with this mark; its statistics stay beside it.
    struct stat st {};
    if (path.ends_with(Deleted) && lstat(path.c_str(), &st) != 0) {
        path.resize(path.size() - Deleted.size());
    }
    return path;
}

// The installed program links a definition of its own that says true (program/Installed.cpp),
// so the package is made from the very build the tests ran; a weak one is never inlined.
[[gnu::weak]] bool BuiltForInstalling()
{
    return false;
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

StatisticsPlace PerUserStatisticsPlace()
{
    const auto below = [](const std::string& folder, std::string_view rest) {
        return folder + (folder.ends_with('/') ? "" : "/") + std::string(rest);
    };
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') {
        return {.path = below(dataHome, "wirtola/wirtola.ini"),
                .perUser = true,
                .base = dataHome,
                .avoidedSharedFolder = false};
    }
    const std::string home = Home();
    if (home.empty()) {
        return {};
    }
    return {.path = below(home, ".local/share/wirtola/wirtola.ini"),
            .perUser = true,
            .base = home,
            .avoidedSharedFolder = false};
}

std::string PerUserStatisticsFilePath()
{
    return PerUserStatisticsPlace().path;
}

StatisticsPlace ChooseStatisticsPlace(const std::string& executable, bool perUserOnly)
{
    const std::string beside = StatisticsFilePathFor(executable);
    bool avoided = false;
    if (!perUserOnly) {
        // The save lands where the links lead, so that is the place that must take it.
        const profile::ResolvedPath target = profile::ResolveLinks(beside);
        avoided = target.refusal == WriteFailure::ForeignEntry || ForeignEntriesBeside(target.path);
        if (!avoided && (CanWrite(FolderOf(target.path)) || IsWritableFile(target.path))) {
            return StatisticsPlace{.path = beside, .perUser = false, .base = {}, .avoidedSharedFolder = false};
        }
    }
    StatisticsPlace perUser = PerUserStatisticsPlace();
    if (perUser.path.empty()) {
        return StatisticsPlace{.path = beside, .perUser = false, .base = {}, .avoidedSharedFolder = avoided};
    }
    perUser.avoidedSharedFolder = avoided;
    // Scores the player may have kept there stay as they are; the player is told where they are.
    if (!perUserOnly && profile::LoadFile(beside).state == profile::FileState::Readable) {
        perUser.leftBehind = beside;
    }
    return perUser;
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
        placeOverride = StatisticsPlace{.path = path, .perUser = false, .base = {}, .avoidedSharedFolder = false};
    }
}

void SetStatisticsPlace(const StatisticsPlace& place)
{
    placeOverride = place;
}

const StatisticsPlace& CurrentStatisticsPlace()
{
    return CurrentPlace();
}

void SetStatisticsLock(StatisticsLock* lock)
{
    heldLock = lock;
}

profile::WriteFailure ConfirmStatisticsLock()
{
    return heldLock ? heldLock->Confirm() : WriteFailure::None;
}

std::string WithValues(std::string_view text, const engine::SessionValues& values)
{
    std::string result(text);
    for (const StoredKey& stored : StoredKeys) {
        result = profile::WithValue(result, StatisticsSection, stored.key, std::to_string(values.*stored.value));
    }
    return result;
}

void ReadStatisticsText(std::string_view text, engine::SessionValues& values)
{
    for (const StoredKey& stored : StoredKeys) {
        ReadInteger(text, stored.key, values.*stored.value);
    }
    if (values.Fund < 1) {
        values.Fund = engine::StartingFund;
    }
}

WriteFailure read_inifile(engine::SessionValues& values)
{
    // A file that cannot be read is taken as no file: the session keeps its start values.
    const StatisticsPlace& place = CurrentPlace();
    const profile::LoadedFile file = profile::LoadFile(place.path, place.perUser);
    if (file.state == profile::FileState::Readable) {
        ReadStatisticsText(profile::DecodeText(file.text).text, values);
    }
    return file.refusal;
}

bool MakePrivateFolders(const std::string& base, const std::string& folder)
{
    return MakeFolders(base, folder);
}

WriteFailure PrepareStatisticsFolder()
{
    const StatisticsPlace& place = CurrentPlace();
    if (!place.perUser) {
        return WriteFailure::None;
    }
    if (!MakeFolders(place.base, FolderOf(place.path))) {
        return WriteFailure::NoFolder;
    }
    // The same look as every save takes, so that what start-up says is what the saves meet.
    const profile::ResolvedPath resolved = profile::ResolveLinks(place.path, true);
    return resolved.refusal == WriteFailure::ForeignFolder ? WriteFailure::ForeignFolder : WriteFailure::None;
}

void save_inifile(const engine::SessionValues& values)
{
    const CloseSignalsHeld held;
    const StatisticsPlace place = CurrentPlace();
    if (const WriteFailure folder = PrepareStatisticsFolder(); folder != WriteFailure::None) {
        throw WriteError(place.path, folder);
    }
    if (heldLock) {
        if (const WriteFailure failure = heldLock->Confirm(); failure != WriteFailure::None) {
            throw WriteError(place.path, failure);
        }
    }
    profile::StoredFile file(place.path, place.perUser);
    // Whatever stands there and cannot be read is not ours to overwrite.
    if (file.state() == profile::FileState::Unreadable) {
        throw WriteError(place.path, file.refusal());
    }
    profile::DecodedText decoded = profile::DecodeText(file.text());
    decoded.text = WithValues(decoded.text, values);
    // One replacement for all three, so no crash can leave the counters out of step with the fund.
    if (const WriteFailure failure = file.Replace(profile::EncodeText(decoded)); failure != WriteFailure::None) {
        throw WriteError(place.path, failure);
    }
}

} // namespace scores
