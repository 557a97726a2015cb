#include "scores/TextEncoding.h"

#include <cstdint>

namespace scores::profile {

namespace {

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

} // namespace scores::profile
