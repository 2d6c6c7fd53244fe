#pragma once

// The installer's main window (`CMainDlg`) and its Details window (`CDetailsDlg`): the
// components to install, the destination folder and the space they take. The main window
// ends with Install (the product then holds the destination and "Check for optional
// components") or with Quit.
//
// The destination is checked on every edit: its message goes under the field and "Install" is
// enabled only for a valid one. "Help..." is enabled when the installer's folder holds
// INSTELLO.HLP. Runs on the window thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "installer/drives.h"
#include "installer/product.h"
#include "installer/windows/component_chooser.h"
#include "ui/widgets.h"

namespace installer {

// "%ld kB".
std::string kilobytesText(std::int64_t kilobytes);

// The folder picker's start for a destination: the destination cut at its end until an
// existing folder remains (at worst the drive's root); empty when not even that exists.
std::string browseStart(system::System& sys, std::string_view destination);

struct MainDialogWidgets {
    ui::Window& window;
    ui::ModalWindow& modal;
    ChooserWidgets chooser;
    ui::Control& prompt;  // "Select components you wish to install. ..."
    ui::TextBox& destination;
    ui::Control& browse;
    ui::Control& validation;
    ui::Control& spaceNeeded;
    ui::Control& spaceAvailable;
    ui::Control& install;
    ui::Control& quit;
    ui::Control& help;
    ui::Control& about;
    ui::Control& checkOptional;
};

struct MainDialogServices {
    // The folder window, opened at a Windows path; the chosen folder, or none.
    std::function<std::optional<std::string>(const std::string& start)> chooseFolder;
    std::function<void()> openAbout;
    // Opens the help file at its index; false when it cannot be shown.
    std::function<bool(const std::string& helpFile)> openHelp;
    OpenDetails openDetails;
};

class CMainDlg {
public:
    // Borrows all. Sets the window up as it opens (the recommended selection applied).
    CMainDlg(const MainDialogWidgets& widgets, Product& product, system::System& sys,
             Prompter& prompter, ClusterCache& clusters, MainDialogServices services);

    // True after Install closed the window.
    bool installChosen() const { return install_; }

    // What the buttons do (also reachable by their clicks).
    void validate();
    void browse();
    void help();
    void installClicked();
    void quitClicked();
    // The close box: asks like Quit; true when the window may close.
    bool closeQuery();

private:
    void showSpace();
    bool destinationValid() const { return valid_; }

    MainDialogWidgets w_;
    Product& product_;
    system::System& sys_;
    Prompter& prompter_;
    ClusterCache& clusters_;
    MainDialogServices services_;
    ChooserContext context_;
    ComponentChooser chooser_;
    bool valid_ = false;
    bool install_ = false;
    bool closing_ = false;
};

struct DetailsDialogWidgets {
    ui::Window& window;
    ui::ModalWindow& modal;
    ChooserWidgets chooser;
    ui::Control& spaceNeeded;
    ui::Control& spaceAvailable;
    ui::Control& ok;
    ui::Control& cancel;
};

// The Details window on one group's members; nested groups open another one.
class CDetailsDlg {
public:
    // `otherKb`: what is chosen outside the group; `available`: the main window's text.
    CDetailsDlg(const DetailsDialogWidgets& widgets, ComponentGroup& group, ChooserContext& context,
                std::int64_t otherKb, const std::string& available);

    // True after OK closed the window.
    bool accepted() const { return accepted_; }

private:
    void showSpace();

    DetailsDialogWidgets w_;
    ComponentGroup& group_;
    ChooserContext& context_;
    ComponentChooser chooser_;
    std::int64_t otherKb_;
    bool accepted_ = false;
};

}  // namespace installer
