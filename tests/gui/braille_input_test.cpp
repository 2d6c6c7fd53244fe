// Typing Braille in the real main window by key events: a chord pressed on the keyboard, the
// numeric keypad with NumLock told by the keys themselves, and the real speech engine hearing
// every key.

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>

#include "gui_harness.h"
#include "speech/engine.h"

class BrailleInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    QPlainTextEdit* memo2() { return h->find<QPlainTextEdit>("Memo2"); }
    ui::TextBox& box() { return h->view->logic().widgets().Memo2; }

    // The chord timer, told from the splash timer by its interval.
    QTimer* chordTimer(int interval) {
        for (QTimer* t : h->window().findChildren<QTimer*>()) {
            if (t->interval() == interval) {
                return t;
            }
        }
        return nullptr;
    }

    // Dark pixels of the Braille editor: the dots of its cells.
    int dots() {
        const QImage picture = memo2()->viewport()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                dark += picture.pixelColor(x, y).lightness() < 80 ? 1 : 0;
            }
        }
        return dark;
    }

    // A key held down: the toolkit sends a release and a press, both marked as repeats, for
    // each repeat of the keyboard.
    void repeatKey(Qt::Key key, const QString& text, int times) {
        for (int i = 0; i < times; ++i) {
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, true);
            QApplication::sendEvent(memo2(), &release);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, true);
            QApplication::sendEvent(memo2(), &press);
        }
    }

    void startWindow(const std::string& settings = {},
                     const std::function<void(gui::MainWindowOptions&)>& adjust = nullptr) {
        h = std::make_unique<gui_test::Harness>();
        h->start(settings, adjust);
        QTRY_VERIFY(memo2()->hasFocus());
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 4000);
    }

private slots:
    void cleanup() { h.reset(); }

    void chordTypedOnTheKeyboardShowsItsCell() {
        startWindow("timer = 1500\r\n");
        QTest::keyClick(memo2(), Qt::Key_F5);
        QCOMPARE(h->find<QLabel>("Label2")->text(), QStringLiteral("Dattilobraille"));
        const int empty = dots();

        // F and D held together; D comes later, within the same chord window.
        QTimer* timer = chordTimer(1500);
        QVERIFY(timer != nullptr);
        QTest::keyPress(memo2(), 'f');
        QVERIFY(timer->isActive());
        const int first = timer->remainingTime();
        QTest::qWait(300);
        QTest::keyPress(memo2(), 'd');
        QVERIFY2(timer->remainingTime() <= first - 250,
                 "a second key does not restart the chord window");
        QTest::keyRelease(memo2(), 'd');
        QTest::keyRelease(memo2(), 'f');
        QCOMPARE(box().text(), std::string());
        QTRY_COMPARE_WITH_TIMEOUT(box().text(), std::string("b"), 5000);
        QCOMPARE(box().selStart(), std::size_t(1));
        QVERIFY(!timer->isActive());
        QVERIFY(memo2()->hasFocus());
        QCOMPARE(h->speech.texts.back(), std::string("b"));

        // Enter alone: a new line, the caret at its start.
        QTest::keyClick(memo2(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(box().text(), std::string("b\r\n"), 5000);
        QCOMPARE(box().selStart(), std::size_t(3));
        QTest::keyPress(memo2(), 'f');
        QTest::keyPress(memo2(), 'd');
        QTest::keyPress(memo2(), 's');
        QTest::keyPress(memo2(), 'j');
        QTest::keyPress(memo2(), 'k');
        QTest::keyPress(memo2(), 'l');
        QTRY_COMPARE_WITH_TIMEOUT(box().text(), std::string("b\r\n%"), 5000);

        // Shown as dots on the screen.
        QVERIFY2(dots() > empty + 100, qPrintable(QString::number(dots() - empty)));
        gui_test::saveScreenshot(h->window(), "tattilo_chord_typing.png");
    }

    void numericKeypadTypesItsTables() {
        startWindow();
        // A keypad key that arrives as a digit tells that NumLock is on.
        QTest::keyClick(memo2(), Qt::Key_1, Qt::KeypadModifier);
        QCOMPARE(box().text(), std::string("a"));
        QVERIFY(h->view->logic().numLockOn());
        QTest::keyClick(memo2(), Qt::Key_1, Qt::KeypadModifier | Qt::AltModifier);
        QTest::keyClick(memo2(), Qt::Key_0, Qt::KeypadModifier | Qt::ControlModifier);
        QTest::keyClick(memo2(), Qt::Key_Asterisk, Qt::KeypadModifier | Qt::ControlModifier);
        QTest::keyClick(memo2(), Qt::Key_Slash, Qt::KeypadModifier | Qt::ControlModifier);
        QTest::keyClick(memo2(), Qt::Key_3,
                        Qt::KeypadModifier | Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(box().text(), std::string("a,|#)jj#)jn"));
        // An ordinary letter still types its letter.
        QTest::keyClick(memo2(), 'x');
        QCOMPARE(box().text(), std::string("a,|#)jj#)jnx"));
        QCOMPARE(h->speech.texts.back(), std::string("a,|#)jj#)jnx"));
        QCOMPARE(box().selStart(), box().text().size());

        // A keypad key that arrives as a movement key tells that NumLock is off: the keys type
        // as they are again.
        QTest::keyClick(memo2(), Qt::Key_Home, Qt::KeypadModifier);
        QVERIFY(!h->view->logic().numLockOn());
        QTest::keyClick(memo2(), 'y');
        QCOMPARE(box().text(), std::string("ya,|#)jj#)jnx"));
        QCOMPARE(h->speech.texts.back(), std::string("y"));
    }

    void keysThatOverlapWithNumLockOnAreAllTyped() {
        startWindow();
        QTest::keyClick(memo2(), Qt::Key_1, Qt::KeypadModifier);
        QVERIFY(h->view->logic().numLockOn());
        // The next key goes down before the last one is up, as in fast typing.
        QTest::keyPress(memo2(), 'b');
        QTest::keyPress(memo2(), Qt::Key_2, Qt::KeypadModifier);
        QTest::keyRelease(memo2(), 'b');
        QTest::keyRelease(memo2(), Qt::Key_2, Qt::KeypadModifier);
        QCOMPARE(box().text(), std::string("abb"));
        // A key held down repeats.
        QTest::keyPress(memo2(), 'c');
        repeatKey(Qt::Key_C, QStringLiteral("c"), 2);
        QTest::keyRelease(memo2(), 'c');
        QCOMPARE(box().text(), std::string("abbccc"));
        QCOMPARE(box().selStart(), std::size_t(6));
    }

    // A chord held past the keyboard's repeat delay: the toolkit's repeats type nothing.
    void aHeldChordTypesItsCellOnce() {
        startWindow("timer = 200\r\n");
        QTest::keyClick(memo2(), Qt::Key_F5);
        QTest::keyPress(memo2(), 'f');
        QTest::keyPress(memo2(), 'd');
        QTRY_COMPARE_WITH_TIMEOUT(box().text(), std::string("b"), 5000);
        repeatKey(Qt::Key_D, QStringLiteral("d"), 3);
        QTest::qWait(400);
        QTest::keyRelease(memo2(), 'd');
        QTest::keyRelease(memo2(), 'f');
        QCOMPARE(box().text(), std::string("b"));
    }

    void tabLeavesTheEditorWhileChording() {
        startWindow();
        QTest::keyClick(memo2(), Qt::Key_F5);
        QTest::keyClick(memo2(), Qt::Key_Tab);
        QTRY_VERIFY(!memo2()->hasFocus());
        QCOMPARE(box().text(), std::string());
    }

    void theSpeechEngineHearsEveryKey() {
        startWindow({}, [](gui::MainWindowOptions& options) {
            options.speechReader = true;
            options.speechEngine = speech::createEngine(
                {.programDirectory = {}, .output = speech::AudioOutput::Memory});
        });
        QVERIFY(h->dialogs.messages().empty());
        speech::Engine* engine = h->view->workbench().speechReader()->engine();
        QVERIFY(engine != nullptr);
        QVERIFY(engine->synchronize());
        engine->takeAudio();

        QTest::keyClicks(memo2(), QStringLiteral("#ab"));
        QVERIFY(engine->synchronize());
        const speech::Pcm audio = engine->takeAudio();
        QVERIFY(audio.sampleRate > 0);
        QVERIFY2(audio.samples.size() > static_cast<std::size_t>(audio.sampleRate / 10),
                 qPrintable(QString::number(audio.samples.size())));
        const auto loudest = std::max_element(
            audio.samples.begin(), audio.samples.end(),
            [](std::int16_t a, std::int16_t b) { return std::abs(a) < std::abs(b); });
        QVERIFY(std::abs(*loudest) > 1000);

        // Switched off: the confirmation is the last thing said.
        QTest::keyClick(memo2(), Qt::Key_F7);
        QVERIFY(engine->synchronize());
        QVERIFY(!engine->takeAudio().samples.empty());
        QTest::keyClicks(memo2(), QStringLiteral("cd"));
        QVERIFY(engine->synchronize());
        QVERIFY(engine->takeAudio().samples.empty());
        QCOMPARE(box().text(), std::string("#abcd"));
    }
};

QTEST_MAIN(BrailleInputTest)
#include "braille_input_test.moc"
