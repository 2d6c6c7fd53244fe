#pragma once

// Every text the TeX system's configuration steps show or log, word for word ("%s" and "%d"
// are filled in by the step that uses them).

#include <string_view>

namespace installer::tex::msg {

// Status texts of the finishing steps.
inline constexpr std::string_view kStatusFontLibrary = "Updating TFM.LIB...";
inline constexpr std::string_view kStatusHyphenation = "Configuring hyphenation patterns...";
inline constexpr std::string_view kStatusFormats = "Creating formats...";
inline constexpr std::string_view kStatusPsAlias = "Updating ALIASING.PST...";
inline constexpr std::string_view kStatusTtfAlias = "Updating ALIASING.WIN...";
inline constexpr std::string_view kStatusInstallerCopy = "Coping installer...";

// Hyphenation.
inline constexpr std::string_view kHyphenNoLibrary =
    "Failed to configure HYPHEN.CFG.\nCan not load HYPSET.DLL!";
inline constexpr std::string_view kHyphenBadLibrary =
    "Failed to configure HYPHEN.CFG.\nHYPSET.DLL is bad or corrupted!";

// TrueType alias file.
inline constexpr std::string_view kCanNotFind = "Can not find ";
inline constexpr std::string_view kCanNotOpenWinAlias = "Can not open ALIASING.WIN\n";
inline constexpr std::string_view kCanNotAddFonts = "Can not add fonts to ALIASING.WIN";
inline constexpr std::string_view kCanNotWriteWinAlias = "Can not write ALIASING.WIN\n";

// Raster-font configuration.
inline constexpr std::string_view kCannotOpenLibrary = "Cannot open the %s library.";
inline constexpr std::string_view kOutOfMemory = "Out of memory in CGRASTER";
inline constexpr std::string_view kScanning = "Scanning %s\r";
inline constexpr std::string_view kCannotCreate = "Cannot create file %s.";
inline constexpr std::string_view kFontLog = "Font #%d: %s%s.%s; mag=%d\n";
inline constexpr std::string_view kTfmLog = "TFM: %s%s.tfm";
inline constexpr std::string_view kFontsWithoutTfm =
    "\nThe following font(s) were not registered (no .TFM file):\n";
inline constexpr std::string_view kFontWithoutTfm = "  %s%s.%s;\n";
inline constexpr std::string_view kTfmsWithoutFont =
    "\nThe following .TFM(s) were not registered (no font files):\n";
inline constexpr std::string_view kTfmWithoutFont = "  %s%s.tfm;\n";
inline constexpr std::string_view kTooManyFonts = "Too many fonts---\ncould not process all...";
inline constexpr std::string_view kTooManyFolders =
    "Too many font directories---\ncould not process all...";

// GF files.
inline constexpr std::string_view kGfTooShort = "GF file %s is too short.";
inline constexpr std::string_view kGfBadId = "Bad ID in a GF file %s.";
inline constexpr std::string_view kGfBadVersion = "Bad GF Version in %s.";
inline constexpr std::string_view kGfNo223 = "Bad GF file %s: missing 223's.";
inline constexpr std::string_view kGfNoPostambleId = "Bad GF file %s: missing postamble ID.";
inline constexpr std::string_view kGfNoPostPost = "Bad GF file %s: post_post missing.";
inline constexpr std::string_view kGfBufferTooSmall = "Input buffer too small for %s.";
inline constexpr std::string_view kGfNoPost = "Bad GF file %s: Post command missing.";
inline constexpr std::string_view kGfOpen = "Error opening GF file %s.";
inline constexpr std::string_view kGfRead = "Error reading GF file %s.";

// PK files.
inline constexpr std::string_view kPkNoPre = "Bad PK file %s: pre command missing.";
inline constexpr std::string_view kPkVersion = "Wrong version of PK file %s.";
inline constexpr std::string_view kPkAspect = "Bad PK file %s: aspect ratio not 1:1!";
inline constexpr std::string_view kPkOpen = "Error opening PK file %s.";

// PXL files.
inline constexpr std::string_view kPxlBad = "Bad PXL file %s";
inline constexpr std::string_view kPxlTooShort = "PXL file is too short in %s";
inline constexpr std::string_view kPxlOpen = "Error opening %s file.";

}  // namespace installer::tex::msg
