#include "editor/recovery/recovery_folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <random>
#include <system_error>

#include "editor/document_file.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".tattilo-";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kCopySuffix = ".mtf";
constexpr std::string_view kTemporaryMark = ".mtf.~";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kIdLength = 12;
constexpr std::string_view kSetAside = " - copia di recupero del ";
constexpr std::string_view kSetAsideDamaged = "copia di recupero danneggiata del ";
constexpr std::string_view kNoName = "documento";

int codeOf(const std::error_code& ec) {
    return ec.value() != 0 ? ec.value() : EIO;
}

bool isHexId(std::string_view id) {
    return id.size() == kIdLength && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

enum class Kind { Other, Lock, Copy, Temporary };

// What a name of the folder is, and the program it belongs to.
std::pair<Kind, std::string> classify(std::string_view name) {
    if (!name.starts_with(kPrefix) || name.size() < kPrefix.size() + kIdLength) {
        return {Kind::Other, {}};
    }
    const std::string_view id = name.substr(kPrefix.size(), kIdLength);
    if (!isHexId(id)) {
        return {Kind::Other, {}};
    }
    std::string_view rest = name.substr(kPrefix.size() + kIdLength);
    if (rest == kLockSuffix) {
        return {Kind::Lock, std::string(id)};
    }
    if (!rest.starts_with('-')) {
        return {Kind::Other, {}};
    }
    rest.remove_prefix(1);
    if (rest.ends_with(kTemporarySuffix)) {
        const std::size_t mark = rest.find(kTemporaryMark);
        if (mark != std::string_view::npos && allDigits(rest.substr(0, mark))) {
            return {Kind::Temporary, std::string(id)};
        }
        return {Kind::Other, {}};
    }
    if (rest.ends_with(kCopySuffix) &&
        allDigits(rest.substr(0, rest.size() - kCopySuffix.size()))) {
        return {Kind::Copy, std::string(id)};
    }
    return {Kind::Other, {}};
}

std::string newId() {
    static std::random_device random;
    std::mt19937_64 mix(
        (static_cast<std::uint64_t>(random()) << 32) ^ random() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::uint64_t value = mix();
    constexpr char kHex[] = "0123456789abcdef";
    std::string id;
    for (std::size_t i = 0; i < kIdLength; ++i) {
        id += kHex[(value >> (4 * i)) & 0xF];
    }
    return id;
}

fs::path lockFile(const fs::path& folder, std::string_view id) {
    return folder / (std::string(kPrefix) + std::string(id) + std::string(kLockSuffix));
}

std::int64_t fileSeconds(fs::file_time_type time) {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(time).time_since_epoch())
        .count();
}

std::tm localTm(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    // The window's thread is the only one that asks.
    const std::tm* local = std::localtime(&t);
    return local != nullptr ? *local : std::tm{};
}

std::string formatTm(const std::tm& tm, const char* format) {
    char buffer[64] = {};
    return std::strftime(buffer, sizeof buffer, format, &tm) > 0 ? std::string(buffer)
                                                                 : std::string();
}

// The name of a document without its folder and its extension.
std::string stemOf(std::string_view name) {
    std::string_view part = fileNamePart(name);
    const std::size_t dot = part.rfind('.');
    if (dot != std::string_view::npos && dot > 0) {
        part = part.substr(0, dot);
    }
    return std::string(part);
}

}  // namespace

// ---- this program's place

std::unique_ptr<RecoverySlot> RecoverySlot::take(const fs::path& folder, int& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        error = ec ? codeOf(ec) : ENOTDIR;
        return nullptr;
    }
    // What the student typed is his alone.
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::string id = newId();
        if (auto lock = InstanceLock::create(lockFile(folder, id), error)) {
            return std::unique_ptr<RecoverySlot>(new RecoverySlot(folder, id, std::move(*lock)));
        }
        if (error != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

RecoverySlot::~RecoverySlot() {
    lock_.release(true);
}

fs::path RecoverySlot::copyFile() const {
    return folder_ / (std::string(kPrefix) + id_ + "-" + std::to_string(document_) +
                      std::string(kCopySuffix));
}

int RecoverySlot::removeCopy() const {
    std::error_code ec;
    fs::remove(copyFile(), ec);
    return ec ? codeOf(ec) : 0;
}

int RecoverySlot::adopt(const fs::path& leftCopy) const {
    std::error_code ec;
    fs::rename(leftCopy, copyFile(), ec);
    return ec ? codeOf(ec) : 0;
}

// ---- copies left behind

LeftCopies::~LeftCopies() {
    for (auto& [id, lock] : locks_) {
        bool guarding = false;
        std::error_code ec;
        for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
            const auto [kind, owner] = classify(it->path().filename().string());
            guarding = guarding || (kind == Kind::Copy && owner == id);
        }
        lock.release(!guarding);
    }
}

LeftCopies findLeftCopies(const fs::path& folder, std::string_view ownId) {
    LeftCopies found;
    found.folder_ = folder;
    struct Program {
        std::vector<fs::path> copies;
        std::vector<fs::path> temporaries;
        bool locked = false;
    };
    std::vector<std::pair<std::string, Program>> programs;
    auto program = [&programs](const std::string& id) -> Program& {
        for (auto& [known, p] : programs) {
            if (known == id) {
                return p;
            }
        }
        return programs.emplace_back(id, Program{}).second;
    };
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto [kind, id] = classify(it->path().filename().string());
        if (kind == Kind::Other || id == ownId) {
            continue;
        }
        Program& p = program(id);
        if (kind == Kind::Copy) {
            p.copies.push_back(it->path());
        } else if (kind == Kind::Temporary) {
            p.temporaries.push_back(it->path());
        } else {
            p.locked = true;
        }
    }
    for (auto& [id, p] : programs) {
        auto lock = InstanceLock::takeOver(lockFile(folder, id));
        if (!lock) {
            continue;  // that program still runs, or another start is looking at it
        }
        for (const fs::path& temporary : p.temporaries) {
            fs::remove(temporary, ec);
        }
        for (const fs::path& file : p.copies) {
            LeftCopy left;
            left.file = file;
            left.fileTime = fs::last_write_time(file, ec);
            const ReadResult read = readWholeFile(file);
            if (read.error == ENOENT) {
                continue;  // taken by a start that looked a moment earlier
            }
            if (read.error == 0) {
                left.copy = parseRecoveryCopy(read.bytes);
            }
            found.copies.push_back(std::move(left));
        }
        found.locks_.emplace_back(id, std::move(*lock));
    }
    std::stable_sort(found.copies.begin(), found.copies.end(),
                     [](const LeftCopy& a, const LeftCopy& b) { return a.fileTime > b.fileTime; });
    return found;
}

LeftCopyUse judge(const LeftCopy& left) {
    if (!left.copy) {
        return LeftCopyUse::Damaged;
    }
    const RecoveryCopy& copy = *left.copy;
    const auto now = documentFileTime(copy.state.document);
    if (copy.state.document.empty() || !now || now == copy.documentTime) {
        return LeftCopyUse::Offer;
    }
    const fs::file_time_type time{fs::file_time_type::duration(*now)};
    return fileSeconds(time) >= copy.taken ? LeftCopyUse::Superseded : LeftCopyUse::Offer;
}

std::optional<fs::path> setAside(const LeftCopy& left, int& error) {
    std::string base;
    if (left.copy) {
        const RecoveryState& s = left.copy->state;
        base = stemOf(!s.document.empty() ? s.document : s.exerciseName);
        if (base.empty()) {
            base = std::string(kNoName);
        }
        base += kSetAside;
        base += formatTm(localTm(left.copy->taken), "%Y-%m-%d %H.%M.%S");
    } else {
        base = std::string(kSetAsideDamaged) +
               formatTm(localTm(fileSeconds(left.fileTime)), "%Y-%m-%d %H.%M.%S");
    }
    const fs::path folder = left.file.parent_path();
    std::error_code ec;
    for (int n = 1; n <= 100; ++n) {
        const std::string name = base + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".mtf";
        const fs::path target = systemPath(folder / name);
        if (fs::exists(fs::symlink_status(target, ec))) {
            continue;
        }
        fs::rename(left.file, target, ec);
        if (ec) {
            error = codeOf(ec);
            return std::nullopt;
        }
        error = 0;
        return target;
    }
    error = EEXIST;
    return std::nullopt;
}

std::optional<std::int64_t> documentFileTime(const std::string& document) {
    if (document.empty()) {
        return std::nullopt;
    }
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(systemPath(document), ec);
    if (ec) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(time.time_since_epoch().count());
}

std::int64_t secondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::pair<std::string, std::string> localDateAndTime(std::int64_t seconds) {
    const std::tm tm = localTm(seconds);
    return {formatTm(tm, "%d/%m/%Y"), formatTm(tm, "%H:%M")};
}

}  // namespace editor
