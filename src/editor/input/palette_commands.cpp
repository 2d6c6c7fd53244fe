#include "editor/input/palette_commands.h"

#include "editor/messages.h"

namespace editor {

PaletteCommands::PaletteCommands(TForm1& form) : form_(form) {
    const MainWindowWidgets& w = form_.widgets();
    const std::pair<ui::Control*, std::string_view> buttons[] = {
        {&w.Funzioni, text::kButtonFunzioni},
        {&w.Operatori, text::kButtonOperatori},
        {&w.Insiemistica, text::kButtonInsiemistica},
        {&w.Logica, text::kButtonLogica},
        {&w.Greche, text::kButtonGreche},
        {&w.Simboli, text::kButtonSimboli},
    };
    for (const auto& [button, caption] : buttons) {
        const Palette* palette = paletteByCaption(caption);
        if (palette != nullptr) {
            ui::Control* pressed = button;
            button->setOnClick([this, palette, pressed] { openPalette(*palette, *pressed); });
        }
    }
    w.ListBox1.setOnDoubleClick([this] { insertSelected(); });
    form_.addKeyHandler(*this);
    form_.addEditorListener([this](Editor editor, EditorEvent event) {
        if (editor == Editor::Latex && event == EditorEvent::Clicked) {
            form_.widgets().ListBox1.setVisible(false);
        }
    });
}

void PaletteCommands::openPalette(const Palette& palette, ui::Control& button) {
    const MainWindowWidgets& w = form_.widgets();
    w.ListBox1.clear();
    w.ListBox2.clear();
    ui::Rect place = w.ListBox1.bounds();
    place.left = button.bounds().left;
    w.ListBox1.setBounds(place);
    for (const PaletteEntry& entry : palette.entries) {
        w.ListBox1.add(entry.name);
        w.ListBox2.add(entry.latex);
    }
    // Heard by the name of its palette when it takes the focus.
    w.ListBox1.setAccessibleName(palette.caption);
    w.ListBox1.setVisible(true);
    w.ListBox1.setItemIndex(0);
    w.ListBox1.setFocus();
}

void PaletteCommands::insertSelected() {
    const MainWindowWidgets& w = form_.widgets();
    const int index = w.ListBox1.itemIndex();
    if (!w.ListBox1.visible() || index < 0 || index >= w.ListBox2.count()) {
        return;
    }
    const PaletteInsertion inserted =
        insertPaletteText(w.Memo1.text(), w.Memo1.selStart(), w.ListBox2.item(index));
    w.Memo1.setText(inserted.text);
    w.Memo1.setSelStart(inserted.caret);
    w.Memo1.setFocus();
    form_.pages().latexOf(form_.currentPage()) = w.Memo1.text();
    w.ListBox1.setVisible(false);
    form_.notifyEditor(Editor::Latex, EditorEvent::Changed);
}

void PaletteCommands::close() {
    const MainWindowWidgets& w = form_.widgets();
    w.ListBox1.setVisible(false);
    if (!form_.brailleMode()) {
        w.Memo1.setFocus();
    }
}

void PaletteCommands::keyUp(ui::KeyEvent& event) {
    const MainWindowWidgets& w = form_.widgets();
    if (!w.ListBox1.visible() || !w.ListBox1.focused()) {
        return;
    }
    if (event.key == ui::vk::kReturn && event.shift == 0) {
        insertSelected();
        event.key = 0;
    } else if (event.key == ui::vk::kEscape) {
        close();
        event.key = 0;
    }
}

}  // namespace editor
