// The linear view in the real window: typing in the Braille editor redraws the strip with the
// mathematics and the caret, the symbols have a font that draws every one of them, and the
// toggle's accessible name follows its caption. With the real fonts, lines of fractions,
// roots and exponents keep apart: in the layout, and in the strip's own picture.

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <set>

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

    // Lines the issue of the teachers showed drawn wrong: nested fractions, a fraction in an
    // exponent and in an index, roots of fractions, exponents and signs.
    static std::vector<std::string> fractionPage() {
        return {"66_anp_b4np_c4",
                "_x|_n+#a1",
                "666_anp_b4np_c4np_d4",
                "_x|6#anp#b41",
                "_x|-#b1",
                "_x|_y|_z11",
                "96_anp_b4o+9#c:6#anp_x4o",
                "_a!6_inp_b4+_b",
                "6_x|6#anp#b41np9_yo4"};
    }

    void typePage(const std::vector<std::string>& lines) {
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        memo2->setFocus();
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (k > 0) {
                QTest::keyClick(memo2, Qt::Key_Return);
            }
            QTest::keyClicks(memo2, QString::fromLatin1(lines[k].c_str()));
        }
        QTest::keyClick(memo2, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(memo2, Qt::Key_Right);
    }

    // The rows of `image` that hold anything but white.
    static std::set<int> inkRows(const QImage& image) {
        std::set<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    rows.insert(y);
                    break;
                }
            }
        }
        return rows;
    }

    // The strip as it shows now, and each of its lines painted alone in its place.
    void checkStripPicture(const char* when) {
        gui::LinearViewWidget* view = strip();
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(view->places().size() >= 2, when);
        std::set<int> all;
        for (const notation::LinePlace& place : view->places()) {
            QImage alone(shown.size(), QImage::Format_RGB32);
            alone.fill(Qt::white);
            {
                QPainter painter(&alone);
                gui::paintDisplayLines(painter, view->fonts(), view->textCache(),
                                       view->displayLines(), {place});
            }
            const std::set<int> rows = inkRows(alone);
            QVERIFY2(!rows.empty(), when);
            for (int row : rows) {
                QVERIFY2(all.insert(row).second,
                         qPrintable(QStringLiteral("%1: row %2 holds ink of two lines")
                                        .arg(QString::fromLatin1(when))
                                        .arg(row)));
            }
            // Not cut at the strip's edges: a blank row stays above and below.
            QVERIFY2(*rows.begin() > 0 && *rows.rbegin() < shown.height() - 1, when);
            QVERIFY2(*rows.begin() >= place.top && *rows.rbegin() < place.top + place.height, when);
            // The bars are full black and two pixels high.
            for (const notation::DisplayItem& item : view->displayLines()[place.line].items) {
                if (item.kind == notation::DisplayKind::FractionBar && place.scale == 1.0) {
                    const int x = (item.x + item.x2) / 2;
                    const int y = place.baseline + item.y;
                    QCOMPARE(alone.pixel(x, y - 1) & 0xFFFFFF, 0u);
                    QCOMPARE(alone.pixel(x, y) & 0xFFFFFF, 0u);
                }
            }
        }
        QCOMPARE(inkRows(shown), all);
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

    // The layout with the strip's real fonts: every band holds its line's ink, and no two
    // lines' ink meet, whichever line the strip keeps.
    void realFontLayoutKeepsLinesApart() {
        const notation::TextMetrics& metrics = strip()->metrics();
        std::vector<notation::DisplayLine> lines;
        for (const std::string& cells : fractionPage()) {
            lines.push_back(notation::layoutCells(cells, cells.size() / 2, metrics));
        }
        for (const int height : {244, 123, 2000}) {
            for (std::size_t keep = 0; keep < lines.size(); ++keep) {
                const auto places = notation::placeLines(lines, 46, height, keep);
                QVERIFY(!places.empty());
                int below = 0;
                for (const notation::LinePlace& place : places) {
                    const notation::DisplayLine& line = lines[place.line];
                    QCOMPARE(place.top, below);
                    QVERIFY(place.height >= 46 || place.scale < 1.0);
                    if (place.scale == 1.0) {
                        QVERIFY(place.height >= line.bottom - line.top);
                    }
                    const double inkTop = place.baseline + line.top * place.scale;
                    const double inkBottom = place.baseline + line.bottom * place.scale;
                    QVERIFY(inkTop >= place.top && inkBottom <= place.top + place.height);
                    QVERIFY(inkTop >= 0 && inkBottom <= height);
                    below = place.top + place.height;
                    // Every item's ink inside the line's rows, with the real fonts.
                    for (const notation::DisplayItem& item : line.items) {
                        if (item.kind == notation::DisplayKind::Text ||
                            item.kind == notation::DisplayKind::Glyph) {
                            QVERIFY(item.y - metrics.ascent(item.role) >= line.top);
                            QVERIFY(item.y + metrics.descent(item.role) <= line.bottom);
                        }
                    }
                }
                QVERIFY(std::any_of(places.begin(), places.end(),
                                    [&](const auto& p) { return p.line == keep; }));
            }
        }
    }

    // The strip's picture, the caret on each line in turn: no row holds ink of two lines,
    // nothing is cut off at the edges, and the bars are black and two pixels high.
    void stripPictureKeepsLinesApart() {
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 5000);
        typePage(fractionPage());
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QTRY_VERIFY(!strip()->places().empty());
        QCOMPARE(strip()->places().front().line, std::size_t{0});
        checkStripPicture("caret on the first line");
        gui_test::saveScreenshot(h->window(), "window_fractions_first_line.png");
        gui_test::saveScreenshot(*strip(), "strip_fractions_first_line.png");
        for (std::size_t k = 1; k < fractionPage().size(); ++k) {
            QTest::keyClick(memo2, Qt::Key_Down);
            QTest::keyClick(memo2, Qt::Key_End);
            const QByteArray when = "caret on line " + QByteArray::number(int(k) + 1);
            checkStripPicture(when.constData());
            if (k == 3) {
                gui_test::saveScreenshot(*strip(), "strip_caret_on_x_half.png");
            }
        }
    }

    // In the default window the legend lies under the drawing, scrolls when it must, and
    // leaves two lines of mathematics in view.
    void legendLeavesTwoLinesInTheDefaultWindow() {
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 5000);
        QCOMPARE(h->window().size(), QSize(800, 600));
        typePage({"_x|6#anp#b41", "_a+_b", "_c+_d", "6_anp_b4"});
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QTest::keyClick(memo2, Qt::Key_Down);
        h->find<QPushButton>("Simb")->click();
        auto* legend = h->find<QScrollArea>("Image3");
        QVERIFY(legend != nullptr && legend->isVisible());
        QVERIFY(legend->geometry().top() >= strip()->geometry().bottom());
        QVERIFY2(legend->height() < legend->widget()->height(), "it scrolls");
        QTRY_VERIFY(legend->verticalScrollBar()->isVisible());
        QTRY_VERIFY(strip()->places().size() >= 2);
        checkStripPicture("legend open");
        gui_test::saveScreenshot(h->window(), "window_legend_open.png");
        h->find<QPushButton>("Simb")->click();
        QVERIFY(!legend->isVisible());
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
