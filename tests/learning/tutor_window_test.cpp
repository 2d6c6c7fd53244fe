// The tutor windows on in-memory widgets: opened as the main window opens them, worked by
// keyboard and by chord, checked for what they show, say and hand back.

#include "learning/tutor_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "learning/messages.h"
#include "ui/memory/memory_services.h"
#include "ui/memory/memory_widgets.h"
#include "ui/memory/scripted_dialogs.h"

namespace learning {
namespace {

using namespace ui::memory;
namespace vk = ui::vk;

struct Recorder : speech::RequestSink {
    std::vector<speech::Request> requests;
    void submit(const speech::Request& r) override { requests.push_back(r); }
    std::vector<std::string> said(std::string_view mode) const {
        std::vector<std::string> out;
        for (const auto& r : requests) {
            if (r.mode == mode) {
                out.push_back(r.text);
            }
        }
        return out;
    }
};

struct Tutor {
    MemoryWindow form;
    ScriptedModal modal;
    MemoryMenuBar menu;
    MemoryTextBox memo1{true, &form.focusScope()};
    MemoryTextBox memo2{true, &form.focusScope()};
    MemoryMathView image1;
    MemoryControl label1, label2;
    MemoryControl button1{"", &form.focusScope()};
    MemoryControl button2{"", &form.focusScope()};
    MemoryTimer timer1{200, false};
    ScriptedDialogs dialogs;
    Recorder speech;
    bool chordInput = false;
    std::unique_ptr<TutorWindow> window;

    explicit Tutor(TutorKind kind) {
        window = std::make_unique<TutorWindow>(
            kind,
            TutorWidgets{form, modal, menu, memo1, memo2, image1, label1, label2, button1, button2,
                         timer1},
            dialogs, &speech,
            TutorHost{[this] { return chordInput; }, [] { return 300; }, [] { return true; },
                      "/prog"});
    }

    // Opens the tutor on `line` for `step`; `work` runs while it shows.
    TutorOutcome open(std::string_view step, std::string_view line,
                      const std::function<void()>& work) {
        modal.setScript([this, work] {
            form.activate();
            if (work && modal.open()) {
                work();
            }
        });
        return window->openTutor(step, line);
    }

    void press(int key, unsigned shift = 0, char ch = 0) { form.pressKey(key, shift, ch); }
    void type(std::string_view cells) {
        for (char c : cells) {
            press(0xBA, 0, c);
        }
    }
    void enter() { press(vk::kReturn, 0, '\r'); }
    MemoryControl& item(TutorCommand id) { return menu.item(static_cast<int>(id)); }
};

TEST(TutorWindow, BracketsWorkedToTheResult) {
    Tutor t(TutorKind::Brackets);
    const TutorOutcome out = t.open("Parentesi tonde", "?#a+#b*(?#c+#d*=", [&t] {
        EXPECT_EQ(t.form.caption(), "Tutor- parentesi");
        EXPECT_EQ(t.label1.caption(), "Parentesi tonde");
        EXPECT_EQ(t.label2.caption(), "Input Tastiera");
        EXPECT_EQ(t.memo1.text(), "?#a+#b*(?#c+#d*=\r\nTA(TB=");
        EXPECT_EQ(t.memo1.selText(), "?#a+#b*") << "the first group is marked";
        EXPECT_EQ(t.memo2.text(), "#a+#b=\r\n#c+#d=");
        EXPECT_TRUE(t.memo2.focused());
        EXPECT_EQ(t.memo2.selStart(), 6u);
        EXPECT_EQ(t.speech.said("all"), std::vector<std::string>{"#a+#b="});
        ASSERT_EQ(t.image1.lines().size(), 2u);
        EXPECT_EQ(t.image1.lines()[0], (ui::MathLine{"?#a+#b*(?#c+#d*=", 0}));
        EXPECT_EQ(t.image1.lines()[1], (ui::MathLine{"#a+#b=", 6}));

        t.type("#c");
        EXPECT_EQ(t.speech.said("key").back(), "#a+#b=#c");
        EXPECT_EQ(t.image1.lines()[1], (ui::MathLine{"#a+#b=#c", 8}));
        t.speech.requests.clear();
        t.enter();
        // The verdict is said as words and waited for, then the next line is read; the screen
        // reader hears the verdict too.
        ASSERT_EQ(t.speech.requests.size(), 2u);
        EXPECT_EQ(t.speech.requests[0].mode, "error");
        EXPECT_EQ(t.speech.requests[0].text, "Esatto");
        EXPECT_EQ(t.speech.requests[1].mode, "all");
        EXPECT_EQ(t.form.announced(), std::vector<std::string>{"Esatto"});
        EXPECT_EQ(t.memo2.text(), "#a+#b=#c\r\n#c+#d=") << "Enter adds no line";
        EXPECT_EQ(t.memo2.selStart(), 16u);
        EXPECT_EQ(t.speech.said("all").back(), "#c+#d=");
        t.type("#g");
        t.press('A', ui::shift::kCtrl);
    });
    EXPECT_FALSE(t.modal.open());
    EXPECT_EQ(out.result, "=#c(#g");
    EXPECT_FALSE(out.next);
    EXPECT_TRUE(t.dialogs.log().empty());
}

TEST(TutorWindow, ListedPartsCannotBeChanged) {
    Tutor t(TutorKind::Brackets);
    t.open("Parentesi tonde", "?#a+#b*(#c=", [&t] {
        t.type("A");
        EXPECT_EQ(t.dialogs.transcript(),
                  (std::vector<std::string>{"beep", "warning:Carattere non ammesso "}));
        t.memo2.setSelStart(2);
        t.type("a");
        EXPECT_EQ(t.dialogs.messages().size(), 2u);
        // Each refusal says why, not only beeps.
        const std::string kept = "\\\\@Parte dell'esercizio non modificabile\\\\";
        t.memo2.setSelStart(6);
        t.press(vk::kBack, 0, 8);
        EXPECT_EQ(t.speech.said("").back(), kept);
        t.memo2.setSelStart(3);
        t.speech.requests.clear();
        t.press(vk::kDelete);
        EXPECT_EQ(t.speech.said(""), std::vector<std::string>{kept});
        EXPECT_EQ(t.memo2.text(), "#a+#b=");
        EXPECT_EQ(t.dialogs.beeps(), 4);
        t.press('V', ui::shift::kCtrl);
        EXPECT_EQ(t.memo2.text(), "#a+#b=");
        EXPECT_EQ(t.speech.said("").back(), "\\\\@Incolla e taglia non ammessi nel lavoro\\\\");
        EXPECT_EQ(t.dialogs.beeps(), 5);

        // What the student typed can be taken back.
        t.memo2.setSelStart(6);
        t.type("#ab");
        t.press(vk::kBack, 0, 8);
        EXPECT_EQ(t.memo2.text(), "#a+#b=#a");
        EXPECT_EQ(t.speech.said("canc").back(), "#a+#b=#ab");

        // Esc puts the work list back as it was built.
        t.press(vk::kEscape);
        EXPECT_EQ(t.memo2.text(), "#a+#b=");
        t.press('X', ui::shift::kCtrl);  // "Esci"
    });
    EXPECT_FALSE(t.modal.open());
}

TEST(TutorWindow, AWrongAnswerIsSaidAndKeepsTheCaret) {
    Tutor t(TutorKind::Operations);
    const TutorOutcome out = t.open("Addizioni e sottrazioni", "#a+#b(#c-#c+#b=", [&t] {
        EXPECT_EQ(t.memo2.text(), "#a+#b=\r\n#c-#c+#b=");
        t.type("#d");
        t.enter();
        EXPECT_EQ(t.speech.said("error").back(), "Sbagliato");
        EXPECT_EQ(t.memo2.selStart(), 8u);
        t.press(vk::kBack, 0, 8);
        t.type("c");
        t.enter();
        EXPECT_EQ(t.speech.said("error").back(), "Esatto");
        EXPECT_EQ(t.memo2.selStart(), 19u);
        // Several steps: the last one is judged; a letter is not judged at all.
        t.type("#c-#c+#b=#b");
        t.enter();
        EXPECT_EQ(t.speech.said("error").back(), "Esatto");
        t.button1.click();
    });
    EXPECT_EQ(out.result, "=#c(#b");
}

TEST(TutorWindow, LeavingWithoutAResult) {
    Tutor t(TutorKind::Brackets);
    const TutorOutcome out = t.open("Parentesi tonde", "?#a+#b*(#c=", [&t] {
        t.type("#c");
        t.button2.click();
    });
    EXPECT_FALSE(out.result);
    EXPECT_FALSE(out.next);
}

TEST(TutorWindow, FinishedLinesAreExamined) {
    struct Case {
        TutorKind kind;
        const char* step;
        const char* line;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {TutorKind::Brackets, "Parentesi tonde", "?#a(#b*=", "#b|#b", "Elevaz.potenza incompleta "},
        {TutorKind::Brackets, "Parentesi tonde", "?#a(#b*=", "6#bnp", "Espressione incompleta "},
        {TutorKind::Brackets, "Parentesi tonde", "?#a(#b*=", "#b+", "Espressione incompleta "},
        {TutorKind::Brackets, "Parentesi tonde", "?#a(#b*=", "?#b", "Espressione incompleta "},
        {TutorKind::Operations, "Moltiplicazioni e divisioni", "#b(#c=", "6#anp",
         "Espressione frazione incompleta "},
        {TutorKind::Operations, "Moltiplicazioni e divisioni", "#b(#c=", "#f=#f|",
         "Elevaz.potenza incompleta "},
        {TutorKind::ComplexFractions, "Frazioni complesse", "6#a+#bnp#c4=", "6#anp#b4/6#cnp#d4",
         "La divisione tra due frazioni deve essere convertita in moltiplicazione per la "
         "frazione inversa"},
    };
    for (const Case& c : cases) {
        Tutor t(c.kind);
        const TutorOutcome out = t.open(c.step, c.line, [&] {
            t.type(c.typed);
            t.enter();
            EXPECT_EQ(t.dialogs.transcript(),
                      (std::vector<std::string>{"beep", std::string("warning:") + c.message}))
                << c.typed;
            // The result is refused as well while the line is unfinished.
            t.button1.click();
            EXPECT_TRUE(t.modal.open()) << c.typed;
            t.button2.click();
        });
        EXPECT_FALSE(out.result) << c.typed;
    }
    // Numbers hold digits that look like signs: "#+" is a finished number.
    Tutor t(TutorKind::Operations);
    const TutorOutcome out = t.open("Moltiplicazioni e divisioni", "#b(#c=", [&t] {
        t.type("#+");
        t.enter();
        t.button1.click();
    });
    EXPECT_TRUE(t.dialogs.log().empty());
    EXPECT_EQ(out.result, "=#+");
}

TEST(TutorWindow, ExpressionsRefusedOnActivation) {
    Tutor t(TutorKind::Operations);
    bool worked = false;
    TutorOutcome out = t.open("Addizioni e sottrazioni", "#a+#b=#c=", [&] { worked = true; });
    EXPECT_FALSE(worked) << "the window closes on the refusal";
    EXPECT_FALSE(out.result);
    EXPECT_EQ(
        t.dialogs.transcript(),
        (std::vector<std::string>{"beep", "warning:Carattere = all'interno dell'espressione "}));
    t.dialogs.clearLog();
    out = t.open("Potenze", "|#b1=", nullptr);
    EXPECT_EQ(t.dialogs.messages(),
              std::vector<std::string>{"Espressione non elaborabile dal tutor "});
}

TEST(TutorWindow, MenusOfEachTutor) {
    Tutor ops(TutorKind::Operations);
    EXPECT_EQ(ops.form.caption(), "Tutor - operazioni");
    EXPECT_FALSE(ops.item(TutorCommand::MenuTutor).visible());
    EXPECT_EQ(ops.button1.caption(), "Riporta risultato ed esci");
    EXPECT_EQ(ops.button2.caption(), "Esci");
    TutorOutcome out = ops.open("Moltiplicazioni e divisioni", "#b(#c+#a=", [&ops] {
        EXPECT_EQ(ops.memo2.text(), "#b(#c=");
        ops.press('X', ui::shift::kCtrl);  // not this tutor's key
        EXPECT_TRUE(ops.modal.open());
        ops.type("#f");
        ops.press('Z', ui::shift::kCtrl);
    });
    EXPECT_FALSE(out.result);

    Tutor fractions(TutorKind::ComplexFractions);
    EXPECT_EQ(fractions.form.caption(), "Tutor -Frazioni complesse");
    EXPECT_TRUE(fractions.item(TutorCommand::Parentesitonde1).visible());
    EXPECT_EQ(fractions.item(TutorCommand::Proprietadellepotenze1).caption(),
              "Propriet\xE0 delle potenze");

    // Moving to another step leaves the result and names the step.
    Tutor brackets(TutorKind::Brackets);
    EXPECT_FALSE(brackets.item(TutorCommand::Parentesitonde1).visible());
    out = brackets.open("Parentesi tonde", "?#a+#b*(#c=", [&brackets] {
        brackets.type("#c");
        brackets.press(vk::kF1 + 4, ui::shift::kShift);
    });
    EXPECT_EQ(out.result, "=#c(#c");
    EXPECT_EQ(out.next, TutorStep::MultiplicationsDivisions);
}

TEST(TutorWindow, AltLettersAndFreeFunctionKeysSayWhy) {
    Tutor t(TutorKind::Brackets);
    t.open("Parentesi tonde", "?#a+#b*(#c=", [&t] {
        EXPECT_EQ(t.item(TutorCommand::MenuFile).caption(), "&File");
        EXPECT_EQ(t.item(TutorCommand::MenuTutor).caption(), "&Tutor");
        ui::KeyEvent menuKey{'T', ui::shift::kAlt};
        t.window->keyDown(menuKey);
        EXPECT_EQ(menuKey.key, 'T') << "the toolkit opens the menu";
        ui::KeyEvent other{'Q', ui::shift::kAlt};
        t.window->keyDown(other);
        EXPECT_EQ(other.key, 0) << "never typed";
        EXPECT_EQ(t.speech.said("").back(), "\\\\@Nessun menu con la lettera Q\\\\");
        t.press(vk::kF1, ui::shift::kShift);  // the main window's, not this tutor's
        EXPECT_EQ(t.speech.said("").back(), "\\\\@Tasto non assegnato\\\\");
        EXPECT_TRUE(t.modal.open());
        EXPECT_EQ(t.memo2.text(), "#a+#b=");
        EXPECT_EQ(t.dialogs.beeps(), 2);
        t.button2.click();
    });
}

TEST(TutorWindow, ChordInputFollowsTheMainWindow) {
    Tutor t(TutorKind::Brackets);
    t.chordInput = true;
    const TutorOutcome out = t.open("Parentesi tonde", "?#a+#b*(#c=", [&t] {
        EXPECT_EQ(t.label2.caption(), "Input DattiloBraille");
        EXPECT_EQ(t.timer1.interval(), 300);
        // The cell "#" is dots 3, 4, 5 and 6: S, J, K and L together.
        for (char key : {'s', 'j', 'k', 'l'}) {
            t.press(vk::kA + (key - 'a'), 0, key);
        }
        EXPECT_EQ(t.memo2.text(), "#a+#b=") << "nothing typed before the chord closes";
        ASSERT_TRUE(t.timer1.fire());
        t.press(vk::kA + ('f' - 'a'), 0, 'f');
        ASSERT_TRUE(t.timer1.fire());
        EXPECT_EQ(t.memo2.text(), "#a+#b=#a");
        EXPECT_EQ(t.speech.said("last").back(), "#a+#b=#a");
        // Enter alone finishes the line.
        t.press(vk::kReturn, 0, '\r');
        ASSERT_TRUE(t.timer1.fire());
        EXPECT_EQ(t.memo2.text(), "#a+#b=#a");
        t.press('A', ui::shift::kCtrl);
    });
    EXPECT_EQ(out.result, "=#a(#c");

    // The operations tutor keeps its own 200 ms chord.
    Tutor ops(TutorKind::Operations);
    ops.chordInput = true;
    ops.open("Moltiplicazioni e divisioni", "#b(#c=", [&ops] {
        EXPECT_EQ(ops.timer1.interval(), 200);
        ops.button2.click();
    });
}

}  // namespace
}  // namespace learning
