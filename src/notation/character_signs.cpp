#include "notation/character_signs.h"

#include <array>
#include <bit>
#include <optional>

#include "notation/braille_cells.h"
#include "notation/messages.h"
#include "notation/notation_tables.h"
#include "notation/text_regions.h"
#include "notation/text_scan.h"

namespace notation {
namespace {

// What a character of the Latex-mode text is, looked up once per character.
enum class Reading : unsigned char { Stands, Sign, Superscript, Letter, Other, Control };

// What each character adds to the marks: the signs of powers, subscripts and numbers, the step
// of a brace, and the weight of a round or square bracket in the bracket balance (a brace
// weighs 100 steps there).
enum MarkBit : unsigned char { kPowerBit = 1, kSubscriptBit = 2, kNumberBit = 4 };
struct CharacterMark {
    unsigned char bits = 0;
    signed char depthStep = 0;
    signed char weight = 0;
    // Stands for itself and starts nothing (no text region, no level label): a run of these
    // is passed over at once while nothing has been read otherwise.
    bool plain = false;
};
constexpr int kBraceWeight = 100;
constexpr std::array<CharacterMark, 256> kCharacterMarks = [] {
    std::array<CharacterMark, 256> m{};
    m['^'].bits = kPowerBit;
    m['_'].bits = kSubscriptBit;
    m['#'].bits = kNumberBit;
    m['{'].depthStep = 1;
    m['}'].depthStep = -1;
    m['('].weight = 1;
    m[')'].weight = -1;
    m['['].weight = 10;
    m[']'].weight = -10;
    return m;
}();

struct ReadingTable {
    std::array<Reading, 256> kind{};
    std::array<std::string_view, 256> sign{};
    std::array<CharacterMark, 256> marks = kCharacterMarks;  // with `plain` filled in

    ReadingTable() {
        for (int c = 0; c < 256; ++c) {
            const char ch = static_cast<char>(c);
            Reading& r = kind[static_cast<std::size_t>(c)];
            if (characterRow(ch) != nullptr || ch == '\\' || ch == '{' || ch == '}') {
                r = Reading::Stands;
            } else if (isControlByte(ch) || ch == '\xAD') {
                r = Reading::Control;  // the soft hyphen cannot be seen either
            } else if (letterOfTheCodePage(static_cast<unsigned char>(c))) {
                r = Reading::Letter;
            } else {
                r = Reading::Other;
            }
        }
        for (const CharacterSign& s : kCharacterSigns) {
            const auto c = static_cast<unsigned char>(s.character);
            kind[c] = isDigit(s.latex[0]) ? Reading::Superscript : Reading::Sign;
            sign[c] = s.latex;
        }
        for (int c = 0; c < 256; ++c) {
            marks[static_cast<std::size_t>(c)].plain =
                kind[static_cast<std::size_t>(c)] == Reading::Stands && c != '\\' && c != 0xA0;
        }
    }

    // The letters of code page 1252 beyond ASCII: accented and other alphabets' letters.
    static bool letterOfTheCodePage(unsigned char c) {
        switch (c) {
            case 0x83:
            case 0x8A:
            case 0x8C:
            case 0x8E:
            case 0x9A:
            case 0x9C:
            case 0x9E:
            case 0x9F:
                return true;
            default:
                return c >= 0xC0 && c != 0xD7 && c != 0xF7;
        }
    }
};

const ReadingTable& readingTable() {
    static const ReadingTable table;
    return table;
}

// "Carattere sconosciuto "°" (codice 176), riga 1": an invisible one by its code alone.
std::string nameOf(std::string_view what, char c, bool visible, std::size_t line) {
    std::string m(what);
    if (visible) {
        m += '"';
        m += c;
        m += "\" ";
    }
    m += messages::kCodeOpen;
    m += std::to_string(static_cast<unsigned char>(c));
    m += messages::kCodeClose;
    m += messages::kOnLine;
    m += std::to_string(line);
    return m;
}

std::string characterRefusal(std::string_view text, std::size_t pos, Reading kind) {
    const std::string_view advice = kind == Reading::Letter    ? messages::kWordsAdvice
                                    : kind == Reading::Control ? messages::kControlAdvice
                                                               : messages::kCharacterAdvice;
    return messages::twoLines(
        nameOf(messages::kUnknownCharacter, text[pos], kind != Reading::Control, lineOf(text, pos)),
        advice);
}

// The position after the text region that opens at `open`, or npos when it does not close.
std::size_t regionEnd(std::string_view text, std::size_t open) {
    const std::size_t close = text.find("\\\\", open + 2);
    return close == std::string_view::npos ? close : close + 2;
}

}  // namespace

std::size_t lineOf(std::string_view text, std::size_t pos) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < pos && i < text.size(); ++i) {
        line += text[i] == '\n' ? 1 : 0;
    }
    return line;
}

namespace {

// The reading itself. The marks are noted while the text reads as it stands; a changed text
// has its own reading for them.
CharacterReading readText(std::string_view latex, CommandLook look) {
    const ReadingTable& table = readingTable();
    CharacterReading out;
    // Most texts have nothing to read: the copy is made at the first character that has.
    const auto change = [&](std::size_t pos) {
        if (!out.changed) {
            out.changed = true;
            out.text.assign(latex.substr(0, pos));
        }
    };
    unsigned marks = 0;
    int depth = 0;
    int below = 0;
    long long weight = 0;   // of the round and square brackets
    long long escaped = 0;  // the steps of the braces after a backslash
    std::size_t i = 0;
    while (i < latex.size()) {
        if (!out.changed) {
            while (i < latex.size()) {
                const CharacterMark& m = table.marks[static_cast<unsigned char>(latex[i])];
                if (!m.plain) {
                    break;
                }
                marks |= m.bits;
                depth += m.depthStep;
                weight += m.weight;
                below |= depth;  // negative once a brace closes with none open
                ++i;
            }
            if (i == latex.size()) {
                break;
            }
        }
        const char c = latex[i];
        if (c == '\\' && charAt(latex, i + 1) == '\\') {
            out.marks.regions = true;
            const std::size_t end = regionEnd(latex, i);
            const std::size_t stop = end == std::string_view::npos ? latex.size() : end;
            for (std::size_t k = i; k < stop; ++k) {
                if (isControlByte(latex[k])) {
                    out.refusal = characterRefusal(latex, k, Reading::Control);
                    return out;
                }
                if (latex[k] == '\t') {
                    change(k);
                }
                if (out.changed) {
                    out.text += latex[k] == '\t' ? ' ' : latex[k];
                }
            }
            i = stop;
            continue;
        }
        if (const std::size_t label = c == '\xA0' ? levelLabelAt(latex, i) : 0; label > 0) {
            out.marks.regions = true;
            if (out.changed) {
                out.text.append(latex.substr(i, label));
            }
            i += label;
            continue;
        }
        const auto u = static_cast<unsigned char>(c);
        switch (table.kind[u]) {
            case Reading::Stands:
                if (out.changed) {
                    out.text += c;
                }
                ++i;
                if (c == '\\') {
                    if (look != nullptr && !out.changed) {
                        const unsigned found = look(latex, i - 1);
                        out.marks.commands |= found;
                        auto& counts = out.marks.commandCounts;
                        for (unsigned f = found & 0xFFFFU; f != 0; f &= f - 1) {
                            ++counts[static_cast<std::size_t>(std::countr_zero(f))];
                        }
                    }
                    // A brace after a backslash is a character, not a group's; the bracket
                    // balance counts it all the same.
                    if (charAt(latex, i) == '{' || charAt(latex, i) == '}') {
                        if (out.changed) {
                            out.text += latex[i];
                        }
                        escaped += kCharacterMarks[static_cast<unsigned char>(latex[i])].depthStep;
                        ++i;
                    }
                }
                break;
            case Reading::Sign: {
                change(i);
                const std::string_view sign = table.sign[u];
                out.text.append(sign);
                ++i;
                if (endsInCommandWord(sign) && isAsciiLetter(charAt(latex, i))) {
                    out.text += ' ';
                }
                break;
            }
            case Reading::Superscript:
                change(i);
                out.text += "^{";
                while (i < latex.size() &&
                       table.kind[static_cast<unsigned char>(latex[i])] == Reading::Superscript) {
                    out.text.append(table.sign[static_cast<unsigned char>(latex[i])]);
                    ++i;
                }
                out.text += '}';
                break;
            default:
                out.refusal = characterRefusal(latex, i, table.kind[u]);
                return out;
        }
    }
    out.marks.bracesNest = depth == 0 && below >= 0;
    // Brackets pass the reading only where it reads the text as it stands (inside text regions
    // and level labels nothing counts); a changed text is weighed on its own.
    out.weighed = !out.changed;
    out.bracketWeight = weight + kBraceWeight * (depth + escaped);
    out.marks.power = (marks & kPowerBit) != 0;
    out.marks.subscript = (marks & kSubscriptBit) != 0;
    out.marks.numberSign = (marks & kNumberBit) != 0;
    return out;
}

}  // namespace

CharacterReading readCharacters(std::string_view latex, CommandLook look) {
    CharacterReading out = readText(latex, look);
    if (out.ok() && out.changed) {
        // Read again as it now stands: a sign may have joined what was around it (a
        // backslash and the one of "\\mu" start a text region).
        out.marks = readText(out.text, look).marks;
    }
    return out;
}

std::string unknownCellMessage(char cell, std::size_t line) {
    const int dots = dotsOfCell(cell);
    const auto u = static_cast<unsigned char>(cell);
    if (dots <= 0) {
        const bool control = isControlByte(cell) || cell == '\xAD';
        const bool letter = !control && u >= 0xC0 && u != 0xD7 && u != 0xF7;
        return messages::twoLines(nameOf(messages::kUnknownCell, cell, !control, line),
                                  control
                                      ? messages::kControlCellAdvice
                                      : (letter ? messages::kWordsAdvice : messages::kCellAdvice));
    }
    std::string m(messages::kUnknownCell);
    m += (dots & (dots - 1)) == 0 ? messages::kDotWord : messages::kDotsWord;
    bool first = true;
    for (int dot = 0; dot < 6; ++dot) {
        if ((dots & (1 << dot)) != 0) {
            if (!first) {
                m += ' ';
            }
            m += static_cast<char>('1' + dot);
            first = false;
        }
    }
    m += messages::kOnLine;
    m += std::to_string(line);
    // The cell of dots 2 3 4 6 is the accented e of an Italian word.
    return messages::twoLines(m, cell == '\xE8' ? messages::kWordsAdvice : messages::kCellAdvice);
}

}  // namespace notation
