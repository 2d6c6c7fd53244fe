// The shipped Braille font draws every cell of the program's cell table as its dots.

#include <QPainterPath>
#include <QRawFont>
#include <QtTest>

#include "gui/braille_font.h"
#include "gui/text_bridge.h"
#include "notation/braille_cells.h"

class BrailleFontTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        families_ = gui::loadProgramFonts(TATTILO_BIN_DIR);
        QVERIFY2(families_.contains(QStringLiteral("Braillecour")), "the font was not loaded");
    }

    void everyCellShowsItsDots() {
        // At 1000 pixels a font unit is a pixel; the dots stand at these centres.
        QRawFont font(
            QString::fromLocal8Bit(TATTILO_BIN_DIR) + QStringLiteral("/fonts/braillecour.ttf"),
            1000);
        QVERIFY(font.isValid());
        QCOMPARE(font.familyName(), QStringLiteral("Braillecour"));
        const QPointF centres[6] = {{190, -650}, {190, -400}, {190, -150},
                                    {410, -650}, {410, -400}, {410, -150}};
        for (int dots = 1; dots < 64; ++dots) {
            const char cell = notation::cellForDots(dots);
            const QString text(QChar(gui::cp1252ToUnicode(static_cast<unsigned char>(cell))));
            const QList<quint32> glyphs = font.glyphIndexesForString(text);
            QCOMPARE(glyphs.size(), qsizetype(1));
            QVERIFY2(glyphs[0] != 0, qPrintable(QStringLiteral("no glyph for ") + text));
            const QPainterPath path = font.pathForGlyph(glyphs[0]);
            for (int n = 0; n < 6; ++n) {
                const bool raised = (dots & (1 << n)) != 0;
                // A raised dot is a disc of radius 85; an empty place only a small point.
                const QPointF beside = centres[n] + QPointF(60, 0);
                QVERIFY2(path.contains(beside) == raised,
                         qPrintable(QStringLiteral("cell ") + text + QStringLiteral(" dot ") +
                                    QString::number(n + 1)));
            }
        }
        // A blank draws nothing; a capital draws its small letter's cell.
        const quint32 space = font.glyphIndexesForString(QStringLiteral(" ")).value(0);
        QVERIFY(font.pathForGlyph(space).isEmpty());
        QCOMPARE(font.pathForGlyph(font.glyphIndexesForString(QStringLiteral("B")).value(0)),
                 font.pathForGlyph(font.glyphIndexesForString(QStringLiteral("b")).value(0)));
    }

private:
    QStringList families_;
};

QTEST_MAIN(BrailleFontTest)
#include "braille_font_test.moc"
