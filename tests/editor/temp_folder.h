#pragma once

// A private folder for one test, removed with everything in it at the end of the test.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "../scratch_folder.h"

namespace editor::testing {

class TempFolder {
public:
    TempFolder() {
        path_ = testing_support::makeScratchFolder(std::filesystem::temp_directory_path(),
                                                   "editor-test-");
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // The names of the entries of the folder, sorted, one per line.
    std::string listing() const {
        std::vector<std::string> entries;
        for (const auto& e : std::filesystem::directory_iterator(path_)) {
            entries.push_back(e.path().filename().string());
        }
        std::sort(entries.begin(), entries.end());
        std::string names;
        for (const std::string& name : entries) {
            names += name + "\n";
        }
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::filesystem::path testData(std::string_view relative) {
    return std::filesystem::path(TATTILO_TEST_DATA) / "editor" / relative;
}

}  // namespace editor::testing
