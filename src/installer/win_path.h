#pragma once

// Windows paths as the installer composes them: CP1252 bytes, backslash separators, a drive
// letter and a colon in front. Comparisons ignore case the way the file system does (ASCII and
// the accented letters of code page 1252).

#include <string>
#include <string_view>
#include <vector>

namespace installer {

// The byte in upper case (ASCII letters and the CP1252 letters 0xE0..0xFE except 0xF7).
char upperChar(char c);
std::string upper(std::string_view text);
std::string lower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view text, std::string_view prefix);
bool iendsWith(std::string_view text, std::string_view suffix);

// The text without leading and trailing blanks, tabs, CR and LF.
std::string_view trim(std::string_view text);

// `path` with one trailing backslash (an empty path stays empty).
std::string withBackslash(std::string_view path);

// The folder part of `path`: everything up to and including its last backslash or slash;
// empty when there is none.
std::string folderPart(std::string_view path);

// The last element of `path` (after the last backslash, slash or drive colon).
std::string fileNamePart(std::string_view path);

// Whether `name` is a device name of Windows (CON, PRN, AUX, NUL, COM1..9, LPT1..9), with or
// without an extension.
bool isDeviceName(std::string_view name);

// Whether `relative` names a place strictly inside the folder it is appended to: not empty, no
// drive letter or colon, not rooted, no "." or ".." element, no empty element, no element that
// ends in a dot or blank (Windows would strip it), no device name and no character that a
// Windows file name cannot hold. Both "\" and "/" count as separators. Data from packages and
// component programs goes through this before it becomes part of a path we write to.
bool isSafeRelativePath(std::string_view relative);

// The elements of a path split at backslashes and slashes, empty elements dropped.
std::vector<std::string> splitPath(std::string_view path);

// A path that starts with a drive ("C:\" or "C:/") in its canonical form: backslashes only,
// one between elements, the "." elements dropped and each ".." taking away the element before
// it, never climbing above the drive's root ("C:\a\..\..\b" is "C:\b"); no trailing
// backslash except for the root itself. Any other text comes back unchanged.
std::string canonicalPath(std::string_view path);

// C's strtol rule for a decimal integer: leading blanks, an optional sign, digits up to the
// first non-digit; no digit gives 0. Saturates at the limits of int32.
int parseDecimal(std::string_view text);

}  // namespace installer
