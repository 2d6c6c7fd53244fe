#pragma once

// The sandbox's registry: a text file in the REGEDIT4 export format (code page 1252, CR LF).
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Quillon\Tattilo]
//   "InstallPath"="C:\\TATTILO\\"
//   "Count"=dword:00000010
//   "Data"=hex:01,02,03
//   "Flag"=hex(0):
//
// Keys and value names are compared without regard to case; keys are written in the order of
// their paths (without regard to case), values in the order they were first set. A key is
// present when it is listed or is the parent of a listed key.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer::system {

class RegistryFile {
public:
    RegistryFile() = default;
    // Parses REGEDIT4 text; lines it does not understand are dropped.
    explicit RegistryFile(std::string_view text);

    bool keyExists(RegRoot root, std::string_view key) const;
    // Lists the key (its parents exist through it).
    void createKey(RegRoot root, std::string_view key);
    // Removes a key that holds no values and no sub-keys; false when it holds anything.
    bool deleteKey(RegRoot root, std::string_view key);
    // The names of the key's sub-keys (listed ones and the parents of listed ones), once each.
    std::vector<std::string> subKeys(RegRoot root, std::string_view key) const;
    std::optional<RegValue> value(RegRoot root, std::string_view key, std::string_view name) const;
    // The key must exist.
    void setValue(RegRoot root, std::string_view key, std::string_view name, const RegValue& value);
    void deleteValue(RegRoot root, std::string_view key, std::string_view name);

    std::string text() const;

private:
    struct Value {
        std::string name;  // empty: the default value "@"
        RegValue value;
    };
    struct Key {
        std::string path;  // full path with the root name
        std::vector<Value> values;
    };
    Key* findKey(std::string_view fullPath);
    const Key* findKey(std::string_view fullPath) const;
    static std::string fullPath(RegRoot root, std::string_view key);

    std::vector<Key> keys_;
};

}  // namespace installer::system
