#pragma once

// What every toolkit needs to know about one control of a window, kept once beside the window's
// logic so that the Qt build and the native Windows build show the same window: its kind, its
// name (the design's `Label1`, `Memo2`...), its caption, where it stands, the name a screen
// reader announces and which panel holds it. A window's table lists its controls in tab order,
// which is also their order front to back: a label comes just before the control it names.

#include <span>
#include <string>
#include <string_view>

#include "ui/widgets.h"

namespace ui {

enum class ControlKind {
    Label,   // a static text; a screen reader reads what it shows
    Link,    // a text that opens something when clicked or chosen with Enter
    Button,  // a push button; its caption names it
    CheckBox,
    RadioButton,  // radio buttons that follow one another form one group
    GroupBox,     // a frame with a caption around the controls after it
    Memo,         // a multi-line edit box
    LineEdit,     // a one-line edit box
    ListBox,
    TabBar,
    Image,       // a picture
    MathView,    // lines of Braille cells drawn as mathematics
    Canvas,      // a picture composed of shapes
    Panel,       // a frame holding the controls whose `parent` names it
    StatusText,  // the text of the window's status bar
    CheckList,   // a list whose lines have check boxes (ui/check_list.h)
    ProgressBar,
    ComboBox,  // a one-line field with a list of texts to choose from
};

struct ControlSpec {
    std::string_view name{};
    ControlKind kind = ControlKind::Label;
    std::string_view caption{};  // "&" marks the access key of buttons
    Rect bounds{};               // in the client area of the window or of the panel
    // What a screen reader announces. Empty: the caption for buttons and texts, the label
    // before it for edit boxes and lists.
    std::string_view accessibleName{};
    std::string_view parent{};  // the panel that holds it; empty for the window itself
    bool visible = true;        // at creation; the window's logic shows and hides it later
    // The text's font when it is not the window's own: family (empty: the window's), pixel
    // height (0: the window's), bold.
    std::string_view fontFamily{};
    int fontPixels = 0;
    bool bold = false;
};

// The control called `name`; nullptr when the table has none.
const ControlSpec* findControl(std::span<const ControlSpec> table, std::string_view name);

// The control called `name`, which the table must hold (a missing one is a fault of the table,
// reported by throwing std::out_of_range).
const ControlSpec& control(std::span<const ControlSpec> table, std::string_view name);

// What a screen reader should say for a caption: without its "&" access marks ("&&" is one
// ampersand) and without the blanks around it.
std::string accessibleCaption(std::string_view caption);

// Edit boxes, lists and tab strips show no caption: the label just before one names it.
bool namedByLabel(ControlKind kind);

// The name a screen reader announces for `item`, an entry of `table`: its own accessible name
// when the table gives one; for a kind named by its label, the caption of the label just before
// it; else its caption. Access marks and outer blanks removed.
std::string accessibleName(std::span<const ControlSpec> table, const ControlSpec& item);

// The same for the control called `name`.
std::string accessibleName(std::span<const ControlSpec> table, std::string_view name);

}  // namespace ui
