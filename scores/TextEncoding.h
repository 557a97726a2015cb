#pragma once

// Files saved by other editors: UTF-16 with a byte order mark becomes text the INI rules can
// read, and goes back in its own encoding, byte for byte outside what a save changed.

#include <string>
#include <string_view>

namespace scores::profile {

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

} // namespace scores::profile
