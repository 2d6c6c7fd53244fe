#include "editor/files/mathml_export_command.h"

#include "editor/exercise_name.h"
#include "editor/file_io.h"
#include "editor/window/menu_commands.h"
#include "notation/mathml_export.h"

namespace editor {

std::string exportFileName(std::string_view chosen) {
    std::string name(chosen);
    if (!std::filesystem::path(name).has_extension()) {
        name += ".xml";
    }
    return name;
}

std::optional<std::filesystem::path> MathmlExportCommand::SalvacomeMathmlClick() {
    namespace mtext = notation::mathml_text;
    ui::Dialogs& dialogs = form_.services().dialogs;
    const std::filesystem::path folder = form_.settings().workDir;
    const std::filesystem::path proposal =
        notation::proposeExportPath(form_.currentFileName(), folder, nextExerciseName(folder));

    ui::FileDialog dialog;
    dialog.title = std::string(menuEntry(Command::SalvacomeMathml1)->caption);
    dialog.filter = std::string(mtext::kSaveFilter);
    dialog.initialDirectory = proposal.parent_path().string();
    dialog.fileName = proposal.string();
    const std::optional<std::string> chosen = dialogs.saveFile(dialog);
    if (!chosen || chosen->empty()) {
        return std::nullopt;
    }
    const std::filesystem::path file = exportFileName(*chosen);
    std::error_code ec;
    if (std::filesystem::exists(file, ec) &&
        dialogs.question(mtext::kReplaceQuestion, ui::Buttons::YesNoCancel) != ui::Answer::Yes) {
        return std::nullopt;
    }

    // A page that fails to convert has been reported; the export goes on with the others. In
    // Braille mode the Braille pages are what the student wrote; leaving Latex mode, a page
    // refused keeps a Braille text that no longer says what its Latex-mode text does.
    form_.convertAllPages();
    form_.updateOccupancyStrip();
    notation::PageTexts pages = form_.pages().braille;
    for (std::size_t i = 0; i < pages.size() && !form_.brailleMode(); ++i) {
        if (unconverted_[i]) {
            pages[i].clear();
        }
    }

    const std::string bytes = notation::exportDocument(pages, file);
    if (const int code = writeFileSafely(file, bytes); code != 0) {
        dialogs.warning(writeErrorMessage(code, file.string()));
        return std::nullopt;
    }
    form_.activeEditor().setFocus();
    return file;
}

}  // namespace editor
