#include "gui/key_mapping.h"

#include <QtTest>

class KeyMappingTest : public QObject {
    Q_OBJECT

private slots:
    void lettersDigitsAndFunctionKeysKeepWindowsCodes() {
        QCOMPARE(gui::virtualKey(Qt::Key_F, Qt::NoModifier), int('F'));
        QCOMPARE(gui::virtualKey(Qt::Key_7, Qt::NoModifier), int('7'));
        QCOMPARE(gui::virtualKey(Qt::Key_F1, Qt::NoModifier), ui::vk::kF1);
        QCOMPARE(gui::virtualKey(Qt::Key_F12, Qt::NoModifier), ui::vk::kF12);
        QCOMPARE(gui::virtualKey(Qt::Key_Return, Qt::NoModifier), ui::vk::kReturn);
        QCOMPARE(gui::virtualKey(Qt::Key_Enter, Qt::KeypadModifier), ui::vk::kReturn);
        QCOMPARE(gui::virtualKey(Qt::Key_Delete, Qt::NoModifier), ui::vk::kDelete);
        QCOMPARE(gui::virtualKey(Qt::Key_Left, Qt::NoModifier), ui::vk::kLeft);
        QCOMPARE(gui::virtualKey(Qt::Key_Down, Qt::NoModifier), ui::vk::kDown);
        QVERIFY(gui::virtualKey(Qt::Key_Egrave, Qt::NoModifier) != 0);
    }

    void keypadKeysGiveKeypadCodes() {
        QCOMPARE(gui::virtualKey(Qt::Key_0, Qt::KeypadModifier), ui::vk::kNumpad0);
        QCOMPARE(gui::virtualKey(Qt::Key_9, Qt::KeypadModifier), ui::vk::kNumpad0 + 9);
        QCOMPARE(gui::virtualKey(Qt::Key_Asterisk, Qt::KeypadModifier), ui::vk::kMultiply);
        QCOMPARE(gui::virtualKey(Qt::Key_Plus, Qt::KeypadModifier), ui::vk::kAdd);
        QCOMPARE(gui::virtualKey(Qt::Key_Minus, Qt::KeypadModifier), ui::vk::kSubtract);
        QCOMPARE(gui::virtualKey(Qt::Key_Period, Qt::KeypadModifier), ui::vk::kDecimal);
        QCOMPARE(gui::virtualKey(Qt::Key_Slash, Qt::KeypadModifier), ui::vk::kDivide);
        // NumLock off: the keypad moves the caret like the arrows.
        QCOMPARE(gui::virtualKey(Qt::Key_Home, Qt::KeypadModifier), ui::vk::kHome);
        QVERIFY(gui::virtualKey(Qt::Key_Minus, Qt::NoModifier) != ui::vk::kSubtract);
    }

    void modifiersAndTypedCharacters() {
        QCOMPARE(gui::shiftState(Qt::ControlModifier | Qt::ShiftModifier),
                 ui::shift::kCtrl | ui::shift::kShift);
        QCOMPARE(gui::shiftState(Qt::AltModifier | Qt::KeypadModifier), ui::shift::kAlt);
        const QKeyEvent e(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, QString(QChar(0xE8)));
        QCOMPARE(gui::typedCharacter(e), '\xE8');
        const QKeyEvent euro(QEvent::KeyPress, Qt::Key_E, Qt::AltModifier, QString(QChar(0x20AC)));
        QCOMPARE(gui::typedCharacter(euro), '\x80');
        const QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
        QCOMPARE(gui::typedCharacter(del), '\0');
        const QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCOMPARE(gui::typedCharacter(enter), '\r');
        const QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCOMPARE(gui::typedCharacter(back), '\b');
        const QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
        QCOMPARE(gui::typedCharacter(left), '\0');
        const ui::KeyEvent f5 =
            gui::keyEventOf(QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier));
        QCOMPARE(f5.key, ui::vk::kF5);
        QCOMPARE(f5.shift, ui::shift::kShift);
    }
};

QTEST_APPLESS_MAIN(KeyMappingTest)
#include "key_mapping_test.moc"
