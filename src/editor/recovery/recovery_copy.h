#pragma once

// The recovery copy of an open document: what the student has on screen, written while he works
// so that a crash or a power cut loses at most the last few seconds of typing.
//
// A recovery copy is a document file (document_file.h): any Tattilo opens it as a document. After
// the fifteen page blocks it holds one more block, under the header "\\Step 0", which a document
// reader skips, with what a document file cannot hold:
//   - every text exactly as it was in memory (blanks and line breaks at its ends, lone line
//     feeds), escaped so that each one fits on one line;
//   - the page shown, the mode, the document's own file and, for a document never saved, the
//     exercise name a first save proposes;
//   - when the copy was taken and the document file's time of change as it was last loaded or
//     saved, so that a start can tell whether the file on disk is newer;
//   - a last line with the length and a checksum of everything before it.
// A copy cut short, written over by something else or damaged in any byte is refused whole:
// parseRecoveryCopy never hands back part of a copy.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/page_store.h"

namespace editor {

// What the student had in the window.
struct RecoveryState {
    PageStore pages;
    int page = 1;          // 1 to 15
    bool braille = false;  // the mode: Braille, else Latex
    // The file the document belongs to, as the window names it; empty for a document never saved.
    std::string document;
    // For a document never saved: the name its first save proposes ("esercizio004.mtf").
    std::string exerciseName;

    bool operator==(const RecoveryState&) const = default;
};

struct RecoveryCopy {
    RecoveryState state;
    // When the copy was taken: seconds since 1970-01-01 UTC.
    std::int64_t taken = 0;
    // The document file's time of change (in the file system's own ticks) when the pages were
    // last loaded from it or saved to it; none when there was no file.
    std::optional<std::int64_t> documentTime;
};

// The whole file for `copy`.
std::string formatRecoveryCopy(const RecoveryCopy& copy);

// The copy held by `bytes`; nullopt unless they are a whole recovery copy exactly as
// formatRecoveryCopy writes it (a plain document file is not one).
std::optional<RecoveryCopy> parseRecoveryCopy(std::string_view bytes);

}  // namespace editor
