#include "editor/settings/settings_dialog_controls.h"

#include <array>

#include "editor/messages.h"

namespace editor {
namespace {

using K = ui::ControlKind;
using ui::ControlSpec;

constexpr int kFieldLeft = 240;

// A label at `top` and its field beside it.
constexpr ControlSpec label(std::string_view name, std::string_view caption, int top,
                            int left = 12) {
    return {name, K::Label, caption, {left, top + 3, kFieldLeft - left - 6, 20}};
}
constexpr ControlSpec field(std::string_view name, int top, int width = 130) {
    return {name, K::LineEdit, {}, {kFieldLeft, top, width, 24}};
}
// The browse button beside the field at `top`.
constexpr ControlSpec browse(std::string_view name, int top, std::string_view accessibleName) {
    return {name, K::Button, text::kButtonBrowse, {378, top - 1, 78, 26}, accessibleName};
}

const std::array kControls = {
    label("LabelEditor", text::kLabelEditor, 12),
    field("EditEditor", 12),
    browse("SfogliaEditor", 12, "Sfoglia editor grafico"),
    label("LabelWorkDir", text::kLabelWorkDir, 44),
    field("EditWorkDir", 44),
    browse("SfogliaDir", 44, "Sfoglia directory lavoro"),
    label("LabelExchange", text::kLabelExchangeFile, 76),
    field("EditExchange", 76),
    ControlSpec{"GroupExchange", K::GroupBox, text::kGroupExchangeMode, {12, 106, 444, 54}},
    ControlSpec{"RadioTutto", K::RadioButton, text::kRadioAll, {26, 128, 120, 22}},
    ControlSpec{"RadioSelezione", K::RadioButton, text::kRadioSelection, {160, 128, 220, 22}},
    label("LabelFont", text::kLabelFont, 168),
    field("EditFont", 168),
    label("LabelFilter", text::kLabelFilter, 200),
    field("EditFilter", 200),
    label("LabelTimer", text::kLabelTimer, 232),
    field("EditTimer", 232, 70),
    label("LabelSpeed", text::kLabelSpeed, 264),
    field("EditSpeed", 264, 70),
    ControlSpec{"CheckDisplay", K::CheckBox, text::kCheckDisplay, {12, 296, 444, 22}},
    ControlSpec{"GroupPrinter", K::GroupBox, text::kGroupPrinter, {12, 324, 444, 72}},
    label("LabelChars", text::kLabelChars, 342, 26),
    field("EditChars", 342, 70),
    label("LabelLines", text::kLabelLines, 368, 26),
    field("EditLines", 368, 70),
    ControlSpec{"ButtonOk", K::Button, text::kButtonOk, {290, 404, 78, 26}},
    ControlSpec{"ButtonEsci", K::Button, text::kButtonEsci, {378, 404, 78, 26}},
};

}  // namespace

std::span<const ui::ControlSpec> settingsDialogControls() {
    return kControls;
}

}  // namespace editor
