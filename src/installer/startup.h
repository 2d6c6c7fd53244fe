#pragma once

// The installer's start: the install script beside the program, the product it names, the
// script check, the paths, the licence and the PDF reader check, then the greeting.

#include <memory>
#include <string_view>

#include "installer/product.h"
#include "installer/prompter.h"
#include "installer/system/system.h"

namespace installer {

enum class StartupOutcome {
    Ready,     // go on: read the component list and let the user choose
    Failed,    // the installation cannot start (a message has been shown)
    Declined,  // the user refused the licence
};

struct Startup {
    StartupOutcome outcome = StartupOutcome::Failed;
    std::unique_ptr<Product> product;
};

// `programFolder` is the folder of the running installer (a Windows path).
Startup startUp(system::System& sys, Prompter& prompter, std::string_view programFolder);

// The licence text (license.txt in `folder`); nullopt when missing or unreadable.
std::optional<std::string> readLicense(system::System& sys, std::string_view folder);

}  // namespace installer
