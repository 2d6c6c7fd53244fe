#pragma once

// KORVO.INI, the TeX system's own settings file (install path + "BIN\KORVO.INI"), as the
// component programs fill it in: its first content (folder variables, font sets, formats and
// the format include list), and the rules that its [FontSet] and [FINCLUDE] sections follow
// when values are set or appended. Every value a component program gives has each "!"
// replaced by the root folder first.
//
// [Format] and [FINCLUDE] close with two bookkeeping keys: "Count" (the number of pairs) and
// "Size" (for each pair key length + value length + 2, summed, + length of "Count" + length
// of the count text + 22), which the TeX system uses to size its buffer when it reads them.
//
// Raises CError 11 for an empty path, 3 when the file cannot be read and 4 when it cannot be
// written (naming the file).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "installer/profile.h"
#include "installer/settings_file.h"

namespace installer::tex {

using IncludeList = std::vector<std::pair<std::string, std::string>>;

class KorvoIni : public SettingsFile {
public:
    // `root` is the install path; the file is root + "BIN\KORVO.INI".
    KorvoIni(system::System& sys, std::string root);
    // For a file elsewhere (an empty `path` raises CError 11 at the first use).
    KorvoIni(system::System& sys, std::string path, std::string root);

    // Writes the first content; does nothing when the file already exists.
    void create() override;
    // [FontSet]: adds k = v only when k has no value yet (Count grows by one when the key was
    // new). [FINCLUDE]: replaces or adds the pair in the include list. Otherwise a plain set.
    void set(std::string_view section, std::string_view key, std::string_view value) override;
    // [FINCLUDE]: adds the folder v to the pair's value unless it is there already (before its
    // last "*" when it has one). Otherwise the plain ";"-joined append.
    void append(std::string_view section, std::string_view key, std::string_view value) override;
};

// The "Size" of a section holding `pairs` and a "Count" of pairs.size().
int sectionSize(const IncludeList& pairs);

// The include list of a profile: empty when [FINCLUDE] has no "Size"; otherwise read with a
// buffer of that many bytes, doubled while the section fills it, up to the first line
// without "=" or with the key "Count" or "Size".
IncludeList loadIncludeList(const Profile& profile);
// Writes the list back: "Count" and "Size" removed, every pair, then "Count" and "Size".
void writeIncludeList(Profile& profile, const IncludeList& list);

}  // namespace installer::tex
