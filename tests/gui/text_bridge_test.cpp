#include "gui/text_bridge.h"

#include <QtTest>

class TextBridgeTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips() {
        std::string all;
        for (int b = 0; b < 256; ++b) {
            all += static_cast<char>(b);
        }
        const QString q = gui::toQString(all);
        QCOMPARE(q.size(), 256);
        QCOMPARE(gui::fromQString(q), all);
    }

    void highBytesAreWindowsCharacters() {
        QCOMPARE(gui::toQString("\x80"), QString(QChar(0x20AC)));
        QCOMPARE(gui::toQString("\x9F"), QString(QChar(0x0178)));
        QCOMPARE(gui::toQString("\xE0"), QString(QChar(0x00E0)));  // à as the mode setting
        QCOMPARE(gui::fromQString(QString(QChar(0x2026))), std::string("\x85"));
    }

    void unknownCharactersBecomeQuestionMarks() {
        QCOMPARE(gui::fromQString(QString(QChar(0x3B1))), std::string("?"));
        // The minus sign the code page lacks is its minus.
        QCOMPARE(gui::fromQString(QStringLiteral("x\u22123")), std::string("x-3"));
    }

    void everyLineBreakBecomesOneLineFeed() {
        QCOMPARE(gui::toQLines("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
        QCOMPARE(gui::toQLines("\r\n\r\n"), QStringLiteral("\n\n"));
        QCOMPARE(gui::toQLines("perch\xE9"), QString(QStringLiteral("perch")) + QChar(0xE9));
    }
};

QTEST_APPLESS_MAIN(TextBridgeTest)
#include "text_bridge_test.moc"
