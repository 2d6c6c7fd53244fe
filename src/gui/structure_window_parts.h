#pragma once

// What the structure view and the decomposition windows are built from on Qt: the menu bar
// made from a window's command table, and boxes, labels and buttons with their object and
// accessible names, in the window's font, each wrapped in its adapter.

#include <QDialog>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "editor/menu_commands.h"
#include "gui/qt_widgets.h"
#include "gui/text_bridge.h"

namespace gui {

// Fills `menu` from a command table whose entries have id, parent, name, caption and
// shortcut; the shortcuts are shown and told to screen readers, the window's logic runs them.
template <class Entry>
void buildMenuBar(QDialog* dialog, QVBoxLayout* layout, QtMenuBar& menu,
                  std::span<const Entry> table) {
    auto* bar = new QMenuBar(dialog);
    layout->setMenuBar(bar);
    std::map<int, QMenu*> menus;
    for (const Entry& e : table) {
        const int id = static_cast<int>(e.id);
        if (static_cast<int>(e.parent) == 0) {
            QMenu* m = bar->addMenu(toQString(e.caption));
            m->setObjectName(toQString(e.name));
            menus[id] = m;
            menu.add(id, std::make_unique<QtAction>(m->menuAction(), m));
            continue;
        }
        QAction* action = menus.at(static_cast<int>(e.parent))->addAction(toQString(e.caption));
        action->setObjectName(toQString(e.name));
        if (!e.shortcut.empty()) {
            action->setShortcut(
                QKeySequence(QString::fromLatin1(editor::shortcutText(e.shortcut))));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        menu.add(id, std::make_unique<QtAction>(action));
    }
}

// The Braille font of the learning windows' boxes.
QFont learningWindowFont();

// Tells `noticeFocus` whenever the focus moves to a widget of `dialog`, however it moved.
void forwardFocusChanges(QDialog* dialog, std::function<void()> noticeFocus);

// Makes the widgets of one window and keeps their adapters.
class WindowParts {
public:
    explicit WindowParts(QFont font) : font_(std::move(font)) {}

    QtLine* line(const char* object, std::string_view name);
    QtMemo* memo(const char* object, std::string_view name, int lines);
    QtLabel* label(const char* object, std::string_view caption = {});
    // Screen readers say a button by its caption, which the logic may change.
    QtButton* button(const char* object);
    void clear() { adapters_.clear(); }

private:
    QFont font_;
    std::vector<std::unique_ptr<ui::Widget>> adapters_;
};

}  // namespace gui
