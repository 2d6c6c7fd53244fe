// t1fntnf.bck: any bytes either give alias lines or raise code 5 naming the file; the lines
// read, written again and read back are the same lines.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/cerror.h"
#include "installer/tex/ps_alias.h"

namespace {

bool same(const std::vector<installer::AliasLine>& a, const std::vector<installer::AliasLine>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].line != b[i].line || a[i].replace != b[i].replace) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    installer::tex::AliasLists lists;
    try {
        installer::tex::readPendingLines(bytes, "t1fntnf.bck", lists);
    } catch (const installer::CError& e) {
        if (e.code() != installer::CError::kCorrupted || e.file() != "t1fntnf.bck") {
            std::abort();
        }
        return 0;
    }
    installer::tex::AliasLists again;
    installer::tex::readPendingLines(installer::tex::pendingLinesFile(lists), "t1fntnf.bck", again);
    if (!same(lists.tex, again.tex) || !same(lists.readers, again.readers) ||
        !same(lists.reader3, again.reader3) || !same(lists.reader4, again.reader4)) {
        std::abort();
    }
    return 0;
}
