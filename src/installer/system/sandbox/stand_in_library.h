#pragma once

// The code of a library in the sandbox machine. Windows libraries cannot be loaded here, so a
// library the installer loads by name is played by a stand-in: real code, registered with the
// sandbox under the library's file name, offering its entry points by name with their
// signatures. A stand-in is found only where the library's file exists in the machine.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "installer/system/system.h"

namespace installer::system {

class StandInLibrary : public Library {
public:
    // Offers `function` as the entry point `name` (names are compared exactly, as Windows
    // does).
    template <typename Signature>
    void add(std::string name, std::function<Signature> function) {
        entries_[std::move(name)] = std::any(std::move(function));
    }

protected:
    std::any lookUp(std::string_view name) override;

private:
    std::map<std::string, std::any, std::less<>> entries_;
};

// Makes the stand-in of one library when the installer loads it. `sys` is the machine the
// library works on (the sandbox, or the wrapper around it that the sandbox was given);
// `path` is the Windows path of the library file that was found.
using StandInFactory =
    std::function<std::unique_ptr<Library>(System& sys, const std::string& path)>;

}  // namespace installer::system
