#include "win32gui/controls/control_set.h"

#include <stdexcept>

#include "ui/access_keys.h"
#include "win32gui/accessible.h"
#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

using K = ui::ControlKind;

constexpr wchar_t kPanelClass[] = L"TattiloPanel";

// A panel hands its controls' notifications to the window, and paints its own background.
LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
        case WM_ERASEBKGND:
            if (NativeWidget* self = NativeWidget::from(hwnd); self && self->backgroundColour()) {
                RECT r{};
                GetClientRect(hwnd, &r);
                HBRUSH brush = CreateSolidBrush(colorRef(*self->backgroundColour()));
                FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
                DeleteObject(brush);
                return 1;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ATOM panelClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &panelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPanelClass;
        return RegisterClassExW(&wc);
    }();
    return atom;
}

// What the control's own text or the label before it gives a screen reader, before any
// annotation.
std::string conventionalName(std::span<const ui::ControlSpec> table, std::size_t index) {
    const ui::ControlSpec& item = table[index];
    switch (item.kind) {
        case K::Label:
        case K::GroupBox:
        case K::Button:
        case K::CheckBox:
        case K::RadioButton:
        case K::Link:
            return ui::accessibleCaption(item.caption);
        case K::Memo:
        case K::LineEdit:
        case K::ListBox:
        case K::TabBar:
        case K::CheckList:
        case K::ProgressBar:
        case K::ComboBox:
            if (index > 0 && table[index - 1].kind == K::Label) {
                return ui::accessibleCaption(table[index - 1].caption);
            }
            return {};
        default:
            return {};
    }
}

// The text of a hidden label put just before the control: for a kind named by its label, when no
// label of the table names it as the table wants.
std::string hiddenLabel(std::span<const ui::ControlSpec> table, std::size_t index) {
    const ui::ControlSpec& item = table[index];
    if (!ui::namedByLabel(item.kind)) {
        return {};
    }
    const std::string wanted = ui::accessibleName(table, item);
    return wanted != conventionalName(table, index) ? wanted : std::string();
}

}  // namespace

ControlSet::ControlSet(Win32Window& window, std::span<const ui::ControlSpec> table,
                       std::function<std::string()> clipboardText, const MathFonts* fonts)
    : window_(window), clipboardText_(std::move(clipboardText)), fonts_(fonts) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ui::ControlSpec& item = table[i];
        HWND parent = window_.handle();
        if (!item.parent.empty()) {
            parent = find(item.parent).hwnd();
        }
        // A run of radio buttons is one group; every other control starts one of its own.
        const bool groupStart =
            item.kind != K::RadioButton || i == 0 || table[i - 1].kind != K::RadioButton;
        if (const std::string label = hiddenLabel(table, i); !label.empty()) {
            // Readers name an edit box or list by the STATIC just before it, shown or not.
            HWND before =
                CreateWindowExW(0, L"STATIC", widen(label).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0,
                                0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetWindowPos(before, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        HWND hwnd = create(item, parent, groupStart, 100 + static_cast<int>(i));
        if (hwnd == nullptr) {
            throw std::runtime_error("the control " + std::string(item.name) +
                                     " could not be created");
        }
        if (item.kind != K::StatusText) {
            // Behind the controls made before it: the order of the table is the tab order.
            SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        entries_.push_back({item.name, adapt(item, hwnd)});
        name(table, i, hwnd);
    }
    // A group frame lies behind everything, so the controls inside it show: the tab order of
    // the others stays, and the frame has no stop of its own.
    for (const ui::ControlSpec& item : table) {
        if (item.kind == K::GroupBox) {
            SetWindowPos(handle(item.name), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

ControlSet::~ControlSet() {
    clear();
    for (HFONT f : ownFonts_) {
        DeleteObject(f);
    }
}

void ControlSet::clear() {
    entries_.clear();
}

HWND ControlSet::create(const ui::ControlSpec& item, HWND parent, bool groupStart, int id) {
    const ui::Rect& b = item.bounds;
    const RECT place = toScreen(b);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (item.visible ? WS_VISIBLE : 0);
    if (groupStart) {
        style |= WS_GROUP;
    }
    DWORD exStyle = 0;
    const wchar_t* className = nullptr;
    const bool inPanel = !item.parent.empty();
    switch (item.kind) {
        case K::Label:
            className = L"STATIC";
            // A label that marks an access key shows it underlined; any other shows its "&".
            style |= (ui::markedAccessKey(item.caption) != 0 ? 0 : SS_NOPREFIX) | SS_NOTIFY |
                     (inPanel ? SS_CENTER : SS_LEFT);
            break;
        case K::Link:
            className = L"BUTTON";
            style |= BS_OWNERDRAW | WS_TABSTOP;
            break;
        case K::Button:
            className = L"BUTTON";
            style |= BS_PUSHBUTTON | WS_TABSTOP;
            break;
        case K::CheckBox:
            className = L"BUTTON";
            style |= BS_AUTOCHECKBOX | WS_TABSTOP;
            break;
        case K::RadioButton:
            className = L"BUTTON";
            style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
            break;
        case K::GroupBox:
            className = L"BUTTON";
            style |= BS_GROUPBOX;
            break;
        case K::Memo:
            className = L"EDIT";
            exStyle |= WS_EX_CLIENTEDGE;
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL |
                     WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
            break;
        case K::LineEdit:
            className = L"EDIT";
            exStyle |= WS_EX_CLIENTEDGE;
            style |= ES_AUTOHSCROLL | WS_TABSTOP;
            break;
        case K::ListBox:
            className = L"LISTBOX";
            exStyle |= WS_EX_CLIENTEDGE;
            style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
            break;
        case K::TabBar:
            className = WC_TABCONTROLW;
            style |= WS_TABSTOP;
            break;
        case K::Image:
        case K::MathView:
            return createSurface(parent, b, item.visible);
        case K::Canvas:
            return createSurface(parent, b, item.visible, WS_HSCROLL | WS_VSCROLL);
        case K::Panel:
            exStyle |= WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
            style |= WS_CLIPCHILDREN;
            return CreateWindowExW(exStyle, MAKEINTATOM(panelClass()), L"", style, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
        case K::StatusText:
            return window_.statusBar();
        case K::CheckList:
            className = WC_LISTVIEWW;
            exStyle |= WS_EX_CLIENTEDGE;
            style |=
                LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
            break;
        case K::ProgressBar:
            className = PROGRESS_CLASSW;
            break;
        case K::ComboBox: {
            className = WC_COMBOBOXW;
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
            break;
        }
    }
    // A field with a list is as high as its field and its list together.
    const int height = (place.bottom - place.top) + (item.kind == K::ComboBox ? toScreen(200) : 0);
    HWND hwnd = CreateWindowExW(exStyle, className, widenLines(item.caption).c_str(), style,
                                place.left, place.top, place.right - place.left, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return nullptr;
    }
    HFONT font = window_.font();
    if (!item.fontFamily.empty() || item.fontPixels > 0 || item.bold) {
        LOGFONTW lf{};
        GetObjectW(window_.font(), sizeof(lf), &lf);
        if (!item.fontFamily.empty()) {
            lstrcpynW(lf.lfFaceName, widen(item.fontFamily).c_str(), LF_FACESIZE);
        }
        if (item.fontPixels > 0) {
            lf.lfHeight = -toScreen(item.fontPixels);
        }
        lf.lfWeight = item.bold ? FW_BOLD : lf.lfWeight;
        if (HFONT own = CreateFontIndirectW(&lf)) {
            ownFonts_.push_back(own);
            font = own;
        }
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

std::unique_ptr<NativeWidget> ControlSet::adapt(const ui::ControlSpec& item, HWND hwnd) {
    switch (item.kind) {
        case K::Label:
            return std::make_unique<Win32Label>(hwnd);
        case K::Link:
        case K::Button:
        case K::CheckBox:
        case K::RadioButton:
        case K::GroupBox:
            return std::make_unique<Win32Button>(hwnd);
        case K::Memo:
        case K::LineEdit:
            return std::make_unique<Win32TextBox>(hwnd, clipboardText_);
        case K::ListBox:
            return std::make_unique<Win32ListBox>(hwnd);
        case K::TabBar:
            return std::make_unique<Win32TabBar>(hwnd);
        case K::Image:
            return std::make_unique<Win32ImageView>(hwnd);
        case K::MathView:
            if (fonts_ == nullptr) {
                throw std::out_of_range("a math view needs the math fonts");
            }
            return std::make_unique<Win32MathView>(hwnd, *fonts_);
        case K::Canvas:
            return std::make_unique<Win32Canvas>(hwnd);
        case K::Panel:
            return std::make_unique<Win32PlainWidget>(hwnd);
        case K::StatusText:
            return std::make_unique<Win32StatusText>(hwnd);
        case K::CheckList:
            return std::make_unique<Win32CheckList>(hwnd);
        case K::ProgressBar:
            return std::make_unique<Win32ProgressBar>(hwnd);
        case K::ComboBox:
            return std::make_unique<Win32ComboBox>(hwnd);
    }
    return nullptr;
}

void ControlSet::name(std::span<const ui::ControlSpec> table, std::size_t index, HWND hwnd) {
    const ui::ControlSpec& item = table[index];
    const std::string wanted = ui::accessibleName(table, item);
    if (wanted.empty() || wanted == conventionalName(table, index)) {
        return;
    }
    setAccessibleName(hwnd, wanted);
    // Controls that show no text of their own carry the name as their window text too, which
    // readers take where annotations are not to be had.
    switch (item.kind) {
        case K::ListBox:
        case K::TabBar:
        case K::Image:
        case K::MathView:
        case K::Canvas:
        case K::Panel:
        case K::ProgressBar:
        case K::CheckList:
            SetWindowTextW(hwnd, widen(wanted).c_str());
            break;
        default:
            break;
    }
}

NativeWidget& ControlSet::find(std::string_view name) {
    for (Entry& e : entries_) {
        if (e.name == name) {
            return *e.adapter;
        }
    }
    throw std::out_of_range("no control " + std::string(name) + " in the window");
}

HWND ControlSet::handle(std::string_view name) {
    return find(name).hwnd();
}

void ControlSet::raise(std::string_view name) {
    SetWindowPos(handle(name), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace win32gui
