#include "JpegMarkers.h"

JpegLayout ParseJpegLayout(const std::vector<std::uint8_t>& s)
{
    JpegLayout layout;
    layout.startsWithSoi = s.size() >= 2 && s[0] == 0xFF && s[1] == 0xD8;
    if (!layout.startsWithSoi)
        return layout;
    std::size_t i = 2;
    while (i + 1 < s.size() && s[i] == 0xFF) {
        const std::uint8_t marker = s[i + 1];
        if (marker == 0xD9) {
            layout.eoiOffset = i;
            break;
        }
        if (i + 3 >= s.size())
            break;
        const std::size_t length = (std::size_t{s[i + 2]} << 8) | s[i + 3];
        if (length < 2 || i + 2 + length > s.size())
            break;
        layout.segments.push_back({marker,
                                   {s.begin() + static_cast<std::ptrdiff_t>(i + 4),
                                    s.begin() + static_cast<std::ptrdiff_t>(i + 2 + length)}});
        i += 2 + length;
        if (marker == 0xDA) {
            // Scan data runs to the next marker that is neither a stuffed 0xFF00 nor a restart.
            while (i + 1 < s.size() && !(s[i] == 0xFF && s[i + 1] != 0x00 && (s[i + 1] < 0xD0 || s[i + 1] > 0xD7)))
                ++i;
            layout.scanDataEnd = i;
        }
    }
    return layout;
}
