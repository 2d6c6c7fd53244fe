#pragma once

// Typing in the Braille editor `Memo2`, as the main window routes its keys: plain typing, six-key
// chords while chord input is on, and the numeric keypad while NumLock is on; with the speech
// requests that go with the keys: the key typed, the cell a chord or the keypad entered, the
// cell Backspace or Delete removes, the cell or the line the caret moved onto. Also the chord
// input switch ("Input Dattilobraille", F5, and the hidden "DattiloBraille", F6) and the chord
// timer `Timer1`.
//
// Typed cells go straight into the editor: the clipboard is never used for them, so what the
// student copied survives typing.
//
// Ownership: keeps a reference to the TForm1, which must outlive it. The constructor attaches it
// to the window (key handler, the two commands, the chord timer).

#include <optional>
#include <string>

#include "editor/input/keypad_input.h"
#include "editor/window/main_window.h"
#include "notation/chord_input.h"
#include "speech/speech_request.h"

namespace editor {

class BrailleInput final : public KeyHandler {
public:
    explicit BrailleInput(TForm1& form);

    // "Input Dattilobraille" (F5): chord input on or off, said aloud.
    void InputDattilobrailleClick();
    // "DattiloBraille" (F6): chord input on.
    void DattiloBrailleClick();
    // The chord timer fired: the chord's cell goes in at the caret.
    void Timer1Timer();

    // A chord is being collected (the chord timer runs).
    bool collecting() const { return chord_.collecting(); }

    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

private:
    // Braille mode with the Braille editor focused: where typing is handled here.
    bool inBrailleEditor() const;
    bool keypadTyping() const;
    // A keypad key's text at the caret, said with the text up to it.
    void insertKeypadText(const std::string& text);
    // The speech of a caret move: the cell reached (Left, Right) or the whole line (Up, Down).
    void speakMove(const ui::KeyEvent& up);
    void send(const std::optional<speech::Request>& request);
    std::string programDirectory() const;

    TForm1& form_;
    ui::TextBox& memo_;
    notation::ChordCollector chord_;
    KeypadInput keypad_;
};

}  // namespace editor
