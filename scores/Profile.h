#pragma once

// A small stand-in for the desktop's private-profile (INI) service: reading one value of a
// section and writing one value, by the text rules that service follows with real-world files.
// The file's encoding is TextEncoding's, reading and replacing the file itself StoredFile's.

#include <optional>
#include <string>
#include <string_view>

namespace scores::profile {

// The value of `key` in the first section named `section` (both matched without regard to
// ASCII letter case), trimmed and with one pair of surrounding quotes removed; nullopt when
// the key is missing or its line has no "=".
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key);

// The text with `key=value` written into `section`: an existing key line is rewritten where
// it stands, a missing key goes after the last non-blank line of its section, a missing
// section goes at the end. Every other byte stays as it was.
std::string WithValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value);

} // namespace scores::profile
