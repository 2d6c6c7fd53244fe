#include "installer/tex/font_library.h"

#include <algorithm>
#include <map>
#include <optional>

#include "installer/cerror.h"
#include "installer/install_job.h"
#include "installer/tex/binary_file.h"
#include "installer/tex/tex_messages.h"
#include "installer/win_path.h"

namespace installer::tex {

namespace {

constexpr char kMagic[8] = {'T', 'F', 'M', 0x04, 'L', 'I', 'B', 0x1A};
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kBlock = 16384;
// A metric file says its own length in 16-bit words of four bytes.
constexpr std::size_t kLargestMetric = 4 * 0xFFFF;
// Far more than any TeX system's fonts; a larger file is not a library.
constexpr std::size_t kLargestLibrary = std::size_t{1} << 30;

// One font of the new library: either a slice of the old library or a metric file's bytes.
struct Source {
    std::uint32_t oldOffset = 0;
    std::uint32_t length = 0;
    std::string data;  // a new file's bytes
    bool fromOld = true;
};

std::string readMetricFile(system::System& sys, const std::string& path) {
    FileBytes file = readFileBytes(sys, path, kLargestMetric);
    if (file.status == FileBytes::CannotOpen) {
        throw CError(CError::kCannotOpen, path);
    }
    if (file.status == FileBytes::ReadError) {
        throw CError(CError::kCannotRead, path);
    }
    if (file.bytes.size() < 2) {
        throw CError(CError::kCorrupted, path);
    }
    const std::size_t declared = 4 * std::size_t{be16(file.bytes, 0)};
    // A metric file of no words, or one longer than the file, is damaged.
    if (declared == 0 || declared > file.bytes.size()) {
        throw CError(CError::kCorrupted, path);
    }
    file.bytes.resize(declared);
    return std::move(file.bytes);
}

// A name for a new file in `folder` that nothing uses yet.
std::string freeName(system::System& sys, const std::string& folder, std::string_view stem) {
    for (int i = 0;; ++i) {
        std::string name = folder + std::string(stem) + (i ? std::to_string(i) : "") + ".tmp";
        if (!sys.fileExists(name) && !sys.folderExists(name)) {
            return name;
        }
    }
}

class BlockWriter {
public:
    BlockWriter(system::System& sys, const std::string& path) : path_(path) {
        file_ = sys.openWrite(path);
        if (!file_) {
            throw CError(CError::kCannotWrite, path);
        }
        buffer_.reserve(kBlock);
    }
    void put(std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t n = std::min(bytes.size(), kBlock - buffer_.size());
            buffer_.append(bytes.data(), n);
            bytes.remove_prefix(n);
            if (buffer_.size() == kBlock) {
                flush();
            }
        }
    }
    void close() {
        flush();
        if (!file_->close()) {
            throw CError(CError::kCannotWrite, path_);
        }
    }

private:
    void flush() {
        if (!buffer_.empty() && !file_->write(buffer_.data(), buffer_.size())) {
            throw CError(CError::kCannotWrite, path_);
        }
        buffer_.clear();
    }
    std::string path_;
    std::unique_ptr<system::WriteFile> file_;
    std::string buffer_;
};

void writeLibrary(system::System& sys, const std::string& path, std::string_view old,
                  const std::map<std::string, Source>& fonts) {
    BlockWriter out(sys, path);
    std::string head(kMagic, sizeof kMagic);
    head += "@@@@@";
    head += '\0';
    putLe16(head, static_cast<std::uint32_t>(fonts.size()));
    std::uint64_t offset = (fonts.size() + 1) * kEntrySize;
    for (const auto& [name, source] : fonts) {
        std::string entry = name;
        entry.resize(8, '\0');
        putLe32(entry, static_cast<std::uint32_t>(offset));
        putLe32(entry, source.length);
        head += entry;
        offset += source.length;
    }
    out.put(head);
    for (const auto& [name, source] : fonts) {
        out.put(source.fromOld ? old.substr(source.oldOffset, source.length)
                               : std::string_view(source.data));
    }
    out.close();
}

}  // namespace

std::vector<LibraryEntry> readLibraryDirectory(std::string_view bytes, const std::string& path) {
    if (bytes.size() < kEntrySize || !std::equal(kMagic, kMagic + 8, bytes.begin())) {
        throw CError(CError::kCorrupted, path);
    }
    const std::size_t count = le16(bytes, 14);
    if (!fits(bytes.size(), kEntrySize, count * kEntrySize)) {
        throw CError(CError::kCorrupted, path);
    }
    std::vector<LibraryEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = (i + 1) * kEntrySize;
        LibraryEntry entry;
        const std::string_view raw = bytes.substr(at, 8);
        entry.name = std::string(raw.substr(0, raw.find('\0')));
        entry.offset = le32(bytes, at + 8);
        entry.length = le32(bytes, at + 12);
        if (entry.name.empty() || !fits(bytes.size(), entry.offset, entry.length)) {
            throw CError(CError::kCorrupted, path);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<LibraryEntry> readLibrary(system::System& sys, const std::string& path) {
    FileBytes file = readFileBytes(sys, path, kLargestLibrary);
    if (file.status == FileBytes::CannotOpen) {
        throw CError(sys.fileExists(path) ? CError::kCannotOpen : CError::kNotFound, path);
    }
    if (file.status == FileBytes::ReadError) {
        throw CError(CError::kCannotRead, path);
    }
    if (file.truncated) {
        throw CError(CError::kCorrupted, path);
    }
    return readLibraryDirectory(file.bytes, path);
}

std::string libraryName(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    std::string name = lower(fileName.substr(0, dot));
    if (name.size() > 8) {
        name.resize(8);
    }
    return name;
}

void mergeFontLibrary(system::System& sys, const std::string& library,
                      const std::vector<std::string>& metricFiles, UndoLog* journal) {
    std::string old;
    std::map<std::string, Source> fonts;
    if (sys.fileExists(library)) {
        FileBytes file = readFileBytes(sys, library, kLargestLibrary);
        if (file.status == FileBytes::CannotOpen) {
            throw CError(CError::kCannotOpen, library);
        }
        if (file.status == FileBytes::ReadError) {
            throw CError(CError::kCannotRead, library);
        }
        if (file.truncated) {
            throw CError(CError::kCorrupted, library);
        }
        old = std::move(file.bytes);
        for (const auto& entry : readLibraryDirectory(old, library)) {
            fonts[entry.name] = Source{entry.offset, entry.length, {}, true};
        }
    }
    std::vector<std::string> files = metricFiles;
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return upper(fileNamePart(a)) < upper(fileNamePart(b));
    });
    for (const auto& path : files) {
        const std::string name = libraryName(fileNamePart(path));
        if (name.empty()) {
            throw CError(CError::kCorrupted, path);
        }
        Source source;
        source.fromOld = false;
        source.data = readMetricFile(sys, path);
        source.length = static_cast<std::uint32_t>(source.data.size());
        fonts[name] = std::move(source);
    }
    std::uint64_t total = (fonts.size() + 1) * kEntrySize;
    for (const auto& [name, source] : fonts) {
        total += source.length;
    }
    // The directory counts in 16 bits and offsets in 32.
    if (fonts.size() > 0xFFFF || total > 0xFFFFFFFFu) {
        throw CError(CError::kCorrupted, library);
    }
    const std::string temporary = freeName(sys, folderPart(library), "tfmlib");
    if (journal) {
        journal->isNewFile(temporary);
    }
    try {
        writeLibrary(sys, temporary, old, fonts);
        // In one step: the old library or the new one, never neither.
        if (!sys.replaceFile(temporary, library)) {
            throw CError(CError::kCannotWrite, library);
        }
    } catch (...) {
        sys.deleteFile(temporary);
        throw;
    }
}

std::string fontLibraryPath(InstallJob& job) {
    const std::string& root = job.settings().installPath;
    const std::string& name = job.fontLibraryName;
    if (name.empty()) {
        return root + "BIN\\TFM.LIB";
    }
    if (!isSafeRelativePath(name)) {
        throw CError(CError::kCorrupted, name);
    }
    return root + name;
}

void updateFontLibrary(InstallJob& job) {
    auto& sys = job.sys();
    job.sink().showStatus(msg::kStatusFontLibrary);
    const std::string library = fontLibraryPath(job);
    job.undo().prepareChange(library);
    const std::string bin = job.settings().installPath + "BIN\\";
    std::vector<std::string> metricFiles;
    if (const auto names = sys.listFolder(bin)) {
        for (const auto& name : *names) {
            if (iendsWith(name, ".TFM") && sys.fileExists(bin + name)) {
                metricFiles.push_back(bin + name);
            }
        }
    }
    auto removeMetricFiles = [&] {
        for (const auto& path : metricFiles) {
            job.undo().removeFile(path);
        }
    };
    try {
        mergeFontLibrary(sys, library, metricFiles, &job.undo());
    } catch (...) {
        removeMetricFiles();
        throw;
    }
    removeMetricFiles();
}

}  // namespace installer::tex
