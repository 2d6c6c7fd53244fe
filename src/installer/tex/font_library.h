#pragma once

// TFM.LIB, the TeX system's font library: the font metric files of BIN gathered into one file.
//
// Layout (integers little-endian): a 16-byte header ("TFM", 0x04, "LIB", 0x1A, "@@@@@", a zero
// byte, the number of entries in 16 bits); one 16-byte directory entry per font, sorted by name
// in byte order (the name, at most eight lower-case characters, zero-filled; the offset of the
// font's data from the start of the file; its length, both 32 bits); then the fonts' data in
// directory order.
//
// A merge writes the new library to a temporary file in the same folder and only then puts it
// in the old one's place in one step, so a merge that fails for any reason leaves the old
// library as it was. Every offset and length read from a library or a metric file is checked
// against the file's real size. Errors are CError: 2 a file that exists but cannot be opened, 3 a
// read error, 4 a write error, 5 a damaged library or metric file (each naming the file).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer {
class InstallJob;
class UndoLog;
}  // namespace installer

namespace installer::tex {

struct LibraryEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// The directory of a library held in `bytes`; CError 5 naming `path` when the header is not a
// library's or an entry lies outside the file.
std::vector<LibraryEntry> readLibraryDirectory(std::string_view bytes, const std::string& path);

// The directory of the library file at `path`, or CError (2, 3, 5).
std::vector<LibraryEntry> readLibrary(system::System& sys, const std::string& path);

// The library name of a metric file: its file name up to the extension, lower case, at most
// eight characters.
std::string libraryName(std::string_view fileName);

// Merges the metric files into the library at `library` (made when missing): a file replaces
// the entry of the same name. When two files give the same name, the one whose file name
// sorts last wins. With a `journal`, the temporary file is journalled as new before it is
// made, so that a crash between writing it and putting it in place leaves nothing behind.
void mergeFontLibrary(system::System& sys, const std::string& library,
                      const std::vector<std::string>& metricFiles, UndoLog* journal = nullptr);

// The finishing step: backs the library up (or journals it as new), merges every BIN\*.TFM
// into it and deletes those files, also when the merge fails (the failure is raised again).
void updateFontLibrary(InstallJob& job);

// root + the name given by operation 235, or root + "BIN\TFM.LIB".
std::string fontLibraryPath(InstallJob& job);

}  // namespace installer::tex
