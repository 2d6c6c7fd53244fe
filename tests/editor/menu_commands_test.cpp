#include "editor/window/menu_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using editor::Command;

TEST(MenuTable, EveryCommandOnceEachItemUnderAnEarlierMenu) {
    std::set<Command> seen;
    std::map<Command, int> items;
    for (const editor::MenuEntry& e : editor::menuTable()) {
        EXPECT_TRUE(seen.insert(e.id).second) << e.name;
        EXPECT_EQ(editor::menuEntry(e.id), &e);
        if (e.parent != Command::None) {
            ASSERT_TRUE(seen.count(e.parent)) << e.name << " comes before its menu";
            EXPECT_EQ(editor::menuEntry(e.parent)->parent, Command::None) << "menus are one deep";
            ++items[e.parent];
        }
        EXPECT_FALSE(e.caption.empty()) << e.name;
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(Command::Count) - 1);
    EXPECT_EQ(items[Command::MenuFile], 9);
    EXPECT_EQ(items[Command::MenuTutor], 8);
    EXPECT_EQ(items[Command::MenuEliminazioni], 6);
    EXPECT_EQ(items[Command::MenuParziali], 11);
    EXPECT_EQ(editor::menuEntry(Command::None), nullptr);
}

TEST(MenuTable, ShortcutsAreUniqueButForTheSharedOnes) {
    std::map<std::string, std::vector<std::string_view>> byKeys;
    for (const editor::MenuEntry& e : editor::menuTable()) {
        if (!e.shortcut.empty()) {
            byKeys[editor::shortcutText(e.shortcut)].push_back(e.name);
        }
    }
    // The three faces of undo share Ctrl+Z; two hidden "Struttura" items share Ctrl+S; the
    // "File" menu itself carries Ctrl+G beside "Editor grafico".
    for (const auto& [keys, names] : byKeys) {
        const std::size_t expected = keys == "Ctrl+Z"                         ? 3
                                     : (keys == "Ctrl+S" || keys == "Ctrl+G") ? 2
                                                                              : 1;
        EXPECT_EQ(names.size(), expected) << keys;
    }
    EXPECT_EQ(byKeys.at("Ctrl+Shift+F12"), std::vector<std::string_view>{"Stampa1"});
    EXPECT_EQ(byKeys.at("Shift+F12"), std::vector<std::string_view>{"Salva1"});
    EXPECT_EQ(byKeys.at("Ctrl+F12"), std::vector<std::string_view>{"Apri1"});
    EXPECT_EQ(byKeys.at("F9"), std::vector<std::string_view>{"Codicitastnumerica1"});
    EXPECT_EQ(byKeys.at("Shift+F8"), std::vector<std::string_view>{"Proprietadellepotenze1"});
    EXPECT_EQ(byKeys.at("Ctrl+Shift+F10"),
              std::vector<std::string_view>{"Ripristinaultimidatieliminati2"});
    EXPECT_EQ(byKeys.size(), 54u);  // 58 items with keys, four of them sharing
}

TEST(MenuTable, ReasonsForACommandThatCannotActNow) {
    using editor::MenuState;
    using editor::unavailableReason;
    const MenuState latex{false, false, true, true};
    const MenuState braille{true, false, true, true};
    const std::string onlyBraille = "Disponibile solo in modalit\xE0 Braille";
    EXPECT_EQ(unavailableReason(Command::Salva1, latex), "");
    EXPECT_EQ(unavailableReason(Command::Aprifogliocalcolo1, latex), onlyBraille)
        << "the rule of its menu";
    EXPECT_EQ(unavailableReason(Command::Aprifogliocalcolo1, braille), "");
    EXPECT_EQ(unavailableReason(Command::Carattere1, braille),
              "Disponibile solo in modalit\xE0 Latex");
    EXPECT_EQ(unavailableReason(Command::Carattere1, latex), "");
    EXPECT_EQ(unavailableReason(Command::SalvacomeMathml1, braille),
              "Mathml non attivato nelle impostazioni");
    EXPECT_EQ(unavailableReason(Command::SalvacomeMathml1, MenuState{true, true, true, true}), "");
    // A setting that hides the tutors wins over the mode; no speech over nothing.
    EXPECT_EQ(unavailableReason(Command::TutorPotenze, MenuState{false, false, false, true}),
              "Tutor disattivati nelle impostazioni");
    EXPECT_EQ(unavailableReason(Command::Attivasintesivocale1, MenuState{true, false, true, false}),
              "Sintesi vocale non disponibile");
    EXPECT_EQ(
        unavailableReason(Command::Attivasintesivocale1, MenuState{false, false, true, false}),
        onlyBraille);
    EXPECT_EQ(unavailableReason(Command::None, braille), "");
}

}  // namespace
