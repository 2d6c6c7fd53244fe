// The configuration file in folders that refuse writing: permission bits, or for the superuser
// a read-only mount.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "editor/settings/configuration.h"

#include "../main_window_harness.h"
#include "read_only_mount.h"

namespace {

using editor::Settings;

TEST(ConfigurationFile, MissingUnreadableAndUnwritableFiles) {
    testing_support::ProgramFolder folder;
    Settings s;
    EXPECT_EQ(editor::loadConfigurationFile(folder.path / "none.ini", s), std::nullopt);
    EXPECT_EQ(s.timer, 200);

    folder.write("tattilo.ini", "old content\r\n");
    s.tutor = 5;
    EXPECT_EQ(editor::saveConfigurationFile(folder.path / "tattilo.ini", s), std::nullopt);
    Settings back;
    EXPECT_EQ(editor::loadConfigurationFile(folder.path / "tattilo.ini", back), std::nullopt);
    EXPECT_EQ(back.tutor, 5);

    // A folder where the file cannot be written: the message names the file and the old
    // file is left whole.
    std::filesystem::create_directory(folder.path / "ro");
    folder.write("ro/tattilo.ini", "tutor = 3\r\n");
    auto refusedAndKept = [&] {
        const auto problem = editor::saveConfigurationFile(folder.path / "ro/tattilo.ini", s);
        if (!problem || problem->find("ro/tattilo.ini") == std::string::npos) {
            return 1;
        }
        return folder.read("ro/tattilo.ini") == "tutor = 3\r\n" ? 0 : 2;
    };
    if (::geteuid() != 0) {
        ::chmod((folder.path / "ro").c_str(), 0500);
        EXPECT_EQ(refusedAndKept(), 0);
        ::chmod((folder.path / "ro").c_str(), 0700);
    } else {
        // Permission bits stop no superuser; a read-only file system does.
        EXPECT_EQ(editor::testing::inReadOnlyFolder(folder.path / "ro", refusedAndKept), 0);
    }

    // A configuration path that is a folder cannot be read.
    std::filesystem::create_directory(folder.path / "dir.ini");
    const auto problem = editor::loadConfigurationFile(folder.path / "dir.ini", s);
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("dir.ini"), std::string::npos);
}

}  // namespace
