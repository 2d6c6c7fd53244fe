#include <gtest/gtest.h>

#include <sstream>

#include "../editor/temp_folder.h"
#include "../learning/answer_key_fixture.h"
#include "app/cli/cli.h"
#include "learning/column_arithmetic.h"

namespace {

struct CalcRun {
    int status;
    std::string out;
    std::string err;
};

CalcRun calc(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), "calc");
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    cli::Io io{in, out, err};
    const int status = cli::run(args, io);
    return {status, out.str(), err.str()};
}

TEST(CliCalc, PrintsTheAnswerKeyOfEachKindOfOperation) {
    const auto cases = learning::testing::readKeys();
    ASSERT_GE(cases.size(), 10u);
    for (const auto& c : cases) {
        std::string expected = c.expression + "\n";
        for (const std::string& row : c.rows) {
            expected += row + "\n";
        }
        expected += c.result + "\n";
        if (!c.remainder.empty()) {
            expected += c.remainder + "\n";
        }
        std::vector<std::string> args = {"--", c.operation};
        if (c.decimals > 0) {
            args.insert(args.begin(), {"--decimals", std::to_string(c.decimals)});
        }
        const CalcRun r = calc(args);
        EXPECT_EQ(r.status, cli::kOk) << "line " << c.line << ": " << r.err;
        EXPECT_EQ(r.out, expected) << "line " << c.line;
        EXPECT_EQ(r.err, "") << "line " << c.line;
    }
}

TEST(CliCalc, ReadsAFileOrStandardInput) {
    editor::testing::TempFolder folder;
    const auto file = folder / "conto.txt";
    std::ofstream(file, std::ios::binary) << "#b + #c\r\n";
    CalcRun r = calc({file.string()});
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out, "#b+#c\nb+c=e\n   =\n#e\n");

    r = calc({}, "#g/#b\n");
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out, "#g/#b\ng/b= c\n#c\n#a\n");
}

TEST(CliCalc, RefusalsSayTheSheetsMessage) {
    struct Case {
        std::string operation;
        std::string message;
    };
    const Case cases[] = {
        {"", "Nessuna espressione selezionata\n"},
        {"#e", "Espressione non valida\n"},
        {"#b+#x", "Espressione non valida\n"},
        {"#b+#c+#d", "Selezionare una unica operazione\n"},
        {"#g/#j", "Divisione per zero\n"},
    };
    for (const Case& c : cases) {
        const CalcRun r = calc({c.operation});
        EXPECT_EQ(r.status, cli::kFailed) << c.operation;
        EXPECT_EQ(r.err, c.message) << c.operation;
        EXPECT_EQ(r.out, "") << c.operation;
    }

    // Too long for the sheet's eight step lines: the lines it shows, then its message.
    const CalcRun r = calc({"--decimals", "4", "#abcdefgh/#b"});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err, "Overflow\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + learning::kMaxStepLines);
}

TEST(CliCalc, CutsOperandsAsTheSheetDoes) {
    const CalcRun r = calc({"#abcdefghij+#a"});
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.err, "Operatori troppo grandi\n");
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "#abcdefghi+#a");
    EXPECT_NE(r.out.find("\n#abcdefgij\n"), std::string::npos) << r.out;  // 123456789 + 1
}

TEST(CliCalc, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--decimals", "5", "#g/#b"},
             {"--decimals", "1", "#g+#b"},
             {"#g/#b", "#c/#d"},
             {"--colour", "#g/#b"},
         }) {
        const CalcRun r = calc(args);
        EXPECT_EQ(r.status, cli::kUsage) << args.front();
        EXPECT_NE(r.err.find("Usage: tattilo-cli calc"), std::string::npos) << args.front();
    }
}

}  // namespace
