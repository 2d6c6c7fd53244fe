#pragma once

// Code page 1252 to UTF-8, for the espeak-ng library, which reads UTF-8.

#include <string>
#include <string_view>

namespace speech {

// Control characters other than tab and line breaks, and the five bytes that code page 1252
// leaves undefined, become blanks: the engine has nothing to say for them.
std::string cp1252ToUtf8(std::string_view text);

}  // namespace speech
