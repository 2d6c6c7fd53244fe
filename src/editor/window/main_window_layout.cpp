#include "editor/window/main_window.h"

#include <algorithm>

#include "editor/printing/linear_view.h"

// TForm1: the layout of the window at start and on every resize.

namespace editor {

void TForm1::centrePanel(int width, int height) {
    w_.Panel1.setBounds({width / 2 - 225, height / 2 - 165, 450, 330});
}

void TForm1::FormResize() {
    if (closing_) {
        return;
    }
    if (!startupDone_) {
        // The saved geometry; a file without it (or with a zero size) would give a window of
        // no size at all, so the default size stands in for it.
        if (!w_.form.maximized()) {
            ui::Rect r{settings_.winLeft, settings_.winTop, settings_.winWidth,
                       settings_.winHeight};
            if (r.width <= 0 || r.height <= 0) {
                r.width = kDefaultWidth;
                r.height = kDefaultHeight;
            }
            w_.form.setBounds(r);
        }
        const ui::Rect now = w_.form.bounds();
        centrePanel(now.width, now.height);
        startupDone_ = true;
    }
    const ui::Rect r = w_.form.bounds();
    settings_.winTop = r.top;
    settings_.winLeft = r.left;
    settings_.winWidth = r.width;
    settings_.winHeight = r.height;

    auto nonNegative = [](int v) { return std::max(v, 0); };
    const int width = nonNegative(r.width - 40);
    const int memo1Height = nonNegative(r.height - 153);
    w_.Memo1.setBounds({kEditorLeft, kEditorTop, width, memo1Height});
    // With the linear view switched off the Braille editor also covers the strip, whose
    // place is still worked out from the height the editor has beside it.
    const int besideStrip =
        linearViewShown_ ? w_.Memo2.bounds().height : w_.Image1.bounds().top - kEditorTop;
    const int memo2Height = nonNegative(memo1Height / 2 - besideStrip / 10);
    w_.Memo2.setBounds(
        {kEditorLeft, kEditorTop, width, linearViewShown_ ? memo2Height : memo1Height});
    strip_ = {kEditorLeft, kEditorTop + memo2Height, width, nonNegative(memo1Height - memo2Height)};
    placeStrip();
    w_.tabs.setBounds({kEditorLeft, w_.tabs.bounds().top, width, w_.tabs.bounds().height});

    ++changeCounter_;
    refreshLinearView();
    if (!w_.Panel1.visible()) {
        ui::TextBox& box = activeEditor();
        if (box.visible()) {
            box.setFocus();
        }
    }
}

void TForm1::placeStrip() {
    if (!startupDone_) {
        return;  // the first resize places it
    }
    ui::Rect drawing = strip_;
    if (w_.Image3.visible()) {
        // The legend is the height of its picture while that leaves the drawing two lines of
        // mathematics; a taller legend scrolls in the room that is left.
        const int keep = drawingRoomFor(2, boxFontSize(w_.Memo2));
        const int legend =
            std::clamp(strip_.height - kLegendGap - keep, 0, std::max(legendHeight_, 0));
        drawing.height = std::max(0, strip_.height - legend - kLegendGap);
        w_.Image3.setBounds(
            {strip_.left, strip_.top + strip_.height - legend, strip_.width, legend});
    }
    w_.Image1.setBounds(drawing);
    const ui::Rect simb = w_.Simb.bounds();
    w_.Simb.setBounds({drawing.left + drawing.width - 50, drawing.top + drawing.height - 28,
                       simb.width, simb.height});
}

}  // namespace editor
