#pragma once

// The adapters of the plain controls: STATIC labels, BUTTON push buttons, check boxes, radio
// buttons and group frames, links (owner-drawn push buttons, so they take the focus and can be
// pressed by keyboard, in the colours the logic gives them), the status bar's text, LISTBOX,
// the common controls' tab strip, and timers.

#include <map>
#include <string>
#include <vector>

#include "ui/widgets.h"
#include "win32gui/controls/native_widget.h"

namespace win32gui {

// A STATIC label (SS_NOPREFIX: an "&" is shown as it is); a click calls the callback.
class Win32Label : public Win32Widget<ui::Control> {
public:
    explicit Win32Label(HWND label);
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool checked() const override { return false; }
    void setChecked(bool) override {}
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }
    void command(int code) override;

private:
    ui::Callback onClick_;
};

// A push button, check box, radio button, group frame or link.
class Win32Button : public Win32Widget<ui::Control> {
public:
    explicit Win32Button(HWND button);
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool checked() const override;
    void setChecked(bool checked) override;
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }
    void command(int code) override;
    // A link draws its caption in its text colour over its parent's background.
    bool drawItem(const DRAWITEMSTRUCT& item) override;

private:
    ui::Callback onClick_;
};

// The text of a window's status bar (one part across the bar).
class Win32StatusText : public Win32Widget<ui::Control> {
public:
    explicit Win32StatusText(HWND statusBar);
    std::string caption() const override { return caption_; }
    void setCaption(std::string_view caption) override;
    bool checked() const override { return false; }
    void setChecked(bool) override {}
    void setOnClick(ui::Callback) override {}

private:
    std::string caption_;
};

class Win32ListBox : public Win32Widget<ui::ListBox> {
public:
    explicit Win32ListBox(HWND list);
    void clear() override;
    void add(std::string_view item) override;
    int count() const override;
    std::string item(int index) const override;
    int itemIndex() const override;
    void setItemIndex(int index) override;
    void setOnDoubleClick(ui::Callback callback) override { onDoubleClick_ = std::move(callback); }
    void command(int code) override;

private:
    ui::Callback onDoubleClick_;
};

class Win32TabBar : public Win32Widget<ui::TabBar> {
public:
    explicit Win32TabBar(HWND tabs);
    void setTabs(const std::vector<std::string>& captions) override;
    int count() const override;
    std::string tabCaption(int index) const override;
    int tabIndex() const override;
    void setTabIndex(int index) override;
    void setOnChange(ui::Callback callback) override { onChange_ = std::move(callback); }
    bool notify(const NMHDR& header, LRESULT& result) override;

private:
    ui::Callback onChange_;
};

// A thread timer (SetTimer without a window): it fires from the message loop, modal loops
// included.
class Win32Timer : public ui::Timer {
public:
    Win32Timer() = default;
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override;
    bool enabled() const override { return id_ != 0; }
    void setEnabled(bool enabled) override;
    void setOnTimer(ui::Callback callback) override { onTimer_ = std::move(callback); }

private:
    static void CALLBACK timerProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);
    void start();
    void stop();

    int interval_ = 1000;
    UINT_PTR id_ = 0;
    ui::Callback onTimer_;
};

}  // namespace win32gui
