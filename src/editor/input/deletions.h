#pragma once

// Structural deletions in the Braille editor: a whole bracket, complex fraction or root round the
// caret ("Eliminazioni"), or the cells from the caret back to an opening cell or on to a closing
// cell ("e&Liminaz.parziali"), each undone by its own "Ripristina ultimi dati eliminati".
//
// Structures are found by their delimiter cells on the caret's line; nesting is not followed (the
// nearest opening cell to the left, the nearest closing cell after it). The digit cells of a
// number ("#" followed by any of ( ) * + , / : ; = ?) are never taken as delimiters.
//
// Carets count the characters before them, CR LF as two.

#include <cstddef>
#include <string>
#include <string_view>

namespace editor {

enum class Structure { Round, Square, Curly, Fraction, Root };

enum class PartialDeletion {
    ToRoundOpen,         // back to "?"
    ToRoundClose,        // on to "*"
    ToSquareOpen,        // back to "{"
    ToSquareClose,       // on to "}"
    ToCurlyOpen,         // back to "&"
    ToCurlyClose,        // on to "y"
    ToNumeratorOpen,     // back to "6", the fraction's opening
    ToNumeratorClose,    // on to "n", the first cell of the fraction line "np"
    ToDenominatorOpen,   // back to "p", the last cell of the fraction line
    ToDenominatorClose,  // on to "4", the fraction's closing
};

inline constexpr std::string_view kCaptionRestore = "Ripristina ultimi dati eliminati";

// What a deletion or restore did. `changed`: the text was changed and the window puts `text`
// into the editor, the caret at `caret`, and treats the editor as clicked. `message` non-empty:
// nothing changed and the window reports it (beep and warning). Neither: nothing happens.
struct DeletionResult {
    bool changed = false;
    std::string text;
    std::size_t caret = 0;
    std::string message;
};

// The deletions of one Braille editor with their two restore copies (held in memory only). The
// main window owns one.
class Deletions {
public:
    // "Eliminazioni": removes the structure round the caret, delimiters included; the caret goes
    // where the opening cell was.
    DeletionResult deleteStructure(std::string_view text, std::size_t caret, Structure structure);

    // "e&Liminaz.parziali": removes the cells between the caret and the target cell, which
    // stays; the caret ends next to the target (back) or stays (on).
    DeletionResult deletePartial(std::string_view text, std::size_t caret, PartialDeletion what);

    // "Ripristina ultimi dati eliminati" of each menu: the text before that menu's last deletion
    // and the caret of that deletion; the copy is then emptied. Does nothing when the copy is
    // empty.
    DeletionResult restoreStructure();
    DeletionResult restorePartial();

    // Whether each menu shows its restore item.
    bool canRestoreStructure() const { return !fullCopy_.empty(); }
    bool canRestorePartial() const { return !partialCopy_.empty(); }

private:
    struct Copy {
        std::string text;
        std::size_t caret = 0;
        bool empty() const { return text.empty(); }
    };
    static DeletionResult restore(Copy& copy);
    // Keeps `text` in `copy` and removes its cells from `from` up to `to`; the caret goes to
    // `from`.
    static DeletionResult cut(std::string_view text, std::size_t from, std::size_t to, Copy& copy);

    Copy fullCopy_;
    Copy partialCopy_;
};

}  // namespace editor
