#pragma once

// The record of what an installation made, kept in the product's folder as BIN\INSTALL.LOG so
// that the product can be removed later: exactly what it made, and nothing that was there
// before it or that the user made since.
//
// A text file in the journal's line format (code page 1252, fields separated by tabs, each
// line ending in its CRC-32, see journal.h). The header is
//   INSTELLO INSTALLED 1<TAB>AppName<TAB>Version<TAB>install path<TAB>crc
// and the entries follow:
//   F folder             a folder the installation created
//   I file size crc      a file it installed, its size and CRC-32 (hexadecimal) as it left it
//   S file size crc      a file it installed below the Windows folder, shared with other
//                        products: counted in the SharedDLLs key, removed with the last user
//   G file               a file that a program of the installation makes (a TeX format)
//   K root key           a registry key it created
//   V root key name old  a registry value it set; old is the value it had before the product
//                        was installed ("-": none)
//   T name file          a font it registered in the system fonts key (value name, file)
//   E root key           the product's entry in the list of programs (removed last)
//
// A reinstallation over an installation with a record keeps what the first one made as the
// product's own (its files, keys and values and their values before the product came).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "installer/journal/journal.h"
#include "installer/system/system.h"

namespace installer {

struct RecordEntry {
    enum class Kind : char {
        Folder = 'F',
        File = 'I',
        SharedFile = 'S',
        Generated = 'G',
        Key = 'K',
        Value = 'V',
        Font = 'T',
        UninstallEntry = 'E',
    };
    Kind kind = Kind::File;
    std::string path;  // the file or folder; the key of K, V and E; the value name of T
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    system::RegRoot root = system::RegRoot::LocalMachine;
    std::string valueName;                     // V
    std::optional<system::RegValue> oldValue;  // V
    std::string fontFile;                      // T
};

struct InstallRecord {
    std::string productName;
    std::string version;
    std::string installPath;  // ends in a backslash
    std::vector<RecordEntry> entries;
};

// Install path + "BIN\INSTALL.LOG".
std::string installRecordPath(std::string_view installPath);

std::string encodeInstallRecord(const InstallRecord& record);
// Nullopt when the header is missing or any line is damaged: a record that cannot be trusted
// whole is not used.
std::optional<InstallRecord> parseInstallRecord(std::string_view bytes);

// The record at `path`; nullopt when it is missing or damaged.
std::optional<InstallRecord> readInstallRecord(system::System& sys, std::string_view path);

// The number a REG_DWORD value holds; nullopt for none or another type.
std::optional<std::uint32_t> dwordOf(const std::optional<system::RegValue>& value);

// What a file holds, to tell whether it changed since it was installed.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    bool operator==(const Fingerprint&) const = default;
};
// Nullopt when the file cannot be read.
std::optional<Fingerprint> fingerprintOf(system::System& sys, std::string_view path);

// The files an installation leaves as the product's own: those it created, those it replaced
// that an earlier installation of the product (`previous`) had made, and those it wrote below
// the Windows folder (shared, counted); in the order first made, without the ones gone since.
// `exclude` (the record itself) is left out.
struct InstalledFile {
    std::string path;
    bool shared = false;  // below the Windows folder
};
std::vector<InstalledFile> installedFiles(system::System& sys,
                                          const std::vector<JournalRecord>& changes,
                                          const InstallRecord* previous,
                                          std::string_view windowsDirectory,
                                          std::string_view exclude);

// The record of an installation from its journal (`changes`, everything it did, the entry in
// the list of programs included) and the record of an earlier one (`previous`, or null).
// `fingerprints` holds those of the installed files, by upper-case path; `generated` the files
// its programs make; `sharedKey` the SharedDLLs key, whose values for the shared files the S
// entries stand for; `fontsKey` the system fonts key; `entryKey` the product's entry in the
// list of programs (empty: none).
struct RecordSources {
    const std::vector<JournalRecord>* changes = nullptr;
    const InstallRecord* previous = nullptr;
    std::vector<InstalledFile> files;
    std::unordered_map<std::string, Fingerprint> fingerprints;
    std::vector<std::string> generated;
    std::string sharedKey;
    std::string fontsKey;
    std::string entryKey;
    // Keys that were there already, made by another product of the vendor that still has them
    // in its record: this one's too, so that the last of them to go takes them.
    std::vector<std::pair<system::RegRoot, std::string>> sharedKeys;
};
InstallRecord buildInstallRecord(system::System& sys, InstallRecord head,
                                 const RecordSources& sources);

}  // namespace installer
