// A picture file (PNG or any format the host's image loader reads) as 8-bit RGBA
// pixels, and a comparison that lets a few pixels move, for screenshot tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TestImage {
public:
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4, rows top to bottom

    bool Load(const std::string& path);
    // Share of pixels whose colour channels differ by more than tolerance (0 to 1; 1
    // when the sizes differ or the pictures are empty). Alpha is not compared.
    static double DifferingShare(const TestImage& a, const TestImage& b, int tolerance);
};
