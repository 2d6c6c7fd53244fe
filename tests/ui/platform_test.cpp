#include <gtest/gtest.h>
#include <fstream>

#include "ui/command_line.h"

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

}  // namespace
