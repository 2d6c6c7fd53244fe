#pragma once

// The installation journal: one record for every change the installer makes to the machine,
// written before the change itself, so that an installation cut short by a crash or a power
// cut can be undone by the next run of the installer.
//
// On disk it is a text file of code page 1252 lines, each "KIND<TAB>field<TAB>...<TAB>crc",
// where crc is the CRC-32 of the line up to its last tab in eight hexadecimal digits, and
// bytes below 0x20, 0x7F and "%" in fields are written "%XX". The first line is the header
// "INSTELLO JOURNAL 1<TAB>AppName<TAB>crc". A line whose CRC does not match (the last line of
// a write that never completed) is left out when the journal is read.
//
//   F folder            a folder about to be created
//   N file              a file about to be created
//   M file backup       an existing file about to be renamed to backup (overwritten or removed)
//   P file backup       a copy of file about to be written to backup
//   C file backup       that copy is complete; the file may change from here on
//   K root key          a registry key about to be created
//   V root key name old a registry value about to be set or deleted; old is "-" when it did
//                       not exist, else its type and bytes in hexadecimal ("1:616200")
//   R root key          a registry key about to be deleted (it holds nothing by then)
//   U                   the journal is that of a removal (an uninstallation), not of an
//                       installation; its first record
//   D folder            a folder to remove, when it is empty, once the removal is complete
//   X                   the change is complete: the backups may go, the D folders too
//
// Undoing a record undoes its change if it happened and does nothing if it did not, so that
// undoing the whole journal again, after an undo that was itself cut short, is safe. Finishing
// a complete journal (after X) deletes the backups and removes the D folders that are empty;
// that too may be done again.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer {

struct JournalRecord {
    enum class Kind : char {
        Folder = 'F',
        NewFile = 'N',
        MovedAside = 'M',
        CopyBegun = 'P',
        CopyDone = 'C',
        RegistryKey = 'K',
        RegistryValue = 'V',
        RegistryKeyRemoved = 'R',
        Removal = 'U',
        FolderRemoved = 'D',
        Commit = 'X',
    };
    Kind kind = Kind::Commit;
    std::string path;    // file or folder; the key of registry records
    std::string backup;  // M, P, C
    system::RegRoot root = system::RegRoot::LocalMachine;
    std::string valueName;
    std::optional<system::RegValue> oldValue;  // V: none when the value did not exist

    // Whether the record guards something that existed before the installation, so that it
    // must reach the disk before its change does.
    bool guardsExistingData() const;

    // A record about a file or folder (F, N, M, P, C).
    static JournalRecord onFile(Kind kind, std::string path, std::string backup = {});
    // A record about a registry key (K, and V with its value name and old value).
    static JournalRecord onKey(Kind kind, system::RegRoot root, std::string key);
};

// One line of the journal's format: the fields escaped and joined by tabs, the CRC and CR LF
// appended. The record of an installation (uninstall/install_record.h) is written the same way.
std::string encodeLine(const std::vector<std::string>& fields);
// The fields of one line (without its line end) whose CRC matches; nullopt otherwise.
std::optional<std::vector<std::string>> decodeLine(std::string_view text);
// A registry value as one field ("-" for none; else type and bytes in hexadecimal, "1:616200").
std::string encodeRegValue(const std::optional<system::RegValue>& value);
// nullopt for a field that is not one; else the value (itself empty for "-").
std::optional<std::optional<system::RegValue>> decodeRegValue(std::string_view text);

// A line about a registry key, in the journal and in the record of an installation alike: the
// kind, the root and the key; for a value (`isValue`) its name and old value after them.
// `Record` has the members root, path (the key), valueName and oldValue.
template <class Record>
std::string encodeKeyLine(const std::string& kind, const Record& r, bool isValue) {
    std::vector<std::string> fields{kind, std::string(system::regRootName(r.root)), r.path};
    if (isValue) {
        fields.push_back(r.valueName);
        fields.push_back(encodeRegValue(r.oldValue));
    }
    return encodeLine(fields);
}
// The fields `f` of such a line into `r`; false when their number or one of them is wrong.
template <class Record>
bool decodeKeyFields(const std::vector<std::string>& f, bool isValue, Record& r) {
    const auto root = system::regRootFromName(f.size() > 1 ? f[1] : "");
    if (f.size() != (isValue ? 5u : 3u) || !root) {
        return false;
    }
    r.root = *root;
    r.path = f[2];
    if (isValue) {
        auto old = decodeRegValue(f[4]);
        if (!old) {
            return false;
        }
        r.valueName = f[3];
        r.oldValue = std::move(*old);
    }
    return true;
}

// The lines of a journal file.
std::string encodeJournalHeader(std::string_view productName);
std::string encodeJournalRecord(const JournalRecord& record);

struct JournalContents {
    std::string productName;
    std::vector<JournalRecord> records;
    bool committed = false;  // holds an X record
    bool removal = false;    // holds a U record: the journal of an uninstallation
};

// Parses the bytes of a journal file; nullopt when the header is missing or damaged.
std::optional<JournalContents> parseJournal(std::string_view bytes);

// Called before each step of an undo with the step's number, from 1.
using UndoStepHook = std::function<void(std::size_t)>;

// Undoes `records` in reverse order, the created folders last, longest first, never
// `windowsDirectory` (a folder that is not empty stays, and counts as done). Keeps going past
// failures; true when every step succeeded.
bool undoRecords(system::System& sys, const std::vector<JournalRecord>& records,
                 std::string_view windowsDirectory, const UndoStepHook& hook = {});

// The end of a commit: deletes every backup that `records` name and that still exists, then
// removes the D folders that are empty, longest first, never `windowsDirectory`. True when no
// backup is left (a folder that holds something else stays and counts as done).
bool finishCommit(system::System& sys, const std::vector<JournalRecord>& records,
                  std::string_view windowsDirectory);

// The backups that `records` name and that still exist, and the D folders that do.
std::vector<std::string> leftoversOf(system::System& sys,
                                     const std::vector<JournalRecord>& records);

}  // namespace installer
