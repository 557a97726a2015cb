#pragma once

// One game at a time per statistics file. Each game writes its own totals when it ends, so a
// second game on the same file would overwrite the first one's rounds. The lock is an
// advisory flock on "<statistics file>.lock" beside the file (the rename of a save does not
// touch it); the kernel lets go of it when its holder ends, even by a crash.

#include <string>

namespace session {

class StatisticsLock {
public:
    enum class State {
        Held,        // ours until this object goes
        InUse,       // another game holds it: that game owns the statistics for now
        Unavailable, // no lock file could be made or locked (a read-only folder): play unlocked
    };

    // Tries once, without waiting, for the file at `statisticsPath` (after its links).
    explicit StatisticsLock(const std::string& statisticsPath);
    ~StatisticsLock();
    StatisticsLock(const StatisticsLock&) = delete;
    StatisticsLock& operator=(const StatisticsLock&) = delete;

    State state() const { return state_; }

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
};

} // namespace session
