#include "ui/program_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include "../scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder standing for a prefix or a home, with a host whose environment is given.
struct Machine {
    fs::path root;
    std::map<std::string, std::string> variables;
    bool writable = true;

    Machine() {
        root = testing_support::makeScratchFolder(fs::temp_directory_path(), "tattilo-folders-");
    }
    ~Machine() {
        // Read-only files (the shipped settings) cannot be removed on Windows.
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove_all(root, ec);
    }

    ui::ProgramHost host() const {
        return {[this](const char* name) -> std::optional<std::string> {
                    const auto it = variables.find(name);
                    return it == variables.end() ? std::nullopt : std::optional(it->second);
                },
                [this](const fs::path&) { return writable; }};
    }
    fs::path folder(const std::string& relative) const {
        fs::create_directories(root / relative);
        return root / relative;
    }
};

TEST(ProgramFolders, BesideTheProgramsEverythingIsTheExecutablesFolder) {
    Machine m;
    m.variables = {{"HOME", (m.root / "home").string()}};
    const fs::path bin = m.folder("build/bin");
    const ui::ProgramFolders f = ui::programFolders(bin, m.host());
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.program, bin);
    EXPECT_EQ(f.settings, bin);
    EXPECT_EQ(f.documents, bin);

    // A prefix's bin without share/tattilo is a folder of programs like any other.
    const fs::path usrBin = m.folder("usr/bin");
    EXPECT_FALSE(ui::programFolders(usrBin, m.host()).installed);
}

TEST(ProgramFolders, InstalledTheDataAreSharedAndTheWritesGoToTheUsersFolders) {
    Machine m;
    const fs::path bin = m.folder("usr/bin");
    const fs::path share = m.folder("usr/share/tattilo");
    m.variables = {{"HOME", "/home/ada"}};
    ui::ProgramFolders f = ui::programFolders(bin, m.host());
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.program, share);
    EXPECT_EQ(f.settings, fs::path("/home/ada/.config/tattilo"));
    EXPECT_EQ(f.documents, fs::path("/home/ada/.local/share/tattilo"));

    m.variables["XDG_CONFIG_HOME"] = "/srv/config";
    m.variables["XDG_DATA_HOME"] = "relative/data";  // not absolute: ignored
    f = ui::programFolders(bin, m.host());
    EXPECT_EQ(f.settings, fs::path("/srv/config/tattilo"));
    EXPECT_EQ(f.documents, fs::path("/home/ada/.local/share/tattilo"));
}

TEST(ProgramFolders, AFolderThatCannotBeWrittenSendsTheWritesHome) {
    Machine m;
    const fs::path bin = m.folder("cdrom/tattilo");
    m.variables = {{"HOME", "/home/ada"}, {"XDG_DATA_HOME", "/home/ada/dati"}};
    m.writable = false;
    ui::ProgramFolders f = ui::programFolders(bin, m.host());
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.program, bin);
    EXPECT_EQ(f.settings, fs::path("/home/ada/.config/tattilo"));
    EXPECT_EQ(f.documents, fs::path("/home/ada/dati/tattilo"));

    // With no home at all the writes stay where they were (and fail with their warning).
    m.variables.clear();
    f = ui::programFolders(bin, m.host());
    EXPECT_EQ(f.settings, bin);
    EXPECT_EQ(f.documents, bin);
}

TEST(ProgramFolders, TheRunningExecutablesFolder) {
    const fs::path here = ui::executableFolder(nullptr);
    EXPECT_TRUE(here.is_absolute());
    EXPECT_TRUE(fs::is_regular_file(here / "tests_ui") ||
                fs::is_regular_file(here / "tests_ui.exe"))
        << here;
}

TEST(ProgramFolders, FirstStartCopiesTheShippedSettingsOnce) {
    Machine m;
    ui::ProgramFolders f;
    f.program = m.folder("usr/share/tattilo");
    f.settings = m.root / "home/.config/tattilo";
    std::ofstream(f.program / "tattilo-iniziale.ini", std::ios::binary)
        << "filtro = filtro.base\r\n";
    fs::permissions(f.program / "tattilo-iniziale.ini", fs::perms::owner_read);

    EXPECT_EQ(ui::prepareSettingsFile(f, "tattilo.ini", "tattilo-iniziale.ini"), "");
    const fs::path ini = f.settings / "tattilo.ini";
    std::ifstream in(ini, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "filtro = filtro.base\r\n");
    EXPECT_NE(fs::status(ini).permissions() & fs::perms::owner_write, fs::perms::none)
        << "the copy is rewritten at every close";

    // The user's own settings are never replaced.
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << "timer = 300\r\n";
    EXPECT_EQ(ui::prepareSettingsFile(f, "tattilo.ini", "tattilo-iniziale.ini"), "");
    std::ifstream again(ini, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), "timer = 300\r\n");
}

TEST(ProgramFolders, FirstStartWithoutDefaultsOrWithoutAFolder) {
    Machine m;
    ui::ProgramFolders f;
    f.program = m.folder("bin");
    f.settings = m.root / "config/tattilo";
    EXPECT_EQ(ui::prepareSettingsFile(f, "tattilo.ini", "tattilo-iniziale.ini"), "");
    EXPECT_TRUE(fs::is_directory(f.settings));
    EXPECT_FALSE(fs::exists(f.settings / "tattilo.ini"));

    std::ofstream(m.root / "blocked", std::ios::binary) << "a file where the folder should be";
    f.settings = m.root / "blocked/tattilo";
    const std::string why = ui::prepareSettingsFile(f, "tattilo.ini", "tattilo-iniziale.ini");
    EXPECT_EQ(why.rfind((m.root / "blocked/tattilo").string() + ": ", 0), 0u) << why;
}

}  // namespace
