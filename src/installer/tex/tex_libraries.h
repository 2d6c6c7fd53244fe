#pragma once

// The entry points of the TeX system's two libraries that the installer calls, with the
// signatures it knows them by (C calls, as the libraries export them).
//
// HYPSET.DLL:   int ConfigureHyphenOnInstall(void* window, const char* root)
//               configures HYPHEN.CFG for the TeX system in `root`; non-zero on success.
// KORVOTTF.DLL: void* AWOpen(const char* aliasFile)        opens ALIASING.WIN; null on failure
//               int AWGetFontInfo(void* file, const char* name)   non-zero when `name` is known
//               int AWAddFont(void* file, const char* name, const char* title,
//                             unsigned short macStyle, int hasQlns)   non-zero on success
//               int AWWrite(void* file)                     non-zero when written
//               void AWClose(void* file)

#include <functional>
#include <string_view>

#include "installer/system/system.h"

namespace installer::tex {

using ConfigureHyphenOnInstallFn = int(void*, const char*);
using AWOpenFn = void*(const char*);
using AWGetFontInfoFn = int(void*, const char*);
using AWAddFontFn = int(void*, const char*, const char*, unsigned short, int);
using AWWriteFn = int(void*);
using AWCloseFn = void(void*);

inline constexpr const char* kHyphenationLibrary = "hypset.dll";
inline constexpr const char* kConfigureHyphenOnInstall = "ConfigureHyphenOnInstall";
// The file ConfigureHyphenOnInstall writes, relative to the root it is given.
inline constexpr std::string_view kHyphenationFile = "BIN\\HYPHEN.CFG";

// KORVOTTF.DLL's entry points; an empty one is missing from the library.
struct TrueTypeAliasCalls {
    std::function<AWOpenFn> open;
    std::function<AWGetFontInfoFn> getFontInfo;
    std::function<AWAddFontFn> addFont;
    std::function<AWWriteFn> write;
    std::function<AWCloseFn> close;
    bool complete() const { return open && getFontInfo && addFont && write && close; }
};

// The entry points of a loaded KORVOTTF.DLL.
TrueTypeAliasCalls trueTypeAliasCalls(system::Library& library);

}  // namespace installer::tex

namespace installer {
class ProgressSink;
}

namespace installer::tex {

// Loads HYPSET.DLL by name and calls ConfigureHyphenOnInstall(window, root); warns through
// `sink` when the library or its entry point is missing. The library is released afterwards.
void configureHyphenation(system::System& sys, ProgressSink& sink, void* window,
                          std::string_view root);

}  // namespace installer::tex
