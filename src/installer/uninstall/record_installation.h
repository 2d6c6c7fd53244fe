#pragma once

// The last steps of a successful installation, before its commit (success_steps.h): what the
// product needs so that it can be removed later.
//   1. The files it installed below the Windows folder are shared with other products: each
//      gets one more user in the SharedDLLs key (a file that was there already starts at two:
//      the product that brought it counts too), once per product.
//   2. Its entry in the list of programs, unless the product has an uninstaller of its own:
//      HKEY_LOCAL_MACHINE "...\Uninstall\" + AppName with UninstallString and
//      QuietUninstallString (when the installer copy BIN\INSTELLO.EXE is there), DisplayName,
//      DisplayVersion, Publisher, DisplayIcon, InstallLocation, EstimatedSize (kilobytes of
//      its files), NoModify and NoRepair. A value that a component program wrote to that key
//      is left as it wrote it.
//   3. The record BIN\INSTALL.LOG (install_record.h) of everything the installation made,
//      merged with the record of an earlier installation of the product; with the registry
//      keys it wrote in that another product of the vendor had made (its record says so):
//      the last of the two to be removed takes them.
// Every change is journalled in the job's undo log. Raises CError 3 when an installed file
// cannot be read, 4 when the record cannot be written.

#include <string_view>

#include "installer/install_job.h"
#include "installer/integration/deferred_actions.h"
#include "installer/product.h"

namespace installer {

inline constexpr std::string_view kSharedDllsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// The vendor, as the list of programs names it.
inline constexpr std::string_view kPublisher = "Quillon";

void recordInstallation(InstallJob& job, const Product& product, IntegrationContext& context);

}  // namespace installer
