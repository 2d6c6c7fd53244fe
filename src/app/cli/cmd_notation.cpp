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

// Reads the arguments shared by the two conversions, [--page N] [FILE], and the input text.
// Returns kOk, or the exit status of the failure (already explained on standard error).
int conversionInput(std::span<const std::string> args, Io& io, std::string_view usage, int& page,
                    std::string& text) {
    Arguments a(args, {"--page"}, {});
    const auto n = a.integer("--page", 1, 1, 15);
    if (!a.ok() || !n || a.positional().size() > 1) {
        io.err << "tattilo-cli: " << (a.ok() ? "too many files" : a.error()) << "\n" << usage;
        return kUsage;
    }
    page = *n;
    auto input = readInput(a.positional().empty() ? "" : a.positional()[0], io);
    if (!input) {
        return kFailed;
    }
    text = std::move(*input);
    return kOk;
}

constexpr std::string_view kToBrailleUsage =
    "Usage: tattilo-cli to-braille [--page N] [FILE]\n"
    "Converts Latex-mode text (FILE, or standard input) to Braille-mode text, as the mode\n"
    "switch converts one page: the brackets must balance, and what the Braille notation\n"
    "cannot express is refused with the workbench's message on standard error.\n"
    "  --page N   the page number used in messages (1 to 15, default 1)\n"
    "Exit status: 0 converted, 1 refused or unreadable, 2 usage error.\n";

constexpr std::string_view kToLatexUsage =
    "Usage: tattilo-cli to-latex [--page N] [FILE]\n"
    "Converts Braille-mode text (ASCII braille cells, FILE or standard input) to Latex-mode\n"
    "text, as the mode switch converts one page; the result's brackets must balance.\n"
    "  --page N   the page number used in messages (1 to 15, default 1)\n"
    "Exit status: 0 converted, 1 refused or unreadable, 2 usage error.\n";

constexpr std::string_view kFromTexUsage =
    "Usage: tattilo-cli from-tex --filter FILTERFILE [FILE]\n"
    "Translates what a graphic formula editor saved in the exchange file (FILE or standard\n"
    "input, its lines already joined) back into Latex-mode text, with the rules of the\n"
    "filter file (for example filtro.base beside the program). A final line end of the\n"
    "file is not part of the text; the last character of the text (the closing \"$\") is\n"
    "never part of the result.\n"
    "Exit status: 0 translated, 1 refused or a file missing, 2 usage error.\n";

int toBraille(std::span<const std::string> args, Io& io) {
    int page = 1;
    std::string text;
    if (const int status = conversionInput(args, io, kToBrailleUsage, page, text); status != kOk) {
        return status;
    }
    StderrSink sink(io.err);
    notation::FormulaErrorReport report(&sink);
    if (notation::bracketBalance(text) != 0) {
        report.report(notation::messages::onPage(page, notation::messages::kBrackets));
        return kFailed;
    }
    const std::string braille = notation::latexToBraille(text, page, report);
    if (report.raised()) {
        return kFailed;
    }
    io.out << braille;
    return kOk;
}

int toLatex(std::span<const std::string> args, Io& io) {
    int page = 1;
    std::string text;
    if (const int status = conversionInput(args, io, kToLatexUsage, page, text); status != kOk) {
        return status;
    }
    StderrSink sink(io.err);
    notation::FormulaErrorReport report(&sink);
    const std::string latex = notation::brailleToLatex(text, page, report);
    if (report.raised()) {
        return kFailed;
    }
    if (notation::bracketBalance(latex) != 0) {
        report.report(notation::messages::onPage(page, notation::messages::kBrackets));
        return kFailed;
    }
    io.out << latex;
    return kOk;
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
