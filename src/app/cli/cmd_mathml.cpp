// tattilo-cli mathml: a document as the XHTML file with MathML that "Salva come Mathml" writes.

#include <cstring>
#include <ostream>

#include "app/cli/cli.h"
#include "editor/document_file.h"
#include "editor/file_io.h"
#include "notation/conversion.h"
#include "notation/formula_error_report.h"
#include "notation/mathml_export.h"

namespace cli {
namespace {

constexpr std::string_view kMathmlUsage =
    "Usage: tattilo-cli mathml [--from braille|latex] [-o OUT.xml] DOC.mtf\n"
    "Writes the document as one XHTML file with MathML, as \"Salva come Mathml\" does: every\n"
    "page that is not blank, with a navigation bar, page headings and separators.\n"
    "All pages are first converted from the named notation into the other one, as the\n"
    "window does before exporting; the export is made from the Braille pages.\n"
    "  --from braille   the Braille texts of the document are the current ones (default)\n"
    "  --from latex     the Latex-mode texts are: the Braille pages are made from them\n"
    "  -o OUT.xml       the file to write (default: DOC with the extension .xml); an\n"
    "                   existing file is replaced only once the new one is complete\n"
    "A page that fails to convert is reported on standard error and the export goes on\n"
    "with the pages as they then stand (with --from latex that page is left out).\n"
    "Exit status: 0 written, 1 written with pages reported or not written, 2 usage error.\n";

// Messages go to standard error, one line per line of the message.
class ErrorLines : public notation::FormulaErrorSink {
public:
    explicit ErrorLines(std::ostream& err) : err_(err) {}
    void formulaError(const std::string& message) override {
        std::string text = message;
        std::erase(text, '\r');
        err_ << text << '\n';
        ++count_;
    }
    int count() const { return count_; }

private:
    std::ostream& err_;
    int count_ = 0;
};

int mathml(std::span<const std::string> args, Io& io) {
    Arguments a(args, {"--from", "-o"}, {});
    const std::string from = a.value("--from").value_or("braille");
    if (!a.ok() || a.positional().size() != 1 || (from != "braille" && from != "latex")) {
        io.err << "tattilo-cli mathml: "
               << (!a.ok()                      ? a.error()
                   : a.positional().size() != 1 ? std::string("give one document file")
                                                : "--from takes braille or latex")
               << '\n'
               << kMathmlUsage;
        return kUsage;
    }
    const std::filesystem::path document = a.positional().front();
    const editor::ReadResult read = editor::readWholeFile(document);
    if (read.error != 0) {
        io.err << document.string() << ": " << std::strerror(read.error) << '\n';
        return kFailed;
    }
    editor::PageStore pages;
    if (!editor::parseDocument(read.bytes, pages)) {
        io.err << document.string() << ": " << editor::kMsgWrongFormat << '\n';
        return kFailed;
    }

    ErrorLines lines(io.err);
    notation::FormulaErrorReport report(&lines);
    notation::PageFlags unconverted{};
    const bool fromLatex = from == "latex";
    notation::convertAllPages(fromLatex ? notation::ConversionDirection::LatexToBraille
                                        : notation::ConversionDirection::BrailleToLatex,
                              pages.latex, pages.braille, report, &unconverted);
    // From Latex mode a refused page keeps a Braille text its Latex-mode text no longer says.
    for (std::size_t i = 0; i < pages.braille.size() && fromLatex; ++i) {
        if (unconverted[i]) {
            pages.braille[i].clear();
        }
    }

    std::filesystem::path out = document;
    out.replace_extension(".xml");
    if (const std::optional<std::string> named = a.value("-o")) {
        out = *named;
    }
    const std::string xml = notation::exportDocument(pages.braille, out);
    if (const int code = editor::writeFileSafely(out, xml); code != 0) {
        io.err << editor::writeErrorMessage(code, out.string()) << '\n';
        return kFailed;
    }
    return lines.count() == 0 ? kOk : kFailed;
}

}  // namespace

extern const Command kMathmlCommand{"mathml", "a document as XHTML with MathML (.xml)",
                                    kMathmlUsage, mathml};

}  // namespace cli
