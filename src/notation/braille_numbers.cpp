#include "notation/braille_numbers.h"

namespace notation {

std::vector<bool> numberDigits(std::string_view text) {
    std::vector<bool> digits(text.size(), false);
    bool inNumber = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kNumberSign) {
            inNumber = true;
        } else if (inNumber && isDigitCell(c)) {
            digits[i] = true;
        } else {
            inNumber = false;
        }
    }
    return digits;
}

}  // namespace notation
