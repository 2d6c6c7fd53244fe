#include "installer/unattended/options.h"

namespace installer {

bool parseUnattendedOptions(std::span<const std::string> args, UnattendedOptions& options,
                            std::string& error) {
    bool unattended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--unattended") {
            unattended = true;
        } else if (arg == "--root") {
            ok = value(options.root);
        } else if (arg == "--source") {
            ok = value(options.source);
        } else if (arg == "--target") {
            ok = value(options.target);
        } else if (arg == "--components") {
            ok = value(options.components);
            options.haveComponents = true;
        } else if (arg == "--log") {
            ok = value(options.log);
        } else if (arg == "--check-optional") {
            options.checkOptional = true;
        } else if (arg == "--accept-license") {
            options.acceptLicense = true;
        } else if (arg == "--recover") {
            options.recoverOnly = true;
        } else if (arg == "--uninstall") {
            options.uninstall = true;
        } else if (arg == "--product") {
            ok = value(options.product);
        } else {
            error = "unknown option " + arg;
            return false;
        }
        if (!ok) {
            return false;
        }
    }
    if (!unattended) {
        error = "only --unattended installations are available in this build";
        return false;
    }
    if (options.uninstall && (!options.target.empty() || options.haveComponents)) {
        error =
            "--uninstall removes the installed product: --target and --components do not "
            "go with it";
        return false;
    }
    if (!options.product.empty() && !options.uninstall) {
        error = "--product names the product to remove: it goes with --uninstall";
        return false;
    }
    return true;
}

std::string unattendedUsage() {
    return "Usage: instello --unattended [--root SANDBOX] [--source DIR] [--target PATH]\n"
           "                [--components NAMES] [--check-optional] [--accept-license]\n"
           "                [--log FILE]\n"
           "       instello --unattended [--root SANDBOX] --recover [--log FILE]\n"
           "       instello --unattended --uninstall [--root SANDBOX] [--source DIR]\n"
           "                [--product NAME] [--log FILE]\n"
           "       instello [--root SANDBOX] [--source DIR]   (the installer's windows;\n"
           "                default SANDBOX: ~/.local/share/instello/sandbox)\n"
           "       instello --uninstall [--root SANDBOX] [--source DIR] [--product NAME]\n"
           "                (the windows that remove the installed product)\n"
           "\n"
           "Installs the product of a distribution folder into a sandbox machine (a folder\n"
           "that stands for a Windows machine; made with default settings when new).\n"
           "  --root SANDBOX      the sandbox machine; the Windows build installs into the\n"
           "                      computer itself when it is not given\n"
           "  --source DIR        the distribution: a host folder (seen as a CD-ROM drive)\n"
           "                      or a Windows path inside the sandbox; default: the\n"
           "                      installer's own folder\n"
           "  --target PATH       the destination, a Windows path (default: the product's)\n"
           "  --components NAMES  comma-separated component or group names to install\n"
           "                      (default: the recommended selection)\n"
           "  --check-optional    ask for the disk of a missing component (answered Skip)\n"
           "                      instead of skipping it silently\n"
           "  --accept-license    agree to the licence (the default answer disagrees)\n"
           "  --recover           only undo an installation that was interrupted (a crash,\n"
           "                      a power cut); every run does this first\n"
           "  --uninstall         remove the installed product: everything its installation\n"
           "                      made, except the files you made or changed; the product\n"
           "                      is the one installed from the --source distribution, or\n"
           "                      the one whose folder the installer runs from (its BIN\\\n"
           "                      copy, which the list of programs starts)\n"
           "  --product NAME      with --uninstall: the product (AppName) to remove\n"
           "  --log FILE          write every line printed to FILE as well\n"
           "Every message is printed; every question is answered with its default, printed\n"
           "with it: OK; Yes, except \"nothing selected\", \"not enough space\" and the\n"
           "restart (No); the licence: I Disagree unless --accept-license; a missing disk:\n"
           "Skip. Ctrl+C cancels (and rolls back) the installation while it copies.\n"
           "Exit status: 0 installed (or, with --recover, nothing left interrupted), 1 could\n"
           "not start, 2 declined or cancelled before copying, 3 an interrupted installation\n"
           "could not be undone completely, 4 failed, 5 cancelled while copying (4 and 5\n"
           "after rolling back). With --uninstall: 0 removed, 1 nothing to remove (or could\n"
           "not start), 2 declined, 3 as above, 4 failed (a file in use included), 5\n"
           "cancelled while removing (4 and 5 after putting everything back).\n";
}

}  // namespace installer
