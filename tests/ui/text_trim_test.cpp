#include "ui/text_trim.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTrim, EachCallerNamesWhatGoes) {
    // Blanks only: a notation line keeps its tabs and line breaks.
    EXPECT_EQ(ui::trimBlanks("  #a b  "), "#a b");
    EXPECT_EQ(ui::trimBlanks("\t#a \r\n"), "\t#a \r\n");
    EXPECT_EQ(ui::trimBlanks("   "), "");
    EXPECT_EQ(ui::trimBlanks(""), "");

    // Blanks and control characters: a settings value.
    EXPECT_EQ(ui::trimControls("\t a b \r\n"), "a b");
    EXPECT_EQ(ui::trimControls(std::string_view("\0x\x1F", 3)), "x");
    EXPECT_EQ(ui::trimControls("\x01\x20"), "");
    // Code page 1252 letters above 0x7F are text, not control characters.
    EXPECT_EQ(ui::trimControls("\xE8 "), "\xE8");
    EXPECT_EQ(ui::trimControls(" \xA0"), "\xA0");

    // A set of the caller's own.
    EXPECT_EQ(ui::trimAny(" \t x \t", " \t"), "x");
    EXPECT_EQ(ui::trimAny("xx", "x"), "");
    EXPECT_EQ(ui::trimAny("abc", ""), "abc");
}

}  // namespace
