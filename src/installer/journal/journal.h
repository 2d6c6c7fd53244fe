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
//   V root key name old a registry value about to be set; old is "-" when it did not exist,
//                       else its type and bytes in hexadecimal ("1:616200")
//   X                   the installation is complete: the backups may go
//
// Undoing a record undoes its change if it happened and does nothing if it did not, so that
// undoing the whole journal again, after an undo that was itself cut short, is safe.

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

// The lines of a journal file.
std::string encodeJournalHeader(std::string_view productName);
std::string encodeJournalRecord(const JournalRecord& record);

struct JournalContents {
    std::string productName;
    std::vector<JournalRecord> records;
    bool committed = false;  // holds an X record
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

// Deletes every backup that `records` name and that still exists (the end of a commit).
void deleteBackups(system::System& sys, const std::vector<JournalRecord>& records);

}  // namespace installer
