#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Reads a square-wave stream back as notes: runs of silence (exact zeros) and runs of tone,
// a tone run being split where its half-period changes.
struct Segment {
    double frequency; // hertz; 0 for silence
    double milliseconds;
};

std::vector<Segment> Segments(std::span<const std::int16_t> samples, int sampleRate);

// The segments between the first and the last tone, without any silence before or after.
std::vector<Segment> Trimmed(std::vector<Segment> segments);
