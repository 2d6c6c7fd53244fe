#pragma once

// In-memory check list, progress bar and combo box (see ui/check_list.h), with what the user
// does to them.

#include "ui/check_list.h"
#include "ui/memory/memory_widgets.h"

namespace ui::memory {

class MemoryCheckList : public MemoryWidget<CheckList> {
public:
    using MemoryWidget::MemoryWidget;
    void setLines(const std::vector<CheckLine>& lines) override { lines_ = lines; }
    void setLine(int index, const CheckLine& line) override;
    int count() const override { return static_cast<int>(lines_.size()); }
    CheckLine line(int index) const override;
    int itemIndex() const override { return index_; }
    void setItemIndex(int index) override { index_ = index; }
    void setOnSelect(Callback callback) override { onSelect_ = std::move(callback); }
    void setOnToggle(std::function<void(int)> callback) override {
        onToggle_ = std::move(callback);
    }
    void setOnDoubleClick(Callback callback) override { onDoubleClick_ = std::move(callback); }

    // The user selects line `index`, clicks its check box, double-clicks it. Nothing happens
    // when the list is disabled.
    void select(int index);
    void toggle(int index);
    void doubleClick(int index);

private:
    std::vector<CheckLine> lines_;
    int index_ = -1;
    Callback onSelect_;
    std::function<void(int)> onToggle_;
    Callback onDoubleClick_;
};

class MemoryProgressBar : public MemoryWidget<ProgressBar> {
public:
    using MemoryWidget::MemoryWidget;
    void setRange(int minimum, int maximum) override {
        minimum_ = minimum;
        maximum_ = maximum;
    }
    int position() const override { return position_; }
    void setPosition(int position) override { position_ = position; }
    int maximum() const { return maximum_; }

private:
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

class MemoryComboBox : public MemoryWidget<ComboBox> {
public:
    using MemoryWidget::MemoryWidget;
    std::string text() const override { return text_; }
    void setText(std::string_view text) override { text_ = text; }
    std::vector<std::string> items() const override { return items_; }
    void setItems(const std::vector<std::string>& items) override { items_ = items; }
    void setOnChange(Callback callback) override { onChange_ = std::move(callback); }

    // The user types `text` over the field.
    void type(std::string_view text);

private:
    std::string text_;
    std::vector<std::string> items_;
    Callback onChange_;
};

}  // namespace ui::memory
