#pragma once

// The value of a Braille expression of whole numbers, for the tutors to compare a student's
// step with the work line it answers: numbers ("#" and the digits a-j, or the lower digits),
// "+", "-", "(" (times), "/" (divided by), round and square brackets and braces, fractions
// ("6" numerator "np" denominator "4"), powers ("|" exponent "1", whole exponents) and a sign in
// front. Values are exact fractions. Anything else (letters, labels, roots, decimals), a
// division by zero or a number too large gives no value: the tutor then does not judge.

#include <cstdint>
#include <optional>
#include <string_view>

namespace learning {

struct Rational {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;  // always positive, the fraction in lowest terms

    friend bool operator==(const Rational&, const Rational&) = default;
};

// The value of `expression` (blanks ignored); nullopt when it has none.
std::optional<Rational> expressionValue(std::string_view expression);

}  // namespace learning
