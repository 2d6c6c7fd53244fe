#pragma once

// Every text the installer shows, word for word (odd spellings included: they are the
// product's own).

#include <string_view>

namespace installer::msg {

// Start-up.
inline constexpr std::string_view kScriptName = "INSTELLO.INI";
inline constexpr std::string_view kComponentListName = "INSTALL.CFG";
inline constexpr std::string_view kInstallerCaption = "Installer";
// The first line of the message when the windows cannot be made; the reason follows.
inline constexpr std::string_view kWindowsFailed = "The installer's windows could not be opened.";
inline constexpr std::string_view kNoScript = "Can not find INSTELLO.INI.\nInstallation canceled.";
inline constexpr std::string_view kCannotInitialize =
    "Can not initialize installation.\nMake sure your INSTELLO.INI file is not "
    "corrupted.\nInstallation canceled.";
inline constexpr std::string_view kBadScript = "Bad INSTELLO.INI.\nInstallation aborted!";
inline constexpr std::string_view kAboutToInstallHead = "Now you about to install ";
inline constexpr std::string_view kAboutToInstallTail =
    ".\nPlease close all running applications and \nthen press [OK] to continue.";
inline constexpr std::string_view kCaptionSuffix = " Install";
inline constexpr std::string_view kInstallerSuffix = " Installer";
inline constexpr std::string_view kRunMsg =
    "Now intstaller will run external programs.\nIt may take some time. Please be patient.";

// Product handlers.
inline constexpr std::string_view kNoFontRights =
    "The Installer can not get access rights to install Formix TrueType fonts.\nYou must log in "
    "under the Adminstrator account\nand run the Formix Installer again.";
inline constexpr std::string_view kRemovePrevious =
    "The Installer will now check your system for previous version of Formix.\nIf a previous "
    "version is found it will be deleted.\nIf you have any files in Formix directories you wish "
    "to save \npress [Cancel], move your files to another location and run the installer again.";
inline constexpr std::string_view kCanNotExecute = "Can not execute ";
inline constexpr std::string_view kNoFormix =
    "The Installer can not find Formix.\nSelect [Cancel] to cancel font installation and install "
    "Formix.";
// %s is the product name.
inline constexpr std::string_view kTexPathWarning =
    "We strongly recommend not to install %s into\ndirectories with names containing spaces, "
    "dots,\ncommas, or other non-traditional characters.\nDue to the TeX language nature, "
    "installing into\nsuch directories may result in problems.\nProceed anyway?";

// Status texts of the component programs.
inline constexpr std::string_view kStatusStartMenu = "Creating Start Menu entries...";
inline constexpr std::string_view kStatusCreateSettings = "Creating KORVO.INI...";
inline constexpr std::string_view kStatusUpdateSettings = "Updating KORVO.INI...";
inline constexpr std::string_view kStatusRasterFonts = "Configuring raster fonts...";
inline constexpr std::string_view kCopying = "Coping: ";
inline constexpr std::string_view kCreating = "Creating: ";
inline constexpr std::string_view kInstalling = "Installing: ";

// Destination check.
inline constexpr std::string_view kSetDestination = "Set destination folder.";
inline constexpr std::string_view kInvalidPath = "Invalid path.";
inline constexpr std::string_view kSetDrive = "Set drive.";
inline constexpr std::string_view kRemovableDrive =
    "You can not install to removable or network drive.";

// The flow.
inline constexpr std::string_view kNothingSelected =
    "You have not select any package to install!\nAre you sure?";
inline constexpr std::string_view kNoSpace = "Available space is not suffucient!\nProceed anyway?";
inline constexpr std::string_view kNotCompleted = "Installation was not completed.\nAre you sure?";
inline constexpr std::string_view kCanceled = "Installation canceled!";
inline constexpr std::string_view kSuccessHead = "Installation succesful!\nThank you for choosing ";
inline constexpr std::string_view kInsertDisk = "Insert disk labeled ";
inline constexpr std::string_view kDifferentLocation =
    "If the files can be found at a different location type a new path";
inline constexpr std::string_view kCannotTerminate =
    "You can not terminate installation at this moment.";

// The windows.
inline constexpr std::string_view kComponentsPrompt =
    "Select components you wish to install.\nTo add or remove a component, click the check box .";
inline constexpr std::string_view kPressDetails = "\nPress Details button to view details.";
inline constexpr std::string_view kCannotFindPackage = "Can not find package";
inline constexpr std::string_view kCannotFindPackageAt =
    "Can not find package at the specified location.";
inline constexpr std::string_view kReallyQuit = "Do you really want to quit?";
inline constexpr std::string_view kHelpFile = "INSTELLO.HLP";
inline constexpr std::string_view kNoHelp = "Help file not available.";
inline constexpr std::string_view kHelpCaption = "Installer Help";
inline constexpr std::string_view kDetailsTitle = "Details";
inline constexpr std::string_view kSelectDirectory = "Select Directory";
inline constexpr std::string_view kLicenseTitle = "License Agreement";
inline constexpr std::string_view kInstallingTitle = "Installing...";
inline constexpr std::string_view kInstallingLine = "Installing";
inline constexpr std::string_view kCreatingLine = "Creating";
inline constexpr std::string_view kSelectLocation = "Select location";
inline constexpr std::string_view kAboutTitle = "About The Installer";
inline constexpr std::string_view kVersionHead = "Version ";
// What the About window says under the version.
inline constexpr std::string_view kAboutText =
    "Installs the product from its distribution folder and keeps a journal of every change, "
    "so that a cancelled or interrupted installation is undone.";

// System integration.
inline constexpr std::string_view kStartMenuQuestion =
    "Do you want to create icons in Start Menu\\Programs folder?";
inline constexpr std::string_view kRestartHead = "You must restart Windows before using ";
inline constexpr std::string_view kRestartTail = ".\nDo you want to restart now?";
inline constexpr std::string_view kRestartCaption = "System Restart";
inline constexpr std::string_view kCannotRestart =
    "Sorry, installation program was unable to restart system.\nPlease use the Start menu to "
    "reboot your computer.";

// PDF reader detection.
inline constexpr std::string_view kReader3Name = "Acrobat Reader 3";
inline constexpr std::string_view kReader4Name = "Acrobat Reader 4";
inline constexpr std::string_view kReaderFailedHead = "Failed to find ";
inline constexpr std::string_view kReaderFailedTail = " due to a following error:\n";
inline constexpr std::string_view kNoAcroRd32 = "Can not find AcroRd32.exe.";
inline constexpr std::string_view kNoPlugIn = "Can not find nppdf32.dll";
inline constexpr std::string_view kReaderMemory = "Memory allocation error.";
inline constexpr std::string_view kReaderRequiredHead = "Can not find Adobe Acrobat Reader.\n";
inline constexpr std::string_view kReaderRequiredTail =
    " uses Acrobat Reader and its fonts.\nPlease install/reinstall the Acrobat Reader and run the "
    "Installer again.";
inline constexpr std::string_view kReaderProceed =
    "Can not locate Adobe Acrobat Reader!\nIf you are going to use PDF-mode, press [No] "
    "button\ninstall/reinstall the Acrobat Reader and run the Installer again.\nProceed with "
    "installation?";

// An installation that a crash or a power cut interrupted (%s is its product's name).
inline constexpr std::string_view kInterruptedFound =
    "The installation of %s was interrupted before it ended.\nThe Installer will now undo it "
    "and put back every file it changed.";
inline constexpr std::string_view kInterruptedUndone =
    "The interrupted installation has been undone.\nYour computer is as it was before it began.";
inline constexpr std::string_view kInterruptedFinished =
    "The interrupted installation had already ended.\nThe Installer has removed the copies it "
    "kept of the files it changed.";
inline constexpr std::string_view kInterruptedNotUndone =
    "The interrupted installation could not be undone completely.\nClose every program that may "
    "use its files and run the Installer again.";
inline constexpr std::string_view kRollbackIncomplete =
    "The Installer could not undo the installation completely.\nClose every program that may use "
    "its files and run the Installer again: it will finish the undo.";
inline constexpr std::string_view kAnotherInstaller =
    "Another installation is running.\nWait until it ends and run the Installer again.";

// The removal of an installed product (`instello --uninstall`). %s is the product's name
// unless said otherwise.
inline constexpr std::string_view kUninstallCaptionSuffix = " Uninstall";
inline constexpr std::string_view kUninstallQuestion =
    "Do you want to remove %s from this computer?";
// %s is the folder the product was installed in.
inline constexpr std::string_view kUninstallWhat =
    "The Installer will remove what it installed in %s, its Start Menu entries, its fonts and "
    "its registry entries.\nThe files you made or changed there stay where they are.";
inline constexpr std::string_view kUninstallRemove = "&Remove";
inline constexpr std::string_view kRemovingTitle = "Removing...";
inline constexpr std::string_view kRemovingLine = "Removing ";
inline constexpr std::string_view kRemovingFile = "Removing: ";
inline constexpr std::string_view kRemovingShortcut = "Removing the Start Menu entry: ";
inline constexpr std::string_view kRemovingFont = "Removing the font: ";
inline constexpr std::string_view kRemovingRegistry = "Removing the registry entries...";
inline constexpr std::string_view kRemovingEntry = "Removing the entry of the list of programs...";
inline constexpr std::string_view kRemovingFolders = "Removing the folders...";
inline constexpr std::string_view kNotInstalled =
    "%s is not installed on this computer.\nThere is nothing to remove.";
// %s is the record's path.
inline constexpr std::string_view kNoRecord =
    "The Installer can not find the record of what it installed: %s.\nThe product can not be "
    "removed by the Installer.";
inline constexpr std::string_view kNoProductNamed =
    "The Installer does not know which product to remove.\nRun it from the product's folder, or "
    "name the product.";
// %s is the file.
inline constexpr std::string_view kFileInUse =
    "The file %s is in use by a program that is running.\nClose that program and press OK to "
    "try again, or Cancel to stop the removal.";
inline constexpr std::string_view kNotRemovedInUse =
    "Nothing has been removed: the file %s is still in use.";
inline constexpr std::string_view kRemovalNotCompleted =
    "Removal was not completed.\nAre you sure?";
inline constexpr std::string_view kRemovalCanceled =
    "Removal canceled!\nEverything the removal had taken away is back in its place.";
inline constexpr std::string_view kRemovalRollbackIncomplete =
    "The Installer could not put back everything the removal had taken away.\nClose every "
    "program that may use its files and run the Installer again: it will finish the undo.";
inline constexpr std::string_view kRemoved = "%s has been removed from this computer.";
inline constexpr std::string_view kKeptFolder =
    "\nThis folder still holds files you made or changed; they have been kept:";
inline constexpr std::string_view kKeptFolders =
    "\nThese folders still hold files you made or changed; they have been kept:";
inline constexpr std::string_view kRemovalInterruptedFound =
    "The removal of %s was interrupted before it ended.\nThe Installer will now undo it and put "
    "back every file it removed.";
inline constexpr std::string_view kRemovalInterruptedUndone =
    "The interrupted removal has been undone.\nThe product is installed as it was before.";
inline constexpr std::string_view kRemovalInterruptedFinished =
    "The interrupted removal had already ended.\nThe Installer has deleted what was left of the "
    "files it removed.";
inline constexpr std::string_view kRemovalInterruptedNotUndone =
    "The interrupted removal could not be undone completely.\nClose every program that may use "
    "its files and run the Installer again.";

}  // namespace installer::msg
