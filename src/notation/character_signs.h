#pragma once

// What the conversions do with characters the notation has no row for. Nothing typed is ever
// dropped: a character of the Latex-mode text that has a sign of the same meaning is read as
// that sign (kCharacterSigns), any other is refused; a byte of the Braille-mode text that is
// no cell with a meaning, nor a letter or digit, is refused. A control byte is refused in
// both, inside text regions too, so none ever reaches a converted text. The refusals name the
// character (and its line) and say what to do; they are page messages without their
// "Pagina N" line.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace notation {

// What the mathematics of a text holds outside its text regions and level labels.
struct TextMarks {
    // Plain braces group: each closing brace closes one opened before it, and every one opened
    // is closed ("\{" and "\}" are characters).
    bool bracesNest = true;
    bool power = false;       // a '^'
    bool subscript = false;   // a '_'
    bool numberSign = false;  // a '#'
    unsigned commands = 0;    // what the reading's CommandLook found at the backslashes
    // How many backslashes each of the first flags of `commands` was found at: bit k at k.
    std::array<std::uint32_t, 16> commandCounts{};
    bool regions = false;  // a text region (closed or not) or a level label
};

// What a conversion notes of the command at a backslash of the mathematics (`backslash`, a
// position of `text`): flags that the reading gathers in TextMarks::commands.
using CommandLook = unsigned (*)(std::string_view text, std::size_t backslash);

struct CharacterReading {
    std::string text;      // the text with the characters read as signs, when `changed`
    bool changed = false;  // false: the text reads as it stands
    std::string refusal;   // the message for the first character without a sign
    TextMarks marks;       // of the text as read (`text` when changed), when ok()
    // The sum of the brackets as bracketBalance weighs them, when `weighed`: a text read as it
    // stands, with no character refused, is weighed by the same reading.
    long long bracketWeight = 0;
    bool weighed = false;
    bool ok() const { return refusal.empty(); }
};

// Reads the Latex-mode text's characters: outside text regions and level labels each must
// have a row in the character table, be a backslash or a plain brace, or be read as a sign;
// inside text regions anything but a control byte stands (a tab is a blank there too). The
// same reading notes the text's marks, and `look`'s at each backslash when there is one.
CharacterReading readCharacters(std::string_view latex, CommandLook look = nullptr);

// A control byte (CR and LF are line ends, a tab a blank; the five bytes code page 1252 leaves
// unassigned count as controls).
constexpr bool isControlByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 0x20 && b < 0x7F) || b > 0x9D) {
        return false;
    }
    if (c == '\r' || c == '\n' || c == '\t') {
        return false;
    }
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// The refusal of a byte of Braille-mode text with no meaning, found on line `line` (from 1).
std::string unknownCellMessage(char cell, std::size_t line);

// The line (from 1) of position `pos` of `text`.
std::size_t lineOf(std::string_view text, std::size_t pos);

}  // namespace notation
