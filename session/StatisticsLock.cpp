#include "session/StatisticsLock.h"

#include "session/Profile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace session {

StatisticsLock::StatisticsLock(const std::string& statisticsPath)
{
    // Links resolved, so games reaching one file by different names still meet at one lock.
    const std::string lockPath = profile::ResolveLinks(statisticsPath) + ".lock";
    // O_NOFOLLOW: a link planted under the lock's name must not make us create files elsewhere.
    fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
        // A folder we cannot write may still hold a lock file from its owner: flock needs no write.
        fd_ = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    }
    if (fd_ < 0) {
        return;
    }
    int result = 0;
    do {
        result = flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::InUse : State::Unavailable;
    close(fd_);
    fd_ = -1;
}

StatisticsLock::~StatisticsLock()
{
    if (fd_ >= 0) {
        close(fd_); // releases the lock; the file stays for the next game to lock
    }
}

} // namespace session
