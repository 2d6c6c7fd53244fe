#pragma once

// The list controls of ui/check_list.h on Windows: a check list (the common controls' list view
// with check boxes, one column, a third picture for "partly checked"; its lines in the colours
// the logic gives them), a progress bar, and a one-line field with a list of texts (COMBOBOX).
// A click on a line's check box or Space on a line asks the logic (setOnToggle), which decides
// the line's mark: the control never changes a mark by itself. The adapter takes Space and the
// click on the box itself, so a partly checked line (which the control's own toggle may leave
// as it is) asks the same.

#include <vector>

#include "ui/check_list.h"
#include "win32gui/controls/native_widget.h"

namespace win32gui {

class Win32CheckList : public Win32Widget<ui::CheckList> {
public:
    explicit Win32CheckList(HWND listView);
    ~Win32CheckList() override;

    void setLines(const std::vector<ui::CheckLine>& lines) override;
    void setLine(int index, const ui::CheckLine& line) override;
    int count() const override { return static_cast<int>(lines_.size()); }
    ui::CheckLine line(int index) const override;
    int itemIndex() const override;
    void setItemIndex(int index) override;
    void setOnSelect(ui::Callback callback) override { onSelect_ = std::move(callback); }
    void setOnToggle(std::function<void(int)> callback) override {
        onToggle_ = std::move(callback);
    }
    void setOnDoubleClick(ui::Callback callback) override { onDoubleClick_ = std::move(callback); }

    bool notify(const NMHDR& header, LRESULT& result) override;

protected:
    bool message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void showLine(int index);

    std::vector<ui::CheckLine> lines_;
    HIMAGELIST marks_ = nullptr;
    bool quiet_ = false;  // the logic's own change
    ui::Callback onSelect_;
    std::function<void(int)> onToggle_;
    ui::Callback onDoubleClick_;
};

class Win32ProgressBar : public Win32Widget<ui::ProgressBar> {
public:
    explicit Win32ProgressBar(HWND bar) : Win32Widget(bar) {}
    void setRange(int minimum, int maximum) override;
    int position() const override;
    void setPosition(int position) override;
};

class Win32ComboBox : public Win32Widget<ui::ComboBox> {
public:
    explicit Win32ComboBox(HWND combo) : Win32Widget(combo) {}
    std::string text() const override;
    void setText(std::string_view text) override;
    std::vector<std::string> items() const override;
    void setItems(const std::vector<std::string>& items) override;
    void setOnChange(ui::Callback callback) override { onChange_ = std::move(callback); }
    // The focus is in the field inside the control.
    bool focused() const override;
    void command(int code) override;

private:
    bool quiet_ = false;
    ui::Callback onChange_;
};

}  // namespace win32gui
