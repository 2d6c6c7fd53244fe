#include "win32gui/console.h"

#include <cstdio>
#include <iostream>

#include "win32gui/native.h"

namespace win32gui {
namespace {

bool leadsSomewhere(DWORD which) {
    HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

bool connectStandardStreams() {
    const bool out = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool err = leadsSomewhere(STD_ERROR_HANDLE);
    if (out && err) {
        return true;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return out || err;
    }
    // The C runtime saw no standard handles at start: its streams are opened on the console.
    if (!out && std::freopen("CONOUT$", "w", stdout) != nullptr) {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        std::cout.clear();
    }
    if (!err && std::freopen("CONOUT$", "w", stderr) != nullptr) {
        std::setvbuf(stderr, nullptr, _IONBF, 0);
        std::cerr.clear();
    }
    return true;
}

}  // namespace win32gui
