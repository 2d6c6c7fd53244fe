#include "editor/settings/settings_dialog.h"

#include <algorithm>

#include "editor/messages.h"

namespace editor {

void applySettingsFields(const SettingsFields& f, Settings& s) {
    s.graphicEditor = f.graphicEditor;
    s.filter = f.filter;
    s.brailleFont = f.brailleFont;
    s.exchangeFile = f.exchangeFile;
    s.workDir = f.workDir;
    s.exchangeMode =
        std::string(f.exchangeAll ? text::kDefaultExchangeMode : text::kSelectionExchangeMode);
    s.brailleDisplay = f.brailleDisplay;
    // A timer of 0 would close every chord at once: only a positive interval is taken.
    if (const auto n = parseInteger(f.timer); n && *n > 0) {
        s.timer = *n;
    }
    if (const auto n = parseInteger(f.speechRate)) {
        s.speechRate = *n;
    }
    s.speechRate = std::clamp(s.speechRate, 30, 90);
    if (const auto n = parseInteger(f.printerChars); n && *n >= 0) {
        s.printerChars = *n;
    }
    if (const auto n = parseInteger(f.printerLines); n && *n >= 0) {
        s.printerLines = *n;
    }
}

TForm3::TForm3(SettingsDialogWidgets widgets, ui::Dialogs& dialogs)
    : w_(widgets), dialogs_(dialogs) {
    w_.form.setCaption(text::kSettingsCaption);
    w_.form.setKeyListener(this);
    w_.form.setOnActivate([this] { FormActivate(); });
    w_.ButtonOk.setOnClick([this] { OkClick(); });
    w_.ButtonEsci.setOnClick([this] { EsciClick(); });
    w_.SfogliaEditor.setOnClick([this] { SfogliaEditorClick(); });
    w_.SfogliaDir.setOnClick([this] { SfogliaDirClick(); });
    w_.RadioTutto.setOnClick([this] {
        w_.RadioTutto.setChecked(true);
        w_.RadioSelezione.setChecked(false);
    });
    w_.RadioSelezione.setOnClick([this] {
        w_.RadioSelezione.setChecked(true);
        w_.RadioTutto.setChecked(false);
    });
}

std::optional<SettingsFields> TForm3::run(const Settings& s,
                                          const std::filesystem::path& programDirectory,
                                          const std::vector<std::filesystem::path>& fontDirs,
                                          std::optional<std::string_view> caption) {
    programDirectory_ = programDirectory;
    fontDirectories_ = fontDirs;
    if (caption) {
        w_.form.setCaption(*caption);
    }
    w_.EditEditor.setText(s.graphicEditor);
    w_.EditWorkDir.setText(s.workDir);
    w_.EditExchange.setText(s.exchangeFile);
    w_.EditFont.setText(s.brailleFont);
    w_.EditFilter.setText(s.filter);
    w_.EditTimer.setText(std::to_string(s.timer));
    w_.EditSpeed.setText(std::to_string(s.speechRate));
    w_.EditChars.setText(std::to_string(s.printerChars));
    w_.EditLines.setText(std::to_string(s.printerLines));
    const bool all = s.exchangeMode == text::kDefaultExchangeMode;
    w_.RadioTutto.setChecked(all);
    w_.RadioSelezione.setChecked(!all);
    w_.CheckDisplay.setChecked(s.brailleDisplay);
    activated_ = false;
    accepted_ = false;
    w_.modal.showModal();
    if (!accepted_) {
        return std::nullopt;
    }
    return fields();
}

SettingsFields TForm3::fields() const {
    SettingsFields f;
    f.graphicEditor = w_.EditEditor.text();
    f.workDir = w_.EditWorkDir.text();
    f.exchangeFile = w_.EditExchange.text();
    f.brailleFont = w_.EditFont.text();
    f.filter = w_.EditFilter.text();
    f.timer = w_.EditTimer.text();
    f.speechRate = w_.EditSpeed.text();
    f.printerChars = w_.EditChars.text();
    f.printerLines = w_.EditLines.text();
    f.exchangeAll = w_.RadioTutto.checked();
    f.brailleDisplay = w_.CheckDisplay.checked();
    return f;
}

void TForm3::FormActivate() {
    // The window toolkit may activate the dialog again after a message box: the checks run
    // once per showing.
    if (activated_) {
        return;
    }
    activated_ = true;
    if (w_.EditEditor.text().empty() || w_.EditFilter.text().empty() ||
        w_.EditFont.text().empty()) {
        dialogs_.beep();
        dialogs_.warning(text::kSettingsMissing);
    }
    auto fill = [](ui::TextBox& box, std::string_view value) {
        if (box.text().empty()) {
            box.setText(value);
        }
    };
    fill(w_.EditFont, text::kDefaultBrailleFont);
    fill(w_.EditFilter, text::kDefaultFilter);
    fill(w_.EditTimer, text::kFieldTimer);
    fill(w_.EditSpeed, text::kFieldSpeed);
    fill(w_.EditChars, text::kFieldChars);
    fill(w_.EditLines, text::kFieldLines);
    w_.EditEditor.setFocus();
}

void TForm3::OkClick() {
    // Each check warns and lets the dialog close all the same.
    const std::string font = w_.EditFont.text();
    if (!fontInstalled(font, fontDirectories_)) {
        dialogs_.beep();
        dialogs_.warning(std::string(text::kSettingsFontNotFound) + font);
    }
    std::error_code ec;
    const std::string editorPath = w_.EditEditor.text();
    if (editorPath.empty() || !std::filesystem::is_regular_file(editorPath, ec)) {
        dialogs_.beep();
        dialogs_.warning(text::kSettingsEditorNotFound);
    }
    const std::string filterName = w_.EditFilter.text();
    if (filterName.empty() ||
        !std::filesystem::is_regular_file(programDirectory_ / filterName, ec)) {
        dialogs_.beep();
        dialogs_.warning(text::kSettingsFilterNotFound);
    }
    w_.EditExchange.setText(withTexExtension(w_.EditExchange.text()));
    accepted_ = true;
    w_.modal.closeModal();
}

void TForm3::EsciClick() {
    accepted_ = false;
    w_.modal.closeModal();
}

void TForm3::SfogliaEditorClick() {
    ui::FileDialog dialog;
    dialog.title = std::string(text::kBrowseEditorTitle);
    dialog.filter = std::string(text::kProgramsFilter);
    dialog.fileName = w_.EditEditor.text();
    if (auto chosen = dialogs_.openFile(dialog)) {
        w_.EditEditor.setText(*chosen);
    }
}

void TForm3::SfogliaDirClick() {
    if (auto chosen = dialogs_.chooseFolder(text::kBrowseWorkDirTitle, w_.EditWorkDir.text())) {
        w_.EditWorkDir.setText(*chosen);
    }
}

void TForm3::keyUp(ui::KeyEvent& event) {
    if (event.key == ui::vk::kEscape) {
        EsciClick();
    }
}

}  // namespace editor
