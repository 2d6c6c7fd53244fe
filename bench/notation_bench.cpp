// A full document, fifteen pages of 1800 characters of school mathematics, converted in each
// direction, and the return translation of one exchange text. Target: each direction of the
// whole document under 1 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "notation/conversion.h"
#include "notation/filter_table.h"
#include "notation/return_translation.h"

namespace {

// Formulas of the kind students write, repeated up to 1800 characters a page.
std::string latexPage(int page) {
    static const char* const kLines[] = {
        "x^{2}+2x+1=(x+1)^{2}",
        "\\frac{a+b}{c-d}=\\frac{3}{4}",
        "\\sqrt{x^{2}+y^{2}}\\ne \\sqrt[3]{8}",
        "\\sum_{i=1}^{n}(i^{2})=\\frac{n(n+1)(2n+1)}{6}",
        "\\lim_{x\\to 0}\\frac{\\alpha x}{x}",
        "\\int_{0}^{1}(x^{2}+1)",
        "A\\cup B=\\{x\\in A\\}",
        "\\\\risolvere l'equazione\\\\ 3,14\\alpha+0,'3",
        "\\log_{2}(x)+e^{-x^{2}}",
    };
    std::string text;
    int i = page;
    while (true) {
        const std::string line = std::string(kLines[i % 9]) + "\r\n";
        if (text.size() + line.size() > 1800) {
            break;
        }
        text += line;
        ++i;
    }
    text.append(1800 - text.size(), 'y');
    return text;
}

struct Document {
    notation::PageTexts latex;
    notation::PageTexts braille;
    std::size_t latexBytes = 0;
    std::size_t brailleBytes = 0;

    Document() {
        for (int p = 0; p < 15; ++p) {
            latex[p] = latexPage(p);
            latexBytes += latex[p].size();
            const auto converted = notation::convertLatexToBraille(latex[p], p + 1);
            if (!converted.ok()) {
                brailleBytes = 0;
                return;
            }
            braille[p] = converted.text;
            brailleBytes += braille[p].size();
        }
    }
};

const Document& document() {
    static const Document d;
    return d;
}

void latexToBrailleDocument(benchmark::State& state) {
    const Document& d = document();
    if (d.brailleBytes == 0) {
        state.SkipWithError("the sample document does not convert");
        return;
    }
    for (auto _ : state) {
        for (int p = 0; p < 15; ++p) {
            auto result = notation::convertLatexToBraille(d.latex[p], p + 1);
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.latexBytes));
}
BENCHMARK(latexToBrailleDocument)->Unit(benchmark::kMicrosecond);

void brailleToLatexDocument(benchmark::State& state) {
    const Document& d = document();
    for (auto _ : state) {
        for (int p = 0; p < 15; ++p) {
            auto result = notation::convertBrailleToLatex(d.braille[p], p + 1);
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * d.brailleBytes));
}
BENCHMARK(brailleToLatexDocument)->Unit(benchmark::kMicrosecond);

void convertAllPagesBothWays(benchmark::State& state) {
    const Document& d = document();
    for (auto _ : state) {
        notation::PageTexts latex = d.latex;
        notation::PageTexts braille;
        notation::FormulaErrorReport report;
        notation::convertAllPages(notation::ConversionDirection::LatexToBraille, latex, braille,
                                  report);
        notation::convertAllPages(notation::ConversionDirection::BrailleToLatex, latex, braille,
                                  report);
        benchmark::DoNotOptimize(latex);
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * (d.latexBytes + d.brailleBytes)));
}
BENCHMARK(convertAllPagesBothWays)->Unit(benchmark::kMicrosecond);

// An exchange text as the editor saves it: the prepared formula of about 2000 characters.
void returnTranslation(benchmark::State& state) {
    notation::FilterTable table;
    notation::loadFilterTable(std::string(TATTILO_SOURCE_DIR) + "/data", "filtro.base", table);
    std::string text = "$";
    while (text.size() < 2000) {
        text +=
            "{a+b\\over c}\\ +\\ \\left|x\\right|^{2^{3}}\\ \\root\\ 3\\of{8}\\ ==\\ "
            "\\backslash \\backslash perche'\\backslash \\backslash \\ 0,\\overline{3}||";
    }
    text += "$";
    for (auto _ : state) {
        notation::FormulaErrorReport report;
        auto result = notation::returnTranslation(text, table, report);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(returnTranslation)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
