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

}  // namespace installer::msg
