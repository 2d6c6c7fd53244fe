#include "speech/request_sources.h"

#include <algorithm>

#include "speech/messages.h"
#include "speech/rendering.h"

namespace speech {
namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

Request make(const std::string& dir, std::string_view mode, std::string text,
             std::string rate = {}) {
    return Request{dir, std::string(mode), std::move(rate), std::move(text)};
}

// From the start of the line of `last` through the cell at `last`. A line feed selected
// after its carriage return is said as the line break (the carriage return).
std::string lineThrough(std::string_view text, std::size_t last) {
    if (text[last] == '\n' && last > 0 && text[last - 1] == '\r') {
        --last;
    }
    const std::size_t start = lineStart(text, last);
    return std::string(text.substr(start, last + 1 - start));
}

}  // namespace

std::size_t lineStart(std::string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    const std::size_t lf = caret == 0 ? std::string_view::npos : text.rfind('\n', caret - 1);
    return lf == std::string_view::npos ? 0 : lf + 1;
}

Request typedKeyRequest(const std::string& programDirectory, std::string_view text,
                        std::size_t caret, char typed) {
    caret = std::min(caret, text.size());
    const unsigned char code = static_cast<unsigned char>(typed);
    if (code == 127 || code == 166) {
        typed = '_';
    }
    const std::size_t start = lineStart(text, caret);
    std::string line(text.substr(start, caret - start));
    line += typed;
    return make(programDirectory, kModeKey, std::move(line));
}

std::optional<Request> backspaceRequest(const std::string& programDirectory, std::string_view text,
                                        std::size_t caret) {
    caret = std::min(caret, text.size());
    if (caret == 0) {
        return std::nullopt;
    }
    const std::size_t start = lineStart(text, caret);
    if (start == caret) {
        return make(programDirectory, kModeCanc, "\r");
    }
    return make(programDirectory, kModeCanc, std::string(text.substr(start, caret - start)));
}

std::optional<Request> deleteRequest(const std::string& programDirectory, std::string_view text,
                                     std::size_t caret, std::size_t selectionLength) {
    if (selectionLength > 0 || caret >= text.size()) {
        return std::nullopt;
    }
    return make(programDirectory, kModeCanc, lineThrough(text, caret));
}

std::optional<Request> arrowRequest(const std::string& programDirectory, std::string_view text,
                                    std::size_t caret, bool shiftRight, std::size_t selectionStart,
                                    std::size_t selectionLength) {
    if (text.empty()) {
        return std::nullopt;
    }
    if (shiftRight) {
        if (selectionLength == 0 || selectionStart >= text.size()) {
            return std::nullopt;
        }
        const std::size_t last = std::min(selectionStart + selectionLength, text.size()) - 1;
        return make(programDirectory, kModeLast, lineThrough(text, last));
    }
    if (caret >= text.size()) {
        return std::nullopt;
    }
    return make(programDirectory, kModeLast, lineThrough(text, caret));
}

std::optional<Request> lineRequest(const std::string& programDirectory, std::string_view text,
                                   std::size_t caret, const std::string& rate) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::size_t start = lineStart(text, caret);
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    const std::string_view line = text.substr(start, end - start);
    const bool blank = std::all_of(line.begin(), line.end(),
                                   [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    return make(programDirectory, kModeAll, blank ? std::string(" ") : std::string(line), rate);
}

Request chordRequest(const std::string& programDirectory, std::string_view text,
                     std::size_t caret) {
    caret = std::min(caret, text.size());
    const std::size_t start = lineStart(text, caret);
    return make(programDirectory, kModeLast, std::string(text.substr(start, caret - start)));
}

Request keypadRequest(const std::string& programDirectory, std::string_view text,
                      std::size_t caret) {
    caret = std::min(caret, text.size());
    return make(programDirectory, kModeKey, std::string(text.substr(0, caret)));
}

Request pageRequest(const std::string& programDirectory, int page) {
    std::string text(messages::kAnnouncePagePrefix);
    text += std::to_string(page);
    text += messages::kAnnouncePageSuffix;
    return make(programDirectory, "", std::move(text));
}

Request inputModeRequest(const std::string& programDirectory, bool chordInputOn) {
    return make(
        programDirectory, "",
        std::string(chordInputOn ? messages::kAnnounceChordInput : messages::kAnnounceKeyboard));
}

Request announcementRequest(const std::string& programDirectory, std::string_view words) {
    std::string text(messages::kAnnounceStart);
    text += words;
    text += messages::kAnnounceEnd;
    return make(programDirectory, "", std::move(text));
}

Request silenceRequest(const std::string& programDirectory) {
    return make(programDirectory, "", std::string(messages::kSilence));
}

std::string_view modeForKeyCode(int keyCode) {
    switch (keyCode) {
        case kKeyLeft:
        case kKeyRight:
            return kModeLast;
        case kKeyUp:
        case kKeyDown:
            return kModeAll;
        case kKeyCodeDeleted:
            return kModeCanc;
        case kKeyCodeError:
            return kModeError;
        default:
            return kModeKey;
    }
}

Request keyCodeRequest(const std::string& programDirectory, int keyCode, std::string text) {
    return make(programDirectory, modeForKeyCode(keyCode), std::move(text));
}

}  // namespace speech
