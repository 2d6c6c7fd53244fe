#pragma once

// The platform's part of a safe save (posix/, win32/).

#include <filesystem>

namespace editor {

// Makes the written bytes of `file` durable before it takes the old file's place: without it a
// power cut soon after a save can leave an empty file where the previous document was. 0, or
// the error number.
int syncToDisk(const std::filesystem::path& file);

}  // namespace editor
