#pragma once

// Where the controls of a learning window stand on Windows. The window's table places them in
// cells (learning/window_layout.h): rows from top to bottom, columns from left to right within
// a row, a stack inside one cell. This turns the cells into pixels of the client area much as
// the Linux build's box layouts do:
//   - a hidden control takes no room, so the boxes an operation does not use leave no gap;
//   - edit lines, pictures and memos without a width limit share the width a row has left;
//     in a row without any of them the buttons and labels share it instead; a memo with a
//     width limit never grows past it;
//   - rows holding a memo without a height limit, or a picture, share the height left over;
//     in them those controls fill the row, the others keep their own height at its top;
//     elsewhere each control is centred on the row;
//   - labels that name a box line up: each is as wide as the widest such label of its column;
//   - when the row's controls cannot all have their width, each gives up the same share.
// No window is needed: the caller measures each control's natural size with its font.

#include <span>
#include <vector>

#include "learning/window_layout.h"
#include "ui/widgets.h"

namespace win32gui {

// A control's natural size and whether it takes room now; one per entry of the table.
struct CellSize {
    bool visible = true;
    int width = 0;
    int height = 0;
};

inline constexpr int kLayoutMargin = 8;  // around the controls
inline constexpr int kLayoutGap = 6;     // between rows, columns and stacked controls

// The bounds of each entry of `layout.controls` in a client area of that size; a hidden
// control's bounds are empty. `sizes` has one entry per control.
std::vector<ui::Rect> arrangeCells(const learning::WindowLayout& layout,
                                   std::span<const CellSize> sizes, int clientWidth,
                                   int clientHeight);

// The smallest client area in which every shown control has its natural size (margins and gaps
// included): a window smaller than that squeezes or cuts its controls.
CellSize naturalExtent(const learning::WindowLayout& layout, std::span<const CellSize> sizes);

// Whether a control of that table entry takes the width a row has left, and its height.
bool growsAcross(const learning::ControlSpec& item);
bool growsDown(const learning::ControlSpec& item);

}  // namespace win32gui
