#include "win32gui/dpi.h"

namespace win32gui {
namespace {

constexpr int kBaseDpi = 96;

int scaled(int value, int to, int from) {
    return to == from ? value : MulDiv(value, to, from);
}

}  // namespace

int screenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int found = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return found > 0 ? found : kBaseDpi;
    }();
    return dpi;
}

int toScreen(int logical) {
    return scaled(logical, screenDpi(), kBaseDpi);
}

int toLogical(int screen) {
    return scaled(screen, kBaseDpi, screenDpi());
}

RECT toScreen(const ui::Rect& r) {
    return {toScreen(r.left), toScreen(r.top), toScreen(r.left + r.width),
            toScreen(r.top + r.height)};
}

ui::Rect toLogical(const RECT& r) {
    const int left = toLogical(r.left);
    const int top = toLogical(r.top);
    return {left, top, toLogical(r.right) - left, toLogical(r.bottom) - top};
}

}  // namespace win32gui
