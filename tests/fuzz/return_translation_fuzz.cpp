// The return translation on arbitrary bytes: the first line (up to a NUL byte) is read as a
// filter file when the input holds a NUL, so the rules are fuzzed too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "notation/filter_table.h"
#include "notation/formula_error_report.h"
#include "notation/return_translation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    notation::FilterTable table;
    const std::size_t split = text.find('\0');
    if (split != std::string_view::npos) {
        notation::readFilterText(text.substr(0, split), table);
        text.remove_prefix(split + 1);
    }
    notation::FormulaErrorReport report;
    (void)notation::returnTranslation(text, table, report);
    if (report.raised()) {
        __builtin_trap();  // the flag is lowered again after a refusal
    }
    return 0;
}
