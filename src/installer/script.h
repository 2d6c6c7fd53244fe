#pragma once

// The install script INSTELLO.INI: the product and the optional steps.

#include <cstdint>
#include <string>

#include "installer/profile.h"

namespace installer {

struct ScriptFlags {
    std::int32_t license = 0;         // [StartUp] License: not 0 = show the licence first
    std::int32_t copy_installer = 0;  // [Finish] CopyInstaller: 1 = copy into BIN at the end
    std::int32_t create_formats = 0;  // [Finish] CreateFormats: 1 = build the TeX formats
    std::int32_t delete_prev = 0;     // [StartUp] DeletePrev: not 0 = remove previous version
    std::int32_t restart = 0;         // [Finish] Restart: not 0 = ask to restart Windows
    std::int32_t run_msg = 0;         // [Finish] RunMsg: not 0 = say that programs will run
    std::int32_t reader3 = -1;        // [StartUp] Reader3: -1 no interest, 0 optional, 1 needed
    std::int32_t reader4 = -1;        // [StartUp] Reader4: the same for version 4

    bool licenseOn() const { return license != 0; }
    bool copyInstallerOn() const { return copy_installer == 1; }
    bool createFormatsOn() const { return create_formats == 1; }
    bool deletePrevOn() const { return delete_prev != 0; }
    bool restartOn() const { return restart != 0; }
    bool runMsgOn() const { return run_msg != 0; }
    bool readerWanted() const { return reader3 != -1 || reader4 != -1; }
};

ScriptFlags readFlags(const Profile& script);

}  // namespace installer
