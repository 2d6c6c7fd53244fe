#include "editor/main_window.h"

#include <algorithm>

#include "editor/messages.h"
#include "editor/settings_dialog.h"

namespace editor {
namespace {

// Captions of the fifteen tabs: two blanks before a one-digit number.
std::string tabCaption(int page) {
    return std::string(text::kTabPrefix) + (page < 10 ? "  " : "") + std::to_string(page);
}

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string fileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isTopLevel(Command id) {
    const MenuEntry* e = menuEntry(id);
    return e != nullptr && e->parent == Command::None;
}

// Where requests go while the window has no speech reader.
struct NoSpeech : speech::RequestSink {
    void submit(const speech::Request&) override {}
};

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
    wireWidgets();

    // Defaults, then the configuration file.
    settings_ = Settings{};
    if (auto problem = loadConfigurationFile(environment_.configurationFile, settings_)) {
        s_.dialogs.warning(std::string(text::kConfigReadError) + *problem);
    }
    modeText_ = settings_.modeText;
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

    w_.statusBar.setCaption(std::string(text::kStatusPage) + "1");
    applyModeWidgets();  // Latex column
    if (modeText_.find(text::kBrailleWord) != std::string::npos) {
        braille_ = true;
        applyModeWidgets();
        w_.statusBar.setCaption(w_.statusBar.caption() + std::string(text::kStatusBraille));
        w_.form.setCaption(modeText_);
        w_.Label2.setCaption(text::kKeyboardInput);
    } else {
        w_.form.setCaption(modeText_);
    }
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
    w_.Edit3.setVisible(false);
    w_.ListBox1.setVisible(false);
    w_.ListBox2.setVisible(false);
    w_.Image3.setVisible(false);
    w_.Link1.setTextColor(ui::colors::kWhite);
    w_.Link2.setTextColor(ui::colors::kWhite);

    setCommandHandler(Command::Esci1, [this] { w_.form.close(); });
    setCommandHandler(Command::Selezionatutto1, [this] {
        ui::TextBox& box = activeEditor();
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

void TForm1::setLinearViewShown(bool shown) {
    linearViewShown_ = shown;
    w_.Image1.setVisible(braille_ && shown);
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
        speak("", text::kSilence);
    }
    runCommand(id);
}

// ---- keys

void TForm1::keyDown(ui::KeyEvent& event) {
    numLock_ = s_.keyboard.numLockOn();
    // Menu shortcuts first; hidden items keep theirs, disabled ones do not fire. Of two items
    // with the same keys the first that can run wins.
    for (const MenuEntry& e : menuTable()) {
        if (e.shortcut.matches(event.key, event.shift) && runCommand(e.id)) {
            event.key = 0;
            return;
        }
    }
    for (KeyHandler* handler : keyHandlers_) {
        handler->keyDown(event);
        if (event.key == 0) {
            return;
        }
    }
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

// ---- pages

void TForm1::showPage() {
    w_.Memo1.setText(pages_.latexOf(page_));
    w_.Memo2.setText(pages_.brailleOf(page_));
    ui::TextBox& box = activeEditor();
    if (box.visible()) {
        box.setFocus();
    }
    box.setSelStart(braille_ ? caret2_ : caret1_);
    for (const auto& listener : pageListeners_) {
        listener();
    }
}

void TForm1::storePage() {
    if (braille_) {
        pages_.brailleOf(page_) = w_.Memo2.text();
    } else {
        pages_.latexOf(page_) = w_.Memo1.text();
    }
}

void TForm1::clearDocument() {
    pages_.clear();
    showPage();
}

void TForm1::updateOccupancyStrip() {
    std::string strip;
    for (int p = 1; p <= kPageCount; ++p) {
        strip += ' ';
        strip += blank(pages_.latexOf(p)) ? ' ' : '*';
        strip += ' ';
        strip += blank(pages_.brailleOf(p)) ? ' ' : '*';
        strip += ' ';
    }
    w_.Label3.setCaption(strip);
}

void TForm1::updateTitle() {
    w_.form.setCaption(titlePrefix_ + modeText_);
}

void TForm1::speak(std::string_view mode, std::string_view textToSay) {
    if (speech_ == nullptr || !speechSwitch_.speechOn() || textToSay.empty()) {
        return;
    }
    speech::Request request;
    request.workingDirectory = environment_.programDirectory.string();
    request.mode = std::string(mode);
    if (mode == "all") {
        request.rate = std::to_string(settings_.speechRate);
    }
    request.text = std::string(textToSay);
    speech_->submit(request);
}

void TForm1::refreshLinearView() {
    if (hooks_.refreshLinearView) {
        hooks_.refreshLinearView();
    }
}

void TForm1::changePage(int page) {
    storePage();
    page_ = page;
    w_.tabs.setTabIndex(page_ - 1);
    updateOccupancyStrip();
    showPage();
    w_.statusBar.setCaption(std::string(text::kStatusPage) + std::to_string(page_) +
                            (braille_ ? std::string(text::kStatusBraille) : std::string()));
    if (braille_) {
        speak("", std::string(text::kSpeakPage) + std::to_string(page_) +
                      std::string(text::kSpeakClose));
    }
}

void TForm1::AvantiClick() {
    changePage(page_ == kPageCount ? 1 : page_ + 1);
}

void TForm1::IndietroClick() {
    changePage(page_ == 1 ? kPageCount : page_ - 1);
}

void TForm1::TabControl1Change() {
    storePage();
    const int index = w_.tabs.tabIndex();
    const std::string caption = w_.tabs.tabCaption(index);
    // The page number is read from the three characters after "Pag.".
    const std::string digits = caption.size() > text::kTabPrefix.size()
                                   ? caption.substr(text::kTabPrefix.size(), 3)
                                   : std::string();
    const auto number = parseInteger(digits);
    page_ = number && *number >= 1 && *number <= kPageCount ? *number : index + 1;
    w_.statusBar.setCaption(std::string(text::kStatusPage) + digits +
                            (braille_ ? std::string(text::kStatusBraille) : std::string()));
    updateOccupancyStrip();
    showPage();
    activeEditor().setSelStart(0);
    if (braille_) {
        speak("", std::string(text::kSpeakPage) + std::to_string(page_) +
                      std::string(text::kSpeakClose));
    }
}

// ---- mode

void TForm1::applyMathml() {
    w_.Mathml.setVisible(settings_.mathml);
    menuItem(Command::SalvacomeMathml1).setVisible(settings_.mathml);
}

void TForm1::applyModeWidgets() {
    const bool b = braille_;
    w_.Memo1.setVisible(!b);
    w_.Memo2.setVisible(b);
    for (ui::Control* button :
         {&w_.Funzioni, &w_.Operatori, &w_.Insiemistica, &w_.Greche, &w_.Simboli, &w_.Logica}) {
        button->setVisible(!b);
    }
    w_.VisualLineare.setVisible(b);
    w_.Simb.setVisible(b);
    w_.Image1.setVisible(b && linearViewShown_);
    if (!b) {
        w_.Image3.setVisible(false);
    }
    for (const MenuEntry& e : menuTable()) {
        switch (e.rule) {
            case ModeRule::VisibleInBraille:
                menuItem(e.id).setVisible(b);
                break;
            case ModeRule::VisibleInLatex:
                menuItem(e.id).setVisible(!b);
                break;
            case ModeRule::EnabledInBraille:
                menuItem(e.id).setEnabled(b);
                break;
            case ModeRule::Mathml:
            case ModeRule::None:
                break;
        }
    }
    const std::string_view modeLabel = b ? text::kBrailleMode : text::kLatexMode;
    const std::string_view otherMode = b ? text::kLatexMode : text::kBrailleMode;
    w_.Label1.setCaption(modeLabel);
    w_.Converti.setCaption(otherMode);
    menuItem(Command::ModalitaBraille1).setCaption(otherMode);
    w_.Label2.setVisible(b);
    w_.Label4.setVisible(b);
    if (b) {
        speechLabel();
    } else {
        w_.Label2.setCaption("");
        w_.Label4.setCaption("");
    }
    applyMathml();
}

void TForm1::speechLabel() {
    w_.Label4.setCaption(speechSwitch_.statusText());
}

bool TForm1::convertAllPages() {
    pages_.latexOf(page_) = w_.Memo1.text();
    pages_.brailleOf(page_) = w_.Memo2.text();
    if (!hooks_.convertAllPages) {
        return true;
    }
    return hooks_.convertAllPages(pages_, braille_ ? ConversionDirection::BrailleToLatex
                                                   : ConversionDirection::LatexToBraille);
}

void TForm1::ConvertiClick() {
    storePage();
    const bool converted = convertAllPages();
    updateOccupancyStrip();
    if (!converted) {
        return;  // the mode stays; the conversion has told the user why
    }
    if (braille_) {
        modeText_ = std::string(text::kModeTextLatex);
        updateTitle();
        caret2_ = w_.Memo2.selStart();
        braille_ = false;
        applyModeWidgets();
        w_.statusBar.setCaption(w_.statusBar.caption().substr(0, 7));
        w_.Label1.setCaption(text::kLatexMode);
        w_.Label2.setCaption("");
    } else {
        modeText_ = std::string(text::kModeTextBraille);
        updateTitle();
        caret1_ = w_.Memo1.selStart();
        braille_ = true;
        applyModeWidgets();
        w_.ListBox1.setVisible(false);
        w_.statusBar.setCaption(w_.statusBar.caption() + std::string(text::kStatusBraille));
        w_.Label1.setCaption(text::kBrailleMode);
        w_.Label2.setCaption(chordInput_ ? text::kChordInput : text::kKeyboardInput);
    }
    showPage();
    if (braille_) {
        refreshLinearView();
    }
}

// ---- start-up

void TForm1::FormActivate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    const std::filesystem::path& dir = environment_.programDirectory;
    if (settings_.exchangeFile.empty()) {
        settings_.exchangeFile = std::string(text::kDefaultExchangeFile);
    }
    const std::filesystem::path& documents =
        environment_.documentsDirectory.empty() ? dir : environment_.documentsDirectory;
    const std::string defaultWorkDir = (documents / std::string(text::kWorkDirName)).string();
    const bool workDirByDefault = settings_.workDir.empty();
    if (workDirByDefault) {
        settings_.workDir = defaultWorkDir;
    }
    if (settings_.graphicEditor.empty() || settings_.brailleFont.empty() ||
        settings_.filter.empty()) {
        openSettings(text::kSettingsCaptionMissing);
        settingsDialog_.widgets().form.setCaption(text::kSettingsCaptionAfter);
    }
    if (settings_.exchangeMode.empty()) {
        settings_.exchangeMode = std::string(text::kDefaultExchangeMode);
    }
    // The program's own exercise folder is made on first use, so that the first save of a new
    // installation finds it. A folder the user chose is never made behind his back.
    if (workDirByDefault && settings_.workDir == defaultWorkDir) {
        std::error_code made;
        std::filesystem::create_directories(defaultWorkDir, made);
    }

    // A missing filter file only disables the return translation from the graphic editor:
    // the error is shown and the start-up goes on, so the document asked for still opens.
    const std::filesystem::path filterFile = dir / settings_.filter;
    std::error_code ec;
    if (settings_.filter.empty() || !std::filesystem::is_regular_file(filterFile, ec)) {
        s_.dialogs.error(text::kFilterNotFound);
    } else if (hooks_.loadFilterFile) {
        hooks_.loadFilterFile(filterFile);
    }

    if (settings_.brailleFont.empty()) {
        settings_.brailleFont = std::string(text::kDefaultBrailleFont);
        if (auto typed = s_.dialogs.inputBox(text::kFontInputCaption, text::kFontInputPrompt,
                                             settings_.brailleFont);
            typed && !trimmed(*typed).empty()) {
            settings_.brailleFont = trimmed(*typed);
        }
    }
    if (!fontInstalled(settings_.brailleFont, environment_.fontDirectories)) {
        s_.dialogs.warning(text::kFontNotInstalled);
    }

    w_.Memo1.setFont({std::string(text::kPlainFontFamily), text::kPlainFontPixels, 0});
    applyModeWidgets();
    activeEditor().setFocus();

    chordInput_ = false;
    numLock_ = s_.keyboard.numLockOn();

    if (!environment_.arguments.empty()) {
        fileName_ = environment_.arguments.front();
        pages_.clear();
        if (hooks_.loadDocument) {
            hooks_.loadDocument(fileName_, pages_);
        }
        showPage();
        menuItem(Command::Salva1).setEnabled(true);
        menuItem(Command::Salvacolnome1).setEnabled(true);
        modified_ = false;
    }
    titlePrefix_ = std::string(text::kTitleAtStart) + fileNamePart(fileName_);
    updateTitle();
    updateOccupancyStrip();

    speechSwitch_.start(environment_.speechAvailable);
    ui::Control& speechItem = menuItem(Command::Attivasintesivocale1);
    speechItem.setCaption(speechSwitch_.menuCaption());
    speechItem.setEnabled(speechSwitch_.menuEnabled());
    if (braille_) {
        speechLabel();
    }

    changeCounter_ = 0;
    for (const auto& step : startupSteps_) {
        step();
    }
}

void TForm1::centrePanel(int width, int height) {
    w_.Panel1.setBounds({width / 2 - 225, height / 2 - 165, 450, 330});
}

void TForm1::FormResize() {
    if (closing_) {
        return;
    }
    if (!startupDone_) {
        // The saved geometry; a file without it (or with a zero size) would give a window of
        // no size at all, so the default size stands in for it.
        if (!w_.form.maximized()) {
            ui::Rect r{settings_.winLeft, settings_.winTop, settings_.winWidth,
                       settings_.winHeight};
            if (r.width <= 0 || r.height <= 0) {
                r.width = kDefaultWidth;
                r.height = kDefaultHeight;
            }
            w_.form.setBounds(r);
        }
        const ui::Rect now = w_.form.bounds();
        centrePanel(now.width, now.height);
        startupDone_ = true;
    }
    const ui::Rect r = w_.form.bounds();
    settings_.winTop = r.top;
    settings_.winLeft = r.left;
    settings_.winWidth = r.width;
    settings_.winHeight = r.height;

    auto nonNegative = [](int v) { return std::max(v, 0); };
    const int width = nonNegative(r.width - 40);
    const int memo1Height = nonNegative(r.height - 153);
    w_.Memo1.setBounds({kEditorLeft, kEditorTop, width, memo1Height});
    const int memo2Height = nonNegative(memo1Height / 2 - w_.Memo2.bounds().height / 10);
    w_.Memo2.setBounds({kEditorLeft, kEditorTop, width, memo2Height});
    const ui::Rect image1{kEditorLeft, kEditorTop + memo2Height, width,
                          nonNegative(memo1Height - memo2Height)};
    w_.Image1.setBounds(image1);
    const ui::Rect simb = w_.Simb.bounds();
    w_.Simb.setBounds({image1.left + image1.width - 50, image1.top + image1.height - 28, simb.width,
                       simb.height});
    const ui::Rect legend = w_.Image3.bounds();
    w_.Image3.setBounds({image1.left, image1.top + image1.height - 30 - legend.height, legend.width,
                         legend.height});
    w_.tabs.setBounds({kEditorLeft, w_.tabs.bounds().top, width, w_.tabs.bounds().height});

    ++changeCounter_;
    refreshLinearView();
    if (!w_.Panel1.visible()) {
        ui::TextBox& box = activeEditor();
        if (box.visible()) {
            box.setFocus();
        }
    }
}

// ---- closing

bool TForm1::FormCloseQuery() {
    if (closing_) {
        return true;
    }
    if (s_.dialogs.question(text::kConfirmClose, ui::Buttons::OkNo) != ui::Answer::Ok) {
        return false;
    }
    if (modified_) {
        const ui::Answer answer = s_.dialogs.question(text::kSaveChangesOnClose, ui::Buttons::YesNo,
                                                      text::kMessageBoxCaption);
        // A save that did not happen (no name given, a write error) keeps the window open:
        // closing now would lose the work the user just asked to keep.
        if (answer == ui::Answer::Yes && !(hooks_.saveDocument && hooks_.saveDocument())) {
            return false;
        }
    }
    writeConfiguration();
    closing_ = true;
    return true;
}

void TForm1::writeConfiguration() {
    settings_.timer = w_.Timer1.interval();
    settings_.modeText = modeText_;
    settings_.maximized = w_.form.maximized();
    if (auto problem = saveConfigurationFile(environment_.configurationFile, settings_)) {
        s_.dialogs.warning(std::string(text::kConfigWriteError) + *problem);
    }
}

// ---- settings

void TForm1::openSettings() {
    openSettings(text::kSettingsCaption);
}

void TForm1::openSettings(std::string_view caption) {
    speak("", text::kSilence);
    const std::string workDirBefore = settings_.workDir;
    const auto fields = settingsDialog_.run(settings_, environment_.programDirectory,
                                            environment_.fontDirectories, caption);
    if (!fields) {
        return;
    }
    applySettingsFields(*fields, settings_);
    w_.Timer1.setInterval(settings_.timer);
    std::error_code ec;
    if (settings_.workDir != workDirBefore && !settings_.workDir.empty() &&
        !std::filesystem::is_directory(settings_.workDir, ec)) {
        const std::string question = std::string(text::kWorkDirMissing1) + settings_.workDir +
                                     std::string(text::kWorkDirMissing2);
        if (s_.dialogs.question(question, ui::Buttons::YesNoCancel) == ui::Answer::Yes) {
            std::filesystem::create_directories(settings_.workDir, ec);
            if (ec || !std::filesystem::is_directory(settings_.workDir)) {
                s_.dialogs.warning(std::string(text::kWorkDirCreateError) + settings_.workDir);
            }
        }
    }
}

// ---- help, about, links

void TForm1::openHelpFile(std::string_view name, std::string_view notFound,
                          std::string_view loadError) {
    const std::filesystem::path file = environment_.programDirectory / std::string(name);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        s_.dialogs.error(notFound);
        return;
    }
    if (!s_.shell.open(file.string())) {
        s_.dialogs.error(loadError);
    }
}

void TForm1::AiutoClick() {
    openHelpFile(text::kHelpFile, text::kHelpNotFound, text::kHelpLoadError);
}

void TForm1::CodicitastnumericaClick() {
    openHelpFile(text::kKeypadFile, text::kKeypadNotFound, text::kKeypadLoadError);
}

void TForm1::InformazionisuClick() {
    centrePanel(w_.form.clientWidth(), w_.form.clientHeight());
    w_.Panel1.setVisible(true);
    w_.PanelOk.setFocus();
}

void TForm1::PanelOkClick() {
    w_.Panel1.setVisible(false);
    activeEditor().setFocus();
}

void TForm1::Timer2Timer() {
    w_.Timer2.setEnabled(false);
    w_.Panel1.setVisible(false);
    if (activated_) {
        activeEditor().setFocus();
    }
}

void TForm1::LinkClick(int which) {
    const std::string_view name = which == 1 ? text::kLink1File : text::kLink2File;
    const std::filesystem::path file = environment_.programDirectory / std::string(name);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return;
    }
    if (!s_.shell.open(file.string())) {
        s_.dialogs.error(std::string(text::kLinkLoadError) + std::string(name));
    }
}

void TForm1::LinkMouseMove(int which) {
    (which == 1 ? w_.Link1 : w_.Link2).setTextColor(ui::colors::kRed);
}

void TForm1::Panel1MouseMove() {
    w_.Link1.setTextColor(ui::colors::kWhite);
    w_.Link2.setTextColor(ui::colors::kWhite);
}

// ---- speech

void TForm1::AttivasintesivocaleClick() {
    // The switch says so while speech is still on, so that switching off is heard too.
    NoSpeech none;
    speechSwitch_.toggle(speech_ != nullptr ? *speech_ : none,
                         environment_.programDirectory.string());
    menuItem(Command::Attivasintesivocale1).setCaption(speechSwitch_.menuCaption());
    if (braille_) {
        speechLabel();
    }
}

// ---- learning tools

void TForm1::AprifogliocalcoloClick() {
    const std::string selection = w_.Memo2.selText();
    if (selection.empty()) {
        s_.dialogs.message({std::string(text::kNoExpression), {}, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    // The first operator at position 2 or later splits the expression in two.
    const std::size_t op = selection.find_first_of("(+-/", 1);
    const bool parts = op != std::string::npos && op + 1 < selection.size();
    if (!parts) {
        s_.dialogs.message(
            {std::string(text::kInvalidExpression), selection, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    if (selection.find_first_of("(+-/", op + 1) != std::string::npos) {
        s_.dialogs.message(
            {std::string(text::kSingleOperation), selection, ui::Icon::None, ui::Buttons::Ok});
        return;
    }
    s_.clipboard.setText(selection);
    if (hooks_.calculationSheet != nullptr) {
        hooks_.calculationSheet->showModal();
    }
    w_.Memo2.pasteFromClipboard();
}

void TForm1::selectCaretLine() {
    const std::string t = w_.Memo2.text();
    const std::size_t caret = std::min(w_.Memo2.selStart(), t.size());
    const std::size_t lf = caret == 0 ? std::string::npos : t.rfind('\n', caret - 1);
    const std::size_t start = lf == std::string::npos ? 0 : lf + 1;
    std::size_t end = t.find("\r\n", start);
    if (end == std::string::npos) {
        end = t.size();
    }
    w_.Memo2.setSelection(start, end - start);
}

void TForm1::ScomponiClick() {
    if (w_.Memo2.text().empty()) {
        return;
    }
    selectCaretLine();
    if (w_.Memo2.selLength() > 1 && hooks_.decomposition != nullptr) {
        hooks_.decomposition->showModal();
    }
}

void TForm1::StrutturaClick() {
    if (w_.Memo2.text().empty()) {
        return;
    }
    selectCaretLine();
    if (w_.Memo2.selLength() > 1 && hooks_.structureView != nullptr) {
        hooks_.structureView->showModal();
    }
}

}  // namespace editor
