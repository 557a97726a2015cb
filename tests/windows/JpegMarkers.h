#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A JPEG stream split at its markers: each segment's marker code and payload (without the
// length field). Entropy-coded data after an SOS is skipped, not kept.
struct JpegSegment {
    std::uint8_t marker = 0;
    std::vector<std::uint8_t> payload;
};

struct JpegLayout {
    bool startsWithSoi = false;
    std::vector<JpegSegment> segments;
    std::size_t scanDataEnd = 0; // offset of the first marker after the last scan's data
    std::size_t eoiOffset = 0;   // offset of EOI, 0 if none was found
};

JpegLayout ParseJpegLayout(const std::vector<std::uint8_t>& stream);
