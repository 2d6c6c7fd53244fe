#include "learning/tutor_window.h"

#include <algorithm>

#include "learning/messages.h"
#include "learning/text_box_rows.h"
#include "learning/tool_window.h"
#include "learning/tutor_value.h"
#include "speech/request_sources.h"

namespace learning {
namespace {

namespace msg = messages;
namespace vk = ui::vk;
using C = TutorCommand;

constexpr int kPictureLineHeight = 32;

ui::Shortcut shiftF(int n) {
    return {vk::kF1 + n - 1, ui::shift::kShift};
}

}  // namespace

std::vector<TutorMenuEntry> tutorMenuTable(TutorKind kind) {
    const ui::Shortcut exitKeys{kind == TutorKind::Operations ? 'Z' : 'X', ui::shift::kCtrl};
    std::vector<TutorMenuEntry> table{
        {C::MenuFile, C::None, "File1", msg::kMenuFile, {}, std::nullopt},
        {C::Riportarisultatoedesci1,
         C::MenuFile,
         "Riportarisultatoedesci1",
         msg::kReportResult,
         {'A', ui::shift::kCtrl},
         std::nullopt},
        {C::Esci1, C::MenuFile, "Esci1", msg::kExit, exitKeys, std::nullopt},
    };
    if (kind == TutorKind::Operations) {
        return table;
    }
    table.push_back({C::MenuTutor, C::None, "Tutor1", msg::kMenuTutor, {}, std::nullopt});
    // The complex-fractions tutor may go on to the brackets as well; both move on to the
    // operations with the same keys.
    if (kind == TutorKind::ComplexFractions) {
        table.push_back({C::Parentesitonde1, C::MenuTutor, "Parentesitonde1",
                         stepCaption(TutorStep::RoundBrackets), shiftF(1),
                         TutorStep::RoundBrackets});
        table.push_back({C::Parentesiquadre1, C::MenuTutor, "Parentesiquadre1",
                         stepCaption(TutorStep::SquareBrackets), shiftF(2),
                         TutorStep::SquareBrackets});
        table.push_back({C::Parentesigraffe1, C::MenuTutor, "Parentesigraffe1",
                         stepCaption(TutorStep::Braces), shiftF(3), TutorStep::Braces});
    }
    table.push_back({C::Addizioniesottrazioni1, C::MenuTutor, "Addizioniesottrazioni1",
                     stepCaption(TutorStep::AdditionsSubtractions), shiftF(4),
                     TutorStep::AdditionsSubtractions});
    table.push_back({C::Moltiplicazioniedivisioni1, C::MenuTutor, "Moltiplicazioniedivisioni1",
                     stepCaption(TutorStep::MultiplicationsDivisions), shiftF(5),
                     TutorStep::MultiplicationsDivisions});
    table.push_back({C::Potenze1, C::MenuTutor, "Potenze1", stepCaption(TutorStep::Powers),
                     shiftF(6), TutorStep::Powers});
    table.push_back({C::Proprietadellepotenze1, C::MenuTutor, "Proprietadellepotenze1",
                     stepCaption(TutorStep::PowerProperties), shiftF(7),
                     TutorStep::PowerProperties});
    return table;
}

std::string_view tutorCaption(TutorKind kind) {
    switch (kind) {
        case TutorKind::Brackets:
            return msg::kBracketsTutorCaption;
        case TutorKind::Operations:
            return msg::kOperationsTutorCaption;
        case TutorKind::ComplexFractions:
            return msg::kFractionsTutorCaption;
    }
    return {};
}

TutorWindow::TutorWindow(TutorKind kind, TutorWidgets widgets, ui::Dialogs& dialogs,
                         speech::RequestSink* speech, TutorHost host)
    : kind_(kind),
      w_(widgets),
      dialogs_(dialogs),
      speech_(speech),
      host_(std::move(host)),
      menu_(tutorMenuTable(kind)) {
    startForm(
        w_.form, tutorCaption(kind), this, [this] { FormActivate(); },
        [this] { return FormCloseQuery(); });
    // Only the items of this tutor's table show.
    for (int id = 1; id < static_cast<int>(C::Count); ++id) {
        const bool shown = std::any_of(menu_.begin(), menu_.end(), [id](const TutorMenuEntry& e) {
            return static_cast<int>(e.id) == id;
        });
        w_.menu.item(id).setVisible(shown);
        w_.menu.item(id).setEnabled(shown);
    }
    wireMenu(w_.menu, std::span<const TutorMenuEntry>(menu_),
             [this](TutorCommand id) { runCommand(id); });
    wireButtons({{w_.Button1, msg::kReportResult, [this] { Button1Click(); }},
                 {w_.Button2, msg::kExit, [this] { Button2Click(); }}});
    w_.Memo1.setReadOnly(true);
    w_.Timer1.setEnabled(false);
    w_.Timer1.setOnTimer([this] { Timer1Timer(); });
}

TutorWindow::~TutorWindow() = default;

TutorOutcome TutorWindow::openTutor(std::string_view stepCaption, std::string_view line) {
    outcome_ = {};
    line_ = std::string(line);
    step_ = learning::stepFromCaption(stepCaption);
    list_.reset();
    w_.Label1.setCaption(stepCaption);
    w_.Memo1.setText({});
    w_.Memo2.setText({});
    activationPending_ = true;
    w_.modal.showModal();
    activationPending_ = false;
    return outcome_;
}

// ---- activation and closing

void TutorWindow::FormActivate() {
    // Activated again whenever a message box over the window closes: the work list is built
    // once per showing.
    if (!activationPending_) {
        return;
    }
    activationPending_ = false;
    activate();
}

void TutorWindow::activate() {
    chord_ = host_.chordInput && host_.chordInput();
    const int interval = host_.chordInterval ? host_.chordInterval() : kDefaultChordInterval;
    w_.Timer1.setInterval(kind_ == TutorKind::Operations ? kDefaultChordInterval : interval);
    w_.Timer1.setEnabled(false);
    chordKeys_.close();
    w_.Label2.setCaption(chord_ ? msg::kInputChord : msg::kInputKeyboard);

    const WorkListResult built = step_ ? buildWorkList(*step_, line_)
                                       : WorkListResult{std::nullopt, WorkListError::NotWorkable};
    if (!built.list) {
        refuse(built.error == WorkListError::EqualsInside ? msg::kEqualsInside : msg::kNotWorkable);
        finish(std::nullopt, false);
        return;
    }
    list_ = built.list;
    w_.Memo1.setText(line_ + std::string(kLineBreak) + list_->labelled);
    // The part of the first unit is marked in the expression.
    marked_.reset();
    if (const std::size_t at = line_.find(list_->units.front().original); at != std::string::npos) {
        marked_ = at;
        w_.Memo1.setSelection(at, list_->units.front().original.size());
    }
    restoreWorkList();
}

bool TutorWindow::FormCloseQuery() {
    w_.Timer1.setEnabled(false);
    chordKeys_.close();
    activationPending_ = false;
    return true;
}

void TutorWindow::refuse(std::string_view message) {
    dialogs_.beep();
    dialogs_.warning(message);
}

void TutorWindow::explain(std::string_view reason) {
    dialogs_.beep();
    w_.form.announce(reason);
    speak(speech::announcementRequest(host_.programDirectory, reason));
}

void TutorWindow::finish(std::optional<TutorStep> next, bool withResult) {
    if (withResult && list_) {
        const std::vector<std::string> lines = workLines();
        for (std::size_t k = 0; k < list_->units.size(); ++k) {
            if (!checkLine(k)) {
                placeCaretAtEnd(k);
                return;
            }
        }
        outcome_.result = resultLine(*list_, lines);
        outcome_.next = next;
    }
    FormCloseQuery();
    w_.modal.closeModal();
}

void TutorWindow::Button1Click() {
    finish(std::nullopt, true);
}

void TutorWindow::Button2Click() {
    finish(std::nullopt, false);
}

bool TutorWindow::runCommand(TutorCommand id) {
    for (const TutorMenuEntry& e : menu_) {
        if (e.id != id || !menuItem(id).enabled()) {
            continue;
        }
        if (id == C::Riportarisultatoedesci1) {
            Button1Click();
        } else if (id == C::Esci1) {
            Button2Click();
        } else if (e.step) {
            finish(e.step, true);
        } else {
            return false;
        }
        return true;
    }
    return false;
}

// ---- the work area

std::vector<std::string> TutorWindow::workLines() const {
    return splitLines(w_.Memo2.text());
}

void TutorWindow::restoreWorkList() {
    if (!list_) {
        return;
    }
    std::vector<std::string> lines;
    for (const WorkUnit& u : list_->units) {
        lines.push_back(u.line);
    }
    w_.Memo2.setText(joinLines(lines));
    placeCaretAtEnd(0);
    speakLine();
    drawPicture();
}

std::optional<TutorWindow::CaretLine> TutorWindow::caretLine() const {
    if (!list_) {
        return std::nullopt;
    }
    const std::string text = w_.Memo2.text();
    const std::size_t caret = std::min(w_.Memo2.selStart(), text.size());
    CaretLine c;
    c.start = speech::lineStart(text, caret);
    for (std::size_t at = text.find(kLineBreak); at != std::string::npos && at < c.start;
         at = text.find(kLineBreak, at + kLineBreak.size())) {
        ++c.index;
    }
    c.end = text.find(kLineBreak, c.start);
    if (c.end == std::string::npos) {
        c.end = text.size();
    }
    const std::string_view line = std::string_view(text).substr(c.start, c.end - c.start);
    if (c.index < list_->units.size() &&
        line.substr(0, list_->units[c.index].line.size()) == list_->units[c.index].line) {
        c.protectedEnd = c.start + list_->units[c.index].line.size();
    } else {
        const std::size_t equals = line.find('=');
        c.protectedEnd = equals == std::string_view::npos ? c.end : c.start + equals + 1;
    }
    return c;
}

bool TutorWindow::insideListedPart(std::size_t offset) const {
    const auto c = caretLine();
    return !c || offset < c->protectedEnd;
}

bool TutorWindow::backspaceAllowed() const {
    const auto line = caretLine();
    const std::size_t caret = w_.Memo2.selStart();
    const std::size_t selection = w_.Memo2.selLength();
    if (!line) {
        return false;
    }
    if (selection == 0) {
        return caret > line->protectedEnd;
    }
    return caret >= line->protectedEnd && caret + selection <= line->end;
}

bool TutorWindow::checkLine(std::size_t index) {
    const std::vector<std::string> lines = workLines();
    if (!list_ || index >= lines.size() || index >= list_->units.size()) {
        return true;
    }
    const std::string& listed = list_->units[index].line;
    const std::string& line = lines[index];
    const std::string_view written = line.substr(0, listed.size()) == listed
                                         ? std::string_view(line).substr(listed.size())
                                         : std::string_view(line);
    if (auto problem = examineAnswer(kind_, written)) {
        placeCaretAtEnd(index);
        refuse(answerMessage(*problem));
        return false;
    }
    return true;
}

bool TutorWindow::judgeLine(std::size_t index) {
    const std::vector<std::string> lines = workLines();
    if (!list_ || index >= lines.size() || index >= list_->units.size()) {
        return true;
    }
    const WorkUnit& unit = list_->units[index];
    const std::optional<std::string> answer = unitAnswer(unit, lines[index]);
    std::string_view listed = unit.line;
    listed.remove_suffix(1);  // its "="
    const std::optional<Rational> expected = expressionValue(listed);
    const std::optional<Rational> given = answer ? expressionValue(*answer) : std::nullopt;
    if (!expected || !given) {
        return true;  // nothing to judge: a letter, a label, no answer yet
    }
    const bool right = *expected == *given;
    // The verdict is heard whole before the line that follows it is read.
    const std::string_view verdict = right ? msg::kAnswerRight : msg::kAnswerWrong;
    w_.form.announce(verdict);
    speak(speech::keyCodeRequest(host_.programDirectory, speech::kKeyCodeError,
                                 std::string(verdict)));
    return right;
}

void TutorWindow::finishLine() {
    const auto c = caretLine();
    if (!c || !checkLine(c->index)) {
        return;
    }
    if (!judgeLine(c->index)) {
        return;  // a wrong answer: the caret stays for the student to correct it
    }
    const std::size_t next = c->index + 1 < list_->units.size() ? c->index + 1 : c->index;
    placeCaretAtEnd(next);
    speakLine();
    drawPicture();
}

void TutorWindow::placeCaretAtEnd(std::size_t index) {
    const std::string text = w_.Memo2.text();
    std::size_t end = 0;
    for (std::size_t k = 0; k <= index; ++k) {
        end = text.find(kLineBreak, k == 0 ? 0 : end + kLineBreak.size());
        if (end == std::string::npos) {
            end = text.size();
            break;
        }
    }
    w_.Memo2.setFocus();
    w_.Memo2.setSelStart(end);
}

void TutorWindow::typeCells(std::string_view cells) {
    for (char c : cells) {
        if (!cellAllowed(c)) {
            refuse(msg::kCellNotAllowed);
            return;
        }
    }
    if (insideListedPart(w_.Memo2.selStart())) {
        refuse(msg::kCellNotAllowed);
        return;
    }
    w_.Memo2.setSelText(cells);
    speak(speech::chordRequest(host_.programDirectory, w_.Memo2.text(), w_.Memo2.selStart()));
    drawPicture();
}

// ---- keys

void TutorWindow::keyDown(ui::KeyEvent& event) {
    if (const char letter = letterOpeningNoMenu(event, std::span<const TutorMenuEntry>(menu_));
        letter != 0) {
        event.key = 0;
        explain(std::string(msg::kNoMenuLetter) + letter);
        return;
    }
    for (const TutorMenuEntry& e : menu_) {
        if (e.shortcut.matches(event.key, event.shift) && runCommand(e.id)) {
            event.key = 0;
            return;
        }
    }
    if (isWindowFunctionKey(event)) {
        event.key = 0;
        explain(msg::kKeyNotAssigned);
        return;
    }
    if (!w_.Memo2.focused() || !list_) {
        return;
    }
    const std::string text = w_.Memo2.text();
    const std::size_t caret = w_.Memo2.selStart();
    const std::size_t selection = w_.Memo2.selLength();
    const auto line = caretLine();
    switch (event.key) {
        case vk::kEscape:
            // Esc in the work area puts the work list back (when it is let go); it does not
            // close the window.
            event.key = 0;
            return;
        case vk::kReturn:
            if (!chord_) {
                event.key = 0;
                finishLine();
            }
            return;
        case vk::kBack:
            if (!backspaceAllowed()) {
                event.key = 0;
                explain(msg::kListedPartKept);
            } else if (auto request =
                           speech::backspaceRequest(host_.programDirectory, text, caret)) {
                speak(*request);
            }
            return;
        case vk::kDelete:
            if (caret < line->protectedEnd ||
                caret + std::max<std::size_t>(selection, 1) > line->end) {
                event.key = 0;
                explain(msg::kListedPartKept);
            } else if (auto request =
                           speech::deleteRequest(host_.programDirectory, text, caret, selection)) {
                speak(*request);
            }
            return;
        default:
            break;
    }
    // The work area takes no pasted or cut text: the listed parts must stay as they are.
    if ((event.shift & ui::shift::kCtrl) != 0 && (event.key == 'V' || event.key == 'X')) {
        event.key = 0;
        explain(msg::kNoPasteInWork);
    }
}

void TutorWindow::keyPress(ui::KeyPress& press) {
    if (!w_.Memo2.focused() || !list_) {
        return;
    }
    if (chord_) {
        // A dropped key is then passed over as no character.
        notation::collectChordKey(chordKeys_, press, w_.Timer1);
    }
    const char c = press.ch;
    if (c == '\r' || c == '\n') {
        press.ch = 0;  // Enter finishes the line (keyDown), it adds none
        return;
    }
    if (c == '\b' && !backspaceAllowed()) {
        press.ch = 0;
        return;
    }
    if (c == 0 || static_cast<unsigned char>(c) < 0x20) {
        return;  // Backspace, Tab, Esc: keys, not cells
    }
    if (!cellAllowed(c) || insideListedPart(w_.Memo2.selStart())) {
        press.ch = 0;
        refuse(msg::kCellNotAllowed);
        return;
    }
    speak(speech::typedKeyRequest(host_.programDirectory, w_.Memo2.text(), w_.Memo2.selStart(), c));
}

void TutorWindow::keyUp(ui::KeyEvent& event) {
    if (!w_.Memo2.focused() || !list_ || event.key == 0) {
        return;
    }
    const std::string text = w_.Memo2.text();
    const std::size_t caret = w_.Memo2.selStart();
    if (event.key == vk::kEscape) {
        event.key = 0;
        restoreWorkList();
        return;
    }
    if (ui::vk::isArrow(event.key)) {
        std::optional<speech::Request> request;
        if (event.key == vk::kUp || event.key == vk::kDown) {
            request = speech::lineRequest(host_.programDirectory, text, caret, {});
        } else {
            request = speech::arrowRequest(
                host_.programDirectory, text, caret,
                event.key == vk::kRight && (event.shift & ui::shift::kShift) != 0, caret,
                w_.Memo2.selLength());
        }
        if (request) {
            speak(*request);
        }
    }
    if (!vk::isModifier(event.key)) {
        drawPicture();
    }
}

void TutorWindow::Timer1Timer() {
    w_.Timer1.setEnabled(false);
    const std::string text = chordKeys_.close();
    if (text == kLineBreak) {
        finishLine();
    } else if (!text.empty()) {
        typeCells(text);
    }
}

// ---- speech and picture

void TutorWindow::speak(speech::Request request) {
    if (speech_ == nullptr || (host_.speechOn && !host_.speechOn())) {
        return;
    }
    speech_->submit(request);
}

void TutorWindow::speakLine() {
    if (auto request =
            speech::lineRequest(host_.programDirectory, w_.Memo2.text(), w_.Memo2.selStart(), {})) {
        speak(*request);
    }
}

void TutorWindow::drawPicture() {
    // The expression, its red mark where the first part of the step begins.
    std::vector<ui::MathLine> lines{{line_, marked_ ? static_cast<int>(*marked_) : -1}};
    if (const auto c = caretLine()) {
        const std::string text = w_.Memo2.text();
        const std::size_t caret = std::min(w_.Memo2.selStart(), c->end);
        lines.push_back(
            {text.substr(c->start, c->end - c->start), static_cast<int>(caret - c->start)});
    }
    w_.Image1.setLines(lines, kPictureLineHeight);
}

}  // namespace learning
