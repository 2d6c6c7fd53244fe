// The tutors driven by the keyboard alone, as a blind student works: a line with two round
// groups typed on a Braille page, the brackets tutor opened with Shift+F1, each group worked in
// the work area, and the result put back in the page; what the speech reader said is checked.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "gui_harness.h"

class TutorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;
    std::vector<std::string> said;

    QPlainTextEdit* memo2() { return h->find<QPlainTextEdit>("Memo2"); }
    QDialog* tutor(learning::TutorKind kind) { return &h->view->tutor(kind).dialog(); }
    QDialog* brackets() { return tutor(learning::TutorKind::Brackets); }
    template <class T>
    T* inTutor(QDialog* dialog, const char* name) {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }

    // Runs `work` in `dialog` once it is open, then runs `open`, which opens it; the dialog is
    // closed by force should `work` stop half way.
    void withDialog(QDialog* dialog, const std::function<void()>& work,
                    const std::function<void()>& open) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() == dialog);
            work();
            ran = true;
        });
        QTimer::singleShot(15000, dialog, [dialog] {
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        open();
        QVERIFY(ran);
        QVERIFY(!dialog->isVisible());
    }

private slots:
    void init() {
        said.clear();
        h = std::make_unique<gui_test::Harness>();
        h->start({}, [this](gui::MainWindowOptions& options) {
            options.speechReader = true;
            options.speechEngine = std::make_unique<gui_test::InstantEngine>(&said);
        });
        QTRY_VERIFY(memo2()->hasFocus());
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 4000);
    }

    void cleanup() { h.reset(); }

    void bracketsTutorEndToEnd() {
        QTest::keyClicks(memo2(), QStringLiteral("#b+#c"));
        QTest::keyClick(memo2(), Qt::Key_Return);
        QTest::keyClicks(memo2(), QStringLiteral("?#a+#b*(?#c+#d*"));
        ui::TextBox& page = h->view->logic().widgets().Memo2;
        QCOMPARE(page.text(), std::string("#b+#c\r\n?#a+#b*(?#c+#d*"));
        said.clear();

        withDialog(
            brackets(),
            [&] {
                QDialog* d = brackets();
                QCOMPARE(d->windowTitle(), QStringLiteral("Tutor- parentesi"));
                auto* work = inTutor<QPlainTextEdit>(d, "Memo2");
                QTRY_VERIFY(work->hasFocus());
                QCOMPARE(work->accessibleName(), QStringLiteral("Passaggi"));
                QCOMPARE(work->toPlainText(), QStringLiteral("#a+#b=\n#c+#d="));
                QCOMPARE(work->textCursor().position(), 6);
                auto* expression = inTutor<QPlainTextEdit>(d, "Memo1");
                QCOMPARE(expression->toPlainText(), QStringLiteral("?#a+#b*(?#c+#d*=\nTA(TB="));
                QCOMPARE(inTutor<QLabel>(d, "Label1")->text(), QStringLiteral("Parentesi tonde"));
                QCOMPARE(inTutor<QLabel>(d, "Label2")->text(), QStringLiteral("Input Tastiera"));
                for (const char* name : {"Button1", "Button2"}) {
                    auto* b = inTutor<QPushButton>(d, name);
                    QCOMPARE(b->accessibleName(), b->text());
                    QVERIFY(!b->autoDefault());
                }
                QCOMPARE(inTutor<QPushButton>(d, "Button1")->text(),
                         QStringLiteral("Riporta risultato ed esci"));
                QVERIFY(inTutor<QMenu>(d, "Tutor1") != nullptr);

                QTest::keyClicks(work, QStringLiteral("#c"));
                QTest::keyClick(work, Qt::Key_Return);
                QCOMPARE(work->toPlainText(), QStringLiteral("#a+#b=#c\n#c+#d="));
                QCOMPARE(work->textCursor().position(), 15);
                // A capital is no Braille cell.
                QTest::keyClicks(work, QStringLiteral("A"));
                QCOMPARE(h->dialogs.messages(), std::vector<std::string>{"Carattere non ammesso "});
                QTest::keyClicks(work, QStringLiteral("#g"));
                QCOMPARE(work->toPlainText(), QStringLiteral("#a+#b=#c\n#c+#d=#g"));
                gui_test::saveScreenshot(*d, "tutor_brackets.png");
                QTest::keyClick(work, Qt::Key_A, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_F1, Qt::ShiftModifier); });

        QCOMPARE(page.text(), std::string("#b+#c\r\n=#c(#g"));
        QCOMPARE(memo2()->textCursor().position(), 12);
        // The Braille editor has the focus again when the window is activated.
        QCOMPARE(h->window().focusWidget(), memo2());
        // The first work line read out, each typed cell, the verdict, the next line.
        const std::vector<std::string> expected = {"1 +2 = ", " segnanumero ", "3", "Esatto",
                                                   "3 +4 = ", " segnanumero ", "7"};
        QCOMPARE(said, expected);
    }

    void refusalWithoutOpeningAnything() {
        QTest::keyClicks(memo2(), QStringLiteral("?#a+#b*(#c"));
        QTest::keyClick(memo2(), Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(h->dialogs.transcript(),
                 (std::vector<std::string>{
                     "beep", "warning:Occorre rispettare la sequenza corretta di esecuzione"}));
        QCOMPARE(h->view->logic().widgets().Memo2.text(), std::string("?#a+#b*(#c"));
    }

    void operationsTutorLeftWithEsci() {
        QTest::keyClicks(memo2(), QStringLiteral("#b(#c+#a"));
        QDialog* ops = tutor(learning::TutorKind::Operations);
        withDialog(
            ops,
            [&] {
                QCOMPARE(ops->windowTitle(), QStringLiteral("Tutor - operazioni"));
                auto* work = inTutor<QPlainTextEdit>(ops, "Memo2");
                QTRY_VERIFY(work->hasFocus());
                QCOMPARE(work->toPlainText(), QStringLiteral("#b(#c="));
                QTest::keyClicks(work, QStringLiteral("#f"));
                // Esc puts the work list back and leaves the window open.
                QTest::keyClick(work, Qt::Key_Escape);
                QCOMPARE(work->toPlainText(), QStringLiteral("#b(#c="));
                QVERIFY(ops->isVisible());
                QTest::keyClicks(work, QStringLiteral("#f"));
                QTest::keyClick(work, Qt::Key_Z, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_F6, Qt::ShiftModifier); });
        QCOMPARE(h->view->logic().widgets().Memo2.text(), std::string("#b(#c+#a"));
    }
};

QTEST_MAIN(TutorTest)
#include "tutor_test.moc"
