#pragma once

// What follows a successful copy (and the external programs), on the window thread:
//   1. when groups are queued, the Start Menu question; on Yes, every group and its links;
//   2. the queued fonts registered; 3. the queued registry values written;
//   4. the distribution path made the job's source; 5. the product key written;
//   6. the uninstall entry, for the products that have an uninstaller of their own;
//   then what the product needs to be removed later (record_installation.h: the counts of its
//   shared files, instello's own entry in the list of programs for the other products, the
//   record BIN\INSTALL.LOG); then the job's undo log is committed (the installation is complete
//   from here on), and only then 7. "Installation succesful!\nThank you for choosing " + AppName +
//   "!".
// A Start Menu that cannot be made shows "Can not add Start Menu icons!", takes back the
// groups made so far, and the later steps still run. Every change is journalled in the job's
// undo log; when a change cannot be journalled the steps raise CError 4 before the commit,
// and the caller rolls the whole installation back.
//
// The restart question and the restart come at the very end of the program.

#include <cstddef>
#include <string_view>

#include "installer/install_job.h"
#include "installer/product.h"
#include "installer/prompter.h"

namespace installer {

// What the steps did, for a front end that reports it.
struct SuccessReport {
    std::size_t groups = 0;  // Start Menu groups made
    std::size_t links = 0;
    std::size_t fonts = 0;   // fonts registered
    std::size_t values = 0;  // queued registry values written
};

SuccessReport performSuccessSteps(InstallJob& job, Product& product, Prompter& prompter);

// Asks "You must restart Windows before using " + AppName + ".\nDo you want to restart now?";
// true for Yes. Ask only when the script's Restart flag is set.
bool askRestart(const Product& product, Prompter& prompter);

// Restarts Windows: on Windows NT the shutdown privilege first; when that cannot be had, or
// when Windows refuses, "Sorry, installation program was unable to restart system.\nPlease
// use the Start menu to reboot your computer." (caption "System Restart"). The restart is
// asked for in every case; true when Windows accepted it.
bool restartWindows(system::System& sys, Prompter& prompter);

}  // namespace installer
