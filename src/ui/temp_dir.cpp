#include "ui/temp_dir.h"

#include <system_error>

namespace ui {

PrivateTempDir::~PrivateTempDir() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

}  // namespace ui
