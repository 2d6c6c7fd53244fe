#include "editor/window/main_window.h"

#include <algorithm>

#include "editor/messages.h"
#include "editor/text_lines.h"
#include "speech/request_sources.h"

// TForm1: pages, the occupancy strip, the title, and the mode switch.

namespace editor {
namespace {

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string occupiedPagesName(std::string_view strip) {
    // Five characters a page: the Latex star at the second, the Braille star at the fourth.
    std::string pages;
    for (int p = 1; p <= kPageCount; ++p) {
        const std::size_t at = static_cast<std::size_t>(p - 1) * 5;
        const bool latex = at + 1 < strip.size() && strip[at + 1] == '*';
        const bool braille = at + 3 < strip.size() && strip[at + 3] == '*';
        if (latex || braille) {
            pages += (pages.empty() ? "" : ", ") + std::to_string(p);
        }
    }
    return std::string(text::kNameOccupiedPages) + ": " +
           (pages.empty() ? std::string(text::kNameNoPageOccupied) : pages);
}

// ---- pages

void TForm1::showPage() {
    // An editor that already holds the page is left as it is: setting it again would drop its
    // selection, which a screen reader announces as a change of the editor just left.
    for (auto [box, text] : {std::pair{&w_.Memo1, &pages_.latexOf(page_)},
                             std::pair{&w_.Memo2, &pages_.brailleOf(page_)}}) {
        if (box->text() != *text) {
            box->setText(*text);
        }
    }
    ui::TextBox& box = activeEditor();
    if (box.visible()) {
        box.setFocus();
    }
    box.setSelStart(braille_ ? caret2_ : caret1_);
    for (const auto& listener : pageListeners_) {
        listener();
    }
}

void TForm1::storePage() {
    if (braille_) {
        pages_.brailleOf(page_) = w_.Memo2.text();
    } else {
        pages_.latexOf(page_) = w_.Memo1.text();
    }
}

void TForm1::clearDocument() {
    pages_.clear();
    showPage();
}

void TForm1::putDocument(PageStore pages, int page, bool braille) {
    pages_ = std::move(pages);
    page_ = page >= 1 && page <= kPageCount ? page : 1;
    caret1_ = caret2_ = 0;
    if (braille != braille_) {
        braille_ = braille;
        modeText_ = std::string(braille_ ? text::kModeTextBraille : text::kModeTextLatex);
        // As in the mode switch: the focus goes straight to the editor of the new mode.
        activeEditor().setVisible(true);
        activeEditor().setFocus();
    }
    w_.tabs.setTabIndex(page_ - 1);
    showPage();
    applyModeWidgets();
    setPageStatusOf(std::to_string(page_));
    if (braille_) {
        w_.ListBox1.setVisible(false);
        w_.Label2.setCaption(chordInput_ ? text::kChordInput : text::kKeyboardInput);
        refreshLinearView();
    }
    updateOccupancyStrip();
    updateTitle();
}

void TForm1::updateOccupancyStrip() {
    std::string strip;
    for (int p = 1; p <= kPageCount; ++p) {
        strip += ' ';
        strip += blank(pages_.latexOf(p)) ? ' ' : '*';
        strip += ' ';
        strip += blank(pages_.brailleOf(p)) ? ' ' : '*';
        strip += ' ';
    }
    w_.Label3.setCaption(strip);
    w_.Label3.setAccessibleName(occupiedPagesName(strip));
}

std::string windowTitle(std::string_view prefix, std::string_view modeText) {
    std::string title(prefix);
    // A prefix without a document name ends in its separator, which the mode's own would
    // double.
    if (title.ends_with(" - ")) {
        title.erase(title.size() - 3);
        title.erase(title.find_last_not_of(' ') + 1);
    }
    return title + std::string(modeTextOf(modeText));
}

std::string_view modeTextOf(std::string_view stored) {
    return stored.find(text::kBrailleWord) != std::string_view::npos ? text::kModeTextBraille
                                                                     : text::kModeTextLatex;
}

void TForm1::updateTitle() {
    w_.form.setCaption(windowTitle(titlePrefix_, modeText_));
}

void TForm1::speak(speech::Request request) {
    if (speech_ == nullptr || !speechSwitch_.speechOn() || request.text.empty()) {
        return;
    }
    if (request.mode == "all" && request.rate.empty()) {
        request.rate = std::to_string(settings_.speechRate);
    }
    speech_->submit(request);
}

void TForm1::refreshLinearView() {
    if (hooks_.refreshLinearView) {
        hooks_.refreshLinearView();
    }
}

void TForm1::changePage(int page) {
    storePage();
    page_ = page;
    w_.tabs.setTabIndex(page_ - 1);
    updateOccupancyStrip();
    showPage();
    setPageStatusOf(std::to_string(page_));
    if (braille_) {
        speak(speech::pageRequest(environment_.programDirectory.string(), page_));
    }
}

void TForm1::AvantiClick() {
    changePage(page_ == kPageCount ? 1 : page_ + 1);
}

void TForm1::IndietroClick() {
    changePage(page_ == 1 ? kPageCount : page_ - 1);
}

void TForm1::TabControl1Change() {
    storePage();
    const int index = w_.tabs.tabIndex();
    const std::string caption = w_.tabs.tabCaption(index);
    // The page number is read from the three characters after "Pag.".
    const std::string digits = caption.size() > text::kTabPrefix.size()
                                   ? caption.substr(text::kTabPrefix.size(), 3)
                                   : std::string();
    const auto number = parseInteger(digits);
    page_ = number && *number >= 1 && *number <= kPageCount ? *number : index + 1;
    setPageStatusOf(digits);
    updateOccupancyStrip();
    showPage();
    activeEditor().setSelStart(0);
    if (braille_) {
        speak(speech::pageRequest(environment_.programDirectory.string(), page_));
    }
}

// ---- mode

void TForm1::applyMathml() {
    w_.Mathml.setVisible(settings_.mathml);
    menuItem(Command::SalvacomeMathml1).setVisible(settings_.mathml);
}

void TForm1::applyModeWidgets() {
    const bool b = braille_;
    w_.Memo1.setVisible(!b);
    w_.Memo2.setVisible(b);
    for (ui::Control* button :
         {&w_.Funzioni, &w_.Operatori, &w_.Insiemistica, &w_.Greche, &w_.Simboli, &w_.Logica}) {
        button->setVisible(!b);
    }
    w_.VisualLineare.setVisible(b);
    w_.Simb.setVisible(b && linearViewShown_);
    w_.Image1.setVisible(b && linearViewShown_);
    if (!b) {
        w_.Image3.setVisible(false);
        placeStrip();
    }
    for (const MenuEntry& e : menuTable()) {
        switch (e.rule) {
            case ModeRule::VisibleInBraille:
                menuItem(e.id).setVisible(b);
                break;
            case ModeRule::VisibleInLatex:
                menuItem(e.id).setVisible(!b);
                break;
            case ModeRule::EnabledInBraille:
                menuItem(e.id).setEnabled(b);
                break;
            case ModeRule::Mathml:
            case ModeRule::None:
                break;
        }
    }
    const std::string_view modeLabel = b ? text::kBrailleMode : text::kLatexMode;
    const std::string_view otherMode = b ? text::kLatexMode : text::kBrailleMode;
    w_.Label1.setCaption(modeLabel);
    w_.Converti.setCaption(otherMode);
    menuItem(Command::ModalitaBraille1).setCaption(otherMode);
    w_.Label2.setVisible(b);
    w_.Label4.setVisible(b);
    if (b) {
        speechLabel();
    } else {
        w_.Label2.setCaption("");
        w_.Label4.setCaption("");
    }
    applyMathml();
}

void TForm1::speechLabel() {
    w_.Label4.setCaption(speechSwitch_.statusText());
}

bool TForm1::convertAllPages() {
    pages_.latexOf(page_) = w_.Memo1.text();
    pages_.brailleOf(page_) = w_.Memo2.text();
    if (!hooks_.convertAllPages) {
        return true;
    }
    return hooks_.convertAllPages(pages_, braille_ ? ConversionDirection::BrailleToLatex
                                                   : ConversionDirection::LatexToBraille);
}

void TForm1::ConvertiClick() {
    storePage();
    const bool converted = convertAllPages();
    updateOccupancyStrip();
    if (!converted) {
        return;  // the mode stays; the conversion has told the user why
    }
    // Both notations hold the page line for line: the caret stays on its line.
    const ui::TextBox& left = activeEditor();
    const std::size_t line = lineNumberOf(left.text(), left.selStart());
    if (braille_) {
        modeText_ = std::string(text::kModeTextLatex);
        updateTitle();
        caret2_ = w_.Memo2.selStart();
        braille_ = false;
        caret1_ = caretOnLine(pages_.latexOf(page_), line, caret1_);
    } else {
        modeText_ = std::string(text::kModeTextBraille);
        updateTitle();
        caret1_ = w_.Memo1.selStart();
        braille_ = true;
        caret2_ = caretOnLine(pages_.brailleOf(page_), line, caret2_);
    }
    // The new editor shows and takes the focus before it gets the page and before the old one
    // is hidden: the focus goes straight from one editor to the other, never through a
    // button, and a screen reader names the new editor rather than taking its new text for a
    // caret that moved.
    activeEditor().setVisible(true);
    activeEditor().setFocus();
    showPage();
    applyModeWidgets();
    if (braille_) {
        w_.ListBox1.setVisible(false);
        setPageStatus(pageStatus_ + std::string(text::kStatusBraille));
        w_.Label1.setCaption(text::kBrailleMode);
        w_.Label2.setCaption(chordInput_ ? text::kChordInput : text::kKeyboardInput);
        refreshLinearView();
    } else {
        // "Pag. 1 Braille" keeps "Pag. 1": no blank is left over for " Braille" to double.
        std::string page = pageStatus_.substr(0, 7);
        page.erase(page.find_last_not_of(' ') + 1);
        setPageStatus(std::move(page));
        w_.Label1.setCaption(text::kLatexMode);
        w_.Label2.setCaption("");
    }
}

}  // namespace editor
