#include "learning/calc_sheet.h"

#include <algorithm>
#include <array>

#include "learning/messages.h"
#include "learning/text_box_rows.h"
#include "notation/text_scan.h"
#include "speech/messages.h"

namespace learning {
namespace {

namespace msg = messages;
namespace vk = ui::vk;
using C = SheetCommand;

constexpr int kSpeechPoll = 50;  // ms between looks at whether the voice has finished

constexpr std::array kMenu = {
    SheetMenuEntry{C::MenuFile, C::None, "File1", msg::kMenuFile, {}},
    SheetMenuEntry{C::Copiarisultatoedesci1,
                   C::MenuFile,
                   "Copiarisultatoedesci1",
                   msg::kCopyResult,
                   {'X', ui::shift::kCtrl}},
    SheetMenuEntry{C::Copiaesprrisultatoedesci1,
                   C::MenuFile,
                   "Copiaesprrisultatoedesci1",
                   msg::kCopyExpressionResult,
                   {'V', ui::shift::kCtrl}},
    SheetMenuEntry{C::Esci1, C::MenuFile, "Esci1", msg::kExit, {vk::kEscape, 0}},
    SheetMenuEntry{
        C::Ricomincia1, C::MenuFile, "Ricomincia1", msg::kRestart, {vk::kF1, ui::shift::kShift}},
    SheetMenuEntry{
        C::Aumentandecimali1, C::MenuFile, "Aumentandecimali1", msg::kMoreDecimals, {vk::kF2, 0}},
    SheetMenuEntry{
        C::Diminndecimali1, C::MenuFile, "Diminndecimali1", msg::kFewerDecimals, {vk::kF3, 0}},
    // F7, the main window's key for speech: Ctrl+V belongs to the copy entry above.
    SheetMenuEntry{C::Disattivasintesivocale1,
                   C::MenuFile,
                   "Disattivasintesivocale1",
                   speech::messages::kCaptionSwitchOff,
                   {vk::kF7, 0}},
};

// The cell a released key types: a digit letter or a blank; 0 for any other key.
char cellOfKey(int key, unsigned shift, bool numLock) {
    if ((shift & (ui::shift::kCtrl | ui::shift::kAlt)) != 0) {
        return 0;
    }
    if (numLock && key >= vk::kNumpad0 && key <= vk::kNumpad0 + 9) {
        return digitLetter(key - vk::kNumpad0);
    }
    if (key >= vk::k0 && key <= vk::k0 + 9) {
        return digitLetter(key - vk::k0);
    }
    if (key >= vk::kA && key < vk::kA + 10) {
        return static_cast<char>('a' + (key - vk::kA));
    }
    return key == vk::kSpace ? ' ' : 0;
}

// A key that would type or edit in a box, where the rows take only digits and blanks.
bool editsText(int key, unsigned shift) {
    if ((shift & (ui::shift::kCtrl | ui::shift::kAlt)) != 0) {
        return false;
    }
    constexpr int kFirstPunctuation = 186;  // the keys of signs beside the letters
    return (key >= vk::kA && key <= vk::kA + 25) || key == vk::kBack || key == vk::kDelete ||
           key == vk::kReturn || (key >= vk::kMultiply && key <= vk::kDivide) ||
           key >= kFirstPunctuation;
}

}  // namespace

std::span<const SheetMenuEntry> sheetMenuTable() {
    return kMenu;
}

TForm2::TForm2(CalcSheetWidgets widgets, CalcSheetServices services, speech::SheetVoice& voice,
               SheetHost host)
    : w_(widgets), s_(services), voice_(voice), host_(std::move(host)) {
    startForm(
        w_.form, msg::kSheetCaption, this, [this] { FormActivate(); },
        [this] { return FormCloseQuery(); });
    wireMenu(w_.menu, sheetMenuTable(), [this](SheetCommand id) { runCommand(id); });
    wireButtons({{w_.Button1, msg::kExit, [this] { Button1Click(); }},
                 {w_.Button2, msg::kStoreResult, [this] { Button2Click(); }},
                 {w_.Button3, msg::kStoreExpressionResult, [this] { Button3Click(); }},
                 {w_.Button4, msg::kRestart, [this] { Button4Click(); }}});
    for (ui::TextBox* box : w_.partialMemos) {
        box->setReadOnly(true);
    }
    for (ui::TextBox* box : w_.stepLines) {
        box->setReadOnly(true);
    }
    w_.Memo1.setReadOnly(true);
    w_.Edit10.setReadOnly(true);
    w_.Edit11.setReadOnly(true);
    w_.Timer1.setEnabled(false);
    w_.Timer1.setOnTimer([this] { Timer1Timer(); });
    w_.Timer2.setEnabled(false);
    w_.Timer2.setInterval(kSpeechPoll);
    w_.Timer2.setOnTimer([this] { Timer2Timer(); });
    columns_.box = &w_.Memo1;
    for (std::size_t i = 0; i < kPartialMemos; ++i) {
        partials_[i].box = w_.partialMemos[i];
    }
    clearSheet();
    w_.Edit1.setText("");
    refreshMenu();
}

// The builder destroys the widgets' adapters before the logic: nothing to unhook here.
TForm2::~TForm2() = default;

// ---- opening and closing

void TForm2::showModal() {
    open(false);
}

std::string TForm2::openFromTool(std::string_view expression) {
    s_.clipboard.setText(expression);
    open(true);
    return s_.clipboard.text();
}

void TForm2::open(bool fromTool) {
    // The sheet's voice follows the main window's speech each time it opens; the student may
    // still switch it off (F7) for this showing.
    voice_.setOn(!host_.speechOn || host_.speechOn());
    fromTool_ = fromTool;
    decimalsAsked_ = 0;
    activationPending_ = true;
    refreshMenu();
    w_.modal.showModal();
}

void TForm2::FormActivate() {
    // The window is activated again whenever a message box over it closes: the operation is
    // taken from the clipboard once per showing.
    if (!activationPending_) {
        return;
    }
    activationPending_ = false;
    std::string text = s_.clipboard.text();
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    openingText_ = text;
    activate(text);
}

bool TForm2::FormCloseQuery() {
    // Closing in any way leaves the result box on the clipboard.
    if (const std::string result = w_.Edit10.text(); !result.empty()) {
        s_.clipboard.setText(result);
    }
    // What the voice still has to say (the verdict of the last key) is said after closing.
    w_.Timer1.setEnabled(false);
    chordKeys_.close();
    activationPending_ = false;
    return true;
}

void TForm2::finish() {
    FormCloseQuery();
    w_.modal.closeModal();
}

void TForm2::closeModal() {
    finish();
}

void TForm2::copyResultAndClose(std::string_view joiner) {
    if (!joiner.empty()) {
        w_.Edit10.setText(w_.Edit1.text() + std::string(joiner) + w_.Edit10.text());
    }
    finish();
}

bool TForm2::runCommand(SheetCommand id) {
    if (id == C::None || id == C::MenuFile || id >= C::Count || !menuItem(id).enabled()) {
        return false;
    }
    switch (id) {
        case C::Copiarisultatoedesci1:
            copyResultAndClose({});
            return true;
        case C::Copiaesprrisultatoedesci1:
            copyResultAndClose(msg::kEqualsSpaced);
            return true;
        case C::Esci1:
            if (w_.Edit1.text().empty()) {
                w_.Edit10.setText("");
            }
            finish();
            return true;
        case C::Ricomincia1:
            restart();
            return true;
        case C::Aumentandecimali1:
            changeDecimals(+1);
            return true;
        case C::Diminndecimali1:
            changeDecimals(-1);
            return true;
        case C::Disattivasintesivocale1:
            // Said while the voice is on: switching it off is heard too.
            if (voice_.on()) {
                sayWords(msg::kVoiceOff);
            }
            voice_.toggle();
            refreshMenu();
            if (voice_.on()) {
                sayWords(msg::kVoiceOn);
            }
            return true;
        default:
            return false;
    }
}

void TForm2::Button1Click() {
    w_.Edit10.setText("");  // nothing new reaches the clipboard
    finish();
}

void TForm2::Button2Click() {
    copyResultAndClose({});
}

void TForm2::Button3Click() {
    copyResultAndClose(msg::kEquals);
}

void TForm2::Button4Click() {
    restart();
}

void TForm2::restart() {
    // A key held down repeats its key down: one press, one restart. Clicks always restart.
    if (keyDown_ && restartedThisKey_) {
        return;
    }
    restartedThisKey_ = keyDown_;
    setStatus("");
    decimalsAsked_ = 0;
    s_.clipboard.setText(openingText_);
    activate(openingText_);
}

void TForm2::changeDecimals(int by) {
    if (!operation_ || operation_->op != kDivide) {
        return;
    }
    const int asked = decimalsAsked_ + by;
    if (asked < 0 || asked > kMaxDivisionDecimals) {
        explain(asked < 0 ? msg::kNoDecimals : msg::kMostDecimals);
        return;
    }
    decimalsAsked_ = asked;
    Operation op = *operation_;
    op.firstText = by > 0 ? withOneMoreDecimal(op.firstText) : withOneDecimalFewer(op.firstText);
    // The new expression goes straight to the sheet: the clipboard keeps the student's own
    // text, which the main window puts back when no result is copied.
    activate(expressionText(op));
}

void TForm2::refreshMenu() {
    const bool division = operation_ && operation_->op == kDivide;
    menuItem(C::Aumentandecimali1).setEnabled(division);
    menuItem(C::Diminndecimali1).setEnabled(division);
    menuItem(C::Copiarisultatoedesci1).setVisible(!fromTool_);
    menuItem(C::Copiaesprrisultatoedesci1).setVisible(!fromTool_);
    menuItem(C::Disattivasintesivocale1).setCaption(voice_.menuCaption());
    w_.Label1.setCaption(std::string(msg::kDecimalsLabel) + " " + std::to_string(decimalsAsked_));
}

// ---- activation

void TForm2::clearSheet() {
    operation_.reset();
    division_.reset();
    finalSum_ = false;
    tableCount_ = 0;
    step_ = 0;
    for (WorkArea* area :
         {&columns_, &partials_[0], &partials_[1], &partials_[2], &partials_[3], &partials_[4]}) {
        area->box->setText("");
        area->box->setVisible(false);
        area->firstRow = 0;
        area->row = 0;
    }
    for (ui::TextBox* line : w_.stepLines) {
        line->setText("");
        line->setVisible(false);
    }
    w_.Edit10.setText("");
    w_.Edit10.setVisible(false);
    w_.Edit11.setText("");
    w_.Edit11.setVisible(false);
}

void TForm2::activate(std::string_view text) {
    chord_ = host_.chordInput && host_.chordInput();
    w_.Timer1.setInterval(host_.chordInterval ? host_.chordInterval() : kDefaultChordInterval);
    w_.Label2.setCaption(chord_ ? msg::kInputChord : msg::kInputKeyboard);
    chordKeys_.close();
    w_.Timer1.setEnabled(false);
    setStatus("");

    clearSheet();
    menuItem(C::Disattivasintesivocale1).setVisible(!host_.speechOn || host_.speechOn());

    w_.Edit1.setText(text);
    refreshMenu();
    if (text.empty()) {
        return;
    }
    say("E " + std::string(text));

    const NormalisedOperation normalised = normaliseOperation(text);
    w_.Edit1.setText(normalised.text);
    Prepared p = prepare(normalised, decimalsAsked_);
    switch (p.refusal) {
        case Refusal::None:
            break;
        case Refusal::Empty:
            return;
        case Refusal::Invalid:
            refuse(msg::kInvalidExpression);
            return;
        case Refusal::DivisionByZero:
            refuse(msg::kDivisionByZero);
            return;
    }
    if (p.cut) {
        if (p.operation.op == kTimes || p.operation.op == kDivide) {
            s_.dialogs.beep();
        }
        s_.dialogs.message(
            {std::string(msg::kOperandsTooLong), {}, ui::Icon::None, ui::Buttons::Ok});
    }
    operation_ = std::move(p.operation);
    // The box shows the operation as it is worked, the sign folded into a leading minus.
    w_.Edit1.setText(expressionText(*operation_));
    refreshMenu();
    switch (operation_->op) {
        case kDivide:
            layOutDivision();
            break;
        case kTimes:
            layOutProduct();
            break;
        default:
            layOutColumns();
            break;
    }
}

void TForm2::refuse(std::string_view message) {
    s_.dialogs.beep();
    s_.dialogs.message({std::string(message), {}, ui::Icon::Warning, ui::Buttons::Ok});
}

void TForm2::layOutColumns() {
    setRows(w_.Memo1, columnRows(*operation_));
    columns_.firstRow = 0;
    columns_.row = 0;
    w_.Memo1.setVisible(true);
    focusArea(columns_);
    speakRow(columns_);
}

void TForm2::layOutProduct() {
    const std::vector<std::vector<std::string>> tables = multiplicationTables(*operation_);
    tableCount_ = tables.size();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        WorkArea& area = partials_[t];
        setRows(*area.box, tables[t]);
        area.firstRow = static_cast<int>(firstAnswerRow(t));
        area.row = area.firstRow;
        area.box->setVisible(true);
    }
    focusArea(partials_[0]);
    speakRow(partials_[0]);
}

void TForm2::layOutDivision() {
    division_.emplace(*operation_, decimalsAsked_);
    step_ = 0;
    ui::TextBox& line = *w_.stepLines[0];
    line.setText(division_->stepLine());
    line.setVisible(true);
    line.setFocus();
    line.setSelStart(line.text().size());
    sayStep(line.text());
}

// ---- keys

void TForm2::keyDown(ui::KeyEvent& event) {
    if (vk::isModifier(event.key)) {
        return;
    }
    keyDown_ = true;
    if (noticeShown_) {
        setStatus(status_);  // the notice of the last key goes
    }
    if (const char letter = letterOpeningNoMenu(event, sheetMenuTable()); letter != 0) {
        event.key = 0;
        explain(std::string(msg::kNoMenuLetter) + letter);
        return;
    }
    // Of two entries with the same keys the first that can run wins; hidden entries keep
    // their keys. The decimals entries are for a division only.
    std::string_view why;
    for (const SheetMenuEntry& e : kMenu) {
        if (!e.shortcut.matches(event.key, event.shift)) {
            continue;
        }
        if (runCommand(e.id)) {
            event.key = 0;
            return;
        }
        if (why.empty() && (e.id == C::Aumentandecimali1 || e.id == C::Diminndecimali1)) {
            why = msg::kOnlyInDivision;
        }
    }
    if (why.empty() && isWindowFunctionKey(event)) {
        why = msg::kKeyNotAssigned;
    }
    if (!why.empty()) {
        event.key = 0;
        explain(why);
        return;
    }
    // The rows keep their caret after the "=": the arrows act on release.
    if (ui::vk::isArrow(event.key) && (focusedArea() != nullptr || stepLineFocused() >= 0)) {
        event.key = 0;
    }
}

void TForm2::keyPress(ui::KeyPress& press) {
    if (!chord_ || (focusedArea() == nullptr && stepLineFocused() < 0)) {
        return;
    }
    notation::collectChordKey(chordKeys_, press, w_.Timer1);
}

void TForm2::keyUp(ui::KeyEvent& event) {
    const int key = event.key;
    const unsigned shift = event.shift;
    // The release of a key pressed in a message box over the sheet is not the sheet's key.
    const bool pressedHere = keyDown_;
    if (!vk::isModifier(key)) {
        keyDown_ = false;
        restartedThisKey_ = false;
    }
    if (key == 0) {
        return;
    }
    WorkArea* area = focusedArea();
    const int step = stepLineFocused();
    if (area == nullptr && step < 0) {
        return;
    }
    if (ui::vk::isArrow(key)) {
        const int by = key == vk::kUp ? -1 : (key == vk::kDown ? 1 : 0);
        if (area != nullptr) {
            moveRow(*area, by);
        } else {
            moveStep(by);
        }
        event.key = 0;
        return;
    }
    if (chord_) {
        return;  // the chord timer types the cells
    }
    if (const char cell = cellOfKey(key, shift, s_.keyboard.numLockOn()); cell != 0) {
        enterCell(cell);
        event.key = 0;
    } else if (pressedHere && editsText(key, shift)) {
        explain(msg::kDigitsOnly);
        event.key = 0;
    }
}

void TForm2::Timer1Timer() {
    w_.Timer1.setEnabled(false);
    const std::string text = chordKeys_.close();
    if (text.size() != 1) {
        return;  // a line break or nothing: no digit
    }
    // Only the cells of the upper digits and the blank mean something on the sheet.
    const char cell = text[0];
    if (cell == ' ' || (cell >= 'a' && cell <= 'j')) {
        enterCell(cell);
    } else {
        explain(msg::kDigitsOnly);
    }
}

void TForm2::Timer2Timer() {
    if (!voice_.pump()) {
        w_.Timer2.setEnabled(false);
    }
}

void TForm2::sayStep(std::string_view line) {
    // The blank after the "=" is for the eye: heard, it would be a word of its own.
    std::string words(line);
    std::erase(words, ' ');
    say(words);
}

void TForm2::say(std::string_view message) {
    voice_.speak(message);
    if (voice_.pending()) {
        w_.Timer2.setEnabled(true);
    }
}

void TForm2::sayWords(std::string_view words) {
    voice_.sayWords(words);
    if (voice_.pending()) {
        w_.Timer2.setEnabled(true);
    }
}

void TForm2::setStatus(std::string_view status) {
    status_ = std::string(status);
    noticeShown_ = false;
    w_.StatusBar1.setCaption(status_);
}

void TForm2::explain(std::string_view reason) {
    s_.dialogs.beep();
    w_.StatusBar1.setCaption(reason);
    noticeShown_ = true;
    w_.form.announce(reason);
    sayWords(reason);
}

}  // namespace learning
