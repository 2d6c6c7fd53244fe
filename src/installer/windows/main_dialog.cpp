#include "installer/windows/main_dialog.h"

#include "installer/flow/install_flow.h"
#include "installer/flow/sandbox_machine.h"
#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

std::string kilobytesText(std::int64_t kilobytes) {
    return std::to_string(kilobytes) + " kB";
}

std::string browseStart(system::System& sys, std::string_view destination) {
    std::string folder = normalizeFolder(destination);
    while (folder.size() > 3) {
        if (sys.folderExists(folder)) {
            return folder;
        }
        folder.pop_back();  // the backslash
        folder = folderPart(folder);
    }
    return folder.size() == 3 && sys.folderExists(folder) ? folder : std::string();
}

CMainDlg::CMainDlg(const MainDialogWidgets& widgets, Product& product, system::System& sys,
                   Prompter& prompter, ClusterCache& clusters, MainDialogServices services)
    : w_(widgets),
      product_(product),
      sys_(sys),
      prompter_(prompter),
      clusters_(clusters),
      services_(std::move(services)),
      context_{sys,
               prompter,
               product.distributionPath,
               [this] { return clusters_.get(sys_); },
               services_.openDetails,
               [this] { return w_.spaceAvailable.caption(); }},
      chooser_(widgets.chooser, product.components, context_) {
    // The window opens with the recommended selection.
    for (auto& item : product.components) {
        item->reset();
    }
    chooser_.refresh();
    w_.window.setCaption(product.caption());
    w_.prompt.setCaption(msg::kComponentsPrompt);
    w_.destination.setText(product.installPath);
    w_.help.setEnabled(
        sys.fileExists(withBackslash(product.sourceFolder) + std::string(msg::kHelpFile)));
    w_.checkOptional.setChecked(product.checkOptional);
    chooser_.onChange = [this] { showSpace(); };
    w_.destination.setOnChange([this] { validate(); });
    w_.browse.setOnClick([this] { browse(); });
    w_.about.setOnClick([this] {
        if (services_.openAbout) {
            services_.openAbout();
        }
    });
    w_.help.setOnClick([this] { help(); });
    w_.install.setOnClick([this] { installClicked(); });
    w_.quit.setOnClick([this] { quitClicked(); });
    w_.window.setOnCloseQuery([this] { return closeQuery(); });
    validate();
}

void CMainDlg::validate() {
    const std::string path = w_.destination.text();
    const DestinationCheck check = checkDestination(sys_, path);
    valid_ = check.code == 0;
    w_.validation.setCaption(check.text);
    w_.install.setEnabled(valid_);
    if (valid_) {
        clusters_.moveTo(path[0]);
    }
    showSpace();
}

void CMainDlg::showSpace() {
    if (!valid_) {
        w_.spaceNeeded.setCaption("");
        w_.spaceAvailable.setCaption("");
        return;
    }
    w_.spaceAvailable.setCaption(kilobytesText(freeKilobytes(sys_, w_.destination.text()[0])));
    w_.spaceNeeded.setCaption(kilobytesText(chooser_.neededKb()));
}

void CMainDlg::browse() {
    if (!services_.chooseFolder) {
        return;
    }
    const auto chosen = services_.chooseFolder(browseStart(sys_, w_.destination.text()));
    if (chosen) {
        w_.destination.setText(normalizeFolder(*chosen));
        validate();
    }
}

void CMainDlg::help() {
    const std::string file = withBackslash(product_.sourceFolder) + std::string(msg::kHelpFile);
    if (!services_.openHelp || !services_.openHelp(file)) {
        prompter_.message(msg::kNoHelp, msg::kHelpCaption, Icon::Warning, Buttons::Ok);
    }
}

void CMainDlg::installClicked() {
    if (!valid_) {
        return;
    }
    const std::string target = normalizeFolder(w_.destination.text());
    const std::int64_t needed = chooser_.neededKb();
    const std::int64_t available = freeKilobytes(sys_, target[0]);
    if (!confirmSelection(prompter_, product_.caption(), needed, available) ||
        !product_.acceptDestination(target, prompter_)) {
        return;
    }
    product_.installPath = target;
    product_.checkOptional = w_.checkOptional.checked();
    install_ = true;
    closing_ = true;
    w_.modal.closeModal();
}

void CMainDlg::quitClicked() {
    if (closeQuery()) {
        closing_ = true;
        w_.modal.closeModal();
    }
}

bool CMainDlg::closeQuery() {
    if (closing_) {
        return true;
    }
    return prompter_.message(msg::kReallyQuit, product_.caption(), Icon::Question,
                             Buttons::YesNo) == Answer::Yes;
}

CDetailsDlg::CDetailsDlg(const DetailsDialogWidgets& widgets, ComponentGroup& group,
                         ChooserContext& context, std::int64_t otherKb,
                         const std::string& available)
    : w_(widgets),
      group_(group),
      context_(context),
      chooser_(widgets.chooser, group.members, context),
      otherKb_(otherKb) {
    w_.window.setCaption(msg::kDetailsTitle);
    w_.spaceAvailable.setCaption(available);
    chooser_.onChange = [this] { showSpace(); };
    w_.ok.setOnClick([this] {
        accepted_ = true;
        w_.modal.closeModal();
    });
    w_.cancel.setOnClick([this] { w_.modal.closeModal(); });
    showSpace();
}

void CDetailsDlg::showSpace() {
    // Shown only when the main window shows the space (a valid destination).
    if (!w_.spaceAvailable.caption().empty()) {
        w_.spaceNeeded.setCaption(kilobytesText(otherKb_ + group_.sizeKb(context_.clusterSize())));
    }
}

}  // namespace installer
