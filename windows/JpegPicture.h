#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A decoded picture: rows top to bottom, three bytes (R, G, B) per pixel, no padding.
struct JpegPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The largest picture the decoder accepts; a forged header must not make it allocate gigabytes.
inline constexpr int JpegMaxSide = 4096;
inline constexpr std::int64_t JpegMaxPixels = 4 * 1024 * 1024;

// Decodes a sequential (baseline or extended) Huffman-coded JPEG with libjpeg. Any error or
// warning from libjpeg (a truncated or corrupt stream, premature end of data), a progressive or
// arithmetic-coded stream, or a picture above the limits gives nullopt; nothing is printed.
std::optional<JpegPicture> DecodeJpeg(const std::uint8_t* data, std::size_t size);
