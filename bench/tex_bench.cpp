// Merging 500 font metric files into TFM.LIB, as the TeX system's finishing step does: into a
// new library, and over a library that already holds the same 500 fonts (every entry
// replaced). The metric files are the Computer Modern .tfm files of the tests, under 500
// names. The target is under 50 ms per merge.
//
// INSTELLO_BENCH_DIR chooses where the sandbox goes (default: the temporary folder).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "installer/system/sandbox/sandbox_system.h"
#include "installer/tex/font_library.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFonts = 500;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Machine {
    fs::path root;
    std::unique_ptr<installer::system::SandboxSystem> sys;
    std::vector<std::string> files;
    const std::string library = "C:\\KORVO\\BIN\\TFM.LIB";

    Machine() {
        const char* dir = std::getenv("INSTELLO_BENCH_DIR");
        std::string pattern =
            ((dir ? fs::path(dir) : fs::temp_directory_path()) / "tfmlib-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        root = pattern;
        sys = std::make_unique<installer::system::SandboxSystem>(root);
        const fs::path bin = root / "C" / "KORVO" / "BIN";
        fs::create_directories(bin);
        std::vector<std::string> metrics;
        for (const auto& entry : fs::directory_iterator(fs::path(TATTILO_SOURCE_DIR) /
                                                        "tests/data/installer/tex/tfm")) {
            metrics.push_back(readAll(entry.path()));
        }
        for (int i = 0; i < kFonts; ++i) {
            const std::string name = "font" + std::to_string(i) + ".tfm";
            std::ofstream(bin / name, std::ios::binary) << metrics[i % metrics.size()];
            files.push_back("C:\\KORVO\\BIN\\" + name);
        }
    }
    ~Machine() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

Machine& machine() {
    static Machine m;
    return m;
}

void BM_MergeIntoNewLibrary(benchmark::State& state) {
    Machine& m = machine();
    for (auto _ : state) {
        state.PauseTiming();
        m.sys->deleteFile(m.library);
        state.ResumeTiming();
        installer::tex::mergeFontLibrary(*m.sys, m.library, m.files);
    }
    state.SetItemsProcessed(state.iterations() * kFonts);
}
BENCHMARK(BM_MergeIntoNewLibrary)->Unit(benchmark::kMillisecond);

void BM_MergeOverFullLibrary(benchmark::State& state) {
    Machine& m = machine();
    installer::tex::mergeFontLibrary(*m.sys, m.library, m.files);
    for (auto _ : state) {
        installer::tex::mergeFontLibrary(*m.sys, m.library, m.files);
    }
    state.SetItemsProcessed(state.iterations() * kFonts);
}
BENCHMARK(BM_MergeOverFullLibrary)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
