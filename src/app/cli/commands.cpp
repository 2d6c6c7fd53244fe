#include "app/cli/cli.h"

#include <vector>

namespace cli {

namespace speak {
extern const std::string_view kHelp;
int run(std::span<const std::string> args, Io& io);
}  // namespace speak

// Each subcommand lives in a file of its own (cmd_*.cpp) and is listed here.
extern const Command kToBrailleCommand;
extern const Command kToLatexCommand;
extern const Command kFromTexCommand;
extern const Command kMathmlCommand;
extern const Command kCalcCommand;

namespace emboss {
extern const std::string_view kHelp;
int run(std::span<const std::string> args, Io& io);
}  // namespace emboss

std::span<const Command> commands() {
    static const std::vector<Command> table = {
        kToBrailleCommand,
        kToLatexCommand,
        kFromTexCommand,
        {"emboss", "the embosser file (.prn) of one page's Braille text", emboss::kHelp,
         &emboss::run},
        {"speak", "the Italian words spoken for a Braille line; --wav synthesises them",
         speak::kHelp, speak::run},
        kMathmlCommand,
        kCalcCommand,
    };
    return table;
}

}  // namespace cli
