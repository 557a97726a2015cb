#pragma once

// A small stand-in for the desktop's private-profile (INI) service: reading one value of a
// section, writing one value, flushing, telling whether the file is there, and finding the
// running executable. The text rules follow what that service does with real-world files;
// the writing is ours and replaces the file atomically so a crash never leaves it cut short.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace session::profile {

enum class FileState {
    Missing,    // nothing there: reading sees no file, writing starts from empty text
    Readable,   // a regular file whose bytes were read
    Unreadable, // something is there but cannot be read as a file: a folder, a device, a loop
};

struct LoadedFile {
    FileState state = FileState::Missing;
    std::string text;
};

// Reads the whole file, following links. Never blocks on a pipe and never throws.
LoadedFile LoadFile(const std::string& path);

// The value of `key` in the first section named `section` (both matched without regard to
// ASCII letter case), trimmed and with one pair of surrounding quotes removed; nullopt when
// the key is missing or its line has no "=".
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key);

// The text with `key=value` written into `section`: an existing key line is rewritten where
// it stands, a missing key goes after the last non-blank line of its section, a missing
// section goes at the end. Every other byte stays as it was.
std::string WithValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// A file's bytes as the text rules above see them. UTF-16 (a file that starts with its byte
// order mark) becomes 8-bit text, UTF-8 with surrogates kept as they are, so that every
// file, however broken, comes back byte for byte; other files are taken as they stand (a UTF-8
// byte order mark stays in the text, where the reader skips it).
enum class Encoding { Bytes, Utf16LittleEndian, Utf16BigEndian };
struct DecodedText {
    Encoding encoding = Encoding::Bytes;
    std::string text;
    std::string leftover; // an odd last byte of a UTF-16 file, kept at its end
};
DecodedText DecodeText(std::string_view bytes);
// The bytes of `decoded` in its own encoding, byte order mark first.
std::string EncodeText(const DecodedText& decoded);

// Follows a chain of symbolic links to the name that a replacement lands on.
std::string ResolveLinks(std::string path);

// Puts `text` in place of the file at `path` (or of the file a link there points to) through a
// temporary file in the same folder that is flushed to disk, renamed over the old one (keeping
// its permissions) and made durable by flushing the folder. A file its owner made read-only
// is left alone and fails the write. Where the folder cannot take a temporary file but the
// file itself may be written, the file is rewritten in place with one write. Temporary files
// of this file left behind by processes that no longer run are removed first. Returns false,
// with the old file untouched, on any failure before the rename.
bool ReplaceFile(const std::string& path, std::string_view text);

// Full path of the running executable; "wirtola" in the current folder if it cannot be found.
std::string ExecutablePath();

// Runs after the new text is on disk in the temporary file and before the rename. Returning
// false fails the write at that point. Tests use it to stand in for a crash or an I/O error.
using BeforeReplaceHook = std::function<bool(const std::string& temporaryPath)>;
void SetBeforeReplaceHook(BeforeReplaceHook hook);

// Stands in for fsync(2) on the temporary file and on the folder: returns 0 or -1 with errno.
// Tests use it to make a flush fail.
using SyncHook = std::function<int(int fd)>;
void SetSyncHook(SyncHook hook);

} // namespace session::profile
