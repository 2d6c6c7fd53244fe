#pragma once

// The tutor windows: brackets (TForm10, "Tutor- parentesi"), operations (TForm11, "Tutor -
// operazioni") and complex fractions (TForm13, "Tutor -Frazioni complesse"). The main window
// opens one modally on the caret's line and a step (tutor_opener.h); the window lists the work
// of that step (tutor_work_list.h) and the student writes the working after each line's "=".
//
// The window:
//   - `Memo1` (read-only) shows the expression as it came, the part of the step marked
//     (selected), and under it the expression with the labels of the work lines;
//   - `Memo2` is the work area, one work line per unit; the listed part of each line stays as
//     it is (keys that would change it are refused), the student types after it, in Braille
//     cells, by keyboard or by chord as in the main window;
//   - Enter finishes the line: its structure is examined (tutor_answer.h); when the listed part
//     and the answer both have a value (tutor_value.h) "Esatto" or "Sbagliato" is said, and
//     after a right or unjudged answer the caret goes to the next work line, which is spoken;
//     Esc puts the work list back as it was built;
//   - `Image1` draws the expression, its mark where the step's first part begins, and the
//     caret's work line as mathematics;
//   - "Riporta risultato ed esci" (Ctrl+A) leaves the result line for the main window, "Esci"
//     (Ctrl+X; Ctrl+Z in the operations tutor) leaves nothing; the "Tutor" menu of the brackets
//     and complex-fractions tutors leaves the result and asks the main window to take another
//     step on it.
// Every key spoken goes to the speech reader as in the main window.
//
// Ownership: the window keeps references to its widgets, services and speech sink; the builder
// keeps them alive for as long as the window lives.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "learning/tutor_answer.h"
#include "learning/tutor_opener.h"
#include "learning/tutor_work_list.h"
#include "notation/chord_input.h"
#include "speech/speech_request.h"
#include "ui/dialogs.h"
#include "ui/keys.h"
#include "ui/widgets.h"

namespace learning {

enum class TutorCommand : int {
    None = 0,
    MenuFile,
    Riportarisultatoedesci1,
    Esci1,
    MenuTutor,
    Parentesitonde1,
    Parentesiquadre1,
    Parentesigraffe1,
    Addizioniesottrazioni1,
    Moltiplicazioniedivisioni1,
    Potenze1,
    Proprietadellepotenze1,
    Count
};

struct TutorMenuEntry {
    TutorCommand id;
    TutorCommand parent;  // TutorCommand::None for a menu of the menu bar
    std::string_view name;
    std::string_view caption;
    ui::Shortcut shortcut;
    std::optional<TutorStep> step;  // the step an entry of the "Tutor" menu moves to
};

// The menus of a tutor window, in the order they show.
std::vector<TutorMenuEntry> tutorMenuTable(TutorKind kind);

// The caption of a tutor window.
std::string_view tutorCaption(TutorKind kind);

struct TutorWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::MenuBar& menu;
    ui::TextBox& Memo1;    // the expression, read-only
    ui::TextBox& Memo2;    // the work area
    ui::MathView& Image1;  // the expression as mathematics
    ui::Control& Label1;   // the step
    ui::Control& Label2;   // the input mode
    ui::Control& Button1;  // "Riporta risultato ed esci"
    ui::Control& Button2;  // "Esci"
    ui::Timer& Timer1;     // chord timer
};

// The widgets of a toolkit's window built from tutorLayout(), by their names there, with the
// view's timer.
template <class Frame>
TutorWidgets tutorWidgets(Frame& f, ui::Timer& timer1) {
    return TutorWidgets(f.window(), f.modal(), f.menu(), f.box("Memo1"), f.box("Memo2"),
                        f.picture("Image1"), f.control("Label1"), f.control("Label2"),
                        f.control("Button1"), f.control("Button2"), timer1);
}

// What the window reads from the main window each time it opens. Unset functions mean
// keyboard input, a 200 ms chord interval and speech on.
struct TutorHost {
    std::function<bool()> chordInput;
    std::function<int()> chordInterval;
    std::function<bool()> speechOn;
    std::string programDirectory;
};

class TutorWindow : public ui::KeyListener, public TutorOpener {
public:
    TutorWindow(TutorKind kind, TutorWidgets widgets, ui::Dialogs& dialogs,
                speech::RequestSink* speech, TutorHost host = {});
    ~TutorWindow() override;
    TutorWindow(const TutorWindow&) = delete;
    TutorWindow& operator=(const TutorWindow&) = delete;

    // TutorOpener: shows the window modally on `line` for the step of `stepCaption`.
    TutorOutcome openTutor(std::string_view stepCaption, std::string_view line) override;

    // ---- events (the builder forwards them; the widgets' callbacks call them too)
    void FormActivate();
    bool FormCloseQuery();
    void Timer1Timer();
    void Button1Click();  // "Riporta risultato ed esci"
    void Button2Click();  // "Esci"
    bool runCommand(TutorCommand id);

    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

    // ---- state, for the view and the tests
    TutorKind kind() const { return kind_; }
    std::optional<TutorStep> step() const { return step_; }
    const std::optional<WorkList>& workList() const { return list_; }
    bool chordInput() const { return chord_; }
    ui::Control& menuItem(TutorCommand id) { return w_.menu.item(static_cast<int>(id)); }

private:
    void activate();
    void refuse(std::string_view message);
    // A key that cannot act says why: a beep and the reason spoken.
    void explain(std::string_view reason);
    void finish(std::optional<TutorStep> next, bool withResult);
    void restoreWorkList();
    std::vector<std::string> workLines() const;
    // The work line holding the caret, and where its listed part ends in the text.
    struct CaretLine {
        std::size_t index = 0;
        std::size_t start = 0;         // offset of the line in Memo2
        std::size_t protectedEnd = 0;  // offset just after the listed part
        std::size_t end = 0;           // offset of the line's end
    };
    std::optional<CaretLine> caretLine() const;
    bool insideListedPart(std::size_t offset) const;
    bool backspaceAllowed() const;
    bool checkLine(std::size_t index);
    // Says whether the line's answer has the value of its listed part; false when it has not.
    bool judgeLine(std::size_t index);
    void finishLine();
    void placeCaretAtEnd(std::size_t index);
    void typeCells(std::string_view cells);
    void speak(speech::Request request);
    void speakLine();
    void drawPicture();

    TutorKind kind_;
    TutorWidgets w_;
    ui::Dialogs& dialogs_;
    speech::RequestSink* speech_;
    TutorHost host_;
    std::vector<TutorMenuEntry> menu_;

    std::string line_;  // the caret's line as the main window gave it
    std::optional<TutorStep> step_;
    std::optional<WorkList> list_;
    std::optional<std::size_t> marked_;  // where the first part of the step stands in line_
    TutorOutcome outcome_;
    bool activationPending_ = false;
    bool chord_ = false;
    notation::ChordCollector chordKeys_;
};

class TForm10 : public TutorWindow {
public:
    TForm10(TutorWidgets widgets, ui::Dialogs& dialogs, speech::RequestSink* speech,
            TutorHost host = {})
        : TutorWindow(TutorKind::Brackets, widgets, dialogs, speech, std::move(host)) {}
};

class TForm11 : public TutorWindow {
public:
    TForm11(TutorWidgets widgets, ui::Dialogs& dialogs, speech::RequestSink* speech,
            TutorHost host = {})
        : TutorWindow(TutorKind::Operations, widgets, dialogs, speech, std::move(host)) {}
};

class TForm13 : public TutorWindow {
public:
    TForm13(TutorWidgets widgets, ui::Dialogs& dialogs, speech::RequestSink* speech,
            TutorHost host = {})
        : TutorWindow(TutorKind::ComplexFractions, widgets, dialogs, speech, std::move(host)) {}
};

}  // namespace learning
