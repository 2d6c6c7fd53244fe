#include "learning/structure_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/memory/memory_services.h"
#include "ui/memory/memory_widgets.h"
#include "ui/memory/scripted_dialogs.h"

namespace {

using learning::StructureCommand;
using testing::ElementsAre;
using testing::IsEmpty;
using namespace ui::memory;
namespace vk = ui::vk;
namespace sh = ui::shift;

std::string marks(std::string text) {
    std::replace(text.begin(), text.end(), '~', '\xA0');
    return text;
}

// The structure view on in-memory widgets, opened as the main window opens it.
struct StructureHarness {
    MemoryWindow form;
    ScriptedModal modal;
    MemoryMenuBar menu;
    MemoryClipboard clipboard;
    ScriptedDialogs dialogs;
    MemoryTextBox edit1{false, &form.focusScope()};
    MemoryTextBox edit2{false, &form.focusScope()};
    MemoryTextBox memo1{true, &form.focusScope()};
    MemoryTextBox memo2{true, &form.focusScope()};
    MemoryControl label1, label2, label3, label4;
    MemoryControl button1{"", &form.focusScope()};
    MemoryControl button2{"", &form.focusScope()};
    MemoryControl button3{"", &form.focusScope()};
    MemoryControl button4{"", &form.focusScope()};
    // The main window as the view sees it.
    std::string selection;
    bool braille = true;
    bool keypadMapping = false;
    int pasted = 0;
    std::vector<speech::Request> requests;
    std::unique_ptr<learning::TForm5> view;

    StructureHarness() {
        learning::ToolHost host;
        host.programDirectory = "/prog";
        host.selection = [this] { return selection; };
        host.brailleMode = [this] { return braille; };
        host.speak = [this](speech::Request r) { requests.push_back(std::move(r)); };
        host.keypadMapping = [this] { return keypadMapping; };
        host.keypadText = [](int key, unsigned shift) -> std::string {
            if (key == vk::kNumpad0 + 1) {
                return shift == sh::kAlt ? "," : "a";
            }
            return key == vk::kAdd ? "+" : "";
        };
        host.pasteIntoBraillePage = [this] { ++pasted; };
        host.brailleFont = [] { return ui::Font{"Braille", 30, 0}; };
        host.latexFont = [] { return ui::Font{"Latex", 14, 0}; };
        view = std::make_unique<learning::TForm5>(
            learning::StructureViewWidgets{form, modal, menu, edit1, edit2, memo1, memo2, label1,
                                           label2, label3, label4, button1, button2, button3,
                                           button4},
            learning::StructureViewServices{dialogs, clipboard}, std::move(host));
    }

    void open(std::string line, const std::function<void()>& work) {
        selection = std::move(line);
        modal.setScript([this, work] {
            form.activate();
            if (work) {
                work();
            }
        });
        view->showModal();
    }
    void press(int key, unsigned shift = 0, char ch = 0) { form.pressKey(key, shift, ch); }
    // The focus moves with Tab (or a click): the key up arrives in the box reached.
    void tabTo(ui::Widget& widget) {
        widget.setFocus();
        form.keyUp(vk::kTab);
    }
    // "mode:text" of every request since the last look.
    std::vector<std::string> said() {
        std::vector<std::string> out;
        for (const speech::Request& r : requests) {
            out.push_back(r.mode + ":" + r.text);
        }
        requests.clear();
        return out;
    }
};

TEST(StructureView, AnExpressionWithoutBrackets) {
    StructureHarness h;
    h.open("  #b+#c\r\n", [&] {
        EXPECT_EQ(h.edit1.text(), "#b+#c");
        EXPECT_EQ(h.edit2.text(), "");
        EXPECT_EQ(h.memo1.text(), "#b+#c =");
        EXPECT_FALSE(h.memo2.visible());
        EXPECT_FALSE(h.label4.visible());
        EXPECT_FALSE(h.button1.visible());
        EXPECT_TRUE(h.button3.focused());
        EXPECT_THAT(h.said(), IsEmpty());
        h.tabTo(h.edit2);
        EXPECT_THAT(h.said(), ElementsAre("error:Nessuna espressione fra parentesi"));
        h.tabTo(h.edit1);
        EXPECT_THAT(h.said(), ElementsAre("all:#b+#c"));
        h.press(vk::kEscape);
    });
    EXPECT_FALSE(h.modal.open());
    EXPECT_THAT(h.said(), ElementsAre("all:  "));
    EXPECT_EQ(h.pasted, 0);
    EXPECT_EQ(h.view->menuItem(StructureCommand::Esci1).caption(), "Esci");
    EXPECT_EQ(h.button2.caption(), "Memorizza risultato ed esci ");
    EXPECT_EQ(h.form.caption(), "Struttura");
}

TEST(StructureView, NestedGroupsSubstitutedAndStored) {
    StructureHarness h;
    h.clipboard.setText("old");
    h.open("#b(??a+b*(?c-d**", [&] {
        EXPECT_EQ(h.edit2.text(), "? ? * ? * * ");
        EXPECT_EQ(h.memo1.text(), marks("#b(~T3~ ="));
        EXPECT_EQ(h.memo2.text(), marks("T1  a+b =\r\nT2  c-d =\r\nT3  ~T1~(~T2~ ="));
        EXPECT_TRUE(h.edit1.focused());
        EXPECT_THAT(h.said(), ElementsAre("all:#b(??a+b*(?c-d**"));

        // Into the contents: the caret at the end of the first line, its name, its content.
        h.tabTo(h.memo2);
        EXPECT_EQ(h.memo2.selStart(), 9u);
        EXPECT_THAT(h.said(), ElementsAre("error:parentesi tonda prima", "all: a+b ="));
        h.form.type("#e");
        EXPECT_THAT(h.said(), ElementsAre("key: a+b =#", "key: a+b =#e"));
        h.press(vk::kLeft);
        EXPECT_THAT(h.said(), ElementsAre("last: a+b =#"));
        h.press(vk::kDown);
        EXPECT_EQ(h.memo2.selStart(), 22u);
        EXPECT_THAT(h.said(), ElementsAre("error:parentesi tonda seconda", "all: c-d ="));
        h.form.type("#cx");
        h.press(vk::kBack, 0, '\b');
        EXPECT_EQ(h.said().back(), "canc: c-d =#cx");
        h.press('S', sh::kCtrl);
        EXPECT_EQ(h.memo1.text(), marks("#b(~T3~ ="));
        EXPECT_EQ(h.memo2.text(), "T1  a+b =#e\r\nT2  c-d =#c\r\nT3  #e(#c =");
        EXPECT_THAT(h.said(), ElementsAre(marks("all:#b(~T3~ =")));

        h.press(vk::kDown);
        EXPECT_THAT(h.said(), ElementsAre("error:parentesi tonda terza", "all: #e(#c ="));
        h.form.type("#ij");
        h.button1.click();
        EXPECT_EQ(h.memo1.text(), "#b(#ij =");

        h.tabTo(h.memo1);
        EXPECT_THAT(h.said().back(), "all:#b(#ij =");
        h.memo1.setSelStart(h.memo1.text().size());
        h.form.type("#cdh");
        EXPECT_EQ(h.said().back(), "key:#b(#ij =#cdh");
        h.button2.click();
    });
    EXPECT_FALSE(h.modal.open());
    EXPECT_EQ(h.said().front(), "all:  ");
    EXPECT_EQ(h.clipboard.text(), "#b(??a+b*(?c-d**\r\n#cdh\r\n");
    EXPECT_EQ(h.pasted, 1);
}

TEST(StructureView, StoringWithoutAResultLeavesThePage) {
    StructureHarness h;
    h.clipboard.setText("old");
    h.open("?a*", [&] {
        h.memo1.setText(marks("~T1~ =   "));
        h.said();
        h.press('M', sh::kCtrl);
    });
    EXPECT_FALSE(h.modal.open());
    EXPECT_EQ(h.pasted, 0);
    EXPECT_EQ(h.clipboard.text(), "old");
    // The student hears why nothing reached the page.
    EXPECT_EQ(h.dialogs.transcript(), std::vector<std::string>{"beep"});
    EXPECT_THAT(h.said(), ElementsAre("all:  ", "error:Nessun risultato da memorizzare"));
}

TEST(StructureView, MoreThanTwentyOneGroupsOfAKindAreRefused) {
    StructureHarness h;
    std::string line;
    for (int i = 0; i < 22; ++i) {
        line += "?a*+";
    }
    h.open(line + "#b", [&] { EXPECT_FALSE(h.modal.open()) << "closed at once"; });
    EXPECT_THAT(h.dialogs.messages(),
                ElementsAre("Troppe parentesi dello stesso tipo: al massimo 21 gruppi"));
    EXPECT_EQ(h.pasted, 0);
    EXPECT_EQ(h.edit1.text(), "");
    EXPECT_EQ(h.memo2.text(), "");

    // Twenty-one are shown, the last numbered 'E'.
    h.open(line.substr(4) + "#b", [&] {
        EXPECT_TRUE(h.modal.open());
        EXPECT_EQ(h.memo2.text().substr(h.memo2.text().size() - 7), "TE  a =");
        h.press(vk::kEscape);
    });
    EXPECT_EQ(h.dialogs.messages().size(), 1u);
}

TEST(StructureView, KeypadMappingAndFonts) {
    StructureHarness h;
    h.open("?a*", [&] {
        EXPECT_EQ(h.memo1.font().family, "Braille");
        h.tabTo(h.memo1);
        h.said();
        h.memo1.setSelStart(h.memo1.text().size());
        // Without the mapping the keypad types what the box would.
        h.press(vk::kNumpad0 + 1, 0, '1');
        EXPECT_EQ(h.memo1.text(), marks("~T1~ =1"));
        h.press(vk::kBack, 0, '\b');
        h.keypadMapping = true;
        h.press(vk::kNumpad0 + 1, 0, '1');
        h.press(vk::kAdd, 0, '+');
        h.press(vk::kNumpad0 + 1, sh::kAlt, '1');
        EXPECT_EQ(h.memo1.text(), marks("~T1~ =a+,"));
        EXPECT_THAT(h.said(),
                    ElementsAre(marks("key:~T1~ =1"), marks("canc:~T1~ =1"), marks("key:~T1~ =a"),
                                marks("key:~T1~ =a+"), marks("key:~T1~ =a+,")));
        h.button4.click();
        EXPECT_EQ(h.memo1.font().family, "Latex");
        EXPECT_EQ(h.edit2.font().family, "Latex");
        h.button4.click();
        EXPECT_EQ(h.memo2.font().family, "Braille");
        EXPECT_THAT(h.said(), ElementsAre("error:Font Latex", "error:Font Braille"))
            << "the button is heard, not only seen";
        h.button3.click();
    });
    EXPECT_FALSE(h.modal.open());
}

TEST(StructureView, LatexModeShowsLabelsInBrackets) {
    StructureHarness h;
    h.braille = false;
    h.open("2\\cdot [a+(b)]", [&] {
        EXPECT_EQ(h.edit2.text(), "[ ( ) ] ");
        EXPECT_EQ(h.memo1.text(), "2\\cdot [Q1] =");
        EXPECT_EQ(h.memo2.text(), "Q1  a+(T1) =\r\n\r\nT1  b =");
        EXPECT_EQ(h.memo1.font().family, "Latex");
        h.tabTo(h.memo2);
        h.said();
        h.press(vk::kDown);  // the empty line between the kinds of group is said too
        EXPECT_THAT(h.said(), ElementsAre("error:riga vuota"));
        h.press(vk::kDown);
        h.form.type("3");
        h.press('S', sh::kCtrl);
        EXPECT_EQ(h.memo2.text(), "Q1  a+3 =\r\n\r\nT1  b =3");
        EXPECT_EQ(h.memo2.selStart(), h.memo2.text().size()) << "the caret stays on its line";
        h.press(vk::kUp);
        h.press(vk::kUp);
        EXPECT_THAT(h.said().back(), "all: a+3 =");
        h.form.type("a+3");
        h.press('S', sh::kCtrl);
        EXPECT_EQ(h.memo1.text(), "2\\cdot a+3 =");
        h.press(vk::kEscape);
    });
}

}  // namespace
