#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../scratch_folder.h"
#include "app/cli/cli.h"
#include "cli_run.h"

namespace {

using cli::testing::CliRun;
using cli::testing::runCli;

const std::string kFilter = std::string(TATTILO_SOURCE_DIR) + "/data/filtro.base";

TEST(CliNotation, ToBrailleConvertsOrRefuses) {
    CliRun r = runCli({"to-braille"}, "x+1");
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out, "_x+#a");
    EXPECT_EQ(runCli({"to-braille"}, "\\frac{3}{4}").out, "#:d");

    r = runCli({"to-braille"}, "\\foo");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Pagina 1\nFunzione sconosciuta\n");

    r = runCli({"to-braille", "--page", "12"}, "(x");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err, "Pagina 12\nErrore nelle parentesi \n");

    EXPECT_EQ(runCli({"to-braille"}, "x\r\ny").out, "_x\r\n_y") << "line ends as given";
}

TEST(CliNotation, ToLatexConvertsOrRefuses) {
    CliRun r = runCli({"to-latex", "--page", "3"}, "6_anp_b4");
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out, "\\frac{a}{b}");

    r = runCli({"to-latex", "--page", "3"}, "<S_i=#a,_n:_i");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err,
              "Pagina 3\nFunzione sommatoria \n racchiudere operando  fra parentesi tonde\n");
}

TEST(CliNotation, ReadsTheFileNamedLast) {
    auto file = testing_support::scratchName("tattilo_cli_notation_");
    file += ".txt";
    std::ofstream(file, std::ios::binary) << "\\sqrt{x}";
    CliRun r = runCli({"to-braille", file.string()});
    EXPECT_EQ(r.out, "9_xo");
    std::filesystem::remove(file);
    r = runCli({"to-braille", file.string()});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_NE(r.err.find(std::strerror(ENOENT)), std::string::npos);
}

TEST(CliNotation, FromTexUsesTheFilterFile) {
    CliRun r = runCli({"from-tex", "--filter", kFilter}, "$a=\\left|x\\right|+{1\\over 2}$\n");
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out, "a=%x%+\\frac{1}{2}");

    r = runCli({"from-tex", "--filter", kFilter}, "$x^{2^{3^{4}}}$");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Formato non ammesso - usare espressione fra parentesi\n");

    r = runCli({"from-tex", "--filter", "/nonexistent/filtro.base"}, "$x$");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_NE(r.err.find("File filtro non trovato. "), std::string::npos);

    EXPECT_EQ(runCli({"from-tex", "--filter", kFilter}, "").status, cli::kOk);
}

TEST(CliNotation, UsageErrorsAndHelp) {
    EXPECT_EQ(runCli({"from-tex"}, "$x$").status, cli::kUsage);
    EXPECT_EQ(runCli({"to-braille", "--page", "16"}, "x").status, cli::kUsage);
    EXPECT_EQ(runCli({"to-latex", "--page"}, "x").status, cli::kUsage);
    EXPECT_EQ(runCli({"to-latex", "a", "b"}, "x").status, cli::kUsage);
    EXPECT_EQ(runCli({"to-braille", "--bogus"}, "x").status, cli::kUsage);
    for (const char* command : {"to-braille", "to-latex", "from-tex"}) {
        const CliRun help = runCli({command, "--help"});
        EXPECT_EQ(help.status, cli::kOk);
        EXPECT_NE(help.out.find(std::string("tattilo-cli ") + command), std::string::npos);
    }
    EXPECT_NE(runCli({"--help"}).out.find("to-braille"), std::string::npos);
}

}  // namespace
