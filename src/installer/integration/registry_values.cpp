#include "installer/integration/registry_values.h"

#include <algorithm>

#include "installer/ckey.h"
#include "installer/integration/deferred_actions.h"
#include "installer/journal/undo_log.h"
#include "installer/win_path.h"
#include "ui/hex_digit.h"

namespace installer {

namespace {

using system::RegRoot;

// A digit of binary data; any other character counts as 0.
int dataDigit(char c) {
    return std::max(0, ui::hexDigit(c));
}

// Creates the key (journalled), journals the value, writes it; false when the key cannot be
// created or the value cannot be written.
bool writeValue(IntegrationContext& context, RegRoot root, const std::string& key,
                std::string_view name, const system::RegValue& value) {
    if (!context.undo.createRegistryKey(root, key)) {
        return false;
    }
    CKey opened(context.sys, root, key);
    if (!opened.open()) {
        return false;
    }
    context.undo.prepareRegistryValue(root, key, name);
    return opened.write(name, value.type, value.data);
}

}  // namespace

std::string systemFontsKey(system::System& sys) {
    return std::string("SOFTWARE\\Microsoft\\Windows") + (sys.windowsVersion().nt ? " NT" : "") +
           "\\CurrentVersion\\Fonts";
}

std::string uninstallKey(const std::string& keyName) {
    return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + keyName;
}

system::RegValue registryValueOf(int type, std::string_view data) {
    system::RegValue value;
    switch (type) {
        case 0: {
            value.type = system::kRegBinary;
            const std::size_t length = (data.size() + 1) / 2;
            for (std::size_t i = 0; i < length; ++i) {
                const int high = dataDigit(data[2 * i]);
                const int low = 2 * i + 1 < data.size() ? dataDigit(data[2 * i + 1]) : 0;
                value.data += static_cast<char>(high * 16 + low);
            }
            break;
        }
        case 1:
            value.type = system::kRegNone;
            break;
        case 2: {
            value.type = system::kRegDword;
            const auto number = static_cast<std::uint32_t>(parseDecimal(data));
            for (int i = 0; i < 4; ++i) {
                value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
            }
            break;
        }
        default:
            value.type = system::kRegSz;
            value.data = std::string(data) + '\0';
            break;
    }
    return value;
}

std::optional<std::pair<RegRoot, std::string>> splitKeyPath(std::string_view keyPath) {
    static constexpr RegRoot kOrder[] = {RegRoot::ClassesRoot, RegRoot::CurrentUser,
                                         RegRoot::LocalMachine, RegRoot::Users};
    const auto slash = keyPath.find('\\');
    if (slash == std::string_view::npos || slash == 0) {
        return std::nullopt;
    }
    const std::string_view head = keyPath.substr(0, slash);
    for (RegRoot root : kOrder) {
        if (system::regRootName(root).starts_with(head)) {
            return std::make_pair(root, std::string(keyPath.substr(slash + 1)));
        }
    }
    return std::nullopt;
}

void FontRegistration::perform(IntegrationContext& context) {
    registered = false;
    // A bare name is a file of the Windows fonts folder, as the fonts key holds them.
    const std::string path = file.find('\\') == std::string::npos
                                 ? withBackslash(context.sys.windowsDirectory()) + "Fonts\\" + file
                                 : file;
    if (!context.sys.fileExists(path)) {
        return;
    }
    registered = writeValue(context, RegRoot::LocalMachine, systemFontsKey(context.sys), valueName,
                            registryValueOf(3, file));
}

void RegistryEntry::perform(IntegrationContext& context) {
    written = false;
    const auto split = splitKeyPath(keyPath);
    if (!split) {
        return;
    }
    written =
        writeValue(context, split->first, split->second, valueName, registryValueOf(type, data));
}

}  // namespace installer
