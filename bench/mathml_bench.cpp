// The MathML export of a full document and the hand-off's preparation of a formula at the
// length limit. Run by hand: make bench (or build/bench/mathml_bench).
#include "notation/handoff_outgoing.h"
#include "notation/handoff_return.h"
#include "notation/mathml_export.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

// Pieces of Braille-mode text covering every kind of construct.
constexpr std::array<std::string_view, 12> kPieces = {
    "_x+#a=",          "6_anp_b4+",   "#:d-",   "9#c:_x+#ao",         "?_a+_b*|_n+#a1", "_x#b1+",
    "<S_i=#a,_n:?_i*", "7#j,#a:?_x*", ">a+<D:", "lim._x:o#j6#anp_x4", "log.#b:_x",      "%_x%2=#e"};

std::string fullPage(std::size_t cells) {
    std::string page = "\\\\Esercizio\\\\\r\n";
    std::size_t lineLength = 0;
    for (std::size_t i = 0; page.size() < cells; ++i) {
        const std::string_view piece = kPieces[i % kPieces.size()];
        page += piece;
        lineLength += piece.size();
        if (lineLength > 60) {
            page += "\r\n";
            lineLength = 0;
        }
    }
    return page;
}

void exportFullDocument(benchmark::State& state) {
    std::array<std::string, 15> pages;
    pages.fill(fullPage(1800));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string xml = notation::exportDocument(pages, "esercizio000.xml");
        bytes += 15 * 1800;
        benchmark::DoNotOptimize(xml.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(exportFullDocument)->Unit(benchmark::kMillisecond);

void prepareLongestFormula(benchmark::State& state) {
    std::string formula;
    while (formula.size() < 1790) {
        formula += "\\frac{a}{b}+%x%-0,'3 \\\\perch\xE9\\\\ ";
    }
    formula.resize(1798);
    for (auto _ : state) {
        const notation::OutgoingFormula out = notation::prepareOutgoing(formula, 1, false, {});
        benchmark::DoNotOptimize(out.exchangeLine.data());
        const notation::ReadBack back =
            notation::readBackExchange(notation::exchangeFileContent(out.exchangeLine));
        benchmark::DoNotOptimize(back.text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1798);
}
BENCHMARK(prepareLongestFormula)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
