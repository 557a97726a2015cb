#pragma once

// The statistics file: wins, losses and the fund carried from one run to the next in an INI
// file beside the executable, named after it with the extension ".ini", or, where that place
// cannot be written or the program was built to be installed, in the user's data folder.

#include "engine/Engine.h"
#include "scores/StoredFile.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scores {

class StatisticsLock;

// Every value the file carries: its key in the one section, and the session value it holds.
// Reading and saving both go through this table, in this order; a new stored value is one row.
struct StoredKey {
    std::string_view key;
    std::int32_t engine::SessionValues::*value;
};
inline constexpr std::string_view StatisticsSection = "Statystyka";
inline constexpr std::array<StoredKey, 3> StoredKeys{{
    {"Wygrane", &engine::SessionValues::Wins},
    {"Przegrane", &engine::SessionValues::Losses},
    {"Fundusz", &engine::SessionValues::Fund},
}};

// A save that could not be written. what() is "Unable to write to <path>" (UTF-8); cause()
// says why, for a short word to the player.
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const std::string& path, profile::WriteFailure cause = profile::WriteFailure::Failed);
    profile::WriteFailure cause() const { return cause_; }

private:
    profile::WriteFailure cause_;
};

// Where the statistics file of a run is.
struct StatisticsPlace {
    std::string path;
    // In the user's data folder: the first save makes the missing folders (mode 0700) below
    // `base` (the data home or the home folder), which must exist.
    bool perUser = false;
    std::string base;
    // The program's own folder was passed over because other users may write there and had
    // left a link, a file or a lock of theirs in it.
    bool avoidedSharedFolder = false;
    // A readable statistics file beside the program that this run leaves as it is, because its
    // scores are kept in the per-user file instead; "" for none.
    std::string leftBehind = {};
};

// The statistics file of this run: chosen once, at the first call, for the running program and
// kept for the rest of the run.
std::string StatisticsFilePath();
// Tests and benchmarks point the statistics at a file of their own; "" goes back to the real one.
void SetStatisticsFilePath(const std::string& path);
void SetStatisticsPlace(const StatisticsPlace& place);
const StatisticsPlace& CurrentStatisticsPlace();
// True for the program built to be installed, which never writes into its own folder.
bool BuiltForInstalling();
// Full path of the running executable; "wirtola" in the current folder if it cannot be found.
std::string ExecutablePath();
// The statistics file that belongs to an executable: its extension replaced by ".ini", or
// ".ini" appended when the file name has none.
std::string StatisticsFilePathFor(const std::string& executable);
// $XDG_DATA_HOME/wirtola/wirtola.ini, with ~/.local/share for a data home that is unset, empty
// or relative, and the home from $HOME or else the password database; path "" with no home at
// all.
StatisticsPlace PerUserStatisticsPlace();
std::string PerUserStatisticsFilePath();
// Beside the executable when that place can be written: its folder takes new files, or a
// writable file already stands there (a file made read-only does not count). Otherwise, and
// always when `perUserOnly` is set (an installed program never writes into its own folder), in
// the user's data folder; there too when other users may write the program's folder and have
// left a link, the file or the lock there. A readable file left beside the program is named in
// `leftBehind`.
StatisticsPlace ChooseStatisticsPlace(const std::string& executable, bool perUserOnly);

// Makes the per-user folder (private, mode 0700) when the statistics live there, so that the
// lock beside the file can be taken on a player's very first game too. Makes nothing where the
// base folder is missing (NoFolder). ForeignFolder when the folder is not the player's alone:
// another user's, or one others may write; no save goes there then.
profile::WriteFailure PrepareStatisticsFolder();

// The lock a save must still hold before it writes (see StatisticsLock::Confirm); nullptr for
// none. The game sets it for as long as it holds the lock.
void SetStatisticsLock(StatisticsLock* lock);
// What the lock says before a write beside the statistics file (the record of play): None when
// no lock is held or it is still ours.
profile::WriteFailure ConfirmStatisticsLock();

// Like "mkdir -p" below `base`, each folder made private to the player; false when `folder`
// is not there afterwards.
bool MakePrivateFolders(const std::string& base, const std::string& folder);

// Loads Wins, Losses and Fund when the file is there; a fund below 1 becomes 3000. Returns why
// no save may replace the file it found (TooBig for a file it would not read), else None.
profile::WriteFailure read_inifile(engine::SessionValues& values);
// Writes Wins, Losses and Fund together, in one replacement of the file that is flushed to
// disk, in the file's own encoding; the termination signals wait until it is done. Throws
// WriteError; the file is then either as it was or wholly new, never half written.
void save_inifile(const engine::SessionValues& values);

// What read_inifile does with the file's text once it has it.
void ReadStatisticsText(std::string_view text, engine::SessionValues& values);
// The text with every stored value written into it, as a save writes it (decoded).
std::string WithValues(std::string_view text, const engine::SessionValues& values);

} // namespace scores
