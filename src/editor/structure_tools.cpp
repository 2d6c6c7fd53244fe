#include "editor/input/keypad_input.h"
#include "editor/workbench.h"

// The Workbench's side of the structure view and the decomposition: what they read from the
// main window, and the hidden "Struttura" entry that puts the structure view's result into
// the Braille page.

namespace editor {
namespace {

learning::ToolHost commonHost(TForm1& form) {
    learning::ToolHost host;
    host.programDirectory = form.environment().programDirectory.string();
    host.selection = [&form] { return form.activeEditor().selText(); };
    host.brailleMode = [&form] { return form.brailleMode(); };
    host.speak = [&form](speech::Request request) { form.speak(std::move(request)); };
    host.keypadMapping = [&form] {
        return form.services().keyboard.numLockOn() && !form.chordInput();
    };
    host.keypadText = [](int key, unsigned shift) {
        return keypadText(
            key, Modifiers{(shift & ui::shift::kShift) != 0, (shift & ui::shift::kCtrl) != 0,
                           (shift & ui::shift::kAlt) != 0});
    };
    host.brailleFont = [&form] { return form.widgets().Memo2.font(); };
    host.latexFont = [&form] { return form.widgets().Memo1.font(); };
    return host;
}

}  // namespace

learning::ToolHost Workbench::structureHost() {
    learning::ToolHost host = commonHost(form_);
    host.pasteIntoBraillePage = [this] {
        ui::Control& entry = form_.menuItem(Command::Struttura2);
        entry.setEnabled(true);
        form_.runCommand(Command::Struttura2);
        entry.setEnabled(false);
    };
    return host;
}

learning::ToolHost Workbench::decompositionHost() {
    learning::ToolHost host = commonHost(form_);
    host.pasteIntoBraillePage = [this] { form_.widgets().Memo2.pasteFromClipboard(); };
    return host;
}

void Workbench::attachLearningTools(ui::ModalWindow& structureView,
                                    ui::ModalWindow& decomposition) {
    form_.hooks().structureView = &structureView;
    form_.hooks().decomposition = &decomposition;
    // Ctrl+S belongs to the structure view ("Calcolo"); the hidden entry of "Modifica" that
    // shares it runs only while it inserts a result.
    form_.setCommandHandler(Command::Struttura2,
                            [this] { form_.widgets().Memo2.pasteFromClipboard(); });
    form_.menuItem(Command::Struttura2).setEnabled(false);
}

}  // namespace editor
