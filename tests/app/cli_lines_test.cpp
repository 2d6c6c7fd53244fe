// The --lines mode of to-braille, to-latex and speak.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "app/cli/cli.h"
#include "cli_run.h"
#include "notation/conversion.h"

#include "../editor/temp_folder.h"

namespace {

using cli::testing::CliRun;
using cli::testing::runCli;

TEST(CliLines, ToBrailleGivesOneLinePerFormulaAndNamesTheRefusedOnes) {
    const CliRun r = runCli({"to-braille", "--lines"},
                            "x+1\r\n"
                            "\\foo\n"
                            "\n"
                            "\\frac{3}{4}\n"
                            "(x\n"
                            "\\sqrt{x}");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.out,
              "_x+#a\n"
              "\n"
              "\n"
              "#:d\n"
              "\n"
              "9_xo\n");
    EXPECT_EQ(r.err,
              "line 2: Funzione sconosciuta\n"
              "line 5: Errore nelle parentesi \n");
}

TEST(CliLines, EachLineConvertsAsTheSingleCommandConvertsIt) {
    const std::vector<std::string> formulas = {"x^{2}+3x-5=0", "\\frac{a+b}{c}", "\\sqrt{2}+3",
                                               "2,5+0,75", "f(x)=\\log_{2}(x)"};
    std::string input;
    std::string expected;
    for (const auto& f : formulas) {
        const CliRun one = runCli({"to-braille"}, f);
        ASSERT_EQ(one.status, cli::kOk) << f << ": " << one.err;
        input += f + "\n";
        expected += one.out + "\n";
    }
    CliRun r = runCli({"to-braille", "--lines"}, input);
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);

    // And back: the Braille lines give the formulas again.
    r = runCli({"to-latex", "--lines"}, expected);
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    std::string back;
    for (std::istringstream lines(expected); std::getline(lines, input);) {
        back += runCli({"to-latex"}, input).out + "\n";
    }
    EXPECT_EQ(r.out, back);
}

// A long input, read in large pieces: the answers come in input order, and each refusal names
// its own line.
TEST(CliLines, ALongInputKeepsItsOrderAndItsLineNumbers) {
    std::string input;
    std::string expected;
    std::string messages;
    for (int n = 1; n <= 3000; ++n) {
        if (n % 7 == 0) {
            input += "(x\n";
            expected += "\n";
            messages += "line " + std::to_string(n) + ": Errore nelle parentesi \n";
        } else {
            input += "x+" + std::to_string(n) + (n % 2 == 0 ? "\r\n" : "\n");
            expected += "_x+" + runCli({"to-braille"}, std::to_string(n)).out + "\n";
        }
    }
    const CliRun r = runCli({"to-braille", "--lines"}, input);
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, messages);
}

// The input is taken in pieces of 64 KiB: a line, or the CR and LF of its end, that runs from
// one piece into the next is still one line.
TEST(CliLines, ALineAcrossTwoPiecesOfInputIsOneLine) {
    // The CR of a line end is the last byte of the first piece: "x+x" and its line end take 5
    // bytes, then each "x" line 3, so that the CR of line 21 845 sits at byte 65 535.
    std::string input = "x+x\r\n";
    std::string expected = "_x+_x\n";
    for (int n = 0; n < 50000; ++n) {
        input += "x\r\n";
        expected += "_x\n";
    }
    ASSERT_EQ(input.substr(65535, 2), "\r\n");
    // The second piece ends right after a line end; the last line has none.
    ASSERT_EQ(input[131071], '\n');
    input += "x+x";
    expected += "_x+_x\n";
    const CliRun r = runCli({"to-braille", "--lines"}, input);
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);
}

// A piece of many lines is shared out among threads: the answers, the refusals and their line
// numbers come out as one thread gives them, and a conversion that fails on a helper thread
// fails the run on the reading thread.
TEST(CliLines, LinesSharedAmongThreadsComeOutAsOneThreadGivesThem) {
    // Seven formulas: a refusal comes first and last in a run of lines that a thread takes.
    const std::vector<std::string> formulas = {
        "\\frac{a+b}{c}\r", "(x", "\\sqrt[3]{2}+\\log_{2}(x)",  "\\foo",
        "x_{n+1}^{2}",      "",   std::string(1700, 'x') + "+1"};
    std::string input;
    for (std::size_t n = 0; n < 40000; ++n) {
        input += formulas[n % formulas.size()] + "\n";
    }
    input += "x+1";  // no line end
    std::mutex lock;
    std::set<std::thread::id> seen;
    const cli::LineConversion convert = [&](std::string_view line,
                                            std::string& message) -> std::optional<std::string> {
        {
            std::lock_guard guard(lock);
            seen.insert(std::this_thread::get_id());
        }
        if (line == "throw") {
            throw std::runtime_error("a conversion that fails");
        }
        notation::Conversion c = notation::convertLatexPage(line, 1).conversion;
        if (!c.ok()) {
            message = c.error;
            return std::nullopt;
        }
        return std::move(c.text);
    };
    const auto runWith = [&](std::size_t threads, const std::string& text) {
        std::istringstream in(text);
        std::ostringstream out;
        std::ostringstream err;
        cli::Io io{in, out, err};
        const int status = cli::convertLines("", io, convert, threads);
        return CliRun{status, out.str(), err.str()};
    };
    const CliRun one = runWith(1, input);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(one.status, cli::kFailed);
    EXPECT_NE(one.err.find("line 39995: Pagina 1\nFunzione sconosciuta\n"), std::string::npos)
        << one.err;
    seen.clear();
    const CliRun three = runWith(3, input);
    EXPECT_GT(seen.size(), 1u);
    EXPECT_EQ(three.status, one.status);
    EXPECT_EQ(three.out, one.out);
    EXPECT_EQ(three.err, one.err);

    std::string failing(input.substr(0, input.size() / 2));
    failing.insert(failing.rfind('\n', failing.size() / 2) + 1, "throw\n");
    EXPECT_THROW(runWith(3, failing), std::runtime_error);
}

TEST(CliLines, ToLatexKeepsTheLineBreaksOfATwoLineMessage) {
    const CliRun r = runCli({"to-latex", "--lines"}, "6_anp_b4\n<S_i=#a,_n:_i\n");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.out, "\\frac{a}{b}\n\n");
    EXPECT_EQ(r.err, "line 2: Funzione sommatoria \n racchiudere operando  fra parentesi tonde\n");
}

TEST(CliLines, EmptyInputGivesNothingAndAFinalLineEndNoExtraLine) {
    CliRun r = runCli({"to-braille", "--lines"}, "");
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out, "");
    r = runCli({"to-braille", "--lines"}, "x\n");
    EXPECT_EQ(r.out, "_x\n");
    r = runCli({"to-braille", "--lines"}, "\r\n\r\n");
    EXPECT_EQ(r.out, "\n\n");
}

TEST(CliLines, SpeakSaysEachLineOnItsOwnLine) {
    CliRun r = runCli({"speak", "--lines"}, "#abc\r\n9#bo\n\x1B\n");
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out,
              "123\n"
              "aperta rad\xEC"
              "ce  quadrata di2 chiusa rad\xEC"
              "ce\n"
              "\n");
    r = runCli({"speak", "--lines", "--mode", "canc"}, "#ab\n#ab\n");
    EXPECT_EQ(r.out, " cancellato 2\n cancellato 2\n");
}

TEST(CliLines, RefusesOptionsThatDoNotMixAndUnreadableFiles) {
    CliRun r = runCli({"to-braille", "--lines", "--page", "3"}, "x");
    EXPECT_EQ(r.status, cli::kUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(runCli({"speak", "--lines", "--wav", "out.wav"}, "#a").status, cli::kUsage);
    // --threads takes 1 to 16, and only with --lines; it changes nothing in the output.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"to-braille", "--threads", "2"},
                                               {"to-latex", "--lines", "--threads", "0"},
                                               {"speak", "--lines", "--threads", "17"},
                                               {"speak", "--threads", "2"},
                                               {"to-braille", "--lines", "--threads", "due"}}) {
        r = runCli(args, "x");
        EXPECT_EQ(r.status, cli::kUsage) << args[1] << " " << args[2];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("--threads"), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli({"speak", "--lines", "--threads", "16"}, "#a").out,
              runCli({"speak", "--lines"}, "#a").out);

    editor::testing::TempFolder temp;
    const std::filesystem::path& folder = temp.path();
    r = runCli({"to-latex", "--lines", (folder / "missing.txt").string()});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("missing.txt: "), std::string::npos);

    // A folder named as the input is reported, not taken for an empty input.
    r = runCli({"to-latex", "--lines", folder.string()});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_NE(r.err.find(folder.string()), std::string::npos);

    std::ofstream(folder / "sheet.txt", std::ios::binary) << "#a\n#b";
    r = runCli({"to-latex", "--lines", (folder / "sheet.txt").string()});
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out, "1\n2\n");
}

}  // namespace
