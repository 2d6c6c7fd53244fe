#pragma once

// TForm2, the calculation sheet ("Foglio di calcolo"): a modal window in which the student
// carries out one written operation, one digit at a time, entirely from the keyboard, and
// hears every step through the sheet's own voice. The arithmetic is column_arithmetic.h.
//
// The operation comes in through the clipboard and the result goes back through it:
//   - the main window copies the selection to the clipboard and calls showModal(); when it
//     returns, the clipboard holds what the student copied (the result, or the expression,
//     " = " and the result), or still the selection when he copied nothing;
//   - another learning window calls openFromTool() (calc_sheet_opener.h): the same, with the
//     copy entries of the menu hidden.
//
// Keys act when released, for the whole window: A to J (or the digits, or the keypad with
// NumLock on) type the digits 1..9, 0 and Space a blank into the row or step line that has
// the focus; Up and Down choose the row, the arrows speak it. With chord input on in the main
// window, the six chord keys type the digits as cells instead. The expression box stays an
// ordinary one-line box.
//
// Ownership: TForm2 keeps references to its widgets, services and voice; the builder keeps
// them alive for as long as the TForm2 lives.

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "learning/calc_sheet_opener.h"
#include "learning/column_arithmetic.h"
#include "learning/tool_window.h"
#include "notation/chord_input.h"
#include "speech/sheet_voice.h"
#include "ui/dialogs.h"
#include "ui/services.h"
#include "ui/widgets.h"

namespace learning {

// The sheet's menu, in the order it shows.
enum class SheetCommand : int {
    None = 0,
    MenuFile,
    Copiarisultatoedesci1,      // Ctrl+X
    Copiaesprrisultatoedesci1,  // Ctrl+V
    Esci1,                      // Esc
    Ricomincia1,                // Shift+F1
    Aumentandecimali1,          // F2, division only
    Diminndecimali1,            // F3, division only
    Disattivasintesivocale1,    // F7
    Count
};

using SheetMenuEntry = ToolMenuEntry<SheetCommand>;
std::span<const SheetMenuEntry> sheetMenuTable();

inline constexpr std::size_t kPartialMemos = 5;

struct CalcSheetWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::MenuBar& menu;
    ui::TextBox& Edit1;  // the expression
    ui::TextBox& Memo1;  // column rows: addition, subtraction, the final sum of a product
    std::array<ui::TextBox*, kPartialMemos> partialMemos;  // Memo2..Memo6, one per multiplier digit
    std::array<ui::TextBox*, kMaxStepLines> stepLines;     // Edit2..Edit9, long division
    ui::TextBox& Edit10;                                   // the result
    ui::TextBox& Edit11;                                   // the remainder
    ui::Control& Label1;                                   // "N.dec." and the decimals asked
    ui::Control& Label2;                                   // the input mode
    ui::Control& StatusBar1;                               // "Esatto", "Sbagliato", "Overflow"
    ui::Control& Button1;                                  // "Esci"
    ui::Control& Button2;                                  // "Mem. risultato ed esci"
    ui::Control& Button3;                                  // "Mem. espressione+risultato ed esci"
    ui::Control& Button4;                                  // "Ricomincia"
    ui::Timer& Timer1;                                     // chord timer
    ui::Timer& Timer2;                                     // deferred speech
};

// The widgets of a toolkit's window built from calcSheetLayout(), by their names there, with
// the view's timers.
template <class Frame>
CalcSheetWidgets calcSheetWidgets(Frame& f, ui::Timer& timer1, ui::Timer& timer2) {
    std::array<ui::TextBox*, kPartialMemos> partials{};
    for (std::size_t i = 0; i < partials.size(); ++i) {
        partials[i] = &f.box("Memo" + std::to_string(i + 2));
    }
    std::array<ui::TextBox*, kMaxStepLines> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i] = &f.box("Edit" + std::to_string(i + 2));
    }
    return CalcSheetWidgets(f.window(), f.modal(), f.menu(), f.box("Edit1"), f.box("Memo1"),
                            partials, steps, f.box("Edit10"), f.box("Edit11"), f.control("Label1"),
                            f.control("Label2"), f.control("StatusBar1"), f.control("Button1"),
                            f.control("Button2"), f.control("Button3"), f.control("Button4"),
                            timer1, timer2);
}

struct CalcSheetServices {
    ui::Dialogs& dialogs;
    ui::Clipboard& clipboard;
    ui::Keyboard& keyboard;
};

// What the sheet reads from the main window each time it opens. Unset functions mean keyboard
// input, a 200 ms chord interval and speech on.
struct SheetHost {
    std::function<bool()> chordInput;    // the main window takes chord input
    std::function<int()> chordInterval;  // its chord timer interval in milliseconds
    std::function<bool()> speechOn;      // the main window's speech is on
};

class TForm2 : public ui::KeyListener, public ui::ModalWindow, public CalcSheetOpener {
public:
    TForm2(CalcSheetWidgets widgets, CalcSheetServices services, speech::SheetVoice& voice,
           SheetHost host = {});
    ~TForm2() override;
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // ui::ModalWindow: opened by the main window on the operation it put on the clipboard.
    void showModal() override;
    // Closes the sheet as closing its window does.
    void closeModal() override;
    // CalcSheetOpener: opened by another learning window.
    std::string openFromTool(std::string_view expression) override;

    // ---- events (the builder forwards them; the widgets' callbacks call them too)
    void FormActivate();
    bool FormCloseQuery();
    void Timer1Timer();
    void Timer2Timer();
    bool runCommand(SheetCommand id);  // false when disabled or without action
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

    // ---- state, for the view and the tests
    bool openedFromTool() const { return fromTool_; }
    bool chordInput() const { return chord_; }
    int decimalsAsked() const { return decimalsAsked_; }
    const std::optional<Operation>& operation() const { return operation_; }
    const CalcSheetWidgets& widgets() const { return w_; }
    ui::Control& menuItem(SheetCommand id) { return w_.menu.item(static_cast<int>(id)); }

private:
    // One of the boxes the student works in.
    struct WorkArea {
        ui::TextBox* box = nullptr;
        int firstRow = 0;  // the first row that takes an answer
        int row = 0;       // the current row
    };

    void open(bool fromTool);
    void activate(std::string_view text);
    void clearSheet();
    void layOutColumns();
    void layOutProduct();
    void layOutDivision();
    void refuse(std::string_view message);

    WorkArea* focusedArea();
    int stepLineFocused() const;
    void enterCell(char cell);
    void enterRow(WorkArea& area, char cell);
    void enterStep(char cell);
    void afterRows(WorkArea& area);
    void buildFinalSum();
    void judgeRows(WorkArea& area);
    void showVerdict(bool right, const std::string& result, std::string_view status);
    void moveRow(WorkArea& area, int by);
    void moveStep(int by);
    void focusArea(WorkArea& area);
    void placeCaret(WorkArea& area);
    void speakRow(const WorkArea& area);
    void sayStep(std::string_view line);
    void say(std::string_view message);
    void sayWords(std::string_view words);
    // The verdict in the status bar; a notice of why a key did nothing stays until the next key.
    void setStatus(std::string_view status);
    void explain(std::string_view reason);

    void copyResultAndClose(std::string_view joiner);
    void finish();
    void restart();
    void changeDecimals(int by);
    void refreshMenu();

    CalcSheetWidgets w_;
    CalcSheetServices s_;
    speech::SheetVoice& voice_;
    SheetHost host_;

    std::string openingText_;  // what the sheet was opened on, for "Ricomincia"
    bool fromTool_ = false;
    bool activationPending_ = false;
    bool keyDown_ = false;  // a key other than a modifier is down
    bool restartedThisKey_ = false;
    bool chord_ = false;
    notation::ChordCollector chordKeys_;
    std::string status_;        // the verdict the status bar shows
    bool noticeShown_ = false;  // it shows why a key did nothing instead

    std::optional<Operation> operation_;
    int decimalsAsked_ = 0;
    WorkArea columns_;
    std::array<WorkArea, kPartialMemos> partials_;
    std::size_t tableCount_ = 0;
    bool finalSum_ = false;  // the column memo holds the final sum of a product
    std::optional<LongDivision> division_;
    int step_ = 0;  // the step line being worked on
};

}  // namespace learning
