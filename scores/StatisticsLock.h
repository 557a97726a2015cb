#pragma once

// One game at a time per statistics file. Each game writes its own totals, so a second game on
// the same file would overwrite the first one's rounds. The lock is an advisory flock on
// "<statistics file>.lock" beside the file (the rename of a save does not touch it); the kernel
// lets go of it when its holder ends, even by a crash.

#include "scores/StoredFile.h"

#include <string>

namespace scores {

class StatisticsLock {
public:
    enum class State {
        Held,        // ours until this object goes
        InUse,       // another game holds it: that game owns the statistics for now
        Unavailable, // no lock file could be made or locked (a read-only folder): play unlocked
        Refused,     // the lock file is a link, or another user's: nobody can say who plays
    };

    // Tries once, without waiting, for the file at `statisticsPath` (after its links, which are
    // followed as a save follows them; `privateFolder` as for profile::ResolveLinks). A folder
    // that is not the player's alone gets no lock file: the game runs unlocked and saves nothing.
    explicit StatisticsLock(const std::string& statisticsPath, bool privateFolder = false);
    ~StatisticsLock();
    StatisticsLock(const StatisticsLock&) = delete;
    StatisticsLock& operator=(const StatisticsLock&) = delete;

    State state() const { return state_; }
    const std::string& path() const { return lockPath_; }

    // Before each save: a held lock must still be the file under the lock's name (someone may
    // have deleted or replaced it), else it is taken again. None when the save may go ahead;
    // OtherGame, from then on, once another game has taken the lock meanwhile.
    profile::WriteFailure Confirm();

private:
    State Take();
    // The folder resolved again from the statistics path when the held one has lost its name
    // (deleted with the lock during play, and made again by the next save).
    void FindFolderAgain();

    std::string statisticsPath_;
    bool privateFolder_ = false;
    std::string lockPath_;
    profile::Descriptor folder_; // where the links led, held so that the lock is always taken there
    std::string lockName_;       // the lock's name in that folder
    int fd_ = -1;
    State state_ = State::Unavailable;
    bool lost_ = false;
};

} // namespace scores
