#include "learning/decomposition.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/memory/memory_services.h"
#include "ui/memory/memory_widgets.h"
#include "ui/memory/scripted_dialogs.h"

namespace {

using learning::DecompositionCommand;
using testing::ElementsAre;
using testing::IsEmpty;
using namespace ui::memory;
namespace vk = ui::vk;
namespace sh = ui::shift;

// The calculation sheet as the decomposition sees it: what it was opened on, and the result the
// student copied in it.
class FakeSheet : public learning::CalcSheetOpener {
public:
    explicit FakeSheet(MemoryClipboard& clipboard) : clipboard_(clipboard) {}
    std::string openFromTool(std::string_view expression) override {
        opened.emplace_back(expression);
        clipboard_.setText(result.empty() ? std::string(expression) : result);
        return clipboard_.text();
    }
    std::vector<std::string> opened;
    std::string result;

private:
    MemoryClipboard& clipboard_;
};

struct DecompositionHarness {
    MemoryWindow form;
    ScriptedModal modal;
    MemoryMenuBar menu;
    MemoryClipboard clipboard;
    ScriptedDialogs dialogs;
    FakeSheet sheet{clipboard};
    MemoryTextBox memo1{true, &form.focusScope()};
    MemoryTextBox edit1{false, &form.focusScope()};
    MemoryTextBox edit2{false, &form.focusScope()};
    MemoryTextBox edit3{false, &form.focusScope()};
    MemoryTextBox edit4{false, &form.focusScope()};
    MemoryControl label1, label2;
    std::array<std::unique_ptr<MemoryControl>, 7> buttons;
    std::string selection;
    int pasted = 0;
    std::vector<speech::Request> requests;
    std::unique_ptr<learning::TForm9> view;

    DecompositionHarness() {
        for (auto& b : buttons) {
            b = std::make_unique<MemoryControl>("", &form.focusScope());
        }
        learning::ToolHost host;
        host.programDirectory = "/prog";
        host.selection = [this] { return selection; };
        host.speak = [this](speech::Request r) { requests.push_back(std::move(r)); };
        host.pasteIntoBraillePage = [this] { ++pasted; };
        view = std::make_unique<learning::TForm9>(
            learning::DecompositionWidgets{form, modal, menu, memo1, edit1, label1, edit2, edit3,
                                           label2, edit4, button(1), button(2), button(3),
                                           button(4), button(5), button(6), button(7)},
            learning::DecompositionServices{dialogs, clipboard}, std::move(host), &sheet);
    }

    MemoryControl& button(int n) { return *buttons[static_cast<std::size_t>(n - 1)]; }
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
    void tabTo(ui::Widget& widget) {
        widget.setFocus();
        form.keyUp(vk::kTab);
    }
    void answer(std::string_view value) {
        form.type(value);
        press(vk::kReturn, 0, '\r');
    }
    std::vector<std::string> said() {
        std::vector<std::string> out;
        for (const speech::Request& r : requests) {
            out.push_back(r.mode + ":" + r.text);
        }
        requests.clear();
        return out;
    }
};

TEST(Decomposition, OneRoundGroupThenTheMultiplication) {
    DecompositionHarness h;
    h.open("?#b+#c*(#d", [&] {
        EXPECT_EQ(h.memo1.text(), "?#b+#c*(#d");
        EXPECT_EQ(h.button(1).caption(), "Parentesi tonde (1)");
        EXPECT_TRUE(h.button(1).focused());
        EXPECT_FALSE(h.edit1.visible());
        EXPECT_FALSE(h.button(5).visible()) << "no Ricomincia before the first step";
        EXPECT_THAT(h.said(), ElementsAre("error:Parentesi tonde (1)"));

        h.button(1).click();
        EXPECT_EQ(h.edit1.text(), "#b+#c");
        EXPECT_TRUE(h.edit2.focused());
        EXPECT_FALSE(h.button(3).visible()) << "one class of work inside";
        EXPECT_THAT(h.said(), ElementsAre("all:#b+#c"));
        h.answer("#e");
        EXPECT_EQ(h.view->expression(), "#e(#d");
        EXPECT_EQ(h.memo1.text(), "?#b+#c*(#d\r\n#e(#d");
        EXPECT_EQ(h.button(1).caption(), "Molt. - Div. (1)");
        EXPECT_TRUE(h.button(5).visible());
        EXPECT_THAT(h.said(), ElementsAre("key:#", "key:#e", "error:Molt. - Div. (1)"));

        h.button(1).click();
        EXPECT_EQ(h.edit1.text(), "#e(#d");
        h.answer("#bj");
        EXPECT_EQ(h.memo1.text(), "?#b+#c*(#d\r\n#e(#d\r\n#bj");
        EXPECT_FALSE(h.button(1).visible());
        EXPECT_FALSE(h.edit1.visible());
        EXPECT_TRUE(h.button(6).focused()) << "nothing left: on to Esci";
        h.said();
        h.press('C', sh::kCtrl);
    });
    EXPECT_FALSE(h.modal.open());
    EXPECT_EQ(h.clipboard.text(), "?#b+#c*(#d\r\n#e(#d\r\n#bj");
    EXPECT_EQ(h.pasted, 1);
}

TEST(Decomposition, NegativeNumbersExponentsAndTheFinalValue) {
    DecompositionHarness h;
    // A bracketed negative number is no group; operators in the exponent are not counted.
    h.open("?-#b*(#c|#b+#a1-#e", [&] {
        EXPECT_EQ(h.button(1).caption(), "Molt. - Div. (1)");
        h.button(1).click();
        EXPECT_EQ(h.edit1.text(), "?-#b*(#c|#b+#a1");
        h.answer("-#bdf");
        EXPECT_EQ(h.view->expression(), "?-#bdf*-#e") << "a negative value goes in brackets";
        // Only the subtraction is left: the last line is the work, the answer takes the focus.
        EXPECT_FALSE(h.button(1).visible());
        EXPECT_EQ(h.edit1.text(), "?-#bdf*-#e");
        EXPECT_TRUE(h.edit2.focused());
        h.said();

        // Unbalanced brackets in the value: said, shown, nothing changes.
        h.answer("?-#bdk");
        EXPECT_THAT(h.said().back(), "error:Errore -  Parentesi non bilanciate ");
        ASSERT_EQ(h.dialogs.log().size(), 1u);
        EXPECT_EQ(h.dialogs.log()[0].box.text, "Errore -  Parentesi non bilanciate ");
        EXPECT_EQ(h.dialogs.log()[0].box.caption, "messaggio di errore");
        EXPECT_EQ(h.view->expression(), "?-#bdf*-#e");

        h.edit2.setText("");
        h.answer("-#bdk");
        EXPECT_EQ(h.view->history().back(), "?-#bdk*");
        EXPECT_TRUE(h.button(7).focused()) << "the result: on to storing it";
        EXPECT_FALSE(h.edit2.visible());

        h.button(5).click();  // Ricomincia
        EXPECT_EQ(h.memo1.text(), "?-#b*(#c|#b+#a1-#e");
        EXPECT_EQ(h.button(1).caption(), "Molt. - Div. (1)");
        h.press(vk::kEscape);
    });
    EXPECT_FALSE(h.modal.open());
    EXPECT_EQ(h.pasted, 0);
}

TEST(Decomposition, WorkInsideAGroupComesFirst) {
    DecompositionHarness h;
    h.open("?#b+#c|#b1(#d*(#e", [&] {
        h.button(1).click();
        EXPECT_EQ(h.edit1.text(), "#b+#c|#b1(#d");
        EXPECT_EQ(h.button(3).caption(), "Potenze (1)");
        EXPECT_TRUE(h.button(3).focused());
        h.button(3).click();
        EXPECT_EQ(h.edit3.text(), "#c|#b1");
        EXPECT_TRUE(h.edit4.focused());
        h.answer("#i");
        EXPECT_EQ(h.edit1.text(), "#b+#i(#d") << "the power's value goes into the group";
        EXPECT_EQ(h.button(3).caption(), "Molt. - Div. (1)");
        h.button(3).click();
        EXPECT_EQ(h.edit3.text(), "#i(#d");
        // The product in the calculation sheet, its result back in the inner answer box.
        h.sheet.result = "#i(#d = #cf";
        h.press('A', sh::kCtrl);
        EXPECT_THAT(h.sheet.opened, ElementsAre("#i(#d"));
        EXPECT_EQ(h.edit4.text(), "#cf");
        EXPECT_EQ(h.said().back(), "all:#cf");
        h.press(vk::kReturn, 0, '\r');
        EXPECT_EQ(h.edit1.text(), "#b+#cf");
        EXPECT_FALSE(h.button(3).visible());
        EXPECT_TRUE(h.edit2.focused());
        h.answer("#ch");
        EXPECT_EQ(h.view->expression(), "#ch(#e");
        EXPECT_EQ(h.view->history().size(), 2u);

        // More than one operation: the sheet does not open, the student hears why.
        h.button(1).click();
        h.edit1.setText("#b+#c-#d");
        h.press('A', sh::kCtrl);
        EXPECT_EQ(h.sheet.opened.size(), 1u);
        EXPECT_EQ(h.said().back(), "error:Selezionare una unica operazione");
        h.press('X', sh::kCtrl);
    });
    EXPECT_FALSE(h.modal.open());
}

TEST(Decomposition, ProcediWithoutAValueSaysWhy) {
    DecompositionHarness h;
    h.open("?#a+#b*(#c", [&] {
        h.button(1).click();  // the round group
        EXPECT_TRUE(h.edit2.focused());
        h.said();
        h.press(vk::kReturn, 0, '\r');  // nothing typed in the answer box
        EXPECT_THAT(h.said(), ElementsAre("error:Nessun valore scritto"));
        EXPECT_EQ(h.dialogs.beeps(), 1);
        EXPECT_EQ(h.view->expression(), "?#a+#b*(#c");
        h.press(vk::kEscape);
    });
}

TEST(Decomposition, NothingToDecompose) {
    DecompositionHarness h;
    h.open("#bc", [&] {
        EXPECT_FALSE(h.button(1).visible());
        EXPECT_FALSE(h.edit1.visible());
        EXPECT_FALSE(h.label1.visible());
        EXPECT_TRUE(h.button(6).focused());
        EXPECT_THAT(h.said(), ElementsAre("error:Niente da scomporre"));
        h.press(vk::kReturn, 0, '\r');
        h.button(2).click();  // Procedi with nothing to accept says why
        EXPECT_EQ(h.view->history().size(), 1u);
        EXPECT_THAT(h.said(), ElementsAre("error:Nessun passo in corso"));
        h.tabTo(h.memo1);
        EXPECT_THAT(h.said(), ElementsAre("all:#bc"));
        h.press(vk::kEscape);
    });
    EXPECT_FALSE(h.modal.open());
    EXPECT_EQ(h.form.caption(), "Scomposizione");
    EXPECT_EQ(h.view->menuItem(DecompositionCommand::Uscita1).caption(), "Uscita");
}

}  // namespace
