// to-braille, to-latex and from-tex: the notation engine on the command line.

#include <ostream>

#include "app/cli/cli.h"
#include "notation/bracket_balance.h"
#include "notation/conversion.h"
#include "notation/filter_table.h"
#include "notation/formula_error_report.h"
#include "notation/messages.h"
#include "notation/return_translation.h"

namespace cli {
namespace {

// Messages go to standard error with their line breaks as the terminal expects them.
class StderrSink : public notation::FormulaErrorSink {
public:
    explicit StderrSink(std::ostream& err) : err_(err) {}
    void formulaError(const std::string& message) override {
        std::string text;
        for (std::size_t i = 0; i < message.size(); ++i) {
            if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
                continue;
            }
            text += message[i];
        }
        err_ << text << '\n';
    }

private:
    std::ostream& err_;
};

// A conversion of one text of page `page`, refusals included.
using PageConversion = notation::Conversion (*)(std::string_view text, int page);

// Latex-mode text to Braille-mode text as the mode switch converts a page: the brackets must
// balance before anything is converted.
notation::Conversion toBrailleText(std::string_view latex, int page) {
    return notation::convertLatexPage(latex, page).conversion;
}

// Braille-mode text to Latex-mode text: the result's brackets must balance.
notation::Conversion toLatexText(std::string_view braille, int page) {
    notation::Conversion c = notation::convertBrailleToLatex(braille, page);
    if (c.ok() && notation::bracketBalance(c.text) != 0) {
        return {{}, notation::messages::onPage(page, notation::messages::kBrackets)};
    }
    return c;
}

// The refusal without its "Pagina N" line: in --lines mode the line number says where.
std::string withoutPage(const std::string& message) {
    const std::string prefix = notation::messages::onPage(1, "");
    return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

// [--page N | --lines] [FILE]: the whole input as one page, or one formula per line.
int runConversion(std::span<const std::string> args, Io& io, std::string_view usage,
                  PageConversion convert) {
    Arguments a(args, {"--page", "--threads"}, {"--lines"});
    const auto n = a.integer("--page", 1, 1, 15);
    const auto threads = a.integer("--threads", 0, 1, 16);
    const bool lines = a.flag("--lines");
    if (!a.ok() || !n || !threads || a.positional().size() > 1 || (lines && a.value("--page")) ||
        (!lines && a.value("--threads"))) {
        io.err << "tattilo-cli: "
               << (!a.ok() || !n || !threads   ? a.error()
                   : a.positional().size() > 1 ? std::string("too many files")
                   : lines ? std::string("--page and --lines exclude each other")
                           : std::string("--threads goes with --lines"))
               << "\n"
               << usage;
        return kUsage;
    }
    const std::string path = a.positional().empty() ? std::string() : a.positional()[0];
    if (lines) {
        return convertLines(
            path, io,
            [convert](std::string_view line, std::string& message) -> std::optional<std::string> {
                notation::Conversion c = convert(line, 1);
                if (!c.ok()) {
                    message = withoutPage(c.error);
                    return std::nullopt;
                }
                return std::move(c.text);
            },
            static_cast<std::size_t>(*threads));
    }
    const auto input = readInput(path, io);
    if (!input) {
        return kFailed;
    }
    const notation::Conversion c = convert(*input, *n);
    if (!c.ok()) {
        StderrSink(io.err).formulaError(c.error);
        return kFailed;
    }
    io.out << c.text;
    return kOk;
}

constexpr std::string_view kToBrailleUsage =
    "Usage: tattilo-cli to-braille [--page N | --lines [--threads N]] [FILE]\n"
    "Converts Latex-mode text (FILE, or standard input) to Braille-mode text, as the mode\n"
    "switch converts one page: the brackets must balance, and what the Braille notation\n"
    "cannot express is refused with the workbench's message on standard error.\n"
    "  --page N   the page number used in messages (1 to 15, default 1)\n"
    "  --lines    one formula per line: one output line per input line, in order; a\n"
    "             refused line gives an empty output line and \"line N: \" with its message\n"
    "             on standard error\n"
    "  --threads N with --lines, convert on N threads (1 to 16; default one per\n"
    "             processor, four at most); the output is the same\n"
    "Exit status: 0 converted, 1 refused (any line, with --lines) or unreadable, 2 usage\n"
    "error.\n";

constexpr std::string_view kToLatexUsage =
    "Usage: tattilo-cli to-latex [--page N | --lines [--threads N]] [FILE]\n"
    "Converts Braille-mode text (ASCII braille cells, FILE or standard input) to Latex-mode\n"
    "text, as the mode switch converts one page; the result's brackets must balance.\n"
    "  --page N   the page number used in messages (1 to 15, default 1)\n"
    "  --lines    one formula per line: one output line per input line, in order; a\n"
    "             refused line gives an empty output line and \"line N: \" with its message\n"
    "             on standard error\n"
    "  --threads N with --lines, convert on N threads (1 to 16; default one per\n"
    "             processor, four at most); the output is the same\n"
    "Exit status: 0 converted, 1 refused (any line, with --lines) or unreadable, 2 usage\n"
    "error.\n";

constexpr std::string_view kFromTexUsage =
    "Usage: tattilo-cli from-tex --filter FILTERFILE [FILE]\n"
    "Translates what a graphic formula editor saved in the exchange file (FILE or standard\n"
    "input, its lines already joined) back into Latex-mode text, with the rules of the\n"
    "filter file (for example filtro.base beside the program). A final line end of the\n"
    "file is not part of the text; the last character of the text (the closing \"$\") is\n"
    "never part of the result.\n"
    "Exit status: 0 translated, 1 refused or a file missing, 2 usage error.\n";

int toBraille(std::span<const std::string> args, Io& io) {
    return runConversion(args, io, kToBrailleUsage, toBrailleText);
}

int toLatex(std::span<const std::string> args, Io& io) {
    return runConversion(args, io, kToLatexUsage, toLatexText);
}

int fromTex(std::span<const std::string> args, Io& io) {
    Arguments a(args, {"--filter"}, {});
    const auto filter = a.value("--filter");
    if (!a.ok() || !filter || a.positional().size() > 1) {
        io.err << "tattilo-cli: "
               << (!a.ok() ? a.error() : (!filter ? "--filter is required" : "too many files"))
               << "\n"
               << kFromTexUsage;
        return kUsage;
    }
    notation::FilterTable table;
    if (notation::loadFilterFile(*filter, table) == notation::FilterLoad::Missing) {
        io.err << *filter << ": " << notation::messages::kFilterMissing << '\n';
        return kFailed;
    }
    auto text = readInput(a.positional().empty() ? "" : a.positional()[0], io);
    if (!text) {
        return kFailed;
    }
    // The final line end belongs to the file, not to the joined exchange text.
    if (text->ends_with("\r\n")) {
        text->resize(text->size() - 2);
    } else if (text->ends_with('\n')) {
        text->pop_back();
    }
    StderrSink sink(io.err);
    notation::FormulaErrorReport report(&sink);
    const std::string latex = notation::returnTranslation(*text, table, report);
    if (latex.empty() && !report.message().empty()) {
        return kFailed;
    }
    io.out << latex;
    return kOk;
}

}  // namespace

extern const Command kToBrailleCommand{"to-braille", "Latex-mode text to Braille-mode text",
                                       kToBrailleUsage, toBraille};
extern const Command kToLatexCommand{"to-latex", "Braille-mode text to Latex-mode text",
                                     kToLatexUsage, toLatex};
extern const Command kFromTexCommand{"from-tex", "graphic editor TeX back to Latex-mode text",
                                     kFromTexUsage, fromTex};

}  // namespace cli
