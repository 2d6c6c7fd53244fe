#include "installer/integration/deferred_actions.h"

#include "installer/win_path.h"

namespace installer {

void DeferredActions::queueProgram(std::string commandLine, std::string folder) {
    // A word starting with "&" puts the program in the second run.
    bool second = false;
    std::size_t at = 0;
    while ((at = commandLine.find('&', at)) != std::string::npos) {
        if (at == 0 || commandLine[at - 1] == ' ' || commandLine[at - 1] == '\t') {
            second = true;
            break;
        }
        ++at;
    }
    (second ? secondRun : firstRun).emplace_back(std::move(commandLine), std::move(folder));
}

void DeferredActions::queueGroup(std::string name) {
    groups.emplace_back(std::move(name));
}

bool DeferredActions::queueShortcut(std::string target, std::string title, std::string iconFile) {
    if (groups.empty()) {
        return false;
    }
    groups.back().shortcuts.push_back(
        {std::move(target), std::move(title), std::move(iconFile), 0});
    return true;
}

void DeferredActions::queueFont(std::string_view name, std::string_view file) {
    FontRegistration font{std::string(name), std::string(file)};
    if (!iendsWith(font.valueName, "(TrueType)")) {
        font.valueName += "(TrueType)";
    }
    if (!iendsWith(font.file, ".ttf")) {
        font.file += ".ttf";
    }
    fonts.push_back(std::move(font));
}

void DeferredActions::queueRegistryValue(std::string keyPath, std::string valueName, int type,
                                         std::string data) {
    registryValues.emplace_back(std::move(keyPath), std::move(valueName), type, std::move(data));
}

bool DeferredActions::queueAlias(std::string_view line, bool replace) {
    const auto percent = line.find('%');
    if (percent == std::string_view::npos) {
        return false;
    }
    const auto comma = line.find(',', percent);
    if (comma == std::string_view::npos) {
        return false;
    }
    const std::string_view tag = line.substr(percent + 1, comma - percent - 1);
    std::vector<AliasLine>* list = nullptr;
    if (tag == "KORVO") {
        list = &texAliases;
    } else if (tag == "AR") {
        list = &readerAliases;
    } else if (tag == "AR3") {
        list = &reader3Aliases;
    } else if (tag == "AR4") {
        list = &reader4Aliases;
    } else {
        return false;
    }
    std::string stored(line.substr(0, percent + 1));
    stored += line.substr(comma);
    list->push_back({std::move(stored), replace});
    return true;
}

std::optional<int> registryTypeIndex(std::string_view word) {
    static const std::string_view words[] = {"hex", "bin", "number", "string"};
    for (int i = 0; i < 4; ++i) {
        if (iequals(word, words[i])) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace installer
