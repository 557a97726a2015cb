#pragma once

// The program's exit statuses, one meaning each; the manual page and the README list them.

namespace program::exit_status {

constexpr int Done = 0;
constexpr int OtherGame = 1;         // another game holds the statistics file
constexpr int BadUsage = 2;          // an option or argument the command line does not take
constexpr int NoDisplay = 3;         // no display to open, or the display went away
constexpr int LockRefused = 4;       // the statistics file's lock is a link or another user's
constexpr int HistoryUnreadable = 5; // --history: the record cannot be read whole
constexpr int OutputFailed = 6;      // standard output cannot be written

} // namespace program::exit_status
