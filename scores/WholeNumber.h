#pragma once

// How the program reads a whole number, wherever one is typed or stored: the stake field,
// its spinner and the statistics file.

#include <cstdint>
#include <optional>
#include <string_view>

namespace scores {

// Leading spaces, then a signed decimal in the 32-bit range, or hexadecimal after "$", "x",
// "X", "0x" or "0X" that fits 32 bits (two's complement). Anything else, including trailing
// blanks, is nullopt.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

} // namespace scores
