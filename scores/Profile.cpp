#include "scores/Profile.h"

#include <cstdint>

namespace scores::profile {

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

} // namespace scores::profile
