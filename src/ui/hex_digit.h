#pragma once

// The value of a hexadecimal digit: the one reading for every text of the programs that spells
// bytes in hexadecimal (the installation journal, the recovery copy, registry files).

namespace ui {

// 0 to 15 for '0' to '9', 'a' to 'f' and 'A' to 'F'; -1 for any other character.
constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace ui
