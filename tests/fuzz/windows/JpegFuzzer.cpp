#include "windows/JpegPicture.h"

#include <cstdlib>

// Any input must come back as a picture or a clean "no", never a crash, leak or exit; a picture
// must hold exactly the pixels it claims.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto picture = DecodeJpeg(data, size);
    if (picture) {
        const std::size_t want = static_cast<std::size_t>(picture->width) * picture->height * 3;
        if (picture->width <= 0 || picture->height <= 0 || picture->width > JpegMaxSide || picture->height > JpegMaxSide
            || picture->rgb.size() != want)
            std::abort();
    }
    return 0;
}
