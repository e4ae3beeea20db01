#include "PngImage.h"

#include <png.h>

#include <cstdlib>

bool PngImage::Load(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

double DifferingShare(const PngImage& a, const PngImage& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.width == 0) {
        return 1.0;
    }
    size_t differing = 0;
    const size_t pixels = static_cast<size_t>(a.width) * static_cast<size_t>(a.height);
    for (size_t p = 0; p < pixels; ++p) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(a.rgba[p * 4 + c] - b.rgba[p * 4 + c]) > tolerance) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(pixels);
}
