// What a screen reader hears: the real window on an X display, read over AT-SPI by a separate
// process, as Orca reads it. Every button's accessible name must be the text it shows, in both
// modes, also after its caption has changed.

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QtTest>

#include "atspi_tree.h"
#include "gui/qt_widgets.h"
#include "gui_harness.h"

using Entry = gui_test::AtspiEntry;

class AccessibilityTreeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    static QList<Entry> readTree() { return gui_test::readAtspiTree(); }

    static bool isButtonRole(const QString& role) { return gui_test::isButtonRole(role); }

    // Every button a sighted user sees, named by what it shows (or, for a picture button, by
    // the name it was given), against every button the reader announces.
    void compareButtons(const char* when) {
        QStringList shown;
        for (QAbstractButton* b : h->window().findChildren<QAbstractButton*>()) {
            if (b->isVisible()) {
                shown << (b->text().isEmpty() ? b->accessibleName()
                                              : gui::accessibleCaption(b->text()));
            }
        }
        QStringList heard;
        const QList<Entry> tree = readTree();
        QVERIFY2(!tree.isEmpty(), "the window is not on the accessibility bus");
        for (const Entry& e : tree) {
            if (e.showing && isButtonRole(e.role)) {
                heard << e.name;
            }
        }
        shown.sort();
        heard.sort();
        QVERIFY2(shown == heard,
                 qPrintable(QString::fromLatin1(when) + QStringLiteral("\n shown: ") +
                            shown.join(u'|') + QStringLiteral("\n heard: ") + heard.join(u'|')));
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 5000);
    }

    void cleanup() { h.reset(); }

    void buttonNamesFollowTheirCaptionsInBothModes() {
        compareButtons("Braille mode");
        const QString braille = h->find<QAbstractButton>("Converti")->text();

        QTest::keyClick(h->find<QPlainTextEdit>("Memo2"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(h->find<QPlainTextEdit>("Memo1")->isVisible());
        QVERIFY(h->find<QAbstractButton>("Converti")->text() != braille);
        compareButtons("Latex mode");

        QTest::keyClick(h->find<QPlainTextEdit>("Memo1"), Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(h->find<QPlainTextEdit>("Memo2")->isVisible());
        compareButtons("Braille mode again");
    }
};

QTEST_MAIN(AccessibilityTreeTest)
#include "accessibility_tree_atspi_test.moc"
