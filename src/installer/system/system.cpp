#include "installer/system/system.h"

#include "installer/win_path.h"

namespace installer::system {

namespace {

constexpr std::string_view kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                           "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

}  // namespace

std::string_view regRootName(RegRoot root) {
    return kRootNames[static_cast<std::size_t>(root)];
}

std::optional<RegRoot> regRootFromName(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kRootNames); ++i) {
        if (iequals(name, kRootNames[i])) {
            return static_cast<RegRoot>(i);
        }
    }
    return std::nullopt;
}

bool readInPieces(System& sys, std::string_view path,
                  const std::function<void(std::string_view piece)>& take) {
    auto file = sys.openRead(path);
    if (!file) {
        return false;
    }
    char buffer[65536];
    for (;;) {
        const auto got = file->read(buffer, sizeof buffer);
        if (!got) {
            return false;
        }
        if (*got == 0) {
            return true;
        }
        take(std::string_view(buffer, *got));
    }
}

std::optional<std::string> readWholeFile(System& sys, std::string_view path) {
    std::string bytes;
    if (!readInPieces(sys, path, [&bytes](std::string_view piece) { bytes += piece; })) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace installer::system
