#pragma once

// The keys of a dialog, for every window of the program, as Windows dialogs have them. The
// message loop (message_loop.h) offers each key here after the window's logic has let it
// through, so that a window's logic can always take a key for itself first:
//   - Tab and Shift+Tab move the focus along the controls in tab order; a one-line field comes
//     in all selected.
//   - Return presses the focused push button; from any other control that does not take Return
//     itself (lists, check lists, check boxes, radio buttons, one-line and read-only fields)
//     it presses the window's default button. A multi-line box that can be typed in keeps its
//     Return, and so does a drop-down list that is open. A default button that is disabled
//     beeps instead.
//   - The push button Return would press is drawn as the default button: the focused push
//     button while the focus is on one, else the window's own default button.
//   - The arrow keys move within a group of radio buttons, choosing the next one.
//   - Esc closes a window that asks for it (Win32Window::setEscapeCloses): its close query
//     decides, as a dialog's Cancel or Quit.
//   - In a window without a menu bar, Alt with the letter a caption marks with "&" works that
//     control: a button or check box is pressed, a label puts the focus on the control after it.
//     When several usable controls have the same key, each press moves the focus to the next of
//     them instead. Alt with a key no control has goes on (the system beeps); the release of an
//     Alt that worked a control is kept from the window, which would open its system menu.
// Built once for all windows, from the controls themselves (their class, style and text), so a
// new window has its dialog keys without asking for them.

#include "win32gui/native.h"
#include "win32gui/win32_window.h"

namespace win32gui {

// Each takes one key message of `window` (or of one of its controls) that its logic let
// through; true when it was used here and must go no further. `ch` is the code page 1252
// character of a WM_CHAR.
bool dialogKeyDown(Win32Window& window, const MSG& msg);
bool dialogChar(Win32Window& window, char ch);
bool dialogKeyUp(Win32Window& window, const MSG& msg);

// Works the control of `window` whose caption marks `letter` (a capital), as Alt+letter does;
// false when none has it.
bool accessKey(Win32Window& window, char letter);

// Draws as the default button the push button Return would press with the focus on `focus`.
void markDefaultButton(Win32Window& window, HWND focus);

// Keeps that mark where the focus goes, in every window of the calling thread, however the
// focus moves (keys, clicks, the logic). Once per thread; later calls do nothing.
void followFocus();

}  // namespace win32gui
