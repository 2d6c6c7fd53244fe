#pragma once

// Finding Adobe Acrobat Reader 3 and 4 through the registry: the program from the class key
// of the reader's automation server, the browser plug-in beside it and the font folder that
// the PostScript alias step uses. Each version is searched once, on first use, and the result
// is kept for the rest of the run.

#include <memory>
#include <optional>
#include <string>

#include "installer/prompter.h"
#include "installer/system/system.h"

namespace installer {

constexpr std::size_t kReaderPathSize = 260;

struct ReaderInfo {
    int version = 3;
    std::string programPath;   // ...\AcroRd32.exe
    std::string plugInPath;    // reader folder + "Browser\Nppdf32.dll"
    std::string readerFolder;  // ends in a backslash
    std::string fontFolder;    // ends in a backslash
};

// The outcome of one search.
struct ReaderStatus {
    enum Code {
        kFound = 1,
        kNoClassKey = -1,     // "Can not find AcroRd32.exe."
        kNoProgramPath = -2,  // "Can not find nppdf32.dll"
        kNoProgram = -3,      // "Can not find AcroRd32.exe."
        kNoPlugIn = -4,       // "Can not find nppdf32.dll"
        kTooLong = -5,        // "Memory allocation error."
    };
    int code = kFound;
    ReaderInfo info;
    bool found() const { return code == kFound; }
};

// One version of the reader, as its registry entries describe it.
class CAcrobatReader {
public:
    explicit CAcrobatReader(system::System& sys) : sys_(sys) {}
    virtual ~CAcrobatReader() = default;

    virtual int version() const = 0;
    // The default value of the reader's class key (HKEY_CLASSES_ROOT); nullopt when it cannot
    // be read.
    virtual std::optional<std::string> programPath();
    virtual std::string classKeyPath() const = 0;
    // The plug-in, relative to the reader folder without its trailing backslash.
    virtual std::string plugInPath() const { return "\\Browser\\Nppdf32.dll"; }
    // The font folder for a reader folder without its trailing backslash.
    virtual std::string fontFolder(const std::string& readerFolder) const = 0;

protected:
    // The default value of HKEY_CLASSES_ROOT `key`.
    std::optional<std::string> defaultValue(const std::string& key);

    system::System& sys_;
};

class CAcrobatReader3 : public CAcrobatReader {
public:
    using CAcrobatReader::CAcrobatReader;
    int version() const override { return 3; }
    std::string classKeyPath() const override;
    std::string fontFolder(const std::string& readerFolder) const override;
};

class CAcrobatReader4 : public CAcrobatReader {
public:
    using CAcrobatReader::CAcrobatReader;
    int version() const override { return 4; }
    // "LocalServer", or "LocalServer32" when that is missing.
    std::optional<std::string> programPath() override;
    std::string classKeyPath() const override;
    std::string fontFolder(const std::string& readerFolder) const override;
};

// Searches one version: for 3 or 4 it makes that reader, validates it and fills the status;
// for any other number it yields nothing.
class CReaderSearch {
public:
    CReaderSearch(system::System& sys, int version);
    const std::optional<ReaderStatus>& result() const { return result_; }

private:
    std::optional<ReaderStatus> result_;
};

// The two versions, each searched on first use and kept.
class PdfReaders {
public:
    // Version 3 or 4 (searched on `sys` the first time).
    const ReaderStatus& status(system::System& sys, int version);
    // The reader's information when it was searched and found.
    std::optional<ReaderInfo> found(int version) const;

private:
    std::optional<ReaderStatus> status3_;
    std::optional<ReaderStatus> status4_;
};

// The reason text of a status code; empty for a code that has none.
std::string_view readerReason(int code);

// The check at start-up, for Reader3 = r3 and Reader4 = r4 of the script (-1 not wanted, 0
// optional, 1 required): reports every wanted version that was not found, then ends (false)
// when one is required, or asks whether to proceed. True at once when what was found is
// enough. Messages carry the caption `caption`; `appName` names the product in them.
bool checkReaders(system::System& sys, PdfReaders& readers, int r3, int r4, Prompter& prompter,
                  const std::string& appName, const std::string& caption);

}  // namespace installer
