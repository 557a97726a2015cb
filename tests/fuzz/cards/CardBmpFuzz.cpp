// Feeds arbitrary bytes to the card image decoder; whatever it accepts must encode back to a
// file that decodes to the same picture, and the corner fills must stay inside the picture.
#include "cards/CardSet.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto image = cards::DecodeBmp({data, size});
    if (!image)
        return 0;
    const auto again = cards::DecodeBmp(cards::EncodeBmp(*image));
    if (!again || again->indices != image->indices || again->palette != image->palette)
        std::abort();

    std::vector<std::uint32_t> pixels(image->indices.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = image->palette[image->indices[i]];
    const std::vector<std::uint32_t> before = pixels;
    const int right = image->width - 1;
    const int bottom = image->height - 1;
    for (auto [x, y] : {std::pair{0, 0}, std::pair{right, 0}, std::pair{0, bottom}, std::pair{right, bottom}})
        cards::FloodFillBoundedByBlack(pixels.data(), image->width, image->height, image->width, x, y, 0xff123456U);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if ((before[i] & 0xffffffU) == 0 && pixels[i] != before[i])
            std::abort(); // black is a border and never filled
    return 0;
}
