// The registry of the Windows system layer, through the wide-character calls.

#include "installer/system/win32/win32_system.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace installer::system {

namespace {

HKEY rootKey(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegRoot::Users:
            return HKEY_USERS;
    }
    return HKEY_LOCAL_MACHINE;
}

// An open key, closed on destruction.
class OpenKey {
public:
    OpenKey(RegRoot root, std::string_view key, REGSAM access) {
        const std::wstring name = wideText(key);
        if (RegOpenKeyExW(rootKey(root), name.c_str(), 0, access, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

bool Win32System::regKeyExists(RegRoot root, std::string_view key) {
    return static_cast<bool>(OpenKey(root, key, KEY_READ));
}

bool Win32System::regKeyWritable(RegRoot root, std::string_view key) {
    // Full access, as the installer opens its keys: a key the user may not change counts as
    // missing.
    return static_cast<bool>(OpenKey(root, key, KEY_ALL_ACCESS));
}

bool Win32System::regCreateKey(RegRoot root, std::string_view key) {
    const std::wstring name = wideText(key);
    HKEY created = nullptr;
    if (RegCreateKeyExW(rootKey(root), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(created);
    return true;
}

std::optional<RegValue> Win32System::regQueryValue(RegRoot root, std::string_view key,
                                                   std::string_view name) {
    const OpenKey open(root, key, KEY_QUERY_VALUE);
    if (!open) {
        return std::nullopt;
    }
    const std::wstring valueName = wideText(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(open.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes(size);
    if (RegQueryValueExW(open.get(), valueName.c_str(), nullptr, &type, bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    bytes.resize(size);
    RegValue value;
    value.type = type;
    if (isText(type)) {
        std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
        std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(text.size() * 2),
                  reinterpret_cast<BYTE*>(text.data()));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        value.data = narrowText(text);
        value.data.push_back('\0');
    } else {
        value.data.assign(bytes.begin(), bytes.end());
    }
    return value;
}

bool Win32System::regSetValue(RegRoot root, std::string_view key, std::string_view name,
                              const RegValue& value) {
    const OpenKey open(root, key, KEY_ALL_ACCESS);
    if (!open) {
        return false;
    }
    const std::wstring valueName = wideText(name);
    LONG result;
    if (isText(value.type)) {
        std::string_view text = value.data;
        if (const auto end = text.find('\0'); end != std::string_view::npos) {
            text = text.substr(0, end);
        }
        const std::wstring wide = wideText(text);
        result = RegSetValueExW(open.get(), valueName.c_str(), 0, value.type,
                                reinterpret_cast<const BYTE*>(wide.c_str()),
                                static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    } else {
        result = RegSetValueExW(open.get(), valueName.c_str(), 0, value.type,
                                reinterpret_cast<const BYTE*>(value.data.data()),
                                static_cast<DWORD>(value.data.size()));
    }
    return result == ERROR_SUCCESS;
}

bool Win32System::regDeleteValue(RegRoot root, std::string_view key, std::string_view name) {
    if (!regKeyExists(root, key)) {
        return true;
    }
    const OpenKey open(root, key, KEY_SET_VALUE);
    if (!open) {
        return false;
    }
    const LONG result = RegDeleteValueW(open.get(), wideText(name).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::optional<std::vector<std::string>> Win32System::regSubKeys(RegRoot root,
                                                                std::string_view key) {
    const OpenKey open(root, key, KEY_READ);
    if (!open) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        const LONG result =
            RegEnumKeyExW(open.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            return names;
        }
        if (result != ERROR_SUCCESS) {
            return std::nullopt;
        }
        names.push_back(narrowText(std::wstring_view(name, length)));
    }
}

bool Win32System::regDeleteKey(RegRoot root, std::string_view key) {
    {
        const OpenKey open(root, key, KEY_READ);
        if (!open) {
            return true;
        }
        DWORD subKeys = 0;
        DWORD values = 0;
        if (RegQueryInfoKeyW(open.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subKeys != 0 || values != 0) {
            return false;
        }
    }
    return RegDeleteKeyW(rootKey(root), wideText(key).c_str()) == ERROR_SUCCESS;
}

}  // namespace installer::system
