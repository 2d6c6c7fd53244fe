#include "app/cli/cli.h"

#include <vector>

namespace cli {

// Each subcommand lives in a file of its own (cmd_*.cpp) and is listed here.

std::span<const Command> commands() {
    static const std::vector<Command> table = {};
    return table;
}

}  // namespace cli
