// Any page of cells converts, in bounded time, to MathML that stays well-formed.
#include "notation/mathml_export.h"
#include "notation/mathml_page.h"

#include "../notation/mathml_xml_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::string xml;
    for (const std::string& line : notation::convertPage(page)) {
        xml += line;
        xml += "\r\n";
    }
    static const std::set<std::string> entities =
        mathml_check::declaredEntities(notation::mathmlPrologue());
    const std::string fault = mathml_check::checkContent(xml, entities);
    if (!fault.empty()) {
        std::fprintf(stderr, "malformed MathML: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
