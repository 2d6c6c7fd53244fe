#pragma once

// Reads the PNG test pictures (8-bit grey, RGB, RGBA or palette of 1 to 8 bits, not
// interlaced) into a ui::Bitmap. Test support only: a malformed file fails the test.

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/widgets.h"

namespace test_png {

inline std::uint32_t be32(const std::string& d, std::size_t at) {
    return (std::uint32_t(static_cast<unsigned char>(d[at])) << 24) |
           (std::uint32_t(static_cast<unsigned char>(d[at + 1])) << 16) |
           (std::uint32_t(static_cast<unsigned char>(d[at + 2])) << 8) |
           std::uint32_t(static_cast<unsigned char>(d[at + 3]));
}

inline ui::Bitmap readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string d{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (d.size() < 8 || d.compare(1, 3, "PNG") != 0) {
        throw std::runtime_error("not a PNG: " + path);
    }
    int width = 0, height = 0, depth = 0, colour = 0;
    std::vector<std::uint32_t> palette;
    std::string compressed;
    for (std::size_t at = 8; at + 12 <= d.size();) {
        const std::uint32_t length = be32(d, at);
        const std::string type = d.substr(at + 4, 4);
        const std::string body = d.substr(at + 8, length);
        if (type == "IHDR") {
            width = static_cast<int>(be32(body, 0));
            height = static_cast<int>(be32(body, 4));
            depth = static_cast<unsigned char>(body[8]);
            colour = static_cast<unsigned char>(body[9]);
            if (body[12] != 0) {
                throw std::runtime_error("interlaced PNG: " + path);
            }
        } else if (type == "PLTE") {
            for (std::size_t i = 0; i + 2 < body.size(); i += 3) {
                palette.push_back(0xFF000000u |
                                  (std::uint32_t(static_cast<unsigned char>(body[i])) << 16) |
                                  (std::uint32_t(static_cast<unsigned char>(body[i + 1])) << 8) |
                                  std::uint32_t(static_cast<unsigned char>(body[i + 2])));
            }
        } else if (type == "IDAT") {
            compressed += body;
        }
        at += 12 + length;
    }
    const int channels = colour == 2 ? 3 : colour == 6 ? 4 : colour == 4 ? 2 : 1;
    const std::size_t stride = (static_cast<std::size_t>(width) * channels * depth + 7) / 8;
    const std::size_t step = std::max<std::size_t>(1, channels * depth / 8);
    std::vector<unsigned char> raw((stride + 1) * height);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(compressed.data()),
                   compressed.size()) != Z_OK) {
        throw std::runtime_error("bad PNG data: " + path);
    }
    ui::Bitmap bitmap{width, height, {}};
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height);
    std::vector<unsigned char> previous(stride, 0), line(stride);
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = &raw[y * (stride + 1)];
        const int filter = src[0];
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= step ? line[x - step] : 0;
            const int b = previous[x];
            const int c = x >= step ? previous[x - step] : 0;
            int predictor = 0;
            if (filter == 1)
                predictor = a;
            if (filter == 2)
                predictor = b;
            if (filter == 3)
                predictor = (a + b) / 2;
            if (filter == 4) {
                const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            line[x] = static_cast<unsigned char>(src[1 + x] + predictor);
        }
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            if (colour == 3 || (colour == 0 && depth < 8)) {
                const std::size_t bit = static_cast<std::size_t>(x) * depth;
                const int value = (line[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
                pixel = colour == 3 ? palette.at(value)
                                    : 0xFF000000u | 0x010101u * (value * 255 / ((1 << depth) - 1));
            } else {
                const unsigned char* p = &line[static_cast<std::size_t>(x) * step];
                pixel = channels >= 3 ? 0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2]
                                      : 0xFF000000u | 0x010101u * p[0];
            }
            bitmap.pixels[static_cast<std::size_t>(y) * width + x] = pixel;
        }
        previous = line;
    }
    return bitmap;
}

}  // namespace test_png
