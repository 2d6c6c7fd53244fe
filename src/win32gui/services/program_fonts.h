#pragma once

// The program's own TrueType fonts (the "fonts" folder beside it, the Braille font among them)
// for its windows: each one that the Windows fonts folder does not hold is loaded for this
// program alone (AddFontResourceExW with FR_PRIVATE), so the Braille editor shows dots whether
// or not the installer registered the font.

#include <filesystem>
#include <vector>

namespace win32gui {

// The Windows fonts folder (the Windows directory + "\fonts").
std::filesystem::path windowsFontsFolder();

// Loads the fonts of `programDirectory`/fonts missing from `installedFolder`; returns the files
// loaded.
std::vector<std::filesystem::path> loadProgramFonts(const std::filesystem::path& programDirectory,
                                                    const std::filesystem::path& installedFolder);

// Whether GDI knows a font family of that name now.
bool fontFamilyAvailable(const std::wstring& family);

}  // namespace win32gui
