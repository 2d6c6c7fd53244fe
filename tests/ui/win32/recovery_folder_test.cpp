#include "ui/program_folders.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Variables = std::map<std::string, std::string>;

fs::path recoveryFolderWith(const Variables& variables) {
    return ui::recoveryFolder({[&variables](const char* name) -> std::optional<std::string> {
                                   const auto it = variables.find(name);
                                   return it == variables.end() ? std::nullopt
                                                                : std::optional(it->second);
                               },
                               [](const fs::path&) { return true; }});
}

// The recovery copies are the user's alone, in his local application data.
TEST(RecoveryFolder, IsTheUsersApplicationData) {
    const std::vector<std::pair<Variables, fs::path>> cases = {
        {{{"LOCALAPPDATA", "C:\\Users\\anna\\AppData\\Local"}, {"APPDATA", "C:\\R"}},
         fs::path("C:\\Users\\anna\\AppData\\Local") / "Tattilo" / "recupero"},
        {{{"APPDATA", "C:\\R"}}, fs::path("C:\\R") / "Tattilo" / "recupero"},
        {{}, {}},
    };
    for (const auto& [variables, expected] : cases) {
        EXPECT_EQ(recoveryFolderWith(variables), expected) << expected;
    }
}

}  // namespace
