#pragma once

// What the learning windows do alike: how they start (the form with its caption, its keys
// and its events, the menus from the window's command table, the buttons with their captions
// and clicks), the keys they answer before their boxes, and the chord keys of those that take
// chord input.
//
// What the structure view (TForm5) and the decomposition (TForm9) do alike around their own
// logic: both are modal windows opened on the caret line of the Braille page, with one "File"
// menu whose items are also keys. ToolWindowFrame wires the window, its menu and its buttons'
// menu twins the same way for both, takes the expression once per showing, and gives the keys
// of the menu, the unassigned function keys and the Alt letters that open no menu their answer
// before the window's own typing sees them.
//
// Ownership: the frame keeps references to the window, its modal face and its menu bar; the
// window class that holds the frame keeps them alive.

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "learning/messages.h"
#include "learning/structure_host.h"
#include "speech/request_sources.h"
#include "ui/access_keys.h"
#include "ui/keys.h"
#include "ui/widgets.h"

namespace learning {

// One item of a learning window's menu: its command, its menu (None for a menu of the bar), its
// name, caption and shortcut.
template <class Command>
struct ToolMenuEntry {
    Command id;
    Command parent;  // None for the menu of the menu bar
    std::string_view name;
    std::string_view caption;
    ui::Shortcut shortcut;
};

// Captions `form`, sends every key to `keys` before the focused control and wires its
// activation and its close query.
inline void startForm(ui::Window& form, std::string_view caption, ui::KeyListener* keys,
                      std::function<void()> activated, std::function<bool()> closeQuery) {
    form.setCaption(caption);
    form.setKeyListener(keys);
    form.setOnActivate(std::move(activated));
    form.setOnCloseQuery(std::move(closeQuery));
}

// Captions every item of `table` in `menu` (the menus of the bar with their access keys); a
// clicked item of a menu calls `run` with its command.
template <class Entry, class Run>
void wireMenu(ui::MenuBar& menu, std::span<const Entry> table, Run run) {
    for (const Entry& e : table) {
        ui::Control& item = menu.item(static_cast<int>(e.id));
        item.setCaption(e.caption);
        if (e.parent != decltype(e.parent)::None) {
            item.setOnClick([run, id = e.id] { run(id); });
        }
    }
    // The menus of the bar open with Alt and their access key.
    for (const auto& [id, marked] : ui::menuBarCaptions(table)) {
        menu.item(id).setCaption(marked);
    }
}

// The letter of an Alt+letter key that opens no menu of `table`, else 0. Alt with a letter
// never types; a menu's key is the toolkit's.
template <class Entry>
char letterOpeningNoMenu(const ui::KeyEvent& event, std::span<const Entry> table) {
    const char letter = ui::altLetter(event);
    return letter != 0 && ui::menuBarKeys(table).find(letter) == std::string::npos ? letter : 0;
}

// A function key that is the window's to answer when no command took it: not F10 (the menu
// bar's), not with Alt.
inline bool isWindowFunctionKey(const ui::KeyEvent& event) {
    return ui::vk::isFunctionKey(event.key) && event.key != ui::vk::kF10 &&
           (event.shift & ui::shift::kAlt) == 0;
}

// The chord timer's interval in milliseconds where the main window gives none.
inline constexpr int kDefaultChordInterval = 200;

// A button of a learning window: its caption and what a click on it does.
struct ButtonWiring {
    ui::Control& button;
    std::string_view caption;
    std::function<void()> click;
};

inline void wireButtons(std::initializer_list<ButtonWiring> buttons) {
    for (const ButtonWiring& b : buttons) {
        b.button.setCaption(b.caption);
        b.button.setOnClick(b.click);
    }
}

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
        startForm(form_, caption, keys, std::move(activated), [this] {
            activationPending_ = false;
            return true;
        });
        wireMenu(menu_, table_, [this](Command id) { run_(id); });
    }

    ui::Window& form() { return form_; }
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
        if (ui::vk::isModifier(event.key)) {
            return true;
        }
        if (const char letter = letterOpeningNoMenu(event, table_); letter != 0) {
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
        if (isWindowFunctionKey(event)) {
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

// The base of the structure view and the decomposition: a modal window over `Widgets` (with
// its form, modal face and menu bar) opened and closed through its frame, with the services,
// the main window's host and the typing of its boxes.
template <class Command>
class ToolWindow : public ui::KeyListener, public ui::ModalWindow {
public:
    ToolWindow(const ToolWindow&) = delete;
    ToolWindow& operator=(const ToolWindow&) = delete;

    // ui::ModalWindow: opened by the main window on the caret line it selected.
    void showModal() override { frame_.show(); }
    void closeModal() override { frame_.close(); }

    ui::Control& menuItem(Command id) { return frame_.item(id); }

protected:
    template <class Widgets>
    ToolWindow(const Widgets& w, std::span<const ToolMenuEntry<Command>> table,
               ToolServices services, ToolHost host)
        : s_(services),
          host_(std::move(host)),
          typing_(host_),
          frame_(w.form, w.modal, w.menu, table) {}
    ~ToolWindow() override = default;

    // A key or a button that cannot do its work says why: a beep and the reason spoken.
    void explain(std::string_view reason) {
        s_.dialogs.beep();
        frame_.form().announce(reason);
        speakCode(host_, speech::kKeyCodeError, std::string(reason));
    }

    ToolServices s_;
    ToolHost host_;
    BoxTyping typing_;
    ToolWindowFrame<Command> frame_;
};

}  // namespace learning
