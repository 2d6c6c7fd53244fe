#include "editor/input/braille_input.h"

#include "editor/input/typing.h"
#include "editor/messages.h"
#include "speech/request_sources.h"

namespace editor {
namespace {

namespace vk = ui::vk;

Modifiers modifiersOf(unsigned shift) {
    return {(shift & ui::shift::kShift) != 0, (shift & ui::shift::kCtrl) != 0,
            (shift & ui::shift::kAlt) != 0};
}

}  // namespace

BrailleInput::BrailleInput(TForm1& form) : form_(form), memo_(form.widgets().Memo2) {
    form_.addKeyHandler(*this);
    form_.setCommandHandler(Command::InputDattilobraille1, [this] { InputDattilobrailleClick(); });
    form_.setCommandHandler(Command::DattiloBraille1, [this] { DattiloBrailleClick(); });
    form_.widgets().Timer1.setOnTimer([this] { Timer1Timer(); });
}

std::string BrailleInput::programDirectory() const {
    return form_.environment().programDirectory.string();
}

void BrailleInput::send(const std::optional<speech::Request>& request) {
    if (request) {
        form_.speak(*request);
    }
}

bool BrailleInput::inBrailleEditor() const {
    return form_.brailleMode() && memo_.focused();
}

bool BrailleInput::keypadTyping() const {
    return !form_.chordInput() && form_.numLockOn();
}

// ---- the chord input switch

void BrailleInput::InputDattilobrailleClick() {
    const bool on = !form_.chordInput();
    form_.setChordInput(on);
    form_.widgets().Label2.setCaption(on ? text::kChordOnLabel : text::kChordOffLabel);
    form_.menuItem(Command::InputDattilobraille1)
        .setCaption(on ? text::kChordOnItem : text::kChordOffItem);
    send(speech::inputModeRequest(programDirectory(), on));
}

void BrailleInput::DattiloBrailleClick() {
    form_.setChordInput(true);
    form_.widgets().Label2.setCaption(text::kChordOnLabel);
    // Said like the switch says it: the key is never silent, even when chords were on.
    send(speech::inputModeRequest(programDirectory(), true));
}

// ---- keys

void BrailleInput::keyDown(ui::KeyEvent& event) {
    if (keypadTyping()) {
        // Anywhere in the window; a key still waiting for its key up goes in first.
        const KeypadInput::KeyUp flushed =
            keypad_.keyDown(event.key, modifiersOf(event.shift), inBrailleEditor());
        if (flushed.action == KeypadInput::KeyUp::Action::Insert) {
            insertKeypadText(flushed.text);
        }
    }
    if (!inBrailleEditor() || !form_.speechOn()) {
        return;
    }
    // Said before the edit: what goes, in its context.
    const std::string text = memo_.text();
    const std::size_t start = memo_.selStart();
    const std::size_t length = memo_.selLength();
    if (event.key == vk::kBack) {
        // With a selection the cells selected go, the last of them next to the caret.
        send(speech::backspaceRequest(programDirectory(), text, start + length));
    } else if (event.key == vk::kDelete) {
        send(speech::deleteRequest(programDirectory(), text, start, length));
    }
}

void BrailleInput::keyPress(ui::KeyPress& press) {
    if (!inBrailleEditor()) {
        return;
    }
    if (form_.chordInput()) {
        // The keys of the chord so far show in Edit3.
        if (notation::collectChordKey(chord_, press, form_.widgets().Timer1)) {
            form_.widgets().Edit3.setText(chord_.keys());
        }
        return;
    }
    if (form_.numLockOn()) {
        if (keypad_.keyPress(press.ch)) {
            press.ch = 0;  // inserted on key up
        }
        return;
    }
    if (press.ch == '\b') {
        return;  // its speech was sent at key down
    }
    press.ch = plainTypedChar(press.ch);
    if (form_.speechOn()) {
        send(speech::typedKeyRequest(programDirectory(), memo_.text(), memo_.selStart(), press.ch));
    }
}

void BrailleInput::keyUp(ui::KeyEvent& event) {
    if (!inBrailleEditor() || vk::isFunctionKey(event.key)) {
        return;
    }
    if (keypadTyping()) {
        const KeypadInput::KeyUp up = keypad_.keyUp(event.key);
        switch (up.action) {
            case KeypadInput::KeyUp::Action::None:
                break;
            case KeypadInput::KeyUp::Action::SpeakAndRefresh:
                speakMove(event);
                form_.refreshLinearView();
                break;
            case KeypadInput::KeyUp::Action::Insert:
                insertKeypadText(up.text);
                break;
        }
        return;
    }
    if (event.shift == ui::shift::kAlt || memo_.text().empty() || event.key == vk::kBack ||
        event.key == vk::kDelete) {
        return;
    }
    form_.refreshLinearView();
    speakMove(event);
}

void BrailleInput::insertKeypadText(const std::string& text) {
    // At the caret; a selection stays in the text, as the keypad always did.
    memo_.setSelStart(memo_.selStart());
    memo_.setSelText(text);  // the change refreshes the linear view
    if (form_.speechOn()) {
        send(speech::keypadRequest(programDirectory(), memo_.text(), memo_.selStart()));
    }
}

void BrailleInput::speakMove(const ui::KeyEvent& up) {
    if (!form_.speechOn()) {
        return;
    }
    const std::string text = memo_.text();
    const std::size_t start = memo_.selStart();
    const std::size_t length = memo_.selLength();
    const bool shift = (up.shift & ui::shift::kShift) != 0;
    switch (up.key) {
        case vk::kLeft:
        case vk::kRight:
            send(speech::arrowRequest(programDirectory(), text, start,
                                      shift && up.key == vk::kRight, start, length));
            break;
        case vk::kUp:
        case vk::kDown:
            // The line where the caret went: a selection grows downwards at its end.
            send(speech::lineRequest(programDirectory(), text,
                                     up.key == vk::kDown ? start + length : start,
                                     std::to_string(form_.settings().speechRate)));
            break;
        default:
            break;
    }
}

// ---- the chord timer

void BrailleInput::Timer1Timer() {
    const std::string cell = chord_.close();
    ui::Timer& timer = form_.widgets().Timer1;
    ui::TextBox& buffer = form_.widgets().Edit3;
    timer.setEnabled(false);
    buffer.setText("");
    buffer.setVisible(false);
    if (!form_.brailleMode()) {
        return;  // the mode changed while the chord was pressed: the Braille editor is hidden
    }
    if (!cell.empty()) {
        memo_.setSelText(cell);  // at the caret, over a selection; the caret ends after it
    }
    if (form_.speechOn()) {
        send(speech::chordRequest(programDirectory(), memo_.text(), memo_.selStart()));
    }
    memo_.setFocus();
}

}  // namespace editor
