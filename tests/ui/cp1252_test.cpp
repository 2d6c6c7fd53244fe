// Code page 1252 to and from Unicode and UTF-8.

#include "ui/cp1252.h"

#include <gtest/gtest.h>

namespace {

namespace cp = ui::cp1252;

TEST(Cp1252, EveryByteGoesToUnicodeAndBack) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const std::optional<unsigned char> back = cp::fromUnicode(cp::toUnicode(byte));
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, byte) << b;
    }
    EXPECT_EQ(cp::toUnicode(0x80), U'\u20AC');  // the euro sign
    EXPECT_EQ(cp::toUnicode(0x9F), U'\u0178');
    EXPECT_EQ(cp::toUnicode(0xE8), U'\u00E8');
    EXPECT_FALSE(cp::fromUnicode(U'\u03B1').has_value()) << "no Greek in the code page";
    // What a window takes in: the minus sign the code page lacks is its minus.
    EXPECT_EQ(cp::nearestByte(U'\u2212'), '-');
    EXPECT_EQ(cp::nearestByte(U'\u20AC'), 0x80);
    EXPECT_EQ(cp::nearestByte(U'\u03B1'), '?');
}

TEST(Cp1252, TheFiveUnassignedBytes) {
    int unassigned = 0;
    for (int b = 0; b < 256; ++b) {
        unassigned += cp::assigned(static_cast<unsigned char>(b)) ? 0 : 1;
    }
    EXPECT_EQ(unassigned, 5);
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_FALSE(cp::assigned(b)) << int(b);
    }
    EXPECT_TRUE(cp::assigned(0x80));
}

TEST(Cp1252, Utf8OfATextAndItsCheck) {
    EXPECT_EQ(cp::toUtf8("perch\xE9 \x80"), "perch\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(cp::toUtf8("abc"), "abc");
    std::string four;
    cp::appendUtf8(four, U'\U0001D465');
    EXPECT_EQ(four, "\xF0\x9D\x91\xA5");

    EXPECT_TRUE(cp::isUtf8("perch\xC3\xA9"));
    EXPECT_TRUE(cp::isUtf8(four));
    EXPECT_FALSE(cp::isUtf8("perch\xE9")) << "a code page 1252 letter";
    EXPECT_FALSE(cp::isUtf8("\xC3")) << "cut short";
    EXPECT_FALSE(cp::isUtf8("\xC0\xAF")) << "overlong";
    EXPECT_FALSE(cp::isUtf8("\xE0\x80\xAF")) << "overlong";
    EXPECT_FALSE(cp::isUtf8("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(cp::isUtf8("\xF4\x90\x80\x80")) << "beyond Unicode";

    EXPECT_EQ(cp::fromUtf8("perch\xC3\xA9 \xE2\x82\xAC"), "perch\xE9 \x80");
    EXPECT_FALSE(cp::fromUtf8("perch\xE9").has_value()) << "not UTF-8";
    EXPECT_FALSE(cp::fromUtf8("\xCE\xB1").has_value()) << "alpha is not in the code page";
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(cp::fromUtf8(cp::toUtf8(one)), one) << b;
    }
}

}  // namespace
