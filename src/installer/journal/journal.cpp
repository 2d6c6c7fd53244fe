#include "installer/journal/journal.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "installer/win_path.h"
#include "ui/hex_digit.h"

namespace installer {

namespace {

using Kind = JournalRecord::Kind;

constexpr std::string_view kMagic = "INSTELLO JOURNAL 1";

std::string escape(std::string_view field) {
    std::string out;
    for (char c : field) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '%') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size()) {
            return std::nullopt;
        }
        const int high = ui::hexDigit(field[i + 1]);
        const int low = ui::hexDigit(field[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string hexBytes(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(c));
        out += hex;
    }
    return out;
}

std::optional<std::string> fromHex(std::string_view text) {
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = ui::hexDigit(text[i]);
        const int low = ui::hexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
    }
    return out;
}

std::uint32_t crcOf(std::string_view text) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

}  // namespace

std::string encodeLine(const std::vector<std::string>& fields) {
    std::string body;
    for (const auto& field : fields) {
        body += escape(field);
        body += '\t';
    }
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", crcOf(body));
    return body + crc + "\r\n";
}

std::optional<std::vector<std::string>> decodeLine(std::string_view text) {
    const auto lastTab = text.rfind('\t');
    if (lastTab == std::string_view::npos || text.size() - lastTab - 1 != 8) {
        return std::nullopt;
    }
    const std::string_view body = text.substr(0, lastTab + 1);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%08x", crcOf(body));
    if (text.substr(lastTab + 1) != expected) {
        return std::nullopt;
    }
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < body.size()) {
        const auto tab = body.find('\t', start);
        auto field = unescape(body.substr(start, tab - start));
        if (!field) {
            return std::nullopt;
        }
        out.push_back(std::move(*field));
        start = tab + 1;
    }
    return out;
}

std::string encodeRegValue(const std::optional<system::RegValue>& value) {
    if (!value) {
        return "-";
    }
    char type[16];
    std::snprintf(type, sizeof type, "%x:", value->type);
    return type + hexBytes(value->data);
}

std::optional<std::optional<system::RegValue>> decodeRegValue(std::string_view text) {
    if (text == "-") {
        return std::optional<system::RegValue>();
    }
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 8) {
        return std::nullopt;
    }
    std::uint32_t type = 0;
    for (char c : text.substr(0, colon)) {
        const int d = ui::hexDigit(c);
        if (d < 0) {
            return std::nullopt;
        }
        type = type * 16 + static_cast<std::uint32_t>(d);
    }
    auto data = fromHex(text.substr(colon + 1));
    if (!data) {
        return std::nullopt;
    }
    return std::optional<system::RegValue>(system::RegValue{type, std::move(*data)});
}

namespace {

std::optional<JournalRecord> decodeRecord(const std::vector<std::string>& f) {
    if (f.empty() || f[0].size() != 1) {
        return std::nullopt;
    }
    JournalRecord r;
    r.kind = static_cast<Kind>(f[0][0]);
    switch (r.kind) {
        case Kind::Folder:
        case Kind::NewFile:
        case Kind::FolderRemoved:
            if (f.size() != 2) {
                return std::nullopt;
            }
            r.path = f[1];
            return r;
        case Kind::MovedAside:
        case Kind::CopyBegun:
        case Kind::CopyDone:
            if (f.size() != 3) {
                return std::nullopt;
            }
            r.path = f[1];
            r.backup = f[2];
            return r;
        case Kind::RegistryKey:
        case Kind::RegistryKeyRemoved:
        case Kind::RegistryValue:
            if (!decodeKeyFields(f, r.kind == Kind::RegistryValue, r)) {
                return std::nullopt;
            }
            return r;
        case Kind::Commit:
        case Kind::Removal:
            if (f.size() != 1) {
                return std::nullopt;
            }
            return r;
    }
    return std::nullopt;
}

// Puts a file moved or copied aside back in its place; nothing when the backup is gone
// (already put back, or never made).
bool restore(system::System& sys, const std::string& path, const std::string& backup) {
    if (!sys.fileExists(backup)) {
        return true;
    }
    if (sys.fileExists(path) && !sys.deleteFile(path)) {
        return false;
    }
    return sys.moveFile(backup, path);
}

bool undoOne(system::System& sys, const JournalRecord& r) {
    switch (r.kind) {
        case Kind::NewFile:
            return !sys.fileExists(r.path) || sys.deleteFile(r.path);
        case Kind::MovedAside:
        case Kind::CopyDone:
            return restore(sys, r.path, r.backup);
        case Kind::CopyBegun:
            // A copy that never completed (a complete one was put back by its C record).
            return !sys.fileExists(r.backup) || sys.deleteFile(r.backup);
        case Kind::RegistryValue:
            return r.oldValue ? sys.regSetValue(r.root, r.path, r.valueName, *r.oldValue)
                              : sys.regDeleteValue(r.root, r.path, r.valueName);
        case Kind::RegistryKey:
            return sys.regDeleteKey(r.root, r.path);
        case Kind::RegistryKeyRemoved:
            return sys.regCreateKey(r.root, r.path);
        case Kind::Folder:
        case Kind::FolderRemoved:  // removed only once the journal is complete
        case Kind::Removal:
        case Kind::Commit:
            return true;
    }
    return true;
}

}  // namespace

JournalRecord JournalRecord::onFile(Kind kind, std::string path, std::string backup) {
    JournalRecord r;
    r.kind = kind;
    r.path = std::move(path);
    r.backup = std::move(backup);
    return r;
}

JournalRecord JournalRecord::onKey(Kind kind, system::RegRoot root, std::string key) {
    JournalRecord r;
    r.kind = kind;
    r.root = root;
    r.path = std::move(key);
    return r;
}

bool JournalRecord::guardsExistingData() const {
    switch (kind) {
        case Kind::MovedAside:
        case Kind::CopyDone:
        case Kind::Commit:
        // The key was there: its values' records, already on the disk, need it back.
        case Kind::RegistryKeyRemoved:
            return true;
        case Kind::RegistryValue:
            return oldValue.has_value();
        default:
            return false;
    }
}

std::string encodeJournalHeader(std::string_view productName) {
    return encodeLine({std::string(kMagic), std::string(productName)});
}

std::string encodeJournalRecord(const JournalRecord& r) {
    const std::string kind(1, static_cast<char>(r.kind));
    switch (r.kind) {
        case Kind::Folder:
        case Kind::NewFile:
        case Kind::FolderRemoved:
            return encodeLine({kind, r.path});
        case Kind::MovedAside:
        case Kind::CopyBegun:
        case Kind::CopyDone:
            return encodeLine({kind, r.path, r.backup});
        case Kind::RegistryKey:
        case Kind::RegistryKeyRemoved:
        case Kind::RegistryValue:
            return encodeKeyLine(kind, r, r.kind == Kind::RegistryValue);
        case Kind::Commit:
        case Kind::Removal:
            return encodeLine({kind});
    }
    return {};
}

std::optional<JournalContents> parseJournal(std::string_view bytes) {
    JournalContents contents;
    bool header = true;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            break;  // the last line of a write that never completed
        }
        std::string_view text = bytes.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        const auto f = decodeLine(text);
        if (header) {
            if (!f || f->size() != 2 || (*f)[0] != kMagic) {
                return std::nullopt;
            }
            contents.productName = (*f)[1];
            header = false;
            continue;
        }
        if (!f) {
            continue;  // damaged: the other records are still worth undoing
        }
        if (auto record = decodeRecord(*f)) {
            contents.committed = contents.committed || record->kind == Kind::Commit;
            contents.removal = contents.removal || record->kind == Kind::Removal;
            contents.records.push_back(std::move(*record));
        }
    }
    if (header) {
        return std::nullopt;
    }
    return contents;
}

bool undoRecords(system::System& sys, const std::vector<JournalRecord>& records,
                 std::string_view windowsDirectory, const UndoStepHook& hook) {
    bool complete = true;
    std::size_t step = 0;
    std::vector<std::string> folders;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->kind == Kind::Folder) {
            folders.push_back(withBackslash(it->path));
            continue;
        }
        if (hook) {
            hook(++step);
        }
        complete = undoOne(sys, *it) && complete;
    }
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    const std::string windows = withBackslash(windowsDirectory);
    for (const auto& folder : folders) {
        if (iequals(folder, windows) || !sys.folderExists(folder)) {
            continue;
        }
        if (hook) {
            hook(++step);
        }
        sys.removeFolder(folder);  // one that holds something else stays
    }
    return complete;
}

namespace {

bool namesBackup(const JournalRecord& r) {
    return r.kind == Kind::MovedAside || r.kind == Kind::CopyBegun;
}

// The D folders, longest first (a folder before its parent).
std::vector<std::string> foldersToRemove(const std::vector<JournalRecord>& records) {
    std::vector<std::string> folders;
    for (const auto& r : records) {
        if (r.kind == Kind::FolderRemoved) {
            folders.push_back(withBackslash(r.path));
        }
    }
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    return folders;
}

}  // namespace

bool finishCommit(system::System& sys, const std::vector<JournalRecord>& records,
                  std::string_view windowsDirectory) {
    bool complete = true;
    for (const auto& r : records) {
        if (namesBackup(r) && sys.fileExists(r.backup) && !sys.deleteFile(r.backup)) {
            complete = false;
        }
    }
    const std::string windows = withBackslash(windowsDirectory);
    for (const auto& folder : foldersToRemove(records)) {
        if (!iequals(folder, windows) && sys.folderExists(folder)) {
            sys.removeFolder(folder);  // one that holds something else stays
        }
    }
    return complete;
}

std::vector<std::string> leftoversOf(system::System& sys,
                                     const std::vector<JournalRecord>& records) {
    std::vector<std::string> left;
    for (const auto& r : records) {
        if (namesBackup(r) && sys.fileExists(r.backup)) {
            left.push_back(r.backup);
        }
    }
    for (const auto& folder : foldersToRemove(records)) {
        if (sys.folderExists(folder)) {
            left.push_back(folder);
        }
    }
    return left;
}

}  // namespace installer
