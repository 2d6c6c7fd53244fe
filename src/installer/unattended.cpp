#include "installer/unattended.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/drives.h"
#include "installer/install_job.h"
#include "installer/messages.h"
#include "installer/product.h"
#include "installer/startup.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/win_path.h"
#include "ui/cp1252.h"

namespace installer {

namespace {

struct Options {
    std::string root;
    std::string source;
    std::string target;
    std::string components;
    bool haveComponents = false;
    bool checkOptional = false;
    bool acceptLicense = false;
    std::string log;
};

// Every line goes to standard output (UTF-8) and to the log (code page 1252, CR LF).
class Console {
public:
    Console(std::ostream& out, std::ostream* log) : out_(out), log_(log) {}
    void line(std::string_view text) {
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        out_ << ui::cp1252::toUtf8(text) << '\n';
        out_.flush();
        if (log_) {
            *log_ << text << "\r\n";
            log_->flush();
        }
    }
    // A text whose "\n" are line breaks.
    void block(std::string_view text) {
        std::size_t start = 0;
        for (;;) {
            const auto end = text.find('\n', start);
            line(text.substr(start, end == std::string_view::npos ? end : end - start));
            if (end == std::string_view::npos) {
                return;
            }
            start = end + 1;
        }
    }

private:
    std::ostream& out_;
    std::ostream* log_;
};

std::string_view answerWord(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return "OK";
        case Answer::Cancel:
            return "Cancel";
        case Answer::Yes:
            return "Yes";
        case Answer::No:
            return "No";
    }
    return "";
}

// Prints each message with its caption and answers with the default of its question:
// OK for OK/Cancel questions; for Yes/No questions Yes, except the two that guard against
// an installation that cannot be what the user meant (nothing selected, not enough space).
class ConsolePrompter : public Prompter {
public:
    ConsolePrompter(Console& console, bool acceptLicense)
        : console_(console), acceptLicense_(acceptLicense) {}

    Answer message(std::string_view text, std::string_view caption, Icon,
                   Buttons buttons) override {
        console_.line("[" + std::string(caption) + "]");
        console_.block(text);
        Answer answer = Answer::Ok;
        if (buttons == Buttons::YesNo) {
            answer =
                (text == msg::kNothingSelected || text == msg::kNoSpace) ? Answer::No : Answer::Yes;
        }
        if (buttons != Buttons::Ok) {
            console_.line("-> " + std::string(answerWord(answer)) + " (default answer)");
        }
        return answer;
    }

    bool license(std::string_view text) override {
        console_.line("[License Agreement]");
        console_.block(text);
        console_.line(acceptLicense_ ? "-> I Agree (--accept-license)"
                                     : "-> I Disagree (default answer; --accept-license agrees)");
        return acceptLicense_;
    }

private:
    Console& console_;
    bool acceptLicense_;
};

class ConsoleSink : public ProgressSink {
public:
    ConsoleSink(Console& console, std::string caption, CancelFlag& cancel,
                std::function<bool()> interrupted)
        : console_(console),
          caption_(std::move(caption)),
          cancel_(cancel),
          interrupted_(std::move(interrupted)) {}

    int askLocation(std::string& path, std::string_view label) override {
        if (cancelled()) {
            return kCancel;
        }
        console_.line("[Select location]");
        console_.line(std::string(msg::kInsertDisk) + std::string(label));
        console_.line(std::string(msg::kDifferentLocation));
        console_.line(path);
        console_.line("-> Skip (default answer)");
        return kSkip;
    }
    void setTotal(std::int64_t kilobytes) override {
        totalBytes_ = static_cast<std::uint64_t>(std::max<std::int64_t>(kilobytes, 0)) * 1024;
        done_ = 0;
        shown_ = 0;
    }
    void beginComponent(std::string_view label, std::int64_t) override {
        if (!cancelled()) {
            console_.line(std::string(msg::kInstalling) + std::string(label));
        }
    }
    void advance(std::uint64_t bytes) override {
        done_ += bytes;
        if (cancelled() || totalBytes_ == 0) {
            return;
        }
        const int percent =
            static_cast<int>(std::min<std::uint64_t>(100, done_ * 100 / totalBytes_));
        if (percent >= shown_ + 10 && percent < 100) {
            shown_ = percent - percent % 10;
            console_.line("Progress: " + std::to_string(shown_) + "%");
        }
    }
    void endComponent() override {}
    void showCopying(std::string_view path) override {
        if (!cancelled()) {
            console_.line(std::string(msg::kCopying) + std::string(path));
        }
    }
    void showCreating(std::string_view path) override {
        if (!cancelled()) {
            console_.line(std::string(msg::kCreating) + std::string(path));
        }
    }
    void showStatus(std::string_view text) override {
        if (!cancelled()) {
            console_.line(text);
        }
    }
    void warning(std::string_view text) override {
        if (!cancelled()) {
            console_.line("[" + caption_ + "]");
            console_.block(text);
        }
    }
    bool isCancelRequested() override {
        if (!cancel_.isSet() && interrupted_ && interrupted_()) {
            cancel_.set();
            console_.line("Interrupted: cancelling the installation.");
        }
        return cancel_.isSet();
    }
    void configureHyphenation(std::string_view) override {
        // The sandbox has no hyphenation library to load.
        warning(msg::kHyphenNoLibrary);
    }

private:
    bool cancelled() { return isCancelRequested(); }

    Console& console_;
    std::string caption_;
    CancelFlag& cancel_;
    std::function<bool()> interrupted_;
    std::uint64_t totalBytes_ = 0;
    std::uint64_t done_ = 0;
    int shown_ = 0;
};

bool parseOptions(std::span<const std::string> args, Options& options, std::string& error) {
    bool unattended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (arg == "--unattended") {
            unattended = true;
        } else if (arg == "--root") {
            if (!value(options.root)) {
                return false;
            }
        } else if (arg == "--source") {
            if (!value(options.source)) {
                return false;
            }
        } else if (arg == "--target") {
            if (!value(options.target)) {
                return false;
            }
        } else if (arg == "--components") {
            if (!value(options.components)) {
                return false;
            }
            options.haveComponents = true;
        } else if (arg == "--log") {
            if (!value(options.log)) {
                return false;
            }
        } else if (arg == "--check-optional") {
            options.checkOptional = true;
        } else if (arg == "--accept-license") {
            options.acceptLicense = true;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (!unattended) {
        error = "only --unattended installations are available in this build";
        return false;
    }
    if (options.root.empty()) {
        error = "--root SANDBOX is required";
        return false;
    }
    return true;
}

// A folder as the window's folder picker would give it: backslashes only, one between
// elements and one at the end. A destination typed as "C:/Scuola//Tattilo" would otherwise
// reach the settings file and the installed-files register in that form.
std::string normalizeFolder(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '/') {
            c = '\\';
        }
        if (c == '\\' && !out.empty() && out.back() == '\\') {
            continue;
        }
        out += c;
    }
    return withBackslash(out);
}

bool isWindowsPath(std::string_view path) {
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

ComponentItem* findItem(const ComponentList& list, std::string_view name) {
    for (const auto& item : list) {
        if (iequals(item->name, name)) {
            return item.get();
        }
        if (item->isGroup()) {
            if (auto* found = findItem(static_cast<ComponentGroup&>(*item).members, name)) {
                return found;
            }
        }
    }
    return nullptr;
}

void listSelection(const ComponentList& list, std::uint32_t cluster, Console& console,
                   const std::string& indent) {
    for (const auto& item : list) {
        const int state = item->state();
        const char* mark = state == 1 ? "[x] " : state == 2 ? "[-] " : "[ ] ";
        console.line(indent + mark + item->name + " (" + std::to_string(item->sizeKb(cluster)) +
                     " kB)");
        if (item->isGroup()) {
            listSelection(static_cast<ComponentGroup&>(*item).members, cluster, console,
                          indent + "    ");
        }
    }
}

void summarizeDeferred(const DeferredActions& deferred, Console& console) {
    if (deferred.empty()) {
        return;
    }
    std::size_t shortcuts = 0;
    for (const auto& group : deferred.groups) {
        shortcuts += group.shortcuts.size();
    }
    std::ostringstream text;
    text << "Queued for system integration: " << deferred.groups.size() << " Start Menu group(s), "
         << shortcuts << " shortcut(s), " << deferred.fonts.size() << " font(s), "
         << deferred.registryValues.size() << " registry value(s), "
         << deferred.firstRun.size() + deferred.secondRun.size() << " program(s).";
    console.line(text.str());
}

}  // namespace

std::string unattendedUsage() {
    return "Usage: instello --unattended --root SANDBOX [--source DIR] [--target PATH]\n"
           "                [--components NAMES] [--check-optional] [--accept-license]\n"
           "                [--log FILE]\n"
           "\n"
           "Installs the product of a distribution folder into a sandbox machine (a folder\n"
           "that stands for a Windows machine; made with default settings when new).\n"
           "  --source DIR        the distribution: a host folder (seen as a CD-ROM drive)\n"
           "                      or a Windows path inside the sandbox; default: the\n"
           "                      installer's own folder\n"
           "  --target PATH       the destination, a Windows path (default: the product's)\n"
           "  --components NAMES  comma-separated component or group names to install\n"
           "                      (default: the recommended selection)\n"
           "  --check-optional    ask for the disk of a missing component (answered Skip)\n"
           "                      instead of skipping it silently\n"
           "  --accept-license    agree to the licence (the default answer disagrees)\n"
           "  --log FILE          write every line printed to FILE as well\n"
           "Every message is printed; every question is answered with its default, printed\n"
           "with it: OK; Yes, except \"nothing selected\" and \"not enough space\" (No); the\n"
           "licence: I Disagree unless --accept-license; a missing disk: Skip. Ctrl+C\n"
           "cancels (and rolls back) the installation.\n"
           "Exit status: 0 installed, 1 could not start, 2 declined or cancelled before\n"
           "copying, 4 failed while copying, 5 cancelled while copying (4 and 5 after\n"
           "rolling back).\n";
}

int runUnattended(std::span<const std::string> args, const std::filesystem::path& programFolder,
                  std::ostream& out, std::ostream& err, std::function<bool()> interrupted) {
    Options options;
    std::string error;
    if (!parseOptions(args, options, error)) {
        err << "instello: " << error << "\n" << unattendedUsage();
        return kExitNotStarted;
    }
    std::ofstream logFile;
    if (!options.log.empty()) {
        logFile.open(options.log, std::ios::binary | std::ios::trunc);
        if (!logFile) {
            err << "instello: cannot write the log " << options.log << "\n";
            return kExitNotStarted;
        }
    }
    Console console(out, logFile.is_open() ? &logFile : nullptr);

    std::unique_ptr<system::SandboxSystem> sandbox;
    try {
        sandbox = std::make_unique<system::SandboxSystem>(options.root);
    } catch (const std::exception& e) {
        err << "instello: " << e.what() << "\n";
        return kExitNotStarted;
    }
    auto& sys = *sandbox;

    std::string source;
    if (isWindowsPath(options.source)) {
        source = normalizeFolder(options.source);
    } else {
        const std::filesystem::path host =
            options.source.empty() ? programFolder : std::filesystem::path(options.source);
        const auto letter = sys.freeDriveLetter();
        std::error_code ec;
        if (!std::filesystem::is_directory(host, ec) || !letter ||
            !sys.mountFolder(*letter, host, false)) {
            err << "instello: the source folder " << host.string() << " cannot be used\n";
            return kExitNotStarted;
        }
        source = std::string(1, *letter) + ":\\";
        console.line("Source " + source + " = " + std::filesystem::absolute(host).string());
    }
    console.line("Machine: " + sandbox->root().string());

    ConsolePrompter prompter(console, options.acceptLicense);
    Startup start = startUp(sys, prompter, source);
    if (start.outcome != StartupOutcome::Ready) {
        return start.outcome == StartupOutcome::Declined ? kExitDeclined : kExitNotStarted;
    }
    Product& product = *start.product;

    // Command "start": the component list, the prerequisites, the choice.
    try {
        product.components = readComponentList(sys, product.sourceFolder, sys.defaultLanguage());
    } catch (const CError& e) {
        prompter.message(e.text(), product.caption(), Icon::Warning, Buttons::Ok);
        prompter.message(msg::kCanceled, product.caption(), Icon::Information, Buttons::Ok);
        return kExitNotStarted;
    }
    if (!product.checkPrerequisites(sys, prompter)) {
        prompter.message(msg::kCanceled, product.caption(), Icon::Information, Buttons::Ok);
        return kExitDeclined;
    }
    for (auto& item : product.components) {
        item->reset();
    }
    if (options.haveComponents) {
        for (auto& item : product.components) {
            item->setState(0);
        }
        std::size_t start_ = 0;
        const std::string& names = options.components;
        while (start_ <= names.size()) {
            auto end = names.find(',', start_);
            if (end == std::string::npos) {
                end = names.size();
            }
            const std::string_view name =
                trim(std::string_view(names).substr(start_, end - start_));
            start_ = end + 1;
            if (name.empty()) {
                continue;
            }
            ComponentItem* item = findItem(product.components, name);
            if (!item) {
                err << "instello: no component named \"" << name << "\" in INSTALL.CFG\n";
                return kExitNotStarted;
            }
            item->setState(1);
        }
    }
    product.checkOptional = options.checkOptional;

    const std::string target =
        options.target.empty() ? product.installPath : normalizeFolder(options.target);
    const DestinationCheck check = checkDestination(sys, target);
    if (check.code != 0) {
        console.line("Install to: " + target);
        console.line(std::string(check.text));
        return kExitNotStarted;
    }
    ClusterCache clusters;
    clusters.moveTo(target[0]);
    const std::uint32_t cluster = clusters.get(sys);
    const std::int64_t needed = totalSizeKb(product.components, cluster);
    const std::int64_t available = freeKilobytes(sys, target[0]);
    console.line("Install to: " + target);
    console.line("Components:");
    listSelection(product.components, cluster, console, "  ");
    console.line("Space needed: " + std::to_string(needed) + " kB");
    console.line("Space available: " + std::to_string(available) + " kB");
    if (needed == 0 && prompter.message(msg::kNothingSelected, product.caption(), Icon::Question,
                                        Buttons::YesNo) != Answer::Yes) {
        return kExitDeclined;
    }
    if (available < needed && prompter.message(msg::kNoSpace, product.caption(), Icon::Question,
                                               Buttons::YesNo) != Answer::Yes) {
        return kExitDeclined;
    }
    if (!product.acceptDestination(target, prompter)) {
        return kExitDeclined;
    }
    product.installPath = target;

    if (product.flags.deletePrevOn() && !product.removePreviousVersion(sys, prompter)) {
        prompter.message(msg::kCanceled, product.caption(), Icon::Information, Buttons::Ok);
        return kExitDeclined;
    }

    if (interrupted && interrupted()) {
        prompter.message(msg::kCanceled, product.caption(), Icon::Information, Buttons::Ok);
        return kExitDeclined;
    }

    // Command "copy": the job on the installation thread.
    JobSettings settings;
    settings.installPath = product.installPath;
    settings.distributionPath = product.distributionPath;
    settings.clusterSize = cluster;
    settings.skipMissing = !product.checkOptional;
    settings.copyInstaller = product.flags.copyInstallerOn();
    settings.createFormats = product.flags.createFormatsOn();
    settings.reader3Wanted = product.flags.reader3 != -1;
    settings.reader4Wanted = product.flags.reader4 != -1;
    settings.texSystem = product.kind() == ProductKind::TexSystem;
    CancelFlag cancel;
    ConsoleSink sink(console, product.caption(), cancel, interrupted);
    StatusSlot status;
    InstallJob job(sys, sink, product.components, settings, product.makeSettingsFile(sys));
    startInstallThread(job, status).join();

    // Command "copied" and the finish.
    const CError outcome = status.load();
    if (outcome.code() == CError::kSuccess) {
        console.line("Progress: 100%");
        summarizeDeferred(job.deferred(), console);
        prompter.message(std::string(msg::kSuccessHead) + product.name + "!", product.caption(),
                         Icon::Information, Buttons::Ok);
        return kExitInstalled;
    }
    if (outcome.code() != CError::kCancelled) {
        prompter.message(outcome.text(), product.caption(), Icon::Warning, Buttons::Ok);
    }
    console.line("Rolling back...");
    job.rollBack();
    prompter.message(msg::kCanceled, product.caption(), Icon::Information, Buttons::Ok);
    return outcome.code() == CError::kCancelled ? kExitCancelled : kExitFailed;
}

}  // namespace installer
