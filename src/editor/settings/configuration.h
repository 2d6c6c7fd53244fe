#pragma once

// The workbench's settings and their file, "tattilo.ini" in the program directory: read once
// when the main window is made, written back whole when it closes.
//
// Reading: each line is compared, for each key in turn, by its first characters lowered to
// small letters, so keys are case-insensitive and may be followed by anything ("editor
// grafico = x" is the key `editor`); a line may match several keys. The value is the text
// after the first "=" (the whole line when there is none), at most 100 characters, trimmed of
// blanks and control characters. A numeric value that is not a decimal integer leaves the
// setting as it was.
//
// Writing: eighteen lines in a fixed order, then the two lines the workbench adds to them (the
// Braille display, working without a graphic editor), code page 1252, CR LF; any other line is
// lost.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

struct Settings {
    // Window geometry as last seen, in pixels.
    int winTop = 0;
    int winLeft = 0;
    int winWidth = 0;
    int winHeight = 0;
    std::string graphicEditor;  // path of the graphic formula editor
    std::string filter;         // filter file name, relative to the program directory
    std::string exchangeMode;   // "tutto" or "sel"
    std::string brailleFont;    // font file name
    std::string exchangeFile;   // exchange file with the graphic editor
    std::string workDir;        // working directory for documents
    int timer = 200;            // chord timer, milliseconds
    std::string modeText = "Braille";
    int printerChars = 50;  // Braille printer characters per line
    int printerLines = 30;  // Braille printer lines per page
    int speechRate = 50;
    int tutor = 2;
    bool maximized = false;
    bool mathml = false;
    // The caret's line on a refreshable Braille display while the Braille editor has the focus.
    bool brailleDisplay = true;
    // The student left the graphic editor empty when the program asked for it: the start no
    // longer asks again while it stays empty.
    bool withoutGraphicEditor = false;
};

inline constexpr std::size_t kMaxValueLength = 100;

// Applies the lines of a configuration file to `settings`.
void readConfiguration(std::string_view content, Settings& settings);

// The file content for `settings`: the eighteen lines and the workbench's own two.
std::string writeConfiguration(const Settings& settings);

// A decimal integer with optional blanks around it and an optional sign; nullopt for anything
// else, including numbers out of the int range.
std::optional<int> parseInteger(std::string_view text);

// Reads the file into `settings`. A missing file is not an error (the defaults stay); a file
// that exists but cannot be read gives the message to show.
std::optional<std::string> loadConfigurationFile(const std::filesystem::path& file,
                                                 Settings& settings);

// Writes the file through a temporary file beside it, so a failed write never leaves a
// half-written file; on failure the message to show, and the old file is untouched.
std::optional<std::string> saveConfigurationFile(const std::filesystem::path& file,
                                                 const Settings& settings);

// The exchange file name made to end in ".tex": a name that ends so stays; a name without "."
// gets ".tex"; a name with a "." is cut after its first "." and gets "tex". Only the file name
// is changed, never the folders before it. An empty name becomes "formula.tex".
std::string withTexExtension(std::string_view name);

// Where the Braille font file is looked for: the program's own "fonts" folder, then the
// user's font folders.
std::vector<std::filesystem::path> fontDirectories(const std::filesystem::path& programDirectory);

// Whether `fontFile` (a file name) is in one of `directories`.
bool fontInstalled(std::string_view fontFile,
                   const std::vector<std::filesystem::path>& directories);

}  // namespace editor
