#pragma once

// The drawn controls: a picture (ImageView), the linear view's lines (MathView) and a canvas of
// shapes (Canvas). Each is a child window of the program's own "TattiloSurface" class, painted
// with GDI through a memory picture so it never flickers; the painter only draws what the core
// computed. A picture shows its bitmap pixel for pixel (the screen's own pixels); the linear
// view draws in the screen's pixels with fonts made for them; a canvas's shapes are in the
// logic's pixels and drawn scaled.

#include <functional>
#include <memory>
#include <vector>

#include "notation/linear_layout.h"
#include "ui/widgets.h"
#include "win32gui/controls/math_painter.h"
#include "win32gui/controls/native_widget.h"

namespace win32gui {

// What the surface window hands to its adapter.
class Surface {
public:
    virtual ~Surface() = default;
    // Paints the client area (`size` big) into `dc`, which is white to begin with.
    virtual void paint(HDC dc, SIZE size) = 0;
    virtual bool surfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
};

// A child window of the surface class, for one of the adapters below.
HWND createSurface(HWND parent, const ui::Rect& bounds, bool visible, DWORD extraStyle = 0);

class Win32ImageView : public Win32Widget<ui::ImageView>, public Surface {
public:
    explicit Win32ImageView(HWND surface);
    ~Win32ImageView() override;
    void setBitmap(const ui::Bitmap& bitmap) override;
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }
    void paint(HDC dc, SIZE size) override;
    bool surfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HBITMAP bitmap_ = nullptr;
    SIZE size_{};
    ui::Callback onClick_;
};

class Win32MathView : public Win32Widget<ui::MathView>, public Surface {
public:
    Win32MathView(HWND surface, const MathFonts& fonts);
    void setLines(const std::vector<ui::MathLine>& lines, int lineHeight) override;
    void setOnClick(ui::Callback callback) override { onClick_ = std::move(callback); }
    void setOnScroll(std::function<void(int)> callback) override {
        onScroll_ = std::move(callback);
    }
    void paint(HDC dc, SIZE size) override;
    bool surfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const std::vector<notation::DisplayLine>& displayLines() const { return display_; }

private:
    const MathFonts& fonts_;
    GdiTextMetrics metrics_;
    std::vector<notation::DisplayLine> display_;
    int lineHeight_ = 46;
    int wheel_ = 0;
    ui::Callback onClick_;
    std::function<void(int)> onScroll_;
};

// Shapes over a content area, scrolled with the control's scroll bars when it is larger.
class Win32Canvas : public Win32Widget<ui::Canvas>, public Surface {
public:
    explicit Win32Canvas(HWND surface);
    void setShapes(std::vector<ui::Shape> shapes, int width, int height) override;
    void setOnMouse(std::function<void(const ui::MouseEvent&)> callback) override {
        onMouse_ = std::move(callback);
    }
    void paint(HDC dc, SIZE size) override;
    bool surfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const std::vector<ui::Shape>& shapes() const { return shapes_; }

private:
    void updateScrollBars();
    void scroll(int bar, WPARAM request);
    void mouse(ui::MouseEvent::Kind kind, LPARAM lParam, bool left);

    std::vector<ui::Shape> shapes_;
    int width_ = 0;
    int height_ = 0;
    POINT offset_{};
    std::function<void(const ui::MouseEvent&)> onMouse_;
};

}  // namespace win32gui
