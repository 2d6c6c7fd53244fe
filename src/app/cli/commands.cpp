#include "app/cli/cli.h"

#include <vector>

namespace cli {

// Each subcommand lives in a file of its own (cmd_*.cpp) and is listed here.
extern const Command kToBrailleCommand;
extern const Command kToLatexCommand;
extern const Command kFromTexCommand;
extern const Command kEmbossCommand;
extern const Command kSpeakCommand;
extern const Command kMathmlCommand;
extern const Command kCalcCommand;

std::span<const Command> commands() {
    static const std::vector<Command> table = {
        kToBrailleCommand, kToLatexCommand, kFromTexCommand, kEmbossCommand,
        kSpeakCommand,     kMathmlCommand,  kCalcCommand,
    };
    return table;
}

}  // namespace cli
