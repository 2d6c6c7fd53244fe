#include "editor/window/main_window_controls.h"

#include <array>

#include "editor/messages.h"
#include "editor/window/main_window.h"

namespace editor {
namespace {

using K = ui::ControlKind;
using ui::ControlSpec;

constexpr int kLeft = TForm1::kEditorLeft;
constexpr int kTop = TForm1::kEditorTop;

// Button row under the labels.
constexpr ControlSpec button(std::string_view name, std::string_view caption, int left, int width) {
    return {name, K::Button, caption, {left, 26, width, 24}};
}

// A text of the about panel.
constexpr ControlSpec aboutText(std::string_view name, std::string_view caption, int top,
                                int height, int pixels, bool bold) {
    return {name, K::Label, caption, {20, top, 410, height}, {}, "Panel1", true, {}, pixels, bold};
}

const std::array kControls = {
    // The mode, input and speech labels, the page strip and the status bar are heard by what
    // they show (the strip by the name its logic gives it); what they are for is their
    // description, set by the window's logic.
    ControlSpec{"Label1", K::Label, {}, {16, 4, 190, 20}},
    ControlSpec{"Label2", K::Label, {}, {210, 4, 190, 20}},
    ControlSpec{"Label4", K::Label, {}, {404, 4, 260, 20}},
    ControlSpec{"Label3", K::Label, {}, {16, 54, 760, 18}, {}, {}, true, "Courier", 12, true},
    button("Converti", text::kBrailleMode, 16, 120),
    button("Funzioni", text::kButtonFunzioni, 140, 76),
    button("Operatori", text::kButtonOperatori, 218, 76),
    button("Insiemistica", text::kButtonInsiemistica, 296, 76),
    button("Logica", text::kButtonLogica, 374, 76),
    button("Greche", text::kButtonGreche, 452, 76),
    button("Simboli", text::kButtonSimboli, 530, 76),
    button("VisualLineare", text::kButtonVisualLineare, 140, 130),
    button("EditorGrafico", text::kButtonEditorGrafico, 610, 96),
    button("Mathml", text::kButtonMathml, 710, 66),
    ControlSpec{"TabControl1", K::TabBar, {}, {kLeft, 74, 760, 26}, "Pagine"},
    ControlSpec{"Memo1", K::Memo, {}, {kLeft, kTop, 760, 400}, "Editor Latex"},
    ControlSpec{"Memo2", K::Memo, {}, {kLeft, kTop, 760, 200}, "Editor Braille"},
    ControlSpec{
        "Edit3", K::LineEdit, {}, {kLeft, kTop, 200, 22}, "Celle in composizione", {}, false},
    ControlSpec{
        "Image1", K::MathView, {}, {kLeft, kTop + 200, 760, 200}, "Visualizzazione lineare"},
    ControlSpec{
        "Image3", K::Image, {}, {kLeft, kTop + 300, 760, 100}, "Legenda dei simboli", {}, false},
    ControlSpec{"Simb", K::Button, text::kButtonSimb, {0, 0, 44, 22}},
    ControlSpec{"ListBox1", K::ListBox, {}, {140, kTop, 220, 260}, "Simboli", {}, false},
    ControlSpec{"ListBox2", K::ListBox, {}, {140, kTop, 220, 260}, "Testi dei simboli", {}, false},
    // The about panel, centred by the window's logic.
    ControlSpec{"Panel1", K::Panel, {}, {175, 135, 450, 330}, "Informazioni su Tattilo"},
    aboutText("AboutName", text::kAboutName, 16, 40, 28, true),
    aboutText("AboutVersion", text::kAboutVersion, 58, 22, 14, false),
    aboutText("AboutCredits", text::kAboutCredits, 84, 52, 13, false),
    ControlSpec{"Label5", K::Link, text::kAboutLink1, {125, 140, 200, 24}, {}, "Panel1"},
    ControlSpec{"Label6", K::Link, text::kAboutLink2, {125, 168, 200, 24}, {}, "Panel1"},
    aboutText("AboutScreenReader", text::kAboutScreenReader, 198, 56, 12, false),
    ControlSpec{"Button1", K::Button, text::kAboutOk, {185, 270, 80, 28}, {}, "Panel1"},
    ControlSpec{"StatusBar1", K::StatusText, {}, {}},
};

}  // namespace

std::span<const ui::ControlSpec> mainWindowControls() {
    return kControls;
}

}  // namespace editor
