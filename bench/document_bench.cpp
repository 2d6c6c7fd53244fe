// Loading and saving a full fifteen-page document, and the embosser layout of a long page.
// Targets: load and save each under 2 ms.

#include "editor/braille_print.h"
#include "editor/document_file.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Fifteen pages, each with forty lines of mathematics in both notations.
editor::PageStore fullDocument() {
    editor::PageStore pages;
    for (int page = 1; page <= editor::kPageCount; ++page) {
        std::string latex;
        std::string braille;
        for (int line = 0; line < 40; ++line) {
            latex += "\\frac{x^{2}+" + std::to_string(line) +
                     "}{\\sqrt{y-1}}+\\left(a+b\\right)\\cdot 3,14=\\alpha\r\n";
            braille += "6_x|#b1+#" + std::to_string(line) +
                       "np9_y-#ao4+?_a+_b*.#c,ad=\xE8\xE8_a+#,;:/?+=(*)\r\n";
        }
        pages.latexOf(page) = latex;
        pages.brailleOf(page) = braille;
    }
    return pages;
}

class Folder {
public:
    Folder() {
        std::string pattern = std::filesystem::temp_directory_path() / "document-bench-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void BM_SaveDocument(benchmark::State& state) {
    const editor::PageStore pages = fullDocument();
    Folder folder;
    const auto path = folder.path() / "bench.mtf";
    for (auto _ : state) {
        const editor::FileOutcome r = editor::saveDocument(path, pages);
        if (!r.ok) {
            state.SkipWithError(r.message.c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMicrosecond);

void BM_LoadDocument(benchmark::State& state) {
    Folder folder;
    const auto path = folder.path() / "bench.mtf";
    if (!editor::saveDocument(path, fullDocument()).ok) {
        state.SkipWithError("cannot write the document");
        return;
    }
    for (auto _ : state) {
        editor::PageStore pages;
        const editor::FileOutcome r = editor::loadDocument(path, pages);
        benchmark::DoNotOptimize(pages);
        if (!r.ok) {
            state.SkipWithError(r.message.c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMicrosecond);

void BM_EmbosserPage(benchmark::State& state) {
    const editor::PageStore pages = fullDocument();
    for (auto _ : state) {
        auto file = editor::embosserFile("bench.mtf", pages.brailleOf(1), 40, 25);
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(BM_EmbosserPage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
