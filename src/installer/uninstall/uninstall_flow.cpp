#include "installer/uninstall/uninstall_flow.h"

#include <new>

#include "installer/ckey.h"
#include "installer/journal/recovery.h"
#include "installer/messages.h"
#include "installer/profile.h"
#include "installer/win_path.h"

namespace installer {

namespace {

// How the list of programs names the product: its entry's DisplayName, else name and version.
std::string displayNameOf(system::System& sys, const InstallRecord& record) {
    for (const auto& e : record.entries) {
        if (e.kind != RecordEntry::Kind::UninstallEntry) {
            continue;
        }
        CKey key(sys, e.root, e.path);
        if (key.openForQuery()) {
            if (auto name = key.readString("DisplayName"); name && !name->empty()) {
                return *name;
            }
        }
    }
    return record.version.empty() ? record.productName : record.productName + " " + record.version;
}

}  // namespace

std::string fillIn(std::string_view format, std::string_view text) {
    std::string out(format);
    const auto at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, text);
    }
    return out;
}

std::string UninstallInfo::caption() const {
    return productName.empty() ? std::string(msg::kInstallerCaption)
                               : productName + std::string(msg::kUninstallCaptionSuffix);
}

LocatedProduct locateProduct(system::System& sys, const UninstallTarget& target) {
    LocatedProduct found;
    std::string name = target.productName;
    const std::string folder = withBackslash(target.programFolder);
    if (name.empty() && !folder.empty()) {
        // The installed copy (BIN\INSTELLO.EXE, which the list of programs runs) lies beside
        // the record.
        const std::string beside = folder + "INSTALL.LOG";
        if (sys.fileExists(beside)) {
            found.recordPath = beside;
            if (const auto record = readInstallRecord(sys, beside)) {
                found.productName = record->productName;
            }
            return found;
        }
        // A distribution: its script names the product.
        if (const auto script = system::readWholeFile(sys, folder + "INSTELLO.INI")) {
            name = Profile(*script).getString("AppInfo", "AppName", "");
        }
    }
    if (name.empty()) {
        found.message = msg::kNoProductNamed;
        return found;
    }
    found.productName = name;
    std::string installPath;
    CKey key(sys, system::RegRoot::LocalMachine, "SOFTWARE\\Quillon\\" + name);
    if (key.openForQuery()) {
        installPath = withBackslash(canonicalPath(key.readString("InstallPath").value_or("")));
    }
    if (installPath.empty()) {
        found.message = fillIn(msg::kNotInstalled, name);
        return found;
    }
    const std::string path = installRecordPath(installPath);
    if (!sys.fileExists(path)) {
        found.message = fillIn(msg::kNoRecord, path);
        return found;
    }
    found.recordPath = path;
    return found;
}

UninstallFlow::UninstallFlow(system::System& sys, Prompter& prompter, WindowThread& thread,
                             UninstallFrontEnd& front, FlowHooks hooks)
    : sys_(sys), prompter_(prompter), thread_(thread), front_(front), hooks_(std::move(hooks)) {}

UninstallFlow::~UninstallFlow() {
    // Only a run abandoned half-way leaves the thread; it ends at its next cancel poll.
    cancel_.set();
    forward_.to = nullptr;
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool UninstallFlow::startUp(const UninstallTarget& target) {
    // Before anything else: an installation or a removal that a crash interrupted is undone.
    if (const auto stopped = recoverBeforeRun(sys_, prompter_, hooks_)) {
        end(*stopped);
        return false;
    }
    const LocatedProduct found = locateProduct(sys_, target);
    info_.productName = found.productName;
    if (found.recordPath.empty()) {
        say(found.message, Icon::Warning);
        end(FlowResult::NotStarted);
        return false;
    }
    record_ = readInstallRecord(sys_, found.recordPath);
    if (!record_ || (!found.productName.empty() && record_->productName != found.productName)) {
        say(CError(CError::kCorrupted, found.recordPath).text(), Icon::Warning);
        end(FlowResult::NotStarted);
        return false;
    }
    recordPath_ = found.recordPath;
    info_.productName = record_->productName;
    info_.version = record_->version;
    info_.installPath = record_->installPath;
    info_.displayName = displayNameOf(sys_, *record_);
    return true;
}

void UninstallFlow::begin() {
    thread_.post([this] { confirmAndRemove(); });
}

bool UninstallFlow::askInUse(const std::string& path) {
    return prompter_.message(fillIn(msg::kFileInUse, path), info_.caption(), Icon::Warning,
                             Buttons::OkCancel) == Answer::Ok;
}

void UninstallFlow::confirmAndRemove() {
    if (ended()) {
        return;
    }
    if (!front_.confirm(info_)) {
        end(FlowResult::Declined);
        return;
    }
    RemovalSettings settings;
    settings.journalPath = journalPath(sys_);
    settings.recordPath = recordPath_;
    settings.retryInUse = [this](const std::string& path) { return askInUse(path); };
    removal_ = std::make_unique<Removal>(sys_, forward_, *record_, std::move(settings));
    removal_->undo().setRecordHook(hooks_.journalRecord);
    // Nothing goes while a running program holds one of the files.
    while (const auto path = removal_->fileInUse()) {
        if (!askInUse(*path)) {
            say(fillIn(msg::kNotRemovedInUse, *path), Icon::Warning);
            end(FlowResult::Failed);
            return;
        }
    }
    forward_.to = &front_.openProgress(info_, cancel_);
    removing_ = true;
    worker_ = std::thread([this] {
        try {
            removal_->run();
        } catch (const CError& e) {
            error_ = e;
        } catch (const FileInUseError& e) {
            inUse_ = e.path;
        } catch (const std::bad_alloc&) {
            error_ = CError(CError::kMemory);
        } catch (...) {
            error_ = CError(CError::kCannotExecute, "INSTELLO");
        }
        thread_.post([this] { removed(); });
    });
}

void UninstallFlow::removed() {
    if (worker_.joinable()) {
        worker_.join();
    }
    removing_ = false;
    front_.closeProgress();
    forward_.to = nullptr;
    if (!error_ && !inUse_) {
        try {
            if (!removal_->commit()) {
                // The running installer's own file: deleted, with what holds it, once this
                // process has ended; the journal last (the next run finishes otherwise).
                afterExit_ = removal_->leftovers();
                afterExit_.push_back(journalPath(sys_));
            }
        } catch (const CError& e) {
            error_ = e;  // the commit record could not be written: nothing is complete
        }
    }
    if (!error_ && !inUse_) {
        std::string text = fillIn(msg::kRemoved, info_.displayName);
        const auto kept = removal_->keptFolders();
        if (!kept.empty()) {
            text += kept.size() == 1 ? msg::kKeptFolder : msg::kKeptFolders;
            for (const auto& folder : kept) {
                text += "\n" + folder;
            }
        }
        say(text, Icon::Information);
        end(FlowResult::Installed);
        return;
    }
    if (inUse_) {
        say(fillIn(msg::kNotRemovedInUse, *inUse_), Icon::Warning);
    } else if (error_->code() != CError::kCancelled) {
        say(error_->text(), Icon::Warning);
    }
    front_.rollingBack(true);
    const bool undone = removal_->rollBack();
    front_.rollingBack(false);
    if (!undone) {
        say(msg::kRemovalRollbackIncomplete, Icon::Warning);
        end(FlowResult::NotRecovered);
        return;
    }
    say(msg::kRemovalCanceled, Icon::Information);
    end(error_ && error_->code() == CError::kCancelled ? FlowResult::Cancelled
                                                       : FlowResult::Failed);
}

void UninstallFlow::end(FlowResult result) {
    result_ = result;
    if (!afterExit_.empty()) {
        sys_.removeAfterExit(afterExit_);  // else the next run of the installer finishes
        afterExit_.clear();
    }
    ended_ = true;
    front_.ended(result);
}

bool UninstallFlow::confirmCancel() {
    auto held = cancel_.hold();
    const bool yes = prompter_.message(msg::kRemovalNotCompleted, info_.caption(), Icon::Question,
                                       Buttons::YesNo) == Answer::Yes;
    if (yes) {
        cancel_.setLocked(held);
    }
    return yes;
}

void UninstallFlow::say(std::string_view text, Icon icon) {
    prompter_.message(text, info_.caption(), icon, Buttons::Ok);
}

}  // namespace installer
