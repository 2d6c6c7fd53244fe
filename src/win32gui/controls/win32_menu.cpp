#include "win32gui/controls/win32_menu.h"

#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

// Menu command ids stand apart from the ids dialogs use (IDOK, IDCANCEL...).
constexpr int kIdBase = 1000;

UINT stateFlags(const Win32MenuItem& item) {
    return (item.enabled() ? MF_ENABLED : MF_GRAYED) | (item.checked() ? MF_CHECKED : MF_UNCHECKED);
}

}  // namespace

Win32MenuItem::Win32MenuItem(Win32MenuBar* bar, int id, std::string caption, std::string shortcut)
    : bar_(bar), id_(id), caption_(std::move(caption)), shortcut_(std::move(shortcut)) {}

std::wstring Win32MenuItem::menuText() const {
    std::wstring text = widen(caption_);
    if (!shortcut_.empty()) {
        text += L'\t';
        text += widen(shortcut_);
    }
    return text;
}

template <class T, class V>
void Win32MenuItem::change(T& property, const V& value, bool structural) {
    if (property != value) {
        property = value;
        if (bar_ != nullptr) {
            bar_->itemChanged(*this, structural);
        }
    }
}

void Win32MenuItem::setVisible(bool visible) {
    change(visible_, visible, true);
}

void Win32MenuItem::setEnabled(bool enabled) {
    change(enabled_, enabled, false);
}

void Win32MenuItem::setCaption(std::string_view caption) {
    change(caption_, caption, false);
}

void Win32MenuItem::setChecked(bool checked) {
    change(checked_, checked, false);
}

void Win32MenuItem::click() {
    if (enabled_ && onClick_) {
        // Copy: the handler may replace itself.
        const ui::Callback callback = onClick_;
        callback();
    }
}

Win32MenuBar::Win32MenuBar() : bar_(CreateMenu()) {}

Win32MenuBar::~Win32MenuBar() {
    // The bar destroys its popups with itself; a window showing it must have let it go. The
    // popups of commands on the bar were never in it.
    for (const Menu& m : menus_) {
        if (m.items.empty()) {
            DestroyMenu(m.popup);
        }
    }
    if (bar_ != nullptr) {
        DestroyMenu(bar_);
    }
}

void Win32MenuBar::add(int id, int parent, std::string caption, std::string shortcut) {
    items_[id] = std::make_unique<Win32MenuItem>(this, id, std::move(caption), std::move(shortcut));
    if (parent == 0) {
        menus_.push_back({id, CreatePopupMenu(), {}});
        return;
    }
    for (Menu& m : menus_) {
        if (m.id == parent) {
            m.items.push_back(id);
            return;
        }
    }
}

ui::Control& Win32MenuBar::item(int id) {
    auto& slot = items_[id];
    if (!slot) {
        // Asked for but not in the table: an item of no menu.
        slot = std::make_unique<Win32MenuItem>(nullptr, id, std::string(), std::string());
    }
    return *slot;
}

HMENU Win32MenuBar::popupOf(int id) const {
    for (const Menu& m : menus_) {
        if (m.id == id) {
            return m.popup;
        }
    }
    return nullptr;
}

void Win32MenuBar::rebuild() {
    building_ = true;
    while (GetMenuItemCount(bar_) > 0) {
        RemoveMenu(bar_, 0, MF_BYPOSITION);  // keeps the popup
    }
    for (const Menu& m : menus_) {
        const Win32MenuItem& top = *items_.at(m.id);
        if (m.items.empty()) {
            // An entry of the bar without items of its own is a command on the bar.
            if (top.visible()) {
                AppendMenuW(bar_, MF_STRING | stateFlags(top),
                            static_cast<UINT_PTR>(kIdBase + m.id), top.menuText().c_str());
            }
            continue;
        }
        while (GetMenuItemCount(m.popup) > 0) {
            DeleteMenu(m.popup, 0, MF_BYPOSITION);
        }
        for (const int id : m.items) {
            const Win32MenuItem& item = *items_.at(id);
            if (item.visible()) {
                AppendMenuW(m.popup, MF_STRING | stateFlags(item),
                            static_cast<UINT_PTR>(kIdBase + id), item.menuText().c_str());
            }
        }
        if (top.visible()) {
            AppendMenuW(bar_, MF_POPUP | MF_STRING | (top.enabled() ? MF_ENABLED : MF_GRAYED),
                        reinterpret_cast<UINT_PTR>(m.popup), widen(top.caption()).c_str());
        }
    }
    building_ = false;
    if (window_ != nullptr) {
        DrawMenuBar(window_);
    }
}

void Win32MenuBar::itemChanged(Win32MenuItem& item, bool structural) {
    if (building_) {
        return;
    }
    const bool topLevel = popupOf(item.id()) != nullptr;
    if (structural || topLevel) {
        if (topLevel) {
            rebuild();
            return;
        }
        // Only the menu that holds the item is laid out again.
        for (const Menu& m : menus_) {
            for (std::size_t i = 0; i < m.items.size(); ++i) {
                if (m.items[i] != item.id()) {
                    continue;
                }
                while (GetMenuItemCount(m.popup) > 0) {
                    DeleteMenu(m.popup, 0, MF_BYPOSITION);
                }
                for (const int id : m.items) {
                    const Win32MenuItem& it = *items_.at(id);
                    if (it.visible()) {
                        AppendMenuW(m.popup, MF_STRING | stateFlags(it),
                                    static_cast<UINT_PTR>(kIdBase + id), it.menuText().c_str());
                    }
                }
                return;
            }
        }
        return;
    }
    if (item.visible()) {
        ModifyMenuW(bar_, static_cast<UINT>(kIdBase + item.id()),
                    MF_BYCOMMAND | MF_STRING | stateFlags(item),
                    static_cast<UINT_PTR>(kIdBase + item.id()), item.menuText().c_str());
    }
}

void Win32MenuBar::focusFirstMenu() {
    // Posted: the menu mode runs a loop of its own, which must not start inside the key
    // handler that asked for it.
    if (window_ != nullptr) {
        PostMessageW(window_, WM_SYSCOMMAND, SC_KEYMENU, 0);
    }
}

void Win32MenuBar::command(int id) {
    const auto found = items_.find(id - kIdBase);
    if (found != items_.end()) {
        found->second->click();
    }
}

void Win32MenuBar::popupOpening(HMENU popup) {
    for (const Menu& m : menus_) {
        if (m.popup == popup) {
            items_.at(m.id)->click();
            return;
        }
    }
}

}  // namespace win32gui
