#include "editor/printing/print_commands.h"

#include <filesystem>

#include "editor/braille_print.h"
#include "editor/document_file.h"
#include "editor/messages.h"

namespace editor {

PrintCommands::PrintCommands(TForm1& form) : form_(form) {
    form_.setCommandHandler(Command::Stampa1, [this] { print(); });
    form_.setCommandHandler(Command::Stampasufile1, [this] { printToFile(); });
}

void PrintCommands::print() {
    ui::Dialogs& dialogs = form_.services().dialogs;
    if (!dialogs.printDialog()) {
        return;
    }
    ui::TextBox& editor = form_.activeEditor();
    if (!form_.services().printer.printLines(printerLines(editor.text()), editor.font())) {
        dialogs.warning(text::kPrintFailed);
    }
}

bool PrintCommands::printerSettingsReady() {
    const Settings& settings = form_.settings();
    while (!printerSettingsUsable(settings.printerChars, settings.printerLines)) {
        form_.services().dialogs.error(kMsgPrinterSettings);
        const int chars = settings.printerChars;
        const int lines = settings.printerLines;
        form_.openSettings();
        if (settings.printerChars == chars && settings.printerLines == lines) {
            return false;
        }
    }
    return true;
}

void PrintCommands::printToFile() {
    if (!form_.brailleMode() || !printerSettingsReady()) {
        return;
    }
    ui::Dialogs& dialogs = form_.services().dialogs;
    const std::filesystem::path dir = form_.settings().workDir;
    ui::FileDialog dialog;
    dialog.title = std::string(text::kPrintFileDialogTitle);
    dialog.filter = std::string(kPrnFilter);
    dialog.initialDirectory = dir.string();
    dialog.fileName = (dir / std::string(text::kPrintFilePattern)).string();
    const std::optional<std::string> chosen = dialogs.saveFile(dialog);
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string name = printFileName(*chosen);
    std::error_code ec;
    if (std::filesystem::exists(systemPath(name), ec) &&
        dialogs.question(kMsgFileExists, ui::Buttons::YesNoCancel) != ui::Answer::Yes) {
        return;
    }
    const Settings& settings = form_.settings();
    const FileOutcome outcome =
        writeEmbosserFile(name, fileNamePart(form_.currentFileName()), form_.widgets().Memo2.text(),
                          settings.printerChars, settings.printerLines, fault_);
    if (outcome.ok) {
        dialogs.information(outcome.message);
    } else {
        dialogs.warning(outcome.message);
    }
}

}  // namespace editor
