// Documents, undo, deletions and palettes in the real window, driven by keyboard as the
// students work; and printing in the editor's font on a printer of many dots per inch.

#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include "editor/window/menu_commands.h"
#include "gui/qt_services.h"
#include "gui_harness.h"

class DocumentWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    QPlainTextEdit* memo(const char* name) { return h->find<QPlainTextEdit>(name); }
    ui::TextBox& box2() { return h->view->logic().widgets().Memo2; }
    QAction* action(const char* name) {
        return h->window().findChild<QAction*>(QString::fromLatin1(name));
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY(memo("Memo2")->hasFocus());
        h->view->logic().Timer2Timer();  // the splash goes
        h->dialogs.clearLog();
    }

    void cleanup() { h.reset(); }

    void openTypeAndSave() {
        const std::string sample = [] {
            std::ifstream in(std::string(TATTILO_BIN_DIR) + "/esempi/esempio.mtf",
                             std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }();
        QVERIFY(!sample.empty());
        h->write("esercizi/esempio.mtf", sample);
        const std::string path = (h->path() / "esercizi" / "esempio.mtf").string();
        auto* memo2 = memo("Memo2");

        h->dialogs.answerText(path);
        QTest::keyClick(memo2, Qt::Key_F12, Qt::ControlModifier);
        QCOMPARE(h->window().windowTitle(),
                 QStringLiteral("Tattilo  - esempio.mtf - modalit\u00E0 Braille"));
        QVERIFY(memo2->toPlainText().startsWith(QStringLiteral("_x+#a\n#:d")));
        QTRY_VERIFY(memo2->hasFocus());
        QCOMPARE(memo2->textCursor().position(), 0);
        QVERIFY(!h->view->logic().modified());

        QTest::keyClick(memo2, Qt::Key_End);
        QTest::keyClicks(memo2, QStringLiteral("+#b"));
        QVERIFY(h->view->logic().modified());
        QTest::keyClick(memo2, Qt::Key_F12, Qt::ShiftModifier);
        QVERIFY(!h->view->logic().modified());
        const std::string saved = h->read("esercizi/esempio.mtf");
        QVERIFY2(saved.find("\\\\Step 1\r\n") == 0, saved.c_str());
        QVERIFY(saved.find("_x+#a+#b\r\n#:d\r\n") != std::string::npos);
        QVERIFY(h->dialogs.messages().empty());
    }

    void undoTakesBackTheLastTypingRun() {
        auto* memo2 = memo("Memo2");
        QTest::keyClicks(memo2, QStringLiteral("ab"));
        QTest::keyClick(memo2, Qt::Key_Left);
        QTest::keyClicks(memo2, QStringLiteral("cd"));
        QCOMPARE(memo2->toPlainText(), QStringLiteral("acdb"));
        QVERIFY(action("Annulladigitazione1")->isVisible());
        QVERIFY(!action("Annullataglia1")->isVisible());

        // Opening the menu does not end the run: its item still undoes it.
        auto* modifica = h->window().findChild<QMenu*>(QStringLiteral("Modifica1"));
        modifica->popup(QPoint(0, 0));
        QTRY_VERIFY(modifica->isVisible());
        modifica->close();
        QVERIFY(action("Annulladigitazione1")->isVisible());

        QTest::keyClick(memo2, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(memo2->toPlainText(), QStringLiteral("ab"));
        QCOMPARE(box2().selStart(), std::size_t(1));
        QVERIFY(!action("Annulladigitazione1")->isVisible());
    }

    void deletionsAndRestoreByKeyboard() {
        auto* memo2 = memo("Memo2");
        box2().setText("a?bc*d\r\n#?*");
        box2().setSelStart(3);
        QTest::keyClick(memo2, Qt::Key_F3, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo2->toPlainText(), QStringLiteral("ad\n#?*"));
        QCOMPARE(memo2->textCursor().position(), 1);
        QVERIFY(action("Ripristinaultimidatieliminati1")->isVisible());
        QTest::keyClick(memo2, Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo2->toPlainText(), QStringLiteral("a?bc*d\n#?*"));
        QCOMPARE(memo2->textCursor().position(), 1);

        box2().setSelStart(10);  // in the number
        QTest::keyClick(memo2, Qt::Key_F3, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(
            h->dialogs.transcript(),
            (std::vector<std::string>{
                "beep", "warning:Il cursore non \xE8 posizionato all'interno di parentesi tonde"}));
        QCOMPARE(memo2->toPlainText(), QStringLiteral("a?bc*d\n#?*"));
    }

    void paletteByKeyboard() {
        QTest::keyClick(memo("Memo2"), Qt::Key_B, Qt::ControlModifier);
        auto* memo1 = memo("Memo1");
        QTRY_VERIFY(memo1->hasFocus());
        auto* funzioni = h->find<QPushButton>("Funzioni");
        funzioni->setFocus();
        QTest::keyClick(funzioni, Qt::Key_Space);
        auto* list = h->find<QListWidget>("ListBox1");
        QVERIFY(list->isVisible());
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(list->count(), 31);
        QCOMPARE(list->x(), funzioni->x());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QTRY_VERIFY(memo1->hasFocus());
        QCOMPARE(memo1->toPlainText(), QStringLiteral("\\sqrt[]{}"));
        QCOMPARE(memo1->textCursor().position(), 6);

        funzioni->setFocus();
        QTest::keyClick(funzioni, Qt::Key_Space);
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible());
        QTRY_VERIFY(memo1->hasFocus());
        QCOMPARE(memo1->toPlainText(), QStringLiteral("\\sqrt[]{}"));
    }

    void printingUsesTheEditorsFontAtItsScreenSize() {
        // Screen pixels on a 1200 dpi printer: sixty lines of the Braille editor's 32 pixel
        // font fill more than one page, as they do on the screen.
        gui::QtPrinter printer;
        printer.printer()->setResolution(1200);
        printer.printer()->setOutputFormat(QPrinter::PdfFormat);
        const QString file = QString::fromStdString((h->path() / "stampa.pdf").string());
        printer.printer()->setOutputFileName(file);
        const std::vector<std::string> lines(60, "   #ab+#c");
        QVERIFY(printer.printLines(lines, box2().font()));
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QString content = QString::fromLatin1(pdf.readAll());
        const qsizetype pages =
            content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    }
};

QTEST_MAIN(DocumentWindowTest)
#include "document_window_test.moc"
