// INSTALL.CFG: any bytes either make a component list or raise code 5; the list's operations
// never fail on what the reader made.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "installer/cerror.h"
#include "installer/component_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        installer::ComponentList list = installer::parseComponentList(text, 1031);
        for (std::uint32_t cluster = 512; cluster <= 65536; cluster *= 2) {
            (void)installer::totalSizeKb(list, cluster);
        }
        for (auto& item : list) {
            const int state = item->state();
            if (state < -1 || state > 2) {
                std::abort();
            }
            auto copy = item->clone();
            copy->setState(1);
            if (copy->state() != 1 && copy->state() != -1) {
                std::abort();
            }
            item->reset();
        }
        (void)installer::allComponents(list);
    } catch (const installer::CError& e) {
        if (e.code() != installer::CError::kCorrupted) {
            std::abort();
        }
    }
    return 0;
}
