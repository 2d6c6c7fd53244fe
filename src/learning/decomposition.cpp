#include "learning/decomposition.h"

#include <array>

#include "learning/messages.h"
#include "learning/text_box_rows.h"
#include "speech/request_sources.h"
#include "ui/text_trim.h"

namespace learning {
namespace {

namespace msg = messages;
namespace vk = ui::vk;
using C = DecompositionCommand;

constexpr std::array kMenu = {
    DecompositionMenuEntry{C::MenuFile, C::None, "File1", msg::kMenuFile, {}},
    DecompositionMenuEntry{C::Escisenzamemorizzare1,
                           C::MenuFile,
                           "Escisenzamemorizzare1",
                           msg::kExitWithoutStoring,
                           {vk::kEscape, 0}},
    DecompositionMenuEntry{C::Uscita1, C::MenuFile, "Uscita1", msg::kQuit, {'X', ui::shift::kCtrl}},
    DecompositionMenuEntry{C::Memorizzarisultatoedesci1,
                           C::MenuFile,
                           "Memorizzarisultatoedesci1",
                           msg::kStoreDecompositionMenu,
                           {'C', ui::shift::kCtrl}},
    DecompositionMenuEntry{C::Aprifogliocalcolo1,
                           C::MenuFile,
                           "Aprifogliocalcolo1",
                           msg::kOpenSheet,
                           {'A', ui::shift::kCtrl}},
};

}  // namespace

std::span<const DecompositionMenuEntry> decompositionMenuTable() {
    return kMenu;
}

TForm9::TForm9(DecompositionWidgets widgets, DecompositionServices services, ToolHost host,
               CalcSheetOpener* sheet)
    : ToolWindow(widgets, kMenu, services, std::move(host)), w_(widgets), sheet_(sheet) {
    frame_.start(
        msg::kDecompositionCaption, this, [this] { FormActivate(); },
        [this](DecompositionCommand id) { return runCommand(id); });
    w_.Label1.setCaption(msg::kEqualsLabel);
    w_.Label2.setCaption(msg::kEqualsLabel);
    // The step buttons are named for their first work until a stage gives them a count.
    wireButtons({{w_.Button1, msg::kRoundGroups, [this] { StepClick(); }},
                 {w_.Button2, msg::kProceed, [this] { ProcediClick(); }},
                 {w_.Button3, msg::kPowers, [this] { InnerStepClick(); }},
                 {w_.Button4, msg::kProceed, [this] { InnerProcediClick(); }},
                 {w_.Button5, msg::kRestart, [this] { RicominciaClick(); }},
                 {w_.Button6, msg::kExit, [this] { EsciClick(); }},
                 {w_.Button7, msg::kStoreDecomposition, [this] { MemorizzaClick(); }}});
    for (ui::TextBox* box : {&w_.Memo1, &w_.Edit1, &w_.Edit3}) {
        box->setReadOnly(true);
    }
    for (ui::TextBox* box : {&w_.Memo1, &w_.Edit1, &w_.Edit2, &w_.Edit3, &w_.Edit4}) {
        box->setOnClick([this] { noticeFocus(); });
    }
}

// ---- opening and closing

void TForm9::FormActivate() {
    // Activated again whenever a message box or the sheet over it closes: the expression is
    // taken once per showing.
    if (!frame_.firstActivation()) {
        return;
    }
    start(std::string(ui::trimControls(host_.selection ? host_.selection() : "")));
}

void TForm9::start(std::string expression) {
    expression_ = std::move(expression);
    history_ = {expression_};
    setHistory();
    w_.Button5.setVisible(false);
    frame_.setLastFocused(nullptr);
    computeStage();
}

// ---- the stages

void TForm9::showWork(bool shown) {
    if (!shown) {
        w_.Edit1.setText("");
    }
    w_.Edit2.setText("");
    for (ui::Widget* widget :
         std::initializer_list<ui::Widget*>{&w_.Edit1, &w_.Label1, &w_.Edit2, &w_.Button2}) {
        widget->setVisible(shown);
    }
}

void TForm9::showInner(bool shown) {
    w_.Edit3.setText("");
    w_.Edit4.setText("");
    for (ui::Widget* widget :
         std::initializer_list<ui::Widget*>{&w_.Edit3, &w_.Label2, &w_.Edit4, &w_.Button4}) {
        widget->setVisible(shown);
    }
    if (!shown) {
        w_.Button3.setVisible(false);
        inner_ = {};
    }
}

void TForm9::computeStage() {
    stage_ = stageOf(countWork(expression_));
    pieceTaken_ = false;
    showInner(false);
    switch (stage_.kind) {
        case StepKind::Nothing:
            w_.Button1.setVisible(false);
            showWork(false);
            w_.Button6.setFocus();
            if (history_.size() == 1) {
                sayCaption(msg::kNothingToDecompose);
            }
            break;
        case StepKind::Final:
            // The student gives the value of what is left, which the history shows last.
            if (history_.back() != expression_) {
                history_.push_back(expression_);
                setHistory();
            }
            w_.Button1.setVisible(false);
            showWork(true);
            piece_ = {0, expression_.size(), expression_};
            pieceTaken_ = true;
            w_.Edit1.setText(history_.back());
            w_.Edit2.setFocus();
            sayText(history_.back());
            break;
        default:
            w_.Button1.setCaption(stepCaption(stage_.kind, stage_.count));
            w_.Button1.setVisible(true);
            showWork(false);
            w_.Button1.setFocus();
            sayCaption(w_.Button1.caption());
            break;
    }
    noticeFocus();
}

void TForm9::StepClick() {
    if (!w_.Button1.visible()) {
        return;
    }
    const std::optional<WorkPiece> piece = stage_.kind == StepKind::MulDiv
                                               ? nextOperation(expression_)
                                               : nextGroup(expression_, stage_.kind);
    if (!piece) {
        // Counted but never closed: the student mends the expression in the page.
        sayCaption(msg::kUnbalanced);
        s_.dialogs.message(
            {std::string(msg::kUnbalanced), std::string(msg::kErrorCaption), ui::Icon::Error});
        return;
    }
    piece_ = *piece;
    pieceTaken_ = true;
    showInner(false);
    showWork(true);
    w_.Edit1.setText(piece_.shown);
    sayText(piece_.shown);
    if (stage_.kind != StepKind::MulDiv) {
        takeInnerStage();
    } else {
        w_.Edit2.setFocus();
    }
    noticeFocus();
}

void TForm9::takeInnerStage() {
    inner_ = innerStageOf(countWork(w_.Edit1.text()));
    if (inner_.kind == InnerKind::Nothing) {
        w_.Button3.setVisible(false);
        w_.Edit2.setFocus();
        return;
    }
    w_.Button3.setCaption(innerCaption(inner_.kind, inner_.count));
    w_.Button3.setVisible(true);
    w_.Button3.setFocus();
    sayCaption(w_.Button3.caption());
}

void TForm9::InnerStepClick() {
    if (!w_.Button3.visible() || inner_.kind == InnerKind::Nothing) {
        return;
    }
    const std::string group = w_.Edit1.text();
    const std::optional<WorkPiece> piece =
        inner_.kind == InnerKind::Powers ? nextPower(group) : nextOperation(group);
    if (!piece) {
        return;  // counted work is always found; nothing to take otherwise
    }
    innerPiece_ = *piece;
    showInner(true);
    w_.Button3.setVisible(true);
    w_.Edit3.setText(innerPiece_.shown);
    w_.Edit4.setFocus();
    sayText(innerPiece_.shown);
    noticeFocus();
}

bool TForm9::acceptable(std::string_view value) {
    if (bracketsBalance(value)) {
        return true;
    }
    sayCaption(msg::kUnbalanced);
    s_.dialogs.message(
        {std::string(msg::kUnbalanced), std::string(msg::kErrorCaption), ui::Icon::Error});
    return false;
}

void TForm9::InnerProcediClick() {
    const std::string value = valueToStore(w_.Edit4.text());
    if (value.empty() || w_.Edit3.text().empty()) {
        explain(w_.Edit3.text().empty() ? msg::kNoWork : msg::kNoValue);
        return;
    }
    if (!acceptable(value)) {
        return;
    }
    w_.Button5.setVisible(true);
    // The value goes back into the group at once (the inner "Sostituisci").
    std::string group = w_.Edit1.text();
    group.replace(innerPiece_.start, innerPiece_.length, value);
    w_.Edit1.setText(group);
    showInner(false);
    sayText(group);
    takeInnerStage();
    noticeFocus();
}

void TForm9::ProcediClick() {
    const std::string value = valueToStore(w_.Edit2.text());
    if (value.empty() || w_.Edit1.text().empty() || !pieceTaken_) {
        explain(w_.Edit1.text().empty() || !pieceTaken_ ? msg::kNoWork : msg::kNoValue);
        return;
    }
    if (!acceptable(value)) {
        return;
    }
    w_.Button5.setVisible(true);
    const bool final = stage_.kind == StepKind::Final;
    const bool lastOfItsKind =
        w_.Button1.visible() && w_.Button1.caption().find("(1)") != std::string::npos;
    expression_.replace(piece_.start, piece_.length, value);
    if (final || lastOfItsKind) {
        history_.push_back(expression_);
        setHistory();
    }
    computeStage();
    if (stage_.kind == StepKind::Nothing) {
        // The result: the work boxes go, the history can be stored.
        (final ? w_.Button7 : w_.Button6).setFocus();
        sayText(expression_);
    }
}

void TForm9::RicominciaClick() {
    start(history_.front());
}

void TForm9::EsciClick() {
    frame_.close();
}

void TForm9::MemorizzaClick() {
    const std::string text = w_.Memo1.text();
    w_.Memo1.setSelection(0, text.size());
    s_.clipboard.setText(text);
    if (host_.pasteIntoBraillePage) {
        host_.pasteIntoBraillePage();
    }
    frame_.close();
}

void TForm9::AprifogliocalcoloClick() {
    const bool inner = w_.Edit3.visible() && !w_.Edit3.text().empty();
    ui::TextBox& work = inner ? w_.Edit3 : w_.Edit1;
    ui::TextBox& answer = inner ? w_.Edit4 : w_.Edit2;
    const std::string operation = work.text();
    const SelectionProblem problem = checkSelection(operation);
    if (!work.visible() || problem != SelectionProblem::None || sheet_ == nullptr) {
        // The sheet takes one operation: the student hears why it does not open.
        const std::string_view why = !work.visible() || operation.empty()
                                         ? msg::kNoExpression
                                         : selectionProblemText(problem);
        sayCaption(why.empty() ? msg::kNoExpression : why);
        s_.dialogs.message({std::string(why.empty() ? msg::kNoExpression : why), operation,
                            ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    s_.clipboard.setText(operation);
    std::string result = sheet_->openFromTool(operation);
    // "2+3 = 5" when the student copied the expression too: the answer is what follows "=".
    if (const std::size_t equals = result.rfind('='); equals != std::string::npos) {
        result = result.substr(equals + 1);
    }
    result = std::string(ui::trimBlanks(result));
    if (result != operation && !result.empty()) {
        answer.setText(result);
        answer.setSelStart(result.size());
    }
    answer.setFocus();
    frame_.setLastFocused(&answer);
    sayText(answer.text());
}

bool TForm9::runCommand(DecompositionCommand id) {
    switch (id) {
        case C::Escisenzamemorizzare1:
        case C::Uscita1:
            EsciClick();
            return true;
        case C::Memorizzarisultatoedesci1:
            MemorizzaClick();
            return true;
        case C::Aprifogliocalcolo1:
            AprifogliocalcoloClick();
            return true;
        default:
            return false;
    }
}

void TForm9::setHistory() {
    setRows(w_.Memo1, history_);
}

// ---- focus, keys and speech

void TForm9::sayText(std::string_view text) {
    speakCode(host_, vk::kUp, std::string(text));
}

void TForm9::sayCaption(std::string_view caption) {
    // Captions are words, not cells: said as they are written.
    speakCode(host_, speech::kKeyCodeError, std::string(caption));
}

void TForm9::noticeFocus() {
    frame_.noticeFocus({&w_.Memo1, &w_.Edit1, &w_.Edit2, &w_.Edit3, &w_.Edit4},
                       [this](const ui::TextBox* box) { entered(box); });
}

void TForm9::entered(const ui::TextBox* box) {
    if (box == &w_.Memo1) {
        speakCode(host_, vk::kUp, lineToCaret(*box, 0, box->text().size()));
    } else if (box != nullptr) {
        sayText(box->text());
    }
}

void TForm9::keyDown(ui::KeyEvent& event) {
    if (frame_.commandKeyDown(event, [this](std::string_view reason) { explain(reason); })) {
        return;
    }
    // Enter in an answer box accepts the value, as its "Procedi" does.
    if (event.key == vk::kReturn && event.shift == 0 &&
        (w_.Edit2.focused() || w_.Edit4.focused())) {
        frame_.take(event);
        if (w_.Edit2.focused()) {
            ProcediClick();
        } else {
            InnerProcediClick();
        }
        return;
    }
    for (ui::TextBox* box : {&w_.Edit2, &w_.Edit4}) {
        if (box->focused()) {
            typing_.keyDown(*box, event, 0);
        }
    }
}

void TForm9::keyPress(ui::KeyPress& press) {
    typing_.keyPress(press);
}

void TForm9::keyUp(ui::KeyEvent& event) {
    if (frame_.commandKeyUp(event)) {
        return;
    }
    const ui::TextBox* before = frame_.lastFocused();
    noticeFocus();
    if (frame_.lastFocused() != before || event.key == 0) {
        return;
    }
    if (w_.Memo1.focused() && (event.key == vk::kUp || event.key == vk::kDown)) {
        speakCode(host_, vk::kUp, lineToCaret(w_.Memo1, 0, w_.Memo1.text().size()));
        return;
    }
    for (ui::TextBox* box : {&w_.Edit2, &w_.Edit4}) {
        if (box->focused()) {
            typing_.keyUp(*box, event, 0);
        }
    }
}

}  // namespace learning
