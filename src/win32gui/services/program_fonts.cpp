#include "win32gui/services/program_fonts.h"

#include <algorithm>
#include <system_error>

#include "win32gui/native.h"

namespace win32gui {
namespace {

int CALLBACK found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) {
    *reinterpret_cast<bool*>(data) = true;
    return 0;
}

bool sameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

}  // namespace

std::filesystem::path windowsFontsFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::filesystem::path(folder) / L"fonts";
}

std::vector<std::filesystem::path> loadProgramFonts(const std::filesystem::path& programDirectory,
                                                    const std::filesystem::path& installedFolder) {
    std::vector<std::filesystem::path> loaded;
    std::error_code ec;
    const std::filesystem::path dir = programDirectory / L"fonts";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (sameNameIgnoringCase(entry.path().extension().wstring(), L".ttf")) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        // Installed (a file of that name in the Windows fonts folder): the system has it.
        bool installed = false;
        if (!installedFolder.empty()) {
            for (const auto& entry : std::filesystem::directory_iterator(installedFolder, ec)) {
                if (sameNameIgnoringCase(entry.path().filename().wstring(),
                                         file.filename().wstring())) {
                    installed = true;
                    break;
                }
            }
        }
        if (!installed && AddFontResourceExW(file.c_str(), FR_PRIVATE, nullptr) > 0) {
            loaded.push_back(file);
        }
    }
    return loaded;
}

bool fontFamilyAvailable(const std::wstring& family) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, family.c_str(), LF_FACESIZE);
    bool any = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, &found, reinterpret_cast<LPARAM>(&any), 0);
    ReleaseDC(nullptr, dc);
    return any;
}

}  // namespace win32gui
