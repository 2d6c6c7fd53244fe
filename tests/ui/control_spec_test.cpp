// What a screen reader hears for a control described in a window's table: the caption without
// its access marks, the label before an edit box, or the table's own name.

#include "ui/control_spec.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace {

using K = ui::ControlKind;
using ui::ControlSpec;

TEST(ControlSpec, AccessibleCaptionDropsAccessMarksAndOuterBlanks) {
    EXPECT_EQ(ui::accessibleCaption("&Esci"), "Esci");
    EXPECT_EQ(ui::accessibleCaption("e&Liminaz.parziali"), "eLiminaz.parziali");
    EXPECT_EQ(ui::accessibleCaption("Taglia && incolla"), "Taglia & incolla");
    EXPECT_EQ(ui::accessibleCaption(" Font Braille "), "Font Braille");
    EXPECT_EQ(ui::accessibleCaption("fine&"), "fine");
    EXPECT_EQ(ui::accessibleCaption("Modalit\xE0 Braille"), "Modalit\xE0 Braille");
    EXPECT_EQ(ui::accessibleCaption(""), "");
}

TEST(ControlSpec, NamesComeFromTheTableTheCaptionOrTheLabelBefore) {
    constexpr std::array table = {
        ControlSpec{"LabelFont", K::Label, "Font Braille "},
        ControlSpec{"EditFont", K::LineEdit},
        ControlSpec{"Sfoglia", K::Button, "&Sfoglia", {}, "Sfoglia editor grafico"},
        ControlSpec{"Ok", K::Button, "&Ok"},
        ControlSpec{"Memo1", K::Memo, {}, {}, "Editor Latex"},
        ControlSpec{"Lonely", K::LineEdit},
        ControlSpec{"List", K::ListBox},
    };
    EXPECT_EQ(ui::accessibleName(table, "EditFont"), "Font Braille");
    EXPECT_EQ(ui::accessibleName(table, "Sfoglia"), "Sfoglia editor grafico");
    EXPECT_EQ(ui::accessibleName(table, "Ok"), "Ok");
    EXPECT_EQ(ui::accessibleName(table, "Memo1"), "Editor Latex");
    // An edit box after another control, not after a label, has no name of its own.
    EXPECT_EQ(ui::accessibleName(table, "Lonely"), "");
    EXPECT_EQ(ui::accessibleName(table, "List"), "");
    EXPECT_EQ(ui::findControl(table, "Nessuno"), nullptr);
    EXPECT_THROW(ui::control(table, "Nessuno"), std::out_of_range);
    EXPECT_TRUE(ui::namedByLabel(K::TabBar));
    EXPECT_FALSE(ui::namedByLabel(K::Button));
}

}  // namespace
