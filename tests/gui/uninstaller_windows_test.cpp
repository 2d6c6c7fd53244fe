// The windows of `instello --uninstall` on the offscreen platform, by the keyboard alone: the
// confirmation (Enter removes, Escape declines), the progress window (its Cancel asks first and
// puts everything back), the final message; the names a screen reader hears.

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "gui/installer/uninstaller_app.h"
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

void press(QWidget* window, Qt::Key key) {
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key);
}

}  // namespace

class UninstallerWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ui::memory::ScriptedDialogs> dialogs;
    std::unique_ptr<gui::UninstallerApp> app;
    std::map<std::string, std::string> before;
    std::map<std::string, std::string> installed;
    std::atomic<int> slow{0};  // milliseconds the removal waits after each journal record

    fs::path path() const { return dir->path().toStdString(); }

    void runToEnd(const std::function<void()>& step) {
        gui::UninstallerOptions options;
        options.root = path() / "machine";
        options.product = "Tattilo";
        options.programFolder = path();
        options.dialogs = dialogs.get();
        options.hooks.journalRecord = [this](std::size_t) {
            std::this_thread::sleep_for(std::chrono::milliseconds(slow.load()));
        };
        app = std::make_unique<gui::UninstallerApp>(options);
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, step);
        timer.start(20);
        if (app->start()) {
            QTRY_VERIFY_WITH_TIMEOUT(app->finished(), 60000);
        }
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<ui::memory::ScriptedDialogs>();
        { installer::system::SandboxSystem make(path() / "machine"); }
        before = snapshot(path() / "machine");
        const fs::path cd = fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution";
        std::vector<std::string> args = {"--unattended", "--root",    (path() / "machine").string(),
                                         "--source",     cd.string(), "--accept-license"};
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(installer::runUnattended(args, path(), out, err), installer::kExitInstalled);
        installed = snapshot(path() / "machine");
        slow = 0;
    }

    void cleanup() {
        app.reset();
        dialogs.reset();
        dir.reset();
    }

    void enterRemovesAndTheMessageSaysSo() {
        bool confirmed = false;
        runToEnd([&] {
            QWidget* confirm = visibleWindow("uninstallWindow");
            if (!confirm || confirmed) {
                return;
            }
            confirmed = true;
            gui_test::saveScreenshot(*confirm, "instello-uninstall.png");
            QCOMPARE(confirm->windowTitle(), QStringLiteral("Tattilo Uninstall"));
            auto* remove = confirm->findChild<QAbstractButton*>(QStringLiteral("remove"));
            QCOMPARE(confirm->focusWidget(), remove);
            QCOMPARE(remove->accessibleName(), QStringLiteral("Remove"));
            QVERIFY(confirm->accessibleDescription().startsWith(
                QStringLiteral("Do you want to remove Tattilo 1.1 from this computer? The "
                               "Installer will remove what it installed in C:\\Tattilo\\")));
            press(confirm, Qt::Key_Return);
        });
        QVERIFY(confirmed);
        QCOMPARE(app->exitStatus(), installer::kExitInstalled);
        const auto messages = dialogs->messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QCOMPARE(messages[0], std::string("Tattilo 1.1 has been removed from this computer."));
        QCOMPARE(dialogs->log()[0].box.caption, std::string("Tattilo Uninstall"));
        QVERIFY(snapshot(path() / "machine") == before);
    }

    void escapeDeclines() {
        runToEnd([&] {
            if (QWidget* confirm = visibleWindow("uninstallWindow")) {
                press(confirm, Qt::Key_Escape);
            }
        });
        QCOMPARE(app->exitStatus(), installer::kExitDeclined);
        QVERIFY(dialogs->messages().empty());
        QVERIFY(snapshot(path() / "machine") == installed);
    }

    // Cancel at the progress window: No goes on, Yes puts everything back.
    void cancelWhileRemovingPutsEverythingBack() {
        slow = 30;
        int cancels = 0;
        runToEnd([&] {
            if (QWidget* confirm = visibleWindow("uninstallWindow")) {
                press(confirm, Qt::Key_Return);
                return;
            }
            QWidget* progress = visibleWindow("removalWindow");
            if (!progress || cancels >= 2) {
                return;
            }
            auto* cancel = progress->findChild<QAbstractButton*>(QStringLiteral("cancel"));
            QCOMPARE(progress->focusWidget(), cancel);
            QCOMPARE(
                progress->findChild<QProgressBar*>(QStringLiteral("totalBar"))->accessibleName(),
                QStringLiteral("Total"));
            if (cancels == 0) {
                gui_test::saveScreenshot(*progress, "instello-removing.png");
            }
            dialogs->answer(cancels == 0 ? ui::Answer::No : ui::Answer::Yes);
            ++cancels;
            press(progress, cancels == 1 ? Qt::Key_Space : Qt::Key_Escape);
        });
        QCOMPARE(cancels, 2);
        QCOMPARE(app->exitStatus(), installer::kExitCancelled);
        const auto messages = dialogs->messages();
        QCOMPARE(
            std::count(messages.begin(), messages.end(), std::string(msg::kRemovalNotCompleted)),
            2);
        QCOMPARE(messages.back(), std::string(msg::kRemovalCanceled));
        QVERIFY(snapshot(path() / "machine") == installed);
    }
};

QTEST_MAIN(UninstallerWindowsTest)
#include "uninstaller_windows_test.moc"
