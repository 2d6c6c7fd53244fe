#include "ui/crlf_offsets.h"

#include <gtest/gtest.h>

namespace {

TEST(CrlfOffsets, LineBreakCountsTwoInCoreAndOneOnScreen) {
    const std::string text = "ab\r\ncd";
    EXPECT_EQ(ui::displayPosition(text, 0), 0u);
    EXPECT_EQ(ui::displayPosition(text, 2), 2u);
    EXPECT_EQ(ui::displayPosition(text, 4), 3u);
    EXPECT_EQ(ui::displayPosition(text, 6), 5u);
    EXPECT_EQ(ui::coreOffset(text, 5), 6u);
    EXPECT_EQ(ui::coreOffset(text, 3), 4u);
    EXPECT_EQ(ui::coreOffset(text, 2), 2u);
}

TEST(CrlfOffsets, NoOffsetBetweenCrAndLf) {
    const std::string text = "ab\r\n\r\ncd";
    EXPECT_EQ(ui::snapOffset(text, 3), 2u);
    EXPECT_EQ(ui::snapOffset(text, 5), 4u);
    EXPECT_EQ(ui::displayPosition(text, 3), 2u);
    EXPECT_EQ(ui::displayPosition(text, 5), 3u);
    // Every display position maps to an offset that is not inside a pair.
    for (std::size_t p = 0; p <= 7; ++p) {
        const std::size_t o = ui::coreOffset(text, p);
        EXPECT_EQ(ui::snapOffset(text, o), o) << "position " << p;
        EXPECT_EQ(ui::displayPosition(text, o), std::min<std::size_t>(p, 6)) << "position " << p;
    }
}

TEST(CrlfOffsets, OutOfRangeClampsToTheEnd) {
    const std::string text = "x\r\ny";
    EXPECT_EQ(ui::snapOffset(text, 99), 4u);
    EXPECT_EQ(ui::displayPosition(text, 99), 3u);
    EXPECT_EQ(ui::coreOffset(text, 99), 4u);
    EXPECT_EQ(ui::displayPosition("", 5), 0u);
    EXPECT_EQ(ui::coreOffset("", 5), 0u);
}

TEST(CrlfOffsets, LoneBreaksBecomeCrLf) {
    EXPECT_EQ(ui::normalizeLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(ui::normalizeLineBreaks("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(ui::normalizeLineBreaks("plain"), "plain");
    EXPECT_EQ(ui::normalizeLineBreaks("\r"), "\r\n");
}

}  // namespace
