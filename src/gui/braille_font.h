#pragma once

#include <QStringList>
#include <filesystem>

namespace gui {

// Makes the program's own fonts (the TrueType files in the "fonts" folder beside the program,
// the Braille font among them) available to its windows. Returns the font families loaded.
QStringList loadProgramFonts(const std::filesystem::path& programDirectory);

}  // namespace gui
