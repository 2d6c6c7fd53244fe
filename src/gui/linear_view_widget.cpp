#include "gui/linear_view_widget.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "editor/printing/linear_view.h"
#include "gui/text_bridge.h"
#include "notation/mathml_tables.h"

namespace gui {

namespace {

using notation::DisplayKind;
using notation::FontRole;

int index(FontRole role) {
    return static_cast<int>(role);
}

QString fromUcs4(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

QString chooseSymbolFamily() {
    const std::u32string needed = notation::symbolCharacters();
    const QStringList installed = QFontDatabase::families();
    for (const char* candidate :
         {"DejaVu Sans", "DejaVu Math TeX Gyre", "FreeSerif", "Noto Sans Math", "STIX Two Math"}) {
        const QString family = QString::fromLatin1(candidate);
        if (!installed.contains(family)) {
            continue;
        }
        QFont font(family);
        font.setPixelSize(16);
        const QFontMetrics metrics(font);
        if (std::all_of(needed.begin(), needed.end(),
                        [&](char32_t c) { return metrics.inFontUcs4(c); })) {
            return family;
        }
    }
    return QString::fromLatin1("DejaVu Sans");
}

QFont pixelFont(const QString& family, int pixels, QFont::StyleHint hint) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

MathFonts::MathFonts() {
    static const QString symbols = chooseSymbolFamily();
    // 12, 9 and 8 points at 96 dots per inch.
    const int pixels[3] = {16, 12, 11};
    text_[0] = pixelFont(QStringLiteral("Courier"), pixels[0], QFont::TypeWriter);
    text_[1] = pixelFont(QStringLiteral("Arial"), pixels[1], QFont::SansSerif);
    text_[2] = pixelFont(QStringLiteral("Arial"), pixels[2], QFont::SansSerif);
    for (int i = 0; i < 3; ++i) {
        glyph_[i] = pixelFont(symbols, pixels[i], QFont::SansSerif);
    }
}

const QFont& MathFonts::text(FontRole role) const {
    return text_[index(role)];
}

const QFont& MathFonts::glyph(FontRole role) const {
    return glyph_[index(role)];
}

QtTextMetrics::QtTextMetrics(const MathFonts& fonts) : fonts_(fonts) {
    for (FontRole role : {FontRole::Normal, FontRole::Exponent, FontRole::Label}) {
        text_.emplace_back(fonts_.text(role));
        glyph_.emplace_back(fonts_.glyph(role));
    }
}

int QtTextMetrics::measure(bool glyph, FontRole role, std::u32string_view text) const {
    const auto& metrics = glyph ? glyph_ : text_;
    return metrics[static_cast<std::size_t>(index(role))].horizontalAdvance(fromUcs4(text));
}

const QStaticText& StaticTextCache::get(bool glyph, FontRole role, const std::u32string& text) {
    auto& known = texts_[(glyph ? 3 : 0) + index(role)];
    auto found = known.find(text);
    if (found == known.end()) {
        QStaticText laidOut(fromUcs4(text));
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
        found = known.emplace(text, std::move(laidOut)).first;
    }
    return found->second;
}

// Symbols are drawn in another font than letters: the room of a role holds both.
int QtTextMetrics::ascent(FontRole role) const {
    const auto i = static_cast<std::size_t>(index(role));
    return std::max(text_[i].ascent(), glyph_[i].ascent());
}

int QtTextMetrics::descent(FontRole role) const {
    const auto i = static_cast<std::size_t>(index(role));
    return std::max(text_[i].descent(), glyph_[i].descent());
}

namespace {

// A bar of kLineThickness from (x, y) to (x2, y2): a level one is a filled rectangle, so it is
// full colour at any position; a slanted one is drawn without smoothing for the same reason.
void bar(QPainter& painter, const notation::DisplayItem& item, const QColor& colour) {
    constexpr int t = notation::kLineThickness;
    if (item.y == item.y2) {
        painter.fillRect(std::min(item.x, item.x2), item.y - t / 2, std::abs(item.x2 - item.x), t,
                         colour);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, t, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawLine(item.x, item.y, item.x2, item.y2);
}

}  // namespace

void paintDisplayLines(QPainter& painter, const MathFonts& fonts, StaticTextCache& cache,
                       const std::vector<notation::DisplayLine>& lines,
                       const std::vector<notation::LinePlace>& places) {
    const QColor blue(0, 0, 255);
    const QColor black(Qt::black);
    const QColor red(Qt::red);
    // Fonts and pens change only when an item needs another one: setting them costs more
    // than drawing a short text.
    const QFont* font = nullptr;
    int ascent = 0;
    int inkKey = -1;
    for (const notation::LinePlace& place : places) {
        if (place.line >= lines.size()) {
            continue;
        }
        painter.save();
        painter.translate(0, place.baseline);
        if (place.scale != 1.0) {
            painter.scale(place.scale, place.scale);
        }
        // A restored painter has its own font and pen again.
        font = nullptr;
        inkKey = -1;
        for (const notation::DisplayItem& item : lines[place.line].items) {
            switch (item.kind) {
                case DisplayKind::Text:
                case DisplayKind::Glyph: {
                    const bool glyph = item.kind == DisplayKind::Glyph;
                    const QFont& wanted = glyph ? fonts.glyph(item.role) : fonts.text(item.role);
                    if (font != &wanted) {
                        painter.setFont(wanted);
                        font = &wanted;
                        ascent = QFontMetrics(wanted).ascent();
                    }
                    const bool isBlue = item.operatorInk || item.role != FontRole::Normal;
                    if (inkKey != (isBlue ? 1 : 0)) {
                        painter.setPen(isBlue ? blue : black);
                        inkKey = isBlue ? 1 : 0;
                    }
                    const QStaticText& text = cache.get(glyph, item.role, item.text);
                    // A static text is placed by its top; the item by its baseline.
                    painter.setRenderHint(QPainter::Antialiasing, true);
                    painter.drawStaticText(item.x, item.y - ascent, text);
                    break;
                }
                case DisplayKind::FractionBar:
                case DisplayKind::RadicalStroke:
                case DisplayKind::Overline:
                    bar(painter, item, black);
                    inkKey = -1;
                    break;
                case DisplayKind::Caret:
                    // Its columns start at x, its rows at y (see linear_layout.h).
                    painter.fillRect(item.x, item.y, notation::kLineThickness, item.y2 - item.y,
                                     red);
                    break;
                case DisplayKind::SubLevelShift:
                    break;
            }
        }
        painter.restore();
    }
}

LinearViewWidget::LinearViewWidget(QWidget* parent) : QWidget(parent), metrics_(fonts_) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFocusPolicy(Qt::NoFocus);
}

void LinearViewWidget::setDisplayLines(std::vector<notation::DisplayLine> lines, int pitch,
                                       std::size_t anchor) {
    lines_ = std::move(lines);
    pitch_ = pitch;
    anchor_ = anchor;
    place();
}

void LinearViewWidget::place() {
    places_ = notation::placeLines(lines_, pitch_, height(), anchor_);
    update();
}

void LinearViewWidget::resizeEvent(QResizeEvent* /*event*/) {
    place();
}

void LinearViewWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintDisplayLines(painter, fonts_, cache_, lines_, places_);
}

void LinearViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onClick_) {
        onClick_();
    }
}

void LinearViewWidget::wheelEvent(QWheelEvent* event) {
    // One line for each notch (120 units); half notches add up.
    wheel_ += event->angleDelta().y();
    const int lines = -wheel_ / 120;
    wheel_ += lines * 120;
    if (lines != 0 && onScroll_) {
        onScroll_(lines);
    }
    event->accept();
}

QtMathView::QtMathView(LinearViewWidget* view) : QtWidget(view), view_(view) {}

void QtMathView::setLines(const std::vector<ui::MathLine>& lines, int lineHeight) {
    std::vector<notation::DisplayLine> display;
    display.reserve(lines.size());
    std::size_t anchor = notation::kNoCaret;
    std::size_t caretLine = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const ui::MathLine& line = lines[k];
        const std::size_t caret =
            line.caret < 0 ? notation::kNoCaret : static_cast<std::size_t>(line.caret);
        display.push_back(notation::layoutCells(line.cells, caret, view_->metrics()));
        if (line.anchor && anchor == notation::kNoCaret) {
            anchor = k;
        }
        if (line.caret >= 0) {
            caretLine = k;
        }
    }
    view_->setDisplayLines(std::move(display), lineHeight,
                           anchor == notation::kNoCaret ? caretLine : anchor);
}

void QtMathView::setOnClick(ui::Callback callback) {
    view_->setOnClick(std::move(callback));
}

void QtMathView::setOnScroll(std::function<void(int)> callback) {
    view_->setOnScroll(std::move(callback));
}

QPixmap legendPicture(const MathFonts& fonts, int width) {
    const std::vector<editor::LegendEntry> legend = editor::symbolLegend();
    const QFont glyphFont = fonts.glyph(FontRole::Normal);
    QFont nameFont = fonts.text(FontRole::Label);
    const QFontMetrics nameMetrics(nameFont);
    int cell = 0;
    for (const editor::LegendEntry& entry : legend) {
        cell = std::max(cell, nameMetrics.horizontalAdvance(toQString(entry.name)));
    }
    cell += 30;
    const int columns = std::max(1, width / cell);
    const int rowHeight = 15;
    const int rows = (static_cast<int>(legend.size()) + columns - 1) / columns;
    QPixmap picture(std::max(width, cell), rows * rowHeight + 4);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const int x = static_cast<int>(i) % columns * cell + 4;
        const int y = static_cast<int>(i) / columns * rowHeight + 13;
        painter.setFont(glyphFont);
        painter.setPen(Qt::black);
        painter.drawText(x, y, fromUcs4(legend[i].glyph));
        painter.setFont(nameFont);
        painter.setPen(QColor(0, 0, 255));
        painter.drawText(x + 24, y - 1, toQString(legend[i].name));
    }
    return picture;
}

}  // namespace gui
