#pragma once

// A new folder with a name no other test run can have, for test programs on every platform:
// made with create_directory, which refuses a folder that is already there.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testing_support {

inline std::filesystem::path makeScratchFolder(const std::filesystem::path& base,
                                               std::string_view prefix) {
    static std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / (std::string(prefix) + std::to_string(random()) + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            return candidate;
        }
        if (ec) {
            break;
        }
    }
    throw std::runtime_error("cannot make a temporary folder in " + base.string());
}

// A name for a file or folder of this run in the system's temporary folder.
inline std::filesystem::path scratchName(std::string_view prefix) {
    static std::random_device random;
    return std::filesystem::temp_directory_path() /
           (std::string(prefix) + std::to_string(random()) + std::to_string(random()));
}

}  // namespace testing_support
