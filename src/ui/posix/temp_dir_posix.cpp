// The private temporary folder on a POSIX system.

#include "ui/temp_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace ui {
namespace {

// A base folder we may create a private folder in: an existing directory owned by us or the
// system's sticky temporary folder.
bool usableBase(const char* dir) {
    if (dir == nullptr || *dir != '/') {
        return false;
    }
    struct stat st {};
    return ::stat(dir, &st) == 0 && S_ISDIR(st.st_mode) && ::access(dir, W_OK | X_OK) == 0;
}

}  // namespace

PrivateTempDir::PrivateTempDir() {
    std::vector<std::string> bases;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); usableBase(runtime)) {
        bases.emplace_back(runtime);
    }
    if (const char* tmp = std::getenv("TMPDIR"); usableBase(tmp)) {
        bases.emplace_back(tmp);
    }
    bases.emplace_back("/tmp");
    for (const std::string& base : bases) {
        std::string pattern = base + "/tattilo-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        // mkdtemp creates the folder with mode 0700 and a name nobody can guess in advance.
        if (::mkdtemp(buffer.data()) != nullptr) {
            path_ = buffer.data();
            return;
        }
        error_ = base + ": " + std::strerror(errno);
    }
}

}  // namespace ui
