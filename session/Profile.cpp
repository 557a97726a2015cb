#include "session/Profile.h"

#include <cstdint>
#include <sys/stat.h>
#include <unistd.h>

namespace session::profile {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view LineEnd = "\r\n";
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

void AppendUnit(std::string& out, std::uint32_t unit, Encoding encoding)
{
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    if (encoding == Encoding::Utf16LittleEndian) {
        out.push_back(low);
        out.push_back(high);
    } else {
        out.push_back(high);
        out.push_back(low);
    }
}

// Code point (or lone surrogate) to UTF-8; a lone surrogate takes the three bytes it would
// take if it were a character, so it comes back unchanged.
void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The next character of UTF-8 text at `pos`, advancing it; a byte that starts no well-formed
// sequence stands for itself (as U+00xx), so even text that DecodeText never made can be
// written.
std::uint32_t NextUtf8(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t first = byte(pos);
    int length = 0; // 0: not a lead byte
    if (first < 0x80) {
        length = 1;
    } else if ((first & 0xE0) == 0xC0) {
        length = 2;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4;
    }
    if (length <= 1 || pos + static_cast<std::size_t>(length) > text.size()) {
        ++pos;
        return first;
    }
    std::uint32_t c = first & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(pos + static_cast<std::size_t>(i)) & 0xC0) != 0x80) {
            ++pos;
            return first;
        }
        c = (c << 6) | (byte(pos + static_cast<std::size_t>(i)) & 0x3F);
    }
    constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < Least[length] || c > 0x10FFFF) {
        ++pos;
        return first;
    }
    pos += static_cast<std::size_t>(length);
    return c;
}

} // namespace

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key)
{
    return Locate(text, section, key).value;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value)
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

DecodedText DecodeText(std::string_view bytes)
{
    DecodedText decoded;
    if (bytes.starts_with("\xFF\xFE")) {
        decoded.encoding = Encoding::Utf16LittleEndian;
    } else if (bytes.starts_with("\xFE\xFF")) {
        decoded.encoding = Encoding::Utf16BigEndian;
    } else {
        decoded.text = bytes;
        return decoded;
    }
    const bool little = decoded.encoding == Encoding::Utf16LittleEndian;
    const auto unitAt = [&](std::size_t i) {
        const auto a = static_cast<std::uint8_t>(bytes[i]);
        const auto b = static_cast<std::uint8_t>(bytes[i + 1]);
        return little ? static_cast<std::uint32_t>(a | (b << 8)) : static_cast<std::uint32_t>((a << 8) | b);
    };
    decoded.text.reserve(bytes.size());
    std::size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t next = unitAt(i + 2);
            if (next >= 0xDC00 && next < 0xE000) {
                AppendUtf8(decoded.text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(decoded.text, unit);
    }
    decoded.leftover = bytes.substr(i);
    return decoded;
}

std::string EncodeText(const DecodedText& decoded)
{
    if (decoded.encoding == Encoding::Bytes) {
        return decoded.text + decoded.leftover;
    }
    std::string out;
    out.reserve(2 * decoded.text.size() + 2 + decoded.leftover.size());
    AppendUnit(out, 0xFEFF, decoded.encoding);
    for (std::size_t pos = 0; pos < decoded.text.size();) {
        const std::uint32_t c = NextUtf8(decoded.text, pos);
        if (c >= 0x10000) {
            AppendUnit(out, 0xD800 + ((c - 0x10000) >> 10), decoded.encoding);
            AppendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), decoded.encoding);
        } else {
            AppendUnit(out, c, decoded.encoding);
        }
    }
    return out + decoded.leftover;
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

} // namespace session::profile
