#pragma once

// The main window of the tests with every feature of the workbench attached, as the program
// builds it.

#include <memory>

#include "editor/workbench.h"
#include "main_window_harness.h"

namespace testing_support {

struct WorkbenchWindow : MainWindow {
    std::unique_ptr<editor::Workbench> workbench;

    explicit WorkbenchWindow(const ProgramFolder& folder, std::vector<std::string> arguments = {},
                             bool speechAvailable = true)
        : MainWindow(folder, std::move(arguments), speechAvailable),
          workbench(std::make_unique<editor::Workbench>(*logic)) {}

    // Types `text` into the editor of the current mode as the user would.
    void type(const std::string& text) { logic->activeEditor().setSelText(text); }
};

}  // namespace testing_support
