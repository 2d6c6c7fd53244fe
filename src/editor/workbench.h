#pragma once

// The workbench: the main window's spine (TForm1) with every feature attached to it. The
// features reach the window through its extension points (command handlers, key handlers,
// editor listeners, hooks) and through the services it was built with; the builder of the
// window (the Qt view in the program, the in-memory harness in tests) creates one Workbench
// right after the TForm1 and before the window is first shown.
//
// Ownership: the Workbench keeps a reference to the TForm1, which must outlive it.

#include <memory>

#include "editor/files/document_commands.h"
#include "editor/files/graphic_editor_handoff.h"
#include "editor/files/mathml_export_command.h"
#include "editor/input/braille_input.h"
#include "editor/input/deletion_commands.h"
#include "editor/input/editing_commands.h"
#include "editor/input/palette_commands.h"
#include "editor/printing/formula_preview.h"
#include "editor/printing/formula_print_dialog.h"
#include "editor/printing/linear_view.h"
#include "editor/printing/print_commands.h"
#include "editor/recovery/document_recovery.h"
#include "editor/window/braille_display_mirror.h"
#include "editor/window/main_window.h"
#include "learning/calc_sheet.h"
#include "learning/structure_host.h"
#include "learning/tutor_opener.h"
#include "notation/filter_table.h"
#include "notation/formula_error_report.h"
#include "speech/engine.h"
#include "speech/speech_reader.h"

namespace editor {

// Formula errors as the window shows them: a beep and a warning box with the message.
class DialogFormulaErrorSink : public notation::FormulaErrorSink {
public:
    explicit DialogFormulaErrorSink(ui::Dialogs& dialogs) : dialogs_(dialogs) {}
    void formulaError(const std::string& message) override;

private:
    ui::Dialogs& dialogs_;
};

// What the builder of the program's window (the Qt view, the Win32 window) is given, the
// same for both toolkits.
struct WorkbenchOptions {
    MainWindowEnvironment environment;
    // Where speech requests go when the window has no speech reader of its own.
    speech::RequestSink* speech = nullptr;
    // The window speaks through a speech reader made with `speechEngine` (null: the engine
    // could not be created, which the window says once before it goes on silent); without
    // `speechReader` it has no speech at all.
    bool speechReader = false;
    std::unique_ptr<speech::Engine> speechEngine;
    // The calculation sheet speaks through a voice of its own made with `sheetEngine` (null:
    // the engine could not be created, which is said once); without `sheetVoice` it is silent.
    bool sheetVoice = false;
    std::unique_ptr<speech::Engine> sheetEngine;
    MainWindowHooks hooks;
    // Dialogs to use instead of real ones (tests answer them in advance); null for real ones.
    ui::Dialogs* dialogs = nullptr;
    // Recovery copies of the unsaved document; without a folder none are kept.
    RecoveryOptions recovery;
};

class Workbench {
public:
    explicit Workbench(TForm1& form);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    TForm1& form() { return form_; }

    // Creates the speech reader at program start with `engine` (null: the engine could not be
    // created, which is said once; the program goes on silent) and sends the window's speech
    // requests to it from now on. The reader speaks while the window's speech state is on.
    // Called at most once; without it the window keeps the speech sink it was built with.
    void startSpeechReader(std::unique_ptr<speech::Engine> engine);
    // Keeps recovery copies of the unsaved document in `options.folder`, written on `timer`'s
    // ticks, and looks for those of stopped programs at the first activation
    // (recovery/document_recovery.h); called at most once, before the window is first shown.
    // The timer must not fire once the Workbench is gone.
    void startRecovery(ui::Timer& timer, RecoveryOptions options);
    // What the program's window starts with, as `options` asks: recovery copies written on
    // `recoveryTimer`'s ticks when they have a folder, and the speech reader with its engine.
    void start(ui::Timer& recoveryTimer, WorkbenchOptions& options);
    // The recovery of unsaved work; null before startRecovery.
    DocumentRecovery* recovery() { return recovery_.get(); }
    // Shows the caret's line of the Braille editor on `display` from now on; called at most
    // once. The display must outlive the Workbench.
    void mirrorOnBrailleDisplay(ui::BrailleDisplay& display);
    // What the calculation sheet reads from the window each time it opens: the chord input
    // mode and interval, and whether speech is on.
    learning::SheetHost calcSheetHost();
    // The sheet that "Apri  foglio calcolo" opens on the selection.
    void attachCalculationSheet(learning::TForm2& sheet) {
        form_.hooks().calculationSheet = &sheet;
    }
    // What the structure view and the decomposition read from the window and how they put
    // their result into the Braille page: the structure view through the hidden "Struttura"
    // entry of "Modifica", which works only while it pastes such a result.
    learning::ToolHost structureHost();
    learning::ToolHost decompositionHost();
    // The confirmation the graphic editor's formula goes through before it is printed, and
    // the preview it is shown in.
    void attachFormulaPrinting(TForm8& confirmation, FormulaPrintPreview& preview);
    // The tutors of brackets, operations and complex fractions that the window opens.
    void attachTutors(learning::TutorOpener& brackets, learning::TutorOpener& operations,
                      learning::TutorOpener& fractions);
    // The windows that "Struttura" and "Scomponi" open on the caret line.
    void attachLearningTools(ui::ModalWindow& structureView, ui::ModalWindow& decomposition);
    // The speech reader, for the windows that speak through it; null before startSpeechReader.
    speech::SpeechReader* speechReader() { return speechReader_.get(); }
    notation::FormulaErrorReport& formulaErrors() { return formulaErrors_; }
    const notation::FilterTable& filter() const { return filter_; }
    DocumentCommands& documents() { return documents_; }
    PrintCommands& printing() { return printing_; }
    EditingCommands& editing() { return editing_; }
    GraphicEditorHandoff& handoff() { return *handoff_; }
    LinearView& linearView() { return linearView_; }

private:
    void attachNotation();
    void attachHandoffAndExport();

    TForm1& form_;

    // Notation: the one formula error report, the filter file's rules, convert all pages.
    DialogFormulaErrorSink errorSink_;
    notation::FormulaErrorReport formulaErrors_;
    notation::FilterTable filter_;
    notation::PageFlags unconverted_{};  // left out of step by the last conversion of all pages

    // Documents, printing, editing commands, palettes, deletions.
    DocumentCommands documents_;
    PrintCommands printing_;
    EditingCommands editing_;
    PaletteCommands palettes_;
    DeletionCommands deletions_;

    // Braille input and speech; the linear view of the Braille page.
    BrailleInput brailleInput_;
    LinearView linearView_;
    std::unique_ptr<speech::SpeechReader> speechReader_;
    std::unique_ptr<BrailleDisplayMirror> displayMirror_;

    // Graphic editor hand-off and MathML export.
    std::unique_ptr<GraphicEditorHandoff> handoff_;
    std::unique_ptr<MathmlExportCommand> mathmlExport_;

    // After the document commands: it goes first.
    std::unique_ptr<DocumentRecovery> recovery_;
};

}  // namespace editor
