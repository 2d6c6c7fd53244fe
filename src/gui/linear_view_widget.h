#pragma once

// The painter of the linear view: a widget that draws display lists (notation/linear_layout.h)
// one under the other, with the fonts of each role and the symbols in a font that has them.
// The main window's strip uses it through QtMathView, which lays out lines of Braille cells;
// any other window can give it display lists of its own.

#include <QFont>
#include <QStaticText>
#include <QWidget>
#include <functional>
#include <unordered_map>
#include <vector>

#include "gui/qt_widgets.h"
#include "notation/linear_layout.h"

namespace gui {

// The fonts of the view: "Courier" 12 points for normal text, "Arial" 9 points for exponents,
// "Arial" 8 points for labels (as pixels at 96 dots per inch), and for the symbols the first
// installed family that has every character the symbol tables use.
class MathFonts {
public:
    MathFonts();
    const QFont& text(notation::FontRole role) const;
    const QFont& glyph(notation::FontRole role) const;
    QString symbolFamily() const { return glyph_[0].family(); }

private:
    QFont text_[3];
    QFont glyph_[3];
};

// Text sizes measured with the fonts of a MathFonts.
class QtTextMetrics : public notation::CachedTextMetrics {
public:
    explicit QtTextMetrics(const MathFonts& fonts);
    int ascent(notation::FontRole role) const override;
    int descent(notation::FontRole role) const override;

private:
    int measure(bool glyph, notation::FontRole role, std::u32string_view text) const override;

    const MathFonts& fonts_;
    std::vector<QFontMetrics> text_;
    std::vector<QFontMetrics> glyph_;
};

// Texts laid out once for painting, by font and text.
class StaticTextCache {
public:
    const QStaticText& get(bool glyph, notation::FontRole role, const std::u32string& text);

private:
    std::unordered_map<std::u32string, QStaticText> texts_[6];
};

// Draws each of `lines` that `places` shows, where it places it (notation::placeLines):
// text in its role's font, lines and the caret as full-colour bars of kLineThickness.
void paintDisplayLines(QPainter& painter, const MathFonts& fonts, StaticTextCache& cache,
                       const std::vector<notation::DisplayLine>& lines,
                       const std::vector<notation::LinePlace>& places);

class LinearViewWidget : public QWidget {
public:
    explicit LinearViewWidget(QWidget* parent = nullptr);

    // Shows `lines` in bands of at least `pitch` pixels; `anchor` is the line that stays in
    // view when not all fit.
    void setDisplayLines(std::vector<notation::DisplayLine> lines, int pitch, std::size_t anchor);
    const std::vector<notation::DisplayLine>& displayLines() const { return lines_; }
    // Where the lines shown are, for the widget's present height.
    const std::vector<notation::LinePlace>& places() const { return places_; }
    const MathFonts& fonts() const { return fonts_; }
    const notation::TextMetrics& metrics() const { return metrics_; }
    StaticTextCache& textCache() { return cache_; }

    void setOnClick(std::function<void()> callback) { onClick_ = std::move(callback); }
    void setOnScroll(std::function<void(int)> callback) { onScroll_ = std::move(callback); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    MathFonts fonts_;
    QtTextMetrics metrics_;
    StaticTextCache cache_;
    void place();

    std::vector<notation::DisplayLine> lines_;
    std::vector<notation::LinePlace> places_;
    int pitch_ = 46;
    std::size_t anchor_ = 0;
    int wheel_ = 0;
    std::function<void()> onClick_;
    std::function<void(int)> onScroll_;
};

// The ui::MathView of the main window's strip: lays out the lines it is given and draws them.
class QtMathView : public QtWidget<ui::MathView> {
public:
    explicit QtMathView(LinearViewWidget* view);
    void setLines(const std::vector<ui::MathLine>& lines, int lineHeight) override;
    void setOnClick(ui::Callback callback) override;
    void setOnScroll(std::function<void(int)> callback) override;

private:
    LinearViewWidget* view_;
};

// The legend of the symbols as a picture `width` pixels wide: each glyph with its name.
QPixmap legendPicture(const MathFonts& fonts, int width);

}  // namespace gui
