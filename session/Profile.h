#pragma once

// A small stand-in for the desktop's private-profile (INI) service: reading one value of a
// section, writing one value, flushing, telling whether the file is there, and finding the
// running executable. The text rules follow what that service does with real-world files;
// reading and writing the file itself are in StoredFile.

#include <optional>
#include <string>
#include <string_view>

namespace session::profile {

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

// Full path of the running executable; "wirtola" in the current folder if it cannot be found.
std::string ExecutablePath();

} // namespace session::profile
