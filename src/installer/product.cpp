#include "installer/product.h"

#include "installer/cerror.h"
#include "installer/ckey.h"
#include "installer/integration/registry_values.h"
#include "installer/messages.h"
#include "installer/tex/korvo_ini.h"
#include "installer/win_path.h"

namespace installer {

namespace {

using system::RegRoot;

constexpr ProductRow kProducts[] = {
    {"Formix", ProductKind::EquationEditor, "C:\\FORMIX\\"},
    {"Formix Scuola", ProductKind::EquationEditor, "C:\\FORMIX\\"},
    {"Formix Lite", ProductKind::EquationEditor, "C:\\FMXLITE\\"},
    {"Formix Demo", ProductKind::EquationEditor, "C:\\FMXDEMO\\"},
    {"Formix Fonts", ProductKind::FontPack, "C:\\FORMIX\\"},
    {"Korvo", ProductKind::TexSystem, "C:\\KORVO\\"},
    {"Korvo Scuola", ProductKind::TexSystem, "C:\\KORVO\\"},
    {"Korvo Lite", ProductKind::TexSystem, "C:\\KORVOLT\\"},
    {"Korvo Demo", ProductKind::TexSystem, "C:\\KORVODEM\\"},
    {"Korvo Pro", ProductKind::TexSystem, "C:\\KORVOPRO\\"},
};

constexpr std::string_view kFormixKey = "Software\\Quillon\\Formix";

class EquationEditorProduct : public Product {
public:
    using Product::Product;

    bool checkScript(system::System& sys, Prompter& prompter) override {
        try {
            if (flags.create_formats != 0 || flags.reader3 != -1 || flags.reader4 != -1) {
                throw CBadInitData{};
            }
        } catch (const CBadInitData&) {
            badScript(prompter);
            return false;
        }
        const auto windows = sys.windowsVersion();
        if (windows.nt && windows.major > 4) {
            CKey fonts(sys, RegRoot::LocalMachine, systemFontsKey(sys));
            if (!fonts.open()) {
                prompter.message(msg::kNoFontRights, caption(), Icon::Warning, Buttons::Ok);
                return false;
            }
        }
        return true;
    }

    std::unique_ptr<SettingsFile> makeSettingsFile(system::System&) override { return nullptr; }

    bool removePreviousVersion(Prompter& prompter, std::string& commandLine) override {
        if (prompter.message(msg::kRemovePrevious, caption(), Icon::Warning, Buttons::OkCancel) !=
            Answer::Ok) {
            return false;
        }
        commandLine = "fmxuninst.exe -i";
        return true;
    }

    bool writesUninstallEntry() const override { return true; }
    std::string uninstallKeyName() const override { return "Formix"; }
    std::string uninstallerPath() const override { return "BIN\\FMXUNINST.EXE"; }
};

class FontPackProduct : public Product {
public:
    using Product::Product;

    std::unique_ptr<SettingsFile> makeSettingsFile(system::System&) override { return nullptr; }

    bool checkPrerequisites(system::System& sys, Prompter& prompter) override {
        CKey formix(sys, RegRoot::LocalMachine, std::string(kFormixKey));
        if (formix.openForQuery()) {
            if (const auto path = formix.readString("InstallPath")) {
                const std::string folder = withBackslash(canonicalPath(*path));
                if (!folder.empty() && sys.fileExists(folder + "BIN\\FMX.EXE")) {
                    installPath = folder;
                    return true;
                }
            }
        }
        return prompter.message(msg::kNoFormix, caption(), Icon::Warning, Buttons::OkCancel) ==
               Answer::Ok;
    }
};

class TexSystemProduct : public Product {
public:
    using Product::Product;

    bool acceptDestination(std::string_view path, Prompter& prompter) override {
        if (path.find_first_of(" ,.;") == std::string_view::npos) {
            return true;
        }
        std::string text(msg::kTexPathWarning);
        text.replace(text.find("%s"), 2, name);
        return prompter.message(text, caption(), Icon::Warning, Buttons::YesNo) == Answer::Yes;
    }

    bool checkScript(system::System&, Prompter& prompter) override {
        try {
            if (flags.delete_prev == 1) {
                throw CBadInitData{};
            }
        } catch (const CBadInitData&) {
            badScript(prompter);
            return false;
        }
        return true;
    }

    std::unique_ptr<SettingsFile> makeSettingsFile(system::System& sys) override {
        return std::make_unique<tex::KorvoIni>(sys, installPath);
    }
};

}  // namespace

std::span<const ProductRow> productTable() {
    return kProducts;
}

Product::Product(ProductKind kind, std::string productName, std::string productVersion,
                 std::string folder)
    : name(std::move(productName)),
      version(std::move(productVersion)),
      defaultFolder(std::move(folder)),
      kind_(kind) {}

bool Product::acceptDestination(std::string_view, Prompter&) {
    return true;
}

bool Product::checkScript(system::System&, Prompter&) {
    return true;
}

std::unique_ptr<SettingsFile> Product::makeSettingsFile(system::System& sys) {
    return std::make_unique<SettingsFile>(sys, installPath + name, installPath);
}

bool Product::removePreviousVersion(Prompter&, std::string& commandLine) {
    commandLine.clear();
    return true;
}

bool Product::checkPrerequisites(system::System&, Prompter&) {
    return true;
}

std::string Product::caption() const {
    return name + std::string(msg::kCaptionSuffix);
}

std::string Product::registryKey() const {
    return "SOFTWARE\\Quillon\\" + name;
}

void Product::badScript(Prompter& prompter) const {
    prompter.message(msg::kBadScript, caption(), Icon::Warning, Buttons::Ok);
}

void Product::settlePaths(system::System& sys, std::string_view source) {
    std::string recordedInstall;
    std::string recordedDistribution;
    CKey key(sys, RegRoot::LocalMachine, registryKey());
    if (key.openForQuery()) {
        recordedInstall = withBackslash(canonicalPath(key.readString("InstallPath").value_or("")));
        recordedDistribution =
            withBackslash(canonicalPath(key.readString("DistributivePath").value_or("")));
    }
    installPath = recordedInstall;
    sourceFolder = withBackslash(source);
    runsFromInstalledCopy = false;
    if (!installPath.empty() && iequals(installPath + "BIN\\", sourceFolder)) {
        runsFromInstalledCopy = true;
        distributionPath = recordedDistribution;
    } else {
        distributionPath = sourceFolder;
    }
    if (installPath.empty()) {
        installPath = defaultFolder;
        const std::string windows = sys.windowsDirectory();
        if (!installPath.empty() && !windows.empty()) {
            installPath[0] = windows[0];
        }
    }
}

std::unique_ptr<Product> selectProduct(std::string_view appName, std::string_view version) {
    if (appName.empty()) {
        return nullptr;
    }
    for (const auto& row : kProducts) {
        if (row.name != appName) {
            continue;
        }
        std::string folder(row.defaultFolder);
        switch (row.kind) {
            case ProductKind::EquationEditor:
                return std::make_unique<EquationEditorProduct>(row.kind, std::string(appName),
                                                               std::string(version), folder);
            case ProductKind::FontPack:
                return std::make_unique<FontPackProduct>(row.kind, std::string(appName),
                                                         std::string(version), folder);
            case ProductKind::TexSystem:
                return std::make_unique<TexSystemProduct>(row.kind, std::string(appName),
                                                          std::string(version), folder);
            case ProductKind::Generic:
                break;
        }
    }
    return std::make_unique<Product>(ProductKind::Generic, std::string(appName),
                                     std::string(version), "C:\\" + std::string(appName) + "\\");
}

}  // namespace installer
