#pragma once

// The PostScript alias file SRC\ALIASING.PST and the Type 1 alias lines that component
// programs queue for it (operations 230 and 231), with the lines that cannot be placed yet
// kept in BIN\t1fntnf.bck for a later run.
//
// ALIASING.PST holds folder definitions ("%" number " = " path) and aliases ("@" name " = "
// value); other lines are not kept. An alias line is placed when its font file exists as
// PFB folder + file + ".pfb"; the numbers of its PFB and PFM folders are put right after its
// percent sign. Lines are read whole, however long.
//
// t1fntnf.bck (integers 32-bit little-endian): for each non-empty list, in the order TeX
// system, both readers, reader 3, reader 4: the list code (1, 3, 4, 5), the number of lines,
// then per line its length, its bytes and one byte: 1 add or replace, 0 add only when absent.
//
// Errors are CError naming the file: 2 a file that exists but cannot be opened, 3 a read
// error, 4 a write error, 5 a damaged t1fntnf.bck.

#include <string>
#include <string_view>
#include <vector>

#include "installer/integration/deferred_actions.h"
#include "installer/system/system.h"

namespace installer {
class InstallJob;
}

namespace installer::tex {

struct FolderDefinition {
    int number = 0;
    std::string path;
};

struct Alias {
    std::string name;
    std::string value;
};

struct PsAliasFile {
    std::vector<FolderDefinition> folders;
    std::vector<Alias> aliases;
};

PsAliasFile parsePsAliasFile(std::string_view text);
// Folder definitions, a blank line pair, then the aliases; lines end in CR LF.
std::string psAliasFileText(const PsAliasFile& file);

// The four lists of alias lines, in the order of their codes 1, 3, 4, 5.
struct AliasLists {
    std::vector<AliasLine> tex;      // code 1
    std::vector<AliasLine> readers;  // code 3: both PDF readers
    std::vector<AliasLine> reader3;  // code 4
    std::vector<AliasLine> reader4;  // code 5
    bool empty() const;
};

// Appends the records of a t1fntnf.bck file to `lists`; CError 5 naming `path` when a
// record does not fit the file or names no list.
void readPendingLines(std::string_view bytes, const std::string& path, AliasLists& lists);
std::string pendingLinesFile(const AliasLists& lists);

// The font file an alias line names: the text after `b="` up to the next quote when the line
// has one, else the text after "=" up to "%", trimmed.
std::string aliasFontFile(std::string_view line);

// Places each line into `file`; returns whether each one was placed (or left alone because
// its alias exists and it only adds).
std::vector<bool> mergeAliasLines(system::System& sys, PsAliasFile& file,
                                  const std::vector<AliasLine>& lines, const std::string& pfbFolder,
                                  const std::string& pfmFolder);

// The font folders of the PDF readers that were wanted and found (empty: not merged).
struct ReaderFontFolders {
    std::string reader3;
    std::string reader4;
};

// The finishing step: ALIASING.PST backed up (or journalled as new), read, merged with the
// queued and the pending lines, written; the lines still pending go to t1fntnf.bck. With no
// line queued or pending and no ALIASING.PST, nothing is written.
void updatePsAliasFile(InstallJob& job, const ReaderFontFolders& readers);

}  // namespace installer::tex
