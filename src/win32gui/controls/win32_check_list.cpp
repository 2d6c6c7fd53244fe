#include "win32gui/controls/win32_check_list.h"

#include <algorithm>

#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

// The three marks as the list's state pictures: clear, checked, partly checked (state picture
// index 1, 2 and 3, as the list's own check boxes number the first two).
HIMAGELIST markPictures() {
    const int size = toScreen(16);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, 3, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (const UINT state : {0U, static_cast<UINT>(DFCS_CHECKED),
                             static_cast<UINT>(DFCS_BUTTON3STATE | DFCS_CHECKED)}) {
        HBITMAP picture = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(dc, picture);
        RECT r{0, 0, size, size};
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
        InflateRect(&r, -1, -1);
        DrawFrameControl(dc, &r, DFC_BUTTON,
                         (state & DFCS_BUTTON3STATE) != 0 ? state : (DFCS_BUTTONCHECK | state));
        SelectObject(dc, old);
        ImageList_Add(list, picture, nullptr);
        DeleteObject(picture);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}

UINT markState(int mark) {
    return INDEXTOSTATEIMAGEMASK(mark == 1 ? 2 : mark == 2 ? 3 : 1);
}

}  // namespace

// ---- check list

Win32CheckList::Win32CheckList(HWND listView) : Win32Widget(listView), marks_(markPictures()) {
    ListView_SetExtendedListViewStyle(listView, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ListView_SetImageList(listView, marks_, LVSIL_STATE);
    subclass();
    RECT r{};
    GetClientRect(listView, &r);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = std::max<LONG>(r.right - r.left - GetSystemMetrics(SM_CXVSCROLL), toScreen(40));
    SendMessageW(listView, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

Win32CheckList::~Win32CheckList() {
    if (IsWindow(hwnd())) {
        ListView_SetImageList(hwnd(), nullptr, LVSIL_STATE);
    }
    if (marks_ != nullptr) {
        ImageList_Destroy(marks_);
    }
}

void Win32CheckList::showLine(int index) {
    std::wstring caption = widen(lines_[static_cast<std::size_t>(index)].caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = index;
    item.pszText = caption.data();
    item.state = markState(lines_[static_cast<std::size_t>(index)].mark);
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(hwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32CheckList::setLines(const std::vector<ui::CheckLine>& lines) {
    quiet_ = true;
    ListView_DeleteAllItems(hwnd());
    lines_ = lines;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        std::wstring caption = widen(lines_[i].caption);
        item.pszText = caption.data();
        SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        showLine(static_cast<int>(i));
    }
    quiet_ = false;
}

void Win32CheckList::setLine(int index, const ui::CheckLine& line) {
    if (index < 0 || index >= count()) {
        return;
    }
    quiet_ = true;
    lines_[static_cast<std::size_t>(index)] = line;
    showLine(index);
    ListView_RedrawItems(hwnd(), index, index);
    quiet_ = false;
}

ui::CheckLine Win32CheckList::line(int index) const {
    return index >= 0 && index < count() ? lines_[static_cast<std::size_t>(index)]
                                         : ui::CheckLine{};
}

int Win32CheckList::itemIndex() const {
    return ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
}

void Win32CheckList::setItemIndex(int index) {
    quiet_ = true;
    ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0 && index < count()) {
        ListView_SetItemState(hwnd(), index, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(hwnd(), index, FALSE);
    }
    quiet_ = false;
}

bool Win32CheckList::message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
                const int focused = ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED);
                if (focused >= 0 && onToggle_) {
                    onToggle_(focused);
                }
                result = 0;
                return true;
            }
            return false;
        case WM_CHAR:
            // The space of the toggle does not search for a line beginning with a blank.
            if (wParam == L' ') {
                result = 0;
                return true;
            }
            return false;
        case WM_LBUTTONDOWN: {
            LVHITTESTINFO hit{};
            hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int index = ListView_HitTest(hwnd(), &hit);
            if (index < 0 || (hit.flags & LVHT_ONITEMSTATEICON) == 0) {
                return false;
            }
            SetFocus(hwnd());
            // The line clicked becomes the selected one, as the user's choice.
            ListView_SetItemState(hwnd(), index, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            if (onToggle_) {
                onToggle_(index);
            }
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

bool Win32CheckList::notify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case LVN_ITEMCHANGING: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool markChange =
                (change.uChanged & LVIF_STATE) != 0 &&
                ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0;
            if (markChange && !quiet_) {
                // The user clicked the box or pressed Space: the logic decides the mark.
                result = TRUE;
                if (onToggle_) {
                    const int index = change.iItem;
                    onToggle_(index);
                }
                return true;
            }
            return false;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (!quiet_ && (change.uChanged & LVIF_STATE) != 0 &&
                (change.uNewState & LVIS_SELECTED) != 0 &&
                (change.uOldState & LVIS_SELECTED) == 0 && onSelect_) {
                onSelect_();
            }
            return false;
        }
        case NM_DBLCLK:
            if (onDoubleClick_) {
                onDoubleClick_();
            }
            return false;
        case NM_CUSTOMDRAW: {
            auto& draw =
                const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
                return true;
            }
            if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                const auto index = static_cast<int>(draw.nmcd.dwItemSpec);
                if (index >= 0 && index < count() &&
                    lines_[static_cast<std::size_t>(index)].color) {
                    draw.clrText = colorRef(*lines_[static_cast<std::size_t>(index)].color);
                }
                result = CDRF_DODEFAULT;
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

// ---- progress bar

void Win32ProgressBar::setRange(int minimum, int maximum) {
    SendMessageW(hwnd(), PBM_SETRANGE32, static_cast<WPARAM>(minimum),
                 static_cast<LPARAM>(maximum));
}

int Win32ProgressBar::position() const {
    return static_cast<int>(SendMessageW(hwnd(), PBM_GETPOS, 0, 0));
}

void Win32ProgressBar::setPosition(int position) {
    SendMessageW(hwnd(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// ---- field with a list

std::string Win32ComboBox::text() const {
    const int length = GetWindowTextLengthW(hwnd());
    std::wstring t(static_cast<std::size_t>(length) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(hwnd(), t.data(), length + 1)));
    return narrow(t);
}

void Win32ComboBox::setText(std::string_view text) {
    quiet_ = true;
    SetWindowTextW(hwnd(), widen(text).c_str());
    quiet_ = false;
}

std::vector<std::string> Win32ComboBox::items() const {
    std::vector<std::string> out;
    const auto n = static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const LRESULT length = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring t(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT got = SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(i),
                                         reinterpret_cast<LPARAM>(t.data()));
        t.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
        out.push_back(narrow(t));
    }
    return out;
}

void Win32ComboBox::setItems(const std::vector<std::string>& items) {
    quiet_ = true;
    const std::string kept = text();
    SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
    }
    SetWindowTextW(hwnd(), widen(kept).c_str());
    quiet_ = false;
}

bool Win32ComboBox::focused() const {
    HWND focus = GetFocus();
    return focus != nullptr && (focus == hwnd() || IsChild(hwnd(), focus));
}

void Win32ComboBox::command(int code) {
    if (quiet_) {
        return;
    }
    if (code == CBN_SELCHANGE) {
        // The field takes the chosen text before the logic reads it.
        const LRESULT index = SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
        const std::vector<std::string> all = items();
        if (index >= 0 && static_cast<std::size_t>(index) < all.size()) {
            quiet_ = true;
            SetWindowTextW(hwnd(), widen(all[static_cast<std::size_t>(index)]).c_str());
            quiet_ = false;
        }
    }
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && onChange_) {
        onChange_();
    }
}

}  // namespace win32gui
