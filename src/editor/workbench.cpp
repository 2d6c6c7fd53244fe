#include "editor/workbench.h"

#include "notation/conversion.h"
#include "notation/messages.h"

namespace editor {

void DialogFormulaErrorSink::formulaError(const std::string& message) {
    dialogs_.beep();
    dialogs_.warning(message);
}

Workbench::Workbench(TForm1& form)
    : form_(form),
      errorSink_(form.services().dialogs),
      formulaErrors_(&errorSink_),
      documents_(form),
      printing_(form),
      editing_(form),
      palettes_(form),
      deletions_(form, formulaErrors_),
      brailleInput_(form),
      linearView_(form) {
    attachNotation();
    attachHandoffAndExport();
}

Workbench::~Workbench() {
    if (speechReader_) {
        form_.setSpeechSink(nullptr);
    }
}

void Workbench::startSpeechReader(std::unique_ptr<speech::Engine> engine) {
    if (const auto problem = speech::prepareEngine(engine.get())) {
        form_.services().dialogs.message({*problem, {}, ui::Icon::None, ui::Buttons::Ok});
    }
    speechReader_ = std::make_unique<speech::SpeechReader>(std::move(engine), &form_.speechGate());
    form_.setSpeechSink(speechReader_.get());
}

void Workbench::startRecovery(ui::Timer& timer, RecoveryOptions options) {
    recovery_ = std::make_unique<DocumentRecovery>(form_, documents_, timer, std::move(options));
}

void Workbench::start(ui::Timer& recoveryTimer, WorkbenchOptions& options) {
    if (!options.recovery.folder.empty()) {
        startRecovery(recoveryTimer, std::move(options.recovery));
    }
    if (options.speechReader) {
        startSpeechReader(std::move(options.speechEngine));
    }
}

void Workbench::attachFormulaPrinting(TForm8& confirmation, FormulaPrintPreview& preview) {
    handoff_->setConfirmation(&confirmation);
    handoff_->setPreview([&preview](const std::string& title, const std::string& folder) {
        preview.show(title, folder);
    });
}

void Workbench::attachTutors(learning::TutorOpener& brackets, learning::TutorOpener& operations,
                             learning::TutorOpener& fractions) {
    form_.hooks().bracketsTutor = &brackets;
    form_.hooks().operationsTutor = &operations;
    form_.hooks().fractionsTutor = &fractions;
}

void Workbench::mirrorOnBrailleDisplay(ui::BrailleDisplay& display) {
    displayMirror_ = std::make_unique<BrailleDisplayMirror>(form_, display);
}

learning::SheetHost Workbench::calcSheetHost() {
    return {[this] { return form_.chordInput(); },
            [this] { return form_.widgets().Timer1.interval(); },
            [this] { return form_.speechOn(); }};
}

void Workbench::attachNotation() {
    MainWindowHooks& hooks = form_.hooks();
    hooks.convertAllPages = [this](PageStore& pages, ConversionDirection direction) {
        const auto way = direction == ConversionDirection::LatexToBraille
                             ? notation::ConversionDirection::LatexToBraille
                             : notation::ConversionDirection::BrailleToLatex;
        const bool converted = notation::convertAllPages(way, pages.latex, pages.braille,
                                                         formulaErrors_, &unconverted_);
        // The user has seen the message; the caller only learns that the switch is off.
        formulaErrors_.clear();
        return converted;
    };
    hooks.loadFilterFile = [this](const std::filesystem::path& file) {
        if (notation::loadFilterFile(file, filter_) == notation::FilterLoad::Missing) {
            form_.services().dialogs.error(notation::messages::kFilterMissing);
        }
    };
}

void Workbench::attachHandoffAndExport() {
    handoff_ = std::make_unique<GraphicEditorHandoff>(form_, formulaErrors_, filter_);
    mathmlExport_ = std::make_unique<MathmlExportCommand>(form_, unconverted_);
    form_.setCommandHandler(Command::Editorgrafico1, [this] { handoff_->EditorgraficoClick(); });
    form_.setCommandHandler(Command::Stampaformule1, [this] { handoff_->StampaformuleClick(); });
    form_.setCommandHandler(Command::SalvacomeMathml1,
                            [this] { mathmlExport_->SalvacomeMathmlClick(); });
    // Without the mathml setting the command is not there at all, Ctrl+M included.
    form_.menuItem(Command::SalvacomeMathml1).setEnabled(form_.settings().mathml);
    form_.widgets().Mathml.setEnabled(form_.settings().mathml);
}

}  // namespace editor
