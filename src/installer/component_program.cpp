#include "installer/component_program.h"

#include <cstring>

#include "installer/cerror.h"
#include "installer/install_job.h"
#include "installer/messages.h"
#include "installer/package.h"
#include "installer/tex/raster_fonts.h"
#include "installer/win_path.h"

namespace installer {

ComponentProgram::ComponentProgram(system::System& sys, std::string path)
    : sys_(sys), path_(std::move(path)) {
    file_ = sys_.openRead(path_);
    if (!file_) {
        throw CError(CError::kCannotOpen, path_);
    }
    static constexpr char kMagic[4] = {'Q', 'K', 'I', 'P'};
    for (char expected : kMagic) {
        const auto b = readByte();
        if (!b || static_cast<char>(*b) != expected) {
            throw CError(CError::kCannotRead, path_);
        }
    }
}

std::optional<std::uint8_t> ComponentProgram::readByte() {
    if (begin_ == end_) {
        const auto got = file_->read(buffer_, sizeof buffer_);
        if (!got) {
            throw CError(CError::kCannotRead, path_);
        }
        if (*got == 0) {
            return std::nullopt;
        }
        begin_ = 0;
        end_ = *got;
    }
    return static_cast<std::uint8_t>(buffer_[begin_++]);
}

std::uint8_t ComponentProgram::readOperation() {
    const auto b = readByte();
    if (!b) {
        throw CError(CError::kCannotRead, path_);
    }
    return *b;
}

std::optional<std::string> ComponentProgram::readString() {
    const auto length = readByte();
    if (!length) {
        return std::nullopt;
    }
    std::string text;
    text.reserve(*length);
    for (unsigned i = 0; i < *length; ++i) {
        const auto b = readByte();
        if (!b) {
            return std::nullopt;
        }
        text += static_cast<char>(*b);
    }
    return text;
}

namespace {

class Executor {
public:
    Executor(InstallJob& job, ComponentProgram& program)
        : job_(job),
          program_(program),
          install_(job.settings().installPath),
          folder_(folderPart(program.path())) {}

    void run() {
        for (;;) {
            const std::uint8_t op = program_.readOperation();
            if (op == 255) {
                return;
            }
            execute(op);
        }
    }

private:
    std::string operand() {
        auto text = program_.readString();
        if (!text) {
            throw CError(CError::kCannotRead, program_.path());
        }
        return std::move(*text);
    }

    [[noreturn]] void bad() { throw CError(CError::kCorrupted, program_.path()); }

    // A path under the install path given by the program; it must stay there.
    std::string underInstall(std::string_view relative) {
        if (!isSafeRelativePath(relative)) {
            bad();
        }
        return install_ + std::string(relative);
    }

    // A relative path that may also be empty (the folder itself).
    std::string folderUnderInstall(std::string_view relative) {
        return relative.empty() ? install_ : withBackslash(underInstall(relative));
    }

    // One element of a path (a group or link name): safe, and without separators.
    const std::string& element(const std::string& name) {
        if (!isSafeRelativePath(name) || name.find_first_of("\\/") != std::string::npos) {
            bad();
        }
        return name;
    }

    void status(std::string_view text) { job_.sink().showStatus(text); }

    void execute(std::uint8_t op) {
        auto& deferred = job_.deferred();
        switch (op) {
            case 3: {
                const std::string file = operand();
                const std::string subfolder = operand();
                if (!isSafeRelativePath(file)) {
                    bad();
                }
                const std::string target =
                    subfolder.empty() ? underInstall(file) : underInstall(subfolder + file);
                copyFile(job_, folder_ + file, target);
                break;
            }
            case 73: {
                const std::string package = operand();
                unpackPackage(job_, folder_ + package, install_);
                break;
            }
            case 75: {
                // A failure to delete is of no consequence; the deletion can be rolled back.
                job_.undo().removeFile(underInstall(operand()));
                break;
            }
            case 84:
                job_.updateFontLibrary = true;
                break;
            case 202: {
                // A group may sit in a sub-folder of the Programs folder, never above it.
                const std::string group = operand();
                if (!isSafeRelativePath(group)) {
                    bad();
                }
                deferred.queueGroup(group);
                status(msg::kStatusStartMenu);
                break;
            }
            case 203: {
                std::string target = operand();
                std::string title = operand();
                const std::string icon = operand();
                status(msg::kStatusStartMenu);
                if (!target.empty() && target.front() == '*') {
                    if (!isSafeRelativePath(std::string_view(target).substr(1))) {
                        bad();
                    }
                    target = withBackslash(job_.sys().windowsDirectory()) + target.substr(1);
                } else {
                    target = underInstall(target);
                }
                element(title);
                if (!deferred.queueShortcut(std::move(target), std::move(title),
                                            icon.empty() ? std::string() : underInstall(icon))) {
                    throw CError(CError::kStartMenu);
                }
                break;
            }
            case 204:
                status(msg::kStatusStartMenu);
                break;
            case 206:
                if (auto* settings = job_.settingsFile()) {
                    status(msg::kStatusCreateSettings);
                    settings->create();
                }
                break;
            case 207:
                job_.updateTrueTypeAlias = true;
                break;
            case 209:
                operand();
                break;
            case 210: {
                const std::string folder = operand();
                std::string command = operand();
                if (istartsWith(command, "bin\\korvow") || istartsWith(command, "bin\\korvo3")) {
                    if (command.size() > 10) {
                        command[10] = 'h';
                    }
                }
                // The program (the first word) and its folder lie in the install path.
                underInstall(std::string_view(command).substr(0, command.find(' ')));
                deferred.queueProgram(install_ + command, folderUnderInstall(folder));
                break;
            }
            case 211: {
                const std::string folder = operand();
                if (auto* settings = job_.settingsFile()) {
                    status(msg::kStatusUpdateSettings);
                    settings->appendFolder(folder);
                }
                break;
            }
            case 212:
                status(msg::kStatusRasterFonts);
                tex::configureRasterFonts(job_, install_ + "BIN\\");
                break;
            case 217:
            case 233: {
                const std::string section = operand();
                const std::string key = operand();
                const std::string value = operand();
                if (auto* settings = job_.settingsFile()) {
                    status(msg::kStatusUpdateSettings);
                    if (op == 217) {
                        settings->set(section, key, value);
                    } else {
                        settings->append(section, key, value);
                    }
                }
                break;
            }
            case 220: {
                const std::string name = operand();
                const std::string file = operand();
                // "!" stands for the install path, so it may only lead the operand; without it
                // the file is a name in the system's fonts folder.
                if (file.find('!', 1) != std::string::npos) {
                    bad();
                }
                deferred.queueFont(
                    name, file.starts_with('!') ? underInstall(file.substr(1)) : element(file));
                break;
            }
            case 230:
            case 231:
                deferred.queueAlias(operand(), op == 231);
                break;
            case 232:
                job_.configureHyphenation = true;
                break;
            case 235: {
                std::string library = operand();
                underInstall(library);  // the library is written there
                job_.updateFontLibrary = true;
                job_.fontLibraryName = std::move(library);
                break;
            }
            case 236: {
                std::string key = operand();
                std::string name = operand();
                const std::string type = operand();
                std::string data = operand();
                if (const auto index = registryTypeIndex(type)) {
                    deferred.queueRegistryValue(std::move(key), std::move(name), *index,
                                                std::move(data));
                }
                break;
            }
            default:
                bad();
        }
    }

    InstallJob& job_;
    ComponentProgram& program_;
    std::string install_;
    std::string folder_;
};

}  // namespace

void executeComponentProgram(InstallJob& job, ComponentProgram& program) {
    Executor(job, program).run();
}

void runComponentProgram(InstallJob& job, const Component& component) {
    auto& sys = job.sys();
    std::string path = job.currentSource + component.programFile;
    while (!sys.fileExists(path)) {
        if (job.settings().skipMissing) {
            return;
        }
        std::string typed = path;
        const int answer = job.sink().askLocation(typed, component.label);
        // A typed folder stands for the program file in it.
        const bool isFolder = !typed.empty() && (typed.back() == '\\' || typed.back() == '/');
        switch (answer) {
            case ProgressSink::kCancel:
                throw CError(CError::kCancelled);
            case ProgressSink::kRetry:
                path = isFolder ? typed + component.programFile : typed;
                break;
            case ProgressSink::kApplyToAll:
                job.currentSource = folderPart(typed);
                path = job.currentSource + (isFolder ? component.programFile : fileNamePart(typed));
                break;
            case ProgressSink::kSkip:
                return;
            default:
                throw CError(CError::kCancelled);
        }
    }
    job.sink().beginComponent(component.label, component.sizeKb(job.settings().clusterSize));
    job.currentProgram = path;
    ComponentProgram program(sys, path);
    executeComponentProgram(job, program);
    job.currentProgram.clear();
    job.sink().endComponent();
}

void Component::install(InstallJob& job) {
    if (selected) {
        runComponentProgram(job, *this);
    }
}

}  // namespace installer
