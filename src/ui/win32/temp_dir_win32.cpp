// The private temporary folder on Windows: a fresh folder with a random name in the user's
// own temporary folder (which other users cannot write), made with CreateDirectory, which
// fails rather than reuse a folder that is already there.

#include "ui/temp_dir.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <random>
#include <string>

namespace ui {

PrivateTempDir::PrivateTempDir() {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) {
        error_ = "GetTempPath: " + std::to_string(GetLastError());
        return;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::path(base) / ("tattilo-" + std::to_string(random()));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error_ = candidate.string() + ": " + std::to_string(GetLastError());
            return;
        }
    }
    error_ = "no free name for a temporary folder";
}

}  // namespace ui
