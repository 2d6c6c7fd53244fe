// The calculation sheet driven by the keyboard alone, as a blind student works: an operation
// typed on a Braille page, selected, opened with Ctrl+Q, worked digit by digit, and its result
// put back in the page.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "gui_harness.h"

class CalcSheetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;
    std::vector<std::string> said;

    QPlainTextEdit* memo2() { return h->find<QPlainTextEdit>("Memo2"); }
    QDialog* sheet() { return &h->view->calcSheet().dialog(); }
    template <class T>
    T* inSheet(const char* name) {
        return sheet()->findChild<T*>(QString::fromLatin1(name));
    }

    // Runs `work` in the sheet once it is open, then runs `open`, which opens it; the sheet is
    // closed by force should `work` stop half way.
    void withSheet(const std::function<void()>& work, const std::function<void()>& open) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() == sheet());
            work();
            ran = true;
        });
        QTimer::singleShot(15000, sheet(), [this] {
            if (sheet()->isVisible()) {
                sheet()->reject();
            }
        });
        open();
        QVERIFY(ran);
        QVERIFY(!sheet()->isVisible());
    }

private slots:
    void init() {
        said.clear();
        h = std::make_unique<gui_test::Harness>();
        h->start({}, [this](gui::MainWindowOptions& options) {
            options.sheetVoice = true;
            options.sheetEngine = std::make_unique<gui_test::InstantEngine>(&said);
        });
        QTRY_VERIFY(memo2()->hasFocus());
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 4000);
    }

    void cleanup() { h.reset(); }

    void twoPlusThreeFromThePageAndBack() {
        QTest::keyClicks(memo2(), QStringLiteral("#b+#c"));
        QTest::keyClick(memo2(), Qt::Key_Home, Qt::ShiftModifier);
        ui::TextBox& page = h->view->logic().widgets().Memo2;
        QCOMPARE(page.selText(), std::string("#b+#c"));

        withSheet(
            [&] {
                QCOMPARE(sheet()->windowTitle(), QStringLiteral("Foglio di calcolo"));
                auto* columns = inSheet<QPlainTextEdit>("Memo1");
                QTRY_VERIFY(columns->hasFocus());
                QCOMPARE(columns->accessibleName(), QStringLiteral("Calcolo in colonna"));
                QCOMPARE(columns->toPlainText(), QStringLiteral("b+c=\n   ="));
                QCOMPARE(columns->textCursor().position(), 4);
                QCOMPARE(inSheet<QLineEdit>("Edit1")->text(), QStringLiteral("#b+#c"));
                QCOMPARE(inSheet<QLabel>("Label2")->text(), QStringLiteral("Input Tastiera"));
                QVERIFY(!inSheet<QLineEdit>("Edit10")->isVisible());
                for (const char* name : {"Button1", "Button2", "Button3", "Button4"}) {
                    auto* b = inSheet<QPushButton>(name);
                    QCOMPARE(b->accessibleName(), b->text());
                    QVERIFY(!b->autoDefault());
                }
                QVERIFY(inSheet<QMenu>("File1") != nullptr);

                QTest::keyClick(columns, Qt::Key_E);
                QTest::keyClick(columns, Qt::Key_Space);
                QCOMPARE(inSheet<QLabel>("StatusBar1")->text(), QStringLiteral("Esatto"));
                auto* result = inSheet<QLineEdit>("Edit10");
                QVERIFY(result->isVisible());
                QCOMPARE(result->text(), QStringLiteral("#e"));
                QCOMPARE(result->accessibleName(), QStringLiteral("Risultato"));
                QCOMPARE(columns->toPlainText(), QStringLiteral("b+c=e\n   = "));
                QTest::keyClick(columns, Qt::Key_X, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_Q, Qt::ControlModifier); });

        QCOMPARE(page.text(), std::string("#e"));
        const std::vector<std::string> expected = {"espressione  2+ 3", "2+3=", " 5", "  spazio ",
                                                   "risultato  esatto  5"};
        QCOMPARE(said, expected);
        QVERIFY(h->dialogs.log().empty());
    }

    void escWithAnEmptyExpressionCopiesNothing() {
        h->view->workbench().form().services().clipboard.setText("");
        withSheet(
            [&] {
                QCOMPARE(inSheet<QLineEdit>("Edit1")->text(), QString());
                QVERIFY(!inSheet<QPlainTextEdit>("Memo1")->isVisible());
                QTest::keyClick(sheet(), Qt::Key_Escape);
            },
            [&] { h->view->calcSheet().logic().showModal(); });
        QCOMPARE(h->view->workbench().form().services().clipboard.text(), std::string());
        QVERIFY(said.empty());
    }

    void aDivisionWithTheKeypadAndF2() {
        QTest::keyClicks(memo2(), QStringLiteral("#g/#b"));
        QTest::keyClick(memo2(), Qt::Key_Home, Qt::ShiftModifier);
        withSheet(
            [&] {
                auto* first = inSheet<QLineEdit>("Edit2");
                QTRY_VERIFY(first->hasFocus());
                QCOMPARE(first->text(), QStringLiteral("g/b= "));
                QCOMPARE(first->accessibleName(), QStringLiteral("Passo 1"));
                QTest::keyClick(first, Qt::Key_F2);
                QCOMPARE(inSheet<QLineEdit>("Edit1")->text(), QStringLiteral("#g,j/#b"));
                QCOMPARE(inSheet<QLabel>("Label1")->text(), QStringLiteral("N.dec. 1"));
                QTRY_VERIFY(first->hasFocus());
                // The keypad's digits with NumLock on.
                QTest::keyClick(first, Qt::Key_3, Qt::KeypadModifier);
                auto* second = inSheet<QLineEdit>("Edit3");
                QTRY_VERIFY(second->hasFocus());
                QCOMPARE(second->text(), QStringLiteral("aj/b= "));
                QTest::keyClick(second, Qt::Key_5, Qt::KeypadModifier);
                QCOMPARE(inSheet<QLineEdit>("Edit10")->text(), QStringLiteral("#c,e"));
                QCOMPARE(inSheet<QLineEdit>("Edit11")->text(), QStringLiteral("#j"));
                sheet()->grab().save(QString::fromLocal8Bit(TATTILO_BIN_DIR) +
                                     QStringLiteral("/../tattilo_calc_sheet_division.png"));
                QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_Q, Qt::ControlModifier); });
        QCOMPARE(h->view->logic().widgets().Memo2.text(), std::string("#g,j/#b = #c,e"));
    }

    void aMultiplicationTableByTable() {
        QTest::keyClicks(memo2(), QStringLiteral("#ab(#ac"));
        QTest::keyClick(memo2(), Qt::Key_Home, Qt::ShiftModifier);
        withSheet(
            [&] {
                auto* first = inSheet<QPlainTextEdit>("Memo2");
                auto* second = inSheet<QPlainTextEdit>("Memo3");
                QTRY_VERIFY(first->hasFocus());
                QCOMPARE(first->accessibleName(), QStringLiteral("Prodotto parziale 1"));
                QVERIFY(second->isVisible());
                QVERIFY(!inSheet<QPlainTextEdit>("Memo4")->isVisible());
                QTest::keyClicks(first, QStringLiteral("fc "));
                QTRY_VERIFY(second->hasFocus());
                QCOMPARE(second->textCursor().position(), 9);  // after the second row's "="
                QTest::keyClicks(second, QStringLiteral("ba "));
                auto* sum = inSheet<QPlainTextEdit>("Memo1");
                QTRY_VERIFY(sum->hasFocus());
                QTest::keyClicks(sum, QStringLiteral("fea  "));
                QCOMPARE(inSheet<QLabel>("StatusBar1")->text(), QStringLiteral("Esatto"));
                sheet()->grab().save(QString::fromLocal8Bit(TATTILO_BIN_DIR) +
                                     QStringLiteral("/../tattilo_calc_sheet_product.png"));
                QTest::keyClick(sum, Qt::Key_X, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(memo2(), Qt::Key_Q, Qt::ControlModifier); });
        QCOMPARE(h->view->logic().widgets().Memo2.text(), std::string("#aef"));
    }
};

QTEST_MAIN(CalcSheetTest)
#include "calc_sheet_test.moc"
