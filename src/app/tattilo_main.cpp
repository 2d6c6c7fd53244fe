// tattilo: the mathematics workbench. Usage: tattilo [--no-recovery] [DOCUMENT.mtf]

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <filesystem>
#include <iostream>

#include "app/display_check.h"
#include "editor/messages.h"
#include "gui/braille_font.h"
#include "gui/main_window_view.h"
#include "speech/engine.h"
#include "ui/program_folders.h"
#include "ui/temp_dir.h"

namespace {

// A switch for checks and documentation, not shown in any help: after `delay` milliseconds
// the window is saved as a PNG picture and the program ends.
struct Grab {
    QString file;
    int delay = 2500;
};

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!app::displayAvailable(why)) {
        std::cerr << app::noDisplayAdvice("tattilo", why);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tattilo"));
    // The toolkit's own dialogs (files, fonts, printing, input boxes) speak Italian like the
    // rest of the program when the system has the toolkit's Italian texts.
    QTranslator toolkitItalian;
    if (toolkitItalian.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkitItalian);
    }

    Grab grab;
    bool lookForRecovery = true;
    std::vector<std::string> arguments;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--grab-window") && i + 1 < args.size()) {
            grab.file = QDir::current().absoluteFilePath(args[++i]);
            if (i + 1 < args.size() && args[i + 1].toInt() > 0) {
                grab.delay = args[++i].toInt();
            }
            continue;
        }
        // For scripted use: the start offers no recovery copy left by a stopped program.
        if (args[i] == QStringLiteral("--no-recovery")) {
            lookForRecovery = false;
            continue;
        }
        // The document is named relative to where the program was started: made absolute
        // before the program directory becomes the current one.
        arguments.push_back(
            std::filesystem::absolute(std::filesystem::path(args[i].toLocal8Bit().toStdString()))
                .lexically_normal()
                .string());
    }

    // Built, the program's files lie beside it; installed, in PREFIX/share/tattilo, with the
    // settings and exercises in the user's own folders.
    const ui::ProgramFolders folders = ui::programFolders(ui::executableFolder(argv[0]));
    const std::filesystem::path& programDirectory = folders.program;
    std::error_code ec;
    std::filesystem::current_path(programDirectory, ec);
    if (const std::string problem = ui::prepareSettingsFile(
            folders, editor::text::kConfigurationFile, editor::text::kConfigurationDefaults);
        !problem.empty()) {
        std::cerr << "tattilo: " << problem << '\n';
    }

    const ui::PrivateTempDir temporary;
    if (temporary.path().empty()) {
        std::cerr << "tattilo: no private temporary folder: " << temporary.error() << '\n';
    }
    gui::loadProgramFonts(programDirectory);

    gui::MainWindowOptions options;
    options.environment = editor::programEnvironment(folders, temporary.path(), arguments);
    options.recovery = {ui::recoveryFolder(), lookForRecovery};
    // The speech reader's engine is made at start. Speech starts on when the backend's own
    // check passes and the engine was made: a window that says "Sintesi vocale attivata"
    // must be able to speak.
    std::unique_ptr<speech::Engine> engine =
        speech::createEngine({.programDirectory = programDirectory});
    options.environment.speechAvailable =
        engine != nullptr && speech::speechAvailable(programDirectory);
    options.speechReader = true;
    options.speechEngine = std::move(engine);
    // The calculation sheet has its own engine instance.
    options.sheetVoice = true;
    options.sheetEngine = speech::createEngine({.programDirectory = programDirectory});
    gui::MainWindowView view(std::move(options));
    view.window().show();

    if (!grab.file.isEmpty()) {
        QTimer::singleShot(grab.delay, &view.window(), [&view, &grab] {
            const bool saved = view.window().grab().save(grab.file, "PNG");
            std::cerr << (saved ? "saved " : "could not save ") << grab.file.toStdString() << '\n';
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
