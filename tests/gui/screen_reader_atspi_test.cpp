// What a screen reader user meets, read over AT-SPI as Orca reads it: where the focus is after
// each dialog, menu, mode switch and learning window; the names that carry what the window
// shows, before and after they change; Alt with a letter; and the words said for each key that
// cannot act.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "atspi_tree.h"
#include "gui/text_bridge.h"
#include "gui_harness.h"

using Entry = gui_test::AtspiEntry;

class ScreenReaderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;
    std::vector<std::string> sheetSaid;

    QPlainTextEdit* memo(const char* name) { return h->find<QPlainTextEdit>(name); }

    // Runs `act` on the first modal window to open (a dialog, a learning window), however it
    // is opened: the look runs inside the window's own event loop.
    void whenModal(std::function<void(QWidget*)> act) {
        auto* poll = new QTimer(this);
        poll->setInterval(50);
        connect(poll, &QTimer::timeout, this, [poll, act] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                poll->stop();
                poll->deleteLater();
                act(modal);
            }
        });
        poll->start();
        // A window that never opens leaves no look behind for the next one.
        QTimer::singleShot(10000, poll, [poll] { poll->deleteLater(); });
    }

    // Opens a modal window with `open` and closes it with `key` once its focus has settled.
    void openAndClose(const std::function<void()>& open, Qt::Key key,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        bool closed = false;
        whenModal([&closed, key, modifiers](QWidget* modal) {
            QTRY_VERIFY(modal->focusWidget() != nullptr);
            QTest::keyClick(modal->focusWidget(), key, modifiers);
            closed = true;
        });
        open();
        QTRY_VERIFY_WITH_TIMEOUT(closed && QApplication::activeModalWidget() == nullptr, 10000);
        activateMainWindow();
    }

    // Runs `act` in the modal window `open` opens, once it is active with its focus in place;
    // `act` closes it.
    void inModal(std::function<void(QWidget*)> act, const std::function<void()>& open) {
        bool done = false;
        whenModal([&done, act](QWidget* modal) {
            modal->activateWindow();
            QTRY_VERIFY(modal->isActiveWindow() && modal->focusWidget() != nullptr);
            act(modal);
            done = true;
        });
        open();
        QTRY_VERIFY_WITH_TIMEOUT(done && QApplication::activeModalWidget() == nullptr, 20000);
        activateMainWindow();
    }

    // What the screen reader finds focused: its role and name.
    QString focusedAsHeard() {
        const QList<Entry> tree = gui_test::readAtspiTree();
        const Entry* focused = gui_test::focusedEntry(tree);
        return focused == nullptr ? QStringLiteral("(nothing)")
                                  : focused->role + QStringLiteral(": ") + focused->name;
    }

    // The name and description of the showing object of `role` whose description is
    // `description`.
    static QString nameOf(const QList<Entry>& tree, const QString& description) {
        for (const Entry& e : tree) {
            if (e.showing && e.description == description) {
                return e.name;
            }
        }
        return QStringLiteral("(missing)");
    }

    static QString frameName(const QList<Entry>& tree) {
        const QStringList frames = gui_test::namesOfRole(tree, QStringLiteral("frame"));
        return frames.isEmpty() ? QString() : frames.first();
    }

    // Without a window manager on the virtual display nobody gives the window back its
    // activation when a dialog closes: the test does, as the desktop would. The control that
    // gets the focus then is the one the window kept for it.
    void activateMainWindow() {
        h->window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h->window()));
    }

    // The focused box as the line commands read it: the caret, then each line's start, end,
    // screen top and height, and text.
    struct Line {
        int start, end, top, height;
        QString text;
    };
    struct BoxHeard {
        int caret = -1;
        QList<Line> lines;
        int lineOfCaret() const {
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (caret >= lines[i].start && (caret < lines[i].end || i + 1 == lines.size())) {
                    return static_cast<int>(i);
                }
            }
            return -1;
        }
    };
    static BoxHeard boxHeard() {
        BoxHeard box;
        const QStringList out = gui_test::readAtspi(QStringLiteral("lines"));
        if (out.isEmpty()) {
            return box;
        }
        box.caret = out.first().section(u'\t', 0, 0).toInt();
        for (qsizetype i = 1; i < out.size(); ++i) {
            const QStringList f = out[i].split(u'\t');
            if (f.size() >= 5) {
                box.lines.append(
                    {f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt(), f.mid(4).join(u'\t')});
            }
        }
        return box;
    }
    // Each line on a row of its own, one under the other, split at the line breaks.
    static void expectLinesApart(const BoxHeard& box, const QStringList& texts) {
        QCOMPARE(box.lines.size(), texts.size());
        for (qsizetype i = 0; i < box.lines.size(); ++i) {
            QCOMPARE(box.lines[i].text, texts[i]);
            QVERIFY(box.lines[i].height > 0);
            if (i > 0) {
                QVERIFY2(box.lines[i].top >= box.lines[i - 1].top + box.lines[i - 1].height,
                         qPrintable(QStringLiteral("line %1 at %2, the one before at %3")
                                        .arg(i)
                                        .arg(box.lines[i].top)
                                        .arg(box.lines[i - 1].top)));
                QCOMPARE(box.lines[i].start, box.lines[i - 1].end);
            }
        }
    }

    std::string lastSaid() const {
        return h->speech.texts.empty() ? std::string() : h->speech.texts.back();
    }

private slots:
    void init() {
        sheetSaid.clear();
        h = std::make_unique<gui_test::Harness>();
        h->start({}, [this](gui::MainWindowOptions& options) {
            options.sheetVoice = true;
            options.sheetEngine = std::make_unique<gui_test::InstantEngine>(&sheetSaid);
        });
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 5000);
        activateMainWindow();
        QTRY_VERIFY(memo("Memo2")->hasFocus());
    }

    void cleanup() { h.reset(); }

    void focusComesBackAfterTheSettingsDialogAndMenus() {
        openAndClose([&] { QTest::keyClick(memo("Memo2"), Qt::Key_I, Qt::AltModifier); },
                     Qt::Key_Escape);
        QTRY_VERIFY(memo("Memo2")->hasFocus());
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Braille"));

        // A menu left with Esc gives the focus back too, without a second Esc.
        QTest::keyClick(memo("Memo2"), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(memo("Memo2")->hasFocus());
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Braille"));
    }

    void aModeSwitchGoesStraightToTheNewEditor() {
        QStringList passed;
        QObject watcher;
        connect(qApp, &QApplication::focusChanged, &watcher, [&passed](QWidget*, QWidget* now) {
            passed << (now != nullptr ? now->objectName() : QStringLiteral("-"));
        });
        QTest::keyClick(memo("Memo2"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(memo("Memo1")->hasFocus());
        QCOMPARE(passed, QStringList{QStringLiteral("Memo1")});
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Latex"));
        passed.clear();
        QTest::keyClick(memo("Memo1"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(memo("Memo2")->hasFocus());
        QCOMPARE(passed, QStringList{QStringLiteral("Memo2")});
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Braille"));
    }

    void everyLearningWindowGivesTheFocusBack() {
        QPlainTextEdit* page = memo("Memo2");
        QTest::keyClicks(page, QStringLiteral("#b+#c"));
        QTest::keyClick(page, Qt::Key_Home, Qt::ShiftModifier);
        openAndClose([&] { QTest::keyClick(page, Qt::Key_Q, Qt::ControlModifier); },
                     Qt::Key_Escape);
        QTRY_VERIFY(page->hasFocus());
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Braille"));
        QTest::keyClick(page, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(page, QStringLiteral("?#a+#b*(#c"));
        for (Qt::Key opens : {Qt::Key_S, Qt::Key_W}) {  // structure view, decomposition
            openAndClose([&] { QTest::keyClick(page, opens, Qt::ControlModifier); },
                         Qt::Key_Escape);
            QTRY_VERIFY(page->hasFocus());
        }
        openAndClose([&] { QTest::keyClick(page, Qt::Key_F1, Qt::ShiftModifier); }, Qt::Key_X,
                     Qt::ControlModifier);  // the brackets tutor, "Esci"
        QTRY_VERIFY(page->hasFocus());
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Braille"));
        QCOMPARE(page->toPlainText(), QStringLiteral("?#a+#b*(#c"));  // nothing was stored
    }

    void namesFollowWhatTheWindowShows() {
        QList<Entry> tree = gui_test::readAtspiTree();
        QVERIFY2(!tree.isEmpty(), "the window is not on the accessibility bus");
        QCOMPARE(frameName(tree), h->window().windowTitle());
        QCOMPARE(nameOf(tree, QStringLiteral("Pagina")), QStringLiteral("Pag. 1 Braille"));
        QCOMPARE(nameOf(tree, QStringLiteral("Modalit\u00E0")),
                 QStringLiteral("Modalit\u00E0 Braille"));
        QCOMPARE(nameOf(tree, QStringLiteral("Input")), QStringLiteral("Tastiera"));
        QCOMPARE(nameOf(tree, QStringLiteral("Sintesi vocale")),
                 QStringLiteral("Sintesi vocale attivata"));
        QCOMPARE(nameOf(tree, QStringLiteral("Pagine occupate")),
                 QStringLiteral("Pagine occupate: nessuna"));

        QTest::keyClicks(memo("Memo2"), QStringLiteral("#a"));
        QTest::keyClick(memo("Memo2"), Qt::Key_F2);
        QTest::keyClick(memo("Memo2"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(memo("Memo1")->hasFocus());
        tree = gui_test::readAtspiTree();
        QCOMPARE(frameName(tree), h->window().windowTitle());
        QVERIFY(frameName(tree).endsWith(QStringLiteral("modalit\u00E0 Latex")));
        QCOMPARE(nameOf(tree, QStringLiteral("Pagina")), QStringLiteral("Pag. 2"));
        QCOMPARE(nameOf(tree, QStringLiteral("Modalit\u00E0")),
                 QStringLiteral("Modalit\u00E0 Latex"));
        QCOMPARE(nameOf(tree, QStringLiteral("Pagine occupate")),
                 QStringLiteral("Pagine occupate: 1"));

        // Each palette's list is named after its palette.
        for (const char* palette : {"Funzioni", "Operatori"}) {
            h->find<QPushButton>(palette)->click();
            QTRY_VERIFY(h->find<QListWidget>("ListBox1")->hasFocus());
            tree = gui_test::readAtspiTree();
            QCOMPARE(gui_test::namesOfRole(tree, QStringLiteral("list")),
                     QStringList{QString::fromLatin1(palette)});
            QTest::keyClick(h->find<QListWidget>("ListBox1"), Qt::Key_Escape);
        }
    }

    void altFOpensTheFileMenuAndTypesNothing() {
        QPlainTextEdit* page = memo("Memo2");
        QTest::keyClicks(page, QStringLiteral("#ab"));
        QTest::keyClick(page, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("File1"));
        const QStringList menus =
            gui_test::namesOfRole(gui_test::readAtspiTree(), QStringLiteral("menu item"));
        QVERIFY2(menus.contains(QStringLiteral("Nuovo")), qPrintable(menus.join(u'|')));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(page->hasFocus());
        QCOMPARE(page->toPlainText(), QStringLiteral("#ab"));

        // A letter of no menu types nothing either, and says so.
        QTest::keyClick(page, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(page->toPlainText(), QStringLiteral("#ab"));
        QCOMPARE(lastSaid(), std::string("\\\\@Nessun menu con la lettera X\\\\"));
        QCOMPARE(h->dialogs.beeps(), 1);

        // The key of a menu that is for Braille mode only says so in Latex mode.
        QTest::keyClick(page, Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(memo("Memo1")->hasFocus());
        const QString latex = memo("Memo1")->toPlainText();
        QTest::keyClick(memo("Memo1"), Qt::Key_O, Qt::AltModifier);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QCOMPARE(lastSaid(), std::string("\\\\@Disponibile solo in modalit\xE0 Braille\\\\"));
        QCOMPARE(memo("Memo1")->toPlainText(), latex);
    }

    void eachKeyThatCannotActSaysWhy() {
        QTest::keyClick(memo("Memo2"), Qt::Key_B, Qt::ControlModifier);
        QPlainTextEdit* latex = memo("Memo1");
        QTRY_VERIFY(latex->hasFocus());
        const std::string onlyBraille = "\\\\@Disponibile solo in modalit\xE0 Braille\\\\";
        const QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys{
            {Qt::Key_Q, Qt::ControlModifier}, {Qt::Key_W, Qt::ControlModifier},
            {Qt::Key_S, Qt::ControlModifier}, {Qt::Key_F1, Qt::ShiftModifier},
            {Qt::Key_F8, Qt::ShiftModifier},  {Qt::Key_F7, Qt::NoModifier},
        };
        for (const auto& [key, modifiers] : keys) {
            h->speech.texts.clear();
            QTest::keyClick(latex, key, modifiers);
            QCOMPARE(lastSaid(), onlyBraille);
            QCOMPARE(h->find<QLabel>("StatusBar1")->text(),
                     QStringLiteral("Disponibile solo in modalit\u00E0 Braille"));
        }
        QCOMPARE(h->dialogs.beeps(), static_cast<int>(keys.size()));
        // The status bar is heard by the notice while it shows, by the page after the next key.
        QCOMPARE(nameOf(gui_test::readAtspiTree(), QStringLiteral("Pagina")),
                 QStringLiteral("Disponibile solo in modalit\u00E0 Braille"));
        QTest::keyClick(latex, Qt::Key_Right);
        QCOMPARE(h->find<QLabel>("StatusBar1")->text(), QStringLiteral("Pag. 1"));
        QCOMPARE(latex->toPlainText(), QString());

        // The calculation sheet says with its own voice why F2 does nothing in a sum.
        QTest::keyClick(latex, Qt::Key_B, Qt::ControlModifier);
        QPlainTextEdit* page = memo("Memo2");
        QTRY_VERIFY(page->hasFocus());
        QTest::keyClicks(page, QStringLiteral("#b+#c"));
        QTest::keyClick(page, Qt::Key_Home, Qt::ShiftModifier);
        bool asked = false;
        whenModal([&asked](QWidget* sheet) {
            QTRY_VERIFY(sheet->focusWidget() != nullptr);
            QTest::keyClick(sheet->focusWidget(), Qt::Key_F2);
            QTest::keyClick(sheet->focusWidget(), Qt::Key_Escape);
            asked = true;
        });
        QTest::keyClick(page, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(asked && QApplication::activeModalWidget() == nullptr);
        activateMainWindow();
        QVERIFY(std::find(sheetSaid.begin(), sheetSaid.end(), "Solo nella divisione") !=
                sheetSaid.end());
    }

    void eachLineIsReadAtItsOwnPlace() {
        QPlainTextEdit* page = memo("Memo2");
        QTest::keyClicks(page, QStringLiteral("#a+#b"));
        QTest::keyClick(page, Qt::Key_Return);
        QTest::keyClicks(page, QStringLiteral("#c"));
        QTest::keyClick(page, Qt::Key_Return);
        QTest::keyClicks(page, QStringLiteral("#d(#e"));
        QTest::keyClick(page, Qt::Key_Up);
        BoxHeard box = boxHeard();
        expectLinesApart(box,
                         {QStringLiteral("#a+#b"), QStringLiteral("#c"), QStringLiteral("#d(#e")});
        QCOMPARE(box.lineOfCaret(), 1);

        // Ctrl+B: the Latex editor, its caret on the same line.
        QTest::keyClick(page, Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(memo("Memo1")->hasFocus());
        box = boxHeard();
        QCOMPARE(box.lines.size(), 3);
        QVERIFY(box.lines[1].top > box.lines[0].top && box.lines[2].top > box.lines[1].top);
        QCOMPARE(box.lineOfCaret(), 1);
        QCOMPARE(memo("Memo1")->textCursor().blockNumber(), 1);
        QTest::keyClick(memo("Memo1"), Qt::Key_Down);
        QTest::keyClick(memo("Memo1"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(page->hasFocus());
        QCOMPARE(boxHeard().lineOfCaret(), 2);

        // The work area of a learning window, a box of several lines too.
        QTest::keyClick(page, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(page, QStringLiteral("?#a+#b*(?#c+#d*"));
        BoxHeard work;
        inModal(
            [&work](QWidget* tutor) {
                QTRY_VERIFY_WITH_TIMEOUT((work = boxHeard()).lines.size() == 2, 10000);
                QTest::keyClick(tutor->focusWidget(), Qt::Key_X, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(page, Qt::Key_F1, Qt::ShiftModifier); });
        expectLinesApart(work, {QStringLiteral("#a+#b="), QStringLiteral("#c+#d=")});
    }

    void f10AndAltAloneGoToTheMenuBar() {
        QPlainTextEdit* page = memo("Memo2");
        QTest::keyClick(page, Qt::Key_F10);
        QTRY_VERIFY(qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr);
        QVERIFY(QApplication::activePopupWidget() == nullptr);  // highlighted, not open
        QCOMPARE(focusedAsHeard(), QStringLiteral("menu item: File"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(page->hasFocus());
        QCOMPARE(focusedAsHeard(), QStringLiteral("text: Editor Braille"));

        QTest::keyPress(page, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(page, Qt::Key_Alt, Qt::NoModifier);
        QTRY_VERIFY(qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr);
        QCOMPARE(focusedAsHeard(), QStringLiteral("menu item: File"));
        // Right goes on to the next menu, Down opens it.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(focusedAsHeard(), QStringLiteral("menu item: Modifica"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("Modifica1"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(page->hasFocus());
        QCOMPARE(page->toPlainText(), QString());

        // A learning window's menu bar the same way.
        QTest::keyClicks(page, QStringLiteral("?#a+#b*(#c"));
        QString heard;
        inModal(
            [&heard, this](QWidget* tutor) {
                QWidget* work = tutor->focusWidget();
                QTest::keyClick(work, Qt::Key_F10);
                QTRY_VERIFY(qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr);
                heard = focusedAsHeard();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                QTRY_VERIFY(work->hasFocus());
                QTest::keyClick(work, Qt::Key_X, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(page, Qt::Key_F1, Qt::ShiftModifier); });
        QVERIFY2(heard.startsWith(QStringLiteral("menu item: ")), qPrintable(heard));
    }

    void everyRefusalAndVerdictIsANotice() {
        QTest::keyClick(memo("Memo2"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(memo("Memo1")->hasFocus());
        gui_test::AtspiNotices notices;
        QVERIFY(notices.start(4));
        QTest::keyClick(memo("Memo1"), Qt::Key_Q, Qt::ControlModifier);
        QTest::qWait(300);
        QTest::keyClick(memo("Memo1"), Qt::Key_F1, Qt::ShiftModifier);
        const QStringList heard = notices.heard();
        const QString notice =
            QStringLiteral("notification\tDisponibile solo in modalit\u00E0 Braille");
        QCOMPARE(heard, (QStringList{notice, notice}));

        // The tutor's verdict.
        QTest::keyClick(memo("Memo1"), Qt::Key_B, Qt::ControlModifier);
        QPlainTextEdit* page = memo("Memo2");
        QTRY_VERIFY(page->hasFocus());
        QTest::keyClicks(page, QStringLiteral("?#a+#b*(#c"));
        gui_test::AtspiNotices verdict;
        inModal(
            [&verdict](QWidget* tutor) {
                QVERIFY(verdict.start(4));
                QTest::keyClicks(tutor->focusWidget(), QStringLiteral("#c"));
                QTest::keyClick(tutor->focusWidget(), Qt::Key_Return);
                QTest::keyClick(tutor->focusWidget(), Qt::Key_X, Qt::ControlModifier);
            },
            [&] { QTest::keyClick(page, Qt::Key_F1, Qt::ShiftModifier); });
        QCOMPARE(verdict.heard(), QStringList{QStringLiteral("notification\tEsatto")});
    }

    void menuItemsTellTheirShortcut() {
        QTest::keyClick(memo("Memo2"), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        const QStringList keys = gui_test::readAtspi(QStringLiteral("keys"));
        QVERIFY2(keys.contains(QStringLiteral("Nuovo\t;;<Control>n")), qPrintable(keys.join(u'|')));
        QVERIFY2(keys.contains(QStringLiteral("Stampa\t;;<Control><Shift>F12")),
                 qPrintable(keys.join(u'|')));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(memo("Memo2")->hasFocus());
    }

    void theTitleAtStartHasItsSeparators() {
        QCOMPARE(frameName(gui_test::readAtspiTree()),
                 QStringLiteral("Tattilo v. 1.1 - modalit\u00E0 Braille"));
    }
};

QTEST_MAIN(ScreenReaderTest)
#include "screen_reader_atspi_test.moc"
