#pragma once

// What every toolkit needs to know to build a learning window (the calculation sheet, the
// structure view, the decomposition, the three tutors) around its logic: each control's kind,
// name, accessible name, place and font, their tab order, the window's size, and that the
// window sees every key first. The Qt views and the Win32 windows both build from these
// tables, so the two builds cannot drift apart; the captions themselves are set by the logic.
//
// Places are cells, not pixels: rows from top to bottom, columns from left to right within a
// row, and a stack position for controls that lie one under the other inside one cell (the
// step lines of a long division). Each toolkit turns them into its own geometry.

#include <span>
#include <string_view>

#include "learning/tutor_answer.h"

namespace learning {

enum class ControlKind {
    Line,     // single-line edit box
    Memo,     // multi-line edit box, no wrapping; Tab leaves it
    Label,    // a label whose caption the logic sets
    Caption,  // a fixed label naming the control after it (`caption`)
    Button,   // push button; never the default button, so Enter in a box never presses it
    Picture,  // the expression drawn as mathematics
};

struct Cell {
    int row = 0;
    int column = 0;
    int stack = 0;
};

struct ControlSpec {
    ControlKind kind;
    std::string_view name;            // "Memo1": the name the logic and the tests know it by;
                                      // empty for a Caption
    std::string_view accessibleName;  // what a screen reader says; empty for labels (their
                                      // text) and buttons (their caption, as the logic sets it)
    Cell cell;
    std::string_view caption = {};   // a Caption's fixed text
    std::string_view labelFor = {};  // a Label or Caption: the control it names
    int minimumLines = 0;            // a Memo: text lines it shows at least (0: no minimum)
    int maximumLines = 0;            // a Memo: text lines it shows at most (0: no maximum)
    int maximumColumns = 0;          // a Memo: cells it is at most wide (0: any width)
    int minimumHeight = 0;           // a Picture: pixels it is at least high
    bool readOnly = false;           // read, never typed in; the keyboard still moves the caret
    bool framed = false;             // a Label drawn as a status panel
    // What the control is for, told after its name; a status panel is heard by the text it
    // shows, so what it is for is its description, not its name.
    std::string_view accessibleDescription = {};
};

struct WindowLayout {
    std::string_view name;  // "TForm2"
    int width = 0;          // size when first shown, in pixels
    int height = 0;
    // The Braille font of its boxes, bold, this many pixels high; 0 for the size of the main
    // window's Braille editor.
    int fontPixels = 0;
    int boxMargin = 0;              // pixels a memo adds to its lines of text
    bool keysToWindowFirst = true;  // key down, press and up reach the logic before the control
    std::span<const ControlSpec> controls;  // in tab order
};

const WindowLayout& calcSheetLayout();
const WindowLayout& structureViewLayout();
const WindowLayout& decompositionLayout();
const WindowLayout& tutorLayout(TutorKind kind);

// A control of `layout` by name; null when there is none.
const ControlSpec* findControl(const WindowLayout& layout, std::string_view name);

}  // namespace learning
