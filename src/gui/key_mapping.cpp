#include "gui/key_mapping.h"

#include "gui/text_bridge.h"

namespace gui {

int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    namespace vk = ui::vk;
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? vk::kNumpad0 + (qtKey - Qt::Key_0) : qtKey;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return vk::kF1 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
        case Qt::Key_Backspace:
            return vk::kBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return vk::kTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::kReturn;
        case Qt::Key_Shift:
            return vk::kShift;
        case Qt::Key_Control:
            return vk::kControl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return vk::kMenu;
        case Qt::Key_Pause:
            return vk::kPause;
        case Qt::Key_CapsLock:
            return vk::kCapital;
        case Qt::Key_Escape:
            return vk::kEscape;
        case Qt::Key_Space:
            return vk::kSpace;
        case Qt::Key_PageUp:
            return vk::kPrior;
        case Qt::Key_PageDown:
            return vk::kNext;
        case Qt::Key_End:
            return vk::kEnd;
        case Qt::Key_Home:
            return vk::kHome;
        case Qt::Key_Left:
            return vk::kLeft;
        case Qt::Key_Up:
            return vk::kUp;
        case Qt::Key_Right:
            return vk::kRight;
        case Qt::Key_Down:
            return vk::kDown;
        case Qt::Key_Insert:
            return vk::kInsert;
        case Qt::Key_Delete:
            return vk::kDelete;
        case Qt::Key_NumLock:
            return vk::kNumLock;
        case Qt::Key_ScrollLock:
            return vk::kScroll;
        case Qt::Key_Asterisk:
            return keypad ? vk::kMultiply : 0xBB;
        case Qt::Key_Plus:
            return keypad ? vk::kAdd : 0xBB;
        case Qt::Key_Minus:
            return keypad ? vk::kSubtract : 0xBD;
        case Qt::Key_Period:
            return keypad ? vk::kDecimal : 0xBE;
        case Qt::Key_Comma:
            return keypad ? vk::kDecimal : 0xBC;
        case Qt::Key_Slash:
            return keypad ? vk::kDivide : 0xBF;
        case Qt::Key_Semicolon:
            return 0xBA;
        case Qt::Key_Equal:
            return 0xBB;
        case Qt::Key_QuoteLeft:
            return 0xC0;
        case Qt::Key_BracketLeft:
            return 0xDB;
        case Qt::Key_Backslash:
            return 0xDC;
        case Qt::Key_BracketRight:
            return 0xDD;
        case Qt::Key_Apostrophe:
            return 0xDE;
        default:
            return 0xFF;
    }
}

unsigned shiftState(Qt::KeyboardModifiers modifiers) {
    unsigned s = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        s |= ui::shift::kShift;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        s |= ui::shift::kCtrl;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        s |= ui::shift::kAlt;
    }
    return s;
}

ui::KeyEvent keyEventOf(const QKeyEvent& event) {
    return {virtualKey(event.key(), event.modifiers()), shiftState(event.modifiers())};
}

char typedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return '\r';
        case Qt::Key_Backspace:
            return '\b';
        case Qt::Key_Escape:
            return '\x1B';
        case Qt::Key_Tab:
            return '\t';
        case Qt::Key_Delete:
            return 0;  // Delete acts on key down and types nothing
        default:
            break;
    }
    const QString text = event.text();
    if (text.size() != 1) {
        return 0;
    }
    const char16_t c = text.at(0).unicode();
    if (c == 0x7F) {
        return 0;
    }
    return unicodeToCp1252(c);
}

}  // namespace gui
