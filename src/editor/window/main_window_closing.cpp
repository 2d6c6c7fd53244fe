#include "editor/window/main_window.h"

#include "editor/messages.h"
#include "editor/settings/settings_dialog.h"
#include "speech/request_sources.h"

// TForm1: the closing sequence and the settings dialog.

namespace editor {

// ---- closing

bool TForm1::FormCloseQuery() {
    if (closing_) {
        return true;
    }
    if (s_.dialogs.question(text::kConfirmClose, ui::Buttons::OkNo) != ui::Answer::Ok) {
        return false;
    }
    if (modified_) {
        const ui::Answer answer = s_.dialogs.question(text::kSaveChangesOnClose, ui::Buttons::YesNo,
                                                      text::kMessageBoxCaption);
        // A save that did not happen (no name given, a write error) keeps the window open:
        // closing now would lose the work the user just asked to keep.
        if (answer == ui::Answer::Yes && !(hooks_.saveDocument && hooks_.saveDocument())) {
            return false;
        }
    }
    writeConfiguration();
    closing_ = true;
    for (const auto& listener : closeListeners_) {
        listener();
    }
    return true;
}

void TForm1::writeConfiguration() {
    settings_.timer = w_.Timer1.interval();
    settings_.modeText = modeText_;
    settings_.maximized = w_.form.maximized();
    if (auto problem = saveConfigurationFile(environment_.configurationFile, settings_)) {
        s_.dialogs.warning(std::string(text::kConfigWriteError) + *problem);
    }
}

// ---- settings

// The dialog keeps the caption it has: "Impostazioni " as it was made, "Impostazioni" after the
// start-up asked for missing settings.
void TForm1::openSettings() {
    openSettings(std::nullopt);
}

void TForm1::openSettings(std::optional<std::string_view> caption) {
    speak(speech::silenceRequest(environment_.programDirectory.string()));
    const std::string workDirBefore = settings_.workDir;
    const auto fields = settingsDialog_.run(settings_, environment_.programDirectory,
                                            environment_.fontDirectories, caption);
    if (!fields) {
        return;
    }
    applySettingsFields(*fields, settings_);
    if (!settings_.graphicEditor.empty()) {
        settings_.withoutGraphicEditor = false;
    }
    w_.Timer1.setInterval(settings_.timer);
    std::error_code ec;
    if (settings_.workDir != workDirBefore && !settings_.workDir.empty() &&
        !std::filesystem::is_directory(settings_.workDir, ec)) {
        const std::string question = std::string(text::kWorkDirMissing1) + settings_.workDir +
                                     std::string(text::kWorkDirMissing2);
        if (s_.dialogs.question(question, ui::Buttons::YesNoCancel) == ui::Answer::Yes) {
            std::filesystem::create_directories(settings_.workDir, ec);
            if (ec || !std::filesystem::is_directory(settings_.workDir)) {
                s_.dialogs.warning(std::string(text::kWorkDirCreateError) + settings_.workDir);
            }
        }
    }
}

}  // namespace editor
