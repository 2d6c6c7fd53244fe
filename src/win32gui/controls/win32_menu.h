#pragma once

// A window's menu bar built from its command table (the main window's, the learning windows',
// the formula print preview's): each menu of the bar with its items in table order, each item
// with its shortcut written after a tab, as Windows menus show them; an entry of the bar that
// no item names as its menu is a command on the bar itself. The window's logic does the work of the
// shortcuts itself, from the key down, so the menu holds no accelerator table of its own.
//
// Windows menus cannot hide an item: a hidden item is taken out of its menu and put back in
// its place when it is shown again; its shortcut still works, since the logic owns it. A menu of
// the bar "is clicked" when it opens (WM_INITMENUPOPUP), before it shows, so the items it
// enables are already enabled when it shows.

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/widgets.h"
#include "win32gui/native.h"

namespace win32gui {

class Win32MenuBar;

class Win32MenuItem : public ui::MenuItem {
public:
    Win32MenuItem(Win32MenuBar* bar, int id, std::string caption, std::string shortcut);

    bool visible() const override { return visible_; }
    void setVisible(bool visible) override;
    // The item's own flag: a hidden item stays enabled or not, for its shortcut.
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    std::string caption() const override { return caption_; }
    void setCaption(std::string_view caption) override;
    bool checked() const override { return checked_; }
    void setChecked(bool checked) override;
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }

    int id() const { return id_; }
    const std::string& shortcutText() const { return shortcut_; }
    // What the menu shows: the caption, a tab and the shortcut.
    std::wstring menuText() const;
    void click();

private:
    Win32MenuBar* bar_;
    // Sets one of the item's properties and shows the change on the bar; `structural` when it
    // puts the item into its menu or takes it out.
    template <class T, class V>
    void change(T& property, const V& value, bool structural);

    int id_;
    std::string caption_;
    std::string shortcut_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    ui::Callback onClick_;
};

class Win32MenuBar : public ui::MenuBar {
public:
    Win32MenuBar();
    ~Win32MenuBar() override;
    Win32MenuBar(const Win32MenuBar&) = delete;
    Win32MenuBar& operator=(const Win32MenuBar&) = delete;

    // `Entry` has id, parent (Id::None for a menu of the bar), caption and shortcut; the
    // shortcut's text comes from `shortcutText`.
    template <class Entry, class ShortcutText>
    void build(std::span<const Entry> table, ShortcutText shortcutText) {
        using Id = decltype(Entry::id);
        for (const Entry& e : table) {
            const int parent = e.parent == Id::None ? 0 : static_cast<int>(e.parent);
            add(static_cast<int>(e.id), parent, std::string(e.caption),
                e.shortcut.empty() ? std::string() : shortcutText(e.shortcut));
        }
        rebuild();
    }

    ui::Control& item(int id) override;
    // The system's own menu mode, as Alt alone enters it: the first menu highlighted.
    void focusFirstMenu() override;
    HMENU handle() const { return bar_; }
    // The window that shows the bar (redrawn when a menu of the bar changes).
    void setWindow(HWND window) { window_ = window; }

    // From the window: an item was chosen; a popup is about to open.
    void command(int id);
    void popupOpening(HMENU popup);

    // The popup menu of a menu of the bar; null for other ids.
    HMENU popupOf(int id) const;
    // Puts the visible items back in their menus in table order, after a change.
    void rebuild();

private:
    friend class Win32MenuItem;
    void add(int id, int parent, std::string caption, std::string shortcut);
    void itemChanged(Win32MenuItem& item, bool structural);

    struct Menu {
        int id = 0;
        HMENU popup = nullptr;
        std::vector<int> items;  // in table order
    };
    HMENU bar_ = nullptr;
    HWND window_ = nullptr;
    std::vector<Menu> menus_;
    std::map<int, std::unique_ptr<Win32MenuItem>> items_;
    bool building_ = false;
};

}  // namespace win32gui
