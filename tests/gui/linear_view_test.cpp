// The linear view in the real window: typing in the Braille editor redraws the strip with the
// mathematics and the caret, the symbols have a font that draws every one of them, and the
// toggle's accessible name follows its caption.

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/linear_view_widget.h"
#include "gui_harness.h"
#include "notation/mathml_tables.h"

class LinearViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    gui::LinearViewWidget* strip() { return h->find<gui::LinearViewWidget>("Image1"); }

    static int count(const notation::DisplayLine& line, notation::DisplayKind kind) {
        return static_cast<int>(std::count_if(line.items.begin(), line.items.end(),
                                              [&](const auto& i) { return i.kind == kind; }));
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
    }

    void cleanup() { h.reset(); }

    void typingRedrawsTheStripWithTheCaret() {
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QVERIFY(memo2 != nullptr && strip() != nullptr);
        QVERIFY(strip()->isVisible());
        memo2->setFocus();
        QTest::keyClicks(memo2, QStringLiteral("6_anp_b4"));
        QTRY_COMPARE(strip()->displayLines().size(), std::size_t{1});
        const notation::DisplayLine& line = strip()->displayLines()[0];
        QCOMPARE(count(line, notation::DisplayKind::FractionBar), 1);
        QCOMPARE(count(line, notation::DisplayKind::Caret), 1);
        QTest::keyClick(memo2, Qt::Key_Return);
        QTest::keyClicks(memo2, QStringLiteral(">a"));
        QTRY_COMPARE(strip()->displayLines().size(), std::size_t{2});
        QCOMPARE(count(strip()->displayLines()[0], notation::DisplayKind::Caret), 0);
        QCOMPARE(count(strip()->displayLines()[1], notation::DisplayKind::Glyph), 1);
        // A click on the strip gives the focus back to the Braille editor.
        h->find<QPushButton>("Converti")->setFocus();
        QTest::mouseClick(strip(), Qt::LeftButton);
        QTRY_VERIFY(memo2->hasFocus());
    }

    void symbolFontDrawsEverySymbol() {
        const QFontMetrics metrics(strip()->fonts().glyph(notation::FontRole::Normal));
        for (const auto table :
             {notation::mathmlSymbols(), notation::mathmlExtraSigns(), notation::mathmlGreek()}) {
            for (const notation::MathmlSign& sign : table) {
                for (char32_t c : notation::mathmlCharacters(sign.mathml)) {
                    QVERIFY2(metrics.inFontUcs4(c),
                             qPrintable(QString::number(c, 16) + QStringLiteral(" in ") +
                                        strip()->fonts().symbolFamily()));
                }
            }
        }
    }

    void toggleNameFollowsItsCaption() {
        auto* toggle = h->find<QPushButton>("VisualLineare");
        QVERIFY(toggle != nullptr);
        QCOMPARE(toggle->accessibleName(), QStringLiteral("Visual. lineare off"));
        QTest::keyClick(h->find<QPlainTextEdit>("Memo2"), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(toggle->text(), QStringLiteral("Visual. lineare on"));
        QCOMPARE(toggle->accessibleName(), QStringLiteral("Visual. lineare on"));
        QVERIFY(!strip()->isVisible());
        toggle->click();
        QCOMPARE(toggle->accessibleName(), QStringLiteral("Visual. lineare off"));
        QVERIFY(strip()->isVisible());
    }
};

QTEST_MAIN(LinearViewTest)
#include "linear_view_test.moc"
