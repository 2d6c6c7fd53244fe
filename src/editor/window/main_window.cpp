#include "editor/window/main_window.h"

#include <algorithm>

#include "editor/messages.h"
#include "editor/settings/settings_dialog.h"
#include "learning/messages.h"
#include "speech/request_sources.h"
#include "ui/access_keys.h"

namespace editor {
namespace {

// Captions of the fifteen tabs: two blanks before a one-digit number.
std::string tabCaption(int page) {
    return std::string(text::kTabPrefix) + (page < 10 ? "  " : "") + std::to_string(page);
}

bool isTopLevel(Command id) {
    const MenuEntry* e = menuEntry(id);
    return e != nullptr && e->parent == Command::None;
}

}  // namespace

TForm1::TForm1(MainWindowWidgets widgets, MainWindowServices services,
               MainWindowEnvironment environment, TForm3& settingsDialog,
               speech::RequestSink* speech, MainWindowHooks hooks)
    : w_(widgets),
      s_(services),
      environment_(std::move(environment)),
      settingsDialog_(settingsDialog),
      speech_(speech),
      hooks_(std::move(hooks)),
      commandHandlers_(static_cast<std::size_t>(Command::Count)) {
    if (environment_.fontDirectories.empty()) {
        environment_.fontDirectories = fontDirectories(environment_.programDirectory);
    }
    if (environment_.configurationFile.empty()) {
        environment_.configurationFile =
            environment_.programDirectory / std::string(text::kConfigurationFile);
    }

    // Menu items as the table makes them.
    for (const MenuEntry& e : menuTable()) {
        ui::Control& item = menuItem(e.id);
        item.setCaption(e.caption);
        item.setVisible(e.visible);
        item.setEnabled(true);
        const Command id = e.id;
        item.setOnClick([this, id] {
            if (isTopLevel(id)) {
                menuOpened(id);
            } else {
                runCommand(id);
            }
        });
    }
    // The menus of the bar open with Alt and their access key.
    for (const auto& [id, caption] : ui::menuBarCaptions(menuTable())) {
        menuItem(static_cast<Command>(id)).setCaption(caption);
        if (const char key = ui::markedAccessKey(caption); key != 0) {
            menuKeys_.emplace_back(key, static_cast<Command>(id));
        }
    }
    wireWidgets();

    // Defaults, then the configuration file.
    settings_ = Settings{};
    if (auto problem = loadConfigurationFile(environment_.configurationFile, settings_)) {
        s_.dialogs.warning(std::string(text::kConfigReadError) + *problem);
    }
    // Read back trimmed ("- modalità Latex") or never switched ("Braille"): the title and the
    // file get the full mode text from the start.
    modeText_ = std::string(modeTextOf(settings_.modeText));
    if (settings_.maximized) {
        w_.form.setMaximized(true);
    }
    w_.Timer1.setEnabled(false);
    w_.Timer1.setInterval(200);
    if (settings_.timer > 0) {
        w_.Timer1.setInterval(settings_.timer);
    }

    std::vector<std::string> captions;
    for (int p = 1; p <= kPageCount; ++p) {
        captions.push_back(tabCaption(p));
    }
    w_.tabs.setTabs(captions);
    w_.tabs.setTabIndex(0);
    page_ = 1;
    braille_ = modified_ = closing_ = startupDone_ = false;

    ui::Control& tutor = menuItem(Command::MenuTutor);
    tutor.setVisible(settings_.tutor != 0);
    tutor.setEnabled(false);
    // Its entries wait for the menu to be opened, which decides the steps the caret's line
    // allows.
    for (const MenuEntry& e : menuTable()) {
        if (e.parent == Command::MenuTutor) {
            menuItem(e.id).setEnabled(false);
        }
    }

    setPageStatus(std::string(text::kStatusPage) + "1");
    applyModeWidgets();  // Latex column
    if (modeText_ == text::kModeTextBraille) {
        braille_ = true;
        applyModeWidgets();
        setPageStatus(pageStatus_ + std::string(text::kStatusBraille));
        w_.Label2.setCaption(text::kKeyboardInput);
    }
    titlePrefix_ = std::string(text::kTitleAtStart);
    updateTitle();
    applyMathml();

    // The about panel shows as a splash until Timer2 hides it.
    w_.Panel1.setVisible(true);
    w_.Timer2.setInterval(2000);
    w_.Timer2.setEnabled(true);

    updateOccupancyStrip();
    s_.clipboard.clear();
}

TForm1::~TForm1() = default;

void TForm1::wireWidgets() {
    w_.form.setKeyListener(this);
    w_.form.setOnActivate([this] { FormActivate(); });
    w_.form.setOnResize([this] { FormResize(); });
    w_.form.setOnCloseQuery([this] { return FormCloseQuery(); });
    w_.Converti.setOnClick([this] { ConvertiClick(); });
    w_.tabs.setOnChange([this] { TabControl1Change(); });
    w_.Timer2.setOnTimer([this] { Timer2Timer(); });
    w_.PanelOk.setOnClick([this] { PanelOkClick(); });
    w_.Link1.setOnClick([this] { LinkClick(1); });
    w_.Link2.setOnClick([this] { LinkClick(2); });
    w_.EditorGrafico.setOnClick([this] { runCommand(Command::Editorgrafico1); });
    w_.VisualLineare.setOnClick([this] { runCommand(Command::Visualizzazionelineareoff1); });
    w_.Mathml.setOnClick([this] { runCommand(Command::SalvacomeMathml1); });

    w_.Memo1.setOnChange([this] { editorEvent(Editor::Latex, EditorEvent::Changed); });
    w_.Memo2.setOnChange([this] { editorEvent(Editor::Braille, EditorEvent::Changed); });
    w_.Memo1.setOnClick([this] { editorEvent(Editor::Latex, EditorEvent::Clicked); });
    w_.Memo2.setOnClick([this] { editorEvent(Editor::Braille, EditorEvent::Clicked); });
    w_.Memo1.setOnExit([this] { editorEvent(Editor::Latex, EditorEvent::Left); });
    w_.Memo2.setOnExit([this] { editorEvent(Editor::Braille, EditorEvent::Left); });

    w_.Memo1.setFont({std::string(text::kPlainFontFamily), text::kPlainFontPixels, 0});
    w_.Memo2.setFont({std::string(text::kBrailleFontFamily), text::kBrailleFontPixels, 0, true});
    w_.Memo2.setBackgroundColor(ui::colors::kAqua);
    w_.Label1.setTextColor(ui::colors::kRed);
    // The labels and the status bar are heard by what they show; what each one is for is
    // their description.
    w_.Label1.setAccessibleDescription(text::kNameModeLabel);
    w_.Label2.setAccessibleDescription(text::kNameInputLabel);
    w_.Label4.setAccessibleDescription(text::kNameSpeechLabel);
    w_.statusBar.setAccessibleDescription(text::kNameStatusBar);
    w_.Label3.setAccessibleDescription(text::kNameOccupiedPages);
    w_.Edit3.setVisible(false);
    w_.ListBox1.setVisible(false);
    w_.ListBox2.setVisible(false);
    w_.Image3.setVisible(false);
    legendHeight_ = w_.Image3.bounds().height;
    w_.Link1.setTextColor(ui::colors::kWhite);
    w_.Link2.setTextColor(ui::colors::kWhite);

    setCommandHandler(Command::Esci1, [this] { w_.form.close(); });
    setCommandHandler(Command::Selezionatutto1, [this] {
        ui::TextBox& box = activeEditor();
        if (box.text().empty()) {
            explain(text::kPageEmpty);
            return;
        }
        box.setSelection(0, box.text().size());
    });
    setCommandHandler(Command::ModalitaBraille1, [this] { ConvertiClick(); });
    setCommandHandler(Command::Avanti1, [this] { AvantiClick(); });
    setCommandHandler(Command::Indietro1, [this] { IndietroClick(); });
    setCommandHandler(Command::Cambiaimpostazioni1, [this] { openSettings(); });
    setCommandHandler(Command::MenuImpostazioni, [this] { openSettings(); });
    setCommandHandler(Command::Attivasintesivocale1, [this] { AttivasintesivocaleClick(); });
    setCommandHandler(Command::Aprifogliocalcolo1, [this] { AprifogliocalcoloClick(); });
    setCommandHandler(Command::Scomponi1, [this] { ScomponiClick(); });
    setCommandHandler(Command::Struttura1, [this] { StrutturaClick(); });
    setCommandHandler(Command::Aiuto1, [this] { AiutoClick(); });
    setCommandHandler(Command::Codicitastnumerica1, [this] { CodicitastnumericaClick(); });
    setCommandHandler(Command::Informazionisu1, [this] { InformazionisuClick(); });
    wireTutors();
}

// ---- extension points

void TForm1::setCommandHandler(Command id, std::function<void()> handler) {
    const auto i = static_cast<std::size_t>(id);
    if (i > 0 && i < commandHandlers_.size()) {
        commandHandlers_[i] = std::move(handler);
    }
}

void TForm1::addKeyHandler(KeyHandler& handler) {
    keyHandlers_.push_back(&handler);
}

void TForm1::addEditorListener(std::function<void(Editor, EditorEvent)> listener) {
    editorListeners_.push_back(std::move(listener));
}

void TForm1::addPageListener(std::function<void()> listener) {
    pageListeners_.push_back(std::move(listener));
}

void TForm1::addStartupStep(std::function<void()> step) {
    startupSteps_.push_back(std::move(step));
}

void TForm1::addCloseListener(std::function<void()> listener) {
    closeListeners_.push_back(std::move(listener));
}

void TForm1::setLinearViewShown(bool shown) {
    linearViewShown_ = shown;
    w_.Image1.setVisible(braille_ && shown);
    w_.Simb.setVisible(braille_ && shown);
}

// ---- commands

bool TForm1::commandEnabled(Command id) {
    for (const MenuEntry* e = menuEntry(id); e != nullptr; e = menuEntry(e->parent)) {
        if (!menuItem(e->id).enabled()) {
            return false;
        }
    }
    return true;
}

bool TForm1::runCommand(Command id) {
    const auto i = static_cast<std::size_t>(id);
    if (i == 0 || i >= commandHandlers_.size() || !commandHandlers_[i] || !commandEnabled(id)) {
        return false;
    }
    // Copy: a handler may replace itself.
    const std::function<void()> handler = commandHandlers_[i];
    handler();
    return true;
}

void TForm1::menuOpened(Command id) {
    // Opening a menu silences whatever is being spoken (the tutor menu has its own work).
    if (id != Command::MenuTutor) {
        speak(speech::silenceRequest(environment_.programDirectory.string()));
    }
    runCommand(id);
}

// ---- keys

MenuState TForm1::menuState() const {
    return {braille_, settings_.mathml, settings_.tutor != 0, speechSwitch_.menuEnabled()};
}

void TForm1::explain(std::string_view reason) {
    s_.dialogs.beep();
    w_.statusBar.setCaption(reason);
    noticeShown_ = true;
    w_.form.announce(reason);
    speak(speech::announcementRequest(environment_.programDirectory.string(), reason));
}

void TForm1::setPageStatus(std::string status) {
    pageStatus_ = std::move(status);
    noticeShown_ = false;
    w_.statusBar.setCaption(pageStatus_);
}

void TForm1::setPageStatusOf(std::string_view number) {
    std::string status(text::kStatusPage);
    status += number;
    if (braille_) {
        status += text::kStatusBraille;
    }
    setPageStatus(std::move(status));
}

// Menu shortcuts; hidden items keep theirs, disabled ones do not fire. Of two items with the
// same keys the first that can run wins. A shortcut that none can run in this mode or with
// these settings is explained, unless a key handler takes it.
bool TForm1::runShortcut(ui::KeyEvent& event) {
    std::string_view why;
    const MenuState state = menuState();
    for (const MenuEntry& e : menuTable()) {
        if (!e.shortcut.matches(event.key, event.shift)) {
            continue;
        }
        if (const std::string_view reason = unavailableReason(e.id, state); !reason.empty()) {
            why = why.empty() ? reason : why;
            continue;
        }
        if (runCommand(e.id)) {
            event.key = 0;
            return true;
        }
    }
    for (KeyHandler* handler : keyHandlers_) {
        handler->keyDown(event);
        if (event.key == 0) {
            return true;
        }
    }
    // The function keys are the program's commands: one without a command here is said so
    // too (F10 and Alt with a function key stay the system's).
    if (why.empty() && ui::vk::isFunctionKey(event.key) && event.key != ui::vk::kF10 &&
        (event.shift & ui::shift::kAlt) == 0) {
        why = learning::messages::kKeyNotAssigned;
    }
    if (!why.empty()) {
        event.key = 0;
        explain(why);
        return true;
    }
    return false;
}

// Alt with a letter never types into the page. The access key of a menu that shows passes on:
// the toolkit opens that menu. A menu of the other mode, or turned off, says why it stays
// closed.
bool TForm1::explainAltKey(ui::KeyEvent& event) {
    const char letter = ui::altLetter(event);
    if (letter == 0) {
        return false;
    }
    const auto menu = std::find_if(menuKeys_.begin(), menuKeys_.end(),
                                   [letter](const auto& key) { return key.first == letter; });
    if (menu != menuKeys_.end() && menuItem(menu->second).visible() &&
        menuItem(menu->second).enabled()) {
        return true;
    }
    event.key = 0;
    std::string_view why;
    if (menu != menuKeys_.end()) {
        why = unavailableReason(menu->second, menuState());
    }
    explain(why.empty() ? std::string(learning::messages::kNoMenuLetter) + letter
                        : std::string(why));
    return true;
}

void TForm1::keyDown(ui::KeyEvent& event) {
    numLock_ = s_.keyboard.numLockOn();
    // Alt alone is Alt pressed and released with no other key between.
    altAlone_ = event.key == ui::vk::kMenu &&
                (altAlone_ || (event.shift & (ui::shift::kCtrl | ui::shift::kShift)) == 0);
    // A notice stays in the status bar until the next key.
    if (noticeShown_ && !ui::vk::isModifier(event.key)) {
        setPageStatus(pageStatus_);
    }
    if (event.key == ui::vk::kF10 && event.shift == 0) {
        event.key = 0;
        w_.menu.focusFirstMenu();
        return;
    }
    if (explainAltKey(event)) {
        return;
    }
    runShortcut(event);
}

void TForm1::keyPress(ui::KeyPress& press) {
    for (KeyHandler* handler : keyHandlers_) {
        handler->keyPress(press);
        if (press.ch == 0) {
            return;
        }
    }
}

void TForm1::keyUp(ui::KeyEvent& event) {
    numLock_ = s_.keyboard.numLockOn();
    if (event.key == ui::vk::kMenu && altAlone_) {
        altAlone_ = false;
        event.key = 0;
        w_.menu.focusFirstMenu();
        return;
    }
    altAlone_ = false;
    // F10 went to the menu bar on its way down; the system must not take it a second time.
    if (event.key == ui::vk::kF10 && event.shift == 0) {
        event.key = 0;
        return;
    }
    if (event.key == ui::vk::kEscape && w_.Panel1.visible()) {
        w_.Panel1.setVisible(false);
        activeEditor().setFocus();
    }
    for (KeyHandler* handler : keyHandlers_) {
        handler->keyUp(event);
        if (event.key == 0) {
            return;
        }
    }
}

void TForm1::editorEvent(Editor editor, EditorEvent event) {
    if (event == EditorEvent::Changed) {
        modified_ = true;
        if (editor == Editor::Braille) {
            ++changeCounter_;
            refreshLinearView();
        }
    } else if (event == EditorEvent::Clicked && editor == Editor::Braille) {
        refreshLinearView();
    }
    for (const auto& listener : editorListeners_) {
        listener(editor, event);
    }
}

}  // namespace editor
