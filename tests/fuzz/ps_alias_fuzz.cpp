// ALIASING.PST: any text is read into folder definitions and aliases; writing what was read and
// reading it again gives the same file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/tex/ps_alias.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string once =
        installer::tex::psAliasFileText(installer::tex::parsePsAliasFile(text));
    const std::string twice =
        installer::tex::psAliasFileText(installer::tex::parsePsAliasFile(once));
    if (once != twice) {
        std::abort();
    }
    return 0;
}
