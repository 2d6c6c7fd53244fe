#include "win32gui/controls/win32_pictures.h"

#include <algorithm>
#include <map>

#include "win32gui/dib.h"
#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

constexpr wchar_t kSurfaceClass[] = L"TattiloSurface";

Surface* surfaceOf(HWND hwnd) {
    return dynamic_cast<Surface*>(NativeWidget::from(hwnd));
}

LRESULT CALLBACK surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Surface* surface = surfaceOf(hwnd);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r{};
            GetClientRect(hwnd, &r);
            const SIZE size{r.right - r.left, r.bottom - r.top};
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP picture =
                CreateCompatibleBitmap(dc, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
            HGDIOBJ old = SelectObject(memory, picture);
            FillRect(memory, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            if (surface != nullptr) {
                surface->paint(memory, size);
            }
            BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(picture);
            DeleteDC(memory);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            break;
    }
    LRESULT result = 0;
    if (surface != nullptr && surface->surfaceMessage(msg, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ATOM surfaceClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &surfaceProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kSurfaceClass;
        return RegisterClassExW(&wc);
    }();
    return atom;
}

RECT rectOf(const ui::Rect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

}  // namespace

HWND createSurface(HWND parent, const ui::Rect& bounds, bool visible, DWORD extraStyle) {
    const RECT r = toScreen(bounds);
    return CreateWindowExW(0, MAKEINTATOM(surfaceClass()), L"",
                           WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0) | extraStyle,
                           r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// ---- picture

Win32ImageView::Win32ImageView(HWND surface) : Win32Widget(surface) {}

Win32ImageView::~Win32ImageView() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

void Win32ImageView::setBitmap(const ui::Bitmap& bitmap) {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    bitmap_ = dibSection(bitmap);
    size_ = bitmap_ != nullptr ? SIZE{bitmap.width, bitmap.height} : SIZE{};
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32ImageView::paint(HDC dc, SIZE /*size*/) {
    if (bitmap_ == nullptr) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    BitBlt(dc, 0, 0, size_.cx, size_.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

bool Win32ImageView::surfaceMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg == WM_LBUTTONUP && onClick_) {
        onClick_();
        result = 0;
        return true;
    }
    return false;
}

// ---- linear view

Win32MathView::Win32MathView(HWND surface, const MathFonts& fonts)
    : Win32Widget(surface), fonts_(fonts), metrics_(fonts) {}

void Win32MathView::setLines(const std::vector<ui::MathLine>& lines, int lineHeight) {
    display_.clear();
    display_.reserve(lines.size());
    for (const ui::MathLine& line : lines) {
        const std::size_t caret =
            line.caret < 0 ? notation::kNoCaret : static_cast<std::size_t>(line.caret);
        display_.push_back(notation::layoutCells(line.cells, caret, metrics_));
    }
    lineHeight_ = lineHeight;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32MathView::paint(HDC dc, SIZE /*size*/) {
    paintDisplayLines(dc, fonts_, display_, toScreen(lineHeight_));
}

bool Win32MathView::surfaceMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
        case WM_LBUTTONUP:
            if (onClick_) {
                onClick_();
            }
            result = 0;
            return true;
        case WM_MOUSEWHEEL: {
            // One line for each notch (120 units); half notches add up.
            wheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
            const int lines = -wheel_ / WHEEL_DELTA;
            wheel_ += lines * WHEEL_DELTA;
            if (lines != 0 && onScroll_) {
                onScroll_(lines);
            }
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

// ---- canvas

Win32Canvas::Win32Canvas(HWND surface) : Win32Widget(surface) {}

void Win32Canvas::setShapes(std::vector<ui::Shape> shapes, int width, int height) {
    shapes_ = std::move(shapes);
    width_ = width;
    height_ = height;
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32Canvas::updateScrollBars() {
    RECT r{};
    GetClientRect(hwnd(), &r);
    const int extent[2] = {width_, height_};
    const int page[2] = {toLogical(r.right - r.left), toLogical(r.bottom - r.top)};
    LONG* position[2] = {&offset_.x, &offset_.y};
    const int bars[2] = {SB_HORZ, SB_VERT};
    for (int i = 0; i < 2; ++i) {
        *position[i] = std::clamp<LONG>(*position[i], 0, std::max(0, extent[i] - page[i]));
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = std::max(0, extent[i] - 1);
        info.nPage = static_cast<UINT>(std::max(0, page[i]));
        info.nPos = *position[i];
        SetScrollInfo(hwnd(), bars[i], &info, TRUE);
    }
}

void Win32Canvas::scroll(int bar, WPARAM request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd(), bar, &info);
    int pos = info.nPos;
    switch (LOWORD(request)) {
        case SB_LINEUP:
            pos -= 20;
            break;
        case SB_LINEDOWN:
            pos += 20;
            break;
        case SB_PAGEUP:
            pos -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            pos += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = info.nTrackPos;
            break;
        case SB_TOP:
            pos = 0;
            break;
        case SB_BOTTOM:
            pos = info.nMax;
            break;
        default:
            return;
    }
    (bar == SB_HORZ ? offset_.x : offset_.y) = pos;
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32Canvas::paint(HDC dc, SIZE /*size*/) {
    // The shapes are in the logic's pixels: GDI scales them, fonts included, to the screen's.
    if (screenDpi() != 96) {
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, 96, 96, nullptr);
        SetViewportExtEx(dc, screenDpi(), screenDpi(), nullptr);
    }
    SetWindowOrgEx(dc, offset_.x, offset_.y, nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    std::map<const ui::Bitmap*, HBITMAP> pictures;
    for (const ui::Shape& s : shapes_) {
        const RECT r = rectOf(s.rect);
        switch (s.kind) {
            case ui::Shape::Kind::Fill: {
                HBRUSH brush = CreateSolidBrush(colorRef(s.color));
                FillRect(dc, &r, brush);
                DeleteObject(brush);
                break;
            }
            case ui::Shape::Kind::Picture: {
                if (!s.picture || s.picture->empty()) {
                    break;
                }
                stretchPicture(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, *s.picture);
                break;
            }
            case ui::Shape::Kind::Text: {
                LOGFONTW lf{};
                lf.lfHeight = -s.pixelSize;
                lf.lfCharSet = DEFAULT_CHARSET;
                lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
                HFONT font = CreateFontIndirectW(&lf);
                HGDIOBJ old = SelectObject(dc, font);
                SetTextColor(dc, colorRef(s.color));
                const std::wstring text = widen(s.text);
                TextOutW(dc, s.rect.left, s.rect.top, text.c_str(), static_cast<int>(text.size()));
                SelectObject(dc, old);
                DeleteObject(font);
                break;
            }
            case ui::Shape::Kind::Invert:
                InvertRect(dc, &r);
                break;
        }
    }
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetMapMode(dc, MM_TEXT);
}

void Win32Canvas::mouse(ui::MouseEvent::Kind kind, LPARAM lParam, bool left) {
    if (!onMouse_) {
        return;
    }
    ui::MouseEvent event;
    event.kind = kind;
    event.x = toLogical(static_cast<short>(LOWORD(lParam))) + offset_.x;
    event.y = toLogical(static_cast<short>(HIWORD(lParam))) + offset_.y;
    event.leftButton = left;
    onMouse_(event);
}

bool Win32Canvas::surfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_SIZE:
            updateScrollBars();
            return true;
        case WM_HSCROLL:
            scroll(SB_HORZ, wParam);
            return true;
        case WM_VSCROLL:
            scroll(SB_VERT, wParam);
            return true;
        case WM_MOUSEWHEEL:
            scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
            return true;
        case WM_LBUTTONDOWN:
            SetCapture(hwnd());
            mouse(ui::MouseEvent::Kind::Press, lParam, true);
            return true;
        case WM_MOUSEMOVE:
            mouse(ui::MouseEvent::Kind::Move, lParam, (wParam & MK_LBUTTON) != 0);
            return true;
        case WM_LBUTTONUP:
            ReleaseCapture();
            mouse(ui::MouseEvent::Kind::Release, lParam, false);
            return true;
        default:
            return false;
    }
}

}  // namespace win32gui
