#pragma once

// The formula print preview ("Tattilo  Stampa formule - " and the document name): shown by
// "Stampa formule" when the graphic editor leaves the typeset formulas of a page on the
// clipboard as one picture. It cuts the picture into one row per formula at the double bars
// (notation/formula_preview_image.h), shows the rows stacked, lets the user choose rows (mouse,
// or Up/Down with Shift), copy them back to the clipboard as a picture, preview the printed
// pages (zoom, orientation, next and first page) and print them through the print dialog.
// Each printed page is also saved as "img.bmp" in the exercise folder.
//
// The window's logic only: it composes what the canvas shows as shapes and reaches the menu,
// the buttons, the clipboard, the printer and the dialogs through the ui interfaces.
//
// Ownership: keeps references to its widgets and services; the builder keeps them alive.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "notation/formula_preview_image.h"
#include "ui/dialogs.h"
#include "ui/services.h"
#include "ui/widgets.h"

namespace editor {

namespace formula_preview_text {
inline constexpr std::string_view kFactorItem = "Dimensioni stampa : ";
inline constexpr std::string_view kZoomLabel = "% orig. ";
inline constexpr std::string_view kRowCount = "Tot.num.righe ";
inline constexpr std::string_view kRowLabel = "riga ";
inline constexpr std::string_view kPageSuffix = " - pag.";
inline constexpr std::string_view kImageFile = "img.bmp";
// Said when there is nothing to copy or print, instead of doing nothing.
inline constexpr std::string_view kNoRows =
    "Negli appunti non ci sono formule da stampare: nessuna riga trovata";
inline constexpr std::string_view kNoSelection = "Nessuna riga selezionata";
inline constexpr std::string_view kPrintFailed = "Errore durante la stampa";
}  // namespace formula_preview_text

enum class PreviewCommand : int {
    None = 0,
    MenuModifica,
    Selezionatutto1,
    Copia1,
    Esci1,
    MenuStampa,
    Impostastampante1,
    Anteprima1,
    Stampa1,
    MenuDimensioni,
    Aumenta1,
    Diminuisci1,
    Dimensionistampa1,  // hidden: holds the print size factor
    MenuOrientamento,
    Verticale1,
    Orizzontale1,
    Paginaseg1,
    Paginainiz1,
    Chiudi1,
    Count
};

struct PreviewMenuEntry {
    PreviewCommand id;
    PreviewCommand parent;  // None for a menu of the menu bar
    std::string_view name;
    std::string_view caption;
    ui::Shortcut shortcut;
};

// The preview's menus in order, with their captions and shortcuts.
std::span<const PreviewMenuEntry> previewMenuTable();

struct FormulaPreviewWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::MenuBar& menu;  // items by PreviewCommand
    ui::Canvas& canvas;
    ui::Control& Stampa;  // the buttons below the page preview
    ui::Control& Esci;
    ui::Control& ImpostaStampante;
    // The main window: the preview opens in its place and size, maximised when it is.
    const ui::Window* mainWindow = nullptr;
};

struct FormulaPreviewServices {
    ui::Dialogs& dialogs;
    ui::Clipboard& clipboard;
    ui::Printer& printer;
};

class FormulaPrintPreview : public ui::KeyListener {
public:
    FormulaPrintPreview(FormulaPreviewWidgets widgets, FormulaPreviewServices services);
    FormulaPrintPreview(const FormulaPrintPreview&) = delete;
    FormulaPrintPreview& operator=(const FormulaPrintPreview&) = delete;

    // Takes the clipboard's picture, captions the window `title` and shows it modally;
    // `folder` is the exercise folder, where the page picture of each printed page goes.
    void show(const std::string& title, const std::string& folder);

    // ---- state, for the view and for tests
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int rowHeight() const { return source_.height; }
    const std::vector<int>& selection() const { return selection_; }
    bool allSelected() const { return allSelected_; }
    bool previewShown() const { return preview_; }
    int zoom() const { return zoom_; }
    int pageIndex() const { return page_; }
    int rowsShownOnPage() const { return shownOnPage_; }
    int factor() const { return factor_; }
    const ui::Bitmap& stack() const { return *stack_; }
    // The rows of the printout, page by page (after print or previewPages()).
    std::vector<std::vector<int>> printedPages() const;

    // ---- commands and events
    void SelezionatuttoClick();
    void CopiaClick();
    void AnteprimaClick();
    void StampaClick();
    void ImpostastampanteClick();
    void AumentaClick();
    void DiminuisciClick();
    void OrientationClick(ui::Orientation orientation);
    void PaginasegClick();
    void PaginainizClick();
    void EsciClick();  // "Esci", "Chiudi", Del, Esc and closing the window
    bool FormCloseQuery();
    void mouse(const ui::MouseEvent& event);

    void keyDown(ui::KeyEvent& event) override;

private:
    ui::Control& item(PreviewCommand id) { return w_.menu.item(static_cast<int>(id)); }
    void run(PreviewCommand id);
    void takeMainWindowPlace();
    void redraw();
    void showRows();
    void showPreview();
    void drawRows();
    void drawPreview();
    void setPreviewMenus(bool preview);
    void selectRow(int row, bool extend);
    int bandWidth() const;
    int rowsPerPrintedPage(int pageHeight, int factor) const;

    FormulaPreviewWidgets w_;
    FormulaPreviewServices s_;
    std::string title_;
    std::string folder_;
    ui::Bitmap source_;
    std::vector<notation::FormulaRow> rows_;
    std::shared_ptr<const ui::Bitmap> stack_;
    std::vector<int> selection_;
    bool allSelected_ = false;
    bool dragging_ = false;
    int anchor_ = -1;  // where a keyboard selection started
    int cursor_ = -1;  // the row the keyboard is on
    bool preview_ = false;
    int zoom_ = notation::kZoomStart;
    int page_ = 0;
    int firstRow_ = 0;  // the first row on the preview page
    int shownOnPage_ = 0;
    int factor_ = 1;
};

}  // namespace editor
