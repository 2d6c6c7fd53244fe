// What the Win32 adapter converts without a window: program text to and from UTF-16 (every
// byte of code page 1252, positions kept), pictures to and from DIBs and BMP files, file dialog
// filters, and command lines as Windows programs split them.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "win32gui/dib.h"
#include "win32gui/native.h"
#include "win32gui/services/win32_dialogs.h"
#include "win32gui/services/win32_services.h"
#include "win32gui/wide_text.h"

namespace {

using win32gui::narrow;
using win32gui::widen;

TEST(WideText, EveryByteOfTheCodePageGoesThereAndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::wstring wide = widen(all);
    ASSERT_EQ(wide.size(), all.size()) << "one UTF-16 unit for each byte";
    EXPECT_EQ(narrow(wide), all);
    // The bytes where code page 1252 is not Latin-1, whatever the system's code page.
    EXPECT_EQ(widen("\x80")[0], L'\u20AC');
    EXPECT_EQ(widen("\x92")[0], L'\u2019');
    EXPECT_EQ(widen("\x9F")[0], L'\u0178');
    EXPECT_EQ(widen("\xE0")[0], L'\u00E0');
    EXPECT_EQ(widen("\x81")[0], L'\u0081');  // unassigned: its C1 control, and back
}

TEST(WideText, WhatTheCodePageLacksComesBackAsOneQuestionMarkPerUnit) {
    // A Greek letter and a character above the basic plane (two UTF-16 units): positions in
    // the program's text stay those of the window's.
    const std::wstring typed = L"a\u03B1b\U0001D465c";
    const std::string back = narrow(typed);
    EXPECT_EQ(back, "a?b??c");
    EXPECT_EQ(back.size(), typed.size());
    EXPECT_EQ(win32gui::narrowChar(L'\u20AC'), '\x80');
    EXPECT_EQ(win32gui::narrowChar(L'\u4E2D'), '?');
    EXPECT_EQ(win32gui::narrowChar(L'\u2212'), '-');
    // Line breaks are left as they are (an edit control counts CR LF as two)...
    EXPECT_EQ(narrow(L"a\r\nb"), "a\r\nb");
    // ...and made CR LF for captions and messages.
    EXPECT_EQ(win32gui::widenLines("a\nb\rc"), L"a\r\nb\r\nc");
    EXPECT_EQ(win32gui::pathText(win32gui::pathOf("C:\\esercizi\\perch\xE9 \x80.mtf")),
              "C:\\esercizi\\perch\xE9 \x80.mtf");
}

ui::Bitmap sample(int width, int height) {
    ui::Bitmap b;
    b.width = width;
    b.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.pixels.push_back(0xFF000000U | (static_cast<unsigned>(x * 40) << 16) |
                               (static_cast<unsigned>(y * 50) << 8) | static_cast<unsigned>(x + y));
        }
    }
    return b;
}

TEST(Dib, PicturesGoThroughPackedDibsAndBmpFilesUnchanged) {
    const ui::Bitmap picture = sample(5, 3);
    const std::string dib = win32gui::packedDib(picture);
    ASSERT_EQ(dib.size(), sizeof(BITMAPINFOHEADER) + 5 * 3 * 4);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, dib.data(), sizeof(header));
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_GT(header.biHeight, 0) << "bottom-up, as every program reads it";
    const ui::Bitmap back = win32gui::fromPackedDib(dib);
    EXPECT_EQ(back.width, 5);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.pixels, picture.pixels);

    const std::string file = win32gui::bmpFile(picture);
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(win32gui::fromBmpFile(file).pixels, picture.pixels);
    EXPECT_TRUE(win32gui::packedDib(ui::Bitmap{}).empty());
}

// What GDI draws on a picture's section comes back opaque, and a picture drawn stretched
// keeps its top row on top.
TEST(Dib, GdiDrawsOnPicturesTopDown) {
    ui::Bitmap canvas;
    canvas.width = 4;
    canvas.height = 4;
    canvas.pixels.assign(16, 0xFFFFFFFFU);
    std::uint32_t* bits = nullptr;
    HBITMAP section = win32gui::dibSection(canvas, &bits);
    ASSERT_NE(section, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    const RECT topRow{0, 0, 4, 1};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &topRow, red);
    DeleteObject(red);
    ui::Bitmap strip;  // blue over green, widened into the bottom half
    strip.width = 1;
    strip.height = 2;
    strip.pixels = {0xFF0000FFU, 0xFF00FF00U};
    EXPECT_TRUE(win32gui::stretchPicture(dc, 0, 2, 4, 2, strip));
    win32gui::takeDrawing(bits, canvas);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
    EXPECT_EQ(canvas.pixels[0], 0xFFFF0000U) << "filled by GDI, alpha added";
    EXPECT_EQ(canvas.pixels[4], 0xFFFFFFFFU) << "untouched";
    EXPECT_EQ(canvas.pixels[8], 0xFF0000FFU);
    EXPECT_EQ(canvas.pixels[15], 0xFF00FF00U);
    EXPECT_FALSE(win32gui::stretchPicture(nullptr, 0, 0, 4, 4, strip));
}

// A DIB as another program may put it on the clipboard.
std::string dibOf(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                  const std::vector<unsigned char>& rows) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = BI_RGB;
    h.biClrUsed = static_cast<DWORD>(palette.size());
    std::string out(reinterpret_cast<const char*>(&h), sizeof(h));
    out.append(reinterpret_cast<const char*>(palette.data()), palette.size() * 4);
    out.append(reinterpret_cast<const char*>(rows.data()), rows.size());
    return out;
}

TEST(Dib, OtherProgramsPicturesAreRead) {
    // 24 bits, bottom-up, each row padded to four bytes: the bottom row comes first.
    const std::string rgb = dibOf(2, 2, 24, {},
                                  {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0,    // bottom: red green
                                   0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0});  // top: blue white
    const ui::Bitmap a = win32gui::fromPackedDib(rgb);
    ASSERT_EQ(a.pixels.size(), 4u);
    EXPECT_EQ(a.pixels[0], 0xFF0000FFU);  // top left: blue
    EXPECT_EQ(a.pixels[1], 0xFFFFFFFFU);
    EXPECT_EQ(a.pixels[2], 0xFFFF0000U);  // bottom left: red
    EXPECT_EQ(a.pixels[3], 0xFF00FF00U);

    // 1 bit with a two-colour table, as a scanned or monochrome picture comes.
    const std::string mono = dibOf(3, 1, 1, {0x000000, 0xFFFFFF}, {0b10100000, 0, 0, 0});
    const ui::Bitmap m = win32gui::fromPackedDib(mono);
    ASSERT_EQ(m.pixels.size(), 3u);
    EXPECT_EQ(m.pixels[0], 0xFFFFFFFFU);
    EXPECT_EQ(m.pixels[1], 0xFF000000U);
    EXPECT_EQ(m.pixels[2], 0xFFFFFFFFU);
}

TEST(Dib, BrokenPicturesReadAsNothingRatherThanGarbage) {
    const std::string good = win32gui::packedDib(sample(4, 4));
    EXPECT_TRUE(win32gui::fromPackedDib(good.substr(0, good.size() - 1)).empty()) << "short";
    EXPECT_TRUE(win32gui::fromPackedDib("").empty());
    EXPECT_TRUE(win32gui::fromBmpFile("XX" + good).empty());
    std::string huge = good;
    BITMAPINFOHEADER h{};
    std::memcpy(&h, huge.data(), sizeof(h));
    h.biWidth = 60000;
    h.biHeight = 60000;  // would need far more bytes than there are
    std::memcpy(huge.data(), &h, sizeof(h));
    EXPECT_TRUE(win32gui::fromPackedDib(huge).empty());
    h.biWidth = 4;
    h.biHeight = 4;
    h.biCompression = BI_RLE8;
    std::memcpy(huge.data(), &h, sizeof(h));
    EXPECT_TRUE(win32gui::fromPackedDib(huge).empty()) << "compressed";
}

TEST(FileDialogs, FiltersBecomeNameAndPatternPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(win32gui::fileFilter("File mtf|*.mtf|Tutti|*.*"),
              L"File mtf\0*.mtf\0Tutti\0*.*\0\0"s);
    EXPECT_EQ(win32gui::fileFilter("Programmi|*|Tutti"), L"Programmi\0*\0\0"s);
    EXPECT_EQ(win32gui::fileFilter(""), L"\0"s);
}

// How Windows splits the command line again.
std::vector<std::wstring> split(const std::wstring& line) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> out;
    for (int i = 0; i < count; ++i) {
        out.emplace_back(argv[i]);
    }
    LocalFree(argv);
    return out;
}

TEST(CommandLine, ArgumentsComeBackAsTheyWereGiven) {
    const std::vector<std::wstring> arguments = {
        L"C:\\Temp\\formula.tex",
        L"C:\\Documents and Settings\\studente\\formula.tex",
        L"",
        L"say \"hi\"",
        L"C:\\a folder\\",
        L"back\\\\slash",
        L"tab\there",
        L"perch\u00E9",
    };
    const std::wstring program = L"C:\\Program Files\\Editor\\editor.exe";
    const std::vector<std::wstring> got = split(win32gui::commandLine(program, arguments));
    ASSERT_EQ(got.size(), arguments.size() + 1);
    EXPECT_EQ(got[0], program);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        EXPECT_EQ(got[i + 1], arguments[i]) << i;
    }
    EXPECT_EQ(win32gui::quoteArgument(L"plain"), L"plain");
    EXPECT_EQ(win32gui::quoteArgument(L"a b"), L"\"a b\"");
}

}  // namespace
