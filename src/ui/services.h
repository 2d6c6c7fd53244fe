#pragma once

// The desktop services the window logic uses besides widgets and dialogs: clipboard, shell,
// programs, printer and keyboard state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/widgets.h"

namespace ui {

// The desktop clipboard. Text is code page 1252 with CR LF line breaks.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
    virtual void setBitmap(const Bitmap& bitmap) = 0;
    // True when the clipboard holds a picture (put there by this program or another one).
    virtual bool hasBitmap() const = 0;
    // The picture on the clipboard; empty when there is none.
    virtual Bitmap bitmap() const = 0;
    virtual void clear() = 0;
};

// Opening documents and links, and running programs.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file or link with the desktop's handler for it (the shell verb "open");
    // false when no handler could be started.
    virtual bool open(const std::string& path) = 0;
    // Starts `program` with `arguments` (no shell in between) in `directory` and waits for it
    // to end. The exit status, or nullopt when the program could not be started.
    virtual std::optional<int> runAndWait(const std::string& program,
                                          const std::vector<std::string>& arguments,
                                          const std::string& directory) = 0;
};

enum class Orientation { Portrait, Landscape };

// One page of a printout made of a picture: the heading is written at (10, 15) in 14-pixel
// type over the picture before it is printed.
struct PrintPage {
    Bitmap picture;
    std::string heading;
};

// The printer chosen in the last print dialog.
class Printer {
public:
    virtual ~Printer() = default;
    // The printable page, in the printer's dots, in the current orientation.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual Orientation orientation() const = 0;
    virtual void setOrientation(Orientation orientation) = 0;
    // One print job, a printer page for each page: the picture with its heading is saved as
    // `imageFile` (a BMP file), and what was saved is drawn scaled to the full page height with
    // its proportions kept (when the file cannot be written the picture is printed as it is).
    // False when the job could not be printed.
    virtual bool printPages(const std::vector<PrintPage>& pages, const std::string& imageFile) = 0;
    // Prints the lines as text in `font`, page breaks left to the printer; false on failure.
    virtual bool printLines(const std::vector<std::string>& lines, const Font& font) = 0;
    // Prints one picture on a page of its own.
    virtual bool printBitmap(const Bitmap& bitmap) = 0;
};

// Key state that is not part of a key event.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // NumLock toggled on.
    virtual bool numLockOn() const = 0;
};

}  // namespace ui
