#include "gui/formula_preview_view.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "editor/window/menu_commands.h"
#include "gui/text_bridge.h"

namespace gui {

namespace {

QColor colour(ui::Color c) {
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

QImage toImage(const ui::Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::copy(bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width,
                  bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * bitmap.width, line);
    }
    return image;
}

QRect toQRect(const ui::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

}  // namespace

CanvasSurface::CanvasSurface(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
}

void CanvasSurface::setShapes(std::vector<ui::Shape> shapes) {
    shapes_ = std::move(shapes);
    // Pictures are converted once, not at every paint.
    std::vector<std::pair<const ui::Bitmap*, QImage>> kept;
    for (const ui::Shape& s : shapes_) {
        if (s.kind != ui::Shape::Kind::Picture || !s.picture || s.picture->empty()) {
            continue;
        }
        const ui::Bitmap* key = s.picture.get();
        auto found = std::find_if(images_.begin(), images_.end(),
                                  [&](const auto& p) { return p.first == key; });
        kept.emplace_back(key, found != images_.end() ? found->second : toImage(*key));
    }
    images_ = std::move(kept);
    update();
}

void CanvasSurface::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (const ui::Shape& s : shapes_) {
        switch (s.kind) {
            case ui::Shape::Kind::Fill:
                painter.fillRect(toQRect(s.rect), colour(s.color));
                break;
            case ui::Shape::Kind::Picture:
                for (const auto& [key, image] : images_) {
                    if (key == s.picture.get()) {
                        painter.drawImage(toQRect(s.rect), image);
                    }
                }
                break;
            case ui::Shape::Kind::Text: {
                QFont font = painter.font();
                font.setPixelSize(s.pixelSize);
                painter.setFont(font);
                painter.setPen(colour(s.color));
                painter.drawText(s.rect.left, s.rect.top, toQString(s.text));
                break;
            }
            case ui::Shape::Kind::Invert:
                painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                painter.fillRect(toQRect(s.rect), Qt::white);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                break;
        }
    }
}

void CanvasSurface::forward(ui::MouseEvent::Kind kind, QMouseEvent* event) {
    if (onMouse_) {
        const QPoint p = event->position().toPoint();
        const bool left = kind == ui::MouseEvent::Kind::Press
                              ? event->button() == Qt::LeftButton
                              : (event->buttons() & Qt::LeftButton) != 0;
        onMouse_({kind, p.x(), p.y(), left});
    }
}

void CanvasSurface::mousePressEvent(QMouseEvent* event) {
    forward(ui::MouseEvent::Kind::Press, event);
}

void CanvasSurface::mouseMoveEvent(QMouseEvent* event) {
    forward(ui::MouseEvent::Kind::Move, event);
}

void CanvasSurface::mouseReleaseEvent(QMouseEvent* event) {
    forward(ui::MouseEvent::Kind::Release, event);
}

QtCanvas::QtCanvas(QScrollArea* area)
    : QtWidget(area), area_(area), surface_(new CanvasSurface(area)) {
    area_->setWidget(surface_);
    area_->setWidgetResizable(false);
}

void QtCanvas::setShapes(std::vector<ui::Shape> shapes, int width, int height) {
    surface_->resize(width, height);
    surface_->setShapes(std::move(shapes));
}

void QtCanvas::setOnMouse(std::function<void(const ui::MouseEvent&)> callback) {
    surface_->setOnMouse(std::move(callback));
}

FormulaPreviewView::FormulaPreviewView(QWidget* parent, const ui::Window& mainWindow,
                                       ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                       ui::Printer& printer)
    : dialog_(new QDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("FormulaPreview"));
    dialog_->setAccessibleName(QStringLiteral("Stampa formule"));
    dialog_->setModal(true);
    auto* layout = new QVBoxLayout(dialog_);
    auto* bar = new QMenuBar(dialog_);
    layout->setMenuBar(bar);

    std::map<editor::PreviewCommand, QMenu*> menus;
    for (const editor::PreviewMenuEntry& e : editor::previewMenuTable()) {
        const QString caption = toQString(e.caption);
        if (e.parent == editor::PreviewCommand::None) {
            const bool isMenu = std::any_of(
                editor::previewMenuTable().begin(), editor::previewMenuTable().end(),
                [&](const editor::PreviewMenuEntry& child) { return child.parent == e.id; });
            if (isMenu) {
                QMenu* menu = bar->addMenu(caption);
                menu->setObjectName(toQString(e.name));
                menus[e.id] = menu;
                menu_.add(static_cast<int>(e.id),
                          std::make_unique<QtAction>(menu->menuAction(), nullptr));
                continue;
            }
            // An item straight on the menu bar ("Pagina seg.", "Chiudi").
            QAction* action = bar->addAction(caption);
            action->setObjectName(toQString(e.name));
            menu_.add(static_cast<int>(e.id), std::make_unique<QtAction>(action));
            continue;
        }
        QAction* action = menus.at(e.parent)->addAction(caption);
        action->setObjectName(toQString(e.name));
        action->setCheckable(e.id == editor::PreviewCommand::Verticale1 ||
                             e.id == editor::PreviewCommand::Orizzontale1);
        if (!e.shortcut.empty()) {
            action->setShortcut(
                QKeySequence(QString::fromLatin1(editor::shortcutText(e.shortcut))));
            // Shown in the menu and told to screen readers; the window logic does the work.
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        menu_.add(static_cast<int>(e.id), std::make_unique<QtAction>(action));
    }

    auto* area = new QScrollArea;
    area->setObjectName(QStringLiteral("Canvas"));
    area->setAccessibleName(QStringLiteral("Formule"));
    area->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(area, 1);
    auto button = [&](const char* object, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), dialog_);
        b->setObjectName(QString::fromLatin1(object));
        b->setAccessibleName(QString::fromLatin1(caption));
        b->resize(120, 26);
        return std::make_unique<QtButton>(b);
    };
    stampa_ = button("Stampa", "Stampa");
    esci_ = button("Esci", "Esci");
    imposta_ = button("ImpostaStampante", "Imposta stampante");

    window_ = std::make_unique<QtWindow>(dialog_, dialog_);
    modal_ = std::make_unique<QtModal>(dialog_);
    canvas_ = std::make_unique<QtCanvas>(area);
    logic_ = std::make_unique<editor::FormulaPrintPreview>(
        editor::FormulaPreviewWidgets{*window_, *modal_, menu_, *canvas_, *stampa_, *esci_,
                                      *imposta_, &mainWindow},
        editor::FormulaPreviewServices{dialogs, clipboard, printer});
}

FormulaPreviewView::~FormulaPreviewView() {
    // Adapters before the logic; the dialog goes with its parent window.
    window_.reset();
    canvas_.reset();
    stampa_.reset();
    esci_.reset();
    imposta_.reset();
    menu_.clear();
    logic_.reset();
}

}  // namespace gui
