// The private temporary folder on a POSIX system: mode 0700, owned by the user.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ui/temp_dir.h"

namespace {

TEST(PrivateTempDir, FreshPrivateAndRemoved) {
    std::filesystem::path kept;
    {
        ui::PrivateTempDir a;
        ui::PrivateTempDir b;
        ASSERT_FALSE(a.path().empty()) << a.error();
        ASSERT_FALSE(b.path().empty()) << b.error();
        EXPECT_NE(a.path(), b.path());
        struct stat st {};
        ASSERT_EQ(::stat(a.path().c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::getuid());
        std::ofstream(a.path() / "formula.tex") << "x";
        kept = a.path();
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(PrivateTempDir, IgnoresAnUnusableRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent/runtime", 1);
    {
        ui::PrivateTempDir dir;
        EXPECT_FALSE(dir.path().empty()) << dir.error();
        EXPECT_EQ(dir.path().string().find("/nonexistent"), std::string::npos);
    }
    if (old != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

}  // namespace
