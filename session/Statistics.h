#pragma once

// The statistics file: wins, losses and the fund carried from one run to the next in an INI
// file beside the executable, named after it with the extension ".ini".

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {
struct SessionValues;
}

namespace session {

// A save that could not be written. what() is "Unable to write to <path>" (UTF-8).
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const std::string& path);
};

std::string StatisticsFilePath();
// Tests and benchmarks point the statistics at a file of their own; "" goes back to the real one.
void SetStatisticsFilePath(const std::string& path);
// The statistics file that belongs to an executable: its extension replaced by ".ini", or
// ".ini" appended when the file name has none.
std::string StatisticsFilePathFor(const std::string& executable);

// Loads Wins, Losses and Fund when the file is there; a fund below 1 becomes 3000.
void read_inifile(engine::SessionValues& values);
// Writes Wins, Losses and Fund in that order, then flushes. Throws WriteError; keys written
// before the failing one stay written.
void save_inifile(const engine::SessionValues& values);

// What read_inifile does with the file's text once it has it.
void ReadStatisticsText(std::string_view text, engine::SessionValues& values);
// A stored whole number: leading spaces, then a signed decimal in the 32-bit range, or
// hexadecimal after "$", "x", "X", "0x" or "0X" that fits 32 bits (two's complement).
// Anything else, including trailing blanks, is nullopt.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

} // namespace session
