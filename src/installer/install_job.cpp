#include "installer/install_job.h"

#include <new>

#include "installer/messages.h"
#include "installer/tex/finishing_steps.h"
#include "installer/win_path.h"

namespace installer {

InstallJob::InstallJob(system::System& sys, ProgressSink& sink, ComponentList& components,
                       JobSettings settings, std::unique_ptr<SettingsFile> settingsFile)
    : currentSource(settings.distributionPath),
      sys_(sys),
      sink_(sink),
      components_(components),
      settings_(std::move(settings)),
      settingsFile_(std::move(settingsFile)),
      undo_(sys, sys.windowsDirectory()),
      installed_(sys, undo_, settings_.installPath + "BIN\\INST.INI") {}

void InstallJob::pollCancel() {
    if (sink_.isCancelRequested()) {
        throw CError(CError::kCancelled);
    }
}

void InstallJob::prepare() {
    if (!settings_.journalPath.empty()) {
        undo_.startJournal(settings_.journalPath, settings_.productName);
    }
    undo_.createFolders(settings_.installPath);
    undo_.prepareChange(installed_.path());
    installed_.load();
    if (settingsFile_) {
        undo_.prepareChange(settingsFile_->path());
    }
}

void InstallJob::run() {
    prepare();
    sink_.setTotal(totalSizeKb(components_, settings_.clusterSize));
    for (auto& item : components_) {
        item->install(*this);
    }
    // Whatever the product: each step runs when a component program or the script asked.
    tex::runFinishingSteps(*this);
    installed_.save();
}

CError unexpectedError(const InstallJob& job, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const CError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return CError(CError::kMemory);
    } catch (...) {
        return CError(CError::kCannotExecute,
                      job.currentProgram.empty() ? std::string("INSTELLO") : job.currentProgram);
    }
}

std::thread startInstallThread(InstallJob& job, StatusSlot& status, std::function<void()> ended) {
    return std::thread([&job, &status, ended = std::move(ended)] {
        try {
            job.run();
        } catch (...) {
            status.store(unexpectedError(job, std::current_exception()));
        }
        if (ended) {
            ended();
        }
    });
}

void copyFile(InstallJob& job, const std::string& source, const std::string& destination) {
    auto& sys = job.sys();
    auto& undo = job.undo();
    job.sink().showCopying(destination);
    auto in = sys.openRead(source);
    if (!in) {
        throw CError(CError::kCannotCopy, source);
    }
    undo.prepareOverwrite(destination);
    auto out = sys.openWrite(destination);
    if (!out) {
        undo.createFolders(folderPart(destination));
        out = sys.openWrite(destination);
    }
    if (!out) {
        throw CError(CError::kCannotWrite, destination);
    }
    char block[4096];
    for (;;) {
        const auto got = in->read(block, sizeof block);
        if (!got) {
            throw CError(CError::kCannotRead, source);
        }
        if (*got > 0 && !out->write(block, *got)) {
            throw CError(CError::kCannotWrite, destination);
        }
        job.pollCancel();
        job.sink().advance(*got);
        if (*got < sizeof block) {
            break;
        }
    }
    if (!out->close()) {
        throw CError(CError::kCannotWrite, destination);
    }
    if (const auto time = sys.fileTime(source)) {
        sys.setFileTime(destination, *time);
    }
    job.installed().record(destination);
}

}  // namespace installer
