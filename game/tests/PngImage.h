// A PNG file read into 8-bit RGBA pixels, for comparing screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4

    bool Load(const std::string& path);
};

// Share of pixels whose channels differ by more than tolerance (0 to 1; 1 when the
// sizes differ).
double DifferingShare(const PngImage& a, const PngImage& b, int tolerance);
