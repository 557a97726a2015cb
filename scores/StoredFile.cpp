#include "scores/StoredFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <sys/random.h>
#include <unistd.h>

namespace scores::profile {

namespace {

constexpr std::string_view TemporarySuffix = ".tmp";

BeforeReplaceHook beforeReplace;
SyncHook syncHook;

int Sync(int fd)
{
    return syncHook ? syncHook(fd) : fsync(fd);
}

WriteFailure FailureOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return WriteFailure::NoSpace;
    case EROFS:
        return WriteFailure::ReadOnlyDisk;
    case EACCES:
    case EPERM:
        return WriteFailure::NoPermission;
    case ENOENT:
    case ENOTDIR:
        return WriteFailure::NoFolder;
    default:
        return WriteFailure::Failed;
    }
}

// The last name of a path; "." where it has none ("/", or a name ending in a slash).
std::string NameOf(const std::string& path)
{
    std::string name = path.substr(path.rfind('/') + 1); // npos + 1 == 0
    return name.empty() ? "." : name;
}

// A path as a link's target may give it: without the slashes at its end, which would only say
// that a folder is meant, and "/" for the root.
std::string WithoutEndingSlashes(std::string path)
{
    while (path.size() > 1 && path.ends_with('/')) {
        path.pop_back();
    }
    return path;
}

// The target of the link open at `link`, read from that very link whatever its name names now.
bool ReadLinkAt(int link, off_t size, std::string& target)
{
    target.assign(static_cast<std::size_t>(size > 0 ? size : 4095) + 1, '\0');
    const ssize_t n = readlinkat(link, "", target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) {
        return false;
    }
    target.resize(static_cast<std::size_t>(n));
    return true;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Sixteen hex digits nobody can guess, so that names planted beforehand cannot block a save.
std::string RandomPart()
{
    unsigned char bytes[8] = {};
    for (std::size_t got = 0; got < sizeof bytes;) {
        const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
        if (n <= 0 && errno != EINTR) {
            break; // the name is still made unique by O_EXCL; it is only guessable
        }
        got += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    char hex[sizeof bytes * 2 + 1];
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        std::snprintf(hex + 2 * i, 3, "%02x", bytes[i]);
    }
    return hex;
}

// A fresh file "<name>.<pid>.<random>.tmp" in the folder, created exclusively so that nothing
// already there is reused or followed.
int CreateTemporary(int folder, const std::string& name, std::string& temporary)
{
    constexpr int Attempts = 100;
    for (int i = 0; i < Attempts; ++i) {
        temporary = name + "." + std::to_string(getpid()) + "." + RandomPart() + std::string(TemporarySuffix);
        const int fd = openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool IsDigits(std::string_view s, bool hex)
{
    if (s.empty() || s.size() > 32) {
        return false;
    }
    for (const char c : s) {
        if (!((c >= '0' && c <= '9') || (hex && c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// The process id in a name "<file>.<pid>.<part>.tmp" that CreateTemporary made for `fileName`
// (the part is hexadecimal; older versions wrote a decimal counter there), or 0 when the name
// is of any other form.
pid_t TemporaryOwner(std::string_view name, std::string_view fileName)
{
    if (!name.starts_with(fileName) || !name.ends_with(TemporarySuffix)
        || name.size() <= fileName.size() + TemporarySuffix.size() || name[fileName.size()] != '.') {
        return 0;
    }
    const std::string_view middle =
        name.substr(fileName.size() + 1, name.size() - fileName.size() - 1 - TemporarySuffix.size());
    const std::size_t dot = middle.find('.');
    if (dot == std::string_view::npos) {
        return 0;
    }
    const std::string_view pid = middle.substr(0, dot);
    if (!IsDigits(pid, false) || pid.size() > 10 || pid.front() == '0' || !IsDigits(middle.substr(dot + 1), true)) {
        return 0;
    }
    const long long number = std::stoll(std::string(pid));
    return number <= 0x7FFFFFFF ? static_cast<pid_t>(number) : 0;
}

// A crash between creating the temporary file and the rename leaves it behind; once its
// process is gone nobody will finish it. Only our own files are touched.
void RemoveStaleTemporaries(int folder, const std::string& fileName)
{
    const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return;
    }
    DIR* dir = fdopendir(listing);
    if (!dir) {
        close(listing);
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const pid_t owner = TemporaryOwner(entry->d_name, fileName);
        if (owner == 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat st {};
        if (fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && st.st_uid == geteuid()) {
            unlinkat(folder, entry->d_name, 0);
        }
    }
    closedir(dir);
}

bool FlushFolder(int folder)
{
    // Some file systems cannot flush a folder at all; for them the rename is as durable as it gets.
    return Sync(folder) == 0 || errno == EINVAL;
}

bool ReadAll(int fd, off_t size, std::string& out)
{
    try {
        std::string text(static_cast<std::size_t>(size) + 1, '\0');
        std::size_t used = 0;
        for (;;) {
            if (used == text.size()) {
                if (used > static_cast<std::size_t>(MaxFileSize)) {
                    return false; // grew past the limit while being read
                }
                text.resize(text.size() * 2);
            }
            const ssize_t n = read(fd, text.data() + used, text.size() - used);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return false;
            }
            if (n == 0) {
                text.resize(used);
                out = std::move(text);
                return true;
            }
            used += static_cast<std::size_t>(n);
        }
    } catch (const std::bad_alloc&) {
        return false; // too big to hold: treated like any other file that cannot be read
    }
}

// The name `path` ends in, in its folder opened by path, before any of its links is followed.
ResolvedPath Unresolved(const std::string& path)
{
    ResolvedPath resolved;
    resolved.path = path;
    resolved.name = NameOf(path);
    resolved.folder = Descriptor(open(FolderOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    resolved.folderError = resolved.folder.valid() ? 0 : errno;
    return resolved;
}

// Follows the links at `resolved`'s name, one at a time: in a folder others may write, or
// everywhere with `onlyOwnLinks`, another user's link stops the chain and is refused.
void FollowLinks(ResolvedPath& resolved, bool onlyOwnLinks)
{
    constexpr int MaxLinks = 40;
    for (int i = 0; i < MaxLinks && resolved.folder.valid(); ++i) {
        const Descriptor link(openat(resolved.folder.get(), resolved.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!link.valid() || fstat(link.get(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return; // the file itself, or nothing yet: that is where a save lands
        }
        struct stat folder {};
        if (st.st_uid != geteuid()
            && (onlyOwnLinks || fstat(resolved.folder.get(), &folder) != 0 || OthersMayWrite(folder))) {
            resolved.refusal = WriteFailure::ForeignEntry;
            return;
        }
        std::string target;
        if (!ReadLinkAt(link.get(), st.st_size, target)) {
            return; // left as a link, which no open below follows
        }
        target = WithoutEndingSlashes(target);
        const bool absolute = target.front() == '/';
        resolved.folder = Descriptor(openat(absolute ? AT_FDCWD : resolved.folder.get(), FolderOf(target).c_str(),
                                            O_PATH | O_DIRECTORY | O_CLOEXEC));
        resolved.folderError = resolved.folder.valid() ? 0 : errno;
        const std::size_t slash = resolved.path.rfind('/');
        resolved.path = (absolute || slash == std::string::npos) ? target : resolved.path.substr(0, slash + 1) + target;
        resolved.name = NameOf(target);
    }
}

// The folder holding `path`, reached through the player's own links only, when the player owns
// it and nobody else may write it; otherwise an invalid descriptor, with `refusal` set to
// ForeignFolder or `error` to why it could not be opened.
Descriptor OpenPrivateFolder(const std::string& path, int& error, WriteFailure& refusal)
{
    ResolvedPath folder = Unresolved(FolderOf(path));
    FollowLinks(folder, true);
    if (folder.refusal != WriteFailure::None) {
        refusal = WriteFailure::ForeignFolder;
        return {};
    }
    if (!folder.folder.valid()) {
        error = folder.folderError;
        return {};
    }
    Descriptor opened(openat(folder.folder.get(), folder.name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!opened.valid()) {
        error = errno;
        return {};
    }
    struct stat st {};
    if (fstat(opened.get(), &st) != 0 || st.st_uid != geteuid() || OthersMayWrite(st)) {
        refusal = WriteFailure::ForeignFolder;
        return {};
    }
    return opened;
}

} // namespace

bool OthersMayWrite(const struct stat& folder)
{
    return (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

Descriptor::~Descriptor()
{
    if (fd_ >= 0) {
        close(fd_);
    }
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

ResolvedPath ResolveLinks(const std::string& path, bool privateFolder)
{
    if (!privateFolder) {
        ResolvedPath resolved = Unresolved(path);
        FollowLinks(resolved, false);
        return resolved;
    }
    ResolvedPath resolved;
    resolved.path = path;
    resolved.name = NameOf(path);
    resolved.folder = OpenPrivateFolder(path, resolved.folderError, resolved.refusal);
    // Only the player can have put a link in a private folder; any other is refused.
    FollowLinks(resolved, true);
    return resolved;
}

StoredFile::StoredFile(const std::string& path, bool privateFolder)
{
    const ResolvedPath resolved = ResolveLinks(path, privateFolder);
    if (resolved.refusal != WriteFailure::None) {
        state_ = FileState::Unreadable;
        refusal_ = resolved.refusal;
        return;
    }
    folderPath_ = FolderOf(resolved.path);
    name_ = resolved.name;
    // The folder the links led to, opened again for reading its names and for its flush.
    folder_ = resolved.folder.valid() ? openat(resolved.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (folder_ < 0) {
        const int error = resolved.folder.valid() ? errno : resolved.folderError;
        state_ = (error == ENOENT || error == ENOTDIR) ? FileState::Missing : FileState::Unreadable;
        refusal_ = FailureOf(error);
        return;
    }
    struct stat folder {};
    const bool shared = fstat(folder_, &folder) != 0 || OthersMayWrite(folder);
    // O_NOFOLLOW: the links were followed above, as far as they may be; O_NONBLOCK: a pipe
    // standing where the file should be must not hang the program.
    const int fd = openat(folder_, name_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        const int error = errno;
        state_ = (error == ENOENT) ? FileState::Missing : FileState::Unreadable;
        refusal_ = error == ENOENT ? WriteFailure::None
            : (error == EACCES)    ? WriteFailure::NoPermission
                                   : WriteFailure::NotAFile;
        return;
    }
    state_ = FileState::Unreadable;
    refusal_ = WriteFailure::NotAFile;
    const bool isFile = fstat(fd, &read_) == 0 && S_ISREG(read_.st_mode);
    if (isFile && read_.st_size > MaxFileSize) {
        refusal_ = WriteFailure::TooBig; // neither read nor replaced: it is not ours
    } else if (isFile && ReadAll(fd, read_.st_size, text_)) {
        state_ = FileState::Readable;
        hadFile_ = true;
        refusal_ = WriteFailure::None;
        // A file we may not write, or one with no write bit at all (which root could still
        // write), was made read-only on purpose; another user's file in a shared folder is
        // not ours to replace.
        if ((read_.st_mode & 0222) == 0 || faccessat(folder_, name_.c_str(), W_OK, AT_EACCESS) != 0) {
            refusal_ = WriteFailure::ReadOnly;
        } else if (shared && read_.st_uid != geteuid()) {
            refusal_ = WriteFailure::ForeignEntry;
        }
    }
    close(fd);
}

StoredFile::~StoredFile()
{
    if (folder_ >= 0) {
        close(folder_);
    }
}

bool StoredFile::IsTheFileRead(const struct stat& st) const
{
    return st.st_dev == read_.st_dev && st.st_ino == read_.st_ino;
}

WriteFailure StoredFile::Replace(std::string_view text)
{
    if (refusal_ != WriteFailure::None) {
        return refusal_;
    }
    RemoveStaleTemporaries(folder_, name_);

    std::string temporary;
    const int fd = CreateTemporary(folder_, name_, temporary);
    if (fd < 0) {
        const int error = errno;
        if (hadFile_ && (error == EACCES || error == EPERM)) {
            return RewriteInPlace(text);
        }
        return FailureOf(error);
    }
    WriteFailure failure = WriteFailure::None;
    const auto check = [&failure](bool ok) {
        if (!ok && failure == WriteFailure::None) {
            failure = FailureOf(errno);
        }
        return ok;
    };
    bool ok = check(WriteAll(fd, text));
    if (ok && hadFile_) {
        // Owner first: changing it may clear the set-id bits that fchmod then restores. A
        // non-root player may not give the file away, and then keeping the mode is enough.
        ok = check((fchown(fd, read_.st_uid, read_.st_gid) == 0 || errno == EPERM)
                   && fchmod(fd, read_.st_mode & 07777) == 0);
    }
    ok = ok && check(Sync(fd) == 0);
    ok = check(close(fd) == 0) && ok;
    if (ok && beforeReplace && !beforeReplace(folderPath_ + "/" + temporary)) {
        ok = false;
        failure = WriteFailure::Failed;
    }
    if (ok) {
        failure = Exchange(temporary);
    }
    if (failure != WriteFailure::None) {
        unlinkat(folder_, temporary.c_str(), 0);
        return failure;
    }
    return FlushFolder(folder_) ? WriteFailure::None : FailureOf(errno);
}

// The one rename of a save. Where the file system can swap two names at once, the new file
// takes the name and the old one is looked at afterwards: only when it is the file that was
// read does the swap stand, so nothing put under the name meanwhile is ever replaced.
WriteFailure StoredFile::Exchange(const std::string& temporary)
{
    const char* from = temporary.c_str();
    const char* to = name_.c_str();
    struct stat now {};
    if (!hadFile_) {
        if (renameat2(folder_, from, folder_, to, RENAME_NOREPLACE) == 0) {
            return WriteFailure::None;
        }
        if (errno == EEXIST) {
            return WriteFailure::NameChanged;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return FailureOf(errno);
        }
        if (fstatat(folder_, to, &now, AT_SYMLINK_NOFOLLOW) == 0) {
            return WriteFailure::NameChanged;
        }
        return renameat(folder_, from, folder_, to) == 0 ? WriteFailure::None : FailureOf(errno);
    }
    if (renameat2(folder_, from, folder_, to, RENAME_EXCHANGE) == 0) {
        if (fstatat(folder_, from, &now, AT_SYMLINK_NOFOLLOW) == 0 && IsTheFileRead(now)) {
            unlinkat(folder_, from, 0); // the old file, now under the temporary name
            return WriteFailure::None;
        }
        renameat2(folder_, from, folder_, to, RENAME_EXCHANGE); // give the newcomer its name back
        return WriteFailure::NameChanged;
    }
    if (errno == ENOENT) {
        return WriteFailure::NameChanged; // the file is gone from under its name
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return FailureOf(errno);
    }
    // A file system that cannot swap: look, then rename.
    if (fstatat(folder_, to, &now, AT_SYMLINK_NOFOLLOW) != 0 || !IsTheFileRead(now)) {
        return WriteFailure::NameChanged;
    }
    return renameat(folder_, from, folder_, to) == 0 ? WriteFailure::None : FailureOf(errno);
}

// For a writable file in a folder that takes no new files, where no rename can happen: the
// whole text written over the old at once, then the rest cut off. A power cut in the middle
// could leave a mix of old and new, so this serves only where the rename cannot.
WriteFailure StoredFile::RewriteInPlace(std::string_view text)
{
    const int fd = openat(folder_, name_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        return errno == ELOOP || errno == ENOENT ? WriteFailure::NameChanged : FailureOf(errno);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !IsTheFileRead(st)) {
        close(fd);
        return WriteFailure::NameChanged;
    }
    WriteFailure failure = WriteFailure::None;
    std::size_t done = 0;
    while (failure == WriteFailure::None && done < text.size()) {
        const ssize_t n = pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failure = FailureOf(n < 0 ? errno : EIO);
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    if (failure == WriteFailure::None && ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
        failure = FailureOf(errno);
    }
    if (failure == WriteFailure::None && Sync(fd) != 0) {
        failure = FailureOf(errno);
    }
    if (close(fd) != 0 && failure == WriteFailure::None) {
        failure = FailureOf(errno);
    }
    return failure;
}

LoadedFile LoadFile(const std::string& path, bool privateFolder)
{
    const StoredFile file(path, privateFolder);
    return {file.state(), file.text(), file.refusal()};
}

void SetBeforeReplaceHook(BeforeReplaceHook hook)
{
    beforeReplace = std::move(hook);
}

void SetSyncHook(SyncHook hook)
{
    syncHook = std::move(hook);
}

} // namespace scores::profile
