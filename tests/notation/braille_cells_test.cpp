#include "notation/braille_cells.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(BrailleCells, DotPatternsGiveTheirCharacters) {
    EXPECT_EQ(notation::cellForDots(1), 'a');
    EXPECT_EQ(notation::cellForDots(1 + 2), 'b');
    EXPECT_EQ(notation::cellForDots(1 + 2 + 4), 'l');
    EXPECT_EQ(notation::cellForDots(4 + 8 + 16 + 32), '#');
    EXPECT_EQ(notation::cellForDots(2 + 4 + 8 + 32), '\xE8');  // dots 2346
    EXPECT_EQ(notation::cellForDots(63), '%');
    EXPECT_EQ(notation::cellForDots(64), ' ');
    EXPECT_EQ(notation::cellForDots(0), ' ');
    EXPECT_EQ(notation::cellForDots(99), ' ');
}

TEST(BrailleCells, EveryCellIsDistinctAndMapsBack) {
    std::set<char> seen;
    for (int dots = 1; dots < 64; ++dots) {
        const char c = notation::cellForDots(dots);
        EXPECT_TRUE(seen.insert(c).second) << "dots " << dots;
        EXPECT_EQ(notation::dotsOfCell(c), dots);
    }
    EXPECT_EQ(notation::dotsOfCell(' '), 0);
    EXPECT_EQ(notation::dotsOfCell('A'), -1);
    EXPECT_EQ(notation::dotsOfCell('\x80'), -1);
}

}  // namespace
