// The tables both toolkits build the main window and the settings dialog from: every control a
// window's logic needs is there with its kind, and every control a student can reach by keyboard
// has a name a screen reader can say, different from its neighbours'.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "editor/settings/settings_dialog_controls.h"
#include "editor/window/main_window_controls.h"

namespace {

using K = ui::ControlKind;

bool reachable(K kind) {
    switch (kind) {
        case K::Button:
        case K::CheckBox:
        case K::RadioButton:
        case K::Link:
        case K::Memo:
        case K::LineEdit:
        case K::ListBox:
        case K::TabBar:
            return true;
        default:
            return false;
    }
}

void checkTable(std::span<const ui::ControlSpec> table, const char* window) {
    std::set<std::string_view> seen;
    std::map<std::string, std::string_view> names;
    for (const ui::ControlSpec& c : table) {
        EXPECT_TRUE(seen.insert(c.name).second) << window << ": " << c.name << " twice";
        if (!c.parent.empty()) {
            // A panel comes before what it holds, so the builder has made it already.
            const ui::ControlSpec* panel = ui::findControl(table, c.parent);
            ASSERT_NE(panel, nullptr) << window << ": " << c.name << " in no panel";
            EXPECT_EQ(panel->kind, K::Panel) << window << ": " << c.name;
            EXPECT_TRUE(seen.contains(c.parent)) << window << ": " << c.name << " before its panel";
        }
        if (!reachable(c.kind)) {
            continue;
        }
        const std::string name = ui::accessibleName(table, c);
        EXPECT_FALSE(name.empty()) << window << ": " << c.name << " has no accessible name";
        if (!c.visible) {
            continue;  // shown later, under a name of the moment (the palette list)
        }
        // Two controls announced alike cannot be told apart by ear.
        const auto [at, fresh] = names.emplace(name, c.name);
        EXPECT_TRUE(fresh) << window << ": " << c.name << " and " << at->second << " both say \""
                           << name << "\"";
    }
}

TEST(WindowControls, EveryReachableControlHasANameOfItsOwn) {
    checkTable(editor::mainWindowControls(), "main window");
    checkTable(editor::settingsDialogControls(), "settings dialog");
}

TEST(WindowControls, TheMainWindowHasTheControlsItsLogicNeeds) {
    const auto t = editor::mainWindowControls();
    const std::map<std::string_view, K> needed = {
        {"Label1", K::Label},
        {"Label2", K::Label},
        {"Label3", K::Label},
        {"Label4", K::Label},
        {"TabControl1", K::TabBar},
        {"Memo1", K::Memo},
        {"Memo2", K::Memo},
        {"Edit3", K::LineEdit},
        {"Image1", K::MathView},
        {"Image3", K::Image},
        {"Converti", K::Button},
        {"Simb", K::Button},
        {"ListBox1", K::ListBox},
        {"ListBox2", K::ListBox},
        {"Panel1", K::Panel},
        {"Button1", K::Button},
        {"Label5", K::Link},
        {"Label6", K::Link},
        {"StatusBar1", K::StatusText},
    };
    for (const auto& [name, kind] : needed) {
        const ui::ControlSpec* c = ui::findControl(t, name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->kind, kind) << name;
    }
    // The chord buffer and the second palette list are never shown; the editors are named for
    // what they edit.
    EXPECT_FALSE(ui::control(t, "Edit3").visible);
    EXPECT_EQ(ui::accessibleName(t, "Memo1"), "Editor Latex");
    EXPECT_EQ(ui::accessibleName(t, "Memo2"), "Editor Braille");
}

TEST(WindowControls, EachSettingsFieldIsNamedByTheLabelJustBeforeIt) {
    const auto t = editor::settingsDialogControls();
    const std::map<std::string_view, std::string> fields = {
        {"EditEditor", "Editor grafico"},
        {"EditWorkDir", "Directory lavoro"},
        {"EditExchange", "File di scambio"},
        {"EditFont", "Font Braille"},
        {"EditFilter", "Nome file filtro"},
        {"EditTimer", "Interval Timer per Dattilobraille"},
        {"EditSpeed", "Velocit\xE0 voce (min 30 max 90)"},
        {"EditChars", "Caratteri per riga"},
        {"EditLines", "Righe per pagina"},
    };
    for (const auto& [name, label] : fields) {
        EXPECT_EQ(ui::accessibleName(t, name), label) << name;
    }
    // Everything lies inside the dialog.
    for (const ui::ControlSpec& c : t) {
        EXPECT_LE(c.bounds.left + c.bounds.width, editor::kSettingsDialogWidth) << c.name;
        EXPECT_LE(c.bounds.top + c.bounds.height, editor::kSettingsDialogHeight) << c.name;
    }
}

}  // namespace
