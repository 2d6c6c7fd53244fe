#pragma once

// `instello` without --unattended: the installer's windows, when the program was built with
// them.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The options of the windows: --root, --source and, for the removal, --product ("--uninstall"
// is the removal's own and passed over).
struct WindowOptions {
    std::filesystem::path root;
    std::string source;
    std::string product;
    std::string unknown;  // the first option understood as none of them; empty when all were
};
WindowOptions parseWindowOptions(const std::vector<std::string>& args, bool removal);

// Whether `Options` are those of the removal's windows (they name a product).
template <class Options>
constexpr bool kRemovalOptions = requires(Options o) {
    o.product;
};

// The options of the installer's or the removal's windows.
template <class Options>
Options windowsOptionsOf(const WindowOptions& given, const std::filesystem::path& programFolder) {
    Options options;
    options.programFolder = programFolder;
    options.root = given.root;
    options.source = given.source;
    if constexpr (kRemovalOptions<Options>) {
        options.product = given.product;
    }
    return options;
}

// The windows of `app` until their run is over: `loop` runs the event loop, which `quit` ends
// when the run is over; `failed` gets the reason they could not start. The exit status.
template <class App>
int runUntilFinished(App& app, std::function<void()> quit, const std::function<void()>& loop,
                     const std::function<void(const std::string&)>& failed) {
    app.onFinished = std::move(quit);
    if (!app.start()) {
        if (!app.error().empty()) {
            failed(app.error());
        }
    } else if (!app.finished()) {
        loop();
    }
    return app.exitStatus();
}

// Runs the windows with the arguments after the program name; returns the exit status.
int runInstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                        const std::filesystem::path& programFolder);

// Before the first line is written: on Windows, where a GUI program's lines go (the console it
// was started from, or where they were redirected); elsewhere nothing to do.
void connectConsole();

// `instello --uninstall` (without --unattended): the windows that remove the installed
// product; the arguments after the program name, "--uninstall" among them.
int runUninstallerWindows(int argc, char** argv, const std::vector<std::string>& args,
                          const std::filesystem::path& programFolder);

// The Qt build: the sandbox machine the windows use when no --root is given, one of the
// user's own (~/.local/share/instello/sandbox).
std::filesystem::path defaultMachine();
