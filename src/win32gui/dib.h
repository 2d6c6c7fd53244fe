#pragma once

// Pictures between the program (ui::Bitmap, 0xAARRGGBB top to bottom) and Windows: the packed
// device-independent bitmap of the clipboard (CF_DIB) and of BMP files, and GDI bitmaps.
// Written DIBs are 32 bits per pixel, bottom-up, uncompressed, which every program reads; read
// DIBs may be 24 or 32 bits (uncompressed or with the usual masks), or 1, 4 or 8 bits with a
// colour table. Anything else reads as an empty picture, never as garbage.

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/widgets.h"
#include "win32gui/native.h"

namespace win32gui {

// The picture as a packed DIB: BITMAPINFOHEADER followed by the pixels.
std::string packedDib(const ui::Bitmap& bitmap);

// A packed DIB as a picture; empty when it is not one this reader knows.
ui::Bitmap fromPackedDib(std::string_view dib);

// A BMP file: BITMAPFILEHEADER followed by the packed DIB.
std::string bmpFile(const ui::Bitmap& bitmap);
ui::Bitmap fromBmpFile(std::string_view file);

// A GDI bitmap's pixels; empty when it cannot be read.
ui::Bitmap fromGdiBitmap(HBITMAP bitmap);

// The header of a 32-bit top-down picture of that size, the form GDI takes and gives here.
BITMAPINFO topDownInfo(int width, int height);

// A 32-bit top-down DIB section holding the picture, for drawing with GDI; null on failure.
// The caller deletes it.
HBITMAP dibSection(const ui::Bitmap& bitmap, std::uint32_t** bits = nullptr);

// What GDI drew into the section dibSection(picture, &bits) made, back into the picture, opaque.
void takeDrawing(const std::uint32_t* bits, ui::Bitmap& picture);

// The picture drawn into that rectangle of `dc`, stretched with halftone; false when GDI drew
// nothing.
bool stretchPicture(HDC dc, int x, int y, int width, int height, const ui::Bitmap& picture);

}  // namespace win32gui
