#include "app/cli/cli.h"
#include "cli_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace {

using cli::testing::CliRun;
using cli::testing::runCli;

TEST(Cli, HelpVersionAndUsageErrors) {
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, cli::kOk);
    EXPECT_NE(help.out.find("Usage: tattilo-cli"), std::string::npos);

    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, cli::kOk);
    EXPECT_EQ(version.out, "tattilo-cli 1.1\n");

    EXPECT_EQ(runCli({}).status, cli::kUsage);
    const CliRun unknown = runCli({"frobnicate"});
    EXPECT_EQ(unknown.status, cli::kUsage);
    EXPECT_NE(unknown.err.find("unknown command"), std::string::npos);
}

TEST(Cli, ArgumentsTakeValuesFlagsAndPositionals) {
    const std::vector<std::string> args = {"--page", "3", "doc.mtf", "-v", "-o", "x"};
    cli::Arguments a(args, {"--page", "-o"}, {"-v"});
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.value("-o"), "x");
    EXPECT_TRUE(a.flag("-v"));
    EXPECT_EQ(a.positional(), std::vector<std::string>{"doc.mtf"});
    EXPECT_EQ(a.integer("--page", 1, 1, 15), 3);
    EXPECT_EQ(a.integer("--width", 50, 1, 1000), 50);

    const std::vector<std::string> bad = {"--page", "16"};
    cli::Arguments b(bad, {"--page"}, {});
    EXPECT_EQ(b.integer("--page", 1, 1, 15), std::nullopt);
    EXPECT_FALSE(b.ok());

    const std::vector<std::string> missing = {"--page"};
    EXPECT_FALSE(cli::Arguments(missing, {"--page"}, {}).ok());
    const std::vector<std::string> unknown = {"--nope"};
    EXPECT_FALSE(cli::Arguments(unknown, {"--page"}, {}).ok());
}

TEST(Cli, ReadInputReportsTheSystemMessage) {
    std::istringstream in("from stdin");
    std::ostringstream out;
    std::ostringstream err;
    cli::Io io{in, out, err};
    EXPECT_EQ(cli::readInput("", io), "from stdin");
    EXPECT_EQ(cli::readInput("/nonexistent/file.mtf", io), std::nullopt);
    EXPECT_NE(err.str().find(std::strerror(ENOENT)), std::string::npos);
}

}  // namespace
