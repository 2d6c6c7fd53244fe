// tattilo-cli calc: the answer key of one written operation, as the calculation sheet lays it
// out and judges it.

#include <filesystem>
#include <ostream>

#include "app/cli/cli.h"
#include "learning/calc_sheet_opener.h"
#include "learning/column_arithmetic.h"
#include "learning/messages.h"

namespace cli {
namespace {

constexpr std::string_view kCalcUsage =
    "Usage: tattilo-cli calc [--decimals N] [OPERATION | FILE]\n"
    "Prints the answer key of one written operation in Braille cells (\"#ab,e+#c\",\n"
    "\"#ab(#ac\", \"#age/#e\"), as the calculation sheet (\"Apri foglio calcolo\") lays it\n"
    "out: the expression, then the work rows one per line with the right digit after\n"
    "each \"=\" (an empty line between the tables of a multiplication and before its\n"
    "final sum; for a division the step lines of the correct working), then the result\n"
    "the sheet shows for a right answer and, for a division, the remainder.\n"
    "The operation is read from FILE when such a file exists, else from the argument,\n"
    "else from standard input. An operation that starts with a minus sign follows \"--\".\n"
    "  --decimals N   decimals asked of a division, 0 to 4, as F2 asks them (default 0)\n"
    "Exit status: 0 written (operands too long are cut as the sheet cuts them, with its\n"
    "message on standard error), 1 refused with the sheet's message, 2 usage error.\n";

int calc(std::span<const std::string> args, Io& io) {
    Arguments a(args, {"--decimals"}, {});
    const std::optional<int> decimals =
        a.integer("--decimals", 0, 0, learning::kMaxDivisionDecimals);
    if (!a.ok() || !decimals || a.positional().size() > 1) {
        io.err << "tattilo-cli calc: "
               << (a.ok() ? std::string("give one operation or file") : a.error()) << '\n'
               << kCalcUsage;
        return kUsage;
    }
    std::string text;
    if (a.positional().empty() || std::filesystem::is_regular_file(a.positional().front())) {
        const std::optional<std::string> read =
            readInput(a.positional().empty() ? std::string() : a.positional().front(), io);
        if (!read) {
            return kFailed;
        }
        text = *read;
    } else {
        text = a.positional().front();
    }
    // The sheet's expression box holds one line.
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }

    namespace msg = learning::messages;
    const std::string_view problem = learning::selectionProblemText(learning::checkSelection(text));
    if (!problem.empty()) {
        io.err << problem << '\n';
        return kFailed;
    }
    learning::Prepared p = learning::prepare(learning::normaliseOperation(text));
    if (p.refusal == learning::Refusal::None && *decimals > 0) {
        if (p.operation.op != learning::kDivide) {
            io.err << "tattilo-cli calc: --decimals applies to a division only\n" << kCalcUsage;
            return kUsage;
        }
        for (int i = 0; i < *decimals; ++i) {
            p.operation.firstText = learning::withOneMoreDecimal(p.operation.firstText);
        }
        const bool cut = p.cut;
        p = learning::prepare(learning::normaliseOperation(learning::expressionText(p.operation)),
                              *decimals);
        p.cut = p.cut || cut;
    }
    switch (p.refusal) {
        case learning::Refusal::None:
            break;
        case learning::Refusal::Empty:
        case learning::Refusal::Invalid:
            io.err << msg::kInvalidExpression << '\n';
            return kFailed;
        case learning::Refusal::DivisionByZero:
            io.err << msg::kDivisionByZero << '\n';
            return kFailed;
    }
    if (p.cut) {
        io.err << msg::kOperandsTooLong << '\n';
    }

    const learning::AnswerKey key = learning::answerKey(p.operation, *decimals);
    io.out << learning::expressionText(p.operation) << '\n';
    for (const std::string& row : key.rows) {
        io.out << row << '\n';
    }
    if (key.overflow) {
        io.out.flush();
        io.err << msg::kOverflow << '\n';
        return kFailed;
    }
    io.out << key.result << '\n';
    if (!key.remainder.empty()) {
        io.out << key.remainder << '\n';
    }
    io.out.flush();
    return io.out ? kOk : kFailed;
}

}  // namespace

extern const Command kCalcCommand;
const Command kCalcCommand = {
    "calc", "the answer key of one written operation, as the calculation sheet lays it out",
    kCalcUsage, &calc};

}  // namespace cli
