#pragma once

// The EDIT control as a ui::TextBox: multi-line (both scroll bars, Enter breaks the line) or one
// line. Positions are the control's own: it counts CR LF as two characters, as the program's
// text does, and every text that goes in has its line breaks made CR LF first, pasted text too,
// so the two counts never part. A caret is never left between CR and LF.

#include <functional>

#include "ui/widgets.h"
#include "win32gui/controls/native_widget.h"

namespace win32gui {

class Win32TextBox : public Win32Widget<ui::TextBox> {
public:
    // `clipboardText` gives the text a paste inserts (the program's clipboard, line breaks
    // already CR LF).
    Win32TextBox(HWND edit, std::function<std::string()> clipboardText);
    ~Win32TextBox() override;

    bool multiLine() const override;
    std::string text() const override;
    void setText(std::string_view text) override;
    std::size_t selStart() const override;
    std::size_t selLength() const override;
    void setSelection(std::size_t start, std::size_t length) override;
    void setSelText(std::string_view text) override;
    ui::Font font() const override { return font_; }
    void setFont(const ui::Font& font) override;
    bool readOnly() const override;
    void setReadOnly(bool readOnly) override;
    void setOnChange(ui::Callback callback) override { onChange_ = std::move(callback); }
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }
    void setOnExit(ui::Callback callback) override { onExit_ = std::move(callback); }
    void cutToClipboard() override;
    void copyToClipboard() override;
    void pasteFromClipboard() override;

    void command(int code) override;

protected:
    bool message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void replaceSelection(std::string_view text);

    std::function<std::string()> clipboardText_;
    ui::Font font_;
    HFONT hfont_ = nullptr;
    bool quiet_ = false;  // the logic's own change: no change callback
    ui::Callback onChange_;
    ui::Callback onClick_;
    ui::Callback onExit_;
};

// A GDI font for a ui::Font (pixels win over points); the caller deletes it.
HFONT createFont(const ui::Font& font);

}  // namespace win32gui
