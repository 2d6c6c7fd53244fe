#include "editor/document_file.h"

#include "editor/text_lines.h"
#include "ui/text_trim.h"

#include <optional>

namespace editor {
namespace {

constexpr std::string_view kHeader = "\\\\Step";
constexpr std::string_view kSeparator = "\\\\";
constexpr std::string_view kCrLf = "\r\n";

bool isHeader(std::string_view line) {
    return line.starts_with(kHeader);
}

// A line that the reader would take for a separator or a header once its leading spaces were
// gone: such text lines carry one extra leading space in the file.
bool looksLikeMarker(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    const std::string_view rest = line.substr(first);
    return rest == kSeparator || isHeader(rest);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The page number of a header: the decimal number in characters 7 to 9, blanks allowed around
// it; nullopt unless it is 1 to 15 (a number that goes on past character 9 is not).
std::optional<int> headerPage(std::string_view line) {
    const std::string_view field = line.substr(kHeader.size(), 3);
    std::size_t i = 0;
    while (i < field.size() && isBlank(field[i])) {
        ++i;
    }
    int page = 0;
    const std::size_t firstDigit = i;
    while (i < field.size() && isDigit(field[i])) {
        page = page * 10 + (field[i] - '0');
        ++i;
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    if (i == field.size()) {
        const std::size_t next = kHeader.size() + field.size();
        if (next < line.size() && isDigit(line[next])) {
            return std::nullopt;
        }
    }
    while (i < field.size() && isBlank(field[i])) {
        ++i;
    }
    if (i != field.size() || page < 1 || page > kPageCount) {
        return std::nullopt;
    }
    return page;
}

void appendText(std::string& file, std::string_view text) {
    const std::vector<std::string_view> lines = editorLines(ui::trimControls(text));
    if (lines.empty()) {
        file += kCrLf;
        return;
    }
    for (std::string_view line : lines) {
        if (looksLikeMarker(line)) {
            file += ' ';
        }
        file += line;
        file += kCrLf;
    }
}

}  // namespace

std::string formatDocument(const PageStore& pages) {
    std::string file;
    for (int page = 1; page <= kPageCount; ++page) {
        file += kHeader;
        file += ' ';
        file += std::to_string(page);
        file += kCrLf;
        appendText(file, pages.latexOf(page));
        file += kSeparator;
        file += kCrLf;
        appendText(file, pages.brailleOf(page));
        file += kSeparator;
        file += kCrLf;
    }
    return file;
}

bool parseDocument(std::string_view bytes, PageStore& pages) {
    std::size_t pos = 0;
    // The next line, a last line without its line break included; false at the end.
    auto nextLine = [&](std::string_view& line) {
        if (pos >= bytes.size()) {
            return false;
        }
        const std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            line = bytes.substr(pos);
            pos = bytes.size();
            return true;
        }
        line = bytes.substr(pos, end - pos);
        pos = end +
              ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
        return true;
    };

    std::string_view line;
    if (!nextLine(line) || !isHeader(line)) {
        return false;
    }
    // A page that comes twice gets both of its blocks, in file order.
    std::string* target = nullptr;  // nullptr: skipping a block without a valid page
    int page = 0;
    bool inLatex = false;
    do {
        if (isHeader(line)) {
            page = headerPage(line).value_or(0);
            inLatex = page != 0;
            target = page != 0 ? &pages.latexOf(page) : nullptr;
            continue;
        }
        if (line == kSeparator) {
            if (inLatex) {
                inLatex = false;
                target = &pages.brailleOf(page);
            }
            continue;
        }
        if (target == nullptr) {
            continue;
        }
        if (line.starts_with(' ') && looksLikeMarker(line)) {
            line.remove_prefix(1);
        }
        *target += line;
        *target += kCrLf;
    } while (nextLine(line));
    return true;
}

FileOutcome loadDocument(const std::filesystem::path& path, PageStore& pages) {
    ReadResult read;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        read = readWholeFile(path);
        if (read.error == 0) {
            break;
        }
    }
    if (read.error != 0) {
        return {false, readErrorMessage(read.error, path.string())};
    }
    if (!parseDocument(read.bytes, pages)) {
        return {false, std::string(kMsgWrongFormat)};
    }
    return {true, {}};
}

FileOutcome saveDocument(const std::filesystem::path& path, const PageStore& pages,
                         const WriteFault& fault) {
    const int code = writeFileSafely(path, formatDocument(pages), fault);
    if (code != 0) {
        return {false, writeErrorMessage(code, path.string())};
    }
    return {true, {}};
}

std::string saveAsFileName(std::string_view chosen) {
    std::string name(chosen);
    const std::string_view part = fileNamePart(chosen);
    const std::size_t dot = part.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        name += ".mtf";
    }
    return name;
}

std::string_view fileNamePart(std::string_view path) {
    const std::size_t sep = path.find_last_of("/\\");
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

}  // namespace editor
