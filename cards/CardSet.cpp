#include "cards/CardSet.h"

#include <algorithm>
#include <utility>

namespace cards {
namespace {

// Sizes beyond any card keep a hostile header from asking for gigabytes.
constexpr std::int64_t MaxSide = 8192;

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8U
        | static_cast<std::uint32_t>(b[at + 2]) << 16U | static_cast<std::uint32_t>(b[at + 3]) << 24U;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8U);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8U));
}

bool IsBlack(std::uint32_t pixel)
{
    return (pixel & 0x00ffffffU) == 0;
}

std::array<std::string, 64> MakeNames()
{
    std::array<std::string, 64> names;
    std::size_t i = 0;
    for (char letter : SuitLetters)
        for (int number = 1; number <= 13; ++number)
            names[i++] = letter + std::to_string(number);
    for (std::string_view back : BackNames)
        names[i++] = std::string(back);
    return names;
}

} // namespace

const std::array<std::string, 64>& CardNames()
{
    static const std::array<std::string, 64> names = MakeNames();
    return names;
}

bool IsCardName(std::string_view name)
{
    const auto& names = CardNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap8& image)
{
    const std::size_t row = RowBytes(image.width);
    const auto imageBytes = static_cast<std::uint32_t>(row * static_cast<std::size_t>(image.height));
    const auto offset = static_cast<std::uint32_t>(FileHeaderBytes + InfoHeaderBytes + PaletteBytes);
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);

    out.push_back('B');
    out.push_back('M');
    PutU32(out, offset + imageBytes);
    PutU32(out, 0);
    PutU32(out, offset);

    PutU32(out, InfoHeaderBytes);
    PutU32(out, static_cast<std::uint32_t>(image.width));
    PutU32(out, static_cast<std::uint32_t>(image.height)); // positive: bottom row first
    PutU16(out, 1);
    PutU16(out, 8);
    PutU32(out, 0); // no compression
    PutU32(out, imageBytes);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, PaletteSize);
    PutU32(out, 0);

    for (std::uint32_t colour : image.palette) {
        out.push_back(static_cast<std::uint8_t>(colour));
        out.push_back(static_cast<std::uint8_t>(colour >> 8U));
        out.push_back(static_cast<std::uint8_t>(colour >> 16U));
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const auto* first = image.indices.data() + static_cast<std::size_t>(y) * image.width;
        out.insert(out.end(), first, first + image.width);
        out.insert(out.end(), row - static_cast<std::size_t>(image.width), std::uint8_t{0});
    }
    return out;
}

std::optional<Bitmap8> DecodeBmp(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < FileHeaderBytes + InfoHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixelOffset = ReadU32(bytes, 10);
    const std::size_t info = FileHeaderBytes;
    const auto width = static_cast<std::int32_t>(ReadU32(bytes, info + 4));
    const auto signedHeight = static_cast<std::int32_t>(ReadU32(bytes, info + 8));
    const std::int64_t height = signedHeight < 0 ? -static_cast<std::int64_t>(signedHeight) : signedHeight;
    const std::uint32_t used = ReadU32(bytes, info + 32);
    const std::uint32_t colours = used == 0 ? PaletteSize : used;
    if (ReadU32(bytes, info) != InfoHeaderBytes || width < 1 || width > MaxSide || height < 1 || height > MaxSide
        || ReadU16(bytes, info + 12) != 1 || ReadU16(bytes, info + 14) != 8 || ReadU32(bytes, info + 16) != 0
        || colours > PaletteSize)
        return std::nullopt;

    const std::size_t paletteStart = FileHeaderBytes + InfoHeaderBytes;
    const std::size_t paletteEnd = paletteStart + std::size_t{colours} * 4;
    const std::size_t row = RowBytes(width);
    if (paletteEnd > pixelOffset || pixelOffset > bytes.size()
        || row * static_cast<std::size_t>(height) > bytes.size() - pixelOffset)
        return std::nullopt;

    Bitmap8 image;
    image.width = width;
    image.height = static_cast<int>(height);
    image.palette.fill(0xff000000U);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = paletteStart + std::size_t{i} * 4;
        image.palette[i] =
            0xff000000U | std::uint32_t{bytes[at + 2]} << 16U | std::uint32_t{bytes[at + 1]} << 8U | bytes[at];
    }
    image.indices.resize(static_cast<std::size_t>(width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        const int stored = signedHeight < 0 ? y : image.height - 1 - y;
        const auto source =
            bytes.subspan(pixelOffset + row * static_cast<std::size_t>(stored), static_cast<std::size_t>(width));
        if (std::any_of(source.begin(), source.end(), [&](std::uint8_t index) { return index >= colours; }))
            return std::nullopt;
        std::copy(source.begin(), source.end(), image.indices.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    return image;
}

void FloodFillBoundedByBlack(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, int x, int y,
                             std::uint32_t colour)
{
    if (x < 0 || y < 0 || x >= width || y >= height || IsBlack(pixels[y * stride + x]))
        return;
    // The fill colour may equal the region's own, so progress is tracked apart from the pixels.
    std::vector<std::uint8_t> done(static_cast<std::size_t>(width) * height, 0);
    auto open = [&](int px, int py) {
        return !done[static_cast<std::size_t>(py) * width + px] && !IsBlack(pixels[py * stride + px]);
    };
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        const auto [sx, sy] = pending.back();
        pending.pop_back();
        if (!open(sx, sy))
            continue;
        int left = sx;
        while (left > 0 && open(left - 1, sy))
            --left;
        int right = sx;
        while (right + 1 < width && open(right + 1, sy))
            ++right;
        for (int px = left; px <= right; ++px) {
            pixels[sy * stride + px] = colour;
            done[static_cast<std::size_t>(sy) * width + px] = 1;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            for (int px = left; px <= right; ++px)
                if (open(px, ny) && (px == left || !open(px - 1, ny)))
                    pending.emplace_back(px, ny);
        }
    }
}

} // namespace cards
