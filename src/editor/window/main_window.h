#pragma once

// TForm1, the main window's logic: the document of fifteen pages, the two editors (Latex mode
// `Memo1`, Braille mode `Memo2`), the mode switch, page changes, start-up, first activation,
// resize layout, the about panel, help pages and the closing sequence. It reaches its widgets
// only through the ui interfaces that whoever builds the window hands it (Qt widgets in the
// program, in-memory widgets in tests) and takes its collaborators as hooks, so the features
// that come later plug in without changing it:
//
//   - commands: setCommandHandler(Command, fn) runs fn for the menu item, its shortcut and
//     any button bound to it; a command without a handler does nothing;
//   - keys: addKeyHandler() adds a handler that sees every key event after the menu
//     shortcuts, in the order handlers were added; swallowing a key stops the chain;
//   - editor events: addEditorListener() hears changes, clicks and focus losses of both editors;
//     addPageListener() hears every time a page is put into the editors;
//   - the hooks of MainWindowHooks (conversion, document loading and saving, filter file,
//     linear view, learning windows), each optional.
//
// Ownership: TForm1 keeps references to everything it is given; the builder keeps those
// alive for as long as the TForm1 lives.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/page_store.h"
#include "editor/settings/configuration.h"
#include "editor/window/menu_commands.h"
#include "learning/tutor_opener.h"
#include "speech/speech_request.h"
#include "speech/speech_switch.h"
#include "ui/dialogs.h"
#include "ui/services.h"
#include "ui/widgets.h"

namespace learning {
struct TutorAnalysis;
}
namespace ui {
struct ProgramFolders;
}

namespace editor {

class TForm3;

// The widgets of the main window.
struct MainWindowWidgets {
    ui::Window& form;
    ui::MenuBar& menu;
    ui::TextBox& Memo1;   // Latex editor
    ui::TextBox& Memo2;   // Braille editor
    ui::TextBox& Edit3;   // hidden chord buffer
    ui::Control& Label1;  // mode
    ui::Control& Label2;  // input
    ui::Control& Label3;  // page occupancy strip
    ui::Control& Label4;  // speech state
    ui::TabBar& tabs;
    ui::Control& statusBar;
    ui::MathView& Image1;   // linear view
    ui::ImageView& Image3;  // symbol legend
    ui::Control& Converti;
    ui::Control& Funzioni;
    ui::Control& Operatori;
    ui::Control& Insiemistica;
    ui::Control& Logica;
    ui::Control& Greche;
    ui::Control& Simboli;
    ui::Control& EditorGrafico;
    ui::Control& VisualLineare;
    ui::Control& Mathml;
    ui::Control& Simb;
    ui::ListBox& ListBox1;  // palette names
    ui::ListBox& ListBox2;  // palette texts, never shown
    ui::Widget& Panel1;     // about panel
    ui::Control& PanelOk;
    ui::Control& Link1;
    ui::Control& Link2;
    ui::Timer& Timer1;  // chord timer
    ui::Timer& Timer2;  // splash
};

struct MainWindowServices {
    ui::Dialogs& dialogs;
    ui::Clipboard& clipboard;
    ui::Shell& shell;
    ui::Printer& printer;
    ui::Keyboard& keyboard;
};

// Where the program lives and what it was started with.
struct MainWindowEnvironment {
    std::filesystem::path programDirectory;    // the executable's folder
    std::filesystem::path temporaryDirectory;  // the program's private temporary folder
    std::vector<std::string> arguments;        // command line after the program name
    bool speechAvailable = false;              // the speech backend can speak
    // Where the Braille font file is looked for; empty means fontDirectories(programDirectory).
    std::vector<std::filesystem::path> fontDirectories;
    // The configuration file; empty means programDirectory / "tattilo.ini".
    std::filesystem::path configurationFile;
    // Where the default exercise folder is made; empty means programDirectory (an installed
    // program keeps its shipped files apart from what the user writes).
    std::filesystem::path documentsDirectory;
};

// The installed program's environment: its folders, its private temporary folder and its
// command line. Whether speech is available is the caller's to say.
MainWindowEnvironment programEnvironment(const ui::ProgramFolders& folders,
                                         const std::filesystem::path& temporaryDirectory,
                                         std::vector<std::string> arguments);

enum class Editor { Latex, Braille };
enum class EditorEvent { Changed, Clicked, Left };

// Which texts a conversion of all pages reads: those of the mode being left.
enum class ConversionDirection { LatexToBraille, BrailleToLatex };

struct MainWindowHooks {
    // Converts all fifteen pages; the editors are already stored into the page. Returns false
    // when a page failed (the hook has reported it and emptied that page's target text).
    // Without a hook nothing is converted and no error is reported.
    std::function<bool(PageStore&, ConversionDirection)> convertAllPages;
    // Loads the document file into the (cleared) pages, reporting its own errors.
    std::function<void(const std::string& path, PageStore&)> loadDocument;
    // Saves the document (asking for a name when needed); returns whether it was saved.
    std::function<bool()> saveDocument;
    // Reads the filter file at the first activation; it exists when called.
    std::function<void(const std::filesystem::path&)> loadFilterFile;
    // Redraws the linear view after a change, a click or a resize.
    std::function<void()> refreshLinearView;
    // The learning windows shown modally from the "Calcolo" menu; null until they exist.
    ui::ModalWindow* calculationSheet = nullptr;
    ui::ModalWindow* decomposition = nullptr;
    ui::ModalWindow* structureView = nullptr;
    // The tutor windows shown from the "Tutor" menu: brackets, operations, complex fractions.
    learning::TutorOpener* bracketsTutor = nullptr;
    learning::TutorOpener* operationsTutor = nullptr;
    learning::TutorOpener* fractionsTutor = nullptr;
};

// What a screen reader calls the page occupancy strip: the pages whose star shows in either
// notation, "Pagine occupate: 1, 3" ("Pagine occupate: nessuna" when none).
std::string occupiedPagesName(std::string_view strip);

// The window title: `prefix` (which may end in its " - " when no document is named) and the
// mode, " - modalità Braille" or " - modalità Latex", whatever form the stored mode text took.
std::string windowTitle(std::string_view prefix, std::string_view modeText);
// The mode text of a stored one: Braille when it holds "Braille", else Latex.
std::string_view modeTextOf(std::string_view stored);

// A key handler added by an input feature (chord, keypad, speech of typing, undo...). The
// window keeps a reference to it: a copy would never be called, so there is none.
class KeyHandler {
public:
    KeyHandler() = default;
    virtual ~KeyHandler() = default;
    KeyHandler(const KeyHandler&) = delete;
    KeyHandler& operator=(const KeyHandler&) = delete;
    virtual void keyDown(ui::KeyEvent& /*event*/) {}
    virtual void keyPress(ui::KeyPress& /*press*/) {}
    virtual void keyUp(ui::KeyEvent& /*event*/) {}
};

class TForm1 : public ui::KeyListener {
public:
    // Creates the window: reads the configuration and sets the widgets up for the starting
    // mode. `settingsDialog` is the settings dialog shown from the "Impostazioni" menu and at
    // the first activation; `speech` may be null.
    TForm1(MainWindowWidgets widgets, MainWindowServices services,
           MainWindowEnvironment environment, TForm3& settingsDialog,
           speech::RequestSink* speech = nullptr, MainWindowHooks hooks = {});
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // ---- extension points
    void setCommandHandler(Command id, std::function<void()> handler);
    void addKeyHandler(KeyHandler& handler);
    void addEditorListener(std::function<void(Editor, EditorEvent)> listener);
    // Runs after show page has put a page into both editors (page change, mode switch, New,
    // Open, the document of the command line): what was held for the old text is stale.
    void addPageListener(std::function<void()> listener);
    // Runs at the end of the first activation (arming undo, preparing the linear view...).
    void addStartupStep(std::function<void()> step);
    // Runs once the close query has let the window close (the work was saved or given up).
    void addCloseListener(std::function<void()> listener);
    MainWindowHooks& hooks() { return hooks_; }

    // ---- state shared with the features
    PageStore& pages() { return pages_; }
    const PageStore& pages() const { return pages_; }
    int currentPage() const { return page_; }
    bool brailleMode() const { return braille_; }
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    const std::string& currentFileName() const { return fileName_; }
    void setCurrentFileName(std::string path) { fileName_ = std::move(path); }
    const std::string& titlePrefix() const { return titlePrefix_; }
    void setTitlePrefix(std::string prefix) { titlePrefix_ = std::move(prefix); }
    const std::string& modeText() const { return modeText_; }
    bool speechOn() const { return speechSwitch_.speechOn(); }
    // The one speech on/off state: the speech reader asks it before speaking.
    const speech::SpeechGate& speechGate() const { return speechSwitch_; }
    // Where speech requests go from now on (the speech reader, made after the window); null:
    // nowhere.
    void setSpeechSink(speech::RequestSink* sink) { speech_ = sink; }
    bool speechAvailable() const { return environment_.speechAvailable; }
    bool chordInput() const { return chordInput_; }
    void setChordInput(bool on) { chordInput_ = on; }
    bool numLockOn() const { return numLock_; }
    int changeCounter() const { return changeCounter_; }
    bool startupDone() const { return startupDone_; }
    // The first activation has done its work (the document of the command line is open).
    bool started() const { return started_; }
    bool closing() const { return closing_; }
    bool linearViewShown() const { return linearViewShown_; }
    void setLinearViewShown(bool shown);
    // The strip under the Braille editor that the linear view's drawing (`Image1`) and, when
    // shown, the legend (`Image3`) share, as the last resize left it.
    const ui::Rect& stripBounds() const { return strip_; }
    // Lays the drawing, the legend under it and the "Simb." button out in the strip: the
    // legend never takes the room of the drawing's last two lines.
    void placeStrip();
    const MainWindowEnvironment& environment() const { return environment_; }
    const MainWindowWidgets& widgets() const { return w_; }
    const MainWindowServices& services() const { return s_; }
    // The editor of the current mode.
    ui::TextBox& activeEditor() { return braille_ ? w_.Memo2 : w_.Memo1; }
    ui::Control& menuItem(Command id) { return w_.menu.item(static_cast<int>(id)); }

    // ---- operations used by other features
    void showPage();
    void storePage();
    void clearDocument();
    // Puts a whole document in the window as it was: its pages in both notations, the page
    // shown (1 to 15) and the mode, without converting anything; both carets go to 0.
    void putDocument(PageStore pages, int page, bool braille);
    void updateOccupancyStrip();
    void updateTitle();
    // Stores both editors into the current page and converts all pages from the current mode;
    // false when the conversion reported an error.
    bool convertAllPages();
    // A command changed or "clicked" an editor: the window and the features react as they do
    // to the user's own edit or click (setting a text from the logic raises nothing).
    void notifyEditor(Editor editor, EditorEvent event) { editorEvent(editor, event); }
    // Sends a request (built by speech/request_sources.h) while speech is on; a request in mode
    // "all" without a rate gets the configured one.
    void speak(speech::Request request);
    void refreshLinearView();
    // Runs a command as its menu item would; false when it has no handler or is disabled.
    bool runCommand(Command id);
    // Shows the settings dialog and applies what the user confirmed.
    void openSettings();
    // A key or a button that cannot do its work now says why: a beep, `reason` spoken and
    // shown in the status bar until the next key or page change.
    void explain(std::string_view reason);
    // The page status of the status bar ("Pag. 1 Braille"), whatever notice it shows now.
    const std::string& pageStatus() const { return pageStatus_; }
    // What decides whether a menu command can act now (menu_commands.h).
    MenuState menuState() const;

    // ---- events (the builder forwards them; the widgets' callbacks call them too)
    void FormActivate();
    void FormResize();
    bool FormCloseQuery();
    void ConvertiClick();
    void AvantiClick();
    void IndietroClick();
    void TabControl1Change();
    void Timer2Timer();
    void AiutoClick();
    void CodicitastnumericaClick();
    void InformazionisuClick();
    void PanelOkClick();
    void LinkClick(int which);      // 1 or 2
    void LinkMouseMove(int which);  // the mouse is over a link label
    void Panel1MouseMove();
    void AttivasintesivocaleClick();
    void AprifogliocalcoloClick();
    void ScomponiClick();
    void StrutturaClick();
    // The "Tutor" menu (main_window_tutors.cpp): opening it analyses the caret's line; an
    // entry, or its shortcut, takes the step or says why it cannot.
    void TutorMenuOpened();
    void TutorEntryClick(learning::TutorStep step);

    // ui::KeyListener: the window sees every key before its focused control.
    void keyDown(ui::KeyEvent& event) override;
    void keyPress(ui::KeyPress& press) override;
    void keyUp(ui::KeyEvent& event) override;

    // Layout of the resize: the window geometry used when the configuration has none.
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 600;
    static constexpr int kEditorLeft = 16;
    static constexpr int kEditorTop = 100;

private:
    void wireWidgets();
    void openSettings(std::optional<std::string_view> caption);
    void applyModeWidgets();
    void applyMathml();
    void changePage(int page);
    void setPageStatus(std::string status);
    // "Pag. <number>", with " Braille" in Braille mode.
    void setPageStatusOf(std::string_view number);
    void menuOpened(Command id);
    bool runShortcut(ui::KeyEvent& event);
    bool explainAltKey(ui::KeyEvent& event);
    bool commandEnabled(Command id);
    void editorEvent(Editor editor, EditorEvent event);
    void selectCaretLine();
    void openOnCaretLine(ui::ModalWindow* window);
    void wireTutors();
    void showTutorEntries(const learning::TutorAnalysis* analysis);
    void openHelpFile(std::string_view name, std::string_view notFound, std::string_view loadError);
    void speechLabel();
    void centrePanel(int width, int height);
    void writeConfiguration();

    MainWindowWidgets w_;
    MainWindowServices s_;
    MainWindowEnvironment environment_;
    TForm3& settingsDialog_;
    speech::RequestSink* speech_;
    MainWindowHooks hooks_;

    std::vector<std::function<void()>> commandHandlers_;
    std::vector<KeyHandler*> keyHandlers_;
    std::vector<std::function<void(Editor, EditorEvent)>> editorListeners_;
    std::vector<std::function<void()>> pageListeners_;
    std::vector<std::function<void()>> startupSteps_;
    std::vector<std::function<void()>> closeListeners_;
    std::unique_ptr<KeyHandler> tutorKeys_;  // tutor shortcuts of entries not enabled

    PageStore pages_;
    Settings settings_;
    int page_ = 1;
    bool braille_ = false;
    bool modified_ = false;
    std::string fileName_;
    std::string titlePrefix_;
    std::string modeText_;
    std::string pageStatus_;
    bool altAlone_ = false;                           // Alt is down and no other key came since
    bool noticeShown_ = false;                        // the status bar shows why a key did nothing
    std::vector<std::pair<char, Command>> menuKeys_;  // the access key of each menu of the bar
    std::size_t caret1_ = 0;
    std::size_t caret2_ = 0;
    speech::SpeechSwitch speechSwitch_;  // speech on/off, the menu entry's caption, Label4
    bool chordInput_ = false;
    bool numLock_ = false;
    int changeCounter_ = 0;
    bool activated_ = false;
    bool started_ = false;
    bool startupDone_ = false;
    bool closing_ = false;
    bool linearViewShown_ = true;
    ui::Rect strip_;
    int legendHeight_ = 0;  // the legend picture's own height
};

}  // namespace editor
