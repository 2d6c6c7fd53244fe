// The private temporary folder on Windows: inside the user's own temporary folder, fresh for
// each object, removed with its content.

#include <gtest/gtest.h>

#include <fstream>

#include "ui/program_folders.h"
#include "ui/temp_dir.h"

namespace {

TEST(PrivateTempDir, FreshInTheUsersTemporaryFolderAndRemoved) {
    std::filesystem::path kept;
    {
        ui::PrivateTempDir a;
        ui::PrivateTempDir b;
        ASSERT_FALSE(a.path().empty()) << a.error();
        ASSERT_FALSE(b.path().empty()) << b.error();
        EXPECT_NE(a.path(), b.path());
        EXPECT_TRUE(std::filesystem::is_directory(a.path()));
        EXPECT_TRUE(a.path().is_absolute());
        std::ofstream(a.path() / "formula.tex") << "x";
        kept = a.path();
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(ProgramFolders, AFolderIsWritableWhenAFileCanBeMadeInIt) {
    const std::filesystem::path folder = ui::executableFolder(nullptr);
    EXPECT_TRUE(ui::systemHost().writable(folder));
    EXPECT_FALSE(ui::systemHost().writable(folder / "missing"));
}

}  // namespace
