#pragma once

#include <cstdint>
#include <string>

// Reads a signed 32-bit whole number as the stake field takes it: leading spaces, an optional
// sign and decimal digits, or "$", "0x", "0X", "x", "X" and hexadecimal digits (two's
// complement when they fill 32 bits). Nothing may follow. Returns false for anything else.
bool ParseWholeNumber(const std::string& text, std::int32_t& value);
