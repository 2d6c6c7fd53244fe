#pragma once

// The name proposed for a new document in the working directory: "esercizio" followed by three
// digits and ".mtf", one more than the greatest such name already there.

#include <filesystem>
#include <span>
#include <string>

namespace editor {

// The next exercise name after the names in `fileNames` (file names without directory; names
// that do not match "esercizio*.mtf" are ignored). Matching and ordering are byte-wise and
// case-sensitive. Examples: none -> esercizio000.mtf; esercizio041.mtf -> esercizio042.mtf;
// esercizio999.mtf -> esercizio000.mtf.
std::string nextExerciseName(std::span<const std::string> fileNames);

// The same over the entries of `directory`; a directory that cannot be listed counts as empty.
std::string nextExerciseName(const std::filesystem::path& directory);

}  // namespace editor
