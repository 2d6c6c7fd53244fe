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

// The recovery copies are the user's alone in either layout, in the folder the system keeps for
// a program's own state.
TEST(RecoveryFolder, IsTheUsersStateFolder) {
    const std::vector<std::pair<Variables, fs::path>> cases = {
        {{{"XDG_STATE_HOME", "/srv/stato"}, {"HOME", "/home/anna"}}, "/srv/stato/tattilo/recupero"},
        {{{"XDG_STATE_HOME", "relativo"}, {"HOME", "/home/anna"}},
         "/home/anna/.local/state/tattilo/recupero"},
        {{{"HOME", "/home/anna"}}, "/home/anna/.local/state/tattilo/recupero"},
        {{}, {}},
    };
    for (const auto& [variables, expected] : cases) {
        EXPECT_EQ(recoveryFolderWith(variables), expected) << expected;
    }
}

}  // namespace
