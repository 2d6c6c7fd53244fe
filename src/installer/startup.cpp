#include "installer/startup.h"

#include "installer/messages.h"
#include "installer/profile.h"
#include "installer/win_path.h"

namespace installer {

std::optional<std::string> readLicense(system::System& sys, std::string_view folder) {
    return system::readWholeFile(sys, withBackslash(folder) + "license.txt");
}

Startup startUp(system::System& sys, Prompter& prompter, std::string_view programFolder) {
    Startup result;
    const std::string folder = withBackslash(programFolder);
    const std::string scriptPath = folder + std::string(msg::kScriptName);
    if (!sys.fileExists(scriptPath)) {
        prompter.message(msg::kNoScript, msg::kInstallerCaption, Icon::Error, Buttons::Ok);
        return result;
    }
    const auto script = Profile::load(sys, scriptPath, false);
    std::unique_ptr<Product> product;
    if (script) {
        product = selectProduct(script->getString("AppInfo", "AppName", ""),
                                script->getString("AppInfo", "Version", ""));
    }
    if (!product) {
        prompter.message(msg::kCannotInitialize, msg::kInstallerCaption, Icon::Error, Buttons::Ok);
        return result;
    }
    product->flags = readFlags(*script);
    if (!product->checkScript(sys, prompter)) {
        return result;
    }
    product->settlePaths(sys, folder);
    if (product->flags.licenseOn() && !product->runsFromInstalledCopy) {
        const auto text = readLicense(sys, folder);
        if (!text || !prompter.license(*text)) {
            result.outcome = StartupOutcome::Declined;
            return result;
        }
    }
    if (product->flags.readerWanted() &&
        !checkReaders(sys, product->readers, product->flags.reader3, product->flags.reader4,
                      prompter, product->name, product->caption())) {
        return result;
    }
    prompter.message(std::string(msg::kAboutToInstallHead) + product->name +
                         std::string(msg::kAboutToInstallTail),
                     product->caption(), Icon::Information, Buttons::Ok);
    result.outcome = StartupOutcome::Ready;
    result.product = std::move(product);
    return result;
}

}  // namespace installer
