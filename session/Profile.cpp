#include "session/Profile.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace session::profile {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view LineEnd = "\r\n";
// Far above anything this program writes (about sixty bytes) yet well within memory: a larger
// file is not a statistics file, so it is neither read nor overwritten.
constexpr off_t MaxFileSize = off_t{256} * 1024 * 1024;

BeforeReplaceHook beforeReplace;

// One line of the text: [begin, end) is its content, next is where the following line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool terminated() const { return next != end; }
};

// A line ends at CR, LF or CRLF; the last one needs no line end.
Line LineAt(std::string_view text, std::size_t pos)
{
    Line line{pos, pos, pos};
    while (line.end < text.size() && text[line.end] != '\r' && text[line.end] != '\n') {
        ++line.end;
    }
    line.next = line.end;
    if (line.next < text.size()) {
        line.next += (text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n') ? 2 : 1;
    }
    return line;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header ("[" up to the last "]", trimmed), or nullopt for other lines.
std::optional<std::string_view> SectionName(std::string_view trimmed)
{
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = trimmed.rfind(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(trimmed.substr(1, close - 1));
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a key stands in the text, as both the reader and the writer see it.
struct Place {
    bool sectionFound = false;
    Line lastInSection; // the header or the section's last non-blank line
    bool keyFound = false;
    Line keyLine;
    std::optional<std::string_view> value;
};

Place Locate(std::string_view text, std::string_view section, std::string_view key)
{
    Place place;
    std::size_t pos = text.starts_with(Utf8Bom) ? Utf8Bom.size() : 0;
    while (pos < text.size()) {
        const Line line = LineAt(text, pos);
        pos = line.next;
        const std::string_view trimmed = Trim(text.substr(line.begin, line.end - line.begin));
        if (const auto name = SectionName(trimmed)) {
            if (place.sectionFound) {
                break; // only the first section of a name counts
            }
            if (SameName(*name, section)) {
                place.sectionFound = true;
                place.lastInSection = line;
            }
            continue;
        }
        if (!place.sectionFound || trimmed.empty()) {
            continue;
        }
        place.lastInSection = line;
        const std::size_t equals = trimmed.find('=');
        if (SameName(Trim(trimmed.substr(0, equals)), key)) {
            place.keyFound = true;
            place.keyLine = line;
            if (equals != std::string_view::npos) {
                place.value = Unquote(Trim(trimmed.substr(equals + 1)));
            }
            break;
        }
    }
    return place;
}

// Follows a chain of symbolic links so that a replacement lands on the file they point to.
std::string ResolveLinks(std::string path)
{
    constexpr int MaxLinks = 40;
    for (int i = 0; i < MaxLinks; ++i) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return path;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) {
            return path;
        }
        target.resize(static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        path = (target.front() == '/' || slash == std::string::npos) ? target : path.substr(0, slash + 1) + target;
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A fresh file beside `target`, created exclusively so that nothing already there is reused.
int CreateTemporary(const std::string& target, std::string& name)
{
    static unsigned counter = 0;
    constexpr int Attempts = 100;
    for (int i = 0; i < Attempts; ++i) {
        name = target + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

LoadedFile LoadFile(const std::string& path)
{
    LoadedFile file;
    // O_NONBLOCK: a pipe standing where the file should be must not hang the program.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.state = (errno == ENOENT || errno == ENOTDIR) ? FileState::Missing : FileState::Unreadable;
        return file;
    }
    file.state = FileState::Unreadable;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxFileSize) {
        try {
            std::string text(static_cast<std::size_t>(st.st_size) + 1, '\0');
            std::size_t used = 0;
            for (;;) {
                if (used == text.size()) {
                    if (used > static_cast<std::size_t>(MaxFileSize)) {
                        break; // grew past the limit while being read
                    }
                    text.resize(text.size() * 2);
                }
                const ssize_t n = read(fd, text.data() + used, text.size() - used);
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    if (n == 0) {
                        text.resize(used);
                        file.text = std::move(text);
                        file.state = FileState::Readable;
                    }
                    break;
                }
                used += static_cast<std::size_t>(n);
            }
        } catch (const std::bad_alloc&) {
            // Too big to hold: treated like any other file that cannot be read.
        }
    }
    close(fd);
    return file;
}

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key)
{
    return Locate(text, section, key).value;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const Place place = Locate(text, section, key);
    std::string line = std::string(key) + "=" + std::string(value);
    std::string result;
    result.reserve(text.size() + section.size() + line.size() + 8);
    if (place.keyFound) {
        result.append(text.substr(0, place.keyLine.begin)).append(line).append(text.substr(place.keyLine.end));
    } else if (place.sectionFound) {
        const Line& last = place.lastInSection;
        result.append(text.substr(0, last.next));
        if (!last.terminated()) {
            result.append(LineEnd);
        }
        result.append(line).append(LineEnd).append(text.substr(last.next));
    } else {
        result.append(text);
        const bool hasContent = text.size() > (text.starts_with(Utf8Bom) ? Utf8Bom.size() : 0);
        if (hasContent && text.back() != '\r' && text.back() != '\n') {
            result.append(LineEnd);
        }
        result.append("[").append(section).append("]").append(LineEnd).append(line).append(LineEnd);
    }
    return result;
}

bool ReplaceFile(const std::string& path, std::string_view text)
{
    const std::string target = ResolveLinks(path);
    struct stat old {};
    const bool hadOld = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, text);
    if (ok && hadOld) {
        // Owner first: changing it may clear the set-id bits that fchmod then restores. A
        // non-root player may not give the file away, and then keeping the mode is enough.
        ok = (fchown(fd, old.st_uid, old.st_gid) == 0 || errno == EPERM) && fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    ok = ok && (!beforeReplace || beforeReplace(temporary));
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
    }
    return ok;
}

bool FlushFile(const std::string& path)
{
    const int fd = open(FolderOf(ResolveLinks(path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Some file systems cannot flush a folder at all; for them the rename is as durable as it gets.
    const bool ok = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return ok;
}

std::string ExecutablePath()
{
    constexpr std::string_view Deleted = " (deleted)";
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n <= 0) {
            return "wirtola";
        }
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    // A program rebuilt while it runs is reported with this mark; its statistics stay beside it.
    struct stat st {};
    if (path.ends_with(Deleted) && lstat(path.c_str(), &st) != 0) {
        path.resize(path.size() - Deleted.size());
    }
    return path;
}

void SetBeforeReplaceHook(BeforeReplaceHook hook)
{
    beforeReplace = std::move(hook);
}

} // namespace session::profile
