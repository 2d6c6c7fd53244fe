#pragma once

// The desktop services of the ui layer on Qt: dialogs (always dialog objects, never Qt's
// static dialog functions, so that no dialog opens behind the logic's back), clipboard, shell,
// programs, printer, and modal windows.

#include <QDialog>
#include <QPointer>
#include <memory>

#include "ui/dialogs.h"
#include "ui/services.h"
#include "ui/widgets.h"

class QPrinter;

namespace gui {

// "Name|pattern|Name|pattern" as a Qt file dialog filter ("Name (pattern);;Name (pattern)").
QString qtFileFilter(std::string_view filter);

class QtDialogs : public ui::Dialogs {
public:
    // `parent` is the window the dialogs belong to (may be null).
    explicit QtDialogs(QWidget* parent, QPrinter* printer = nullptr)
        : parent_(parent), printer_(printer) {}

    void beep() override;
    ui::Answer message(const ui::MessageBox& box) override;
    std::optional<std::string> inputBox(std::string_view caption, std::string_view prompt,
                                        std::string_view value) override;
    std::optional<std::string> openFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> saveFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> chooseFolder(std::string_view title,
                                            std::string_view start) override;
    std::optional<ui::Font> chooseFont(const ui::Font& current) override;
    bool printDialog() override;
    bool printerSetup() override;

private:
    QPointer<QWidget> parent_;
    QPrinter* printer_;
};

class QtClipboard : public ui::Clipboard {
public:
    std::string text() const override;
    void setText(std::string_view text) override;
    void setBitmap(const ui::Bitmap& bitmap) override;
    bool hasBitmap() const override;
    ui::Bitmap bitmap() const override;
    void clear() override;
};

class QtShell : public ui::Shell {
public:
    bool open(const std::string& path) override;
    std::optional<int> runAndWait(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::string& directory) override;
};

class QtPrinter : public ui::Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    bool printLines(const std::vector<std::string>& lines, const ui::Font& font) override;
    bool printBitmap(const ui::Bitmap& bitmap) override;
    int pageWidth() const override;
    int pageHeight() const override;
    ui::Orientation orientation() const override;
    void setOrientation(ui::Orientation orientation) override;
    bool printPages(const std::vector<ui::PrintPage>& pages, const std::string& imageFile) override;
    QPrinter* printer() const { return printer_.get(); }

private:
    std::unique_ptr<QPrinter> printer_;
};

// A dialog shown modally: showModal returns when closeModal (or the user) closes it.
class QtModal : public ui::ModalWindow {
public:
    explicit QtModal(QDialog* dialog) : dialog_(dialog) {}
    void showModal() override;
    void closeModal() override;

private:
    QDialog* dialog_;
};

// Closes any open popup menu before a modal window shows over it.
void closePopups();

// From now on remembers the control that last had the keyboard focus outside the menus.
// Called by every window; the first call starts it.
void trackFocus();
// The control that has the focus, or had it before a menu took it; null when none.
QWidget* focusOutsideMenus();

// While alive, a modal window or a menu is open: when it closes, the focus goes back to the
// control that had it when it opened, if that can still take it.
class FocusReturn {
public:
    FocusReturn();
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> widget_;
};

// After a menu of the bar closed without opening anything: the focus leaves the menu bar and
// goes back to the control that had it.
void returnFocusFromMenuBar();

}  // namespace gui
