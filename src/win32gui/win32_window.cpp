#include "win32gui/win32_window.h"

#include <algorithm>

#include "win32gui/accessible.h"
#include "win32gui/controls/native_widget.h"
#include "win32gui/controls/win32_menu.h"
#include "win32gui/dialog_keys.h"
#include "win32gui/dpi.h"
#include "win32gui/message_loop.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

constexpr wchar_t kWindowClass[] = L"TattiloWindow";
// Posted to run the logic's activation after the event: it may open dialogs.
constexpr UINT kActivateMessage = WM_APP + 1;
// Posted to arrange the controls again, and to tell where the focus went, after the event.
constexpr UINT kLayoutMessage = WM_APP + 2;
constexpr UINT kFocusMessage = WM_APP + 3;

bool menuLoopRunning = false;

ATOM windowClass(WNDPROC proc) {
    static const ATOM atom = [proc] {
        INITCOMMONCONTROLSEX controls{sizeof(controls),
                                      ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                          ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
        if (wc.hIcon == nullptr) {
            wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        }
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc);
    }();
    return atom;
}

// The system's font for dialogs and messages.
HFONT messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    return nullptr;
}

int heightOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

}  // namespace

void closeMenus() {
    if (menuLoopRunning) {
        EndMenu();
    }
}

HWND dialogOwner(HWND fallback) {
    HWND active = GetActiveWindow();
    if (active != nullptr && Win32Window::from(active) != nullptr && IsWindowVisible(active)) {
        return active;
    }
    return fallback;
}

Win32Window::Win32Window(const WindowOptions& options)
    : dialog_(options.dialog),
      minWidth_(toScreen(options.minWidth)),
      minHeight_(toScreen(options.minHeight)) {
    const int width = toScreen(options.clientWidth);
    const int height = toScreen(options.clientHeight);
    const DWORD exStyle = WS_EX_CONTROLPARENT | (dialog_ ? WS_EX_DLGMODALFRAME : 0);
    hwnd_ = CreateWindowExW(exStyle, MAKEINTATOM(windowClass(&windowProc)), L"",
                            static_cast<DWORD>(frameStyle()), CW_USEDEFAULT, CW_USEDEFAULT, width,
                            height, options.owner, nullptr, GetModuleHandleW(nullptr), this);
    font_ = messageFont();
    if (options.statusBar && !dialog_) {
        statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0,
                                     0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    // The size asked for is the client area's.
    RECT r{0, 0, width, height + (statusBar_ != nullptr ? heightOf(statusBar_) : 0)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(frameStyle()), FALSE, exStyle);
    // Never larger than the screen's work area (a large window at 150 % may be).
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd_, nullptr, 0, 0, std::min(r.right - r.left, work.right - work.left),
                 std::min(r.bottom - r.top, work.bottom - work.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The default button's mark follows the focus in every window of this thread.
    followFocus();
}

void Win32Window::announce(std::string_view words) {
    announceToScreenReaders(hwnd_, words);
}

Win32Window::~Win32Window() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (background_ != nullptr) {
        DeleteObject(background_);
    }
}

LONG Win32Window::frameStyle() const {
    // A dialog paints under its controls too: a group frame shows the dialog through it.
    return dialog_ ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

Win32Window* Win32Window::from(HWND hwnd) {
    if (hwnd == nullptr || GetClassLongPtrW(hwnd, GCW_ATOM) != windowClass(&windowProc)) {
        return nullptr;
    }
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// ---- ui::Window

bool Win32Window::visible() const {
    return IsWindowVisible(hwnd_) != FALSE;
}

void Win32Window::setVisible(bool visible) {
    // Asked to be maximized while hidden: it shows maximized.
    ShowWindow(hwnd_, !visible                                     ? SW_HIDE
                      : maximizeOnShow_ && !IsWindowVisible(hwnd_) ? SW_SHOWMAXIMIZED
                                                                   : SW_SHOW);
    if (visible) {
        SetForegroundWindow(hwnd_);
    }
}

bool Win32Window::enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

void Win32Window::setEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

namespace {

// How far the frame (borders and caption, no menu) reaches out of the bounds on each side.
RECT frameInsets(HWND hwnd) {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    return r;
}

}  // namespace

ui::Rect Win32Window::bounds() const {
    RECT w{};
    GetWindowRect(hwnd_, &w);
    const RECT f = frameInsets(hwnd_);
    return toLogical(RECT{w.left - f.left, w.top - f.top, w.right - f.right, w.bottom - f.bottom});
}

void Win32Window::setBounds(const ui::Rect& bounds) {
    const RECT f = frameInsets(hwnd_);
    const RECT b = toScreen(bounds);
    RECT outer{b.left + f.left, b.top + f.top, b.right + f.right, b.bottom + f.bottom};
    // The caption stays on the screen, where it can be reached: bounds saved as 0, 0 (the
    // settings' default) would put it above the top.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        const LONG dx = outer.left < work.left ? work.left - outer.left : 0;
        const LONG dy = outer.top < work.top ? work.top - outer.top : 0;
        OffsetRect(&outer, dx, dy);
    }
    SetWindowPos(hwnd_, nullptr, outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32Window::focused() const {
    return GetActiveWindow() == hwnd_;
}

void Win32Window::setFocus() {
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

void Win32Window::setBackgroundColor(ui::Color colour) {
    if (background_ != nullptr) {
        DeleteObject(background_);
    }
    background_ = CreateSolidBrush(colorRef(colour));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

std::string Win32Window::caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void Win32Window::setCaption(std::string_view caption) {
    SetWindowTextW(hwnd_, widen(caption).c_str());
}

bool Win32Window::maximized() const {
    return IsWindowVisible(hwnd_) ? IsZoomed(hwnd_) != FALSE : maximizeOnShow_;
}

void Win32Window::setMaximized(bool maximized) {
    maximizeOnShow_ = maximized;
    if (IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, maximized ? SW_MAXIMIZE : SW_RESTORE);
    }
}

int Win32Window::clientWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return toLogical(r.right - r.left);
}

int Win32Window::clientHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    const int status =
        statusBar_ != nullptr && IsWindowVisible(statusBar_) ? heightOf(statusBar_) : 0;
    return toLogical(std::max(0, static_cast<int>(r.bottom - r.top) - status));
}

void Win32Window::close() {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Win32Window::setMenuBar(Win32MenuBar* menu) {
    menu_ = menu;
    SetMenu(hwnd_, menu != nullptr ? menu->handle() : nullptr);
    DrawMenuBar(hwnd_);
}

// ---- focus

void Win32Window::setDefaultButton(HWND button) {
    defaultButton_ = button;
    markDefaultButton(*this, focusedChild());
}

HWND Win32Window::focusedChild() const {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) {
        return focus;
    }
    if (GetActiveWindow() == hwnd_) {
        return nullptr;
    }
    return savedFocus_;
}

void Win32Window::focusChild(HWND child) {
    HWND active = GetActiveWindow();
    if (active == nullptr || active == hwnd_ || !IsWindowVisible(active)) {
        SetFocus(child);
    }
    // Where the focus goes back when the window is active again (after a dialog over it).
    savedFocus_ = child;
}

bool Win32Window::fitClientArea(int width, int height) {
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int status =
        statusBar_ != nullptr && IsWindowVisible(statusBar_) ? heightOf(statusBar_) : 0;
    // The frame and the menu bar as they are now (a menu bar may wrap in a narrow window).
    const int frameWidth = (outer.right - outer.left) - (client.right - client.left);
    const int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top) + status;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG wanted[2] = {std::min<LONG>(toScreen(width) + frameWidth, work.right - work.left),
                            std::min<LONG>(toScreen(height) + frameHeight, work.bottom - work.top)};
    minTrack_ = {wanted[0], wanted[1]};
    const LONG now[2] = {outer.right - outer.left, outer.bottom - outer.top};
    if (IsZoomed(hwnd_) || (now[0] >= wanted[0] && now[1] >= wanted[1])) {
        return false;
    }
    RECT grown{outer.left, outer.top, outer.left + std::max(now[0], wanted[0]),
               outer.top + std::max(now[1], wanted[1])};
    // Back onto the work area, the caption first.
    OffsetRect(&grown, std::min<LONG>(0, work.right - grown.right),
               std::min<LONG>(0, work.bottom - grown.bottom));
    OffsetRect(&grown, std::max<LONG>(0, work.left - grown.left),
               std::max<LONG>(0, work.top - grown.top));
    SetWindowPos(hwnd_, nullptr, grown.left, grown.top, grown.right - grown.left,
                 grown.bottom - grown.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void Win32Window::requestLayout() {
    if (onLayout_ && !layoutPending_) {
        layoutPending_ = true;
        PostMessageW(hwnd_, kLayoutMessage, 0, 0);
    }
}

void controlChanged(HWND control) {
    if (Win32Window* window = Win32Window::from(GetAncestor(control, GA_ROOT))) {
        window->requestLayout();
    }
}

void Win32Window::activated() {
    if (onActivate_ && !activatePending_) {
        activatePending_ = true;
        PostMessageW(hwnd_, kActivateMessage, 0, 0);
    }
}

// ---- messages

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->handle(msg, wParam, lParam);
}

LRESULT Win32Window::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kActivateMessage:
            activatePending_ = false;
            if (onActivate_) {
                onActivate_();
            }
            return 0;
        case kLayoutMessage:
            layoutPending_ = false;
            if (onLayout_) {
                onLayout_();
            }
            return 0;
        case kFocusMessage:
            focusPending_ = false;
            if (onFocusMoved_) {
                onFocusMoved_();
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) {
                    savedFocus_ = focus;
                }
            } else {
                activated();
                if (savedFocus_ != nullptr && IsWindow(savedFocus_) &&
                    IsWindowVisible(savedFocus_) && IsWindowEnabled(savedFocus_)) {
                    SetFocus(savedFocus_);
                    return 0;
                }
            }
            break;
        case WM_SHOWWINDOW:
            if (wParam != FALSE) {
                activated();
            }
            break;
        case WM_SETFOCUS:
            if (savedFocus_ != nullptr && IsWindow(savedFocus_) && IsWindowVisible(savedFocus_)) {
                SetFocus(savedFocus_);
                return 0;
            }
            break;
        case WM_SIZE:
            if (IsWindowVisible(hwnd_) && (wParam == SIZE_MAXIMIZED || wParam == SIZE_RESTORED)) {
                maximizeOnShow_ = wParam == SIZE_MAXIMIZED;
            }
            if (statusBar_ != nullptr) {
                SendMessageW(statusBar_, WM_SIZE, 0, 0);
            }
            if (wParam != SIZE_MINIMIZED && onLayout_) {
                // The controls in their places first: the logic's resize handler sees them there.
                onLayout_();
            }
            if (wParam != SIZE_MINIMIZED && onResize_) {
                // A resize from within the logic's own resize handler runs after it, once.
                if (inResize_) {
                    resizePending_ = true;
                    return 0;
                }
                inResize_ = true;
                do {
                    resizePending_ = false;
                    onResize_();
                } while (resizePending_ && onResize_);
                inResize_ = false;
            }
            return 0;
        case WM_GETMINMAXINFO:
            if (minWidth_ > 0 || minHeight_ > 0 || minTrack_.cx > 0) {
                const RECT f = frameInsets(hwnd_);
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize.x =
                    std::max<LONG>(minWidth_ + (f.right - f.left), minTrack_.cx);
                info->ptMinTrackSize.y =
                    std::max<LONG>(minHeight_ + (f.bottom - f.top), minTrack_.cy);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (onCloseQuery_) {
                if (inCloseQuery_) {
                    return 0;
                }
                inCloseQuery_ = true;
                const bool allowed = onCloseQuery_();
                inCloseQuery_ = false;
                if (!allowed) {
                    return 0;
                }
            }
            if (onClosed_) {
                onClosed_();
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            return 0;
        case WM_COMMAND:
            if (lParam != 0 && (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS) &&
                onFocusMoved_ && !focusPending_) {
                focusPending_ = true;
                PostMessageW(hwnd_, kFocusMessage, 0, 0);
            }
            if (lParam != 0) {
                if (NativeWidget* w = NativeWidget::from(reinterpret_cast<HWND>(lParam))) {
                    w->command(HIWORD(wParam));
                }
                return 0;
            }
            if (HIWORD(wParam) == 0 && menu_ != nullptr) {
                menu_->command(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (NativeWidget* w = NativeWidget::from(header->hwndFrom)) {
                LRESULT result = 0;
                if (w->notify(*header, result)) {
                    return result;
                }
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (NativeWidget* w = NativeWidget::from(item->hwndItem);
                w != nullptr && w->drawItem(*item)) {
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX: {
            const auto control = reinterpret_cast<HWND>(lParam);
            const auto dc = reinterpret_cast<HDC>(wParam);
            // A control without colours of its own takes those of the panel it lies on.
            for (HWND h = control; h != nullptr && h != hwnd_; h = GetParent(h)) {
                if (NativeWidget* w = NativeWidget::from(h)) {
                    if (HBRUSH brush = w->paintColours(dc)) {
                        if (h != control) {
                            SetBkMode(dc, TRANSPARENT);
                        }
                        return reinterpret_cast<LRESULT>(brush);
                    }
                }
            }
            break;
        }
        case WM_ERASEBKGND:
            if (background_ != nullptr) {
                RECT r{};
                GetClientRect(hwnd_, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, background_);
                return 1;
            }
            break;
        case WM_ENTERMENULOOP:
            menuLoopRunning = true;
            break;
        case WM_EXITMENULOOP:
            menuLoopRunning = false;
            break;
        case WM_INITMENUPOPUP:
            if (menu_ != nullptr && HIWORD(lParam) == FALSE) {
                menu_->popupOpening(reinterpret_cast<HMENU>(wParam));
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            if (onMouseMove_) {
                onMouseMove_();
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// ---- modal

Win32Modal::Win32Modal(Win32Window& window) : window_(window) {
    window_.setOnClosed([this] { closeModal(); });
}

void Win32Modal::showModal() {
    if (running_) {
        return;
    }
    closeMenus();
    HWND hwnd = window_.handle();
    // Over the window that is active now: a learning window opened from another one (the
    // sheet from the decomposition) keeps that one waiting, and gives it back the focus.
    if (HWND active = GetActiveWindow(); active != nullptr && active != hwnd &&
                                         Win32Window::from(active) != nullptr &&
                                         IsWindowVisible(active)) {
        SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(active));
    }
    HWND owner = GetWindow(hwnd, GW_OWNER);
    const bool ownerEnabled = owner != nullptr && IsWindowEnabled(owner);
    // Over the middle of its owner.
    if (owner != nullptr) {
        RECT o{};
        RECT d{};
        GetWindowRect(owner, &o);
        GetWindowRect(hwnd, &d);
        const int x = o.left + ((o.right - o.left) - (d.right - d.left)) / 2;
        const int y = o.top + ((o.bottom - o.top) - (d.bottom - d.top)) / 2;
        SetWindowPos(hwnd, nullptr, std::max(0, x), std::max(0, y), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    running_ = true;
    done_ = false;
    if (ownerEnabled) {
        EnableWindow(owner, FALSE);
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    runModalLoop([this] { return done_; });
    // The owner first, so that it is the window activated when this one goes.
    if (ownerEnabled) {
        EnableWindow(owner, TRUE);
    }
    ShowWindow(hwnd, SW_HIDE);
    if (owner != nullptr) {
        SetActiveWindow(owner);
    }
    running_ = false;
}

void Win32Modal::closeModal() {
    done_ = true;
    PostMessageW(window_.handle(), WM_NULL, 0, 0);
}

}  // namespace win32gui
