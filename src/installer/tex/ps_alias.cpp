#include "installer/tex/ps_alias.h"

#include <algorithm>

#include "installer/cerror.h"
#include "installer/install_job.h"
#include "installer/tex/binary_file.h"
#include "installer/tex/tex_messages.h"
#include "installer/win_path.h"

namespace installer::tex {

namespace {

constexpr std::size_t kLargestFile = std::size_t{16} << 20;

std::string_view skipBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return text;
}

// The bytes of a file that may be missing; CError 2 or 3 naming it otherwise.
std::optional<std::string> readExisting(system::System& sys, const std::string& path) {
    if (!sys.fileExists(path)) {
        return std::nullopt;
    }
    FileBytes file = readFileBytes(sys, path, kLargestFile);
    if (file.status == FileBytes::CannotOpen) {
        throw CError(CError::kCannotOpen, path);
    }
    if (file.status == FileBytes::ReadError || file.truncated) {
        throw CError(CError::kCannotRead, path);
    }
    return std::move(file.bytes);
}

int folderNumber(PsAliasFile& file, const std::string& folder) {
    int highest = 0;
    for (const auto& definition : file.folders) {
        if (iequals(definition.path, folder)) {
            return definition.number;
        }
        highest = std::max(highest, definition.number);
    }
    file.folders.push_back({highest + 1, folder});
    return highest + 1;
}

std::vector<AliasLine>* listOfCode(AliasLists& lists, std::uint32_t code) {
    switch (code) {
        case 1:
            return &lists.tex;
        case 3:
            return &lists.readers;
        case 4:
            return &lists.reader3;
        case 5:
            return &lists.reader4;
        default:
            return nullptr;
    }
}

}  // namespace

bool AliasLists::empty() const {
    return tex.empty() && readers.empty() && reader3.empty() && reader4.empty();
}

PsAliasFile parsePsAliasFile(std::string_view text) {
    PsAliasFile file;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = skipBlanks(line);
        const auto eq = line.find('=');
        if (line.empty() || eq == std::string_view::npos) {
            continue;
        }
        if (line.front() == '%') {
            file.folders.push_back(
                {parseDecimal(line.substr(1, eq - 1)), std::string(trim(line.substr(eq + 1)))});
        } else if (line.front() == '@') {
            file.aliases.push_back({std::string(trim(line.substr(1, eq - 1))),
                                    std::string(skipBlanks(line.substr(eq + 1)))});
        }
    }
    return file;
}

std::string psAliasFileText(const PsAliasFile& file) {
    std::string out;
    for (const auto& folder : file.folders) {
        out += "%" + std::to_string(folder.number) + " = " + folder.path + "\r\n";
    }
    out += "\r\n\r\n";
    for (const auto& alias : file.aliases) {
        out += "@" + alias.name + " = " + alias.value + "\r\n";
    }
    return out;
}

void readPendingLines(std::string_view bytes, const std::string& path, AliasLists& lists) {
    std::size_t at = 0;
    auto need = [&](std::uint64_t size) {
        if (!fits(bytes.size(), at, size)) {
            throw CError(CError::kCorrupted, path);
        }
    };
    while (at < bytes.size()) {
        need(8);
        std::vector<AliasLine>* list = listOfCode(lists, le32(bytes, at));
        const std::uint32_t count = le32(bytes, at + 4);
        at += 8;
        if (!list) {
            throw CError(CError::kCorrupted, path);
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            need(4);
            const std::uint32_t length = le32(bytes, at);
            at += 4;
            need(std::uint64_t{length} + 1);
            AliasLine line;
            line.line = std::string(bytes.substr(at, length));
            const auto flag = static_cast<std::uint8_t>(bytes[at + length]);
            if (flag > 1) {
                throw CError(CError::kCorrupted, path);
            }
            line.replace = flag == 1;
            at += length + 1;
            list->push_back(std::move(line));
        }
    }
}

std::string pendingLinesFile(const AliasLists& lists) {
    std::string out;
    const std::pair<std::uint32_t, const std::vector<AliasLine>*> order[] = {
        {1, &lists.tex}, {3, &lists.readers}, {4, &lists.reader3}, {5, &lists.reader4}};
    for (const auto& [code, list] : order) {
        if (list->empty()) {
            continue;
        }
        putLe32(out, code);
        putLe32(out, static_cast<std::uint32_t>(list->size()));
        for (const auto& line : *list) {
            putLe32(out, static_cast<std::uint32_t>(line.line.size()));
            out += line.line;
            out += static_cast<char>(line.replace ? 1 : 0);
        }
    }
    return out;
}

std::string aliasFontFile(std::string_view line) {
    const auto quoted = line.find("b=\"");
    if (quoted != std::string_view::npos) {
        const auto from = quoted + 3;
        const auto to = line.find('"', from);
        return std::string(line.substr(from, to == std::string_view::npos ? to : to - from));
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    const auto percent = line.find('%', eq);
    return std::string(
        trim(line.substr(eq + 1, percent == std::string_view::npos ? percent : percent - eq - 1)));
}

std::vector<bool> mergeAliasLines(system::System& sys, PsAliasFile& file,
                                  const std::vector<AliasLine>& lines, const std::string& pfbFolder,
                                  const std::string& pfmFolder) {
    std::vector<bool> placed;
    for (const auto& queued : lines) {
        const std::string_view line = queued.line;
        const auto eq = line.find('=');
        if (line.empty() || line.front() != '@' || eq == std::string_view::npos) {
            placed.push_back(true);  // not an alias line: nothing to keep for later
            continue;
        }
        const std::string name(trim(line.substr(1, eq - 1)));
        auto existing = std::find_if(file.aliases.begin(), file.aliases.end(),
                                     [&](const Alias& a) { return a.name == name; });
        if (existing != file.aliases.end() && !queued.replace) {
            placed.push_back(true);
            continue;
        }
        const std::string font = aliasFontFile(line);
        if (!sys.fileExists(pfbFolder + font + ".pfb")) {
            placed.push_back(false);
            continue;
        }
        const int pfb = folderNumber(file, pfbFolder);
        int pfm = folderNumber(file, pfmFolder);
        if (!sys.fileExists(pfmFolder + font + ".pfm")) {
            pfm = pfb;
        }
        std::string value(skipBlanks(line.substr(eq + 1)));
        // The percent sign after the font file's name.
        const auto quoted = value.find("b=\"");
        const auto after = quoted == std::string::npos ? 0 : value.find('"', quoted + 3);
        const auto percent = value.find('%', after == std::string::npos ? 0 : after);
        if (percent != std::string::npos) {
            value.insert(percent + 1, std::to_string(pfb) + "," + std::to_string(pfm));
        }
        if (existing != file.aliases.end()) {
            file.aliases.erase(existing);
        }
        file.aliases.push_back({name, std::move(value)});
        placed.push_back(true);
    }
    return placed;
}

void updatePsAliasFile(InstallJob& job, const ReaderFontFolders& readers) {
    auto& sys = job.sys();
    auto& undo = job.undo();
    const std::string root = job.settings().installPath;
    job.sink().showStatus(msg::kStatusPsAlias);
    const std::string path = root + "SRC\\ALIASING.PST";
    const auto text = readExisting(sys, path);
    const DeferredActions& queued = job.deferred();
    AliasLists lists{queued.texAliases, queued.readerAliases, queued.reader3Aliases,
                     queued.reader4Aliases};
    const std::string pendingPath = root + "BIN\\t1fntnf.bck";
    if (const auto bytes = readExisting(sys, pendingPath)) {
        readPendingLines(*bytes, pendingPath, lists);
    }
    // A product without Type 1 aliases, and without the file, gets no alias file.
    if (!text && lists.empty()) {
        return;
    }
    undo.prepareChange(path);
    PsAliasFile file;
    if (text) {
        file = parsePsAliasFile(*text);
    }

    // A line is done once any merge has placed it.
    auto merge = [&](const std::vector<AliasLine>& list, std::vector<bool>& done,
                     const std::string& pfb, const std::string& pfm) {
        const auto placed = mergeAliasLines(sys, file, list, pfb, pfm);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            done[i] = done[i] || placed[i];
        }
    };
    std::vector<bool> texDone(lists.tex.size()), readersDone(lists.readers.size()),
        reader3Done(lists.reader3.size()), reader4Done(lists.reader4.size());
    if (!readers.reader3.empty()) {
        const std::string pfb = withBackslash(readers.reader3);
        merge(lists.readers, readersDone, pfb, pfb + "PFM\\");
        merge(lists.reader3, reader3Done, pfb, pfb + "PFM\\");
    }
    if (!readers.reader4.empty()) {
        const std::string pfb = withBackslash(readers.reader4);
        merge(lists.readers, readersDone, pfb, pfb + "PFM\\");
        merge(lists.reader4, reader4Done, pfb, pfb + "PFM\\");
    }
    merge(lists.tex, texDone, root + "PFB\\", root + "PFM\\");

    auto stillPending = [](std::vector<AliasLine>& list, const std::vector<bool>& done) {
        std::vector<AliasLine> kept;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!done[i]) {
                kept.push_back(std::move(list[i]));
            }
        }
        list = std::move(kept);
    };
    stillPending(lists.tex, texDone);
    stillPending(lists.readers, readersDone);
    stillPending(lists.reader3, reader3Done);
    stillPending(lists.reader4, reader4Done);

    if (sys.fileExists(pendingPath) && !undo.removeFile(pendingPath)) {
        throw CError(CError::kCannotWrite, pendingPath);
    }
    if (!lists.empty()) {
        if (!sys.folderExists(folderPart(pendingPath))) {
            undo.createFolders(folderPart(pendingPath));
        }
        undo.isNewFile(pendingPath);
        if (!writeFileBytes(sys, pendingPath, pendingLinesFile(lists))) {
            throw CError(CError::kCannotWrite, pendingPath);
        }
    }
    if (!sys.folderExists(folderPart(path))) {
        undo.createFolders(folderPart(path));
    }
    if (!writeFileBytes(sys, path, psAliasFileText(file))) {
        throw CError(CError::kCannotWrite, path);
    }
}

}  // namespace installer::tex
