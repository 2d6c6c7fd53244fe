// The settings dialog driven by keyboard: opened from the main window, fields named for
// screen readers, Esc leaves everything as it was, Enter confirms.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "gui_harness.h"

class SettingsDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    // Runs `script` on the settings dialog once it is open, then opens it from the menu.
    void withDialog(std::function<void(QDialog*)> script) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QTRY_VERIFY(dialog->focusWidget() != nullptr &&
                        dialog->focusWidget()->accessibleName() ==
                            QStringLiteral("Editor grafico"));
            script(dialog);
            ran = true;
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        h->view->logic().runCommand(editor::Command::Cambiaimpostazioni1);
        QVERIFY(ran);
    }

    QLineEdit* field(QDialog* dialog, const char* name) {
        for (auto* e : dialog->findChildren<QLineEdit*>()) {
            if (e->accessibleName() == QString::fromUtf8(name)) {
                return e;
            }
        }
        return nullptr;
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY(h->view->logic().started());
    }

    void cleanup() { h.reset(); }

    void fieldsAreNamedAndEscChangesNothing() {
        withDialog([&](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Impostazioni "));
            for (const char* name :
                 {"Editor grafico", "Directory lavoro", "File di scambio", "Font Braille",
                  "Nome file filtro", "Interval Timer per Dattilobraille",
                  "Velocit\u00E0 voce (min 30 max 90)", "Caratteri per riga", "Righe per pagina"}) {
                QVERIFY2(field(dialog, name) != nullptr, name);
            }
            QLineEdit* speed = field(dialog, "Velocit\u00E0 voce (min 30 max 90)");
            speed->setFocus();
            speed->selectAll();
            QTest::keyClicks(speed, QStringLiteral("85"));
            QTest::keyClick(speed, Qt::Key_Escape);
            QTRY_VERIFY(!dialog->isVisible());
        });
        QCOMPARE(h->view->logic().settings().speechRate, 50);
        QCOMPARE(h->speech.texts.back(), std::string("\x1B"));
    }

    void enterConfirmsAndTheSpeedIsClamped() {
        withDialog([&](QDialog* dialog) {
            QLineEdit* speed = field(dialog, "Velocit\u00E0 voce (min 30 max 90)");
            speed->setFocus();
            speed->selectAll();
            QTest::keyClicks(speed, QStringLiteral("200"));
            QLineEdit* exchange = field(dialog, "File di scambio");
            exchange->setFocus();
            exchange->selectAll();
            QTest::keyClicks(exchange, QStringLiteral("a.b.txt"));
            QTest::keyClick(exchange, Qt::Key_Return);
            QTRY_VERIFY(!dialog->isVisible());
        });
        QCOMPARE(h->view->logic().settings().speechRate, 90);
        QCOMPARE(h->view->logic().settings().exchangeFile, std::string("a.tex"));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
