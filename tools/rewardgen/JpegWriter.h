#pragma once

#include <cstdint>
#include <vector>

// Encodes packed RGB rows (three bytes a pixel, no padding) as a baseline JFIF 1.01 JPEG:
// YCbCr 4:2:0, square pixels, two quantisation tables at the given quality (1..100), the four
// standard Huffman tables and one scan. The same pixels always give the same bytes.
// Throws std::runtime_error with libjpeg's message if libjpeg refuses.
std::vector<std::uint8_t> EncodeBaselineJpeg(const std::uint8_t* rgb, int width, int height, int quality);
