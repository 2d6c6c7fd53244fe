#include "win32gui/learning/learning_window.h"

#include <algorithm>

#include "editor/messages.h"
#include "win32gui/dpi.h"
#include "win32gui/learning/learning_layout.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

using learning::ControlKind;

ui::ControlKind nativeKind(ControlKind kind) {
    switch (kind) {
        case ControlKind::Line:
            return ui::ControlKind::LineEdit;
        case ControlKind::Memo:
            return ui::ControlKind::Memo;
        case ControlKind::Label:
        case ControlKind::Caption:
            return ui::ControlKind::Label;
        case ControlKind::Button:
            return ui::ControlKind::Button;
        case ControlKind::Picture:
            return ui::ControlKind::MathView;
    }
    return ui::ControlKind::Label;
}

// In the logic's pixels, as the layout works.
struct TextMeasure {
    int width = 0;   // of the text's first line
    int height = 0;  // of a line of the control's font
    int cell = 0;    // the font's average character width
};

TextMeasure measure(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    text = text.substr(0, text.find_first_of(L"\r\n"));
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE size{};
    if (!text.empty()) {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return {toLogical(static_cast<int>(size.cx)), toLogical(static_cast<int>(metrics.tmHeight)),
            toLogical(static_cast<int>(metrics.tmAveCharWidth))};
}

// The size a control asks for with the font and text it has now.
CellSize naturalSize(const learning::WindowLayout& layout, const learning::ControlSpec& item,
                     HWND hwnd) {
    const TextMeasure m = measure(hwnd);
    const int edge = toLogical(2 * GetSystemMetrics(SM_CXEDGE));
    // Its own flag, not whether it shows: the window may be hidden still.
    CellSize size{(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0, 0, 0};
    switch (item.kind) {
        case ControlKind::Caption:
        case ControlKind::Label:
            size.width = m.width + (item.framed ? 16 : 8);
            size.height = m.height + (item.framed ? 8 : 4);
            break;
        case ControlKind::Button:
            size.width = std::max(m.width + 24, 88);
            size.height = std::max(m.height + 12, 26);
            break;
        case ControlKind::Line:
            size.width = 8 * m.cell + edge;
            size.height = m.height + edge + 4;
            break;
        case ControlKind::Memo: {
            const int lines =
                item.maximumLines > 0 ? item.maximumLines : std::max(item.minimumLines, 1);
            size.height = lines * m.height + layout.boxMargin + edge +
                          toLogical(GetSystemMetrics(SM_CYHSCROLL));
            size.width = item.maximumColumns > 0 ? item.maximumColumns * m.cell + edge + 8 +
                                                       toLogical(GetSystemMetrics(SM_CXVSCROLL))
                                                 : 8 * m.cell;
            break;
        }
        case ControlKind::Picture:
            size.width = 80;
            size.height = item.minimumHeight;
            break;
    }
    return size;
}

}  // namespace

LearningWindow::LearningWindow(HWND owner, const learning::WindowLayout& layout,
                               std::function<std::string()> clipboardText, const MathFonts* fonts)
    : layout_(layout) {
    // The size the table gives is the whole window's below its caption, menu bar included.
    window_ = std::make_unique<Win32Window>(
        WindowOptions{.clientWidth = layout.width,
                      .clientHeight = layout.height - toLogical(GetSystemMetrics(SM_CYMENU)),
                      .owner = owner,
                      .minWidth = 320,
                      .minHeight = 240});
    HWND hwnd = window_->handle();
    // A modal window is not put away on its own: no minimize box.
    SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_MINIMIZEBOX);
    menu_.setWindow(hwnd);
    modal_ = std::make_unique<Win32Modal>(*window_);

    const int fontPixels =
        layout.fontPixels > 0 ? layout.fontPixels : editor::text::kBrailleFontPixels;
    table_.reserve(layout.controls.size());
    for (const learning::ControlSpec& item : layout.controls) {
        std::string_view name = item.name;
        if (item.kind == ControlKind::Caption) {
            name = captionNames_.emplace_back("caption of " + std::string(item.labelFor));
        }
        names_.push_back(name);
        ui::ControlSpec native{.name = name,
                               .kind = nativeKind(item.kind),
                               .caption = item.caption,
                               .accessibleName = item.accessibleName};
        table_.push_back(native);
    }
    controls_ = std::make_unique<ControlSet>(*window_, table_, std::move(clipboardText), fonts);
    // The boxes in the Braille font, bold, chosen as the logic chooses a box's font, in
    // whatever character set the font has.
    const ui::Font braille{.family = std::string(editor::text::kBrailleFontFamily),
                           .pixelSize = fontPixels,
                           .bold = true};
    for (std::size_t i = 0; i < names_.size(); ++i) {
        handles_.push_back(controls_->handle(names_[i]));
        const ControlKind kind = layout.controls[i].kind;
        if (kind == ControlKind::Line || kind == ControlKind::Memo) {
            controls_->textBox(names_[i]).setFont(braille);
        }
    }
}

LearningWindow::~LearningWindow() {
    release();
    window_->setMenuBar(nullptr);
}

HWND LearningWindow::captionFor(std::string_view control) {
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        if (layout_.controls[i].kind == ControlKind::Caption &&
            layout_.controls[i].labelFor == control) {
            return handles_[i];
        }
    }
    return nullptr;
}

void LearningWindow::finish(std::function<void()> noticeFocus) {
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        const learning::ControlSpec& item = layout_.controls[i];
        HWND hwnd = handles_[i];
        if (item.readOnly) {
            // Read, never typed in; the keyboard still moves the caret, which readers follow.
            SendMessageW(hwnd, EM_SETREADONLY, TRUE, 0);
        }
        if (item.framed) {
            SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_STATICEDGE);
            SetWindowPos(
                hwnd, nullptr, 0, 0, 0, 0,
                SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    window_->setOnLayout([this] { arrange(); });
    window_->setOnFocusMoved(std::move(noticeFocus));
    arrange();
}

void LearningWindow::arrange() {
    if (!controls_) {
        return;
    }
    std::vector<CellSize> sizes;
    sizes.reserve(handles_.size());
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        sizes.push_back(naturalSize(layout_, layout_.controls[i], handles_[i]));
    }
    // A window too small for what it shows now grows (its new size arranges it again), and is
    // never made smaller than that by hand.
    const CellSize needed = naturalExtent(layout_, sizes);
    if (window_->fitClientArea(needed.width, needed.height)) {
        return;
    }
    const std::vector<ui::Rect> bounds =
        arrangeCells(layout_, sizes, window_->clientWidth(), window_->clientHeight());
    HDWP moves = BeginDeferWindowPos(static_cast<int>(handles_.size()));
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        if (!sizes[i].visible) {
            continue;
        }
        const RECT b = toScreen(bounds[i]);
        if (moves != nullptr) {
            moves = DeferWindowPos(moves, handles_[i], nullptr, b.left, b.top, b.right - b.left,
                                   b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (moves != nullptr) {
        EndDeferWindowPos(moves);
    }
    InvalidateRect(window_->handle(), nullptr, TRUE);
}

void LearningWindow::release() {
    if (window_) {
        window_->setKeyListener(nullptr);
        window_->setOnActivate({});
        window_->setOnResize({});
        window_->setOnCloseQuery({});
        window_->setOnLayout({});
        window_->setOnFocusMoved({});
    }
    if (controls_) {
        controls_->clear();
    }
}

}  // namespace win32gui
