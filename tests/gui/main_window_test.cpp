// The main window driven by keyboard, as its users work: focus, accessible names, pages,
// modes, typing Braille cells, closing.

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include "editor/window/menu_commands.h"
#include "gui/text_bridge.h"
#include "gui_harness.h"

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    QString labelText(const char* name) { return h->find<QLabel>(name)->text(); }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY(h->view->logic().started());
    }

    void cleanup() { h.reset(); }

    void startsInBrailleModeWithFifteenTabs() {
        auto* tabs = h->find<QTabBar>("TabControl1");
        QCOMPARE(tabs->count(), 15);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Pag.  1"));
        QCOMPARE(tabs->tabText(14), QStringLiteral("Pag.15"));
        QCOMPARE(labelText("Label1"), QStringLiteral("Modalit\u00E0 Braille"));
        QCOMPARE(labelText("Label2"), QStringLiteral("Tastiera"));
        QCOMPARE(labelText("Label4"), QStringLiteral("Sintesi vocale attivata"));
        QCOMPARE(labelText("StatusBar1"), QStringLiteral("Pag. 1 Braille"));
        QCOMPARE(h->window().windowTitle(),
                 QStringLiteral("Tattilo v. 1.1 - modalit\u00E0 Braille"));
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QVERIFY(memo2->isVisible());
        QVERIFY(!h->find<QPlainTextEdit>("Memo1")->isVisible());
        QTRY_VERIFY(memo2->hasFocus());
        QCOMPARE(memo2->font().family(), QStringLiteral("Braillecour"));
        QVERIFY(QFontInfo(memo2->font()).family() == QStringLiteral("Braillecour"));
        QVERIFY(h->find<QPushButton>("Simb")->isVisible());
        QVERIFY(!h->find<QPushButton>("Funzioni")->isVisible());
        QVERIFY(!h->find<QPushButton>("Mathml")->isVisible());
        // The about panel is a splash that goes away by itself.
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 4000);
    }

    void everyControlHasAnAccessibleName() {
        for (QWidget* w : h->window().findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus || qobject_cast<QMenu*>(w) != nullptr ||
                qobject_cast<QMenuBar*>(w) != nullptr || w->parent() == nullptr ||
                w->objectName().startsWith(QStringLiteral("qt_"))) {
                continue;
            }
            // Scroll bars and viewports of the editors belong to the editor itself.
            if (w->parentWidget() != nullptr &&
                qobject_cast<QAbstractScrollArea*>(w->parentWidget()->parentWidget()) != nullptr) {
                continue;
            }
            QVERIFY2(!w->accessibleName().isEmpty(),
                     qPrintable(QString::fromLatin1(w->metaObject()->className()) +
                                QStringLiteral(" ") + w->objectName()));
        }
        for (QAction* top : h->window().menuBar()->actions()) {
            QVERIFY(!top->text().isEmpty());
            for (QAction* item : top->menu()->actions()) {
                QVERIFY2(!item->text().isEmpty(), qPrintable(item->objectName()));
            }
        }
    }

    void menuBarComesFromTheCommandTable() {
        // The captions as written, each with the access key that opens it by Alt.
        QStringList titles;
        QStringList shown;
        for (QAction* top : h->window().menuBar()->actions()) {
            titles << top->text();
            shown << gui::accessibleCaption(top->text());
        }
        QStringList expected;
        for (const editor::MenuEntry& e : editor::menuTable()) {
            if (e.parent == editor::Command::None) {
                expected << gui::accessibleCaption(gui::toQString(e.caption));
            }
        }
        QCOMPARE(shown, expected);
        QCOMPARE(titles.first(), QStringLiteral("&File"));
        auto* save = h->window().findChild<QAction*>(QStringLiteral("Salva1"));
        QCOMPARE(save->shortcut(), QKeySequence(QStringLiteral("Shift+F12")));
        QVERIFY(!h->window().findChild<QAction*>(QStringLiteral("DattiloBraille1"))->isVisible());
        QVERIFY(
            h->window().findChild<QMenu*>(QStringLiteral("Opzioni1"))->menuAction()->isEnabled());
    }

    void keyboardChangesPagesAndModes() {
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QTRY_VERIFY(memo2->hasFocus());
        QTest::keyClick(memo2, Qt::Key_F2);
        QCOMPARE(labelText("StatusBar1"), QStringLiteral("Pag. 2 Braille"));
        QCOMPARE(h->find<QTabBar>("TabControl1")->currentIndex(), 1);
        QCOMPARE(h->speech.texts.back(), std::string("\\\\@Pagina 2\\\\"));
        QTest::keyClick(memo2, Qt::Key_F3);
        QTest::keyClick(memo2, Qt::Key_F3);
        QCOMPARE(labelText("StatusBar1"), QStringLiteral("Pag. 15 Braille"));

        // One Ctrl+B switches once: the menu item's shortcut does not run a second time.
        QTest::keyClick(memo2, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(labelText("Label1"), QStringLiteral("Modalit\u00E0 Latex"));
        auto* memo1 = h->find<QPlainTextEdit>("Memo1");
        QVERIFY(memo1->isVisible());
        QTRY_VERIFY(memo1->hasFocus());
        QVERIFY(h->find<QPushButton>("Funzioni")->isVisible());
        QVERIFY(
            !h->window().findChild<QMenu*>(QStringLiteral("Opzioni1"))->menuAction()->isEnabled());
        QCOMPARE(labelText("StatusBar1"), QStringLiteral("Pag. 15"));
        // Function keys of a disabled menu do nothing; F2 still pages.
        QTest::keyClick(memo1, Qt::Key_F2);
        QCOMPARE(labelText("StatusBar1"), QStringLiteral("Pag. 1"));
    }

    // The minus sign U+2212, which code page 1252 lacks, pasted (from a web page, say) is a
    // minus, not dropped; the times sign is the notation's "per".
    void aMinusSignPastedInLatexModeIsAMinus() {
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QTRY_VERIFY(memo2->hasFocus());
        QTest::keyClick(memo2, Qt::Key_B, Qt::ControlModifier);
        auto* memo1 = h->find<QPlainTextEdit>("Memo1");
        QTRY_VERIFY(memo1->hasFocus());
        memo1->insertPlainText(QStringLiteral("x\u22123\u00D72"));
        QTest::keyClick(memo1, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(labelText("Label1"), QStringLiteral("Modalit\u00E0 Braille"));
        QCOMPARE(gui::fromQString(memo2->toPlainText()), std::string("_x-#c(#b"));
    }

    void typingBrailleCellsShowsDots() {
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QTRY_VERIFY(memo2->hasFocus());
        QTest::keyClicks(memo2, QStringLiteral("#ab+#c"));
        QTest::keyClick(memo2, Qt::Key_Return);
        QTest::keyClicks(memo2, QStringLiteral("6#anp#b4"));
        QVERIFY(h->view->logic().modified());
        ui::TextBox& box = h->view->logic().widgets().Memo2;
        QCOMPARE(box.text(), std::string("#ab+#c\r\n6#anp#b4"));
        QCOMPARE(box.selStart(), std::size_t(16));
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 4000);

        // The cells are drawn as dots: dark discs on the aqua background.
        const QImage picture = memo2->viewport()->grab().toImage();
        int dark = 0;
        int aqua = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                dark += c.lightness() < 80 ? 1 : 0;
                aqua += (c.red() < 40 && c.green() > 220 && c.blue() > 220) ? 1 : 0;
            }
        }
        QVERIFY2(dark > 300, qPrintable(QString::number(dark)));
        QVERIFY(aqua > picture.width() * picture.height() / 2);
        // A picture of the window for people to look at.
        gui_test::saveScreenshot(h->window(), "tattilo_main_window.png");
    }

    void caretOffsetsCountCrLfAsTwo() {
        ui::TextBox& box = h->view->logic().widgets().Memo2;
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        box.setText("ab\r\ncd");
        box.setSelStart(6);
        QCOMPARE(memo2->textCursor().position(), 5);
        box.setSelStart(3);  // between CR and LF
        QCOMPARE(memo2->textCursor().position(), 2);
        QCOMPARE(box.selStart(), std::size_t(2));
        box.setSelection(1, 4);
        QCOMPARE(box.selText(), std::string("b\r\nc"));
        box.setSelText("\xE8");
        QCOMPARE(memo2->toPlainText(), QStringLiteral("a\u00E8d"));
        QCOMPARE(box.selStart(), std::size_t(2));
    }

    void closingAsksAndWritesTheSettings() {
        h->dialogs.answer(ui::Answer::No);
        h->window().close();
        QVERIFY(h->window().isVisible());
        h->dialogs.answer(ui::Answer::Ok);
        h->window().close();
        QVERIFY(!h->window().isVisible());
        QCOMPARE(h->dialogs.messages(),
                 (std::vector<std::string>{"Confermi chiusura?", "Confermi chiusura?"}));
        const std::string ini = h->read("tattilo.ini");
        QCOMPARE(std::count(ini.begin(), ini.end(), '\n'), 20L);  // eighteen and the program's two
        QVERIFY(ini.find("winlarg = 800\r\n") != std::string::npos);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
