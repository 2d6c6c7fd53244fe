#pragma once

// Runs tattilo-cli on streams, as its main() does on the process's own.

#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli.h"

namespace cli::testing {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun runCli(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    Io io{in, out, err};
    const int status = run(args, io);
    return {status, out.str(), err.str()};
}

}  // namespace cli::testing
