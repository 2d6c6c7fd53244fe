// Files, folders and file times of the Windows system layer.

#include "installer/system/win32/win32_system.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "installer/system/host_io.h"
#include "installer/win_path.h"

namespace installer::system {

namespace {

constexpr std::size_t kMaxPath = 260;
constexpr std::int64_t kEpochSteps = 116444736000000000LL;  // 1601 to 1970 in 100 ns steps

DWORD attributes(std::string_view path) {
    const auto wide = widePath(path);
    return wide ? GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring wideText(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string narrowText(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                        nullptr, nullptr);
    return narrow;
}

std::optional<std::wstring> widePath(std::string_view path) {
    if (path.size() < 3 || path.size() >= kMaxPath || path[1] != ':' ||
        (path[2] != '\\' && path[2] != '/')) {
        return std::nullopt;
    }
    const char letter = upperChar(path[0]);
    if (letter < 'A' || letter > 'Z') {
        return std::nullopt;
    }
    for (const std::string& element : splitPath(path.substr(2))) {
        if (isDeviceName(element)) {
            return std::nullopt;
        }
    }
    std::wstring wide = wideText(path);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

bool Win32System::fileExists(std::string_view path) {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32System::folderExists(std::string_view path) {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::unique_ptr<ReadFile> Win32System::openRead(std::string_view path) {
    if (!fileExists(path)) {
        return nullptr;
    }
    return openHostRead(*widePath(path));
}

std::unique_ptr<WriteFile> Win32System::openWrite(std::string_view path) {
    const auto wide = widePath(path);
    if (!wide || folderExists(path)) {
        return nullptr;
    }
    return openHostWrite(*wide);
}

bool Win32System::deleteFile(std::string_view path) {
    return fileExists(path) && deleteHostFile(*widePath(path));
}

bool Win32System::moveFile(std::string_view from, std::string_view to) {
    const auto source = widePath(from);
    const auto target = widePath(to);
    // MoveFile refuses a target that exists.
    return source && target && fileExists(from) && MoveFileW(source->c_str(), target->c_str());
}

bool Win32System::replaceFile(std::string_view from, std::string_view to) {
    const auto source = widePath(from);
    const auto target = widePath(to);
    return source && target && fileExists(from) && !folderExists(to) &&
           replaceHostFile(*source, *target);
}

std::unique_ptr<WriteFile> Win32System::openLocked(std::string_view path, bool& busy) {
    busy = false;
    const auto wide = widePath(path);
    if (!wide || folderExists(path)) {
        return nullptr;
    }
    return openHostLocked(*wide, busy);
}

bool Win32System::createFolder(std::string_view path) {
    const auto wide = widePath(path);
    return wide && createHostFolder(*wide);
}

bool Win32System::removeFolder(std::string_view path) {
    const auto wide = widePath(path);
    if (!wide || splitPath(path.substr(2)).empty()) {
        return false;  // never a drive's root
    }
    return removeHostFolder(*wide);
}

bool Win32System::fileInUse(std::string_view path) {
    return fileExists(path) && hostFileInUse(*widePath(path));
}

std::optional<std::vector<std::string>> Win32System::listFolder(std::string_view path) {
    if (!folderExists(path)) {
        return std::nullopt;
    }
    const std::wstring pattern = *widePath(withBackslash(path)) + L"*";
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    std::vector<std::string> names;
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return names;
        }
        return std::nullopt;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(narrowText(name));
        }
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    if (!complete) {
        return std::nullopt;
    }
    return names;
}

std::optional<FileTime> Win32System::fileTime(std::string_view path) {
    const auto wide = widePath(path);
    return wide ? hostFileTime(*wide) : std::nullopt;
}

bool Win32System::setFileTime(std::string_view path, FileTime time) {
    const auto wide = widePath(path);
    return wide && setHostFileTime(*wide, time);
}

std::optional<FileTime> Win32System::fromLocalTime(const LocalTime& time) {
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 ||
        time.day < 1 || time.day > 31 || time.hour < 0 || time.hour > 23 || time.minute < 0 ||
        time.minute > 59 || time.second < 0 || time.second > 59) {
        return std::nullopt;
    }
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(time.year);
    local.wMonth = static_cast<WORD>(time.month);
    local.wDay = static_cast<WORD>(time.day);
    local.wHour = static_cast<WORD>(time.hour);
    local.wMinute = static_cast<WORD>(time.minute);
    local.wSecond = static_cast<WORD>(time.second);
    // A date that does not exist (30 February) is refused here.
    FILETIME check;
    if (!SystemTimeToFileTime(&local, &check)) {
        return std::nullopt;
    }
    SYSTEMTIME universal;
    FILETIME stamp;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) ||
        !SystemTimeToFileTime(&universal, &stamp)) {
        return std::nullopt;
    }
    const std::int64_t steps =
        (static_cast<std::int64_t>(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime;
    return FileTime{(steps - kEpochSteps) * 100};
}

}  // namespace installer::system
