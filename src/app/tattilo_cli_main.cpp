#include <iostream>
#include <string>
#include <vector>

#include "app/cli/cli.h"
#include "ui/standard_streams.h"

int main(int argc, char** argv) {
    ui::useBinaryStandardStreams();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Io io{std::cin, std::cout, std::cerr};
    const int status = cli::run(args, io);
    std::cout.flush();
    return status;
}
