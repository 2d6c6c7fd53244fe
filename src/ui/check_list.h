#pragma once

// The list controls of the installer's windows: a list whose lines have check boxes, a
// progress bar, and an editable field that offers the texts typed before. Same rules as
// widgets.h: the logic's own changes never call it back.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/widgets.h"

namespace ui {

// One line of a check list.
struct CheckLine {
    std::string caption;
    int mark = 0;                // 0 clear, 1 checked, 2 partly checked
    std::optional<Color> color;  // none: the window-text colour

    friend bool operator==(const CheckLine&, const CheckLine&) = default;
};

class CheckList : public Widget {
public:
    virtual void setLines(const std::vector<CheckLine>& lines) = 0;
    virtual void setLine(int index, const CheckLine& line) = 0;
    virtual int count() const = 0;
    virtual CheckLine line(int index) const = 0;
    // The selected line, -1 for none.
    virtual int itemIndex() const = 0;
    virtual void setItemIndex(int index) = 0;
    // The user selected another line.
    virtual void setOnSelect(Callback callback) = 0;
    // The user clicked a line's check box (or pressed Space on the line).
    virtual void setOnToggle(std::function<void(int index)> callback) = 0;
    virtual void setOnDoubleClick(Callback callback) = 0;
};

class ProgressBar : public Widget {
public:
    virtual void setRange(int minimum, int maximum) = 0;
    virtual int position() const = 0;
    virtual void setPosition(int position) = 0;
};

// A one-line field with a drop-down list of texts to choose from.
class ComboBox : public Widget {
public:
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
    virtual std::vector<std::string> items() const = 0;
    virtual void setItems(const std::vector<std::string>& items) = 0;
    // The user typed or chose a text.
    virtual void setOnChange(Callback callback) = 0;
};

}  // namespace ui
