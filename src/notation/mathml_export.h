#pragma once

// The MathML export ("Salva come Mathml"): the whole document, every page that is not blank,
// as one XHTML file with MathML. Pure functions; the window asks for the file name, asks
// before replacing a file, converts all pages first and writes the bytes this returns.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace notation {

namespace mathml_text {

inline constexpr std::string_view kConverterCaption = "Conversione in Mathml";
inline constexpr std::string_view kSaveFilter = "File xml|*.xml|Tutti|*.*";
inline constexpr std::string_view kReplaceQuestion = "Il file esiste gi\xE0. Sostituirlo ? ";

inline constexpr std::string_view kNavigationBar =
    "<body bgcolor=\"#ffffff\"> <div class=\"navbar\" align=\"center\">&nbsp;";
inline constexpr std::string_view kTitleStart = "<h2><center> Tattilo to Mathml - ";
inline constexpr std::string_view kTitleEnd = "</center></h2>";
inline constexpr std::string_view kNavigationBarEnd = "</div></body>";
inline constexpr std::string_view kRule =
    "<h2><center>_______________________________________________</center></h2>";
inline constexpr std::string_view kEnd = "</html>";

}  // namespace mathml_text

// The file the save dialog proposes: the open document with the extension ".xml", or, when no
// document has been saved yet (empty path), the next free exercise name in the exercise
// folder with the extension ".xml".
std::filesystem::path proposeExportPath(const std::filesystem::path& documentPath,
                                        const std::filesystem::path& exerciseFolder,
                                        std::string_view nextExerciseName);

// The first line of the file: the XML declaration, the XHTML 1.1 plus MathML 2.0 document
// type with an internal subset declaring the entity "mathml" (the MathML namespace) and every
// named entity the export writes, and the opening html element.
std::string mathmlPrologue();

// The whole export, lines ended by CR LF, plain ASCII. `braillePages` are the fifteen
// Braille-mode pages (page 1 first; the same array type as editor::PageTexts); `fileName` is
// the chosen file, whose name without folder and extension titles the page.
std::string exportDocument(const std::array<std::string, 15>& braillePages,
                           const std::filesystem::path& fileName);

}  // namespace notation
