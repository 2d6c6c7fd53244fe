#pragma once

// Braille printing: the embosser file of "Stampa su file" and the lines that "Stampa" sends to
// a system printer.
//
// Embosser file (code page 1252, CR LF): the file name part of the document (an empty line for
// an untitled one), a line holding one space, then the lines of the Braille page, each broken
// into pieces of at most W cells; a line holding only a form feed (code 12) whenever the count
// of lines written passes H (the header counts, the blank second line does not).
//
// A long line is broken after the last break cell ("(" "+" "-" "/") within the width, and that
// cell starts the next piece as well. A break never falls inside a number (a number sign "#"
// followed by digit cells); a line with no usable break cell is cut after W - 2 cells, the cell
// at the cut repeated in the same way.

#include "editor/file_io.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

inline constexpr std::string_view kMsgPrinterSettings = "Impostare  parametri stampante Braille";
inline constexpr std::string_view kMsgDataSaved = "DATI REGISTRATI SUL FILE ";
inline constexpr std::string_view kPrnFilter = "File prn |*.prn|Tutti|*.*";

// Narrower lines cannot be broken so that every piece is shorter than the line.
inline constexpr int kMinPrintWidth = 4;

// Whether W characters per line and H lines per page can be printed: W at least 4, H at least
// 1. When not, the window shows kMsgPrinterSettings and opens the settings dialog.
bool printerSettingsUsable(int width, int height);

// The pieces one Braille line is written as, for a usable width (at least 4). The views point
// into `line`; each is at most `width` cells long.
std::vector<std::string_view> breakBrailleLine(std::string_view line, int width);

// The whole embosser file for the Braille text `brailleText` (the editor's lines), headed by
// `header`. nullopt when the settings are not usable.
std::optional<std::string> embosserFile(std::string_view header, std::string_view brailleText,
                                        int width, int height);

// "Stampa su file" after the dialogs: writes the embosser file to `path` (safely, see
// file_io.h). Success: "DATI REGISTRATI SUL FILE " + the file name. Failure: the printer
// settings message, or the write error message with the errno value.
FileOutcome writeEmbosserFile(const std::filesystem::path& path, std::string_view header,
                              std::string_view brailleText, int width, int height,
                              const WriteFault& fault = {});

// The name the print file is written under: ".prn" appended unless the chosen name holds it.
std::string printFileName(std::string_view chosen);

// "Stampa": the lines sent to the printer, each the editor line after three spaces.
std::vector<std::string> printerLines(std::string_view editorText);

}  // namespace editor
