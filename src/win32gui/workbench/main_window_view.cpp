#include "win32gui/workbench/main_window_view.h"

#include "editor/window/main_window_controls.h"
#include "editor/window/menu_commands.h"
#include "win32gui/dpi.h"
#include "win32gui/services/program_fonts.h"

namespace win32gui {
namespace {

// The about panel's colours.
constexpr ui::Color kPanelBackground = 0x002060;

}  // namespace

MainWindowView::MainWindowView(MainWindowOptions options) {
    window_ = std::make_unique<Win32Window>(
        WindowOptions{.clientWidth = editor::TForm1::kDefaultWidth,
                      .clientHeight = editor::TForm1::kDefaultHeight - 60,
                      .statusBar = true,
                      .minWidth = 480,
                      .minHeight = 360});
    HWND hwnd = window_->handle();
    if (options.dialogs != nullptr) {
        dialogs_ = options.dialogs;
    } else {
        ownDialogs_ = std::make_unique<Win32Dialogs>(hwnd, printerChoice_);
        dialogs_ = ownDialogs_.get();
    }
    if (options.environment.fontDirectories.empty()) {
        // The Windows fonts folder, and the program's own, whose fonts it loads itself.
        options.environment.fontDirectories = {windowsFontsFolder(),
                                               options.environment.programDirectory / "fonts"};
    }

    // ---- menu bar, from the command table
    menu_.build(editor::menuTable(), [](const ui::Shortcut& s) { return editor::shortcutText(s); });
    menu_.setWindow(hwnd);
    window_->setMenuBar(&menu_);

    // ---- controls, from the window's table
    controls_ = std::make_unique<ControlSet>(
        *window_, editor::mainWindowControls(), [this] { return clipboard_.text(); }, &fonts_);
    ControlSet& c = *controls_;
    c.widget("Panel1").setBackgroundColor(kPanelBackground);
    c.widget("Panel1").setTextColor(ui::colors::kWhite);
    {
        // Drawn in the screen's own pixels, shown as it was drawn.
        Win32ImageView& legend = c.image("Image3");
        const ui::Bitmap picture = legendBitmap(fonts_, toScreen(legend.bounds().width));
        legend.setBitmap(picture);
        ui::Rect r = legend.bounds();
        r.width = toLogical(picture.width);
        r.height = toLogical(picture.height);
        legend.setBounds(r);
    }
    // All fifteen page tabs fit in the window's default width.
    {
        HWND tabs = c.handle("TabControl1");
        tabFont_ = createFont({"Tahoma", 11, 0});
        SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(tabFont_), FALSE);
        TabCtrl_SetPadding(tabs, toScreen(4), toScreen(3));
    }
    // What lies over the editors and the strip comes in front, as it shows.
    for (const char* overlay : {"Image3", "Simb", "ListBox1", "Panel1"}) {
        c.raise(overlay);
    }

    settings_ =
        std::make_unique<SettingsDialogView>(hwnd, *dialogs_, [this] { return clipboard_.text(); });
    logic_ = std::make_unique<editor::TForm1>(
        editor::MainWindowWidgets{*window_,
                                  menu_,
                                  c.textBox("Memo1"),
                                  c.textBox("Memo2"),
                                  c.textBox("Edit3"),
                                  c.control("Label1"),
                                  c.control("Label2"),
                                  c.control("Label3"),
                                  c.control("Label4"),
                                  c.tabBar("TabControl1"),
                                  c.control("StatusBar1"),
                                  c.mathView("Image1"),
                                  c.image("Image3"),
                                  c.control("Converti"),
                                  c.control("Funzioni"),
                                  c.control("Operatori"),
                                  c.control("Insiemistica"),
                                  c.control("Logica"),
                                  c.control("Greche"),
                                  c.control("Simboli"),
                                  c.control("EditorGrafico"),
                                  c.control("VisualLineare"),
                                  c.control("Mathml"),
                                  c.control("Simb"),
                                  c.listBox("ListBox1"),
                                  c.listBox("ListBox2"),
                                  c.widget("Panel1"),
                                  c.control("Button1"),
                                  c.control("Label5"),
                                  c.control("Label6"),
                                  timer1_,
                                  timer2_},
        editor::MainWindowServices{*dialogs_, clipboard_, shell_, printer_, keyboard_},
        options.environment, settings_->logic(), options.speech, std::move(options.hooks));
    workbench_ = std::make_unique<editor::Workbench>(*logic_);
    workbench_->start(recoveryTimer_, options);

    calcSheet_ = std::make_unique<CalcSheetView>(
        hwnd, CalcSheetOptions{clipboard_, keyboard_, *dialogs_, std::move(options.sheetEngine),
                               options.sheetVoice, workbench_->calcSheetHost()});
    workbench_->attachCalculationSheet(calcSheet_->logic());

    structure_ =
        std::make_unique<StructureWindow>(hwnd, *dialogs_, clipboard_, workbench_->structureHost());
    decomposition_ = std::make_unique<DecompositionWindow>(
        hwnd, *dialogs_, clipboard_, workbench_->decompositionHost(), &calcSheet_->logic());
    workbench_->attachLearningTools(structure_->logic(), decomposition_->logic());
    for (auto kind : {learning::TutorKind::Brackets, learning::TutorKind::Operations,
                      learning::TutorKind::ComplexFractions}) {
        tutors_.push_back(
            std::make_unique<TutorView>(hwnd, kind, *logic_, *dialogs_, clipboard_, fonts_));
    }
    workbench_->attachTutors(tutor(learning::TutorKind::Brackets).logic(),
                             tutor(learning::TutorKind::Operations).logic(),
                             tutor(learning::TutorKind::ComplexFractions).logic());

    formulaPrint_ = std::make_unique<FormulaPrintDialogView>(hwnd);
    formulaPreview_ =
        std::make_unique<FormulaPreviewView>(hwnd, *window_, *dialogs_, clipboard_, printer_);
    workbench_->attachFormulaPrinting(formulaPrint_->logic(), formulaPreview_->logic());

    // The links turn red under the mouse, white again over the panel.
    auto native = [&c](std::string_view name) -> NativeWidget& {
        return dynamic_cast<NativeWidget&>(c.widget(name));
    };
    native("Label5").setOnMouseMove([this] { logic_->LinkMouseMove(1); });
    native("Label6").setOnMouseMove([this] { logic_->LinkMouseMove(2); });
    native("Panel1").setOnMouseMove([this] { logic_->Panel1MouseMove(); });

    // Closing the window, once the close query allowed it, ends the program.
    window_->setOnClosed([this] {
        ShowWindow(window_->handle(), SW_HIDE);
        PostQuitMessage(0);
    });
}

MainWindowView::~MainWindowView() {
    // The adapters first: after them nothing reaches the logic, which goes next; the window
    // last, with its controls.
    window_->setKeyListener(nullptr);
    window_->setOnActivate({});
    window_->setOnResize({});
    window_->setOnCloseQuery({});
    window_->setOnClosed({});
    controls_->clear();
    timer1_.setEnabled(false);
    timer2_.setEnabled(false);
    recoveryTimer_.setEnabled(false);
    formulaPreview_.reset();
    formulaPrint_.reset();
    tutors_.clear();
    decomposition_.reset();
    structure_.reset();
    calcSheet_.reset();
    settings_.reset();
    workbench_.reset();
    logic_.reset();
    controls_.reset();
    window_->setMenuBar(nullptr);
    window_.reset();
    if (tabFont_ != nullptr) {
        DeleteObject(tabFont_);
    }
}

}  // namespace win32gui
