#pragma once

// Editing commands of the "Modifica" menu as text operations: clipboard commands, the one-step
// undo of each editor, line duplication and the two bracket-spacing commands.
//
// Carets and selections count the characters before them, CR LF as two. Results are the new
// text and caret; the window puts them into its editor.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace editor {

// Which editor a command acts on: the Latex editor or the Braille editor.
enum class Notation { Latex, Braille };

// A command's result: the new text and where the caret goes.
struct TextEdit {
    std::string text;
    std::size_t caret = 0;
};

// The three faces of the undo item.
enum class UndoKind { Cut, Paste, Typing };

// The one-step undo of one editor. Armed means no snapshot is held and the next typing key takes
// one; a snapshot is the editor's whole text and caret before a cut, a paste or a run of typing.
// The window owns one per editor, calls these before carrying out the command, and shows only
// the undo item of visibleItem().
class UndoModel {
public:
    struct Snapshot {
        std::string text;
        std::size_t caret = 0;
        UndoKind kind = UndoKind::Typing;
    };

    // Drops the snapshot (a click in the editor, leaving it, the first activation).
    void arm() { snapshot_.reset(); }
    bool armed() const { return !snapshot_.has_value(); }

    // The undo item to show; none when armed.
    std::optional<UndoKind> visibleItem() const;

    // Before a cut: false (no snapshot, nothing to cut) when the selection is empty.
    bool beforeCut(std::string_view text, std::size_t caret, std::size_t selectionLength);

    // Before a paste.
    void beforePaste(std::string_view text, std::size_t caret);

    // A key down in the editor, before the key acts. Enter, the navigation keys and Delete (and
    // Backspace in the Latex editor) end the run of typing; every other key, modifiers included,
    // then starts a new run when none is held. So Delete always undoes alone.
    void keyDown(int virtualKey, Notation editor, std::string_view text, std::size_t caret);

    // Undo: the snapshot to put back into the editor, after which the model is armed; nullopt
    // when armed.
    std::optional<Snapshot> undo();

private:
    void take(std::string_view text, std::size_t caret, UndoKind kind);

    std::optional<Snapshot> snapshot_;
};

// "Duplica riga": an empty line (a line holding one space after the last line) and a copy of the
// caret's line are put after it; the caret goes to the start of the copy. nullopt when the caret's
// line is blank.
std::optional<TextEdit> duplicateLine(std::string_view text, std::size_t caret);

// "Parentesi spaziate": a space before each opening bracket and after each closing bracket that
// has none (no space at the start of the text or line). Braille: openers & ? {, closers * y }.
// Latex: openers ( [ \{, closers ) ] \}. In Braille the digit cells of a number are left alone.
std::string addBracketSpaces(std::string_view text, Notation notation);

// "Parentesi non spaziate": the spaces before the opening and after the closing brackets dropped.
std::string removeBracketSpaces(std::string_view text, Notation notation);

}  // namespace editor
