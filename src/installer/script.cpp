#include "installer/script.h"

namespace installer {

ScriptFlags readFlags(const Profile& script) {
    ScriptFlags flags;
    flags.license = script.getInt("StartUp", "License", 0);
    flags.delete_prev = script.getInt("StartUp", "DeletePrev", 0);
    flags.reader3 = script.getInt("StartUp", "Reader3", -1);
    flags.reader4 = script.getInt("StartUp", "Reader4", -1);
    flags.copy_installer = script.getInt("Finish", "CopyInstaller", 0);
    flags.create_formats = script.getInt("Finish", "CreateFormats", 0);
    flags.restart = script.getInt("Finish", "Restart", 0);
    flags.run_msg = script.getInt("Finish", "RunMsg", 0);
    return flags;
}

}  // namespace installer
