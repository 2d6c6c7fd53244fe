#include "app/cli/cli.h"

#include <vector>

namespace cli {

namespace speak {
extern const std::string_view kHelp;
int run(std::span<const std::string> args, Io& io);
}  // namespace speak

// Each subcommand lives in a file of its own (cmd_*.cpp) and is listed here.

std::span<const Command> commands() {
    static const std::vector<Command> table = {
        {"speak", "the Italian words spoken for a Braille line; --wav synthesises them",
         speak::kHelp, speak::run},
    };
    return table;
}

}  // namespace cli
