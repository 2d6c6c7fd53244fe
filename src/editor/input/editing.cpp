#include "editor/input/editing.h"

#include "editor/braille_numbers.h"
#include "editor/text_lines.h"
#include "ui/crlf_offsets.h"
#include "ui/keys.h"
#include "ui/text_trim.h"

#include <vector>

namespace editor {
namespace {

bool isBrailleOpener(char c) {
    return c == '&' || c == '?' || c == '{';
}

bool isBrailleCloser(char c) {
    return c == '*' || c == 'y' || c == '}';
}

// Latex: "(" "[" and "\{" open (the pair at its backslash), ")" "]" and "\}" close (the pair at
// its brace).
bool isLatexOpenerAt(std::string_view t, std::size_t i) {
    return t[i] == '(' || t[i] == '[' || (t[i] == '\\' && i + 1 < t.size() && t[i + 1] == '{');
}

bool isLatexCloserAt(std::string_view t, std::size_t i) {
    return t[i] == ')' || t[i] == ']' || (t[i] == '}' && i > 0 && t[i - 1] == '\\');
}

}  // namespace

std::optional<UndoKind> UndoModel::visibleItem() const {
    if (!snapshot_) {
        return std::nullopt;
    }
    return snapshot_->kind;
}

void UndoModel::take(std::string_view text, std::size_t caret, UndoKind kind) {
    snapshot_ = Snapshot{std::string(text), caret, kind};
}

bool UndoModel::beforeCut(std::string_view text, std::size_t caret, std::size_t selectionLength) {
    if (selectionLength == 0) {
        return false;
    }
    take(text, caret, UndoKind::Cut);
    return true;
}

void UndoModel::beforePaste(std::string_view text, std::size_t caret) {
    take(text, caret, UndoKind::Paste);
}

void UndoModel::keyDown(int virtualKey, Notation editor, std::string_view text, std::size_t caret) {
    namespace vk = ui::vk;
    const bool navigation = virtualKey == vk::kReturn || vk::isNavigation(virtualKey);
    const bool endsRun = navigation || virtualKey == vk::kDelete ||
                         (editor == Notation::Latex && virtualKey == vk::kBack);
    if (endsRun) {
        arm();
    }
    if (!navigation && armed()) {
        take(text, caret, UndoKind::Typing);
    }
}

std::optional<UndoModel::Snapshot> UndoModel::undo() {
    std::optional<Snapshot> s = std::move(snapshot_);
    snapshot_.reset();
    return s;
}

std::optional<TextEdit> duplicateLine(std::string_view text, std::size_t caret) {
    // The caret's line: the first whose end, line break included, lies past the caret.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        std::size_t next = end;
        if (next < text.size()) {
            next +=
                (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        }
        const bool last = next >= text.size();
        if (caret < (next == end ? end + 2 : next)) {
            const std::string_view line = text.substr(start, end - start);
            if (ui::trimControls(line).empty()) {
                return std::nullopt;
            }
            TextEdit r;
            if (!last) {
                r.text = std::string(text.substr(0, next)) + "\r\n" + std::string(line) + "\r\n" +
                         std::string(text.substr(next));
                r.caret = next + 2;
            } else {
                r.text = std::string(text);
                r.text += next == end ? "\r\n \r\n" : " \r\n";
                r.caret = r.text.size();
                r.text += line;
            }
            return r;
        }
        start = next;
    }
    return std::nullopt;  // the caret is on the empty line after the last line break
}

std::string addBracketSpaces(std::string_view text, Notation notation) {
    const bool braille = notation == Notation::Braille;
    const std::vector<bool> digits = braille ? numberDigits(text) : std::vector<bool>();
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool inNumber = braille && digits[i];
        const bool opener = braille ? (isBrailleOpener(c) && !inNumber) : isLatexOpenerAt(text, i);
        const bool closer = braille ? (isBrailleCloser(c) && !inNumber) : isLatexCloserAt(text, i);
        if (opener && !out.empty() && out.back() != '\n' && out.back() != ' ') {
            out += ' ';
        }
        out += c;
        if (closer && (i + 1 == text.size() || (text[i + 1] != '\n' && text[i + 1] != ' '))) {
            out += ' ';
        }
    }
    return out;
}

std::string removeBracketSpaces(std::string_view text, Notation notation) {
    const bool braille = notation == Notation::Braille;
    const std::vector<bool> digits = braille ? numberDigits(text) : std::vector<bool>();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            const bool hasNext = i + 1 < text.size();
            bool drop = false;
            if (braille) {
                drop = (hasNext && isBrailleOpener(text[i + 1])) ||
                       (i > 0 && isBrailleCloser(text[i - 1]) && !digits[i - 1]);
            } else {
                drop = (hasNext && isLatexOpenerAt(text, i + 1)) ||
                       (i > 0 && isLatexCloserAt(text, i - 1));
            }
            if (drop) {
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace editor
