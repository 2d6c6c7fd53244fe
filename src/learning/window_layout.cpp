#include "learning/window_layout.h"

#include <array>

#include "learning/messages.h"

namespace learning {
namespace {

namespace msg = learning::messages;
using K = ControlKind;

// What screen readers call the sheet's and the tutors' boxes.
constexpr std::string_view kNameExpression = "Espressione";
constexpr std::string_view kNameColumns = "Calcolo in colonna";
constexpr std::string_view kNameResult = "Risultato";
constexpr std::string_view kNameRemainder = "Resto";
constexpr std::string_view kNameStatus = "Esito";
constexpr std::string_view kNameWork = "Passaggi";
constexpr std::string_view kNamePicture = "Visualizzazione lineare";

// The Braille cells of the sheet and the tutors, a little smaller than in the main window's
// editor; the structure view and the decomposition use the editor's size (0).
constexpr int kSmallFontPixels = 24;
constexpr int kEditorFont = 0;
// Room a memo needs beyond its lines of text: its frame and margins.
constexpr int kBoxMargin = 12;

// Room for the longest column (thirteen rows) and its widest row, like a column on paper.
constexpr int kColumnLines = 14;
constexpr int kColumnCells = 14;

constexpr ControlSpec control(ControlKind kind, std::string_view name,
                              std::string_view accessibleName, Cell cell) {
    return {.kind = kind, .name = name, .accessibleName = accessibleName, .cell = cell};
}

constexpr ControlSpec button(std::string_view name, Cell cell) {
    return control(K::Button, name, {}, cell);
}

constexpr ControlSpec label(std::string_view name, Cell cell, std::string_view labelFor = {}) {
    ControlSpec c = control(K::Label, name, {}, cell);
    c.labelFor = labelFor;
    return c;
}

constexpr ControlSpec caption(std::string_view text, Cell cell, std::string_view labelFor) {
    ControlSpec c = control(K::Caption, {}, {}, cell);
    c.caption = text;
    c.labelFor = labelFor;
    return c;
}

constexpr ControlSpec memo(std::string_view name, std::string_view accessibleName, Cell cell,
                           int minimumLines, bool readOnly) {
    ControlSpec c = control(K::Memo, name, accessibleName, cell);
    c.minimumLines = minimumLines;
    c.readOnly = readOnly;
    return c;
}

constexpr ControlSpec columnMemo(std::string_view name, std::string_view accessibleName,
                                 int column) {
    ControlSpec c = memo(name, accessibleName, {1, column}, kColumnLines, true);
    c.maximumColumns = kColumnCells;
    return c;
}

constexpr ControlSpec stepLine(std::string_view name, std::string_view accessibleName, int stack) {
    return control(K::Line, name, accessibleName, {1, 6, stack});
}

constexpr ControlSpec statusPanel(std::string_view name, std::string_view description, Cell cell) {
    ControlSpec c = control(K::Label, name, {}, cell);
    c.framed = true;
    c.accessibleDescription = description;
    return c;
}

// The expression, the input mode and the decimals; the column memo and the partial products
// side by side with the step lines of a long division one under the other (only those of the
// operation show); result and remainder; the buttons; the status line.
constexpr std::array kCalcSheet = {
    caption(kNameExpression, {0, 0}, "Edit1"),
    control(K::Line, "Edit1", kNameExpression, {0, 1}),
    label("Label2", {0, 2}),
    label("Label1", {0, 3}),
    columnMemo("Memo1", kNameColumns, 0),
    columnMemo("Memo2", "Prodotto parziale 1", 1),
    columnMemo("Memo3", "Prodotto parziale 2", 2),
    columnMemo("Memo4", "Prodotto parziale 3", 3),
    columnMemo("Memo5", "Prodotto parziale 4", 4),
    columnMemo("Memo6", "Prodotto parziale 5", 5),
    stepLine("Edit2", "Passo 1", 0),
    stepLine("Edit3", "Passo 2", 1),
    stepLine("Edit4", "Passo 3", 2),
    stepLine("Edit5", "Passo 4", 3),
    stepLine("Edit6", "Passo 5", 4),
    stepLine("Edit7", "Passo 6", 5),
    stepLine("Edit8", "Passo 7", 6),
    stepLine("Edit9", "Passo 8", 7),
    control(K::Line, "Edit10", kNameResult, {2, 0}),
    control(K::Line, "Edit11", kNameRemainder, {2, 1}),
    button("Button1", {3, 0}),
    button("Button2", {3, 1}),
    button("Button3", {3, 2}),
    button("Button4", {3, 3}),
    statusPanel("StatusBar1", kNameStatus, {4, 0}),
};

// Each box after the label that names it; the bracket list is read, never typed in.
constexpr std::array kStructureView = {
    label("Label1", {0, 0}, "Edit1"),
    control(K::Line, "Edit1", msg::kInitialExpression, {0, 1}),
    label("Label2", {1, 0}, "Edit2"),
    [] {
        ControlSpec c = control(K::Line, "Edit2", msg::kBrackets, {1, 1});
        c.readOnly = true;
        return c;
    }(),
    label("Label3", {2, 0}, "Memo1"),
    memo("Memo1", msg::kStructureBox, {2, 1}, 2, false),
    label("Label4", {3, 0}, "Memo2"),
    memo("Memo2", msg::kContents, {3, 1}, 8, false),
    button("Button1", {4, 0}),
    button("Button2", {4, 1}),
    button("Button3", {4, 2}),
    button("Button4", {4, 3}),
};

// The history; the step button, then its work; under them the work inside a group; the
// buttons.
constexpr std::array kDecomposition = {
    caption(msg::kHistory, {0, 0}, "Memo1"),
    memo("Memo1", msg::kHistory, {1, 0}, 6, true),
    button("Button1", {2, 0}),
    control(K::Line, "Edit1", msg::kWork, {2, 1}),
    label("Label1", {2, 2}),
    control(K::Line, "Edit2", msg::kAnswer, {2, 3}),
    button("Button2", {2, 4}),
    button("Button3", {3, 0}),
    control(K::Line, "Edit3", msg::kInnerWork, {3, 1}),
    label("Label2", {3, 2}),
    control(K::Line, "Edit4", msg::kInnerAnswer, {3, 3}),
    button("Button4", {3, 4}),
    button("Button5", {4, 0}),
    button("Button6", {4, 1}),
    button("Button7", {4, 2}),
};

// The step and input-mode labels; the expression box, three lines at most; the work area;
// the expression drawn; the buttons.
constexpr std::array kTutor = {
    label("Label1", {0, 0}),
    label("Label2", {0, 1}),
    [] {
        ControlSpec c = memo("Memo1", kNameExpression, {1, 0}, 0, true);
        c.maximumLines = 3;
        return c;
    }(),
    memo("Memo2", kNameWork, {2, 0}, 0, false),
    [] {
        ControlSpec c = control(K::Picture, "Image1", kNamePicture, {3, 0});
        c.minimumHeight = 110;
        return c;
    }(),
    button("Button1", {4, 0}),
    button("Button2", {4, 1}),
};

constexpr WindowLayout window(std::string_view name, int width, int height, int fontPixels,
                              int boxMargin, std::span<const ControlSpec> controls) {
    return {.name = name,
            .width = width,
            .height = height,
            .fontPixels = fontPixels,
            .boxMargin = boxMargin,
            .keysToWindowFirst = true,
            .controls = controls};
}

// The sheet's column memos measure their lines without a margin.
constexpr WindowLayout kCalcSheetLayout =
    window("TForm2", 820, 640, kSmallFontPixels, 0, kCalcSheet);
constexpr WindowLayout kStructureLayout =
    window("TForm5", 760, 520, kEditorFont, kBoxMargin, kStructureView);
constexpr WindowLayout kDecompositionLayout =
    window("TForm9", 860, 480, kEditorFont, kBoxMargin, kDecomposition);
constexpr WindowLayout kBracketsLayout =
    window("TForm10", 760, 520, kSmallFontPixels, kBoxMargin, kTutor);
constexpr WindowLayout kOperationsLayout =
    window("TForm11", 760, 520, kSmallFontPixels, kBoxMargin, kTutor);
constexpr WindowLayout kFractionsLayout =
    window("TForm13", 760, 520, kSmallFontPixels, kBoxMargin, kTutor);

}  // namespace

const WindowLayout& calcSheetLayout() {
    return kCalcSheetLayout;
}

const WindowLayout& structureViewLayout() {
    return kStructureLayout;
}

const WindowLayout& decompositionLayout() {
    return kDecompositionLayout;
}

const WindowLayout& tutorLayout(TutorKind kind) {
    switch (kind) {
        case TutorKind::Brackets:
            return kBracketsLayout;
        case TutorKind::Operations:
            return kOperationsLayout;
        case TutorKind::ComplexFractions:
            return kFractionsLayout;
    }
    return kBracketsLayout;
}

const ControlSpec* findControl(const WindowLayout& layout, std::string_view name) {
    for (const ControlSpec& c : layout.controls) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace learning
