#pragma once

// The main window of the tests with every feature of the workbench attached, as the program
// builds it.

#include <memory>

#include "editor/printing/formula_print_dialog.h"
#include "editor/workbench.h"
#include "main_window_harness.h"

namespace testing_support {

// The formula print confirmation; what the user does in it is set with onShow.
struct FormulaPrintWindow {
    MemoryWindow form;
    ScriptedModal modal;
    MemoryControl label;
    MemoryControl procedi{"", &form.focusScope()}, esci{"", &form.focusScope()};
    editor::TForm8 logic{{form, modal, label, procedi, esci}};

    void onShow(std::function<void(FormulaPrintWindow&)> script) {
        modal.setScript([this, script] {
            form.activate();
            if (script) {
                script(*this);
            }
        });
    }
};

struct WorkbenchWindow : MainWindow {
    std::unique_ptr<editor::Workbench> workbench;
    FormulaPrintWindow formulaPrint;

    explicit WorkbenchWindow(const ProgramFolder& folder, std::vector<std::string> arguments = {},
                             bool speechAvailable = true)
        : MainWindow(folder, std::move(arguments), speechAvailable),
          workbench(std::make_unique<editor::Workbench>(*logic)) {
        workbench->handoff().setConfirmation(&formulaPrint.logic);
    }

    // Types `text` into the editor of the current mode as the user would.
    void type(const std::string& text) { logic->activeEditor().setSelText(text); }
};

}  // namespace testing_support
