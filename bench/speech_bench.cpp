// Spoken rendering speed: every key typed renders its line, and Up/Down renders a whole line in
// mode "all". Target: a 200-cell line in mode "all" well under 20 microseconds.

#include <benchmark/benchmark.h>

#include <string>

#include "speech/rendering.h"
#include "speech/sheet_voice.h"

namespace {

// A realistic mix: numbers, a fraction, a root with index, brackets, exponents, Greek letters,
// a logarithm with base, blanks.
std::string lineOf(std::size_t cells) {
    const std::string piece = "?#ab+6#cnp#d4*(9#c:#hbo-|x+#a1 >a=log.#b:#h {_y}%x% ";
    std::string line;
    while (line.size() < cells) {
        line += piece;
    }
    line.resize(cells);
    return line;
}

void renderAll(benchmark::State& state) {
    const std::string line = lineOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(speech::render("all", line));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(renderAll)->Arg(200)->Arg(1800)->Unit(benchmark::kMicrosecond);

void renderKey(benchmark::State& state) {
    const std::string line = lineOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(speech::render("key", line));
    }
}
BENCHMARK(renderKey)->Arg(200)->Unit(benchmark::kMicrosecond);

void sheetMessage(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(speech::sheetWords("E #abc(#de-#f/#g"));
    }
}
BENCHMARK(sheetMessage);

}  // namespace

BENCHMARK_MAIN();
