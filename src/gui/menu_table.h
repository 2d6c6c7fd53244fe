#pragma once

// Menu bars built from a window's command table (the main window's, the calculation sheet's,
// a tutor's): each menu of the bar with its items in table order, each item's shortcut shown
// and told to screen readers, every menu and item registered under its command for the logic.
// The logic does the work of the shortcuts; `context` only says where Qt shows them.

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <map>
#include <span>

#include "editor/window/menu_commands.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/text_bridge.h"

namespace gui {

// `Entry` has id, parent (Id::None for a menu of the bar), name, caption and shortcut.
template <class Entry>
void buildMenus(QMenuBar& bar, QtMenuBar& menus, std::span<const Entry> table,
                Qt::ShortcutContext context) {
    using Id = decltype(Entry::id);
    menus.setBar(&bar);
    std::map<Id, QMenu*> opened;
    for (const Entry& e : table) {
        if (e.parent == Id::None) {
            QMenu* menu = bar.addMenu(toQString(e.caption));
            menu->setObjectName(toQString(e.name));
            // A menu closed without a choice gives the focus back to the control that had it,
            // once the menu bar has let the next menu open.
            QObject::connect(menu, &QMenu::aboutToHide, menu,
                             [menu] { QTimer::singleShot(0, menu, returnFocusFromMenuBar); });
            opened[e.id] = menu;
            menus.add(static_cast<int>(e.id), std::make_unique<QtAction>(menu->menuAction(), menu));
            continue;
        }
        QAction* action = opened.at(e.parent)->addAction(toQString(e.caption));
        action->setObjectName(toQString(e.name));
        if (!e.shortcut.empty()) {
            action->setShortcut(
                QKeySequence(QString::fromLatin1(editor::shortcutText(e.shortcut))));
            action->setShortcutContext(context);
        }
        menus.add(static_cast<int>(e.id), std::make_unique<QtAction>(action));
    }
}

}  // namespace gui
