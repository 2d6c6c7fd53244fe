#include "ui/access_keys.h"

#include <gtest/gtest.h>

namespace {

using ui::KeyEvent;
namespace sh = ui::shift;

TEST(AccessKeys, CaptionsWithoutAKeyTakeTheirFirstFreeLetter) {
    // The main window's bar: only "e&Liminaz.parziali" marks its own.
    EXPECT_EQ(
        ui::withAccessKeys({"File", "Modifica", "Pagina", "Opzioni", "Calcolo", "Impostazioni",
                            "Tutor", "Eliminazioni", "e&Liminaz.parziali", "?"}),
        (std::vector<std::string>{"&File", "&Modifica", "&Pagina", "&Opzioni", "&Calcolo",
                                  "&Impostazioni", "&Tutor", "&Eliminazioni", "e&Liminaz.parziali",
                                  "?"}));
    // Two captions with one first letter: the first wins, the other gets none. A letter that
    // a later caption marks is that caption's, even against an earlier first letter.
    EXPECT_EQ(
        ui::withAccessKeys({"File", "finestra", "Lavoro", "e&Lenco", "&&Co", " 3 pagine"}),
        (std::vector<std::string>{"&File", "finestra", "Lavoro", "e&Lenco", "&&Co", " &3 pagine"}));
    EXPECT_TRUE(ui::withAccessKeys({}).empty());
}

TEST(AccessKeys, MarkedKeysAndAltLetters) {
    EXPECT_EQ(ui::markedAccessKey("e&Liminaz.parziali"), 'L');
    EXPECT_EQ(ui::markedAccessKey("&esci"), 'E');
    EXPECT_EQ(ui::markedAccessKey("A&&B"), 0) << "a doubled ampersand is shown, not a key";
    EXPECT_EQ(ui::markedAccessKey("fine&"), 0);
    EXPECT_EQ(ui::markedAccessKey("&\xE0"), 0) << "only ASCII letters and digits";

    EXPECT_EQ(ui::altLetter(KeyEvent{'F', sh::kAlt}), 'F');
    EXPECT_EQ(ui::altLetter(KeyEvent{'7', sh::kAlt | sh::kShift}), '7');
    EXPECT_EQ(ui::altLetter(KeyEvent{'F', 0}), 0);
    EXPECT_EQ(ui::altLetter(KeyEvent{'Q', sh::kAlt | sh::kCtrl}), 0)
        << "Ctrl+Alt is AltGr on Windows, which types";
    EXPECT_EQ(ui::altLetter(KeyEvent{ui::vk::kNumpad0 + 1, sh::kAlt}), 0)
        << "Alt with the keypad types the keypad's cells";
    EXPECT_EQ(ui::altLetter(KeyEvent{ui::vk::kF4, sh::kAlt}), 0);
}

}  // namespace
