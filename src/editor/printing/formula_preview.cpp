#include "editor/printing/formula_preview.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace editor {

namespace {

namespace text = formula_preview_text;
using C = PreviewCommand;
using notation::kRowGap;
using notation::kRowViewTop;
using ui::Shape;

constexpr ui::Shortcut ctrl(char letter) {
    return {letter, ui::shift::kCtrl};
}
constexpr ui::Shortcut kDel{ui::vk::kDelete, 0};

// "Anteprima" has Ctrl+E: Ctrl+A is "Seleziona tutto", and one key cannot do both.
constexpr std::array<PreviewMenuEntry, 18> kMenu{{
    {C::MenuModifica, C::None, "Modifica1", "Modifica", {}},
    {C::Selezionatutto1, C::MenuModifica, "Selezionatutto1", "Seleziona tutto", ctrl('A')},
    {C::Copia1, C::MenuModifica, "Copia1", "Copia", ctrl('C')},
    {C::Esci1, C::MenuModifica, "Esci1", "Esci", kDel},
    {C::MenuStampa, C::None, "Stampa2", "Stampa", {}},
    {C::Impostastampante1, C::MenuStampa, "Impostastampante1", "Imposta stampante", ctrl('I')},
    {C::Anteprima1, C::MenuStampa, "Anteprima1", "Anteprima", ctrl('E')},
    {C::Stampa1, C::MenuStampa, "Stampa1", "Stampa", ctrl('P')},
    {C::MenuDimensioni, C::None, "Dimensioni1", "Dimensioni stampa", {}},
    {C::Aumenta1, C::MenuDimensioni, "Aumenta1", "Aumenta", {}},
    {C::Diminuisci1, C::MenuDimensioni, "Diminuisci1", "Diminuisci", {}},
    {C::Dimensionistampa1, C::MenuDimensioni, "Dimensionistampa1", "Dimensioni stampa : 1", {}},
    {C::MenuOrientamento, C::None, "Orientamento1", "Orientamento carta", {}},
    {C::Verticale1, C::MenuOrientamento, "Verticale1", "Verticale", {}},
    {C::Orizzontale1, C::MenuOrientamento, "Orizzontale1", "Orizzontale", {}},
    {C::Paginaseg1, C::None, "Paginaseg1", "Pagina seg.", {}},
    {C::Paginainiz1, C::None, "Paginainiz1", "Pagina iniz.", {}},
    {C::Chiudi1, C::None, "Chiudi1", "Chiudi", kDel},
}};

constexpr ui::Color kGrey = 0xC0C0C0;
constexpr ui::Color kBarGrey = 0x808080;

// The blank canvas shown before (or without) a picture.
constexpr int kBlankWidth = 1440;
constexpr int kBlankHeight = 2800;

ui::Bitmap whitePicture(int width, int height) {
    ui::Bitmap b;
    b.width = std::max(width, 1);
    b.height = std::max(height, 1);
    b.pixels.assign(static_cast<std::size_t>(b.width) * b.height, 0xFFFFFFFF);
    return b;
}

// Copies the `width` x `height` block at (fromX, fromY) of `from` to (toX, toY) of `to`,
// clipped to both pictures.
void copyBlock(const ui::Bitmap& from, int fromX, int fromY, int width, int height, ui::Bitmap& to,
               int toX, int toY) {
    for (int y = 0; y < height; ++y) {
        const int sy = fromY + y;
        const int ty = toY + y;
        if (sy < 0 || sy >= from.height || ty < 0 || ty >= to.height) {
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const int sx = fromX + x;
            const int tx = toX + x;
            if (sx >= 0 && sx < from.width && tx >= 0 && tx < to.width) {
                to.pixels[static_cast<std::size_t>(ty) * to.width + tx] =
                    from.pixels[static_cast<std::size_t>(sy) * from.width + sx];
            }
        }
    }
}

Shape fill(ui::Rect rect, ui::Color color) {
    Shape s;
    s.kind = Shape::Kind::Fill;
    s.rect = rect;
    s.color = color;
    return s;
}

Shape label(int x, int y, std::string words, int pixels = 12) {
    Shape s;
    s.kind = Shape::Kind::Text;
    s.rect = {x, y, 0, 0};
    s.color = ui::colors::kBlack;
    s.text = std::move(words);
    s.pixelSize = pixels;
    return s;
}

}  // namespace

std::span<const PreviewMenuEntry> previewMenuTable() {
    return kMenu;
}

FormulaPrintPreview::FormulaPrintPreview(FormulaPreviewWidgets widgets,
                                         FormulaPreviewServices services)
    : w_(widgets), s_(services), stack_(std::make_shared<ui::Bitmap>()) {
    w_.form.setKeyListener(this);
    w_.form.setOnCloseQuery([this] { return FormCloseQuery(); });
    for (const PreviewMenuEntry& e : kMenu) {
        item(e.id).setOnClick([this, id = e.id] { run(id); });
    }
    item(C::Dimensionistampa1).setVisible(false);
    w_.Stampa.setOnClick([this] { StampaClick(); });
    w_.Esci.setOnClick([this] { EsciClick(); });
    w_.ImpostaStampante.setOnClick([this] { ImpostastampanteClick(); });
    w_.canvas.setOnMouse([this](const ui::MouseEvent& e) { mouse(e); });
    // The rows and the page are laid out for the canvas's size.
    w_.form.setOnResize([this] { redraw(); });
    setPreviewMenus(false);
}

void FormulaPrintPreview::takeMainWindowPlace() {
    if (w_.mainWindow == nullptr) {
        return;
    }
    w_.form.setMaximized(false);
    w_.form.setBounds(w_.mainWindow->bounds());
    if (w_.mainWindow->maximized()) {
        w_.form.setMaximized(true);
    }
}

void FormulaPrintPreview::redraw() {
    if (preview_) {
        drawPreview();
    } else {
        drawRows();
    }
}

void FormulaPrintPreview::run(PreviewCommand id) {
    switch (id) {
        case C::Selezionatutto1:
            return SelezionatuttoClick();
        case C::Copia1:
            return CopiaClick();
        case C::Esci1:
        case C::Chiudi1:
            return EsciClick();
        case C::Impostastampante1:
            return ImpostastampanteClick();
        case C::Anteprima1:
            return AnteprimaClick();
        case C::Stampa1:
            // The menu's "Stampa" shows what will be printed first.
            AnteprimaClick();
            return StampaClick();
        case C::Aumenta1:
            return AumentaClick();
        case C::Diminuisci1:
            return DiminuisciClick();
        case C::Verticale1:
            return OrientationClick(ui::Orientation::Portrait);
        case C::Orizzontale1:
            return OrientationClick(ui::Orientation::Landscape);
        case C::Paginaseg1:
            return PaginasegClick();
        case C::Paginainiz1:
            return PaginainizClick();
        default:
            return;
    }
}

void FormulaPrintPreview::show(const std::string& title, const std::string& folder) {
    title_ = title;
    folder_ = folder;
    w_.form.setCaption(title);
    zoom_ = notation::kZoomStart;
    selection_.clear();
    allSelected_ = false;
    anchor_ = cursor_ = -1;
    page_ = 0;
    source_ = s_.clipboard.hasBitmap() ? s_.clipboard.bitmap() : ui::Bitmap{};
    rows_ = notation::formulaRows(source_);
    stack_ = std::make_shared<ui::Bitmap>(rows_.empty() ? whitePicture(kBlankWidth, kBlankHeight)
                                                        : notation::stackRows(source_, rows_));
    factor_ = notation::screenPrintFactor(s_.printer.pageWidth(), s_.printer.pageHeight());
    item(C::Dimensionistampa1).setCaption(std::string(text::kFactorItem) + std::to_string(factor_));
    takeMainWindowPlace();
    showRows();
    w_.modal.showModal();
}

// ---- the row view

void FormulaPrintPreview::setPreviewMenus(bool preview) {
    for (PreviewCommand id : {C::MenuDimensioni, C::MenuOrientamento}) {
        item(id).setVisible(preview);
    }
    for (ui::Control* button : {&w_.Stampa, &w_.Esci, &w_.ImpostaStampante}) {
        button->setVisible(preview);
    }
    if (!preview) {
        item(C::Paginaseg1).setVisible(false);
        item(C::Paginainiz1).setVisible(false);
    }
}

void FormulaPrintPreview::showRows() {
    preview_ = false;
    zoom_ = notation::kZoomStart;
    setPreviewMenus(false);
    drawRows();
}

int FormulaPrintPreview::bandWidth() const {
    int widest = 0;
    for (const notation::FormulaRow& row : rows_) {
        widest = std::max(widest, row.width());
    }
    return std::max(1, std::min(s_.printer.pageWidth() / factor_ - 1, widest));
}

void FormulaPrintPreview::drawRows() {
    const ui::Rect area = w_.canvas.bounds();
    const int width = std::max(stack_->width, area.width);
    const int height = std::max(stack_->height + 30, area.height);
    std::vector<Shape> shapes;
    shapes.push_back(fill({0, 0, width, height}, ui::colors::kWhite));
    Shape picture;
    picture.kind = Shape::Kind::Picture;
    picture.rect = {0, 30, stack_->width, stack_->height};
    picture.picture = stack_;
    shapes.push_back(std::move(picture));
    if (rows_.empty()) {
        shapes.push_back(label(20, 24, std::string(text::kNoRows)));
    }
    const int band = source_.height + kRowGap;
    if (allSelected_) {
        Shape all;
        all.kind = Shape::Kind::Invert;
        all.rect = {0, kRowViewTop, width, height - kRowViewTop};
        shapes.push_back(std::move(all));
    } else {
        for (const int row : selection_) {
            Shape inverted;
            inverted.kind = Shape::Kind::Invert;
            inverted.rect = {0, kRowViewTop + row * band, bandWidth(), band};
            shapes.push_back(std::move(inverted));
        }
    }
    w_.canvas.setShapes(std::move(shapes), width, height);
}

void FormulaPrintPreview::selectRow(int row, bool extend) {
    if (rows_.empty()) {
        return;
    }
    row = std::clamp(row, 0, rowCount() - 1);
    allSelected_ = false;
    if (!extend || anchor_ < 0) {
        anchor_ = row;
    }
    cursor_ = row;
    selection_.clear();
    for (int k = std::min(anchor_, row); k <= std::max(anchor_, row); ++k) {
        selection_.push_back(k);
    }
    drawRows();
}

void FormulaPrintPreview::mouse(const ui::MouseEvent& e) {
    if (preview_) {
        return;
    }
    const int row = notation::rowAt(e.y, source_.height);
    switch (e.kind) {
        case ui::MouseEvent::Kind::Press:
            if (!e.leftButton) {
                return;
            }
            selection_.clear();
            allSelected_ = false;
            dragging_ = true;
            anchor_ = cursor_ = -1;
            if (row >= 0 && row < rowCount()) {
                selection_.push_back(row);
                anchor_ = cursor_ = row;
            }
            break;
        case ui::MouseEvent::Kind::Move:
            if (!dragging_ || !e.leftButton || row < 0 || row >= rowCount() ||
                std::find(selection_.begin(), selection_.end(), row) != selection_.end() ||
                static_cast<int>(selection_.size()) >= notation::kMaxPreviewRows) {
                return;
            }
            selection_.push_back(row);
            cursor_ = row;
            break;
        case ui::MouseEvent::Kind::Release:
            dragging_ = false;
            return;
    }
    drawRows();
}

void FormulaPrintPreview::SelezionatuttoClick() {
    if (preview_ || rows_.empty()) {
        return;
    }
    selection_.clear();
    allSelected_ = true;
    drawRows();
}

void FormulaPrintPreview::CopiaClick() {
    if (rows_.empty()) {
        s_.dialogs.warning(text::kNoRows);
        return;
    }
    if (allSelected_) {
        s_.clipboard.setBitmap(*stack_);
        allSelected_ = false;
        drawRows();
        return;
    }
    if (selection_.empty()) {
        s_.dialogs.warning(text::kNoSelection);
        return;
    }
    const auto [low, high] = std::minmax_element(selection_.begin(), selection_.end());
    const int band = source_.height + kRowGap;
    ui::Bitmap copy = whitePicture(bandWidth(), (*high - *low + 1) * band);
    copyBlock(*stack_, 0, notation::kStackTop + *low * band, copy.width, copy.height, copy, 0, 0);
    s_.clipboard.setBitmap(copy);
}

// ---- the page preview

void FormulaPrintPreview::AnteprimaClick() {
    if (!preview_) {
        preview_ = true;
        page_ = 0;
        firstRow_ = 0;
        selection_.clear();
        allSelected_ = false;
        setPreviewMenus(true);
        if (w_.mainWindow != nullptr && w_.mainWindow->maximized()) {
            w_.form.setMaximized(true);
        }
    }
    drawPreview();
}

void FormulaPrintPreview::showPreview() {
    if (preview_) {
        drawPreview();
    }
}

void FormulaPrintPreview::drawPreview() {
    const ui::Rect area = w_.canvas.bounds();
    const int pw = std::max(1, s_.printer.pageWidth());
    const int ph = std::max(1, s_.printer.pageHeight());
    const bool portrait = s_.printer.orientation() == ui::Orientation::Portrait;
    item(C::Verticale1).setChecked(portrait);
    item(C::Orizzontale1).setChecked(!portrait);

    int pageHeight = std::max(100, area.height - 90);
    int pageWidth = static_cast<int>(static_cast<long long>(pageHeight) * pw / ph);
    if (!portrait || pageWidth > area.width - 40) {
        pageWidth = std::max(100, area.width - 40);
        pageHeight = static_cast<int>(static_cast<long long>(pageWidth) * ph / pw);
    }
    const int left = std::max(0, (area.width - pageWidth) / 2);
    const int top = 10;
    std::vector<Shape> shapes;
    const int width = std::max(area.width, left + pageWidth);
    const int height = std::max(area.height, top + pageHeight + 60);
    shapes.push_back(fill({0, 0, width, height}, kGrey));
    shapes.push_back(fill({left, top, pageWidth, pageHeight}, ui::colors::kWhite));
    shapes.push_back(label(20, 20, std::string(text::kZoomLabel) + std::to_string(zoom_)));
    shapes.push_back(label(left, top + pageHeight + 16,
                           std::string(text::kRowCount) + std::to_string(rowCount())));

    // The rows as they fall on the printed page, scaled to the page on screen and by the zoom.
    const int factor = notation::printPrintFactor(pw);
    const double scale = static_cast<double>(pageHeight) / ph * factor * zoom_ / 100.0;
    const int h = source_.height;
    // At 100 % and below, a preview page holds the rows of a printed page; larger rows hold
    // as many as fit.
    const int perPage = rowsPerPrintedPage(ph, factor);
    const int firstRow = firstRow_;
    shownOnPage_ = 0;
    for (int row = firstRow; row < rowCount(); ++row) {
        const int j = row - firstRow;
        const int y = top + static_cast<int>((kRowViewTop + j * (h + kRowGap)) * scale);
        const int barHeight = std::max(1, static_cast<int>(h * scale));
        if ((zoom_ <= notation::kZoomStart && j >= perPage) ||
            (j > 0 && y + barHeight > top + pageHeight)) {
            break;
        }
        const int barWidth =
            std::max(1, static_cast<int>(rows_[static_cast<std::size_t>(row)].width() * scale));
        shapes.push_back(label(left + 6, y + barHeight / 2 + 4,
                               std::string(text::kRowLabel) + std::to_string(row + 1), 10));
        shapes.push_back(
            fill({left + 60, y, std::min(barWidth, pageWidth - 70), barHeight}, kBarGrey));
        ++shownOnPage_;
    }
    item(C::Paginaseg1).setVisible(firstRow + shownOnPage_ < rowCount());
    item(C::Paginainiz1).setVisible(page_ > 0);
    item(C::Aumenta1).setVisible(zoom_ < notation::kZoomMax);
    item(C::Diminuisci1).setVisible(zoom_ > notation::kZoomMin);

    // The buttons below the page.
    const int buttonsTop = area.top + top + pageHeight + 24;
    int x = area.left + left;
    for (ui::Control* button : {&w_.Stampa, &w_.Esci, &w_.ImpostaStampante}) {
        const ui::Rect r = button->bounds();
        button->setBounds({x, buttonsTop, r.width, r.height});
        x += r.width + 10;
    }
    w_.canvas.setShapes(std::move(shapes), width, height);
}

void FormulaPrintPreview::AumentaClick() {
    zoom_ = notation::zoomIn(zoom_);
    showPreview();
}

void FormulaPrintPreview::DiminuisciClick() {
    zoom_ = notation::zoomOut(zoom_);
    showPreview();
}

void FormulaPrintPreview::OrientationClick(ui::Orientation orientation) {
    s_.printer.setOrientation(orientation);
    page_ = 0;
    firstRow_ = 0;
    showPreview();
}

void FormulaPrintPreview::PaginasegClick() {
    if (preview_ && firstRow_ + shownOnPage_ < rowCount()) {
        ++page_;
        firstRow_ += shownOnPage_;
        drawPreview();
    }
}

void FormulaPrintPreview::PaginainizClick() {
    if (preview_) {
        page_ = 0;
        firstRow_ = 0;
        drawPreview();
    }
}

void FormulaPrintPreview::ImpostastampanteClick() {
    if (s_.dialogs.printerSetup()) {
        factor_ = notation::screenPrintFactor(s_.printer.pageWidth(), s_.printer.pageHeight());
        item(C::Dimensionistampa1)
            .setCaption(std::string(text::kFactorItem) + std::to_string(factor_));
    }
    if (preview_) {
        drawPreview();
    } else {
        drawRows();
    }
}

// ---- printing

int FormulaPrintPreview::rowsPerPrintedPage(int pageHeight, int factor) const {
    return notation::rowsPerPage(pageHeight, source_.height, factor);
}

std::vector<std::vector<int>> FormulaPrintPreview::printedPages() const {
    std::vector<std::vector<int>> pages;
    const int perPage = rowsPerPrintedPage(s_.printer.pageHeight(),
                                           notation::printPrintFactor(s_.printer.pageWidth()));
    for (int row = 0; row < rowCount(); ++row) {
        if (row % perPage == 0) {
            pages.emplace_back();
        }
        pages.back().push_back(row);
    }
    return pages;
}

void FormulaPrintPreview::StampaClick() {
    if (rows_.empty()) {
        s_.dialogs.warning(text::kNoRows);
        return;
    }
    if (!s_.dialogs.printDialog()) {
        return;
    }
    selection_.clear();
    allSelected_ = false;
    page_ = 0;
    firstRow_ = 0;
    const int pw = s_.printer.pageWidth();
    const int ph = s_.printer.pageHeight();
    const int factor = notation::printPrintFactor(pw);
    const int band = source_.height + kRowGap;
    std::vector<ui::PrintPage> pages;
    int number = 0;
    for (const std::vector<int>& rows : printedPages()) {
        ui::PrintPage page;
        page.picture = whitePicture(pw / factor, ph / factor);
        page.heading = title_ + std::string(text::kPageSuffix) + std::to_string(++number);
        for (std::size_t j = 0; j < rows.size(); ++j) {
            const notation::FormulaRow& row = rows_[static_cast<std::size_t>(rows[j])];
            copyBlock(source_, row.left, 0, row.width(), source_.height, page.picture, 10,
                      kRowViewTop + static_cast<int>(j) * band);
        }
        pages.push_back(std::move(page));
    }
    const std::string imageFile =
        folder_.empty() ? std::string()
                        : (std::filesystem::path(folder_) / text::kImageFile).string();
    if (!s_.printer.printPages(pages, imageFile)) {
        s_.dialogs.warning(text::kPrintFailed);
    }
    if (preview_) {
        drawPreview();
    } else {
        drawRows();
    }
}

// ---- closing and keys

void FormulaPrintPreview::EsciClick() {
    if (preview_) {
        showRows();
        return;
    }
    w_.modal.closeModal();
}

bool FormulaPrintPreview::FormCloseQuery() {
    if (preview_) {
        showRows();
        return false;
    }
    return true;
}

void FormulaPrintPreview::keyDown(ui::KeyEvent& event) {
    for (const PreviewMenuEntry& e : kMenu) {
        if (e.shortcut.matches(event.key, event.shift) && item(e.id).enabled()) {
            run(e.id);
            event.key = 0;
            return;
        }
    }
    const bool shift = event.shift == ui::shift::kShift;
    switch (event.key) {
        case ui::vk::kEscape:
            EsciClick();
            break;
        case ui::vk::kDown:
        case ui::vk::kUp:
            if (preview_ || (event.shift != 0 && !shift)) {
                return;
            }
            selectRow(cursor_ < 0 ? 0 : cursor_ + (event.key == ui::vk::kDown ? 1 : -1), shift);
            break;
        case ui::vk::kNext:
            PaginasegClick();
            break;
        case ui::vk::kHome:
            PaginainizClick();
            break;
        default:
            return;
    }
    event.key = 0;
}

}  // namespace editor
