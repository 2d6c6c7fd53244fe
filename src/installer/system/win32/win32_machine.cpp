// The machine, its drives, shell folders and links, processes, libraries and the restart, for
// the Windows system layer.

#include "installer/system/win32/win32_system.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "installer/system/this_machine.h"
#include "installer/win_path.h"

namespace installer::system {

namespace {

std::wstring driveRoot(char letter) {
    return std::wstring(1, static_cast<wchar_t>(upperChar(letter))) + L":\\";
}

bool validLetter(char letter) {
    const char upper = upperChar(letter);
    return upper >= 'A' && upper <= 'Z';
}

// COM for the calling thread, for the length of one call.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // Also true when another mode was already chosen for the thread: COM is usable.
    bool ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    Interface** out() { return &p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    Interface* p_ = nullptr;
};

class Win32Library : public Library {
public:
    explicit Win32Library(HMODULE module) : module_(module) {}
    ~Win32Library() override { FreeLibrary(module_); }
    Win32Library(const Win32Library&) = delete;
    Win32Library& operator=(const Win32Library&) = delete;

protected:
    std::any lookUp(std::string_view name) override {
        const FARPROC address = GetProcAddress(module_, std::string(name).c_str());
        if (address == nullptr) {
            return {};
        }
        return reinterpret_cast<RawEntry>(reinterpret_cast<void*>(address));
    }

private:
    HMODULE module_;
};

}  // namespace

std::unique_ptr<System> openThisMachine() {
    return std::make_unique<Win32System>();
}

std::string Win32System::windowsDirectory() {
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return "C:\\WINDOWS";
    }
    std::string dir = narrowText(std::wstring_view(buffer, length));
    while (dir.size() > 3 && dir.back() == '\\') {
        dir.pop_back();
    }
    return dir;
}

WindowsVersion Win32System::windowsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    WindowsVersion v;
    if (GetVersionExW(&info)) {
        v.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
        v.major = info.dwMajorVersion;
        v.minor = info.dwMinorVersion;
        v.build = info.dwBuildNumber & 0xFFFF;
    }
    return v;
}

unsigned Win32System::defaultLanguage() {
    return GetUserDefaultLangID();
}

std::optional<std::string> Win32System::specialFolder(SpecialFolder folder) {
    const int id = folder == SpecialFolder::Programs         ? CSIDL_PROGRAMS
                   : folder == SpecialFolder::CommonPrograms ? CSIDL_COMMON_PROGRAMS
                                                             : CSIDL_DESKTOPDIRECTORY;
    wchar_t buffer[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, buffer, id, FALSE)) {
        return std::nullopt;
    }
    return narrowText(buffer);
}

bool Win32System::createShellLink(std::string_view path, const ShellLink& link) {
    const auto file = widePath(path);
    if (!file || folderExists(path) || !folderExists(folderPart(path))) {
        return false;
    }
    const ComScope com;
    if (!com.ready()) {
        return false;
    }
    ComPointer<IShellLinkW> shell;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(shell.out())))) {
        return false;
    }
    if (FAILED(shell->SetPath(wideText(link.target).c_str())) ||
        FAILED(shell->SetDescription(wideText(link.description).c_str()))) {
        return false;
    }
    if (!link.iconFile.empty() &&
        FAILED(shell->SetIconLocation(wideText(link.iconFile).c_str(), link.iconIndex))) {
        return false;
    }
    ComPointer<IPersistFile> persist;
    if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.out())))) {
        return false;
    }
    return SUCCEEDED(persist->Save(file->c_str(), TRUE));
}

DriveType Win32System::driveType(char letter) {
    if (!validLetter(letter)) {
        return DriveType::NoRoot;
    }
    switch (GetDriveTypeW(driveRoot(letter).c_str())) {
        case DRIVE_NO_ROOT_DIR:
            return DriveType::NoRoot;
        case DRIVE_REMOVABLE:
            return DriveType::Removable;
        case DRIVE_FIXED:
            return DriveType::Fixed;
        case DRIVE_REMOTE:
            return DriveType::Remote;
        case DRIVE_CDROM:
            return DriveType::CdRom;
        case DRIVE_RAMDISK:
            return DriveType::RamDisk;
        default:
            return DriveType::Unknown;
    }
}

std::optional<std::uint64_t> Win32System::freeBytes(char letter) {
    ULARGE_INTEGER available;
    if (!validLetter(letter) ||
        !GetDiskFreeSpaceExW(driveRoot(letter).c_str(), &available, nullptr, nullptr)) {
        return std::nullopt;
    }
    return available.QuadPart;
}

std::string Win32System::fileSystemName(char letter) {
    wchar_t name[MAX_PATH + 1];
    if (!validLetter(letter) ||
        !GetVolumeInformationW(driveRoot(letter).c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                               name, MAX_PATH + 1)) {
        return {};
    }
    return narrowText(name);
}

std::optional<std::uint32_t> Win32System::clusterBytes(char letter) {
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    if (!validLetter(letter) || !GetDiskFreeSpaceW(driveRoot(letter).c_str(), &sectorsPerCluster,
                                                   &bytesPerSector, &freeClusters, &clusters)) {
        return std::nullopt;
    }
    return sectorsPerCluster * bytesPerSector;
}

bool Win32System::runAndWait(std::string_view commandLine, std::string_view folder) {
    std::wstring line = wideText(commandLine);
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    std::wstring current;
    if (!folder.empty()) {
        const auto wide = widePath(folder);
        if (!wide) {
            return false;
        }
        current = *wide;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        current.empty() ? nullptr : current.c_str(), &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::optional<std::string> Win32System::runningProgram() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    return narrowText(std::wstring_view(buffer, length));
}

bool Win32System::removeAfterExit(const std::vector<std::string>& paths) {
    // The command processor waits a little longer each time a file is still held (1, 2, 4, 8
    // and 16 seconds: this process is about to end), deletes it, then removes the folders.
    // Written for the parser of Windows' cmd.exe and of Wine's, which differ on loops.
    std::wstring body;
    // A file goes only once those before it have gone (the journal last: while a backup is
    // still there, the next run of the installer finishes the job).
    std::wstring before;
    const auto add = [&](const std::wstring& command) {
        // In brackets: an "if" would take the rest of the line as its own.
        const std::wstring guarded = L"(" + before + command + L")";
        body += body.empty() ? guarded : L" & " + guarded;
    };
    for (const std::string& path : paths) {
        const auto wide = widePath(path);
        // A quote would end the name; a percent sign would be expanded.
        if (!wide || path.find_first_of("\"%") != std::string::npos) {
            return false;
        }
        if (path.back() == '\\') {
            const std::wstring folder = wide->substr(0, wide->size() - 1);
            add(L"rd \"" + folder + L"\" >nul 2>&1");
            continue;
        }
        const std::wstring quoted = L"\"" + *wide + L"\"";
        for (const wchar_t* pings : {L"2", L"3", L"5", L"9", L"17"}) {
            add(L"if exist " + quoted + L" ping -n " + pings + L" 127.0.0.1 >nul");
            add(L"del /f /q " + quoted + L" >nul 2>&1");
        }
        before += L"if not exist " + quoted + L" ";
    }
    if (body.empty()) {
        return true;
    }
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    std::wstring line =
        L"\"" + std::wstring(system, length) + L"\\cmd.exe\" /d /q /s /c \"" + body + L"\"";
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::unique_ptr<Library> Win32System::loadLibrary(std::string_view name) {
    std::wstring file;
    if (name.size() > 1 && name[1] == ':') {
        const auto wide = widePath(name);
        if (!wide) {
            return nullptr;
        }
        file = *wide;
    } else {
        if (name.empty() || name.find_first_of("\\/") != std::string_view::npos) {
            return nullptr;
        }
        file = wideText(name);  // Windows looks in the program's folder, then the system's
    }
    const HMODULE module = LoadLibraryW(file.c_str());
    if (module == nullptr) {
        return nullptr;
    }
    return std::make_unique<Win32Library>(module);
}

bool Win32System::enableShutdownPrivilege() {
    if (!windowsVersion().nt) {
        return true;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled =
        LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds without granting what the account does not hold.
    enabled = enabled && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

bool Win32System::restart() {
    return rebootWindows();
}

bool Win32System::rebootWindows() {
    return ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION |
                                         SHTDN_REASON_MINOR_INSTALLATION |
                                         SHTDN_REASON_FLAG_PLANNED) != 0;
}

}  // namespace installer::system
