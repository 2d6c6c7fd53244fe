#include "editor/files/graphic_editor_handoff.h"

#include <algorithm>

#include "editor/file_io.h"
#include "editor/messages.h"
#include "editor/printing/formula_print_dialog.h"
#include "notation/bracket_balance.h"
#include "notation/conversion.h"
#include "notation/handoff_return.h"
#include "notation/handoff_texts.h"
#include "notation/return_translation.h"
#include "ui/command_line.h"

namespace editor {

namespace {

namespace htext = notation::handoff_text;

void warn(ui::Dialogs& dialogs, std::string_view message) {
    dialogs.warning(message);
}

// Replaces the text of `box` the way an edit does (the window hears the change): the whole
// text, or only the selected range, so the rest of the page is not touched.
void replaceInBox(ui::TextBox& box, std::string_view before, const std::string& after,
                  notation::TextSelection selection, bool wholePage) {
    if (wholePage) {
        box.setSelection(0, before.size());
        box.setSelText(after);
        return;
    }
    const std::size_t start = std::min(selection.start, before.size());
    const std::size_t length = std::min(selection.length, before.size() - start);
    const std::size_t inserted = after.size() - (before.size() - length);
    box.setSelection(start, length);
    box.setSelText(std::string_view(after).substr(start, inserted));
}

}  // namespace

GraphicEditorHandoff::GraphicEditorHandoff(TForm1& form, notation::FormulaErrorReport& errors,
                                           const notation::FilterTable& filter)
    : form_(form), errors_(errors), filter_(filter) {}

void GraphicEditorHandoff::EditorgraficoClick() {
    if (running_) {
        return;
    }
    printFormulas_ = false;
    handoff();
}

void GraphicEditorHandoff::StampaformuleClick() {
    if (running_ || confirmation_ == nullptr) {
        return;
    }
    if (confirmation_->run() != formula_print_text::kConfirmed) {
        form_.activeEditor().setFocus();
        return;
    }
    if (form_.brailleMode()) {
        // The messages of a failing page have been shown; the page in hand is converted again
        // below and stops the hand-off if it is the one that fails.
        form_.convertAllPages();
        form_.updateOccupancyStrip();
    }
    ui::TextBox& latex = form_.widgets().Memo1;
    latex.setSelection(0, latex.text().size());
    const ui::Rect bounds = form_.widgets().form.bounds();
    printFormulas_ = true;
    handoff();
    printFormulas_ = false;
    if (!form_.widgets().form.maximized() && !(form_.widgets().form.bounds() == bounds)) {
        form_.widgets().form.setBounds(bounds);
    }
}

void GraphicEditorHandoff::setBusy(bool busy) {
    const MainWindowWidgets& w = form_.widgets();
    running_ = busy;
    w.Memo1.setEnabled(!busy);
    w.Memo2.setEnabled(!busy);
    w.EditorGrafico.setEnabled(!busy);
    if (busy) {
        statusBefore_ = w.statusBar.caption();
        w.statusBar.setCaption(handoff_window_text::kEditorRunning);
    } else {
        w.statusBar.setCaption(statusBefore_);
    }
}

bool GraphicEditorHandoff::runEditor(const std::string& commandLine) {
    const std::vector<std::string> words = ui::splitCommandLine(commandLine);
    // Without an editor program the first word would be the exchange file itself.
    if (words.size() < 2 ||
        form_.settings().graphicEditor.find_first_not_of(" \t") == std::string::npos) {
        return false;
    }
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    setBusy(true);
    const std::optional<int> status = form_.services().shell.runAndWait(
        words.front(), arguments, form_.environment().programDirectory.string());
    setBusy(false);
    return status.has_value();
}

void GraphicEditorHandoff::handoff() {
    const MainWindowServices& s = form_.services();
    const MainWindowWidgets& w = form_.widgets();
    Settings& settings = form_.settings();

    // Settings.
    // A student who chose to work without a graphic editor hears why nothing starts.
    if (settings.graphicEditor.empty() && settings.withoutGraphicEditor) {
        form_.explain(text::kNoGraphicEditor);
        return;
    }
    if (notation::handoffSettingsMissing(settings.graphicEditor, settings.exchangeFile)) {
        s.dialogs.message({std::string(htext::kSettingsMissing),
                           std::string(htext::kSettingsMissingTitle), ui::Icon::Warning,
                           ui::Buttons::Ok});
        form_.openSettings();
    }

    // The text, by scope; print-formulas mode prints the whole page.
    const bool braille = form_.brailleMode();
    ui::TextBox& box = braille ? w.Memo2 : w.Memo1;
    const std::string pageText = box.text();
    const notation::TextSelection selection{box.selStart(), box.selLength()};
    const std::size_t caret = box.selStart();
    const bool wholePage = printFormulas_ || notation::isWholePageScope(settings.exchangeMode);
    const int page = form_.currentPage();
    std::string formula = notation::takeHandoffText(pageText, selection, wholePage);
    if (braille) {
        formula = notation::brailleToLatex(formula, page, errors_);
        if (errors_.raised()) {
            errors_.clear();
            return;
        }
    }

    // Wrapping, limits, brackets and the TeX the editor reads.
    const notation::OutgoingFormula out =
        notation::prepareOutgoing(formula, page, printFormulas_, notation::bracketBalance);
    switch (out.outcome) {
        case notation::OutgoingFormula::Outcome::NothingToPrint:
            return;
        case notation::OutgoingFormula::Outcome::TooLong:
            errors_.report(out.message);
            w.Memo1.setSelStart(0);
            errors_.clear();
            return;
        case notation::OutgoingFormula::Outcome::Unbalanced:
            errors_.report(out.message);
            errors_.clear();
            return;
        case notation::OutgoingFormula::Outcome::Send:
            break;
    }
    if (out.tooLongForEditor) {
        warn(s.dialogs, htext::kTooLongForEditor);
    }

    // No old picture may be taken for the one the editor is about to make.
    if (printFormulas_ && s.clipboard.hasBitmap()) {
        s.clipboard.clear();
    }

    // The exchange file, in the private temporary folder only.
    const std::filesystem::path& folder = form_.environment().temporaryDirectory;
    const std::optional<std::filesystem::path> file =
        folder.empty() ? std::nullopt : notation::exchangeFilePath(folder, settings.exchangeFile);
    if (!file || writeFileSafely(*file, notation::exchangeFileContent(out.exchangeLine)) != 0) {
        warn(s.dialogs, htext::kCannotWriteExchange);
        return;
    }

    // The editor, waited for.
    const std::string path = file->string();
    const std::optional<std::string> commandLine =
        notation::editorCommandLine(settings.graphicEditor, path);
    if (!commandLine || !runEditor(*commandLine)) {
        warn(s.dialogs, notation::editorStartFailure(
                            commandLine ? *commandLine : settings.graphicEditor + " " + path));
        box.setFocus();
        return;
    }

    // A picture on the clipboard is the formula to print.
    if (printFormulas_ && s.clipboard.hasBitmap()) {
        w.Memo1.setSelStart(0);
        if (preview_) {
            preview_(notation::formulaPrintTitle(form_.currentFileName()), settings.workDir);
        }
        box.setFocus();
        return;
    }

    // What the editor saved, translated back.
    const ReadResult read = readWholeFile(*file);
    if (read.error != 0) {
        warn(s.dialogs, htext::kCannotReadExchange);
    }
    const notation::ReadBack back = notation::readBackExchange(read.bytes);
    if (back.tooLongFromEditor) {
        warn(s.dialogs, htext::kTooLongFromEditor);
    }
    std::string returned = notation::returnedText(back.text, [this](std::string_view text) {
        return notation::returnTranslation(text, filter_, errors_);
    });
    // The line breaks that enclosed the text for printing are not part of the page.
    if (printFormulas_ && returned.starts_with("\r\n") && returned.size() > 2) {
        returned.erase(0, 2);
    }

    // In place, in the notation of the mode.
    if (braille) {
        const notation::Placement placement = notation::placeBrailleResult(
            pageText, selection, wholePage, returned, caret,
            [this, page](std::string_view latex) -> std::optional<std::string> {
                std::string cells = notation::latexToBraille(latex, page, errors_);
                if (errors_.raised()) {
                    errors_.clear();
                    return std::nullopt;
                }
                return cells;
            });
        finish(box, pageText, placement, selection, wholePage);
        form_.refreshLinearView();
    } else {
        finish(box, pageText,
               notation::placeLatexResult(pageText, selection, wholePage, returned, caret),
               selection, wholePage);
    }
}

void GraphicEditorHandoff::finish(ui::TextBox& box, std::string_view before,
                                  const notation::Placement& placement,
                                  notation::TextSelection selection, bool wholePage) {
    if (placement.changed) {
        replaceInBox(box, before, placement.page, selection, wholePage);
        form_.storePage();
        form_.setModified(true);
        form_.updateOccupancyStrip();
    }
    box.setFocus();
    box.setSelStart(placement.caret);
}

}  // namespace editor
