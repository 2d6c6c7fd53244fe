#pragma once

// TForm3, the settings dialog ("Impostazioni "): edits the paths, the exchange with the graphic
// editor, the chord timer, the speech rate and the Braille printer. The main window fills it
// from the settings, shows it modally and applies what the user confirmed with "Ok"; "Esci"
// or Esc changes nothing.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/settings/configuration.h"
#include "ui/dialogs.h"
#include "ui/widgets.h"

namespace editor {

struct SettingsDialogWidgets {
    ui::Window& form;
    ui::ModalWindow& modal;
    ui::TextBox& EditEditor;    // "Editor grafico"
    ui::TextBox& EditWorkDir;   // "Directory lavoro"
    ui::TextBox& EditExchange;  // "File di scambio "
    ui::TextBox& EditFont;      // "Font Braille "
    ui::TextBox& EditFilter;    // "Nome file filtro"
    ui::TextBox& EditTimer;     // "Interval Timer per Dattilobraille"
    ui::TextBox& EditSpeed;     // "Velocità voce (min 30 max 90)"
    ui::TextBox& EditChars;     // "Caratteri per riga"
    ui::TextBox& EditLines;     // "Righe per pagina"
    ui::Control& RadioTutto;
    ui::Control& RadioSelezione;
    ui::Control& CheckDisplay;  // the caret's line on a Braille display
    ui::Control& SfogliaEditor;
    ui::Control& SfogliaDir;
    ui::Control& ButtonOk;
    ui::Control& ButtonEsci;
};

// What the fields held when the user pressed "Ok".
struct SettingsFields {
    std::string graphicEditor;
    std::string workDir;
    std::string exchangeFile;
    std::string brailleFont;
    std::string filter;
    std::string timer;
    std::string speechRate;
    std::string printerChars;
    std::string printerLines;
    bool exchangeAll = true;
    bool brailleDisplay = true;
};

// Applies confirmed fields: the texts replace their settings; each number replaces its setting
// only when it is a valid integer (the timer only when above 0, the printer numbers only when
// not negative); the speech rate is then kept within 30..90.
void applySettingsFields(const SettingsFields& fields, Settings& settings);

class TForm3 : public ui::KeyListener {
public:
    TForm3(SettingsDialogWidgets widgets, ui::Dialogs& dialogs);
    TForm3(const TForm3&) = delete;
    TForm3& operator=(const TForm3&) = delete;

    // Fills the fields from `current`, shows the dialog modally (with `caption` when one is
    // given, else with the caption it has) and returns the fields when the user confirmed with
    // "Ok", nullopt when he left with "Esci" or Esc.
    std::optional<SettingsFields> run(const Settings& current,
                                      const std::filesystem::path& programDirectory,
                                      const std::vector<std::filesystem::path>& fontDirectories,
                                      std::optional<std::string_view> caption = std::nullopt);

    const SettingsDialogWidgets& widgets() const { return w_; }

    void FormActivate();
    void OkClick();
    void EsciClick();
    void SfogliaEditorClick();
    void SfogliaDirClick();

    void keyUp(ui::KeyEvent& event) override;

private:
    SettingsFields fields() const;

    SettingsDialogWidgets w_;
    ui::Dialogs& dialogs_;
    std::filesystem::path programDirectory_;
    std::vector<std::filesystem::path> fontDirectories_;
    bool activated_ = false;
    bool accepted_ = false;
};

}  // namespace editor
