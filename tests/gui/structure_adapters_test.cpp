// What the structure view needs from the Qt adapters: a memo hands back the level marker byte
// 0xA0 of its labels (Qt's plain text makes it a blank), a hidden menu item keeps its keys, and
// its read-only box of brackets is entered by Tab without being selected (a screen reader
// would say the text twice: selected, then with the box).

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include "gui/qt_widgets.h"

class StructureAdaptersTest : public QObject {
    Q_OBJECT

private slots:
    void aMemoKeepsTheLevelMarkers() {
        QPlainTextEdit edit;
        gui::QtMemo memo(&edit);
        const std::string text = "T3  \xA0T1\xA0(\xA0T2\xA0 =\r\n\r\nT1  a+b =";
        memo.setText(text);
        QCOMPARE(memo.text(), text);
        memo.setSelection(4, 4);
        QCOMPARE(memo.selText(), std::string("\xA0T1\xA0"));
        memo.setSelStart(text.size());
        QCOMPARE(memo.selStart(), text.size());
    }

    void aHiddenItemKeepsItsEnabledState() {
        QAction action;
        gui::QtAction item(&action);
        item.setVisible(false);
        QVERIFY(!action.isEnabled());  // what Qt does to a hidden action
        QVERIFY(item.enabled());
        item.setEnabled(false);
        item.setVisible(true);
        QVERIFY(!item.enabled());
        QVERIFY(!action.isEnabled());
        item.setEnabled(true);
        QVERIFY(action.isEnabled());
    }

    void tabSelectsAWritableFieldOnly() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* first = new QLineEdit(QStringLiteral("a"));
        auto* shown = new QLineEdit(QStringLiteral("? *"));
        auto* writable = new QLineEdit(QStringLiteral("b+c"));
        for (QLineEdit* e : {first, shown, writable}) {
            layout->addWidget(e);
        }
        gui::QtLine brackets(shown);
        brackets.setReadOnly(true);
        window.show();
        QApplication::setActiveWindow(&window);
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        QTest::keyClick(first, Qt::Key_Tab);
        QTRY_VERIFY(shown->hasFocus());
        QVERIFY(!shown->hasSelectedText());
        QTest::keyClick(shown, Qt::Key_Tab);
        QTRY_VERIFY(writable->hasFocus());
        QVERIFY(writable->hasSelectedText());  // a field to type in comes in selected
    }
};

QTEST_MAIN(StructureAdaptersTest)
#include "structure_adapters_test.moc"
