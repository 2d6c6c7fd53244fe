#include "installer/integration/success_steps.h"

#include "installer/cerror.h"
#include "installer/integration/registry_values.h"
#include "installer/journal/undo_log.h"
#include "installer/messages.h"
#include "installer/uninstall/record_installation.h"

namespace installer {

namespace {

using system::RegRoot;

// True when every group was made.
bool createStartMenu(DeferredActions& deferred, IntegrationContext& context) {
    std::size_t made = 0;
    try {
        for (auto& group : deferred.groups) {
            ++made;
            group.perform(context);
        }
        return true;
    } catch (const CError& e) {
        if (e.code() != CError::kStartMenu) {
            throw;
        }
        // No half Start Menu: the groups made so far go again.
        for (std::size_t i = made; i-- > 0;) {
            deferred.groups[i].undo(context);
        }
        context.prompter.message(e.text(), context.caption, Icon::Warning, Buttons::Ok);
        return false;
    }
}

// Sets REG_SZ values of a key under HKEY_LOCAL_MACHINE, created when missing (silently
// skipped when it cannot be).
void writeStrings(IntegrationContext& context, const std::string& key,
                  std::initializer_list<std::pair<std::string_view, std::string>> values) {
    for (const auto& [name, text] : values) {
        RegistryEntry entry("HKEY_LOCAL_MACHINE\\" + key, std::string(name), 3, text);
        entry.perform(context);
    }
}

}  // namespace

SuccessReport performSuccessSteps(InstallJob& job, Product& product, Prompter& prompter) {
    IntegrationContext context{job.sys(), job.undo(), prompter, product.caption(), {}};
    auto& deferred = job.deferred();
    SuccessReport report;
    if (deferred.hasGroups() &&
        prompter.message(msg::kStartMenuQuestion, context.caption, Icon::Question,
                         Buttons::YesNo) == Answer::Yes &&
        createStartMenu(deferred, context)) {
        report.groups = deferred.groups.size();
        for (const auto& group : deferred.groups) {
            report.links += group.shortcuts.size();
        }
    }
    for (auto& font : deferred.fonts) {
        font.perform(context);
        report.fonts += font.registered ? 1 : 0;
    }
    deferred.fonts.clear();
    for (auto& value : deferred.registryValues) {
        value.perform(context);
        report.values += value.written ? 1 : 0;
    }
    job.currentSource = product.distributionPath;
    writeStrings(
        context, product.registryKey(),
        {{"InstallPath", product.installPath}, {"DistributivePath", product.distributionPath}});
    if (product.writesUninstallEntry()) {
        writeStrings(context, uninstallKey(product.uninstallKeyName()),
                     {{"DisplayName", product.name},
                      {"UninstallString", product.installPath + product.uninstallerPath()}});
    }
    recordInstallation(job, product, context);
    job.commit();
    prompter.message(std::string(msg::kSuccessHead) + product.name + "!", context.caption,
                     Icon::Information, Buttons::Ok);
    return report;
}

bool askRestart(const Product& product, Prompter& prompter) {
    return prompter.message(
               std::string(msg::kRestartHead) + product.name + std::string(msg::kRestartTail),
               product.caption(), Icon::Question, Buttons::YesNo) == Answer::Yes;
}

bool restartWindows(system::System& sys, Prompter& prompter) {
    bool complained = false;
    auto complain = [&] {
        if (!complained) {
            prompter.message(msg::kCannotRestart, msg::kRestartCaption, Icon::Warning, Buttons::Ok);
            complained = true;
        }
    };
    if (sys.windowsVersion().nt && !sys.enableShutdownPrivilege()) {
        complain();
    }
    const bool accepted = sys.restart();
    if (!accepted) {
        complain();
    }
    return accepted;
}

}  // namespace installer
