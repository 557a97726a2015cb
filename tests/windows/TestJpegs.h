#pragma once

#include <cstdint>
#include <vector>

class QString;

// Small JPEG streams made with libjpeg for the decoder's tests, and reading the real one.
struct TestJpegOptions {
    int width = 16;
    int height = 16;
    int components = 3;                            // 3 for RGB input, 1 for greyscale
    std::uint8_t red = 200, green = 40, blue = 30; // the one colour the picture is filled with
    bool progressive = false;
    bool arithmetic = false;
};

std::vector<std::uint8_t> MakeTestJpeg(const TestJpegOptions& options);

// A file's or a Qt resource's bytes; empty if it cannot be read.
std::vector<std::uint8_t> ReadBytes(const QString& path);
