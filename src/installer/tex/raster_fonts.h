#pragma once

// Raster-font configuration (component-program operation 212): every GF, PK and PXL font
// below the TeX system's FONTS folder is read for its resolution, matched with its font metric
// (in the font library, or a .tfm file of the same name in the scanned folders), and the
// registered fonts are written to BIN\RFONTS.SET (layout below; the README has it too).
//
// The readers check every offset they use against the bytes the file really has; a damaged
// font gives its message (or the CError text naming the file) and is left out. Nothing here
// fails the installation: the step reports what it did through the progress sink (every log
// line as a status text, the errors that stop the step also as a warning). A cancel request
// stops the scan with CError 8.
//
// RFONTS.SET (integers little-endian):
//   header, 44 bytes: "RFONTSET"; version 1 (16 bits); header size 44 (16 bits); number of
//     folders, offset of the folder texts, number of names, offset of the name table, number
//     of fonts, offset of the font records, file size, 0 (eight 32-bit words);
//   folder texts: each folder (a Windows path ending in a backslash), zero-terminated;
//   name table: each font name and file extension once, zero-terminated;
//   font records, 16 bytes each, in registration order: folder index, name index, extension
//     index (16 bits each); format (8 bits: 1 GF, 2 PK, 3 PXL, 4 "!F!"); metric source (8 bits:
//     1 the font library, 2 a .tfm file); resolution in dots per inch (16 bits); the .tfm
//     file's folder index (16 bits, 0xFFFF for the library); 0 (32 bits).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer {
class InstallJob;
class ProgressSink;
}  // namespace installer

namespace installer::tex {

enum class RasterFormat { Gf = 1, Pk = 2, Pxl = 3, Fpf = 4 };

// What a reader made of one file: the resolution in dots per inch when the font can be used,
// and its messages (errors, or the PK aspect-ratio warning), `%s` filled with `file`.
struct RasterRead {
    std::optional<int> resolution;
    std::vector<std::string> messages;
};

RasterRead readGf(std::string_view bytes, std::string_view file);
RasterRead readPk(std::string_view bytes, std::string_view file);
// PXL, and "!F!" files (`checkId` false) which have no identification words.
RasterRead readPxl(std::string_view bytes, std::string_view file, bool checkId = true);

// The raster format an extension names by its end ("300pk", "GF", "1500pxl", "!F!"), or none.
std::optional<RasterFormat> rasterFormatOf(std::string_view extension);

struct RegisteredFont {
    std::size_t folder = 0;  // index into RasterConfiguration::folders
    std::string name;
    std::string extension;
    RasterFormat format = RasterFormat::Gf;
    int resolution = 0;
    bool metricInLibrary = true;
    std::size_t metricFolder = 0;  // when the metric is a .tfm file
};

struct RasterConfiguration {
    std::vector<std::string> folders;
    std::vector<RegisteredFont> fonts;
    std::string log;  // every line the step reported
    bool written = false;
};

struct RasterLimits {
    std::size_t folders = 255;
    std::size_t fonts = 4096;
};

// Scans root + "FONTS\" and its folders (root = the parent of `binFolder`), matches against
// `library` and writes binFolder + "RFONTS.SET".
RasterConfiguration configureRasterFonts(system::System& sys, ProgressSink& sink,
                                         const std::string& binFolder, const std::string& library,
                                         RasterLimits limits = {});

// The bytes of RFONTS.SET for a configuration.
std::string rasterFontTable(const RasterConfiguration& configuration);

// Operation 212 in a running job: journals RFONTS.SET and runs the configuration.
void configureRasterFonts(InstallJob& job, const std::string& binFolder);

}  // namespace installer::tex
