// The Qt services of the ui layer that need no window: programs, file filters, clipboard,
// printing into a file and the buttons of the message boxes.

#include <QAbstractButton>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/qt_services.h"

class ServicesTest : public QObject {
    Q_OBJECT

private slots:
    void programsRunAndTheirStatusComesBack() {
        gui::QtShell shell;
        QTemporaryDir dir;
        // An argument with blanks stays one argument; the working folder is the one asked.
        const auto status = shell.runAndWait(
            "/bin/sh", {"-c", "printf '%s' \"$1\" > out.txt; exit 3", "sh", "a b  c"},
            dir.path().toStdString());
        QCOMPARE(status, std::optional<int>(3));
        QFile out(dir.filePath(QStringLiteral("out.txt")));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), QByteArray("a b  c"));
        QCOMPARE(shell.runAndWait("/nonexistent/program", {}, {}), std::nullopt);
    }

    void fileFiltersBecomeQtFilters() {
        QCOMPARE(gui::qtFileFilter("File mtf|*.mtf|Tutti|*.*"),
                 QStringLiteral("File mtf (*.mtf);;Tutti (*)"));
        QCOMPARE(gui::qtFileFilter("File prn |*.prn|Tutti|*.*"),
                 QStringLiteral("File prn (*.prn);;Tutti (*)"));
    }

    void clipboardKeepsCrLfAndTheEuro() {
        gui::QtClipboard clipboard;
        clipboard.setText("a\r\n\x80");
        QCOMPARE(clipboard.text(), std::string("a\r\n\x80"));
        clipboard.clear();
        QCOMPARE(clipboard.text(), std::string());
    }

    // The buttons speak Italian and each gives its own answer.
    void messageBoxButtonsAreItalian() {
        gui::QtDialogs dialogs(nullptr);
        struct Case {
            ui::Buttons buttons;
            QStringList texts;
            QString press;
            ui::Answer answer;
        };
        const Case cases[] = {
            {ui::Buttons::YesNoCancel,
             {QStringLiteral("&S\u00EC"), QStringLiteral("&No"), QStringLiteral("Annulla")},
             QStringLiteral("Annulla"),
             ui::Answer::Cancel},
            {ui::Buttons::OkNo,
             {QStringLiteral("OK"), QStringLiteral("&No")},
             QStringLiteral("&No"),
             ui::Answer::No},
            {ui::Buttons::YesNo,
             {QStringLiteral("&S\u00EC"), QStringLiteral("&No")},
             QStringLiteral("&S\u00EC"),
             ui::Answer::Yes},
        };
        for (const Case& c : cases) {
            QStringList seen;
            // Whatever it finds, the box is closed, so a failure cannot hang the test.
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr) {
                    return;
                }
                QAbstractButton* chosen = nullptr;
                for (QAbstractButton* b : box->buttons()) {
                    seen << b->text();
                    if (b->text() == c.press) {
                        chosen = b;
                    }
                }
                if (chosen != nullptr) {
                    chosen->click();
                } else {
                    box->done(-1);
                }
            });
            const ui::Answer answer =
                dialogs.message({"Domanda?", {}, ui::Icon::Question, c.buttons});
            seen.sort();
            QStringList expected = c.texts;
            expected.sort();
            QCOMPARE(seen, expected);
            QCOMPARE(answer, c.answer);
        }
    }

    void linesPrintIntoAFile() {
        QTemporaryDir dir;
        gui::QtPrinter printer;
        const QString file = dir.filePath(QStringLiteral("page.pdf"));
        printer.printer()->setOutputFormat(QPrinter::PdfFormat);
        printer.printer()->setOutputFileName(file);
        std::vector<std::string> lines(200, "   #ab+#c");
        QVERIFY(printer.printLines(lines, {"Courier", 0, 12}));
        QVERIFY(QFileInfo(file).size() > 1000);
    }
};

QTEST_MAIN(ServicesTest)
#include "services_test.moc"
