#pragma once

// The command line of `instello --unattended`.

#include <span>
#include <string>

namespace installer {

struct UnattendedOptions {
    std::string root;
    std::string source;
    std::string target;
    std::string components;
    bool haveComponents = false;
    bool checkOptional = false;
    bool acceptLicense = false;
    bool recoverOnly = false;
    bool uninstall = false;  // --uninstall: remove the installed product
    std::string product;     // --product NAME: the product to remove
    std::string log;
};

// Reads the arguments after the program name (which must hold "--unattended"); false with a
// one-line `error` for an unknown option, a missing value or a missing --root.
bool parseUnattendedOptions(std::span<const std::string> args, UnattendedOptions& options,
                            std::string& error);

// The usage text of instello.
std::string unattendedUsage();

}  // namespace installer
