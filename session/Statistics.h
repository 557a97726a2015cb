#pragma once

// The statistics file: wins, losses and the fund carried from one run to the next in an INI
// file beside the executable, named after it with the extension ".ini", or, where that place
// cannot be written or the program was built to be installed, in the user's data folder.

#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {
struct SessionValues;
}

namespace session {

// A save that could not be written. what() is "Unable to write to <path>" (UTF-8).
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const std::string& path);
};

// Where the statistics file of a run is.
struct StatisticsPlace {
    std::string path;
    // In the user's data folder: the first save makes the missing folders (mode 0700).
    bool perUser = false;
};

// The statistics file of this run: chosen once, at the first call, for the running program and
// kept for the rest of the run.
std::string StatisticsFilePath();
// Tests and benchmarks point the statistics at a file of their own; "" goes back to the real one.
void SetStatisticsFilePath(const std::string& path);
void SetStatisticsPlace(const StatisticsPlace& place);
// The statistics file that belongs to an executable: its extension replaced by ".ini", or
// ".ini" appended when the file name has none.
std::string StatisticsFilePathFor(const std::string& executable);
// $XDG_DATA_HOME/wirtola/wirtola.ini, with ~/.local/share for a data home that is unset, empty
// or relative, and the home from $HOME or else the password database; "" with no home at all.
std::string PerUserStatisticsFilePath();
// Beside the executable when that place can be written: its folder takes new files, or a
// writable file already stands there (a file made read-only does not count). Otherwise, and
// always when `perUserOnly` is set (an installed program never writes into its own folder), in
// the user's data folder.
StatisticsPlace ChooseStatisticsPlace(const std::string& executable, bool perUserOnly);

// Makes the per-user folder (private, mode 0700) when the statistics live there, so that the
// lock beside the file can be taken on a player's very first game too. Harmless when it fails.
void PrepareStatisticsFolder();

// Loads Wins, Losses and Fund when the file is there; a fund below 1 becomes 3000.
void read_inifile(engine::SessionValues& values);
// Writes Wins, Losses and Fund together, in one replacement of the file that is flushed to
// disk, in the file's own encoding. Throws WriteError; the file is then either as it was
// or wholly new, never half written.
void save_inifile(const engine::SessionValues& values);

// What read_inifile does with the file's text once it has it.
void ReadStatisticsText(std::string_view text, engine::SessionValues& values);

} // namespace session
