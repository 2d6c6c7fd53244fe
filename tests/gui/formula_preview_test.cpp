// The formula print preview in the real window: a line of formulas typeset by TeX on the
// clipboard, rows chosen by keyboard, the page preview, and a printout of two pages into a PDF
// file through the print dialog, with each page's picture left in the exercise folder.

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTimer>

#include "editor/printing/formula_preview.h"
#include "gui_harness.h"

class FormulaPreviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    static QImage picture(const char* name) {
        return QImage(QString::fromLatin1(TATTILO_TEST_DATA) +
                      QStringLiteral("/notation/formula_preview/") + QString::fromLatin1(name) +
                      QStringLiteral(".png"));
    }

    // Runs `inside` once the preview shows, then shows it on the clipboard's picture.
    void showPreview(const std::function<void(QDialog&)>& inside) {
        QDialog& dialog = h->view->formulaPreview().dialog();
        QTimer::singleShot(0, &dialog, [&dialog, inside] {
            QTRY_VERIFY(dialog.isVisible());
            inside(dialog);
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        h->view->formulaPreview().logic().show("Tattilo  Stampa formule - prova.mtf",
                                               (h->path() / "esercizi").string());
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        std::filesystem::create_directories(h->path() / "esercizi");
    }

    void cleanup() { h.reset(); }

    void opensInTheMainWindowsPlace() {
        QGuiApplication::clipboard()->setImage(picture("forty_formulas"));
        h->window().setGeometry(40, 50, 930, 660);
        QRect seen;
        bool maximised = true;
        showPreview([&](QDialog& dialog) {
            seen = dialog.geometry();
            maximised = dialog.isMaximized();
        });
        QCOMPARE(seen, QRect(40, 50, 930, 660));
        QVERIFY(!maximised);

        h->window().showMaximized();
        QTRY_VERIFY(h->window().isMaximized());
        showPreview([&](QDialog& dialog) { maximised = dialog.isMaximized(); });
        QVERIFY(maximised);
    }

    void printsTwoPagesToAPdfFile() {
        const QImage line = picture("forty_formulas");
        QVERIFY(!line.isNull());
        QGuiApplication::clipboard()->setImage(line);
        QPrinter* printer = h->view->printer().printer();
        printer->setResolution(300);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setOutputFormat(QPrinter::PdfFormat);
        const QString file = QString::fromStdString((h->path() / "formule.pdf").string());
        printer->setOutputFileName(file);
        h->dialogs.answerPrint(true);

        auto& logic = h->view->formulaPreview().logic();
        std::size_t expectedPages = 0;
        showPreview([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Tattilo  Stampa formule - prova.mtf"));
            QCOMPARE(logic.rowCount(), 40);
            // Rows by keyboard: Down, then Shift+Down.
            QWidget* canvas = dialog.findChild<QScrollArea*>(QStringLiteral("Canvas"));
            QVERIFY(canvas != nullptr);
            canvas->setFocus();
            QTest::keyClick(canvas, Qt::Key_Down);
            QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
            QCOMPARE(logic.selection(), (std::vector<int>{0, 1}));
            // The page preview, then "Stampa" below it.
            QTest::keyClick(canvas, Qt::Key_E, Qt::ControlModifier);
            QVERIFY(logic.previewShown());
            auto* stampa = dialog.findChild<QPushButton*>(QStringLiteral("Stampa"));
            QVERIFY(stampa != nullptr && stampa->isVisible());
            QCOMPARE(stampa->accessibleName(), QStringLiteral("Stampa"));
            expectedPages = logic.printedPages().size();
            QTest::mouseClick(stampa, Qt::LeftButton);
            // Esc goes back to the rows first, then closes.
            QTest::keyClick(canvas, Qt::Key_Escape);
            QVERIFY(!logic.previewShown());
            QVERIFY(dialog.isVisible());
            QTest::keyClick(canvas, Qt::Key_Escape);
            QTRY_VERIFY(!dialog.isVisible());
        });
        QCOMPARE(expectedPages, std::size_t{2});
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QString content = QString::fromLatin1(pdf.readAll());
        const qsizetype pages =
            content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
        QCOMPARE(pages, qsizetype{2});
        // The last page's picture stays in the exercise folder.
        QImage saved;
        QVERIFY(saved.load(QString::fromStdString((h->path() / "esercizi" / "img.bmp").string())));
        QVERIFY(saved.width() > 0);
        QVERIFY(h->dialogs.allAnswersUsed());
    }
};

QTEST_MAIN(FormulaPreviewTest)
#include "formula_preview_test.moc"
