#include "win32gui/workbench/formula_print_views.h"

#include <array>

#include "editor/window/menu_commands.h"

namespace win32gui {
namespace {

namespace text = editor::formula_print_text;
using K = ui::ControlKind;

constexpr int kConfirmationWidth = 320;
constexpr int kConfirmationHeight = 96;

// The question over the two buttons, side by side in the middle.
constexpr std::array kConfirmation = {
    ui::ControlSpec{.name = "Label1",
                    .kind = K::Label,
                    .caption = text::kQuestion,
                    .bounds = {16, 16, kConfirmationWidth - 32, 20}},
    ui::ControlSpec{.name = "Procedi",
                    .kind = K::Button,
                    .caption = text::kProcedi,
                    .bounds = {kConfirmationWidth / 2 - 110, 52, 100, 26}},
    ui::ControlSpec{.name = "Esci",
                    .kind = K::Button,
                    .caption = text::kEsci,
                    .bounds = {kConfirmationWidth / 2 + 10, 52, 100, 26}},
};

// The canvas fills the window; the logic moves the buttons below the page it draws.
constexpr std::array kPreview = {
    ui::ControlSpec{
        .name = "Stampa", .kind = K::Button, .caption = "Stampa", .bounds = {8, 8, 120, 26}},
    ui::ControlSpec{
        .name = "Esci", .kind = K::Button, .caption = "Esci", .bounds = {138, 8, 120, 26}},
    ui::ControlSpec{.name = "ImpostaStampante",
                    .kind = K::Button,
                    .caption = "Imposta stampante",
                    .bounds = {268, 8, 120, 26}},
    ui::ControlSpec{.name = "Canvas",
                    .kind = K::Canvas,
                    .bounds = {0, 0, 640, 480},
                    .accessibleName = "Formule"},
};

}  // namespace

FormulaPrintDialogView::FormulaPrintDialogView(HWND owner)
    : window_(std::make_unique<Win32Window>(WindowOptions{.clientWidth = kConfirmationWidth,
                                                          .clientHeight = kConfirmationHeight,
                                                          .dialog = true,
                                                          .owner = owner})),
      modal_(std::make_unique<Win32Modal>(*window_)),
      controls_(
          std::make_unique<ControlSet>(*window_, kConfirmation, [] { return std::string(); })) {
    ControlSet& c = *controls_;
    HWND question = c.handle("Label1");
    SetWindowLongW(question, GWL_STYLE, GetWindowLongW(question, GWL_STYLE) | SS_CENTER);
    window_->setDefaultButton(c.handle("Procedi"));
    logic_ = std::make_unique<editor::TForm8>(editor::FormulaPrintDialogWidgets{
        *window_, *modal_, c.control("Label1"), c.control("Procedi"), c.control("Esci")});
}

FormulaPrintDialogView::~FormulaPrintDialogView() {
    // The adapters before the logic; the window last.
    window_->setKeyListener(nullptr);
    window_->setOnActivate({});
    window_->setOnCloseQuery({});
    controls_->clear();
    logic_.reset();
    controls_.reset();
    modal_.reset();
    window_.reset();
}

FormulaPreviewView::FormulaPreviewView(HWND owner, const ui::Window& mainWindow,
                                       ui::Dialogs& dialogs, ui::Clipboard& clipboard,
                                       ui::Printer& printer) {
    window_ = std::make_unique<Win32Window>(WindowOptions{.clientWidth = 640,
                                                          .clientHeight = 480,
                                                          .owner = owner,
                                                          .minWidth = 320,
                                                          .minHeight = 240});
    HWND hwnd = window_->handle();
    SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_MINIMIZEBOX);
    menu_.build(editor::previewMenuTable(),
                [](const ui::Shortcut& s) { return editor::shortcutText(s); });
    menu_.setWindow(hwnd);
    window_->setMenuBar(&menu_);
    modal_ = std::make_unique<Win32Modal>(*window_);
    controls_ =
        std::make_unique<ControlSet>(*window_, kPreview, [&clipboard] { return clipboard.text(); });
    ControlSet& c = *controls_;
    // The canvas lies behind the buttons the logic puts over it, and fills the window.
    SetWindowPos(c.handle("Canvas"), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    window_->setOnLayout([this] {
        if (controls_) {
            controls_->canvas("Canvas").setBounds(
                {0, 0, window_->clientWidth(), window_->clientHeight()});
        }
    });
    logic_ = std::make_unique<editor::FormulaPrintPreview>(
        editor::FormulaPreviewWidgets{*window_, *modal_, menu_, c.canvas("Canvas"),
                                      c.control("Stampa"), c.control("Esci"),
                                      c.control("ImpostaStampante"), &mainWindow},
        editor::FormulaPreviewServices{dialogs, clipboard, printer});
}

FormulaPreviewView::~FormulaPreviewView() {
    // The adapters before the logic; the window last.
    window_->setKeyListener(nullptr);
    window_->setOnActivate({});
    window_->setOnResize({});
    window_->setOnCloseQuery({});
    window_->setOnLayout({});
    controls_->clear();
    logic_.reset();
    controls_.reset();
    modal_.reset();
    window_->setMenuBar(nullptr);
    window_.reset();
}

}  // namespace win32gui
