#include "installer/reader/pdf_reader.h"

#include "installer/ckey.h"
#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

namespace {

using system::RegRoot;

constexpr std::string_view kReader3Class = "CLSID\\{DF9A1DA0-23C0-101B-B02E-FDFDFDFDFDFD}";
constexpr std::string_view kReader4Class = "CLSID\\{B801CA65-A1FC-11D0-85AD-444553540000}";

std::string withoutBackslash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

ReaderStatus search(system::System& sys, CAcrobatReader& reader) {
    ReaderStatus status;
    status.info.version = reader.version();
    const auto program = reader.programPath();
    if (!program) {
        status.code = ReaderStatus::kNoClassKey;
        return status;
    }
    // The folder is cut from the program path read again, as the plug-in path is built.
    const auto again = reader.programPath();
    if (!again) {
        status.code = ReaderStatus::kNoProgramPath;
        return status;
    }
    const auto slash = again->rfind('\\');
    const std::string folder =
        slash == std::string::npos ? std::string() : again->substr(0, slash + 1);
    const std::string plugIn = withoutBackslash(folder) + reader.plugInPath();
    const std::string fonts = reader.fontFolder(withoutBackslash(folder));
    if (program->size() >= kReaderPathSize || plugIn.size() >= kReaderPathSize ||
        fonts.size() >= kReaderPathSize) {
        status.code = ReaderStatus::kTooLong;
        return status;
    }
    if (!sys.fileExists(*program)) {
        status.code = ReaderStatus::kNoProgram;
        return status;
    }
    if (!sys.fileExists(plugIn)) {
        status.code = ReaderStatus::kNoPlugIn;
        return status;
    }
    status.info.programPath = *program;
    status.info.plugInPath = plugIn;
    status.info.readerFolder = folder;
    status.info.fontFolder = fonts;
    return status;
}

}  // namespace

std::optional<std::string> CAcrobatReader::defaultValue(const std::string& key) {
    CKey opened(sys_, RegRoot::ClassesRoot, key);
    if (!opened.openForQuery()) {
        return std::nullopt;
    }
    // Read whole: a path too long for the reader's buffer is told apart later.
    const auto value = opened.read("", std::string::npos);
    if (!value || value->type != system::kRegSz) {
        return std::nullopt;
    }
    std::string text = value->data;
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

std::optional<std::string> CAcrobatReader::programPath() {
    return defaultValue(classKeyPath());
}

std::string CAcrobatReader3::classKeyPath() const {
    return std::string(kReader3Class) + "\\LocalServer";
}

std::string CAcrobatReader3::fontFolder(const std::string& readerFolder) const {
    return readerFolder + "\\Fonts\\";
}

std::optional<std::string> CAcrobatReader4::programPath() {
    if (auto path = defaultValue(std::string(kReader4Class) + "\\LocalServer")) {
        return path;
    }
    return defaultValue(classKeyPath());
}

std::string CAcrobatReader4::classKeyPath() const {
    return std::string(kReader4Class) + "\\LocalServer32";
}

std::string CAcrobatReader4::fontFolder(const std::string& readerFolder) const {
    const auto slash = readerFolder.rfind('\\');
    return (slash == std::string::npos ? std::string() : readerFolder.substr(0, slash)) +
           "\\Resource\\Font\\";
}

CReaderSearch::CReaderSearch(system::System& sys, int version) {
    std::unique_ptr<CAcrobatReader> reader;
    if (version == 3) {
        reader = std::make_unique<CAcrobatReader3>(sys);
    } else if (version == 4) {
        reader = std::make_unique<CAcrobatReader4>(sys);
    } else {
        return;
    }
    result_ = search(sys, *reader);
}

const ReaderStatus& PdfReaders::status(system::System& sys, int version) {
    auto& slot = version == 3 ? status3_ : status4_;
    if (!slot) {
        slot = *CReaderSearch(sys, version == 3 ? 3 : 4).result();
    }
    return *slot;
}

std::optional<ReaderInfo> PdfReaders::found(int version) const {
    const auto& slot = version == 3 ? status3_ : status4_;
    if (slot && slot->found()) {
        return slot->info;
    }
    return std::nullopt;
}

std::string_view readerReason(int code) {
    switch (code) {
        case ReaderStatus::kNoClassKey:
        case ReaderStatus::kNoProgram:
            return msg::kNoAcroRd32;
        case ReaderStatus::kNoProgramPath:
        case ReaderStatus::kNoPlugIn:
            return msg::kNoPlugIn;
        case ReaderStatus::kTooLong:
            return msg::kReaderMemory;
        default:
            return {};
    }
}

bool checkReaders(system::System& sys, PdfReaders& readers, int r3, int r4, Prompter& prompter,
                  const std::string& appName, const std::string& caption) {
    const bool found3 = r3 != -1 && readers.status(sys, 3).found();
    const bool found4 = r4 != -1 && readers.status(sys, 4).found();
    if ((found4 && (found3 || r3 != 1)) || (!found4 && r4 != 1 && found3)) {
        return true;
    }
    for (const auto& [version, wanted, found, name] :
         {std::tuple{3, r3 != -1, found3, msg::kReader3Name},
          std::tuple{4, r4 != -1, found4, msg::kReader4Name}}) {
        if (!wanted || found) {
            continue;
        }
        const int code = readers.status(sys, version).code;
        const std::string_view reason = readerReason(code);
        if (reason.empty()) {
            continue;
        }
        const std::string text = code == ReaderStatus::kTooLong
                                     ? std::string(msg::kReaderMemory)
                                     : std::string(msg::kReaderFailedHead) + std::string(name) +
                                           std::string(msg::kReaderFailedTail) +
                                           std::string(reason);
        prompter.message(text, caption, Icon::Warning, Buttons::Ok);
    }
    if (r3 == 1 || r4 == 1) {
        prompter.message(
            std::string(msg::kReaderRequiredHead) + appName + std::string(msg::kReaderRequiredTail),
            caption, Icon::Error, Buttons::Ok);
        return false;
    }
    return prompter.message(msg::kReaderProceed, caption, Icon::Question, Buttons::YesNo) ==
           Answer::Yes;
}

}  // namespace installer
