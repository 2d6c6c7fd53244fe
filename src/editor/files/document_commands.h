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
#include "editor/window/main_window.h"

namespace editor {

// What a feature that keeps unsaved work safe hears of the document's life.
class DocumentListener {
public:
    virtual ~DocumentListener() = default;
    // The document is about to be written to its file.
    virtual void beforeWrite() {}
    // The window's pages are now those of the file `path` (empty: a document never saved): just
    // saved, opened, emptied by "Nuovo" or loaded at start. Nothing unsaved is left.
    virtual void documentSettled(const std::string& /*path*/) {}
};

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
    // The one listener (null: none); it must outlive these commands or be taken off first.
    void setListener(DocumentListener* listener) { listener_ = listener; }

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
    void settled(const std::string& path);

    TForm1& form_;
    WriteFault fault_;
    DocumentListener* listener_ = nullptr;
};

}  // namespace editor
