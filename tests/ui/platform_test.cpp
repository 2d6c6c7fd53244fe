#include <sys/stat.h>

#include <gtest/gtest.h>
#include <fstream>

#include "ui/command_line.h"
#include "ui/temp_dir.h"

namespace {

TEST(CommandLine, QuotesKeepBlanksAndBackslashesStay) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ui::splitCommandLine("editor formula.tex"), (V{"editor", "formula.tex"}));
    EXPECT_EQ(ui::splitCommandLine("  \"C:\\Program Files\\Ed\\ed.exe\"   \"a b.tex\" -x "),
              (V{"C:\\Program Files\\Ed\\ed.exe", "a b.tex", "-x"}));
    EXPECT_EQ(ui::splitCommandLine("pre\"fix suf\"fix \"\""), (V{"prefix suffix", ""}));
    EXPECT_EQ(ui::splitCommandLine(""), V{});
    EXPECT_EQ(ui::splitCommandLine("\"unterminated quote"), (V{"unterminated quote"}));
}

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
