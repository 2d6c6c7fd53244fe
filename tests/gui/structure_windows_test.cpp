// The structure view and the decomposition driven by the keyboard alone, as a blind student
// works: a line typed on the Braille page, Ctrl+S or Ctrl+W, every step typed and accepted,
// and the result put back in the page; what the workbench said at each step is checked.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "gui_harness.h"

class StructureWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    QPlainTextEdit* memo2() { return h->find<QPlainTextEdit>("Memo2"); }
    ui::TextBox& page() { return h->view->logic().widgets().Memo2; }
    template <class T>
    static T* in(QDialog* dialog, const char* name) {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }

    // "mode:text" of what was said since the last look.
    std::vector<std::string> said() {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < h->speech.texts.size(); ++i) {
            out.push_back(h->speech.modes[i] + ":" + h->speech.texts[i]);
        }
        h->speech.texts.clear();
        h->speech.modes.clear();
        return out;
    }
    // The focus within its own window: after a modal window over it closes, the offscreen
    // platform does not activate the window again.
    static bool focused(QWidget* widget) { return widget->window()->focusWidget() == widget; }
    static bool holds(const std::vector<std::string>& all, const std::string& one) {
        return std::find(all.begin(), all.end(), one) != all.end();
    }

    // Runs `work` once `dialog` is the modal window on top, then `open`, which opens it; the
    // dialog is closed by force should `work` stop half way.
    static void withDialog(QDialog* dialog, const std::function<void()>& work,
                           const std::function<void()>& open) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() == dialog);
            work();
            ran = true;
        });
        QTimer::singleShot(20000, dialog, [dialog] {
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        open();
        QVERIFY(ran);
        QVERIFY(!dialog->isVisible());
    }

    static void typeAndSettle(QWidget* target, const QString& text) {
        QTest::keyClicks(target, text);
        QApplication::processEvents();
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY(memo2()->hasFocus());
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 4000);
        QVERIFY(h->view->logic().brailleMode());
        QVERIFY(h->view->logic().speechOn());
    }

    void cleanup() { h.reset(); }

    void decomposeWithTheCalculationSheet() {
        typeAndSettle(memo2(), QStringLiteral("?#b+#c*(#d"));
        QDialog* steps = &h->view->decomposition().dialog();
        QDialog* sheet = &h->view->calcSheet().dialog();
        said();
        withDialog(
            steps,
            [&] {
                QCOMPARE(steps->windowTitle(), QStringLiteral("Scomposizione"));
                auto* step = in<QPushButton>(steps, "Button1");
                QTRY_VERIFY(focused(step));
                QCOMPARE(step->text(), QStringLiteral("Parentesi tonde (1)"));
                QCOMPARE(in<QPlainTextEdit>(steps, "Memo1")->toPlainText(),
                         QStringLiteral("?#b+#c*(#d"));
                QVERIFY(holds(said(), "error:Parentesi tonde (1)"));

                QTest::keyClick(step, Qt::Key_Space);
                auto* work = in<QLineEdit>(steps, "Edit1");
                auto* answer = in<QLineEdit>(steps, "Edit2");
                QTRY_VERIFY(focused(answer));
                QCOMPARE(work->text(), QStringLiteral("#b+#c"));
                QCOMPARE(work->accessibleName(), QStringLiteral("Da calcolare"));
                QVERIFY(holds(said(), "all:#b+#c"));

                // The addition in the calculation sheet; its result comes back as the answer.
                withDialog(
                    sheet,
                    [&] {
                        auto* columns = in<QPlainTextEdit>(sheet, "Memo1");
                        QTRY_VERIFY(focused(columns));
                        QCOMPARE(columns->toPlainText(), QStringLiteral("b+c=\n   ="));
                        QTest::keyClick(columns, Qt::Key_E);
                        QTest::keyClick(columns, Qt::Key_Space);
                        QCOMPARE(in<QLabel>(sheet, "StatusBar1")->text(), QStringLiteral("Esatto"));
                        QTest::keyClick(in<QPushButton>(sheet, "Button2"), Qt::Key_Space);
                    },
                    [&] { QTest::keyClick(answer, Qt::Key_A, Qt::ControlModifier); });
                QTRY_VERIFY(focused(answer));
                QCOMPARE(answer->text(), QStringLiteral("#e"));
                QVERIFY(holds(said(), "all:#e"));
                QTest::keyClick(answer, Qt::Key_Return);

                QTRY_VERIFY(focused(step));
                QCOMPARE(step->text(), QStringLiteral("Molt. - Div. (1)"));
                QVERIFY(holds(said(), "error:Molt. - Div. (1)"));
                QVERIFY(in<QPushButton>(steps, "Button5")->isVisible());  // Ricomincia
                QTest::keyClick(step, Qt::Key_Space);
                QTRY_VERIFY(focused(answer));
                QCOMPARE(work->text(), QStringLiteral("#e(#d"));
                said();
                typeAndSettle(answer, QStringLiteral("#bj"));
                QCOMPARE(said(), (std::vector<std::string>{"key:#", "key:#b", "key:#bj"}));
                QTest::keyClick(answer, Qt::Key_Return);
                QTRY_VERIFY(focused(in<QPushButton>(steps, "Button6")));
                QVERIFY(!work->isVisible());
                QCOMPARE(in<QPlainTextEdit>(steps, "Memo1")->toPlainText(),
                         QStringLiteral("?#b+#c*(#d\n#e(#d\n#bj"));
                QVERIFY(holds(said(), "all:#bj"));
                gui_test::saveScreenshot(*steps, "tattilo_decomposition.png");
                QTest::keyClick(in<QPushButton>(steps, "Button6"), Qt::Key_C, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_W, Qt::ControlModifier); });
        QCOMPARE(page().text(), std::string("?#b+#c*(#d\r\n#e(#d\r\n#bj"));
    }

    void structureOfNestedGroups() {
        typeAndSettle(memo2(), QStringLiteral("{?#b+#c*(#d}-#a"));
        QDialog* view = &h->view->structureView().dialog();
        said();
        withDialog(
            view,
            [&] {
                QCOMPARE(view->windowTitle(), QStringLiteral("Struttura"));
                auto* expression = in<QLineEdit>(view, "Edit1");
                // The expression is taken right after the window shows.
                QTRY_COMPARE(expression->text(), QStringLiteral("{?#b+#c*(#d}-#a"));
                QVERIFY(focused(expression));
                QCOMPARE(expression->accessibleName(), QStringLiteral("Espressione iniziale"));
                QVERIFY(holds(said(), "all:{?#b+#c*(#d}-#a"));
                QTest::keyClick(expression, Qt::Key_Tab);
                auto* brackets = in<QLineEdit>(view, "Edit2");
                QTRY_VERIFY(focused(brackets));
                QCOMPARE(brackets->text(), QStringLiteral("{ ? * } "));
                QVERIFY(holds(said(), "all:{ ? * } "));
                QTest::keyClick(brackets, Qt::Key_Tab);
                auto* structure = in<QPlainTextEdit>(view, "Memo1");
                QTRY_VERIFY(focused(structure));
                const ui::TextBox& structureBox = h->view->structureView().logic().widgets().Memo1;
                QCOMPARE(structureBox.text(), std::string("\xA0Q1\xA0-#a ="));
                QTest::keyClick(structure, Qt::Key_Tab);
                auto* contents = in<QPlainTextEdit>(view, "Memo2");
                QTRY_VERIFY(focused(contents));
                QCOMPARE(h->view->structureView().logic().widgets().Memo2.text(),
                         std::string("Q1  \xA0T1\xA0(#d =\r\n\r\nT1  #b+#c ="));
                const std::vector<std::string> square = said();
                QVERIFY(holds(square, "error:parentesi quadra prima"));
                QVERIFY(holds(square, "all: \xA0T1\xA0(#d ="));

                QTest::keyClick(contents, Qt::Key_Down);
                QTest::keyClick(contents, Qt::Key_Down);
                QVERIFY(holds(said(), "error:parentesi tonda prima"));
                typeAndSettle(contents, QStringLiteral("#e"));
                QTest::keyClick(contents, Qt::Key_S, Qt::ControlModifier);
                QCOMPARE(contents->toPlainText(), QStringLiteral("Q1  #e(#d =\n\nT1  #b+#c =#e"));
                QTest::keyClick(contents, Qt::Key_Up);
                QTest::keyClick(contents, Qt::Key_Up);
                QVERIFY(holds(said(), "all: #e(#d ="));
                typeAndSettle(contents, QStringLiteral("#bj"));
                QTest::keyClick(contents, Qt::Key_S, Qt::ControlModifier);
                QCOMPARE(structure->toPlainText(), QStringLiteral("#bj-#a ="));
                QVERIFY(holds(said(), "all:#bj-#a ="));

                QTest::keyClick(contents, Qt::Key_Backtab);
                QTRY_VERIFY(focused(structure));
                QTest::keyClick(structure, Qt::Key_End);
                typeAndSettle(structure, QStringLiteral("#ai"));
                QVERIFY(holds(said(), "key:#bj-#a =#ai"));
                gui_test::saveScreenshot(*view, "tattilo_structure.png");
                auto* store = in<QPushButton>(view, "Button2");
                QCOMPARE(store->text(), QStringLiteral("Memorizza risultato ed esci "));
                store->setFocus();
                QTest::keyClick(store, Qt::Key_Space);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_S, Qt::ControlModifier); });
        QCOMPARE(page().text(), std::string("{?#b+#c*(#d}-#a\r\n#ai\r\n"));
        QVERIFY(holds(said(), "all:  "));
        QVERIFY(h->dialogs.log().empty());
    }
};

QTEST_MAIN(StructureWindowsTest)
#include "structure_windows_test.moc"
