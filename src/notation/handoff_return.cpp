#include "notation/handoff_return.h"

#include "notation/text_scan.h"
#include "ui/crlf_offsets.h"

#include <algorithm>

namespace notation {

namespace {

// The "||" of each line break become the line break again; "\left|" and "\right|" are bars.
std::string joinLine(std::string_view line) {
    return replaceEach(line, {{"\\left|", "\\left|"}, {"\\right|", "\\right|"}, {"||", "\r\n"}});
}

bool endsWithLineBreak(std::string_view s) {
    return s.ends_with('\n') || s.ends_with('\r');
}

std::string_view withoutFinalLineBreak(std::string_view s) {
    if (s.ends_with("\r\n")) {
        return s.substr(0, s.size() - 2);
    }
    if (endsWithLineBreak(s)) {
        return s.substr(0, s.size() - 1);
    }
    return s;
}

// The text that replaces a selection: the returned text keeps its final line break only when
// the selection had one.
std::string_view insertionFor(std::string_view page, TextSelection selection,
                              std::string_view returned) {
    const std::size_t start = std::min(selection.start, page.size());
    const std::string_view selected = page.substr(start, selection.length);
    return endsWithLineBreak(selected) ? returned : withoutFinalLineBreak(returned);
}

std::string replaceSelection(std::string_view page, TextSelection selection,
                             std::string_view insertion) {
    const std::size_t start = std::min(selection.start, page.size());
    const std::size_t length = std::min(selection.length, page.size() - start);
    std::string out(page.substr(0, start));
    out += insertion;
    out += page.substr(start + length);
    return out;
}

}  // namespace

std::string joinExchangeLines(std::string_view fileContent) {
    std::string joined;
    joined.reserve(fileContent.size());
    std::size_t pos = 0;
    while (pos < fileContent.size()) {
        const std::size_t end = fileContent.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            joined += joinLine(fileContent.substr(pos));
            break;
        }
        joined += joinLine(fileContent.substr(pos, end - pos));
        pos = end + 1;
        if (fileContent[end] == '\r' && pos < fileContent.size() && fileContent[pos] == '\n') {
            ++pos;
        }
    }
    return joined;
}

ReadBack readBackExchange(std::string_view fileContent) {
    ReadBack result;
    const std::string joined = joinExchangeLines(fileContent);
    result.tooLongFromEditor = joined.size() > kEditorTextWarningLimit;
    // Editors write "\ " with an extra blank after it; one visible space is meant.
    result.text.reserve(joined.size());
    for (std::size_t i = 0; i < joined.size(); ++i) {
        result.text += joined[i];
        if (joined[i] == '\\' && i + 1 < joined.size() && joined[i + 1] == ' ') {
            result.text += ' ';
            i = joined.find_first_not_of(' ', i + 1);
            if (i == std::string::npos) {
                break;
            }
            --i;
        }
    }
    return result;
}

std::string returnedText(std::string_view readBack, const ReturnTranslation& translate) {
    const std::string translated =
        readBack.empty() || !translate ? std::string() : translate(readBack);
    const std::string_view trimmed = trimBlanks(translated);
    std::string result = trimmed.empty() ? std::string(1, ' ') : std::string(trimmed);
    if (!result.ends_with('\n')) {
        result += "\r\n";
    }
    return result;
}

bool nothingCameBack(std::string_view returned) {
    return returned.find_first_not_of(" \r\n") == std::string_view::npos;
}

Placement placeLatexResult(std::string_view page, TextSelection selection, bool wholePage,
                           std::string_view returned, std::size_t rememberedCaret) {
    Placement placement;
    if (nothingCameBack(returned)) {
        placement.page = std::string(page);
        placement.caret = ui::snapOffset(page, rememberedCaret);
        return placement;
    }
    placement.changed = true;
    placement.page =
        wholePage ? std::string(returned)
                  : replaceSelection(page, selection, insertionFor(page, selection, returned));
    placement.caret = ui::snapOffset(placement.page, rememberedCaret);
    return placement;
}

Placement placeBrailleResult(std::string_view page, TextSelection selection, bool wholePage,
                             std::string_view returned, std::size_t rememberedCaret,
                             const ToBrailleConversion& toBraille) {
    Placement unchanged;
    unchanged.page = std::string(page);
    unchanged.caret = ui::snapOffset(page, rememberedCaret);
    if (nothingCameBack(returned) || !toBraille) {
        return unchanged;
    }
    const std::string_view latex = wholePage ? returned : insertionFor(page, selection, returned);
    const std::optional<std::string> cells = toBraille(latex);
    if (!cells) {
        return unchanged;
    }
    Placement placement;
    placement.changed = true;
    if (wholePage) {
        placement.page = *cells;
        placement.caret = ui::snapOffset(placement.page, rememberedCaret);
    } else {
        placement.page = replaceSelection(page, selection, *cells);
        placement.caret = std::min(selection.start, page.size()) + cells->size();
    }
    return placement;
}

}  // namespace notation
