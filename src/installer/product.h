#pragma once

// The product being installed: chosen by name from the product table (or a generic one),
// with what its kind does differently at each step.

#include <atomic>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "installer/component_list.h"
#include "installer/prompter.h"
#include "installer/reader/pdf_reader.h"
#include "installer/script.h"
#include "installer/settings_file.h"
#include "installer/system/system.h"

namespace installer {

enum class ProductKind { Generic, EquationEditor, FontPack, TexSystem };

struct ProductRow {
    std::string_view name;  // matched exactly against AppName
    ProductKind kind;
    std::string_view defaultFolder;  // absolute, ends in a backslash
};

// The vendor's products, in the order they are matched.
std::span<const ProductRow> productTable();

class Product {
public:
    Product(ProductKind kind, std::string name, std::string version, std::string defaultFolder);
    virtual ~Product() = default;

    // Whether the user may install into `path`.
    virtual bool acceptDestination(std::string_view path, Prompter& prompter);
    // Whether the script's values suit this product; shows its own message when not.
    virtual bool checkScript(system::System& sys, Prompter& prompter);
    // The settings file the component programs write, or none.
    virtual std::unique_ptr<SettingsFile> makeSettingsFile(system::System& sys);
    // The step before copying (the script's DeletePrev): false when the user declined, and
    // the installation does not start. A program that must run first (the old version's
    // uninstaller) goes into `commandLine`, for the flow to run on a worker thread; empty:
    // copying starts at once.
    virtual bool removePreviousVersion(Prompter& prompter, std::string& commandLine);
    // False when the installation cannot go on (the user cancelled).
    virtual bool checkPrerequisites(system::System& sys, Prompter& prompter);
    virtual bool writesUninstallEntry() const { return false; }
    virtual std::string uninstallKeyName() const { return {}; }
    // Relative to the install path.
    virtual std::string uninstallerPath() const { return {}; }

    ProductKind kind() const { return kind_; }
    // AppName + " Install": the caption of every message box.
    std::string caption() const;
    // The registry key of the product under HKEY_LOCAL_MACHINE.
    std::string registryKey() const;

    // Reads the registry values and settles install path, distribution path and the
    // installed-copy flag. `sourceFolder` ends in a backslash.
    void settlePaths(system::System& sys, std::string_view sourceFolder);

    std::string name;
    std::string version;
    std::string defaultFolder;
    std::string installPath;       // ends in a backslash
    std::string distributionPath;  // ends in a backslash
    std::string sourceFolder;      // the installer's own folder
    ScriptFlags flags;
    bool runsFromInstalledCopy = false;
    bool checkOptional = false;  // "Check for optional components"
    ComponentList components;
    // The PDF readers the script asks for, searched at start-up.
    PdfReaders readers;
    // A worker thread (the external programs or the previous-version removal) is running:
    // cancel requests are refused.
    std::atomic<bool> workerRunning{false};

protected:
    // Shows "Bad INSTELLO.INI.\nInstallation aborted!".
    void badScript(Prompter& prompter) const;

private:
    ProductKind kind_;
};

// The handler for AppName: the first row of the table that names it, else a generic product
// in "C:\" + AppName + "\". Nothing for an empty name.
std::unique_ptr<Product> selectProduct(std::string_view appName, std::string_view version);

}  // namespace installer
