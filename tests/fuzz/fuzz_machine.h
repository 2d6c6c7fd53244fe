#pragma once

// The sandbox machine the installer fuzz targets install into: made once per process in a
// private temporary folder, with a distribution in C:\DIST\ (a small package PKG and a file
// to copy). Each input is installed into C:\INST\ and rolled back; afterwards C:\INST\ and
// the Windows folder must be as before, or the target aborts.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/install_job.h"
#include "installer/system/sandbox/sandbox_system.h"

namespace fuzz {

class NullSink : public installer::ProgressSink {
public:
    int askLocation(std::string&, std::string_view) override { return kSkip; }
    void setTotal(std::int64_t) override {}
    void beginComponent(std::string_view, std::int64_t) override {}
    void advance(std::uint64_t) override {}
    void endComponent() override {}
    void showCopying(std::string_view) override {}
    void showCreating(std::string_view) override {}
    void showStatus(std::string_view) override {}
    void warning(std::string_view) override {}
    bool isCancelRequested() override { return false; }
    void configureHyphenation(std::string_view) override {}
};

struct Machine {
    std::filesystem::path root;
    std::unique_ptr<installer::system::SandboxSystem> sys;
    NullSink sink;
    installer::ComponentList components;

    Machine() {
        // Memory-backed when the machine has it: every input writes files.
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
        std::string pattern = (base / "instello-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        root = pattern;
        sys = std::make_unique<installer::system::SandboxSystem>(root);
        std::filesystem::create_directories(root / "C" / "DIST");
        // A stored member "a.txt" = "hi" in package PKG.
        const unsigned char pkg[] = {'V', 0x50, 0x4B, 0x03, 0x04, 20,   0,    0,    0,    0,
                                     0,   0,    0,    0,    0,    0xAC, 0x2A, 0x93, 0xD8, 2,
                                     0,   0,    0,    2,    0,    0,    0,    5,    0,    0,
                                     0,   'a',  '.',  't',  'x',  't',  'h',  'i'};
        write("C/DIST/PKG.001", std::string(reinterpret_cast<const char*>(pkg), sizeof pkg));
        write("C/DIST/copy.txt", "copy me");
    }
    ~Machine() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    void write(const std::string& relative, const std::string& bytes) {
        std::ofstream out(root / relative, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::unique_ptr<installer::InstallJob> job() {
        installer::JobSettings settings;
        settings.installPath = "C:\\INST\\";
        settings.distributionPath = "C:\\DIST\\";
        return std::make_unique<installer::InstallJob>(
            *sys, sink, components, settings,
            std::make_unique<installer::SettingsFile>(*sys, "C:\\INST\\Prodotto", "C:\\INST\\"));
    }

    // After a rollback nothing of the installation may remain.
    void checkClean() {
        std::error_code ec;
        if (std::filesystem::exists(root / "C" / "INST", ec) ||
            !std::filesystem::is_empty(root / "C" / "WINDOWS" / "SYSTEM32", ec) ||
            std::distance(std::filesystem::directory_iterator(root / "C" / "WINDOWS"),
                          std::filesystem::directory_iterator()) != 2 ||
            std::distance(std::filesystem::directory_iterator(root / "C"),
                          std::filesystem::directory_iterator()) != 3) {
            std::abort();
        }
    }
};

}  // namespace fuzz
