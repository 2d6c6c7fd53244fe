// The installer's windows on the offscreen platform, driven by the keyboard alone: a whole
// installation of the sample distribution that must equal an unattended one byte for byte,
// a cancel during copying that must leave the machine as it was, and the windows' edge cases.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "gui/installer/installer_app.h"
#include "gui_harness.h"
#include "installer/messages.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/unattended/unattended.h"
#include "ui/memory/scripted_dialogs.h"

namespace fs = std::filesystem;
namespace msg = installer::msg;

namespace {

std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).generic_string();
        if (entry.is_directory()) {
            files[name + "/"] = "";
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files[name] = bytes.str();
        }
    }
    return files;
}

QWidget* visibleWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->objectName() == QLatin1String(name)) {
            return w;
        }
    }
    return nullptr;
}

// A key typed where the window's focus is.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

// Tab until the control named `name` has the focus; false when it never comes.
bool tabTo(QWidget* window, const char* name) {
    for (int i = 0; i < 40; ++i) {
        if (window->focusWidget() && window->focusWidget()->objectName() == QLatin1String(name)) {
            return true;
        }
        press(window, Qt::Key_Tab);
    }
    return false;
}

}  // namespace

// Dialogs that let a test act when a message comes, on the window thread.
class HookedDialogs : public ui::memory::ScriptedDialogs {
public:
    std::function<void(const std::string& text)> onMessage;
    ui::Answer message(const ui::MessageBox& box) override {
        const ui::Answer answer = ScriptedDialogs::message(box);
        if (onMessage) {
            onMessage(box.text);
        }
        return answer;
    }
};

class InstallerWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ui::memory::ScriptedDialogs> dialogs;  // asked in advance
    std::unique_ptr<gui::InstallerApp> app;
    fs::path source;

    fs::path path() const { return dir->path().toStdString(); }

    void start() {
        gui::InstallerOptions options;
        options.root = path() / "machine";
        options.source = source.string();
        options.programFolder = path();
        options.dialogs = dialogs.get();
        app = std::make_unique<gui::InstallerApp>(options);
    }

    // Runs the installer to its end; `step` looks at the windows every 20 ms and acts.
    void runToEnd(const std::function<void()>& step) {
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, step);
        timer.start(20);
        if (app->start()) {
            QTRY_VERIFY_WITH_TIMEOUT(app->finished(), 60000);
        }
    }

    // The licence, agreed by keyboard: Tab to "I Agree", Space.
    static bool agreeToLicense() {
        QWidget* license = visibleWindow("licenseWindow");
        if (!license) {
            return false;
        }
        if (tabTo(license, "agree")) {
            press(license, Qt::Key_Space);
        }
        return true;
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<ui::memory::ScriptedDialogs>();
        source = path() / "cd";
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", source);
    }

    void cleanup() {
        app.reset();
        dialogs.reset();
        dir.reset();
    }

    void keyboardInstallEqualsUnattended() {
        start();
        dialogs->answer(ui::Answer::Yes);  // the Start Menu icons
        dialogs->answer(ui::Answer::No);   // no restart
        bool chose = false;
        runToEnd([&] {
            if (agreeToLicense()) {
                return;
            }
            QWidget* main = visibleWindow("mainWindow");
            if (main && !chose) {
                chose = true;
                gui_test::saveScreenshot(*main, "instello-main.png");
                auto* list = main->findChild<QListWidget*>(QStringLiteral("components"));
                QCOMPARE(main->focusWidget(), list);
                // "Documentazione": cleared, then chosen whole.
                press(main, Qt::Key_Down);
                press(main, Qt::Key_Space);
                QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
                press(main, Qt::Key_Space);
                QCOMPARE(list->item(1)->checkState(), Qt::Checked);
                QVERIFY(tabTo(main, "install"));
                press(main, Qt::Key_Space);
                return;
            }
            if (QWidget* progress = visibleWindow("progressWindow")) {
                gui_test::saveScreenshot(*progress, "instello-progress.png");
            }
        });
        QCOMPARE(app->exitStatus(), installer::kExitInstalled);
        QCOMPARE(dialogs->unanswered(), 0);
        QVERIFY(fs::exists(path() / "machine/C/Tattilo/ESEMPI"));

        std::vector<std::string> args = {"--unattended",
                                         "--root",
                                         (path() / "twin").string(),
                                         "--source",
                                         source.string(),
                                         "--accept-license",
                                         "--components",
                                         "Programma,Documentazione"};
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(installer::runUnattended(args, path(), out, err), installer::kExitInstalled);
        const auto windows = snapshot(path() / "machine");
        const auto unattended = snapshot(path() / "twin");
        QCOMPARE(windows.size(), unattended.size());
        for (const auto& [name, bytes] : unattended) {
            QVERIFY2(windows.count(name) == 1, name.c_str());
            QVERIFY2(windows.at(name) == bytes, name.c_str());
        }
    }

    // The second disk is missing: its prompt comes while copying. Cancel answered No returns
    // to the prompt; Yes cancels, and the machine is as it was before.
    void cancelWhileCopyingRestoresTheMachine() {
        start();
        std::map<std::string, std::string> before;
        int prompts = 0;
        runToEnd([&] {
            if (agreeToLicense()) {
                return;
            }
            if (QWidget* main = visibleWindow("mainWindow")) {
                before = snapshot(path() / "machine");
                press(main, Qt::Key_Tab);  // to "Select All"
                press(main, Qt::Key_Space);
                auto* optional = main->findChild<QCheckBox*>(QStringLiteral("checkOptional"));
                QVERIFY(tabTo(main, "checkOptional"));
                press(main, Qt::Key_Space);
                QVERIFY(optional->isChecked());
                QVERIFY(tabTo(main, "install"));
                press(main, Qt::Key_Space);
                return;
            }
            QWidget* prompt = visibleWindow("diskPrompt");
            if (!prompt) {
                return;
            }
            ++prompts;
            gui_test::saveScreenshot(*prompt, "instello-disk-prompt.png");
            auto* label = prompt->findChild<QLabel*>(QStringLiteral("label"));
            QCOMPARE(label->text(), QStringLiteral("Insert disk labeled Disco 2"));
            auto* ok = prompt->findChild<QAbstractButton*>(QStringLiteral("ok"));
            QVERIFY(!ok->isEnabled());
            QCOMPARE(prompt->findChild<QLabel*>(QStringLiteral("validation"))->text(),
                     QStringLiteral("Can not find package at the specified location."));
            dialogs->answer(ui::Answer::No);
            QVERIFY(tabTo(prompt, "cancel"));
            press(prompt, Qt::Key_Space);
            QVERIFY(prompt->isVisible());  // back at the prompt
            dialogs->answer(ui::Answer::Yes);
            press(prompt, Qt::Key_Escape);  // Escape is Cancel too
        });
        QCOMPARE(prompts, 1);
        QCOMPARE(app->exitStatus(), installer::kExitCancelled);
        const auto messages = dialogs->messages();
        QVERIFY(std::count(messages.begin(), messages.end(), std::string(msg::kNotCompleted)) == 2);
        QVERIFY(std::find(messages.begin(), messages.end(), std::string(msg::kCanceled)) !=
                messages.end());
        QVERIFY(!before.empty());
        QVERIFY(snapshot(path() / "machine") == before);
    }

    // A network destination disables Install with its text; zero components asks about the
    // empty selection first, then about space; Quit asks before it quits.
    void mainWindowEdgeCases() {
        // Drive C cannot tell its free space: it counts as full.
        { installer::system::SandboxSystem make(path() / "machine"); }
        std::string ini;
        {
            std::ifstream in(path() / "machine/sandbox.ini", std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            ini = bytes.str();
        }
        ini.replace(ini.find("FreeBytes=") + 10, 10, "unknown");
        std::ofstream(path() / "machine/sandbox.ini", std::ios::binary) << ini;
        start();
        bool done = false;
        runToEnd([&] {
            if (agreeToLicense()) {
                return;
            }
            QWidget* main = visibleWindow("mainWindow");
            if (!main || done) {
                return;
            }
            done = true;
            auto* destination = main->findChild<QLineEdit*>(QStringLiteral("destination"));
            auto* install = main->findChild<QAbstractButton*>(QStringLiteral("install"));
            auto* validation = main->findChild<QLabel*>(QStringLiteral("validation"));
            QVERIFY(tabTo(main, "destination"));
            press(main, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(destination, QStringLiteral("D:\\Tattilo"));
            QCOMPARE(validation->text(),
                     QStringLiteral("You can not install to removable or network drive."));
            QVERIFY(!install->isEnabled());
            QCOMPARE(main->findChild<QLabel*>(QStringLiteral("spaceNeeded"))->text(), QString());
            press(main, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(destination, QStringLiteral("C:\\Tattilo"));
            QVERIFY(install->isEnabled());

            QVERIFY(tabTo(main, "clear"));
            press(main, Qt::Key_Space);
            QCOMPARE(main->findChild<QLabel*>(QStringLiteral("spaceNeeded"))->text(),
                     QStringLiteral("0 kB"));
            dialogs->answer(ui::Answer::Yes);
            dialogs->answer(ui::Answer::No);
            QVERIFY(tabTo(main, "install"));
            press(main, Qt::Key_Space);
            const auto asked = dialogs->messages();
            QVERIFY(asked.size() >= 2);
            QCOMPARE(asked[asked.size() - 2], std::string(msg::kNothingSelected));
            QCOMPARE(asked.back(), std::string(msg::kNoSpace));
            QVERIFY(main->isVisible());  // No stays

            dialogs->answer(ui::Answer::No);
            QVERIFY(tabTo(main, "quit"));
            press(main, Qt::Key_Space);
            QCOMPARE(dialogs->messages().back(), std::string(msg::kReallyQuit));
            QVERIFY(main->isVisible());
            dialogs->answer(ui::Answer::Yes);
            press(main, Qt::Key_Escape);  // the close box asks the same
        });
        QCOMPARE(app->exitStatus(), installer::kExitDeclined);
        QCOMPARE(dialogs->messages().back(), std::string(msg::kCanceled));
    }

    // While the external programs run, the background window is disabled and its close box
    // is refused with its message; the programs go on. When they end, the information beep
    // sounds and the window takes input again, before the Start Menu question.
    void closeIsRefusedWhileExternalProgramsRun() {
        fs::remove_all(source);
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution-tex", source);
        std::ofstream(source / "INSTELLO.EXE", std::ios::binary) << "the installer";
        std::string script;
        {
            std::ifstream in(source / "INSTELLO.INI", std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            script = bytes.str();
        }
        std::ofstream(source / "INSTELLO.INI", std::ios::binary) << script << "RunMsg=1\r\n";
        auto hooked = std::make_unique<HookedDialogs>();
        HookedDialogs& messages = *hooked;
        dialogs = std::move(hooked);
        int closes = 0;
        messages.onMessage = [&](const std::string& text) {
            if (text == msg::kRunMsg) {
                // The format program is gone: the programs' thread reports it to this thread.
                fs::remove(path() / "machine/C/KORVO/BIN/korvowh.exe");
            } else if (text.rfind(std::string(msg::kCanNotExecute), 0) == 0) {
                QVERIFY(!app->background()->isEnabled());
                gui_test::saveScreenshot(*app->background(), "instello-programs-running.png");
                if (closes++ == 0) {
                    QVERIFY(app->background()->isVisible());
                    app->background()->close();
                    QVERIFY(app->background()->isVisible());
                }
            } else if (text == std::string(msg::kSuccessHead) + "Korvo!") {
                QVERIFY(app->background()->isEnabled());
            }
        };
        start();
        runToEnd([&] {
            if (QWidget* main = visibleWindow("mainWindow"); main && tabTo(main, "install")) {
                press(main, Qt::Key_Space);
            }
        });
        QCOMPARE(app->exitStatus(), installer::kExitInstalled);
        QCOMPARE(closes, 2);  // the second program was tried after the refusal
        const auto shown = messages.messages();
        const auto refused =
            std::find(shown.begin(), shown.end(), std::string(msg::kCannotTerminate));
        QVERIFY(refused != shown.end());
        QVERIFY(std::find(shown.begin(), shown.end(), std::string(msg::kNotCompleted)) ==
                shown.end());
        // One beep, after the programs' last message and before the success message.
        const auto said = messages.transcript();
        QCOMPARE(messages.beeps(), 1);
        const auto beep = std::find(said.begin(), said.end(), std::string("beep"));
        const auto last = std::find_if(said.rbegin(), said.rend(), [](const std::string& line) {
            return line.find(std::string(msg::kCanNotExecute)) != std::string::npos;
        });
        QVERIFY(last != said.rend() && beep > last.base() - 1);
        QVERIFY(std::find_if(beep, said.end(), [](const std::string& line) {
                    return line.find("Installation succesful!") != std::string::npos;
                }) != said.end());
    }

    // The previous version's uninstaller (DeletePrev=1) runs while the windows go on: the
    // background window is painted and answers (its close box refused) until it has ended.
    void windowsAnswerWhileThePreviousVersionIsRemoved() {
        fs::remove_all(source);
        auto put = [&](const std::string& name, const std::string& bytes) {
            std::ofstream(source / name, std::ios::binary) << bytes;
        };
        fs::create_directories(source);
        put("INSTELLO.INI",
            "[AppInfo]\r\nAppName=Formix\r\nVersion=2.0\r\n[StartUp]\r\nDeletePrev=1\r\n");
        put("INSTALL.CFG", "Fmx ; Formix ; FMX.QKP ; 1:1:1:1:1:1:1 ; L'editor.\r\n");
        // An empty package: the program only has to run.
        put("FMX.001", "Q");
        put("FMX.QKP", std::string("QKIP") + '\x49' + '\x03' + "FMX" + '\xFF');
        { installer::system::SandboxSystem make(path() / "machine"); }
        std::ofstream(path() / "machine/C/WINDOWS/fmxuninst.exe", std::ios::binary) << "MZ";
        std::ofstream(path() / "machine/sandbox.ini", std::ios::binary | std::ios::app)
            << "\r\n[Programs]\r\nRunMilliseconds=1500\r\n";
        auto hooked = std::make_unique<HookedDialogs>();
        HookedDialogs& messages = *hooked;
        dialogs = std::move(hooked);
        dialogs->answer(ui::Answer::Ok);  // remove the previous version
        start();
        int ticks = 0;
        bool closed = false;
        runToEnd([&] {
            if (QWidget* main = visibleWindow("mainWindow"); main && tabTo(main, "install")) {
                press(main, Qt::Key_Space);
                return;
            }
            if (app->flow() && app->flow()->stage() == installer::FlowStage::RemovingPrevious &&
                app->flow()->product() && app->flow()->product()->workerRunning) {
                ++ticks;
                const QImage painted = app->background()->grab().toImage();
                QVERIFY(!painted.isNull());
                if (!closed) {
                    closed = true;
                    app->background()->close();
                    QVERIFY(app->background()->isVisible());
                }
            }
        });
        QCOMPARE(app->exitStatus(), installer::kExitInstalled);
        QVERIFY2(ticks >= 5, std::to_string(ticks).c_str());
        const auto shown = messages.messages();
        QVERIFY(std::find(shown.begin(), shown.end(), std::string(msg::kCannotTerminate)) !=
                shown.end());
        QVERIFY(std::find(shown.begin(), shown.end(), std::string(msg::kRemovePrevious)) !=
                shown.end());
    }

    void missingLicenseCountsAsRefused() {
        fs::remove(source / "license.txt");
        start();
        runToEnd([] { QVERIFY(!visibleWindow("mainWindow")); });
        QCOMPARE(app->exitStatus(), installer::kExitDeclined);
        QVERIFY(!app->background());
    }
};

QTEST_MAIN(InstallerWindowsTest)
#include "installer_windows_test.moc"
