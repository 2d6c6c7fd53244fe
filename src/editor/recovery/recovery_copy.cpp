#include "editor/recovery/recovery_copy.h"

#include <charconv>
#include <vector>

#include "editor/document_file.h"
#include "ui/hex_digit.h"

namespace editor {
namespace {

constexpr std::string_view kCrLf = "\r\n";
// The block every document reader skips: page 0 is no page.
constexpr std::string_view kBlockHeader = "\\\\Step 0";
constexpr std::string_view kSignature = "Tattilo recovery copy 1";
constexpr std::string_view kPage = "page ";
constexpr std::string_view kMode = "mode ";
constexpr std::string_view kDocument = "document ";
constexpr std::string_view kExercise = "exercise ";
constexpr std::string_view kTaken = "taken ";
constexpr std::string_view kDocumentTime = "document-time ";
constexpr std::string_view kLatex = "latex ";
constexpr std::string_view kBraille = "braille ";
constexpr std::string_view kEnd = "end ";
constexpr std::string_view kModeBraille = "Braille";
constexpr std::string_view kModeLatex = "Latex";

// FNV-1a, 64 bits: a changed, lost or added byte anywhere changes it.
std::uint64_t checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

constexpr char kHex[] = "0123456789abcdef";

// One line for any text: backslashes doubled, line breaks and other control characters as
// "\r", "\n" and "\xHH".
std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

// The copy spells bytes and its checksum in lowercase only: a digit turned into its capital is
// damage, not the same digit.
int lowerHexDigit(char c) {
    return c >= 'A' && c <= 'F' ? -1 : ui::hexDigit(c);
}

std::optional<std::string> unescape(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            out += line[i];
            continue;
        }
        if (++i >= line.size()) {
            return std::nullopt;
        }
        switch (line[i]) {
            case '\\':
                out += '\\';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 'x': {
                if (i + 2 >= line.size()) {
                    return std::nullopt;
                }
                const int high = lowerHexDigit(line[i + 1]);
                const int low = lowerHexDigit(line[i + 2]);
                if (high < 0 || low < 0) {
                    return std::nullopt;
                }
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

template <class Int>
std::optional<Int> number(std::string_view text) {
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

void appendLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value;
    out += kCrLf;
}

// "latex 3 <text>": the page and the text, or nullopt.
std::optional<std::pair<int, std::string>> pageText(std::string_view rest) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const auto page = number<int>(rest.substr(0, blank));
    auto text = unescape(rest.substr(blank + 1));
    if (!page || *page < 1 || *page > kPageCount || !text) {
        return std::nullopt;
    }
    return std::pair{*page, std::move(*text)};
}

// The lines of `bytes`, each ended by CR LF; nullopt when a line break is anything else.
std::optional<std::vector<std::string_view>> crLfLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find(kCrLf, pos);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + kCrLf.size();
    }
    return lines;
}

}  // namespace

std::string formatRecoveryCopy(const RecoveryCopy& copy) {
    const RecoveryState& s = copy.state;
    std::string out = formatDocument(s.pages);
    appendLine(out, kBlockHeader, {});
    appendLine(out, kSignature, {});
    appendLine(out, kPage, std::to_string(s.page));
    appendLine(out, kMode, s.braille ? kModeBraille : kModeLatex);
    appendLine(out, kDocument, escape(s.document));
    appendLine(out, kExercise, escape(s.exerciseName));
    appendLine(out, kTaken, std::to_string(copy.taken));
    if (copy.documentTime) {
        appendLine(out, kDocumentTime, std::to_string(*copy.documentTime));
    }
    for (int page = 1; page <= kPageCount; ++page) {
        for (const bool braille : {false, true}) {
            const std::string& text = braille ? s.pages.brailleOf(page) : s.pages.latexOf(page);
            if (!text.empty()) {
                appendLine(out, braille ? kBraille : kLatex,
                           std::to_string(page) + ' ' + escape(text));
            }
        }
    }
    const std::uint64_t sum = checksum(out);
    std::string end = std::to_string(out.size()) + ' ';
    for (int shift = 60; shift >= 0; shift -= 4) {
        end += kHex[(sum >> shift) & 0xF];
    }
    appendLine(out, kEnd, end);
    return out;
}

std::optional<RecoveryCopy> parseRecoveryCopy(std::string_view bytes) {
    // The last line vouches for everything before it.
    if (!bytes.ends_with(kCrLf)) {
        return std::nullopt;
    }
    const std::size_t lastStart = bytes.rfind(kCrLf, bytes.size() - kCrLf.size() - 1);
    if (lastStart == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t bodySize = lastStart + kCrLf.size();
    const std::string_view last = bytes.substr(bodySize, bytes.size() - bodySize - kCrLf.size());
    if (!last.starts_with(kEnd)) {
        return std::nullopt;
    }
    const std::string_view sums = last.substr(kEnd.size());
    const std::size_t blank = sums.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const auto size = number<std::size_t>(sums.substr(0, blank));
    const std::string_view hex = sums.substr(blank + 1);
    if (!size || *size != bodySize || hex.size() != 16) {
        return std::nullopt;
    }
    std::uint64_t sum = 0;
    for (const char c : hex) {
        const int digit = lowerHexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        sum = sum * 16 + static_cast<std::uint64_t>(digit);
    }
    const std::string_view body = bytes.substr(0, bodySize);
    if (sum != checksum(body)) {
        return std::nullopt;
    }

    // The block of the copy begins at the last real "\\Step 0" header: a text line that would
    // read as a header is written with a leading blank.
    const std::string marker = std::string(kCrLf) + std::string(kBlockHeader) + std::string(kCrLf);
    const std::size_t block = body.rfind(marker);
    if (block == std::string_view::npos) {
        return std::nullopt;
    }
    const auto lines = crLfLines(body.substr(block + marker.size()));
    if (!lines || lines->empty() || lines->front() != kSignature) {
        return std::nullopt;
    }
    RecoveryCopy copy;
    bool page = false;
    bool mode = false;
    bool taken = false;
    for (std::size_t i = 1; i < lines->size(); ++i) {
        const std::string_view line = (*lines)[i];
        if (line.starts_with(kPage)) {
            const auto n = number<int>(line.substr(kPage.size()));
            if (!n || *n < 1 || *n > kPageCount) {
                return std::nullopt;
            }
            copy.state.page = *n;
            page = true;
        } else if (line.starts_with(kMode)) {
            const std::string_view m = line.substr(kMode.size());
            if (m != kModeBraille && m != kModeLatex) {
                return std::nullopt;
            }
            copy.state.braille = m == kModeBraille;
            mode = true;
        } else if (line.starts_with(kDocument) || line.starts_with(kExercise)) {
            const bool document = line.starts_with(kDocument);
            auto text = unescape(line.substr(document ? kDocument.size() : kExercise.size()));
            if (!text) {
                return std::nullopt;
            }
            (document ? copy.state.document : copy.state.exerciseName) = std::move(*text);
        } else if (line.starts_with(kTaken)) {
            const auto t = number<std::int64_t>(line.substr(kTaken.size()));
            if (!t) {
                return std::nullopt;
            }
            copy.taken = *t;
            taken = true;
        } else if (line.starts_with(kDocumentTime)) {
            copy.documentTime = number<std::int64_t>(line.substr(kDocumentTime.size()));
            if (!copy.documentTime) {
                return std::nullopt;
            }
        } else if (line.starts_with(kLatex) || line.starts_with(kBraille)) {
            const bool braille = line.starts_with(kBraille);
            auto text = pageText(line.substr(braille ? kBraille.size() : kLatex.size()));
            if (!text) {
                return std::nullopt;
            }
            (braille ? copy.state.pages.brailleOf(text->first)
                     : copy.state.pages.latexOf(text->first)) = std::move(text->second);
        } else {
            return std::nullopt;
        }
    }
    if (!page || !mode || !taken) {
        return std::nullopt;
    }
    return copy;
}

}  // namespace editor
