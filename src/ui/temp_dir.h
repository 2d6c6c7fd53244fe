#pragma once

// The program's private temporary folder: made fresh for this run, readable only by the user
// (mode 0700), under $XDG_RUNTIME_DIR when that is set and usable, else under the system's
// temporary folder with an unpredictable name (mkdtemp), so no other user can plant a file or
// a link where the program will write. On Windows it is a fresh folder with a random name in
// the user's own temporary folder. It is removed with everything in it when the object is
// destroyed.

#include <filesystem>
#include <string>

namespace ui {

class PrivateTempDir {
public:
    // Creates the folder; on failure path() is empty and error() says why.
    PrivateTempDir();
    ~PrivateTempDir();
    PrivateTempDir(const PrivateTempDir&) = delete;
    PrivateTempDir& operator=(const PrivateTempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    std::filesystem::path path_;
    std::string error_;
};

}  // namespace ui
