#pragma once

// What Qt's own accessibility leaves out for a screen reader, made good for every window of
// the program:
//
//   - the multi-line boxes (QPlainTextEdit): Qt places every character at the height of the
//     first line, so a screen reader's line commands read the whole box as one run-on line.
//     Here each character reports where it shows, and a line ends at its line break;
//   - menu items tell their shortcut in the form screen readers parse ("mnemonic;path;
//     accelerator", the accelerator as "<Control>n"), so that Orca reads "Nuovo Ctrl+N";
//   - a notice: an accessible notification that appears with its words, which the screen
//     reader says by itself without the focus moving (why a key did nothing, a verdict).
//
// installScreenReaderSupport() must run once, after the QApplication is made and before the
// windows are; it is safe to call again.

#include <QString>
#include <QWidget>

namespace gui {

void installScreenReaderSupport();

// The notice of `window`, made on first use as a hidden child of it; `words` appear in it for
// the screen reader.
void showScreenReaderNotice(QWidget* window, const QString& words);

// The key binding a menu item's shortcut is told with: ";;<Control><Shift>F12" for
// Ctrl+Shift+F12; empty for none.
QString menuItemKeyBinding(const QString& portableShortcut);

}  // namespace gui
