// What a screen reader hears in the installer: each window of a run (licence, main, Details,
// About, progress with the disk prompt) read over AT-SPI on an X display. No button, check
// box, edit field, list or bar may be announced without a name.

#include <QAbstractButton>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <set>

#include "atspi_tree.h"
#include "gui/installer/installer_app.h"
#include "ui/memory/scripted_dialogs.h"

namespace fs = std::filesystem;

namespace {

bool needsName(const QString& role) {
    static const std::set<QString> roles = {
        QStringLiteral("push button"),   QStringLiteral("toggle button"),
        QStringLiteral("check box"),     QStringLiteral("radio button"),
        QStringLiteral("text"),          QStringLiteral("entry"),
        QStringLiteral("password text"), QStringLiteral("combo box"),
        QStringLiteral("list"),          QStringLiteral("progress bar")};
    return roles.count(role) > 0;
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

class InstallerTreeTest : public QObject {
    Q_OBJECT

    QStringList checked;  // the windows read, in order
    QStringList unnamed;  // "window: role" for every control without a name

    bool reading = false;  // a reading runs in an event loop below the timer's

    QList<gui_test::AtspiEntry> lastTree;

    // Whether the last reading announced a showing control of `role` named `name`.
    bool heard(const char* role, const char* name) const {
        for (const auto& e : lastTree) {
            if (e.showing && e.role == QLatin1String(role) && e.name == QLatin1String(name)) {
                return true;
            }
        }
        return false;
    }

    void readWindow(const char* window) {
        reading = true;
        const QList<gui_test::AtspiEntry> tree = gui_test::readAtspiTree();
        QVERIFY2(!tree.isEmpty(), "the installer is not on the accessibility bus");
        for (const auto& e : tree) {
            if (e.showing && needsName(e.role) && e.name.trimmed().isEmpty()) {
                unnamed << QString::fromLatin1(window) + QStringLiteral(": ") + e.role;
            }
        }
        lastTree = tree;
        checked << QString::fromLatin1(window);
        qInfo("read %s", window);
        reading = false;
    }

private slots:
    void everyWindowNamesEveryControl() {
        QTemporaryDir dir;
        const fs::path root = dir.path().toStdString();
        fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", root / "cd");
        ui::memory::ScriptedDialogs dialogs;
        gui::InstallerOptions options;
        options.root = root / "machine";
        options.source = (root / "cd").string();
        options.programFolder = root;
        options.dialogs = &dialogs;
        gui::InstallerApp app(options);
        bool installing = false;

        // Each look at the windows runs from a timer of its own: a window it opens runs its
        // loop inside, and Qt fires no timer again inside its own handler.
        std::function<void()> step = [&] {
            if (reading) {
                return;
            }
            if (QWidget* w = visibleWindow("licenseWindow")) {
                readWindow("License Agreement");
                QVERIFY(tabTo(w, "agree"));
                press(w, Qt::Key_Space);
            } else if (QWidget* d = visibleWindow("detailsWindow")) {
                readWindow("Details");
                press(d, Qt::Key_Escape);
            } else if (QWidget* a = visibleWindow("aboutWindow")) {
                readWindow("About");
                press(a, Qt::Key_Escape);
            } else if (QWidget* p = visibleWindow("diskPrompt")) {
                readWindow("Installing... and Select location");
                QVERIFY(tabTo(p, "skip"));
                press(p, Qt::Key_Space);
            } else if (QWidget* m = visibleWindow("mainWindow")) {
                if (!checked.contains(QStringLiteral("main"))) {
                    readWindow("main");
                    QVERIFY(heard("push button", "Install"));
                    QVERIFY(heard("check box", "Check for optional components"));
                    QVERIFY(heard("text", "Install to"));
                    QVERIFY(heard("list", "Components"));
                    press(m, Qt::Key_Down);  // the group
                    QVERIFY(tabTo(m, "details"));
                    press(m, Qt::Key_Space);
                } else if (!checked.contains(QStringLiteral("About"))) {
                    QVERIFY(tabTo(m, "about"));
                    press(m, Qt::Key_Space);
                } else if (!installing) {
                    installing = true;
                    QVERIFY(tabTo(m, "selectAll"));
                    press(m, Qt::Key_Space);
                    QVERIFY(tabTo(m, "checkOptional"));
                    press(m, Qt::Key_Space);
                    QVERIFY(tabTo(m, "install"));
                    press(m, Qt::Key_Space);
                }
            }
        };
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { QTimer::singleShot(0, this, step); });
        timer.start(50);
        dialogs.answer(ui::Answer::No);  // no Start Menu icons
        dialogs.answer(ui::Answer::No);  // no restart
        QVERIFY(app.start());
        QTRY_VERIFY2_WITH_TIMEOUT(app.finished(), qPrintable(checked.join(u',')), 120000);
        QCOMPARE(checked, (QStringList{QStringLiteral("License Agreement"), QStringLiteral("main"),
                                       QStringLiteral("Details"), QStringLiteral("About"),
                                       QStringLiteral("Installing... and Select location")}));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u'\n')));
    }
};

QTEST_MAIN(InstallerTreeTest)
#include "installer_tree_atspi_test.moc"
