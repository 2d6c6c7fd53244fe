#pragma once

// The sandbox machine's own files (sandbox.ini, registry.reg) on the host.

#include <filesystem>
#include <optional>
#include <string>

namespace installer::system {

// The whole file; nullopt when it cannot be read.
std::optional<std::string> readHostFile(const std::filesystem::path& path);

// Writes the file whole into PATH.new and renames it over PATH, so that a process killed on
// the way leaves the old file (and a PATH.new that the next open removes).
bool writeHostFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace installer::system
