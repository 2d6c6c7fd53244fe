// The linear view is redrawn after every key typed in the Braille editor, so a redraw must not
// keep typing waiting. Measured: the visible lines of a full page (20 lines of 100 cells, full
// of fractions, roots, exponents and symbols) laid out with the real fonts and painted into an
// image of the strip's size, as the strip does; and the layout alone with fixed widths.
// Target: a whole redraw under 2 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "gui/linear_view_widget.h"
#include "notation/linear_layout.h"

namespace {

std::vector<std::string> fullPage() {
    const std::string pattern = "6_a+_bnp_c4=9#c:_x+#ao+_x|#b1+>a<+>b!2$n log.#b:#h ";
    std::vector<std::string> lines;
    for (int k = 0; k < 20; ++k) {
        std::string line;
        while (line.size() < 100) {
            line += pattern;
        }
        line.resize(100);
        lines.push_back(line);
    }
    return lines;
}

void layoutOnly(benchmark::State& state) {
    const std::vector<std::string> page = fullPage();
    const notation::FixedMetrics metrics;
    for (auto _ : state) {
        for (std::size_t k = 0; k < page.size(); ++k) {
            benchmark::DoNotOptimize(
                notation::layoutCells(page[k], k == 10 ? 50 : notation::kNoCaret, metrics));
        }
    }
}
BENCHMARK(layoutOnly)->Unit(benchmark::kMicrosecond);

void redrawFullPage(benchmark::State& state) {
    const std::vector<std::string> page = fullPage();
    gui::LinearViewWidget view;
    QImage strip(1200, 20 * 46, QImage::Format_RGB32);
    for (auto _ : state) {
        std::vector<notation::DisplayLine> lines;
        for (std::size_t k = 0; k < page.size(); ++k) {
            lines.push_back(
                notation::layoutCells(page[k], k == 10 ? 50 : notation::kNoCaret, view.metrics()));
        }
        const std::vector<notation::LinePlace> places =
            notation::placeLines(lines, 46, strip.height(), 10);
        strip.fill(Qt::white);
        QPainter painter(&strip);
        gui::paintDisplayLines(painter, view.fonts(), view.textCache(), lines, places);
    }
}
BENCHMARK(redrawFullPage)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
