#pragma once

// Text regions: plain words between a pair of "\\" delimiters, which both conversions pass
// through unchanged. They are taken out of the text and a placeholder "\\--\\" stands in their
// place while the mathematics around them is converted. The level labels that the learning
// tools write into a page are kept the same way.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace notation {

inline constexpr std::string_view kRegionPlaceholder = "\\\\--\\\\";
inline constexpr std::size_t kMaxKeptRegions = 51;

// A level label (byte 0xA0, a bracket letter 'T', 'Q' or 'G', a number cell '1' to 'E',
// byte 0xA0): the same four bytes in both notations. Its length when one starts at `pos`,
// else 0.
std::size_t levelLabelAt(std::string_view text, std::size_t pos);

struct TakenRegions {
    std::string text;                  // the text with placeholders
    std::vector<std::string> regions;  // each region with its delimiters (or a label), in order
    bool unclosed = false;             // a "\\" with no further "\\" after it remains
    // The length the text counts as: regions beyond the 51 that the conversion keeps aside
    // stay in place and count whole. Labels are always kept aside.
    std::size_t countedLength = 0;
};

TakenRegions takeOutRegions(std::string_view text);

// Puts the regions back in place of the placeholders, in order.
std::string putBackRegions(std::string_view text, const std::vector<std::string>& regions);

}  // namespace notation
