#pragma once

// The graphic-editor hand-off, outgoing side: which text is sent, the checks before it leaves,
// the rewriting into TeX that an ordinary formula editor understands, and the exchange file
// and command line. Everything here is a pure function over code page 1252 text; the window
// shows the messages, writes the file, starts the editor and waits for it.
//
// The order of a hand-off, for the window:
//   1. handoffSettingsMissing -> ask for the settings first.
//   2. takeHandoffText (in Braille mode, then Braille-to-LaTeX; stop if it is refused).
//   3. prepareOutgoing -> refuse (message through the formula error report), or send.
//   4. exchangeFilePath + exchangeFileContent -> write the file.
//   5. editorCommandLine -> start the editor and wait (handoff_return.h takes over).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace notation {

// A formula may be at most this long, counted with its "$" wrapping.
inline constexpr std::size_t kHandoffFormulaLimit = 1800;
// Texts to or from the editor longer than this are sent anyway, after a warning.
inline constexpr std::size_t kEditorTextWarningLimit = 2000;
// The editor's command line, program and exchange file together, is at most this long.
inline constexpr std::size_t kEditorCommandLineLimit = 255;

// A selection of a page text; offsets count a CR LF line break as two characters.
struct TextSelection {
    std::size_t start = 0;
    std::size_t length = 0;
};

// True when the "editmod" setting asks for the whole page rather than the selection.
bool isWholePageScope(std::string_view editmod);

// True when the "editor" or the "scambio" setting is empty: the window then shows
// handoff_text::kSettingsMissing and the settings dialog before going on.
bool handoffSettingsMissing(std::string_view editor, std::string_view scambio);

// The text a hand-off works on: the whole page, or the selected characters of it. A selection
// reaching past the end of the page is cut at the end.
std::string takeHandoffText(std::string_view page, TextSelection selection, bool wholePage);

// "Pagina " N, a line break, then `text`: the form of every message about a page.
std::string pageMessage(int page, std::string_view text);

// Blanks removed at both ends, then "$" text "$" ("$ $" for an empty text). In print-formulas
// mode the text is first enclosed in "||" on both sides, and an empty text gives nullopt:
// there is nothing to print.
std::optional<std::string> wrapFormula(std::string_view text, bool printFormulas);

// The wrapped formula rewritten into the TeX the editor reads: fractions as "\over", text
// regions as visible "\backslash" pairs, roots with an index as "\root ... \of", the
// workbench's own signs as their TeX names, periodic digits as overlines, line breaks as
// "||", blanks as "\ ", "%" bars as "\left|"/"\right|" and "%%" as "\Arrowvert ", accented
// vowels of text regions as vowel and apostrophe.
std::string prepareForEditor(std::string_view wrapped);

// The bracket balance check: 0 when balanced, else the number of the first unbalanced line.
using BracketCheck = std::function<int(std::string_view)>;

struct OutgoingFormula {
    enum class Outcome {
        Send,            // write exchangeLine and start the editor
        NothingToPrint,  // print-formulas mode with no text: stop quietly
        TooLong,         // report `message`, caret to the start of the page, stop
        Unbalanced,      // report `message`, stop
    };
    Outcome outcome = Outcome::Send;
    std::string message;            // for the formula error report
    std::string exchangeLine;       // the prepared text, without line break
    bool tooLongForEditor = false;  // warn handoff_text::kTooLongForEditor, then send
};

// Steps 3 to 8 of a hand-off on the Latex-mode `text`: wrapping, the length limit, the bracket
// check (skipped when `bracketCheck` is empty) and the preparation. `page` is 1..15, for the
// messages.
OutgoingFormula prepareOutgoing(std::string_view text, int page, bool printFormulas,
                                const BracketCheck& bracketCheck);

// The bytes of the exchange file: the prepared text as its one line.
std::string exchangeFileContent(std::string_view exchangeLine);

// The exchange file in the (private) temporary folder. nullopt when the "scambio" setting is
// not a plain file name (empty, a folder part, ".", "..", a double quote or a control
// character): the window reports handoff_text::kCannotWriteExchange, as for any file that
// cannot be written, instead of writing outside the folder.
std::optional<std::filesystem::path> exchangeFilePath(const std::filesystem::path& tempFolder,
                                                      std::string_view scambio);

// The editor setting, one blank and the exchange file's path. A path with blanks is put in
// double quotes so that it stays one argument when the line is split. nullopt when the whole
// would pass kEditorCommandLineLimit: a cut line would start the editor on the wrong file.
std::optional<std::string> editorCommandLine(std::string_view editor,
                                             std::string_view exchangePath);

// handoff_text::kCannotStartEditor, a line break and the command line.
std::string editorStartFailure(std::string_view commandLine);

// handoff_text::kFormulaPrintTitle followed by the document's file name without folder;
// the title alone when no document file is open (empty path).
std::string formulaPrintTitle(std::string_view documentPath);

}  // namespace notation
