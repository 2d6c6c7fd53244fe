#include "editor/braille_print.h"

#include "editor/braille_numbers.h"
#include "editor/text_lines.h"

namespace editor {
namespace {

constexpr std::string_view kBreakCells = "(+-/";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kFormFeedLine = "\f\r\n";

bool isBreakCell(char c) {
    return kBreakCells.find(c) != std::string_view::npos;
}

// Positions below are counted from 1, as cells on a line are.

// The number sign whose number holds the cell at `b`, or 0 when that cell is not a digit of a
// number.
std::size_t numberSignBefore(std::string_view line, std::size_t b) {
    std::size_t p = b;
    while (p >= 1 && isDigitCell(line[p - 1])) {
        --p;
    }
    return (p >= 1 && line[p - 1] == kNumberSign) ? p : 0;
}

// The last break cell at a position from `from` down to 2, or 0 when there is none. A break at
// position 1 would leave the line as long as it was.
std::size_t lastBreakCell(std::string_view line, std::size_t from) {
    for (std::size_t p = from; p >= 2; --p) {
        if (isBreakCell(line[p - 1])) {
            return p;
        }
    }
    return 0;
}

std::size_t breakPosition(std::string_view line, std::size_t width) {
    const std::size_t cut = width - 2;
    std::size_t b = lastBreakCell(line, width);
    if (b == 0) {
        b = cut;
    }
    // Never inside a number: move to the break cell before its number sign, as often as needed.
    while (const std::size_t sign = numberSignBefore(line, b)) {
        const std::size_t earlier = sign >= 2 ? lastBreakCell(line, sign - 1) : 0;
        if (earlier == 0) {
            return cut;
        }
        b = earlier;
    }
    return b;
}

class CountedWriter {
public:
    CountedWriter(std::string& out, int height) : out_(out), height_(height) {}

    void write(std::string_view line) {
        out_ += line;
        out_ += kCrLf;
        if (++count_ > height_) {
            out_ += kFormFeedLine;
            count_ = 0;
        }
    }

private:
    std::string& out_;
    int height_;
    int count_ = 0;
};

}  // namespace

bool printerSettingsUsable(int width, int height) {
    return width >= kMinPrintWidth && height >= 1;
}

std::vector<std::string_view> breakBrailleLine(std::string_view line, int width) {
    const std::size_t w = static_cast<std::size_t>(width < kMinPrintWidth ? kMinPrintWidth : width);
    std::vector<std::string_view> pieces;
    if (line.size() <= w) {
        pieces.push_back(line);
        return pieces;
    }
    while (line.size() >= w) {
        const std::size_t b = breakPosition(line, w);
        pieces.push_back(line.substr(0, b));
        line.remove_prefix(b - 1);  // the cell at b begins the next piece too
    }
    pieces.push_back(line);
    return pieces;
}

std::optional<std::string> embosserFile(std::string_view header, std::string_view brailleText,
                                        int width, int height) {
    if (!printerSettingsUsable(width, height)) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(brailleText.size() + brailleText.size() / 8 + 64);
    CountedWriter writer(out, height);
    writer.write(header);
    out += " ";
    out += kCrLf;
    for (std::string_view line : editorLines(brailleText)) {
        for (std::string_view piece : breakBrailleLine(line, width)) {
            writer.write(piece);
        }
    }
    return out;
}

FileOutcome writeEmbosserFile(const std::filesystem::path& path, std::string_view header,
                              std::string_view brailleText, int width, int height,
                              const WriteFault& fault) {
    const std::optional<std::string> file = embosserFile(header, brailleText, width, height);
    if (!file) {
        return {false, std::string(kMsgPrinterSettings)};
    }
    const int code = writeFileSafely(path, *file, fault);
    if (code != 0) {
        return {false, writeErrorMessage(code, path.string())};
    }
    return {true, std::string(kMsgDataSaved) + path.string()};
}

std::string printFileName(std::string_view chosen) {
    std::string name(chosen);
    if (name.find(".prn") == std::string::npos) {
        name += ".prn";
    }
    return name;
}

std::vector<std::string> printerLines(std::string_view editorText) {
    std::vector<std::string> lines;
    for (std::string_view line : editorLines(editorText)) {
        lines.push_back("   " + std::string(line));
    }
    return lines;
}

}  // namespace editor
