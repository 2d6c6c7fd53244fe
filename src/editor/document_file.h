#pragma once

// Document files (".mtf"): the fifteen pages of a document, each with its Latex-mode text and its
// Braille text, in a plain code page 1252 text file with CR LF line ends.
//
// For each page n = 1..15, in order:
//     \\Step n          header
//     <Latex text>      trimmed; one empty line when empty
//     \\                separator
//     <Braille text>    trimmed; one empty line when empty
//     \\                separator
//
// A text line that the reader would take for a separator or a header (a line that is exactly
// two backslashes or begins with "\\Step", after any leading spaces) is written with one more
// leading space, and the reader takes one leading space off such a line. Every text therefore
// reads back on its own page and in its own notation, and files without such lines are exactly
// what every earlier reader expects.

#include "editor/file_io.h"
#include "editor/page_store.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace editor {

inline constexpr std::string_view kMsgWrongFormat = "Formato del file errato";
inline constexpr std::string_view kMtfFilter = "File mtf|*.mtf|Tutti|*.*";

// Opening a file is tried this many times in a row before the read error is reported.
inline constexpr int kOpenAttempts = 5;

// The whole file for `pages`: fifteen blocks, at least 75 lines.
std::string formatDocument(const PageStore& pages);

// Reads a document file's content and appends each text read to its page of `pages` (each line
// followed by CR LF; the caller empties the document first). Headers whose page number is not
// 1 to 15 are skipped with their block. Returns false, appending nothing, when the first line
// does not begin with "\\Step".
bool parseDocument(std::string_view bytes, PageStore& pages);

// Load: reads `path` (up to kOpenAttempts attempts) and appends its pages to `pages`.
// Failures: the read error message with the errno value, or "Formato del file errato"; `pages`
// is then unchanged.
FileOutcome loadDocument(const std::filesystem::path& path, PageStore& pages);

// Save: writes `pages` to `path` without ever destroying the previous file (see file_io.h).
// The caller brings both texts of every page in step first. Failure: the write error message
// with the errno value and the file name; the previous file is then intact.
FileOutcome saveDocument(const std::filesystem::path& path, const PageStore& pages,
                         const WriteFault& fault = {});

// The name "Salva con nome" saves under: the chosen name, with ".mtf" appended when it has no
// extension.
std::string saveAsFileName(std::string_view chosen);

// The file name part of a path written with either kind of separator.
std::string_view fileNamePart(std::string_view path);

}  // namespace editor
