#include "win32gui/controls/math_painter.h"

#include <algorithm>

#include "editor/printing/linear_view.h"
#include "notation/mathml_tables.h"
#include "win32gui/dib.h"
#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

using notation::DisplayKind;
using notation::FontRole;

// Where a line's baseline stands below its top, as a share of the line height (the Qt painter
// uses the same): room above for numerators and exponents, below for denominators and indices.
constexpr double kBaselineShare = 0.6;
constexpr int kPixels[3] = {16, 12, 11};
constexpr COLORREF kBlue = RGB(0, 0, 255);

int index(FontRole role) {
    return static_cast<int>(role);
}

HFONT pixelFont(const wchar_t* family, int pixels) {
    LOGFONTW lf{};
    lf.lfHeight = -pixels;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, family, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

// Every character of the basic plane that the view draws as a symbol.
std::wstring symbolCharacters() {
    std::wstring basic;
    for (const char32_t c : notation::symbolCharacters()) {
        if (c < 0x10000) {
            basic += static_cast<wchar_t>(c);
        }
    }
    return basic;
}

// Whether the system has `family` and, in it, every character of `needed`.
int coverage(HDC dc, const wchar_t* family, const std::wstring& needed) {
    HFONT font = pixelFont(family, 16);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    int result = -1;
    if (lstrcmpiW(face, family) == 0) {
        std::vector<WORD> glyphs(needed.size());
        result = 0;
        if (GetGlyphIndicesW(dc, needed.c_str(), static_cast<int>(needed.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
            result = static_cast<int>(
                std::count_if(glyphs.begin(), glyphs.end(), [](WORD g) { return g != 0xFFFF; }));
        }
    }
    SelectObject(dc, old);
    DeleteObject(font);
    return result;
}

std::wstring chooseSymbolFamily() {
    const std::wstring needed = symbolCharacters();
    HDC dc = GetDC(nullptr);
    std::wstring best;
    int bestCount = -1;
    for (const wchar_t* candidate : {L"Cambria Math", L"Segoe UI Symbol", L"DejaVu Sans",
                                     L"Arial Unicode MS", L"Lucida Sans Unicode", L"Tahoma"}) {
        const int count = coverage(dc, candidate, needed);
        if (count == static_cast<int>(needed.size())) {
            best = candidate;
            break;
        }
        if (count > bestCount) {
            bestCount = count;
            best = candidate;
        }
    }
    ReleaseDC(nullptr, dc);
    return best;
}

}  // namespace

std::wstring utf16(std::u32string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= 0x10000 && c < 0x110000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

MathFonts::MathFonts() {
    static const std::wstring symbols = chooseSymbolFamily();
    symbolFamily_ = symbols;
    // Measured and drawn in the screen's pixels: the glyphs are as wide as they are drawn.
    text_[0] = pixelFont(L"Courier New", toScreen(kPixels[0]));
    text_[1] = pixelFont(L"Arial", toScreen(kPixels[1]));
    text_[2] = pixelFont(L"Arial", toScreen(kPixels[2]));
    for (int i = 0; i < 3; ++i) {
        glyph_[i] = pixelFont(symbolFamily_.c_str(), toScreen(kPixels[i]));
    }
}

MathFonts::~MathFonts() {
    for (int i = 0; i < 3; ++i) {
        DeleteObject(text_[i]);
        DeleteObject(glyph_[i]);
    }
}

HFONT MathFonts::text(FontRole role) const {
    return text_[index(role)];
}

HFONT MathFonts::glyph(FontRole role) const {
    return glyph_[index(role)];
}

GdiTextMetrics::GdiTextMetrics(const MathFonts& fonts)
    : fonts_(fonts), dc_(CreateCompatibleDC(nullptr)) {
    for (FontRole role : {FontRole::Normal, FontRole::Exponent, FontRole::Label}) {
        HGDIOBJ old = SelectObject(dc_, fonts_.text(role));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        ascent_[index(role)] = tm.tmAscent;
        descent_[index(role)] = tm.tmDescent;
        SelectObject(dc_, old);
    }
}

GdiTextMetrics::~GdiTextMetrics() {
    DeleteDC(dc_);
}

int GdiTextMetrics::measure(bool glyph, FontRole role, std::u32string_view text) const {
    HGDIOBJ old = SelectObject(dc_, glyph ? fonts_.glyph(role) : fonts_.text(role));
    const std::wstring wide = utf16(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc_, old);
    return size.cx;
}

int GdiTextMetrics::ascent(FontRole role) const {
    return ascent_[index(role)];
}

int GdiTextMetrics::descent(FontRole role) const {
    return descent_[index(role)];
}

void paintDisplayLines(HDC dc, const MathFonts& fonts,
                       const std::vector<notation::DisplayLine>& lines, int lineHeight) {
    SetBkMode(dc, TRANSPARENT);
    const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    HPEN black = CreatePen(PS_SOLID, toScreen(1), RGB(0, 0, 0));
    HPEN red = CreatePen(PS_SOLID, toScreen(2), RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, black);
    HGDIOBJ oldFont = SelectObject(dc, fonts.text(FontRole::Normal));
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int baseline =
            static_cast<int>(k) * lineHeight + static_cast<int>(lineHeight * kBaselineShare);
        for (const notation::DisplayItem& item : lines[k].items) {
            switch (item.kind) {
                case DisplayKind::Text:
                case DisplayKind::Glyph: {
                    const bool glyph = item.kind == DisplayKind::Glyph;
                    SelectObject(dc, glyph ? fonts.glyph(item.role) : fonts.text(item.role));
                    const bool blue = item.operatorInk || item.role != FontRole::Normal;
                    SetTextColor(dc, blue ? kBlue : RGB(0, 0, 0));
                    const std::wstring text = utf16(item.text);
                    TextOutW(dc, item.x, baseline + item.y, text.c_str(),
                             static_cast<int>(text.size()));
                    break;
                }
                case DisplayKind::FractionBar:
                case DisplayKind::RadicalStroke:
                case DisplayKind::Overline:
                    SelectObject(dc, black);
                    MoveToEx(dc, item.x, baseline + item.y, nullptr);
                    LineTo(dc, item.x2, baseline + item.y2);
                    break;
                case DisplayKind::Caret:
                    SelectObject(dc, red);
                    MoveToEx(dc, item.x, baseline + item.y, nullptr);
                    LineTo(dc, item.x2, baseline + item.y2);
                    break;
                case DisplayKind::SubLevelShift:
                    break;
            }
        }
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SetTextAlign(dc, oldAlign);
    DeleteObject(black);
    DeleteObject(red);
}

ui::Bitmap legendBitmap(const MathFonts& fonts, int width) {
    const std::vector<editor::LegendEntry> legend = editor::symbolLegend();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, fonts.text(FontRole::Label));
    int cell = 0;
    for (const editor::LegendEntry& entry : legend) {
        const std::wstring name = widen(entry.name);
        SIZE size{};
        GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
        cell = std::max(cell, static_cast<int>(size.cx));
    }
    cell += toScreen(30);
    const int columns = std::max(1, width / cell);
    const int rowHeight = toScreen(15);
    const int rows = (static_cast<int>(legend.size()) + columns - 1) / columns;
    ui::Bitmap picture;
    picture.width = std::max(width, cell);
    picture.height = rows * rowHeight + toScreen(4);
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0xFFFFFFFFU);
    std::uint32_t* bits = nullptr;
    HBITMAP section = dibSection(picture, &bits);
    if (section == nullptr) {
        SelectObject(dc, oldFont);
        DeleteDC(dc);
        return picture;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, section);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const int x = static_cast<int>(i) % columns * cell + toScreen(4);
        const int y = static_cast<int>(i) / columns * rowHeight + toScreen(13);
        SelectObject(dc, fonts.glyph(FontRole::Normal));
        SetTextColor(dc, RGB(0, 0, 0));
        const std::wstring glyph = utf16(legend[i].glyph);
        TextOutW(dc, x, y, glyph.c_str(), static_cast<int>(glyph.size()));
        SelectObject(dc, fonts.text(FontRole::Label));
        SetTextColor(dc, kBlue);
        const std::wstring name = widen(legend[i].name);
        TextOutW(dc, x + toScreen(24), y - toScreen(1), name.c_str(),
                 static_cast<int>(name.size()));
    }
    takeDrawing(bits, picture);
    SelectObject(dc, oldBitmap);
    SelectObject(dc, oldFont);
    DeleteObject(section);
    DeleteDC(dc);
    return picture;
}

}  // namespace win32gui
