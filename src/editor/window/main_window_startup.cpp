#include "editor/window/main_window.h"

#include "editor/messages.h"
#include "editor/settings/settings_dialog.h"
#include "ui/program_folders.h"
#include "ui/text_trim.h"

// TForm1: the first activation.

namespace editor {
namespace {

std::string fileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// ---- start-up

void TForm1::FormActivate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    const std::filesystem::path& dir = environment_.programDirectory;
    if (settings_.exchangeFile.empty()) {
        settings_.exchangeFile = std::string(text::kDefaultExchangeFile);
    }
    const std::filesystem::path& documents =
        environment_.documentsDirectory.empty() ? dir : environment_.documentsDirectory;
    const std::string defaultWorkDir = (documents / std::string(text::kWorkDirName)).string();
    const bool workDirByDefault = settings_.workDir.empty();
    if (workDirByDefault) {
        settings_.workDir = defaultWorkDir;
    }
    // The dialog shows the exchange mode the program will use.
    if (settings_.exchangeMode.empty()) {
        settings_.exchangeMode = std::string(text::kDefaultExchangeMode);
    }
    const bool editorMissing = settings_.graphicEditor.empty() && !settings_.withoutGraphicEditor;
    if (editorMissing || settings_.brailleFont.empty() || settings_.filter.empty()) {
        openSettings(text::kSettingsCaptionMissing);
        settingsDialog_.widgets().form.setCaption(text::kSettingsCaptionAfter);
        // Most students have no graphic editor: left empty once, it is a choice.
        settings_.withoutGraphicEditor = settings_.graphicEditor.empty();
    }
    // The program's own exercise folder is made on first use, so that the first save of a new
    // installation finds it. A folder the user chose is never made behind his back.
    if (workDirByDefault && settings_.workDir == defaultWorkDir) {
        std::error_code made;
        std::filesystem::create_directories(defaultWorkDir, made);
    }

    // A missing filter file only disables the return translation from the graphic editor:
    // the error is shown and the start-up goes on, so the document asked for still opens.
    const std::filesystem::path filterFile = dir / settings_.filter;
    std::error_code ec;
    if (settings_.filter.empty() || !std::filesystem::is_regular_file(filterFile, ec)) {
        s_.dialogs.error(text::kFilterNotFound);
    } else if (hooks_.loadFilterFile) {
        hooks_.loadFilterFile(filterFile);
    }

    if (settings_.brailleFont.empty()) {
        settings_.brailleFont = std::string(text::kDefaultBrailleFont);
        if (auto typed = s_.dialogs.inputBox(text::kFontInputCaption, text::kFontInputPrompt,
                                             settings_.brailleFont);
            typed && !ui::trimControls(*typed).empty()) {
            settings_.brailleFont = std::string(ui::trimControls(*typed));
        }
    }
    if (!fontInstalled(settings_.brailleFont, environment_.fontDirectories)) {
        s_.dialogs.warning(text::kFontNotInstalled);
    }

    w_.Memo1.setFont({std::string(text::kPlainFontFamily), text::kPlainFontPixels, 0});
    applyModeWidgets();
    activeEditor().setFocus();

    chordInput_ = false;
    numLock_ = s_.keyboard.numLockOn();

    if (!environment_.arguments.empty()) {
        fileName_ = environment_.arguments.front();
        pages_.clear();
        if (hooks_.loadDocument) {
            hooks_.loadDocument(fileName_, pages_);
        }
        showPage();
        menuItem(Command::Salva1).setEnabled(true);
        menuItem(Command::Salvacolnome1).setEnabled(true);
        modified_ = false;
    }
    titlePrefix_ = std::string(text::kTitleAtStart) + fileNamePart(fileName_);
    updateTitle();
    updateOccupancyStrip();

    speechSwitch_.start(environment_.speechAvailable);
    ui::Control& speechItem = menuItem(Command::Attivasintesivocale1);
    speechItem.setCaption(speechSwitch_.menuCaption());
    speechItem.setEnabled(speechSwitch_.menuEnabled());
    if (braille_) {
        speechLabel();
    }

    changeCounter_ = 0;
    for (const auto& step : startupSteps_) {
        step();
    }
    started_ = true;
}

MainWindowEnvironment programEnvironment(const ui::ProgramFolders& folders,
                                         const std::filesystem::path& temporaryDirectory,
                                         std::vector<std::string> arguments) {
    MainWindowEnvironment environment;
    environment.programDirectory = folders.program;
    environment.configurationFile = folders.settings / std::string(text::kConfigurationFile);
    environment.documentsDirectory = folders.documents;
    environment.temporaryDirectory = temporaryDirectory;
    environment.arguments = std::move(arguments);
    return environment;
}

}  // namespace editor
