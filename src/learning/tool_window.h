#pragma once

// What the structure view (TForm5) and the decomposition (TForm9) do alike around their own
// logic: both are modal windows opened on the caret line of the Braille page, with one "File"
// menu whose items are also keys. ToolWindowFrame wires the window, its menu and its buttons'
// menu twins the same way for both, takes the expression once per showing, and gives the keys
// of the menu, the unassigned function keys and the Alt letters that open no menu their answer
// before the window's own typing sees them.
//
// Ownership: keeps references to the window, its modal face and its menu bar; the window class
// that holds the frame keeps them alive.

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "learning/messages.h"
#include "ui/access_keys.h"
#include "ui/keys.h"
#include "ui/widgets.h"

namespace learning {

// One item of a tool window's menu: its command, its menu (None for a menu of the bar), its
// name, caption and shortcut.
template <class Command>
struct ToolMenuEntry {
    Command id;
    Command parent;  // None for the menu of the menu bar
    std::string_view name;
    std::string_view caption;
    ui::Shortcut shortcut;
};

template <class Command>
class ToolWindowFrame {
public:
    using Entry = ToolMenuEntry<Command>;

    ToolWindowFrame(ui::Window& form, ui::ModalWindow& modal, ui::MenuBar& menu,
                    std::span<const Entry> table)
        : form_(form), modal_(modal), menu_(menu), table_(table) {}

    // Captions the window and its menus (the menus of the bar with their access keys), sends
    // every key to `keys` first, calls `activated` on each activation and runs `run` for a
    // clicked item.
    void start(std::string_view caption, ui::KeyListener* keys, std::function<void()> activated,
               std::function<bool(Command)> run) {
        run_ = std::move(run);
        form_.setCaption(caption);
        form_.setKeyListener(keys);
        form_.setOnActivate(std::move(activated));
        form_.setOnCloseQuery([this] {
            activationPending_ = false;
            return true;
        });
        for (const Entry& e : table_) {
            ui::Control& it = item(e.id);
            it.setCaption(e.caption);
            if (e.parent != Command::None) {
                it.setOnClick([this, id = e.id] { run_(id); });
            }
        }
        // The menus of the bar open with Alt and their access key.
        for (const auto& [id, marked] : ui::menuBarCaptions(table_)) {
            menu_.item(id).setCaption(marked);
        }
    }

    ui::Control& item(Command id) { return menu_.item(static_cast<int>(id)); }

    void show() {
        activationPending_ = true;
        modal_.showModal();
    }
    void close() {
        activationPending_ = false;
        modal_.closeModal();
    }
    // True on the first activation of a showing: activated again whenever a message box or a
    // window over it closes, the window takes its expression once.
    bool firstActivation() {
        if (!activationPending_) {
            return false;
        }
        activationPending_ = false;
        return true;
    }

    // The keys the window answers before its boxes: a lone modifier, an Alt letter that opens
    // no menu (said through `explain`), a menu item's shortcut, a function key given to no
    // command. True when the key is done with; the key up of a command's key is then swallowed
    // by commandKeyUp.
    bool commandKeyDown(ui::KeyEvent& event, const std::function<void(std::string_view)>& explain) {
        namespace vk = ui::vk;
        if (vk::isModifier(event.key)) {
            return true;
        }
        // Alt with a letter never types; one that opens no menu says so (a menu's key is the
        // toolkit's).
        if (const char letter = ui::altLetter(event);
            letter != 0 && ui::menuBarKeys(table_).find(letter) == std::string::npos) {
            take(event);
            explain(std::string(messages::kNoMenuLetter) + letter);
            return true;
        }
        for (const Entry& e : table_) {
            if (e.shortcut.matches(event.key, event.shift) && item(e.id).enabled() && run_(e.id)) {
                take(event);
                return true;
            }
        }
        if (vk::isFunctionKey(event.key) && event.key != vk::kF10 &&
            (event.shift & ui::shift::kAlt) == 0) {
            take(event);
            explain(std::string(messages::kKeyNotAssigned));
            return true;
        }
        return false;
    }
    // Takes a key whose key down the window answered itself (Enter in an answer box).
    void take(ui::KeyEvent& event) {
        commandKey_ = event.key;
        event.key = 0;
    }
    // True for the key up of a key taken at its key down: the command has spoken.
    bool commandKeyUp(const ui::KeyEvent& event) {
        if (event.key != 0 && event.key == commandKey_) {
            commandKey_ = 0;
            return true;
        }
        return false;
    }

    // The box among `boxes` that has the focus now, when it is another than last time (null:
    // none of them); `entered` is then called with it.
    void noticeFocus(std::initializer_list<const ui::TextBox*> boxes,
                     const std::function<void(const ui::TextBox*)>& entered) {
        const ui::TextBox* now = nullptr;
        for (const ui::TextBox* box : boxes) {
            if (box->focused()) {
                now = box;
            }
        }
        if (now != lastFocused_) {
            lastFocused_ = now;
            entered(now);
        }
    }
    const ui::TextBox* lastFocused() const { return lastFocused_; }
    // The box whose entering has been said (null: none, so that the next one is said even if
    // it had the focus before).
    void setLastFocused(const ui::TextBox* box) { lastFocused_ = box; }

private:
    ui::Window& form_;
    ui::ModalWindow& modal_;
    ui::MenuBar& menu_;
    std::span<const Entry> table_;
    std::function<bool(Command)> run_;
    bool activationPending_ = false;
    int commandKey_ = 0;  // the key whose key down ran a command
    const ui::TextBox* lastFocused_ = nullptr;
};

}  // namespace learning
