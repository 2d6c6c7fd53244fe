#pragma once

// The document commands of the "File" menu in the main window: "Nuovo", "Apri", "Salva" and
// "Salva con nome", the save asked for when the window closes, and the loading of the document
// named on the command line. The file format and the safe write are in document_file.h; this
// asks the questions, shows the messages and keeps the title and the modified flag.
//
// Work is never lost to these commands:
//   - a "Yes" to "Salvare i cambiamenti correnti?" whose save did not happen (no name given,
//     a write error) stops New and Open, which would otherwise throw the document away, and
//     so does "Annulla";
//   - a file that cannot be opened or is not a document leaves the document, its name and the
//     title as they were, so that a later Save cannot write over the file that was refused;
//   - declining "Il file esiste già. Sostituirlo ? " gives the old name back, so that a later
//     Save does not replace the file the user just kept;
//   - a failed write leaves the previous file as it was and says so.
//
// Ownership: keeps a reference to the TForm1, which must outlive it.

#include <optional>
#include <string>

#include "editor/file_io.h"
#include "editor/main_window.h"

namespace editor {

class DocumentCommands {
public:
    // Binds the four commands and the window's load and save hooks.
    explicit DocumentCommands(TForm1& form);
    DocumentCommands(const DocumentCommands&) = delete;
    DocumentCommands& operator=(const DocumentCommands&) = delete;

    void newDocument();  // "Nuovo"
    void open();         // "Apri"
    // "Salva": asks for a name when the document has none; true when the file was written.
    bool save();
    void saveAs();  // "Salva con nome"

    // Test hook: the writes fail at the steps `fault` chooses.
    void setWriteFault(WriteFault fault) { fault_ = std::move(fault); }

private:
    // The save dialog proposing the next exercise name in the working directory.
    std::optional<std::string> askSaveName();
    bool replaceAllowed(const std::string& path);
    // Save steps from the name on: converts all pages, writes, clears the modified flag.
    bool write();
    bool askToSaveChanges();  // false when the command must stop
    void loadAtStart(const std::string& path, PageStore& pages);
    void showLoadFailure(const FileOutcome& outcome);
    void setName(const std::string& path, const std::string& titlePrefix);

    TForm1& form_;
    WriteFault fault_;
};

}  // namespace editor
