#include "installer/system/sandbox/sandbox_system.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "installer/system/host_io.h"
#include "installer/system/sandbox/host_files.h"
#include "installer/system/sandbox/shell_link_file.h"
#include "installer/win_path.h"

namespace installer::system {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxPath = 260;

DriveType parseDriveType(std::string_view word) {
    static const std::pair<std::string_view, DriveType> names[] = {
        {"noroot", DriveType::NoRoot}, {"removable", DriveType::Removable},
        {"fixed", DriveType::Fixed},   {"remote", DriveType::Remote},
        {"cdrom", DriveType::CdRom},   {"ramdisk", DriveType::RamDisk},
    };
    for (const auto& [name, type] : names) {
        if (iequals(word, name)) {
            return type;
        }
    }
    return DriveType::Unknown;
}

std::optional<std::uint64_t> parseUnsigned(const std::optional<std::string>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : *text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

void SandboxSystem::makeDefaultMachine(const fs::path& root) {
    fs::create_directories(root / "C" / "WINDOWS" / "SYSTEM32");
    fs::create_directories(root / "C" / "WINDOWS" / "Fonts");
    const fs::path users = root / "C" / "Documents and Settings";
    fs::create_directories(users / "All Users" / "Start Menu" / "Programs");
    fs::create_directories(users / "Studente" / "Start Menu" / "Programs");
    fs::create_directories(users / "Studente" / "Desktop");
    const std::string settings =
        "; The machine this sandbox plays. Drive types: fixed, removable, remote, cdrom,\r\n"
        "; ramdisk, noroot, unknown. Family: NT or 9x.\r\n"
        "[Windows]\r\n"
        "Directory=C:\\WINDOWS\r\n"
        "Family=NT\r\n"
        "Version=5.1\r\n"
        "Build=2600\r\n"
        "Language=1040\r\n"
        "\r\n"
        "[Folders]\r\n"
        "Programs=C:\\Documents and Settings\\Studente\\Start Menu\\Programs\r\n"
        "CommonPrograms=C:\\Documents and Settings\\All Users\\Start Menu\\Programs\r\n"
        "Desktop=C:\\Documents and Settings\\Studente\\Desktop\r\n"
        "\r\n"
        "[Drive C]\r\n"
        "Type=fixed\r\n"
        "FileSystem=NTFS\r\n"
        "FreeBytes=8589934592\r\n"
        "ClusterBytes=4096\r\n";
    const std::string registry =
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n"
        "\"Arial (TrueType)\"=\"arial.ttf\"\r\n";
    if (!writeHostFile(root / "sandbox.ini", settings) ||
        !writeHostFile(root / "registry.reg", registry)) {
        throw std::runtime_error("cannot write the sandbox machine into " + root.string());
    }
}

SandboxSystem::SandboxSystem(const fs::path& root) : root_(fs::absolute(root)) {
    if (!fs::exists(root_ / "sandbox.ini")) {
        makeDefaultMachine(root_);
    }
    // A rewrite of the machine's own files that a killed process left half-way.
    std::error_code ignored;
    fs::remove(root_ / "sandbox.ini.new", ignored);
    fs::remove(root_ / "registry.reg.new", ignored);
    const auto settings = readHostFile(root_ / "sandbox.ini");
    if (!settings) {
        throw std::runtime_error("cannot read " + (root_ / "sandbox.ini").string());
    }
    settings_ = Profile(*settings);
    if (const auto registry = readHostFile(root_ / "registry.reg")) {
        registry_ = RegistryFile(*registry);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string section = std::string("Drive ") + letter;
        if (!settings_.hasSection(section)) {
            continue;
        }
        Drive d;
        d.type = parseDriveType(settings_.getString(section, "Type", "unknown"));
        d.fileSystem = settings_.getString(section, "FileSystem", "");
        d.freeBytes = parseUnsigned(settings_.find(section, "FreeBytes"));
        if (auto cluster = parseUnsigned(settings_.find(section, "ClusterBytes"))) {
            d.clusterBytes = static_cast<std::uint32_t>(*cluster);
        }
        const std::string folder = settings_.getString(section, "Folder", "");
        d.folder = folder.empty() ? root_ / std::string(1, letter) : fs::path(folder);
        d.readOnly = settings_.getInt(section, "ReadOnly", 0) != 0;
        d.serial = static_cast<std::uint32_t>(
            settings_.getInt(section, "Serial", 0x1A2B3C00 + (letter - 'A')));
        drives_[letter] = d;
    }
}

bool SandboxSystem::mountFolder(char letter, const fs::path& folder, bool writable) {
    letter = upperChar(letter);
    if (drives_.count(letter)) {
        return false;
    }
    Drive d;
    d.type = writable ? DriveType::Fixed : DriveType::CdRom;
    d.fileSystem = writable ? "NTFS" : "CDFS";
    d.folder = fs::absolute(folder);
    d.readOnly = !writable;
    drives_[letter] = d;
    return true;
}

std::optional<char> SandboxSystem::freeDriveLetter() const {
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        if (!drives_.count(letter)) {
            return letter;
        }
    }
    return std::nullopt;
}

const SandboxSystem::Drive* SandboxSystem::drive(char letter) const {
    const auto it = drives_.find(upperChar(letter));
    return it == drives_.end() ? nullptr : &it->second;
}

std::optional<fs::path> SandboxSystem::hostPath(std::string_view path) const {
    if (path.size() < 2 || path[1] != ':' || path.size() >= kMaxPath) {
        return std::nullopt;
    }
    const Drive* d = drive(path[0]);
    if (!d || (path.size() > 2 && path[2] != '\\' && path[2] != '/')) {
        return std::nullopt;
    }
    std::vector<std::string> elements;
    for (auto& element : splitPath(path.substr(2))) {
        if (element == ".") {
            continue;
        }
        if (element == "..") {
            if (!elements.empty()) {
                elements.pop_back();
            }
            continue;
        }
        if (isDeviceName(element)) {
            return std::nullopt;
        }
        for (char c : element) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 32 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
                c == '|') {
                return std::nullopt;
            }
        }
        // Windows drops trailing dots and blanks of an element.
        while (!element.empty() && (element.back() == '.' || element.back() == ' ')) {
            element.pop_back();
        }
        if (element.empty()) {
            return std::nullopt;
        }
        elements.push_back(std::move(element));
    }
    if (elements.empty()) {
        return d->folder;
    }
    const std::string last = std::move(elements.back());
    elements.pop_back();
    std::string key(1, upperChar(path[0]));
    for (const auto& element : elements) {
        key += '\\' + upper(element);
    }
    std::lock_guard guard(indexLock_);
    // The folder as it was found before, while it is still there; else element by element.
    if (const auto cached = folders_.find(key); cached != folders_.end()) {
        if (auto name = entryName(cached->second, last)) {
            return cached->second / *name;
        }
        folders_.erase(cached);
    }
    fs::path host = d->folder;
    bool found = true;
    for (const auto& element : elements) {
        const auto name = found ? entryName(host, element) : std::nullopt;
        found = name.has_value();
        host /= name ? *name : element;
    }
    const auto name = found ? entryName(host, last) : std::nullopt;
    if (name) {
        folders_[key] = host;
    }
    return host / (name ? *name : last);
}

std::optional<std::string> SandboxSystem::entryName(const fs::path& folder,
                                                    const std::string& name) const {
    std::error_code ec;
    const std::string key = folder.string();
    const auto modified = fs::last_write_time(folder, ec);
    if (ec) {
        index_.erase(key);
        return std::nullopt;
    }
    auto it = index_.find(key);
    if (it == index_.end() || it->second.modified != modified) {
        FolderIndex fresh;
        fresh.modified = modified;
        for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end;
             entry.increment(ec)) {
            const std::string found = entry->path().filename().string();
            fresh.names.try_emplace(upper(found), found);
        }
        if (ec) {
            index_.erase(key);
            return name;
        }
        it = index_.insert_or_assign(key, std::move(fresh)).first;
    }
    const auto found = it->second.names.find(upper(name));
    if (found == it->second.names.end() || found->second == name) {
        return name;
    }
    // Another spelling is there; a host that tells case may hold this one as well.
    return fs::exists(folder / name, ec) ? name : found->second;
}

void SandboxSystem::noteAdded(const fs::path& host) const {
    std::lock_guard guard(indexLock_);
    const auto it = index_.find(host.parent_path().string());
    if (it == index_.end()) {
        return;
    }
    const std::string name = host.filename().string();
    it->second.names.try_emplace(upper(name), name);
    refreshTime(it);
}

void SandboxSystem::noteRemoved(const fs::path& host) const {
    std::lock_guard guard(indexLock_);
    const std::string removed = host.string();
    index_.erase(removed);  // a folder's own index goes with it
    std::erase_if(folders_, [&](const auto& entry) {
        const std::string folder = entry.second.string();
        return folder == removed ||
               (folder.size() > removed.size() && folder.compare(0, removed.size(), removed) == 0 &&
                folder[removed.size()] == fs::path::preferred_separator);
    });
    const auto it = index_.find(host.parent_path().string());
    if (it == index_.end()) {
        return;
    }
    const std::string name = host.filename().string();
    if (const auto found = it->second.names.find(upper(name));
        found != it->second.names.end() && found->second == name) {
        it->second.names.erase(found);
    }
    refreshTime(it);
}

// The folder's time after the sandbox's own change: a later change by anyone else moves it
// again (file systems give a new time to a change made after the time was read).
void SandboxSystem::refreshTime(std::unordered_map<std::string, FolderIndex>::iterator it) const {
    std::error_code ec;
    it->second.modified = fs::last_write_time(it->first, ec);
    if (ec) {
        index_.erase(it);
    }
}

std::optional<fs::path> SandboxSystem::writablePath(std::string_view path) const {
    if (path.size() < 2) {
        return std::nullopt;
    }
    const Drive* d = drive(path[0]);
    if (!d || d->readOnly) {
        return std::nullopt;
    }
    return hostPath(path);
}

bool SandboxSystem::fileExists(std::string_view path) {
    const auto host = hostPath(path);
    std::error_code ec;
    return host && fs::is_regular_file(*host, ec);
}

bool SandboxSystem::folderExists(std::string_view path) {
    const auto host = hostPath(path);
    std::error_code ec;
    return host && fs::is_directory(*host, ec);
}

std::unique_ptr<ReadFile> SandboxSystem::openRead(std::string_view path) {
    const auto host = hostPath(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) {
        return nullptr;
    }
    return openHostRead(*host);
}

std::unique_ptr<WriteFile> SandboxSystem::openWrite(std::string_view path) {
    // Opening a folder for writing fails by itself.
    const auto host = writablePath(path);
    if (!host) {
        return nullptr;
    }
    auto file = openHostWrite(*host);
    if (file) {
        noteAdded(*host);
    }
    return file;
}

bool SandboxSystem::deleteFile(std::string_view path) {
    const auto host = writablePath(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec) || !deleteHostFile(*host)) {
        return false;
    }
    noteRemoved(*host);
    return true;
}

bool SandboxSystem::moveFile(std::string_view from, std::string_view to) {
    const auto source = writablePath(from);
    const auto target = writablePath(to);
    std::error_code ec;
    if (!source || !target || !fs::is_regular_file(*source, ec) || fs::exists(*target, ec)) {
        return false;
    }
    fs::rename(*source, *target, ec);
    if (ec) {
        return false;
    }
    noteRemoved(*source);
    noteAdded(*target);
    return true;
}

bool SandboxSystem::replaceFile(std::string_view from, std::string_view to) {
    const auto source = writablePath(from);
    const auto target = writablePath(to);
    std::error_code ec;
    if (!source || !target || !fs::is_regular_file(*source, ec) || fs::is_directory(*target, ec)) {
        return false;
    }
    if (!replaceHostFile(*source, *target)) {
        return false;
    }
    noteRemoved(*source);
    noteAdded(*target);
    return true;
}

std::unique_ptr<WriteFile> SandboxSystem::openLocked(std::string_view path, bool& busy) {
    busy = false;
    const auto host = writablePath(path);
    std::error_code ec;
    if (!host || fs::is_directory(*host, ec)) {
        return nullptr;
    }
    auto file = openHostLocked(*host, busy);
    if (file) {
        noteAdded(*host);
    }
    return file;
}

bool SandboxSystem::createFolder(std::string_view path) {
    const auto host = writablePath(path);
    if (!host || !createHostFolder(*host)) {
        return false;
    }
    noteAdded(*host);
    return true;
}

bool SandboxSystem::removeFolder(std::string_view path) {
    const auto host = writablePath(path);
    if (!host || splitPath(path.substr(2)).empty()) {
        return false;  // never a drive's root
    }
    if (!removeHostFolder(*host)) {
        return false;
    }
    noteRemoved(*host);
    return true;
}

bool SandboxSystem::fileInUse(std::string_view path) {
    const auto host = hostPath(path);
    std::error_code ec;
    return host && fs::is_regular_file(*host, ec) && hostFileInUse(*host);
}

std::optional<std::vector<std::string>> SandboxSystem::listFolder(std::string_view path) {
    const auto host = hostPath(path);
    std::error_code ec;
    if (!host || !fs::is_directory(*host, ec)) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (fs::directory_iterator it(*host, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    if (ec) {
        return std::nullopt;
    }
    return names;
}

std::optional<FileTime> SandboxSystem::fileTime(std::string_view path) {
    const auto host = hostPath(path);
    if (!host) {
        return std::nullopt;
    }
    return hostFileTime(*host);
}

bool SandboxSystem::setFileTime(std::string_view path, FileTime time) {
    const auto host = writablePath(path);
    if (!host) {
        return false;
    }
    return setHostFileTime(*host, time);
}

std::optional<FileTime> SandboxSystem::fromLocalTime(const LocalTime& time) {
    struct tm broken {};
    broken.tm_year = time.year - 1900;
    broken.tm_mon = time.month - 1;
    broken.tm_mday = time.day;
    broken.tm_hour = time.hour;
    broken.tm_min = time.minute;
    broken.tm_sec = time.second;
    broken.tm_isdst = -1;
    const time_t seconds = ::mktime(&broken);
    // A date that does not exist (30 February) comes back moved: refuse it.
    if (seconds == static_cast<time_t>(-1) || broken.tm_mday != time.day ||
        broken.tm_mon != time.month - 1 || broken.tm_year != time.year - 1900) {
        return std::nullopt;
    }
    return FileTime{static_cast<std::int64_t>(seconds) * 1000000000};
}

std::string SandboxSystem::windowsDirectory() {
    std::string dir = settings_.getString("Windows", "Directory", "C:\\WINDOWS");
    while (dir.size() > 3 && dir.back() == '\\') {
        dir.pop_back();
    }
    return dir;
}

WindowsVersion SandboxSystem::windowsVersion() {
    WindowsVersion v;
    v.nt = !iequals(settings_.getString("Windows", "Family", "NT"), "9x");
    const std::string version = settings_.getString("Windows", "Version", v.nt ? "5.1" : "4.10");
    const auto dot = version.find('.');
    v.major = static_cast<unsigned>(parseDecimal(version.substr(0, dot)));
    v.minor = dot == std::string::npos
                  ? 0u
                  : static_cast<unsigned>(parseDecimal(std::string_view(version).substr(dot + 1)));
    v.build = static_cast<unsigned>(settings_.getInt("Windows", "Build", 0));
    return v;
}

unsigned SandboxSystem::defaultLanguage() {
    return static_cast<unsigned>(settings_.getInt("Windows", "Language", 1040));
}

std::optional<std::string> SandboxSystem::specialFolder(SpecialFolder folder) {
    const char* key = folder == SpecialFolder::Programs         ? "Programs"
                      : folder == SpecialFolder::CommonPrograms ? "CommonPrograms"
                                                                : "Desktop";
    auto value = settings_.find("Folders", key);
    if (!value || value->empty()) {
        return std::nullopt;
    }
    return value;
}

bool SandboxSystem::createShellLink(std::string_view path, const ShellLink& link) {
    const auto host = writablePath(path);
    std::error_code ec;
    if (!host || !fs::is_directory(host->parent_path(), ec) || fs::is_directory(*host, ec)) {
        return false;
    }
    LinkTargetInfo target;
    if (const auto targetHost = hostPath(link.target)) {
        if (fs::exists(*targetHost, ec)) {
            target.modified = fileTime(link.target);
            target.folder = fs::is_directory(*targetHost, ec);
            if (!target.folder) {
                target.size = static_cast<std::uint32_t>(fs::file_size(*targetHost, ec));
            }
        }
    }
    if (const Drive* d = link.target.empty() ? nullptr : drive(link.target[0])) {
        target.driveSerial = d->serial;
    }
    const std::string bytes = encodeShellLink(link, target);
    auto out = openWrite(path);
    return out && out->write(bytes.data(), bytes.size()) && out->close();
}

DriveType SandboxSystem::driveType(char letter) {
    const Drive* d = drive(letter);
    if (!d) {
        return DriveType::NoRoot;
    }
    std::error_code ec;
    return fs::is_directory(d->folder, ec) ? d->type : DriveType::NoRoot;
}

std::optional<std::uint64_t> SandboxSystem::freeBytes(char letter) {
    const Drive* d = drive(letter);
    return d ? d->freeBytes : std::nullopt;
}

std::string SandboxSystem::fileSystemName(char letter) {
    const Drive* d = drive(letter);
    return d ? d->fileSystem : std::string();
}

std::optional<std::uint32_t> SandboxSystem::clusterBytes(char letter) {
    const Drive* d = drive(letter);
    return d ? d->clusterBytes : std::nullopt;
}

}  // namespace installer::system
