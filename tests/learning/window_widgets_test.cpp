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

std::string nameOf(const ui::TextBox* box) {
    return box->text();
}
std::string nameOf(const ui::Control* control) {
    return control->caption();
}

// Each pair: the name the field's widget holds, the name it should have.
void expectNames(std::initializer_list<std::pair<std::string, std::string>> fields) {
    for (const auto& [held, expected] : fields) {
        EXPECT_EQ(held, expected);
    }
}

TEST(WindowWidgets, EachFieldIsTheControlOfItsName) {
    LayoutFrame structureFrame(learning::structureViewLayout());
    const learning::StructureViewWidgets s = learning::structureViewWidgets(structureFrame);
    expectNames({{nameOf(&s.Edit1), "Edit1"},
                 {nameOf(&s.Edit2), "Edit2"},
                 {nameOf(&s.Memo1), "Memo1"},
                 {nameOf(&s.Memo2), "Memo2"},
                 {nameOf(&s.Label1), "Label1"},
                 {nameOf(&s.Label2), "Label2"},
                 {nameOf(&s.Label3), "Label3"},
                 {nameOf(&s.Label4), "Label4"},
                 {nameOf(&s.Button1), "Button1"},
                 {nameOf(&s.Button2), "Button2"},
                 {nameOf(&s.Button3), "Button3"},
                 {nameOf(&s.Button4), "Button4"}});

    LayoutFrame decompositionFrame(learning::decompositionLayout());
    const learning::DecompositionWidgets d = learning::decompositionWidgets(decompositionFrame);
    expectNames({{nameOf(&d.Memo1), "Memo1"},
                 {nameOf(&d.Edit1), "Edit1"},
                 {nameOf(&d.Label1), "Label1"},
                 {nameOf(&d.Edit2), "Edit2"},
                 {nameOf(&d.Edit3), "Edit3"},
                 {nameOf(&d.Label2), "Label2"},
                 {nameOf(&d.Edit4), "Edit4"},
                 {nameOf(&d.Button1), "Button1"},
                 {nameOf(&d.Button2), "Button2"},
                 {nameOf(&d.Button3), "Button3"},
                 {nameOf(&d.Button4), "Button4"},
                 {nameOf(&d.Button5), "Button5"},
                 {nameOf(&d.Button6), "Button6"},
                 {nameOf(&d.Button7), "Button7"}});

    LayoutFrame sheetFrame(learning::calcSheetLayout());
    MemoryTimer timer1, timer2;
    const learning::CalcSheetWidgets c = learning::calcSheetWidgets(sheetFrame, timer1, timer2);
    expectNames({{nameOf(&c.Edit1), "Edit1"},
                 {nameOf(&c.Memo1), "Memo1"},
                 {nameOf(c.partialMemos[0]), "Memo2"},
                 {nameOf(c.partialMemos[4]), "Memo6"},
                 {nameOf(c.stepLines[0]), "Edit2"},
                 {nameOf(c.stepLines[7]), "Edit9"},
                 {nameOf(&c.Edit10), "Edit10"},
                 {nameOf(&c.Edit11), "Edit11"},
                 {nameOf(&c.Label1), "Label1"},
                 {nameOf(&c.Label2), "Label2"},
                 {nameOf(&c.StatusBar1), "StatusBar1"},
                 {nameOf(&c.Button1), "Button1"},
                 {nameOf(&c.Button2), "Button2"},
                 {nameOf(&c.Button3), "Button3"},
                 {nameOf(&c.Button4), "Button4"}});
    EXPECT_EQ(&c.Timer1, &timer1);
    EXPECT_EQ(&c.Timer2, &timer2);

    for (auto kind : {learning::TutorKind::Brackets, learning::TutorKind::Operations,
                      learning::TutorKind::ComplexFractions}) {
        LayoutFrame tutorFrame(learning::tutorLayout(kind));
        const learning::TutorWidgets t = learning::tutorWidgets(tutorFrame, timer1);
        expectNames({{nameOf(&t.Memo1), "Memo1"},
                     {nameOf(&t.Memo2), "Memo2"},
                     {nameOf(&t.Label1), "Label1"},
                     {nameOf(&t.Label2), "Label2"},
                     {nameOf(&t.Button1), "Button1"},
                     {nameOf(&t.Button2), "Button2"}});
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
