// The graphic editor hand-off in the real window, with stand-in editor programs that really
// run: Ctrl+G sends the formula, the window stays alive but takes no edits while the editor
// runs, and what the editor saved comes back as Braille cells. The formula print confirmation
// by keyboard.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "editor/files/graphic_editor_handoff.h"
#include "gui/text_bridge.h"
#include "gui_harness.h"

class HandoffTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    // A stand-in editor from the test data, copied beside the program and made runnable.
    std::string editorScript(const std::string& name) {
        const std::filesystem::path from =
            std::filesystem::path(TATTILO_TEST_DATA) / "editor" / "handoff" / name;
        const std::filesystem::path to = h->path() / name;
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(to, std::filesystem::perms::owner_all);
        return to.string();
    }

    QPlainTextEdit* memo2() { return h->find<QPlainTextEdit>("Memo2"); }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY(h->view->logic().started());
        // The rules of the filter file that ships with the program.
        h->view->logic().hooks().loadFilterFile(std::filesystem::path(TATTILO_BIN_DIR) /
                                                "filtro.base");
        // The window manager gives the activation back to the main window; the Braille editor
        // is where the focus returns.
        QApplication::setActiveWindow(&h->window());
        QTRY_VERIFY(memo2()->hasFocus());
    }

    void cleanup() { h.reset(); }

    void texEditorRoundTripInBrailleMode() {
        h->view->logic().settings().graphicEditor = editorScript("tex.sh");
        h->view->logic().widgets().Memo2.setText("9#c:_xo+6_anp_b4+9#bo");
        QTest::keyClick(memo2(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(h->dialogs.messages(), std::vector<std::string>{});
        QCOMPARE(gui::fromQString(memo2()->toPlainText()), std::string("9#c:_xo+6_anp_b4+9#bo\n"));
        QVERIFY(memo2()->isEnabled());
        QVERIFY(memo2()->hasFocus());
        QCOMPARE(h->read("tmp/formula.tex"),
                 std::string("$\\root\\ 3 \\of {x}+{a\\over b}+\\sqrt 2$\r\n"));
    }

    // What a formula editor writes (\\left, \\cdot, \\leq, \\dfrac, spacing, \\sin, \\text,
    // \\neq) comes back through the shipped filter file as the same formula, in either mode; a
    // command the notation does not know is refused by name and the page stays as it was.
    void editorFormsComeBackIntoTheNotation() {
        const std::string saved = (h->path() / "saved.tex").string();
        h->view->logic().settings().graphicEditor = editorScript("saves.sh") + " " + saved;
        h->write("saved.tex",
                 "$\\left(a\\cdot b\\right)^{2}\\leq\\dfrac{1}{2}\\,\\sin x+\\text{ per }x\\neq "
                 "0$\r\n");
        h->view->logic().widgets().Memo2.setText("_x");
        QTest::keyClick(memo2(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(h->dialogs.messages(), std::vector<std::string>{});
        QCOMPARE(gui::fromQString(memo2()->toPlainText()),
                 std::string("?_a( _b*#b12=#,b_s_i_n _x+\\\\ per \\\\_x>= #j\n"));

        h->write("saved.tex", "$\\lfloor x\\rfloor$\r\n");
        h->view->logic().widgets().Memo2.setText("_x");
        QTest::keyClick(memo2(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(h->dialogs.messages(),
                 std::vector<std::string>{"Pagina 1\r\nFunzione sconosciuta"});
        QCOMPARE(gui::fromQString(memo2()->toPlainText()), std::string("_x"));

        // In Latex mode the page gets the Latex-mode text.
        QTest::keyClick(memo2(), Qt::Key_B, Qt::ControlModifier);
        auto* memo1 = h->find<QPlainTextEdit>("Memo1");
        QTRY_VERIFY(memo1->hasFocus());
        h->write("saved.tex", "$\\sin^{2}x+\\cos^{2}x=1\\quad\\forall x$\r\n");
        QTest::keyClick(memo1, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(gui::fromQString(memo1->toPlainText()),
                 std::string("sin^{2}x+cos^{2}x=1\\forall x\n"));
    }

    void windowAnswersButTakesNoEditsWhileTheEditorRuns() {
        h->write("slow.sh", "#!/bin/sh\nsleep 1\n");
        std::filesystem::permissions(h->path() / "slow.sh", std::filesystem::perms::owner_all);
        h->view->logic().settings().graphicEditor = (h->path() / "slow.sh").string();
        h->view->logic().widgets().Memo2.setText("_x+#a");
        bool checked = false;
        bool editorDisabled = false;
        QString status;
        QTimer::singleShot(300, [&] {
            checked = true;  // the window's own events go on while the editor runs
            editorDisabled = !memo2()->isEnabled();
            status = h->find<QLabel>("StatusBar1")->text();
        });
        QTest::keyClick(memo2(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(checked);
        QVERIFY(editorDisabled);
        QCOMPARE(gui::fromQString(status),
                 std::string(editor::handoff_window_text::kEditorRunning));
        QCOMPARE(h->find<QLabel>("StatusBar1")->text(), QStringLiteral("Pag. 1 Braille"));
        QVERIFY(memo2()->isEnabled());
        QCOMPARE(gui::fromQString(memo2()->toPlainText()), std::string("_x+#a\n"));
    }

    void editorThatCannotStartIsReported() {
        h->view->logic().settings().graphicEditor = (h->path() / "non-esiste").string();
        h->view->logic().widgets().Memo2.setText("_x");
        QTest::keyClick(memo2(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(h->dialogs.messages().size(), std::size_t{1});
        QVERIFY(h->dialogs.messages()[0].starts_with("Errore nel caricamento Editor grafico\r\n"));
        QCOMPARE(gui::fromQString(memo2()->toPlainText()), std::string("_x"));
        QVERIFY(memo2()->isEnabled());
    }

    void printConfirmationByKeyboard() {
        h->view->logic().settings().graphicEditor = editorScript("keep.sh");
        h->view->logic().widgets().Memo2.setText("_x+#a");
        QDialog* seen = nullptr;
        QString focused;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            seen = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(seen != nullptr);
            QTRY_VERIFY(seen->focusWidget() != nullptr);
            focused = seen->focusWidget()->accessibleName();
            QTest::keyClick(seen->focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(memo2(), Qt::Key_F11, Qt::ShiftModifier);
        QVERIFY(seen != nullptr);
        QCOMPARE(seen->windowTitle(), QStringLiteral("Stampa formule"));
        QCOMPARE(seen->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Stampa formule in formato grafico"));
        QCOMPARE(focused, QStringLiteral("Procedi"));
        QVERIFY2(!std::filesystem::exists(h->path() / "tmp" / "formula.tex"), "Esc stops");
        // The window manager gives the activation back to the main window; the Braille editor
        // is where the focus returns.
        QApplication::setActiveWindow(&h->window());
        QTRY_VERIFY(memo2()->hasFocus());

        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            QDialog* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QTRY_VERIFY(d->focusWidget() != nullptr);
            QTest::keyClick(d->focusWidget(), Qt::Key_Space);  // "Procedi"
        });
        QTest::keyClick(memo2(), Qt::Key_F11, Qt::ShiftModifier);
        QCOMPARE(h->read("tmp/formula.tex"), std::string("$||x+1||$\r\n"));
        QCOMPARE(gui::fromQString(memo2()->toPlainText()), std::string("_x+#a\n"));
    }
};

QTEST_MAIN(HandoffTest)
#include "handoff_test.moc"
