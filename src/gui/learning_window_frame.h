#pragma once

// A learning window on Qt, built from its toolkit-free layout table: the modal dialog, its
// menu bar, every control of the table with its name, accessible name and font, each wrapped
// in its adapter, and the window and modal adapters the logic runs over. The view arranges the
// controls in Qt layouts and makes the logic; finish() then applies what must follow the
// logic's first captions.

#include <QDialog>
#include <QFont>
#include <QMenuBar>
#include <QVBoxLayout>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gui/linear_view_widget.h"
#include "gui/menu_table.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"
#include "learning/window_layout.h"

namespace gui {

class LearningWindowFrame {
public:
    LearningWindowFrame(QWidget* parent, const learning::WindowLayout& layout,
                        QtKeyboard& keyboard);
    ~LearningWindowFrame();
    LearningWindowFrame(const LearningWindowFrame&) = delete;
    LearningWindowFrame& operator=(const LearningWindowFrame&) = delete;

    // Fills the menu bar from the window's command table.
    template <class Entry>
    void buildMenu(std::span<const Entry> table) {
        buildMenus(*bar_, menu_, table, Qt::WidgetShortcut);
    }

    QDialog* dialog() const { return dialog_; }
    QVBoxLayout* layout() const { return layout_; }
    const QFont& font() const { return font_; }
    QtWindow& window() { return *window_; }
    QtModal& modal() { return *modal_; }
    QtMenuBar& menu() { return menu_; }

    // The controls of the table by name, as the logic sees them and as Qt widgets; a name the
    // table lacks is a programming error.
    ui::TextBox& box(std::string_view name) { return adapter<ui::TextBox>(name); }
    ui::Control& control(std::string_view name) { return adapter<ui::Control>(name); }
    QtMathView& picture(std::string_view name) { return adapter<QtMathView>(name); }
    QWidget* widget(std::string_view name) const;
    // The fixed label that names `control`.
    QWidget* captionFor(std::string_view control) const;
    // The buttons named, side by side in a row under what the layout holds so far.
    void addButtonRow(std::initializer_list<std::string_view> names);
    // `given` when the caller brings dialogs of its own (tests answer them), else real dialogs
    // over this window, which the frame keeps.
    ui::Dialogs& dialogsOr(ui::Dialogs* given);

    // After the logic is made: read-only boxes, the dialog's accessible name from its title,
    // the size of the first show.
    void finish();
    // Adapters before the logic: call from the view's destructor, before the logic goes.
    void release();

private:
    template <class Adapter>
    Adapter& adapter(std::string_view name) {
        return dynamic_cast<Adapter&>(*adapters_.at(std::string(name)));
    }
    void build(const learning::ControlSpec& item);

    const learning::WindowLayout& layout_table_;
    QDialog* dialog_;
    QVBoxLayout* layout_;
    QMenuBar* bar_;
    QFont font_;
    std::map<std::string, std::unique_ptr<ui::Widget>, std::less<>> adapters_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, QWidget*, std::less<>> captions_;
    std::unique_ptr<QtWindow> window_;
    std::unique_ptr<QtModal> modal_;
    QtMenuBar menu_;
    std::unique_ptr<QtDialogs> ownDialogs_;
};

// Tells `noticeFocus` whenever the focus moves to a widget of `dialog`, however it moved.
void forwardFocusChanges(QDialog* dialog, std::function<void()> noticeFocus);

// What every learning window on Qt holds: its frame and the logic the view makes over it.
template <class Logic>
class LearningView {
public:
    LearningView(const LearningView&) = delete;
    LearningView& operator=(const LearningView&) = delete;

    QDialog& dialog() { return *frame_.dialog(); }
    Logic& logic() { return *logic_; }

protected:
    LearningView(QWidget* parent, const learning::WindowLayout& layout, QtKeyboard& keyboard)
        : frame_(parent, layout, keyboard) {}
    ~LearningView() { close(); }

    // Takes the logic the view made and finishes the frame.
    void adopt(std::unique_ptr<Logic> logic) {
        logic_ = std::move(logic);
        frame_.finish();
    }
    // The same for a logic that hears whenever the focus moves into the window, however it
    // moved.
    void adoptFollowingFocus(std::unique_ptr<Logic> logic) {
        adopt(std::move(logic));
        forwardFocusChanges(frame_.dialog(), [this] {
            if (logic_) {
                logic_->noticeFocus();
            }
        });
    }
    // Adapters before the logic; the dialog goes with its parent window. A view whose own
    // members serve the logic calls this first in its destructor.
    void close() {
        frame_.release();
        logic_.reset();
    }

    LearningWindowFrame frame_;

private:
    std::unique_ptr<Logic> logic_;
};

}  // namespace gui
