#include "installer/tex/raster_fonts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <new>
#include <set>

#include "installer/cerror.h"
#include "installer/install_job.h"
#include "installer/progress_sink.h"
#include "installer/tex/binary_file.h"
#include "installer/tex/font_library.h"
#include "installer/tex/tex_messages.h"
#include "installer/tex/text_format.h"
#include "installer/win_path.h"

namespace installer::tex {

namespace {

constexpr std::size_t kGfMinimum = 64;
constexpr std::size_t kGfPostambleLimit = 4096;
constexpr std::size_t kLargestFont = std::size_t{16} << 20;
// pre, id, comment length, the longest comment, four words.
constexpr std::size_t kPkHead = 3 + 255 + 16;

std::string with(std::string_view format, std::string_view file) {
    return formatText(format, std::string(file).c_str());
}

RasterRead failed(std::string_view format, std::string_view file) {
    RasterRead r;
    r.messages.push_back(with(format, file));
    return r;
}

RasterRead failedCode(int code, std::string_view file) {
    RasterRead r;
    r.messages.push_back(CError(code, std::string(file)).text());
    return r;
}

// hppp is the horizontal pixels per point in units of 2^-16.
RasterRead fromHppp(std::uint32_t hppp, std::string_view file, RasterRead r = {}) {
    const long dpi = std::lround(static_cast<std::int32_t>(hppp) * 72.27 / 65536.0);
    if (dpi <= 0 || dpi > 0xFFFF) {
        r.messages.push_back(CError(CError::kCorrupted, std::string(file)).text());
        return r;
    }
    r.resolution = static_cast<int>(dpi);
    return r;
}

struct Found {
    std::string folder;
    std::string file;
};

}  // namespace

RasterRead readGf(std::string_view b, std::string_view file) {
    if (b.size() < kGfMinimum) {
        return failed(msg::kGfTooShort, file);
    }
    if (static_cast<std::uint8_t>(b[0]) != 247) {
        return failed(msg::kGfBadId, file);
    }
    if (static_cast<std::uint8_t>(b[1]) != 131) {
        return failed(msg::kGfBadVersion, file);
    }
    // The last 64 bytes: post_post, the postamble pointer, the id byte, then 223's.
    std::size_t fill = 0;
    while (fill < kGfMinimum - 6 && static_cast<std::uint8_t>(b[b.size() - 1 - fill]) == 223) {
        ++fill;
    }
    if (fill < 4) {
        return failed(msg::kGfNo223, file);
    }
    const std::size_t id = b.size() - 1 - fill;
    if (static_cast<std::uint8_t>(b[id]) != 131) {
        return failed(msg::kGfNoPostambleId, file);
    }
    const std::size_t postPost = id - 5;
    if (static_cast<std::uint8_t>(b[postPost]) != 249) {
        return failed(msg::kGfNoPostPost, file);
    }
    const std::uint32_t post = be32(b, postPost + 1);
    // A pointer past the post_post byte points at no postamble.
    if (post >= postPost) {
        return failed(msg::kGfNoPost, file);
    }
    if (b.size() - post > kGfPostambleLimit) {
        return failed(msg::kGfBufferTooSmall, file);
    }
    if (static_cast<std::uint8_t>(b[post]) != 248) {
        return failed(msg::kGfNoPost, file);
    }
    // post, then p, ds, cs, hppp, vppp.
    if (!fits(b.size(), post, 1 + 5 * 4)) {
        return failed(msg::kGfRead, file);
    }
    return fromHppp(be32(b, post + 13), file);
}

RasterRead readPk(std::string_view b, std::string_view file) {
    if (b.empty() || static_cast<std::uint8_t>(b[0]) != 247) {
        return failed(msg::kPkNoPre, file);
    }
    if (b.size() < 2 || static_cast<std::uint8_t>(b[1]) != 89) {
        return failed(msg::kPkVersion, file);
    }
    if (b.size() < 3) {
        return failedCode(CError::kCannotRead, file);
    }
    const std::size_t words = 3 + static_cast<std::uint8_t>(b[2]);
    if (!fits(b.size(), words, 16)) {
        return failedCode(CError::kCannotRead, file);
    }
    const std::uint32_t hppp = be32(b, words + 8);
    const std::uint32_t vppp = be32(b, words + 12);
    RasterRead r;
    if (hppp != vppp) {
        r.messages.push_back(with(msg::kPkAspect, file));
    }
    return fromHppp(hppp, file, std::move(r));
}

RasterRead readPxl(std::string_view b, std::string_view file, bool checkId) {
    if (b.size() < 64) {
        return failed(msg::kPxlTooShort, file);
    }
    if (checkId && (be32(b, 0) != 1001 || be32(b, b.size() - 4) != 1001)) {
        return failed(msg::kPxlBad, file);
    }
    const long dpi = std::lround(static_cast<std::int32_t>(be32(b, b.size() - 16)) / 5.0);
    if (dpi <= 0 || dpi > 0xFFFF) {
        return failedCode(CError::kCorrupted, file);
    }
    RasterRead r;
    r.resolution = static_cast<int>(dpi);
    return r;
}

std::optional<RasterFormat> rasterFormatOf(std::string_view extension) {
    if (iendsWith(extension, "!F!")) {
        return RasterFormat::Fpf;
    }
    if (iendsWith(extension, "PXL")) {
        return RasterFormat::Pxl;
    }
    if (iendsWith(extension, "GF")) {
        return RasterFormat::Gf;
    }
    if (iendsWith(extension, "PK")) {
        return RasterFormat::Pk;
    }
    return std::nullopt;
}

namespace {

class Scan {
public:
    Scan(system::System& sys, ProgressSink& sink, RasterLimits limits)
        : sys_(sys), sink_(sink), limits_(limits) {}

    RasterConfiguration run(const std::string& binFolder, const std::string& library) {
        try {
            runSteps(binFolder, library);
        } catch (const std::bad_alloc&) {
            fatal(msg::kOutOfMemory);
        }
        return std::move(result_);
    }

private:
    void report(const std::string& text) {
        result_.log += text;
        std::size_t start = 0;
        while (start < text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            const std::string_view line = trim(std::string_view(text).substr(start, end - start));
            if (!line.empty()) {
                sink_.showStatus(line);
            }
            start = end + 1;
        }
    }
    void fatal(std::string_view text) {
        report(std::string(text) + "\n");
        sink_.warning(text);
    }

    void runSteps(const std::string& binFolder, const std::string& library) {
        std::vector<LibraryEntry> entries;
        try {
            entries = readLibrary(sys_, library);
        } catch (const CError&) {
            fatal(formatText(msg::kCannotOpenLibrary, library.c_str()));
            return;
        }
        for (auto& entry : entries) {
            libraryNames_.push_back(std::move(entry.name));
        }
        std::sort(libraryNames_.begin(), libraryNames_.end());
        std::string bin = withBackslash(binFolder);
        const std::string root = folderPart(bin.substr(0, bin.size() - 1));
        collectFolders(root + "FONTS\\");
        for (std::size_t i = 0; i < result_.folders.size(); ++i) {
            scanFolder(i);
        }
        registerFonts();
        const std::string table = bin + "RFONTS.SET";
        if (!writeFileBytes(sys_, table, rasterFontTable(result_))) {
            fatal(formatText(msg::kCannotCreate, table.c_str()));
            return;
        }
        result_.written = true;
        listUnregistered();
    }

    // The folder and every folder below it, depth first, in name order.
    void collectFolders(const std::string& folder) {
        if (!sys_.folderExists(folder)) {
            return;
        }
        if (result_.folders.size() >= limits_.folders) {
            if (!tooManyFolders_) {
                tooManyFolders_ = true;
                fatal(msg::kTooManyFolders);
            }
            return;
        }
        result_.folders.push_back(folder);
        auto names = sys_.listFolder(folder).value_or(std::vector<std::string>{});
        std::sort(names.begin(), names.end(),
                  [](const auto& a, const auto& b) { return upper(a) < upper(b); });
        for (const auto& name : names) {
            if (sys_.folderExists(folder + name)) {
                collectFolders(folder + name + "\\");
            }
        }
    }

    void scanFolder(std::size_t index) {
        if (sink_.isCancelRequested()) {
            throw CError(CError::kCancelled);
        }
        const std::string& folder = result_.folders[index];
        report(formatText(msg::kScanning, folder.c_str()));
        auto names = sys_.listFolder(folder).value_or(std::vector<std::string>{});
        std::sort(names.begin(), names.end(),
                  [](const auto& a, const auto& b) { return upper(a) < upper(b); });
        for (const auto& file : names) {
            const auto dot = file.rfind('.');
            if (dot == std::string::npos || !sys_.fileExists(folder + file)) {
                continue;
            }
            const std::string name = file.substr(0, dot);
            const std::string extension = file.substr(dot + 1);
            if (iequals(extension, "TFM")) {
                metrics_.emplace(upper(name), Found{folder, name});
                continue;
            }
            const auto format = rasterFormatOf(extension);
            if (!format) {
                continue;
            }
            const RasterRead read = readFont(folder + file, *format);
            for (const auto& message : read.messages) {
                report(message + "\n");
            }
            if (read.resolution) {
                RegisteredFont font;
                font.folder = index;
                font.name = name;
                font.extension = extension;
                font.format = *format;
                font.resolution = *read.resolution;
                found_.push_back(std::move(font));
            }
        }
    }

    RasterRead readFont(const std::string& path, RasterFormat format) {
        const std::size_t limit = format == RasterFormat::Pk ? kPkHead : kLargestFont;
        const FileBytes file = readFileBytes(sys_, path, limit);
        if (file.status != FileBytes::Ok) {
            if (file.status == FileBytes::ReadError && format == RasterFormat::Gf) {
                return failed(msg::kGfRead, path);
            }
            if (file.status == FileBytes::ReadError) {
                return failedCode(CError::kCannotRead, path);
            }
            switch (format) {
                case RasterFormat::Gf:
                    return failed(msg::kGfOpen, path);
                case RasterFormat::Pk:
                    return failed(msg::kPkOpen, path);
                default:
                    return failed(msg::kPxlOpen, path);
            }
        }
        if (file.truncated && format != RasterFormat::Pk) {
            return failedCode(CError::kCorrupted, path);
        }
        switch (format) {
            case RasterFormat::Gf:
                return readGf(file.bytes, path);
            case RasterFormat::Pk:
                return readPk(file.bytes, path);
            case RasterFormat::Pxl:
                return readPxl(file.bytes, path, true);
            case RasterFormat::Fpf:
                return readPxl(file.bytes, path, false);
        }
        return {};
    }

    std::size_t folderIndex(const std::string& folder) const {
        const auto& folders = result_.folders;
        return static_cast<std::size_t>(std::find(folders.begin(), folders.end(), folder) -
                                        folders.begin());
    }

    void registerFonts() {
        for (auto& font : found_) {
            const std::string& folder = result_.folders[font.folder];
            // The name has no extension left for libraryName() to cut.
            if (std::binary_search(libraryNames_.begin(), libraryNames_.end(),
                                   libraryName(font.name + "."))) {
                font.metricInLibrary = true;
            } else if (const auto m = metrics_.find(upper(font.name)); m != metrics_.end()) {
                font.metricInLibrary = false;
                font.metricFolder = folderIndex(m->second.folder);
                usedMetrics_.insert(m->first);
            } else {
                unregistered_.push_back(formatText(msg::kFontWithoutTfm, folder.c_str(),
                                                   font.name.c_str(), font.extension.c_str()));
                continue;
            }
            if (result_.fonts.size() >= limits_.fonts) {
                if (!tooManyFonts_) {
                    tooManyFonts_ = true;
                    fatal(msg::kTooManyFonts);
                }
                continue;
            }
            result_.fonts.push_back(font);
            report(formatText(msg::kFontLog, static_cast<int>(result_.fonts.size()), folder.c_str(),
                              font.name.c_str(), font.extension.c_str(), font.resolution));
            if (!font.metricInLibrary) {
                const Found& m = metrics_.at(upper(font.name));
                report(formatText(msg::kTfmLog, m.folder.c_str(), m.file.c_str()) + "\n");
            }
        }
    }

    void listUnregistered() {
        if (!unregistered_.empty()) {
            std::string text(msg::kFontsWithoutTfm);
            for (const auto& line : unregistered_) {
                text += line;
            }
            report(text);
        }
        std::string unused;
        for (const auto& [key, m] : metrics_) {
            if (!usedMetrics_.count(key)) {
                unused += formatText(msg::kTfmWithoutFont, m.folder.c_str(), m.file.c_str());
            }
        }
        if (!unused.empty()) {
            report(std::string(msg::kTfmsWithoutFont) + unused);
        }
    }

    system::System& sys_;
    ProgressSink& sink_;
    RasterLimits limits_;
    RasterConfiguration result_;
    std::vector<std::string> libraryNames_;
    // Metric files by upper-case name; the first one found wins.
    std::map<std::string, Found> metrics_;
    std::vector<RegisteredFont> found_;
    std::vector<std::string> unregistered_;
    bool tooManyFolders_ = false;
    bool tooManyFonts_ = false;
    std::set<std::string> usedMetrics_;
};

void putText(std::string& out, const std::string& text) {
    out += text;
    out += '\0';
}

}  // namespace

std::string rasterFontTable(const RasterConfiguration& configuration) {
    std::string folders;
    for (const auto& folder : configuration.folders) {
        putText(folders, folder);
    }
    std::vector<std::string> names;
    auto nameIndex = [&](const std::string& text) {
        const auto at = std::find(names.begin(), names.end(), text);
        if (at != names.end()) {
            return static_cast<std::uint32_t>(at - names.begin());
        }
        names.push_back(text);
        return static_cast<std::uint32_t>(names.size() - 1);
    };
    std::string records;
    for (const auto& font : configuration.fonts) {
        putLe16(records, static_cast<std::uint32_t>(font.folder));
        putLe16(records, nameIndex(font.name));
        putLe16(records, nameIndex(font.extension));
        records += static_cast<char>(font.format);
        records += static_cast<char>(font.metricInLibrary ? 1 : 2);
        putLe16(records, static_cast<std::uint32_t>(font.resolution));
        putLe16(records,
                font.metricInLibrary ? 0xFFFF : static_cast<std::uint32_t>(font.metricFolder));
        putLe32(records, 0);
    }
    std::string nameTable;
    for (const auto& name : names) {
        putText(nameTable, name);
    }
    const std::uint32_t header = 44;
    const auto folderAt = header;
    const auto namesAt = folderAt + static_cast<std::uint32_t>(folders.size());
    const auto recordsAt = namesAt + static_cast<std::uint32_t>(nameTable.size());
    const auto size = recordsAt + static_cast<std::uint32_t>(records.size());
    std::string out = "RFONTSET";
    putLe16(out, 1);
    putLe16(out, header);
    putLe32(out, static_cast<std::uint32_t>(configuration.folders.size()));
    putLe32(out, folderAt);
    putLe32(out, static_cast<std::uint32_t>(names.size()));
    putLe32(out, namesAt);
    putLe32(out, static_cast<std::uint32_t>(configuration.fonts.size()));
    putLe32(out, recordsAt);
    putLe32(out, size);
    putLe32(out, 0);
    return out + folders + nameTable + records;
}

RasterConfiguration configureRasterFonts(system::System& sys, ProgressSink& sink,
                                         const std::string& binFolder, const std::string& library,
                                         RasterLimits limits) {
    return Scan(sys, sink, limits).run(binFolder, library);
}

void configureRasterFonts(InstallJob& job, const std::string& binFolder) {
    job.undo().prepareChange(withBackslash(binFolder) + "RFONTS.SET");
    configureRasterFonts(job.sys(), job.sink(), binFolder, fontLibraryPath(job));
}

}  // namespace installer::tex
