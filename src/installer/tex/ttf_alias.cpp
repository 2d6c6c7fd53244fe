#include "installer/tex/ttf_alias.h"

#include <algorithm>

#include "installer/install_job.h"
#include "installer/tex/binary_file.h"
#include "installer/tex/tex_messages.h"
#include "installer/tex/truetype.h"
#include "installer/win_path.h"

namespace installer::tex {

namespace {

constexpr std::size_t kLargestFont = std::size_t{64} << 20;

// Adds every font of TTF\ that the alias file does not know; stops at the first one that
// cannot be read or added.
void addNewFonts(InstallJob& job, const TrueTypeAliasCalls& calls, void* file) {
    auto& sys = job.sys();
    const std::string folder = job.settings().installPath + "TTF\\";
    auto names = sys.listFolder(folder).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return upper(a) < upper(b); });
    for (const auto& title : names) {
        if (!iendsWith(title, ".ttf") || !sys.fileExists(folder + title)) {
            continue;
        }
        job.pollCancel();
        const std::string name = upper(title.substr(0, title.size() - 4));
        if (calls.getFontInfo(file, name.c_str())) {
            continue;
        }
        const FileBytes bytes = readFileBytes(sys, folder + title, kLargestFont);
        const auto info = bytes.status == FileBytes::Ok && !bytes.truncated
                              ? readTrueType(bytes.bytes)
                              : std::nullopt;
        if (!info || !calls.addFont(file, name.c_str(), title.c_str(), info->macStyle,
                                    info->hasQlns ? 1 : 0)) {
            job.sink().warning(msg::kCanNotAddFonts);
            break;
        }
    }
}

}  // namespace

void updateTrueTypeAliasFile(InstallJob& job) {
    const std::string path = job.settings().installPath + "BIN\\KORVOTTF.DLL";
    auto library = job.sys().fileExists(path) ? job.sys().loadLibrary(path) : nullptr;
    if (!library) {
        updateTrueTypeAliasFile(job, path, nullptr);
        return;
    }
    const TrueTypeAliasCalls calls = trueTypeAliasCalls(*library);
    updateTrueTypeAliasFile(job, path, &calls);
}

void updateTrueTypeAliasFile(InstallJob& job, const std::string& library,
                             const TrueTypeAliasCalls* calls) {
    auto& sink = job.sink();
    const std::string root = job.settings().installPath;
    sink.showStatus(msg::kStatusTtfAlias);
    if (!calls) {
        sink.warning(std::string(msg::kCanNotFind) + library);
        return;
    }
    const std::string aliasFile = root + "SRC\\ALIASING.WIN";
    job.undo().prepareChange(aliasFile);
    // A library without all its entry points cannot work on the file.
    void* file = calls->complete() ? calls->open(aliasFile.c_str()) : nullptr;
    if (!file) {
        sink.warning(msg::kCanNotOpenWinAlias);
        return;
    }
    try {
        addNewFonts(job, *calls, file);
    } catch (...) {
        calls->close(file);
        throw;
    }
    if (!calls->write(file)) {
        sink.warning(msg::kCanNotWriteWinAlias);
    }
    calls->close(file);
}

}  // namespace installer::tex
