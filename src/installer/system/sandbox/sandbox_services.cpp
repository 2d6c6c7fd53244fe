// The sandbox machine's registry, processes, libraries and restart.

#include <chrono>
#include <fstream>
#include <thread>

#include "installer/system/sandbox/host_files.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/win_path.h"

namespace installer::system {

bool SandboxSystem::regKeyExists(RegRoot root, std::string_view key) {
    return registry_.keyExists(root, key);
}

bool SandboxSystem::regKeyWritable(RegRoot root, std::string_view key) {
    if (!registry_.keyExists(root, key)) {
        return false;
    }
    std::string path(regRootName(root));
    for (const auto& part : splitPath(key)) {
        path += '\\' + part;
    }
    const std::string readOnly = settings_.getString("Registry", "ReadOnly", "");
    std::size_t start = 0;
    while (start < readOnly.size()) {
        auto end = readOnly.find(';', start);
        if (end == std::string::npos) {
            end = readOnly.size();
        }
        const std::string_view locked = trim(std::string_view(readOnly).substr(start, end - start));
        if (!locked.empty() && istartsWith(path, locked) &&
            (path.size() == locked.size() || path[locked.size()] == '\\')) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool SandboxSystem::regCreateKey(RegRoot root, std::string_view key) {
    if (registry_.keyExists(root, key)) {
        return regKeyWritable(root, key);
    }
    RegistryFile before = registry_;
    registry_.createKey(root, key);
    if (!regKeyWritable(root, key) || !writeRegistry()) {
        registry_ = before;
        return false;
    }
    return true;
}

std::optional<RegValue> SandboxSystem::regQueryValue(RegRoot root, std::string_view key,
                                                     std::string_view name) {
    return registry_.value(root, key, name);
}

bool SandboxSystem::regSetValue(RegRoot root, std::string_view key, std::string_view name,
                                const RegValue& value) {
    if (!regKeyWritable(root, key)) {
        return false;
    }
    RegistryFile before = registry_;
    registry_.setValue(root, key, name, value);
    if (!writeRegistry()) {
        registry_ = before;
        return false;
    }
    return true;
}

bool SandboxSystem::regDeleteValue(RegRoot root, std::string_view key, std::string_view name) {
    if (!registry_.value(root, key, name)) {
        return true;
    }
    if (!regKeyWritable(root, key)) {
        return false;
    }
    RegistryFile before = registry_;
    registry_.deleteValue(root, key, name);
    if (!writeRegistry()) {
        registry_ = before;
        return false;
    }
    return true;
}

bool SandboxSystem::regDeleteKey(RegRoot root, std::string_view key) {
    if (!registry_.keyExists(root, key)) {
        return true;
    }
    if (!regKeyWritable(root, key)) {
        return false;
    }
    RegistryFile before = registry_;
    if (!registry_.deleteKey(root, key)) {
        return false;
    }
    if (!writeRegistry()) {
        registry_ = before;
        return false;
    }
    return true;
}

std::optional<std::vector<std::string>> SandboxSystem::regSubKeys(RegRoot root,
                                                                  std::string_view key) {
    if (!registry_.keyExists(root, key)) {
        return std::nullopt;
    }
    return registry_.subKeys(root, key);
}

bool SandboxSystem::writeRegistry() {
    return writeHostFile(root_ / "registry.reg", registry_.text());
}

void SandboxSystem::appendLog(const char* name, const std::string& line) {
    std::ofstream out(root_ / name, std::ios::binary | std::ios::app);
    out << line << "\r\n";
}

bool SandboxSystem::runAndWait(std::string_view commandLine, std::string_view folder) {
    // The program is the first word (or the quoted text at the start).
    std::string_view line = trim(commandLine);
    std::string program;
    if (!line.empty() && line.front() == '"') {
        const auto close = line.find('"', 1);
        program = std::string(
            line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else {
        program = std::string(line.substr(0, line.find(' ')));
    }
    // Windows programs cannot run here: the run is recorded when the program exists, as the
    // real system would have started it.
    std::vector<std::string> candidates;
    if (program.size() > 1 && program[1] == ':') {
        candidates.push_back(program);
    } else {
        if (!folder.empty()) {
            candidates.push_back(withBackslash(folder) + program);
        }
        const std::string windows = withBackslash(windowsDirectory());
        candidates.push_back(windows + program);
        candidates.push_back(windows + "SYSTEM32\\" + program);
        candidates.push_back(windows + "SYSTEM\\" + program);
    }
    for (const auto& candidate : candidates) {
        if (fileExists(candidate)) {
            appendLog("processes.log", std::string(commandLine) + " | " + std::string(folder));
            // A machine may play programs that take their time, as real ones do.
            const int running = settings_.getInt("Programs", "RunMilliseconds", 0);
            if (running > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(running));
            }
            return true;
        }
    }
    return false;
}

void SandboxSystem::registerLibrary(std::string fileName, StandInFactory make) {
    libraries_[upper(fileName)] = std::move(make);
}

std::unique_ptr<Library> SandboxSystem::loadLibrary(std::string_view name) {
    std::vector<std::string> candidates;
    if (name.size() > 1 && name[1] == ':') {
        candidates.emplace_back(name);
    } else {
        if (name.empty() || name.find_first_of("\\/") != std::string_view::npos) {
            return nullptr;
        }
        if (!programFolder_.empty()) {
            candidates.push_back(withBackslash(programFolder_) + std::string(name));
        }
        const std::string windows = withBackslash(windowsDirectory());
        candidates.push_back(windows + "SYSTEM32\\" + std::string(name));
        candidates.push_back(windows + "SYSTEM\\" + std::string(name));
        candidates.push_back(windows + std::string(name));
    }
    for (const auto& candidate : candidates) {
        if (!fileExists(candidate)) {
            continue;
        }
        const auto standIn = libraries_.find(upper(fileNamePart(candidate)));
        if (standIn == libraries_.end()) {
            return nullptr;  // a file this machine cannot run
        }
        return standIn->second(librarySystem_ ? *librarySystem_ : *this, candidate);
    }
    return nullptr;
}

bool SandboxSystem::enableShutdownPrivilege() {
    return !windowsVersion().nt || settings_.getInt("Restart", "ShutdownPrivilege", 1) != 0;
}

bool SandboxSystem::restart() {
    if (settings_.getInt("Restart", "Refuse", 0) != 0) {
        return false;
    }
    Profile updated = settings_;
    updated.set("Restart", "Requested",
                std::to_string(settings_.getInt("Restart", "Requested", 0) + 1));
    if (!writeHostFile(root_ / "sandbox.ini", updated.text())) {
        return false;
    }
    settings_ = std::move(updated);
    return true;
}

std::any StandInLibrary::lookUp(std::string_view name) {
    const auto it = entries_.find(name);
    return it == entries_.end() ? std::any() : it->second;
}

}  // namespace installer::system
