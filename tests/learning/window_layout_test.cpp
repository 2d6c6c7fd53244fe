// The learning windows' layout tables, which every toolkit builds from: each window holds the
// controls its logic is handed, names them once, gives every box a name a screen reader says,
// labels only what is there, and lists them (its tab order) as a student reads the window:
// rows from the top, left to right, stacked cells downwards.

#include "learning/window_layout.h"

#include <gtest/gtest.h>

#include "learning/column_arithmetic.h"

#include <set>
#include <string>
#include <tuple>

namespace {

using learning::ControlKind;
using learning::ControlSpec;
using learning::WindowLayout;

std::vector<const WindowLayout*> allWindows() {
    using learning::TutorKind;
    return {&learning::calcSheetLayout(),
            &learning::structureViewLayout(),
            &learning::decompositionLayout(),
            &learning::tutorLayout(TutorKind::Brackets),
            &learning::tutorLayout(TutorKind::Operations),
            &learning::tutorLayout(TutorKind::ComplexFractions)};
}

bool isBox(ControlKind kind) {
    return kind == ControlKind::Line || kind == ControlKind::Memo || kind == ControlKind::Picture;
}

TEST(WindowLayout, NamesAreUniqueBoxesAreNamedForScreenReadersAndLabelsNameWhatIsThere) {
    std::set<std::string> windowNames;
    for (const WindowLayout* w : allWindows()) {
        const std::string window(w->name);
        EXPECT_TRUE(windowNames.insert(window).second) << window;
        EXPECT_GT(w->width, 0) << window;
        EXPECT_GT(w->height, 0) << window;
        EXPECT_TRUE(w->keysToWindowFirst) << window;
        std::set<std::string> names;
        std::set<std::tuple<int, int, int>> cells;
        std::set<std::string> labelled;
        for (const ControlSpec& c : w->controls) {
            const std::string where = window + " " + std::string(c.name);
            EXPECT_TRUE(cells.insert({c.cell.row, c.cell.column, c.cell.stack}).second)
                << where << " shares a cell";
            if (c.kind == ControlKind::Caption) {
                EXPECT_TRUE(c.name.empty()) << where;
                EXPECT_FALSE(c.caption.empty()) << where;
            } else {
                EXPECT_FALSE(c.name.empty()) << window;
                EXPECT_TRUE(names.insert(std::string(c.name)).second) << where << " twice";
            }
            if (isBox(c.kind)) {
                EXPECT_FALSE(c.accessibleName.empty()) << where << " has no accessible name";
            }
            if (!c.labelFor.empty()) {
                const ControlSpec* target = learning::findControl(*w, c.labelFor);
                ASSERT_NE(target, nullptr) << where << " labels a missing control";
                EXPECT_TRUE(isBox(target->kind)) << where;
                EXPECT_TRUE(labelled.insert(std::string(c.labelFor)).second)
                    << c.labelFor << " has two labels";
            }
            if (c.kind != ControlKind::Memo) {
                EXPECT_EQ(c.minimumLines + c.maximumLines + c.maximumColumns, 0) << where;
            }
            EXPECT_TRUE(!c.readOnly || c.kind == ControlKind::Line || c.kind == ControlKind::Memo)
                << where;
            EXPECT_TRUE(!c.framed || c.kind == ControlKind::Label) << where;
        }
    }
}

TEST(WindowLayout, TabOrderReadsTheWindowFromTheTopLeftDown) {
    for (const WindowLayout* w : allWindows()) {
        const ControlSpec* previous = nullptr;
        for (const ControlSpec& c : w->controls) {
            if (previous != nullptr) {
                const auto& a = previous->cell;
                const auto& b = c.cell;
                EXPECT_LT(std::tie(a.row, a.column, a.stack), std::tie(b.row, b.column, b.stack))
                    << w->name << ": " << c.name << " comes after " << previous->name;
            }
            previous = &c;
        }
    }
}

// Each window's logic is handed these controls by name.
TEST(WindowLayout, EachWindowHoldsTheControlsItsLogicIsHanded) {
    const auto holds = [](const WindowLayout& w, std::initializer_list<const char*> names,
                          ControlKind kind) {
        for (const char* name : names) {
            const ControlSpec* c = learning::findControl(w, name);
            ASSERT_NE(c, nullptr) << w.name << " lacks " << name;
            EXPECT_EQ(c->kind, kind) << w.name << " " << name;
        }
    };
    const WindowLayout& sheet = learning::calcSheetLayout();
    holds(sheet,
          {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
           "Edit10", "Edit11"},
          ControlKind::Line);
    holds(sheet, {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5", "Memo6"}, ControlKind::Memo);
    holds(sheet, {"Label1", "Label2", "StatusBar1"}, ControlKind::Label);
    holds(sheet, {"Button1", "Button2", "Button3", "Button4"}, ControlKind::Button);
    // The step lines of a long division lie one under the other in one cell, in order.
    for (int i = 0; i < learning::kMaxStepLines; ++i) {
        const ControlSpec* step = learning::findControl(sheet, "Edit" + std::to_string(i + 2));
        EXPECT_EQ(step->cell.stack, i);
        EXPECT_EQ(step->cell.column, learning::findControl(sheet, "Edit2")->cell.column);
    }

    const WindowLayout& structure = learning::structureViewLayout();
    holds(structure, {"Edit1", "Edit2"}, ControlKind::Line);
    holds(structure, {"Memo1", "Memo2"}, ControlKind::Memo);
    holds(structure, {"Label1", "Label2", "Label3", "Label4"}, ControlKind::Label);
    holds(structure, {"Button1", "Button2", "Button3", "Button4"}, ControlKind::Button);

    const WindowLayout& decomposition = learning::decompositionLayout();
    holds(decomposition, {"Edit1", "Edit2", "Edit3", "Edit4"}, ControlKind::Line);
    holds(decomposition, {"Memo1"}, ControlKind::Memo);
    holds(decomposition, {"Label1", "Label2"}, ControlKind::Label);
    holds(decomposition,
          {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7"},
          ControlKind::Button);

    for (auto kind : {learning::TutorKind::Brackets, learning::TutorKind::Operations,
                      learning::TutorKind::ComplexFractions}) {
        const WindowLayout& tutor = learning::tutorLayout(kind);
        holds(tutor, {"Memo1", "Memo2"}, ControlKind::Memo);
        holds(tutor, {"Image1"}, ControlKind::Picture);
        holds(tutor, {"Label1", "Label2"}, ControlKind::Label);
        holds(tutor, {"Button1", "Button2"}, ControlKind::Button);
    }
    EXPECT_EQ(learning::findControl(sheet, "Edit12"), nullptr);
}

}  // namespace
