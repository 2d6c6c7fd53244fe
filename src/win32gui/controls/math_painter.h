#pragma once

// The GDI painter of the linear view: draws the display lists that the core layout computes
// (notation/linear_layout.h) one under the other, with the fonts of each role and the symbols in
// a font that has them, as the Qt painter does. It measures text with the same fonts it draws
// with, so the layout's widths are the drawn ones.

#include <string>
#include <vector>

#include "notation/linear_layout.h"
#include "ui/widgets.h"
#include "win32gui/native.h"

namespace win32gui {

// "Courier New" 16 pixels for normal text, "Arial" 12 and 11 pixels for exponents and labels
// (pixels of a 96-dpi screen, made the screen's own: dpi.h),
// and for the symbols the first installed family that has every character the symbol tables
// use (the first installed one of the list when none has them all).
class MathFonts {
public:
    MathFonts();
    ~MathFonts();
    MathFonts(const MathFonts&) = delete;
    MathFonts& operator=(const MathFonts&) = delete;

    HFONT text(notation::FontRole role) const;
    HFONT glyph(notation::FontRole role) const;
    const std::wstring& symbolFamily() const { return symbolFamily_; }

private:
    HFONT text_[3] = {};
    HFONT glyph_[3] = {};
    std::wstring symbolFamily_;
};

class GdiTextMetrics : public notation::CachedTextMetrics {
public:
    explicit GdiTextMetrics(const MathFonts& fonts);
    ~GdiTextMetrics() override;
    GdiTextMetrics(const GdiTextMetrics&) = delete;
    GdiTextMetrics& operator=(const GdiTextMetrics&) = delete;

    int ascent(notation::FontRole role) const override;
    int descent(notation::FontRole role) const override;

private:
    int measure(bool glyph, notation::FontRole role, std::u32string_view text) const override;

    const MathFonts& fonts_;
    HDC dc_;
    int ascent_[3] = {};
    int descent_[3] = {};
};

// UTF-16 of code points (surrogate pairs above the basic plane).
std::wstring utf16(std::u32string_view text);

// Draws `lines` from the top of `dc`, `lineHeight` screen pixels apart.
void paintDisplayLines(HDC dc, const MathFonts& fonts,
                       const std::vector<notation::DisplayLine>& lines, int lineHeight);

// The legend of the symbols as a picture `width` screen pixels wide: each glyph with its name.
ui::Bitmap legendBitmap(const MathFonts& fonts, int width);

}  // namespace win32gui
