#pragma once

// The statistics file on disk, reached the way a save may reach it: links followed only where
// no other user could have planted them, the file read once through one handle of its folder,
// and replaced only while its name still stands for the file that was read. The replacement
// goes through a temporary file that is flushed and renamed over the old one, so a crash never
// leaves the file cut short.

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace scores::profile {

enum class FileState {
    Missing,    // nothing there: reading sees no file, writing starts from empty text
    Readable,   // a regular file whose bytes were read
    Unreadable, // something is there but cannot be read as a file: a folder, a device, a loop
};

// Why a file was not written.
enum class WriteFailure {
    None,
    ReadOnly,      // its owner made it read-only, or it is not ours to write
    NoPermission,  // the folder takes no new files from us
    NoSpace,       // the disk or the quota is full
    ReadOnlyDisk,  // the file system is mounted read-only
    NotAFile,      // a folder, a pipe, a loop of links
    TooBig,        // larger than any statistics file this game writes: somebody else's data
    ForeignEntry,  // in a folder others may write: another user's link, file or lock
    ForeignFolder, // the player's own folder for the statistics is another's, or others may write it
    NameChanged,   // the name stood for another file by the time of the replacement
    NoFolder,      // the folder the file belongs in is missing and may not be made
    OtherGame,     // another game has taken these statistics over
    Failed,        // any other input or output error
};

// A folder that users besides its owner may write: a group or world write bit.
bool OthersMayWrite(const struct stat& folder);

// An open descriptor, closed with its owner.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Where a name leads once its links are followed: the folder the last name is in, held open so
// that nothing looked at on the way can be swapped before it is used, and that name in it.
struct ResolvedPath {
    std::string path;    // where the chain of links ends
    Descriptor folder;   // opened with O_PATH; not valid when it could not be opened
    std::string name;    // the last name, to be opened relative to `folder`
    int folderError = 0; // errno of the folder that could not be opened
    // ForeignEntry where the chain stopped at another user's link in a folder others may write;
    // ForeignFolder when `privateFolder` was asked for and the folder is not the player's alone.
    WriteFailure refusal = WriteFailure::None;
};
// Follows a chain of symbolic links to the name a replacement lands on, one link at a time
// through descriptors: each link is opened without following it, its owner looked at on that
// descriptor and its target read from it, and the target opened relative to the folder already
// open. In a folder others may write, only our own links are followed: another user's stops the
// chain. With `privateFolder` the folder that `path` names its file in must be the player's and
// writable by nobody else, reached through the player's own links only.
ResolvedPath ResolveLinks(const std::string& path, bool privateFolder = false);

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// One read of the file at `path`, kept for one replacement of that same file.
class StoredFile {
public:
    // Opens the folder and reads the file; never blocks on a pipe and never throws for I/O.
    // `privateFolder` as for ResolveLinks.
    explicit StoredFile(const std::string& path, bool privateFolder = false);
    ~StoredFile();
    StoredFile(const StoredFile&) = delete;
    StoredFile& operator=(const StoredFile&) = delete;

    FileState state() const { return state_; }
    const std::string& text() const { return text_; }
    // Why no replacement may happen whatever the text; None when it may.
    WriteFailure refusal() const { return refusal_; }

    // Puts `text` in place of the file that was read (or makes it, where there was none),
    // keeping its permissions and owner, then flushes the folder. A file its owner made
    // read-only is left alone. Where the folder takes no temporary file but the file itself may
    // be written, it is rewritten in place. Temporary files of this file left behind by ended
    // processes are removed first. On any failure before the rename the old file is untouched.
    WriteFailure Replace(std::string_view text);

private:
    WriteFailure Exchange(const std::string& temporary);
    WriteFailure RewriteInPlace(std::string_view text);
    bool IsTheFileRead(const struct stat& st) const;

    std::string folderPath_;
    std::string name_;
    int folder_ = -1;
    FileState state_ = FileState::Missing;
    std::string text_;
    bool hadFile_ = false;
    struct stat read_ {};
    WriteFailure refusal_ = WriteFailure::None;
};

// Reads the whole file as a save would find it; refusal says why no save may replace it.
struct LoadedFile {
    FileState state = FileState::Missing;
    std::string text;
    WriteFailure refusal = WriteFailure::None;
};
LoadedFile LoadFile(const std::string& path, bool privateFolder = false);

// The largest statistics file that is read: far above anything this game writes (about sixty
// bytes), far below what would make every save a wait.
inline constexpr off_t MaxFileSize = off_t{1024} * 1024;

// Runs after the new text is on disk in the temporary file and before the rename. Returning
// false fails the write at that point. Tests use it to stand in for a crash or an I/O error.
using BeforeReplaceHook = std::function<bool(const std::string& temporaryPath)>;
void SetBeforeReplaceHook(BeforeReplaceHook hook);

// Stands in for fsync(2) on the temporary file and on the folder: returns 0 or -1 with errno.
// Tests use it to make a flush fail.
using SyncHook = std::function<int(int fd)>;
void SetSyncHook(SyncHook hook);

} // namespace scores::profile
