#pragma once

// The TrueType alias file SRC\ALIASING.WIN, kept by the TeX system's KORVOTTF.DLL: every
// TrueType font in TTF\ that the file does not know yet is added with its style word and
// whether it carries a "QLNS" table. Problems only warn through the progress sink; the
// installation goes on.

#include <string>

#include "installer/tex/tex_libraries.h"

namespace installer {
class InstallJob;
}

namespace installer::tex {

// The step: root + "BIN\KORVOTTF.DLL" loaded (warning "Can not find " + its path when it is
// missing) and the alias file updated through it.
void updateTrueTypeAliasFile(InstallJob& job);

// The step with the library's entry points already found (`calls` null: the library could
// not be loaded). `library` is its path, for the warning.
void updateTrueTypeAliasFile(InstallJob& job, const std::string& library,
                             const TrueTypeAliasCalls* calls);

}  // namespace installer::tex
