// The learning windows on Qt against their toolkit-free layout tables, which the Windows build
// builds from too: every control of a table is there under its name with its accessible name
// and its label, Tab visits the controls in the table's order, and the Qt layouts put each
// control in its cell (rows from the top, columns from the left, stacks downwards). A Qt view
// that drifts from its table fails here.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QtTest>

#include "editor/messages.h"
#include "gui/text_bridge.h"
#include "gui_harness.h"
#include "learning/window_layout.h"

namespace {

using learning::ControlKind;
using learning::ControlSpec;

QString qName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QRect inDialog(QWidget* widget, QDialog* dialog) {
    return QRect(widget->mapTo(dialog, QPoint(0, 0)), widget->size());
}

}  // namespace

class LearningLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<gui_test::Harness> h;

    std::vector<std::pair<QDialog*, const learning::WindowLayout*>> windows() {
        using learning::TutorKind;
        auto& v = *h->view;
        return {
            {&v.calcSheet().dialog(), &learning::calcSheetLayout()},
            {&v.structureView().dialog(), &learning::structureViewLayout()},
            {&v.decomposition().dialog(), &learning::decompositionLayout()},
            {&v.tutor(TutorKind::Brackets).dialog(), &learning::tutorLayout(TutorKind::Brackets)},
            {&v.tutor(TutorKind::Operations).dialog(),
             &learning::tutorLayout(TutorKind::Operations)},
            {&v.tutor(TutorKind::ComplexFractions).dialog(),
             &learning::tutorLayout(TutorKind::ComplexFractions)}};
    }

private slots:
    void init() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
    }
    void cleanup() { h.reset(); }

    void everyControlIsThereWithItsNamesAndLabel() {
        for (auto [dialog, layout] : windows()) {
            QCOMPARE(dialog->objectName(), qName(layout->name));
            QCOMPARE(dialog->size(), QSize(layout->width, layout->height));
            for (const ControlSpec& c : layout->controls) {
                const QString where = qName(layout->name) + QLatin1Char(' ') + qName(c.name);
                if (c.kind == ControlKind::Caption) {
                    auto* target = dialog->findChild<QWidget*>(qName(c.labelFor));
                    QLabel* named = nullptr;
                    for (QLabel* l : dialog->findChildren<QLabel*>()) {
                        if (l->buddy() == target && l->objectName().isEmpty()) {
                            named = l;
                        }
                    }
                    QVERIFY2(named != nullptr, qPrintable(where));
                    QCOMPARE(gui::fromQString(named->text()), std::string(c.caption));
                    continue;
                }
                auto* w = dialog->findChild<QWidget*>(qName(c.name));
                QVERIFY2(w != nullptr, qPrintable(where));
                if (!c.accessibleName.empty()) {
                    QCOMPARE(gui::fromQString(w->accessibleName()), std::string(c.accessibleName));
                }
                if (!c.labelFor.empty()) {
                    QCOMPARE(qobject_cast<QLabel*>(w)->buddy(),
                             dialog->findChild<QWidget*>(qName(c.labelFor)));
                }
                if (c.kind == ControlKind::Line || c.kind == ControlKind::Memo) {
                    QCOMPARE(w->font().pixelSize(), layout->fontPixels > 0
                                                        ? layout->fontPixels
                                                        : editor::text::kBrailleFontPixels);
                    QVERIFY2(w->font().bold(), qPrintable(where));
                }
            }
        }
    }

    void tabFollowsTheTableOrder() {
        for (auto [dialog, layout] : windows()) {
            std::vector<QWidget*> expected;
            for (const ControlSpec& c : layout->controls) {
                if (c.kind == ControlKind::Line || c.kind == ControlKind::Memo ||
                    c.kind == ControlKind::Button) {
                    expected.push_back(dialog->findChild<QWidget*>(qName(c.name)));
                }
            }
            std::vector<QWidget*> chain;
            for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain()) {
                if (std::find(expected.begin(), expected.end(), w) != expected.end()) {
                    chain.push_back(w);
                }
            }
            QVERIFY2(chain == expected, qPrintable(qName(layout->name)));
        }
    }

    void eachControlLiesInItsCell() {
        for (auto [dialog, layout] : windows()) {
            dialog->layout()->activate();
            struct Placed {
                const ControlSpec* item;
                QRect rect;
            };
            std::vector<Placed> placed;
            for (const ControlSpec& c : layout->controls) {
                auto* w = c.name.empty() ? nullptr : dialog->findChild<QWidget*>(qName(c.name));
                if (w != nullptr && !w->isHidden()) {
                    placed.push_back({&c, inDialog(w, dialog)});
                }
            }
            for (const Placed& a : placed) {
                for (const Placed& b : placed) {
                    const learning::Cell& ca = a.item->cell;
                    const learning::Cell& cb = b.item->cell;
                    const QString pair = qName(layout->name) + QLatin1Char(' ') +
                                         qName(a.item->name) + QLatin1Char('/') +
                                         qName(b.item->name);
                    if (ca.row < cb.row ||
                        (ca.row == cb.row && ca.column == cb.column && ca.stack < cb.stack)) {
                        QVERIFY2(a.rect.bottom() < b.rect.top(), qPrintable(pair));
                    } else if (ca.row == cb.row && ca.column < cb.column) {
                        QVERIFY2(a.rect.right() < b.rect.left(), qPrintable(pair));
                    }
                }
            }
        }
    }
};

QTEST_MAIN(LearningLayoutTest)
#include "learning_layout_test.moc"
