#include "editor/files/document_commands.h"

#include <filesystem>

#include "editor/document_file.h"
#include "editor/exercise_name.h"
#include "editor/messages.h"

namespace editor {
namespace {

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(systemPath(path), ec);
}

}  // namespace

DocumentCommands::DocumentCommands(TForm1& form) : form_(form) {
    form_.setCommandHandler(Command::Nuovo1, [this] { newDocument(); });
    form_.setCommandHandler(Command::Apri1, [this] { open(); });
    form_.setCommandHandler(Command::Salva1, [this] { save(); });
    form_.setCommandHandler(Command::Salvacolnome1, [this] { saveAs(); });
    MainWindowHooks& hooks = form_.hooks();
    hooks.loadDocument = [this](const std::string& path, PageStore& pages) {
        loadAtStart(path, pages);
    };
    hooks.saveDocument = [this] { return save(); };
}

void DocumentCommands::settled(const std::string& path) {
    if (listener_ != nullptr) {
        listener_->documentSettled(path);
    }
}

void DocumentCommands::setName(const std::string& path, const std::string& titlePrefix) {
    form_.setCurrentFileName(path);
    form_.setTitlePrefix(titlePrefix);
    form_.updateTitle();
}

std::optional<std::string> DocumentCommands::askSaveName() {
    const std::filesystem::path dir = form_.settings().workDir;
    ui::FileDialog dialog;
    dialog.title = std::string(text::kSaveDialogTitle);
    dialog.filter = std::string(kMtfFilter);
    dialog.initialDirectory = dir.string();
    dialog.fileName = (dir / nextExerciseName(dir)).string();
    return form_.services().dialogs.saveFile(dialog);
}

bool DocumentCommands::replaceAllowed(const std::string& path) {
    return !fileExists(path) || form_.services().dialogs.question(
                                    kMsgFileExists, ui::Buttons::YesNoCancel) == ui::Answer::Yes;
}

bool DocumentCommands::save() {
    if (form_.currentFileName().empty()) {
        const std::optional<std::string> chosen = askSaveName();
        if (!chosen || chosen->empty()) {
            return false;
        }
        const std::string oldPrefix = form_.titlePrefix();
        setName(*chosen, std::string(text::kTitle) + std::string(fileNamePart(*chosen)));
        if (!replaceAllowed(*chosen)) {
            setName({}, oldPrefix);
            return false;
        }
    }
    return write();
}

void DocumentCommands::saveAs() {
    const std::optional<std::string> chosen = askSaveName();
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string name = saveAsFileName(*chosen);
    if (!replaceAllowed(name)) {
        return;  // the document keeps the name it had
    }
    setName(name, std::string(text::kTitle) + name);
    write();
}

bool DocumentCommands::write() {
    const std::string path = form_.currentFileName();
    if (path.empty()) {
        return false;
    }
    // Both texts of every page are brought in step first; a page that fails to convert has
    // been reported and is saved as it stands.
    form_.convertAllPages();
    form_.updateOccupancyStrip();
    if (listener_ != nullptr) {
        listener_->beforeWrite();
    }
    const FileOutcome outcome = saveDocument(path, form_.pages(), fault_);
    if (!outcome.ok) {
        form_.services().dialogs.warning(outcome.message);
        return false;
    }
    form_.setModified(false);
    settled(path);
    return true;
}

bool DocumentCommands::askToSaveChanges() {
    if (!form_.modified()) {
        return true;
    }
    const ui::Answer answer =
        form_.services().dialogs.question(text::kSaveChangesQuestion, ui::Buttons::YesNoCancel);
    if (answer == ui::Answer::Cancel) {
        return false;
    }
    return answer != ui::Answer::Yes || save();
}

void DocumentCommands::newDocument() {
    if (!askToSaveChanges()) {
        return;
    }
    form_.setCurrentFileName({});
    form_.clearDocument();
    form_.updateOccupancyStrip();
    form_.setModified(false);
    form_.setTitlePrefix(std::string(text::kTitle));
    form_.updateTitle();
    settled({});
}

void DocumentCommands::open() {
    // "Annulla" ends the command like in New: going on to the open dialog would let the next
    // file chosen there replace the changes the student did not want to decide about.
    if (!askToSaveChanges()) {
        return;
    }
    const MainWindowEnvironment& env = form_.environment();
    std::filesystem::path dir = form_.settings().workDir;
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(systemPath(dir), ec)) {
        dir = env.programDirectory;
    }
    ui::FileDialog dialog;
    dialog.title = std::string(text::kOpenDialogTitle);
    dialog.filter = std::string(kMtfFilter);
    dialog.initialDirectory = dir.string();
    dialog.fileName = (dir / std::string(text::kDocumentPattern)).string();
    const std::optional<std::string> chosen = form_.services().dialogs.openFile(dialog);
    if (chosen && !chosen->empty()) {
        PageStore loaded;
        const FileOutcome outcome = loadDocument(*chosen, loaded);
        if (!outcome.ok) {
            showLoadFailure(outcome);
        } else {
            form_.pages() = std::move(loaded);
            setName(*chosen, std::string(text::kTitle) + std::string(fileNamePart(*chosen)));
            form_.showPage();
            form_.updateOccupancyStrip();
            form_.menuItem(Command::Salva1).setEnabled(true);
            form_.menuItem(Command::Salvacolnome1).setEnabled(true);
            form_.setModified(false);
            settled(*chosen);
        }
    }
    ui::TextBox& active = form_.activeEditor();
    active.setFocus();
    form_.widgets().Memo1.setSelStart(0);
    form_.widgets().Memo2.setSelStart(0);
}

void DocumentCommands::showLoadFailure(const FileOutcome& outcome) {
    if (outcome.message == kMsgWrongFormat) {
        form_.services().dialogs.error(outcome.message);
    } else {
        form_.services().dialogs.warning(outcome.message);
    }
}

void DocumentCommands::loadAtStart(const std::string& path, PageStore& pages) {
    const FileOutcome outcome = loadDocument(path, pages);
    if (!outcome.ok) {
        showLoadFailure(outcome);
        // A name that is not there yet is where the new document will go; a file that is there
        // but could not be read as a document must not be written over by the next Save.
        if (fileExists(path)) {
            form_.setCurrentFileName({});
        }
    }
    settled(form_.currentFileName());
}

}  // namespace editor
