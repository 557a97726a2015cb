#include "scores/StatisticsLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace scores {

StatisticsLock::StatisticsLock(const std::string& statisticsPath, bool privateFolder)
    : statisticsPath_(statisticsPath)
    , privateFolder_(privateFolder)
{
    // Links resolved, so games reaching one file by different names still meet at one lock.
    profile::ResolvedPath resolved = profile::ResolveLinks(statisticsPath, privateFolder);
    lockPath_ = resolved.path + ".lock";
    lockName_ = resolved.name + ".lock";
    folder_ = std::move(resolved.folder);
    if (resolved.refusal == profile::WriteFailure::ForeignEntry) {
        state_ = State::Refused;
    } else if (resolved.refusal == profile::WriteFailure::None) {
        state_ = Take();
    }
}

void StatisticsLock::FindFolderAgain()
{
    struct stat held {};
    struct stat named {};
    const std::string folder = profile::FolderOf(lockPath_);
    if (folder_.valid() && fstat(folder_.get(), &held) == 0 && stat(folder.c_str(), &named) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        return;
    }
    profile::ResolvedPath resolved = profile::ResolveLinks(statisticsPath_, privateFolder_);
    if (resolved.refusal == profile::WriteFailure::None && resolved.folder.valid()) {
        lockPath_ = resolved.path + ".lock";
        lockName_ = resolved.name + ".lock";
        folder_ = std::move(resolved.folder);
    }
}

StatisticsLock::~StatisticsLock()
{
    if (fd_ >= 0) {
        close(fd_); // releases the lock; the file stays for the next game to lock
    }
}

StatisticsLock::State StatisticsLock::Take()
{
    if (!folder_.valid()) {
        return State::Unavailable;
    }
    const int folder = folder_.get();
    const char* name = lockName_.c_str();
    // O_NOFOLLOW: a link planted under the lock's name must not make us create files elsewhere.
    constexpr int Flags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
    int fd = openat(folder, name, O_RDWR | O_CREAT | Flags, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        // A folder we cannot write may still hold a lock file from its owner: flock needs no write.
        fd = openat(folder, name, O_RDONLY | Flags);
    }
    const int openError = errno;
    struct stat folderStat {};
    struct stat st {};
    const bool folderKnown = fstat(folder, &folderStat) == 0;
    if (fd < 0) {
        return openError == ELOOP ? State::Refused : State::Unavailable;
    }
    // Only our own lock file, root's, or that of the owner of a folder nobody else may write
    // can be trusted to stand for this player's games.
    const bool trusted = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && folderKnown
        && (st.st_uid == geteuid() || st.st_uid == 0
            || (st.st_uid == folderStat.st_uid && !profile::OthersMayWrite(folderStat)));
    if (!trusted) {
        close(fd);
        return State::Refused;
    }
    int result = 0;
    do {
        result = flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const State state = errno == EWOULDBLOCK ? State::InUse : State::Unavailable;
        close(fd);
        return state;
    }
    fd_ = fd;
    return State::Held;
}

profile::WriteFailure StatisticsLock::Confirm()
{
    if (lost_) {
        return profile::WriteFailure::OtherGame;
    }
    if (state_ != State::Held) {
        return profile::WriteFailure::None; // an unlocked game saves as it always did
    }
    struct stat held {};
    struct stat named {};
    if (fd_ >= 0 && fstat(fd_, &held) == 0
        && fstatat(folder_.get(), lockName_.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino) {
        return profile::WriteFailure::None;
    }
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    FindFolderAgain();
    switch (Take()) {
    case State::Held:
        return profile::WriteFailure::None;
    case State::InUse:
        // Another game started on the file while the lock was gone; its totals are newer than
        // ours, so this game writes nothing over them from now on.
        lost_ = true;
        return profile::WriteFailure::OtherGame;
    case State::Refused:
        return profile::WriteFailure::ForeignEntry;
    case State::Unavailable:
        break;
    }
    return profile::WriteFailure::Failed; // tried again at the next save
}

} // namespace scores
