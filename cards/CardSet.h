#pragma once

// The card image set without Qt: the 64 image names, the stored bitmap form and the
// corner flood fill. Kept free of Qt so the decoder can be fuzzed and the generator share it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cards {

constexpr int CardWidth = 71;
constexpr int CardHeight = 96;
constexpr int PaletteSize = 256;
constexpr int MaxColoursPerImage = 9;

constexpr std::string_view SuitLetters = "CDHS";
constexpr std::array<std::string_view, 12> BackNames{"STD1",    "STD2",  "FISHES1", "FISHES2", "BEACH",  "LEAVES1",
                                                     "LEAVES2", "ROBOT", "ROSES",   "SHELL",   "CASTLE", "HAND"};

// The 52 faces "C1" .. "S13" in suit order, then the 12 backs in the order of TDecks.
const std::array<std::string, 64>& CardNames();
bool IsCardName(std::string_view name);

// A palette image: colours are 0xffRRGGBB, indices run row by row from the top row.
struct Bitmap8 {
    int width = 0;
    int height = 0;
    std::array<std::uint32_t, PaletteSize> palette{};
    std::vector<std::uint8_t> indices;

    std::uint32_t Colour(int x, int y) const { return palette[indices[static_cast<std::size_t>(y) * width + x]]; }
};

// Sizes of the stored form: file header, information header, palette, rows of 72 bytes.
constexpr std::size_t FileHeaderBytes = 14;
constexpr std::size_t InfoHeaderBytes = 40;
constexpr std::size_t PaletteBytes = PaletteSize * 4;
constexpr std::size_t RowBytes(int width)
{
    return (static_cast<std::size_t>(width) + 3U) & ~std::size_t{3};
}
constexpr std::size_t CardDibBytes = InfoHeaderBytes + PaletteBytes + RowBytes(CardWidth) * CardHeight;

// An uncompressed 8-bit BMP file; the part after the 14-byte file header is the
// device-independent bitmap the set stores (7,976 bytes for a card).
std::vector<std::uint8_t> EncodeBmp(const Bitmap8& image);

// Reads an uncompressed 8-bit BMP file (bottom-up or top-down, palette of up to 256
// entries). Anything else, truncated, oversized or with an index beyond the palette, gives
// nullopt: the bytes are never trusted further than they were checked.
std::optional<Bitmap8> DecodeBmp(std::span<const std::uint8_t> bytes);

// Gives `colour` to the 4-connected region around (x, y) of pixels that are not pure black
// (red, green and blue all 0); alpha bits are ignored. A black or outside start pixel fills
// nothing. Pixels are 0xAARRGGBB, `stride` counts pixels per row.
void FloodFillBoundedByBlack(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, int x, int y,
                             std::uint32_t colour);

} // namespace cards
