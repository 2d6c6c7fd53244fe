#pragma once

// The formula print preview on Qt: a dialog with the preview's menus, a scrolled canvas that
// draws the shapes the logic composes (the stacked rows, the page preview) and the buttons
// "Stampa", "Esci" and "Imposta stampante", wired to FormulaPrintPreview.

#include <QDialog>
#include <QScrollArea>
#include <memory>
#include <vector>

#include "editor/printing/formula_preview.h"
#include "gui/qt_services.h"
#include "gui/qt_widgets.h"
#include "gui/qt_window.h"

namespace gui {

// The surface inside the scroll area.
class CanvasSurface : public QWidget {
public:
    explicit CanvasSurface(QWidget* parent);
    void setShapes(std::vector<ui::Shape> shapes);
    void setOnMouse(std::function<void(const ui::MouseEvent&)> callback) {
        onMouse_ = std::move(callback);
    }
    const std::vector<ui::Shape>& shapes() const { return shapes_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void forward(ui::MouseEvent::Kind kind, QMouseEvent* event);
    std::vector<ui::Shape> shapes_;
    std::vector<std::pair<const ui::Bitmap*, QImage>> images_;
    std::function<void(const ui::MouseEvent&)> onMouse_;
};

// The ui::Canvas: the scroll area's place and size, the surface's shapes.
class QtCanvas : public QtWidget<ui::Canvas> {
public:
    explicit QtCanvas(QScrollArea* area);
    void setShapes(std::vector<ui::Shape> shapes, int width, int height) override;
    void setOnMouse(std::function<void(const ui::MouseEvent&)> callback) override;
    CanvasSurface* surface() const { return surface_; }

private:
    QScrollArea* area_;
    CanvasSurface* surface_;
};

class FormulaPreviewView {
public:
    // `mainWindow`: whose place and size the preview takes when it opens.
    FormulaPreviewView(QWidget* parent, const ui::Window& mainWindow, ui::Dialogs& dialogs,
                       ui::Clipboard& clipboard, ui::Printer& printer);
    ~FormulaPreviewView();
    FormulaPreviewView(const FormulaPreviewView&) = delete;
    FormulaPreviewView& operator=(const FormulaPreviewView&) = delete;

    QDialog& dialog() { return *dialog_; }
    editor::FormulaPrintPreview& logic() { return *logic_; }
    QtCanvas& canvas() { return *canvas_; }

private:
    QDialog* dialog_;
    std::unique_ptr<QtWindow> window_;
    std::unique_ptr<QtModal> modal_;
    QtMenuBar menu_;
    std::unique_ptr<QtCanvas> canvas_;
    std::unique_ptr<QtButton> stampa_;
    std::unique_ptr<QtButton> esci_;
    std::unique_ptr<QtButton> imposta_;
    std::unique_ptr<editor::FormulaPrintPreview> logic_;
};

}  // namespace gui
