#pragma once

// The code of the TeX system's two libraries in the sandbox machine, where Windows libraries
// cannot be loaded. They do their work through the system layer, in files a test can read:
//   HYPSET.DLL    ConfigureHyphenOnInstall writes root + "BIN\HYPHEN.CFG": the root and every
//                 hyphenation pattern file (*.pat) of root + "SRC\".
//   KORVOTTF.DLL  the AW* calls keep ALIASING.WIN as an INI file: one key per font in
//                 [TrueType], "NAME=file title,macStyle,QLNS flag".

#include <memory>
#include <string>
#include <vector>

#include "installer/profile.h"
#include "installer/system/system.h"
#include "installer/tex/tex_libraries.h"

namespace installer::system {
class SandboxSystem;
}

namespace installer::tex {

// Registers both stand-ins with the sandbox under HYPSET.DLL and KORVOTTF.DLL; they load
// where the library's file exists in the machine.
void registerTexStandIns(system::SandboxSystem& sandbox);

class HyphenationStandIn {
public:
    explicit HyphenationStandIn(system::System& sys) : sys_(sys) {}
    int configure(void* window, const char* root);

private:
    system::System& sys_;
};

class TrueTypeAliasStandIn {
public:
    explicit TrueTypeAliasStandIn(system::System& sys) : sys_(sys) {}
    // The entry points, bound to this object (which must outlive them).
    TrueTypeAliasCalls calls();

    void* open(const char* aliasFile);
    int getFontInfo(void* file, const char* name);
    int addFont(void* file, const char* name, const char* title, unsigned short macStyle,
                int hasQlns);
    int write(void* file);
    void close(void* file);

private:
    struct OpenFile {
        std::string path;
        Profile profile;
    };
    OpenFile* find(void* file);

    system::System& sys_;
    std::vector<std::unique_ptr<OpenFile>> files_;
};

}  // namespace installer::tex
