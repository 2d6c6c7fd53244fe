#include "win32gui/dib.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace win32gui {
namespace {

template <class T>
T readAt(std::string_view bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <class T>
void append(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

bool wellFormed(const ui::Bitmap& bitmap) {
    return !bitmap.empty() &&
           bitmap.pixels.size() >= static_cast<std::size_t>(bitmap.width) * bitmap.height;
}

// GDI leaves the alpha byte empty.
void makeOpaque(ui::Bitmap& bitmap) {
    for (std::uint32_t& p : bitmap.pixels) {
        p |= 0xFF000000U;
    }
}

// The position and width of a colour mask's bits.
struct MaskShift {
    int shift = 0;
    int bits = 0;
};

MaskShift maskShift(std::uint32_t mask) {
    MaskShift m;
    if (mask == 0) {
        return m;
    }
    while ((mask & 1U) == 0) {
        mask >>= 1;
        ++m.shift;
    }
    while ((mask & 1U) != 0) {
        mask >>= 1;
        ++m.bits;
    }
    return m;
}

std::uint32_t channel(std::uint32_t pixel, MaskShift m) {
    if (m.bits == 0) {
        return 0;
    }
    const std::uint32_t value = (pixel >> m.shift) & ((1U << m.bits) - 1);
    return m.bits >= 8 ? value >> (m.bits - 8) : value * 255 / ((1U << m.bits) - 1);
}

}  // namespace

std::string packedDib(const ui::Bitmap& bitmap) {
    if (!wellFormed(bitmap)) {
        return {};
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = bitmap.width;
    header.biHeight = bitmap.height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(bitmap.width) * bitmap.height * 4;
    std::string out;
    out.reserve(sizeof(header) + header.biSizeImage);
    append(out, header);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const std::uint32_t* row =
            bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width;
        out.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(bitmap.width) * 4);
    }
    return out;
}

ui::Bitmap fromPackedDib(std::string_view dib) {
    ui::Bitmap none;
    if (dib.size() < sizeof(BITMAPINFOHEADER)) {
        return none;
    }
    const auto header = readAt<BITMAPINFOHEADER>(dib, 0);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > dib.size() ||
        header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1) {
        return none;
    }
    const int width = header.biWidth;
    const bool topDown = header.biHeight < 0;
    const long long h = topDown ? -static_cast<long long>(header.biHeight) : header.biHeight;
    const int bpp = header.biBitCount;
    if (h > 1 << 16 || width > 1 << 16) {
        return none;
    }
    const int height = static_cast<int>(h);
    std::size_t offset = header.biSize;

    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (header.biCompression == BI_BITFIELDS) {
        if (bpp != 32 && bpp != 16) {
            return none;
        }
        // The masks follow a plain info header; larger headers hold them inside.
        const std::size_t at = header.biSize == sizeof(BITMAPINFOHEADER) ? offset : 40;
        if (at + 12 > dib.size()) {
            return none;
        }
        for (int i = 0; i < 3; ++i) {
            masks[i] = readAt<std::uint32_t>(dib, at + 4 * i);
        }
        if (header.biSize == sizeof(BITMAPINFOHEADER)) {
            offset += 12;
        }
    } else if (header.biCompression != BI_RGB) {
        return none;
    } else if (bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }

    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        if (bpp != 1 && bpp != 4 && bpp != 8) {
            return none;
        }
        const std::size_t colours = header.biClrUsed != 0 ? header.biClrUsed : 1U << bpp;
        if (colours > 256 || offset + colours * 4 > dib.size()) {
            return none;
        }
        for (std::size_t i = 0; i < colours; ++i) {
            palette.push_back(readAt<std::uint32_t>(dib, offset + 4 * i) & 0x00FFFFFF);
        }
        offset += colours * 4;
    } else if (bpp != 16 && bpp != 24 && bpp != 32) {
        return none;
    }

    const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    // Checked by division: the product could pass the 32-bit size range.
    if (offset > dib.size() || (dib.size() - offset) / stride < static_cast<std::size_t>(height)) {
        return none;
    }
    const MaskShift r = maskShift(masks[0]);
    const MaskShift g = maskShift(masks[1]);
    const MaskShift b = maskShift(masks[2]);

    ui::Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        const auto* line =
            reinterpret_cast<const unsigned char*>(dib.data() + offset + stride * row);
        std::uint32_t* out = bitmap.pixels.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            std::uint32_t rgb = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const int perByte = 8 / bpp;
                    const unsigned byte = line[x / perByte];
                    const int shift = (perByte - 1 - x % perByte) * bpp;
                    const unsigned index = (byte >> shift) & ((1U << bpp) - 1);
                    rgb = index < palette.size() ? palette[index] : 0;
                    break;
                }
                case 24:
                    rgb = line[3 * x] | (line[3 * x + 1] << 8) | (line[3 * x + 2] << 16);
                    break;
                case 16:
                case 32: {
                    std::uint32_t pixel = 0;
                    std::memcpy(&pixel, line + x * (bpp / 8), bpp / 8);
                    rgb = (channel(pixel, r) << 16) | (channel(pixel, g) << 8) | channel(pixel, b);
                    break;
                }
                default:
                    break;
            }
            out[x] = 0xFF000000U | (rgb & 0x00FFFFFF);
        }
    }
    return bitmap;
}

std::string bmpFile(const ui::Bitmap& bitmap) {
    const std::string dib = packedDib(bitmap);
    if (dib.empty()) {
        return {};
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(sizeof(file) + dib.size());
    file.bfOffBits = sizeof(file) + sizeof(BITMAPINFOHEADER);
    std::string out;
    append(out, file);
    out += dib;
    return out;
}

ui::Bitmap fromBmpFile(std::string_view file) {
    if (file.size() < sizeof(BITMAPFILEHEADER) || file[0] != 'B' || file[1] != 'M') {
        return {};
    }
    return fromPackedDib(file.substr(sizeof(BITMAPFILEHEADER)));
}

BITMAPINFO topDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

ui::Bitmap fromGdiBitmap(HBITMAP handle) {
    ui::Bitmap bitmap;
    BITMAP info{};
    if (handle == nullptr || GetObjectW(handle, sizeof(info), &info) == 0 || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        return bitmap;
    }
    BITMAPINFO request = topDownInfo(info.bmWidth, info.bmHeight);
    bitmap.width = info.bmWidth;
    bitmap.height = info.bmHeight;
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    HDC dc = GetDC(nullptr);
    const int lines = GetDIBits(dc, handle, 0, static_cast<UINT>(bitmap.height),
                                bitmap.pixels.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (lines != bitmap.height) {
        return {};
    }
    makeOpaque(bitmap);
    return bitmap;
}

HBITMAP dibSection(const ui::Bitmap& bitmap, std::uint32_t** bits) {
    if (!wellFormed(bitmap)) {
        return nullptr;
    }
    const BITMAPINFO info = topDownInfo(bitmap.width, bitmap.height);
    void* data = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0);
    if (section == nullptr || data == nullptr) {
        return nullptr;
    }
    std::memcpy(data, bitmap.pixels.data(),
                static_cast<std::size_t>(bitmap.width) * bitmap.height * 4);
    if (bits != nullptr) {
        *bits = static_cast<std::uint32_t*>(data);
    }
    return section;
}

void takeDrawing(const std::uint32_t* bits, ui::Bitmap& picture) {
    GdiFlush();
    std::copy(bits, bits + picture.pixels.size(), picture.pixels.begin());
    makeOpaque(picture);
}

bool stretchPicture(HDC dc, int x, int y, int width, int height, const ui::Bitmap& picture) {
    const BITMAPINFO info = topDownInfo(picture.width, picture.height);
    SetStretchBltMode(dc, HALFTONE);
    return StretchDIBits(dc, x, y, width, height, 0, 0, picture.width, picture.height,
                         picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY) > 0;
}

}  // namespace win32gui
