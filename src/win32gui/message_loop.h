#pragma once

// The thread's message loop, where every key of a program window meets the window's logic
// before it reaches the focused control (the loop filters, rather than each control):
//   - WM_KEYDOWN / WM_SYSKEYDOWN go to the key listener's keyDown with the virtual-key code and
//     the modifiers held (GetKeyState); a swallowed key down is neither translated nor
//     dispatched, so it types nothing;
//   - WM_CHAR goes to keyPress with its code page 1252 character (one the code page lacks
//     arrives as "?") and the keyboard's repeat flag; a swallowed character is dropped, a
//     replaced one is typed instead; Alt+letter (WM_SYSCHAR) never types and stays with the
//     menus;
//   - WM_KEYUP / WM_SYSKEYUP go to keyUp.
// Then the loop does what a dialog does for keys the logic let through (dialog_keys.h: Tab,
// Return and the default button, the arrows in radio groups, Esc, Alt with an access letter).
// Alt with a numeric keypad key is not composed into a character: the keypad input of the
// Braille editor reads those keys itself.

#include <functional>

#include "win32gui/native.h"

namespace win32gui {

// Offers one message to the windows' key listeners and the dialog keys; true when it has been
// dealt with (swallowed, or handled here) and must be neither translated nor dispatched.
bool routeKeyMessage(MSG& msg);

// Translates and dispatches one message after routeKeyMessage.
void deliverMessage(MSG& msg);

// Runs the loop until WM_QUIT; returns its exit code.
int runMessageLoop();

// Runs the loop until `done()` returns true (a modal window's loop). Returns false when WM_QUIT
// arrived, which is posted again for the outer loop.
bool runModalLoop(const std::function<bool()>& done);

// Handles every message waiting now, without waiting for more.
void processPendingMessages();

}  // namespace win32gui
