// Each window's widgets as both toolkits take them from a frame built over its layout table:
// every field is the control of its name, of a kind the table gives it; and the lines of a
// text box, split and joined at CR LF.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "learning/calc_sheet.h"
#include "learning/decomposition.h"
#include "learning/structure_view.h"
#include "learning/text_box_rows.h"
#include "learning/tutor_window.h"
#include "learning/window_layout.h"
#include "ui/memory/memory_widgets.h"

namespace {

using learning::ControlKind;
using namespace ui::memory;

// A toolkit's frame in memory: every box holds its name as text, every control as caption.
// A name the table lacks, or of another kind, fails the test.
class LayoutFrame {
public:
    explicit LayoutFrame(const learning::WindowLayout& layout) : layout_(layout) {}

    ui::Window& window() { return form_; }
    ui::ModalWindow& modal() { return modal_; }
    ui::MenuBar& menu() { return menu_; }
    ui::TextBox& box(std::string_view name) {
        expectKind(name, {ControlKind::Line, ControlKind::Memo});
        MemoryTextBox& box = boxes_.emplace_back();
        box.setText(name);
        return box;
    }
    ui::Control& control(std::string_view name) {
        expectKind(name, {ControlKind::Label, ControlKind::Button});
        return controls_.emplace_back(std::string(name));
    }
    ui::MathView& picture(std::string_view name) {
        expectKind(name, {ControlKind::Picture});
        return pictures_.emplace_back();
    }

private:
    void expectKind(std::string_view name, std::initializer_list<ControlKind> kinds) {
        const learning::ControlSpec* c = learning::findControl(layout_, name);
        ASSERT_NE(c, nullptr) << layout_.name << " lacks " << name;
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), c->kind), kinds.end())
            << layout_.name << " " << name;
    }

    const learning::WindowLayout& layout_;
    MemoryWindow form_;
    ScriptedModal modal_;
    MemoryMenuBar menu_;
    std::deque<MemoryTextBox> boxes_;
    std::deque<MemoryControl> controls_;
    std::deque<MemoryMathView> pictures_;
};

std::string nameOf(const ui::TextBox& box) {
    return box.text();
}
std::string nameOf(const ui::Control& control) {
    return control.caption();
}

// The field `f` of `w` must be the control named as the field.
#define FIELD(w, f) std::pair(nameOf(w.f), std::string(#f))

void expectNames(std::initializer_list<std::pair<std::string, std::string>> fields) {
    for (const auto& [held, field] : fields) {
        EXPECT_EQ(held, field);
    }
}

TEST(WindowWidgets, EachFieldIsTheControlOfItsName) {
    LayoutFrame structureFrame(learning::structureViewLayout());
    const learning::StructureViewWidgets s = learning::structureViewWidgets(structureFrame);
    expectNames({FIELD(s, Edit1), FIELD(s, Edit2), FIELD(s, Memo1), FIELD(s, Memo2),
                 FIELD(s, Label1), FIELD(s, Label2), FIELD(s, Label3), FIELD(s, Label4),
                 FIELD(s, Button1), FIELD(s, Button2), FIELD(s, Button3), FIELD(s, Button4)});

    LayoutFrame decompositionFrame(learning::decompositionLayout());
    const learning::DecompositionWidgets d = learning::decompositionWidgets(decompositionFrame);
    expectNames({FIELD(d, Memo1), FIELD(d, Edit1), FIELD(d, Label1), FIELD(d, Edit2),
                 FIELD(d, Edit3), FIELD(d, Label2), FIELD(d, Edit4), FIELD(d, Button1),
                 FIELD(d, Button2), FIELD(d, Button3), FIELD(d, Button4), FIELD(d, Button5),
                 FIELD(d, Button6), FIELD(d, Button7)});

    LayoutFrame sheetFrame(learning::calcSheetLayout());
    MemoryTimer timer1, timer2;
    const learning::CalcSheetWidgets c = learning::calcSheetWidgets(sheetFrame, timer1, timer2);
    expectNames({FIELD(c, Edit1), FIELD(c, Memo1), FIELD(c, Edit10), FIELD(c, Edit11),
                 FIELD(c, Label1), FIELD(c, Label2), FIELD(c, StatusBar1), FIELD(c, Button1),
                 FIELD(c, Button2), FIELD(c, Button3), FIELD(c, Button4)});
    for (std::size_t i = 0; i < learning::kPartialMemos; ++i) {
        EXPECT_EQ(nameOf(*c.partialMemos[i]), "Memo" + std::to_string(i + 2));
    }
    for (std::size_t i = 0; i < learning::kMaxStepLines; ++i) {
        EXPECT_EQ(nameOf(*c.stepLines[i]), "Edit" + std::to_string(i + 2));
    }
    EXPECT_EQ(&c.Timer1, &timer1);
    EXPECT_EQ(&c.Timer2, &timer2);

    for (auto kind : {learning::TutorKind::Brackets, learning::TutorKind::Operations,
                      learning::TutorKind::ComplexFractions}) {
        LayoutFrame tutorFrame(learning::tutorLayout(kind));
        const learning::TutorWidgets t = learning::tutorWidgets(tutorFrame, timer1);
        expectNames({FIELD(t, Memo1), FIELD(t, Memo2), FIELD(t, Label1), FIELD(t, Label2),
                     FIELD(t, Button1), FIELD(t, Button2)});
    }
}

TEST(WindowWidgets, LinesSplitAndJoinAtLineBreaks) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nbc", {"a", "bc"}},
        {"a\r\n", {"a", ""}},
        {"\r\n\r\n", {"", "", ""}},
        {"a\nb\rc", {"a\nb\rc"}},  // a lone LF or CR breaks no line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(learning::splitLines(c.text), c.lines) << c.text;
        EXPECT_EQ(learning::joinLines(c.lines), c.text) << c.text;
    }
    // A box's rows: none when it is empty, else its lines.
    MemoryTextBox box;
    EXPECT_TRUE(learning::rowsOf(box).empty());
    learning::setRows(box, {"12", "", "3"});
    EXPECT_EQ(box.text(), "12\r\n\r\n3");
    EXPECT_EQ(learning::rowsOf(box), (std::vector<std::string>{"12", "", "3"}));
}

}  // namespace
