#include "learning/structure_view.h"

#include <algorithm>
#include <array>
#include <vector>

#include "learning/messages.h"
#include "learning/structure_groups.h"
#include "learning/text_box_rows.h"
#include "speech/request_sources.h"
#include "ui/text_trim.h"

namespace learning {
namespace {

namespace msg = messages;
namespace vk = ui::vk;
using C = StructureCommand;

constexpr std::array kMenu = {
    StructureMenuEntry{C::MenuFile, C::None, "File1", msg::kMenuFile, {}},
    StructureMenuEntry{
        C::Sostituisci1, C::MenuFile, "Sostituisci1", msg::kSubstitute, {'S', ui::shift::kCtrl}},
    StructureMenuEntry{C::Memrisedesci1,
                       C::MenuFile,
                       "Memrisedesci1",
                       msg::kStoreStructureMenu,
                       {'M', ui::shift::kCtrl}},
    StructureMenuEntry{C::Esci1, C::MenuFile, "Esci1", msg::kExit, {vk::kEscape, 0}},
};

// A content line is read from its fourth cell: its head ("T1 ") is said as the group's name.
constexpr std::size_t kContentHead = 3;

}  // namespace

std::span<const StructureMenuEntry> structureMenuTable() {
    return kMenu;
}

TForm5::TForm5(StructureViewWidgets widgets, StructureViewServices services, ToolHost host)
    : ToolWindow(widgets, kMenu, services, std::move(host)), w_(widgets) {
    frame_.start(
        msg::kStructureCaption, this, [this] { FormActivate(); },
        [this](StructureCommand id) { return runCommand(id); });
    w_.Label1.setCaption(msg::kInitialExpression);
    w_.Label2.setCaption(msg::kBrackets);
    w_.Label3.setCaption(msg::kStructureBox);
    w_.Label4.setCaption(msg::kContents);
    wireButtons({{w_.Button1, msg::kSubstitute, [this] { SostituisciClick(); }},
                 {w_.Button2, msg::kStoreStructure, [this] { MemorizzaClick(); }},
                 {w_.Button3, msg::kExit, [this] { EsciClick(); }},
                 {w_.Button4, msg::kFont, [this] { FontClick(); }}});
    w_.Edit2.setReadOnly(true);
    w_.Edit1.setOnChange([this] { speakCode(host_, vk::kUp, w_.Edit1.text()); });
    for (ui::TextBox* box : {&w_.Edit1, &w_.Edit2, &w_.Memo1, &w_.Memo2}) {
        box->setOnClick([this] { noticeFocus(); });
    }
}

// ---- opening and closing

void TForm5::FormActivate() {
    // Activated again whenever a message box over the view closes: the expression is taken
    // once per showing.
    if (frame_.firstActivation()) {
        activate();
    }
}

void TForm5::activate() {
    braille_ = !host_.brailleMode || host_.brailleMode();
    brailleFont_ = braille_;
    applyFont();
    const std::string expression(ui::trimControls(host_.selection ? host_.selection() : ""));
    const GroupStructure groups = extractGroups(expression, braille_);
    if (groups.tooManyGroups) {
        // The lists hold 21 groups of each kind: nothing is shown, nothing reaches the page.
        s_.dialogs.message(
            {std::string(msg::kTooManyGroups), {}, ui::Icon::Warning, ui::Buttons::Ok});
        frame_.close();
        return;
    }
    w_.Edit1.setText(expression);
    w_.Edit2.setText(bracketList(expression, braille_));
    w_.Memo1.setText(structureLineText(groups, braille_));
    w_.Memo2.setText(joinLines(contentLines(groups, braille_)));
    const bool any = !w_.Edit2.text().empty();
    if (!any) {
        w_.Memo2.setText("");
    }
    w_.Memo2.setVisible(any);
    w_.Label4.setVisible(any);
    w_.Button1.setVisible(any);
    menuItem(C::Sostituisci1).setVisible(any);
    frame_.setLastFocused(nullptr);
    if (any) {
        w_.Edit1.setFocus();
        w_.Edit1.setSelStart(expression.size());
    } else {
        w_.Button3.setFocus();
    }
    noticeFocus();
}

// ---- commands

bool TForm5::runCommand(StructureCommand id) {
    switch (id) {
        case C::Sostituisci1:
            SostituisciClick();
            return true;
        case C::Memrisedesci1:
            MemorizzaClick();
            return true;
        case C::Esci1:
            EsciClick();
            return true;
        default:
            return false;
    }
}

void TForm5::SostituisciClick() {
    std::vector<std::string> structure = splitLines(w_.Memo1.text());
    std::vector<std::string> contents = splitLines(w_.Memo2.text());
    if (substituteValues(structure[0], contents, braille_)) {
        // Each box keeps its caret on the line it was on, at the line's end.
        for (auto [box, lines] : {std::pair{&w_.Memo1, &structure}, {&w_.Memo2, &contents}}) {
            const std::string before = box->text();
            const auto line = static_cast<std::size_t>(std::count(
                before.begin(),
                before.begin() +
                    static_cast<std::ptrdiff_t>(std::min(box->selStart(), before.size())),
                '\n'));
            box->setText(joinLines(*lines));
            std::size_t end = 0;
            for (std::size_t i = 0; i <= line && i < lines->size(); ++i) {
                end += (i > 0 ? 2 : 0) + (*lines)[i].size();
            }
            box->setSelStart(end);
        }
    }
    // The student hears where the values went.
    speakCode(host_, vk::kUp, structure[0]);
}

void TForm5::MemorizzaClick() {
    speakCode(host_, vk::kUp, std::string(msg::kSilence));
    const std::string stored =
        storedStructure(ui::trimControls(w_.Edit1.text()), w_.Memo1.text(), braille_);
    if (!stored.empty()) {
        w_.Memo1.setText(stored);
        s_.clipboard.setText(stored);
        if (host_.pasteIntoBraillePage) {
            host_.pasteIntoBraillePage();
        }
    } else {
        // Nothing after the "=": the page stays as it was, and the student hears why.
        explain(msg::kNoResultToStore);
    }
    frame_.close();
}

void TForm5::EsciClick() {
    speakCode(host_, vk::kUp, std::string(msg::kSilence));
    frame_.close();
}

void TForm5::FontClick() {
    brailleFont_ = !brailleFont_;
    applyFont();
    // The button changes only what the boxes look like: it says which font they show now.
    speakCode(host_, speech::kKeyCodeError,
              std::string(brailleFont_ ? msg::kBrailleFontShown : msg::kLatexFontShown));
}

void TForm5::applyFont() {
    const auto& font = brailleFont_ ? host_.brailleFont : host_.latexFont;
    if (!font) {
        return;
    }
    const ui::Font f = font();
    for (ui::TextBox* box : {&w_.Edit1, &w_.Edit2, &w_.Memo1, &w_.Memo2}) {
        box->setFont(f);
    }
}

// ---- focus and speech

void TForm5::noticeFocus() {
    frame_.noticeFocus({&w_.Edit1, &w_.Edit2, &w_.Memo1, &w_.Memo2},
                       [this](const ui::TextBox* box) { entered(box); });
}

void TForm5::entered(const ui::TextBox* box) {
    if (box == &w_.Memo2) {
        sayContentLine();
    } else if (box == &w_.Edit2 && box->text().empty()) {
        speakCode(host_, speech::kKeyCodeError, std::string(msg::kNoBrackets));
    } else if (box != nullptr) {
        speakCode(host_, vk::kUp, box->text());
    }
}

void TForm5::sayContentLine() {
    // The caret goes to the end of its line, where the value is typed.
    const std::string text = w_.Memo2.text();
    const std::size_t start = speech::lineStart(text, w_.Memo2.selStart());
    std::size_t end = text.find("\r\n", start);
    end = end == std::string::npos ? text.size() : end;
    w_.Memo2.setSelStart(end);
    const std::string line = text.substr(start, end - start);
    if (ui::trimBlanks(line).empty()) {
        speakCode(host_, speech::kKeyCodeError, std::string(msg::kEmptyLine));
        return;
    }
    speakCode(host_, speech::kKeyCodeError, groupName(line));
    speakCode(host_, vk::kUp, line.size() > kContentHead ? line.substr(kContentHead) : "");
}

void TForm5::keyDown(ui::KeyEvent& event) {
    if (frame_.commandKeyDown(event, [this](std::string_view reason) { explain(reason); })) {
        return;
    }
    if (w_.Memo2.focused()) {
        typing_.keyDown(w_.Memo2, event, kContentHead);
    } else if (w_.Memo1.focused()) {
        typing_.keyDown(w_.Memo1, event, 0);
    }
}

void TForm5::keyPress(ui::KeyPress& press) {
    typing_.keyPress(press);
}

void TForm5::keyUp(ui::KeyEvent& event) {
    if (frame_.commandKeyUp(event)) {
        return;
    }
    const ui::TextBox* before = frame_.lastFocused();
    noticeFocus();
    if (frame_.lastFocused() != before || event.key == 0) {
        return;  // the focus came here with this key: what it reached has been said
    }
    if (w_.Memo2.focused()) {
        if ((event.key == vk::kUp || event.key == vk::kDown) && event.shift == 0) {
            sayContentLine();
            return;
        }
        typing_.keyUp(w_.Memo2, event, kContentHead);
    } else if (w_.Memo1.focused()) {
        typing_.keyUp(w_.Memo1, event, 0);
    }
}

}  // namespace learning
