// tattilo.exe: the mathematics workbench with native Windows windows.
// Usage: tattilo [--no-recovery] [DOCUMENT.mtf]

#include <filesystem>
#include <string>
#include <vector>

#include "editor/messages.h"
#include "speech/engine.h"
#include "ui/program_folders.h"
#include "ui/temp_dir.h"
#include "win32gui/console.h"
#include "win32gui/message_loop.h"
#include "win32gui/native.h"
#include "win32gui/services/program_fonts.h"
#include "win32gui/start_failure.h"
#include "win32gui/wide_text.h"
#include "win32gui/workbench/main_window_view.h"

namespace {

// The command line after the program's name, as Windows splits it.
std::vector<std::wstring> commandArguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            arguments.emplace_back(argv[i]);
        }
        LocalFree(argv);
    }
    return arguments;
}

void problem(const std::string& text) {
    MessageBoxW(nullptr, win32gui::widenLines(text).c_str(), L"Tattilo", MB_ICONERROR | MB_OK);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A failure at start is also said on the console the program was started from.
    win32gui::connectStandardStreams();
    // COM for the shell's folder dialog, the clipboard and the accessibility annotations.
    OleInitialize(nullptr);

    // The document is named relative to where the program was started: made absolute before
    // the program directory becomes the current one.
    std::vector<std::string> arguments;
    bool lookForRecovery = true;
    for (const std::wstring& a : commandArguments()) {
        // For scripted use: the start offers no recovery copy left by a stopped program.
        if (a == L"--no-recovery") {
            lookForRecovery = false;
            continue;
        }
        std::error_code ec;
        arguments.push_back(win32gui::pathText(
            std::filesystem::absolute(std::filesystem::path(a), ec).lexically_normal()));
    }

    const ui::ProgramFolders folders = ui::programFolders(ui::executableFolder(nullptr));
    const std::filesystem::path& programDirectory = folders.program;
    std::error_code ec;
    std::filesystem::current_path(programDirectory, ec);
    if (const std::string why = ui::prepareSettingsFile(folders, editor::text::kConfigurationFile,
                                                        editor::text::kConfigurationDefaults);
        !why.empty()) {
        problem(why);
    }
    const ui::PrivateTempDir temporary;
    // The Braille font and the program's other fonts, when Windows does not have them.
    win32gui::loadProgramFonts(programDirectory, win32gui::windowsFontsFolder());

    win32gui::MainWindowOptions options;
    options.environment = editor::programEnvironment(folders, temporary.path(), arguments);
    options.recovery = {ui::recoveryFolder(), lookForRecovery};
    // Speech starts on when the backend's own check passes and the engine was made. Without
    // the engine's files speech is simply off, as the label says; an engine that is there but
    // cannot be made is said once.
    std::unique_ptr<speech::Engine> engine =
        speech::createEngine({.programDirectory = programDirectory});
    const bool filesPresent = speech::speechAvailable(programDirectory);
    options.environment.speechAvailable = engine != nullptr && filesPresent;
    options.speechReader = engine != nullptr || filesPresent;
    options.speechEngine = std::move(engine);
    // The calculation sheet has its own engine instance, said once when it cannot be made
    // where the main window's could.
    options.sheetVoice = options.speechReader;
    if (options.sheetVoice) {
        options.sheetEngine = speech::createEngine({.programDirectory = programDirectory});
    }

    // A window or control that cannot be made ends the start with its reason, before anything
    // is written to the settings or a document.
    const int status =
        win32gui::runReportingFailure("tattilo", "Tattilo", editor::text::kCannotStart, [&options] {
            win32gui::MainWindowView view(std::move(options));
            view.window().setVisible(true);
            return win32gui::runMessageLoop();
        });
    OleUninitialize();
    return status;
}
