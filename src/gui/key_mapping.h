#pragma once

// Qt key events as the window logic sees keys: Windows virtual-key codes and modifier bits.

#include <QKeyEvent>

#include "ui/keys.h"

namespace gui {

// The virtual-key code of a Qt key; keys of the numeric keypad give the keypad codes
// (numpad 0..9, multiply, add, subtract, decimal, divide) when they type digits and signs.
// A key without a code of its own gives 0xFF, never 0 (0 means swallowed).
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// ui::shift bits of Qt modifiers.
unsigned shiftState(Qt::KeyboardModifiers modifiers);

ui::KeyEvent keyEventOf(const QKeyEvent& event);

// The character a key press types, or 0 when it types none (arrows, Delete, function keys).
char typedCharacter(const QKeyEvent& event);

}  // namespace gui
