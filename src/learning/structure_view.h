#pragma once

// TForm5, the structure view ("Struttura"): shown modally on the caret line of the Braille
// page. It lists the bracket signs of the expression, cuts out its bracket groups
// (structure_groups.h) and shows the structure line and one content line per group. The
// student types the value of a group after its "=", "Sostituisci" (Ctrl+S) puts the values in
// place of the labels, and "Memorizza risultato ed esci " (or "Mem.ris ed esci", Ctrl+M) puts
// the expression and the result typed after the structure line's "=" into the Braille page.
// "Esci" (Esc) closes without touching the page. Everything is said through the main window's
// speech reader.
//
// An expression with more than 21 groups of one kind is refused with a message; the view
// closes and the page stays as it was.
//
// Ownership: TForm5 keeps references to its widgets, services and host; the builder keeps them
// alive for as long as the TForm5 lives.

#include <span>
#include <string>
#include <string_view>

#include "learning/structure_host.h"
#include "learning/tool_window.h"
#include "ui/widgets.h"

namespace learning {

enum class StructureCommand : int {
    None = 0,
    MenuFile,
    Sostituisci1,   // Ctrl+S
    Memrisedesci1,  // Ctrl+M
    Esci1,          // Esc
    Count
};

using StructureMenuEntry = ToolMenuEntry<StructureCommand>;
std::span<const StructureMenuEntry> structureMenuTable();

struct StructureViewWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::MenuBar& menu;
    ui::TextBox& Edit1;    // the initial expression
    ui::TextBox& Edit2;    // the bracket list, read-only
    ui::TextBox& Memo1;    // the structure line
    ui::TextBox& Memo2;    // the contents list
    ui::Control& Label1;   // "Espressione iniziale"
    ui::Control& Label2;   // "Parentesi"
    ui::Control& Label3;   // "Struttura"
    ui::Control& Label4;   // "Contenuti"
    ui::Control& Button1;  // "Sostituisci"
    ui::Control& Button2;  // "Memorizza risultato ed esci "
    ui::Control& Button3;  // "Esci"
    ui::Control& Button4;  // "Font"
};

// The widgets of a toolkit's window built from structureViewLayout(), by their names there.
template <class Frame>
StructureViewWidgets structureViewWidgets(Frame& f) {
    return StructureViewWidgets(f.window(), f.modal(), f.menu(), f.box("Edit1"), f.box("Edit2"),
                                f.box("Memo1"), f.box("Memo2"), f.control("Label1"),
                                f.control("Label2"), f.control("Label3"), f.control("Label4"),
                                f.control("Button1"), f.control("Button2"), f.control("Button3"),
                                f.control("Button4"));
}

using StructureViewServices = ToolServices;

class TForm5 : public ToolWindow<StructureCommand> {
public:
    TForm5(StructureViewWidgets widgets, StructureViewServices services, ToolHost host);

    // ---- events
    void FormActivate();
    bool runCommand(StructureCommand id);
    void SostituisciClick();
    void MemorizzaClick();
    void EsciClick();
    void FontClick();

    // The focus may have moved (a key, a click, the toolkit): entering a box is said.
    void noticeFocus();

    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

    // ---- state, for the view and the tests
    bool braille() const { return braille_; }
    const StructureViewWidgets& widgets() const { return w_; }
    bool brailleFontShown() const { return brailleFont_; }

private:
    void activate();
    void entered(const ui::TextBox* box);
    void sayContentLine();
    void applyFont();

    StructureViewWidgets w_;

    bool braille_ = true;
    bool brailleFont_ = true;
};

}  // namespace learning
