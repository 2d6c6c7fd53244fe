#include "installer/system/sandbox/host_files.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace installer::system {

std::optional<std::string> readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool writeHostFile(const std::filesystem::path& path, const std::string& bytes) {
    const std::filesystem::path temp = path.string() + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            return false;
        }
        out.close();
        if (!out) {
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

}  // namespace installer::system
