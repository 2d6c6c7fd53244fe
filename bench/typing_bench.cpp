// Typing never waits for speech: a key typed into the Braille editor, with speech on and the
// real espeak-ng engine behind the speech reader, costs what the window and the reader do on
// the window's thread (the rendering, a stop, queueing the words), not the synthesis, which the
// engine's worker does meanwhile. The synthesis of the same key is measured beside it (and the
// audio of one letter lasts about a third of a second).
// Target: a key through the window well under 1 ms, below the synthesis of its words, and the
// same with the recovery of unsaved work attached.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "../tests/editor/workbench_harness.h"
#include "editor/recovery/document_recovery.h"
#include "speech/engine.h"
#include "speech/speech_reader.h"

namespace {

// The real engine, into memory: nothing is played while the benchmark runs.
std::unique_ptr<speech::Engine> realEngine() {
    return speech::createEngine({.programDirectory = {}, .output = speech::AudioOutput::Memory});
}

// One key typed at the end of a line of 40 cells, through the whole window: key down, key press
// (the speech request of the key), key up.
void keyThroughTheWindow(benchmark::State& state) {
    testing_support::ProgramFolder folder;
    folder.complete();
    testing_support::WorkbenchWindow w(folder);
    auto engine = realEngine();
    if (!engine) {
        state.SkipWithError("no speech engine");
        return;
    }
    speech::Engine* raw = engine.get();
    w.workbench->startSpeechReader(std::move(engine));
    w.start();
    const std::string line = "#ab+6#cnp#d4*(9#c:#hbo-|x+#a1 >a=#b:#h ";
    for (auto _ : state) {
        state.PauseTiming();
        w.memo2.setText(line);
        w.memo2.setSelStart(line.size());
        raw->takeAudio();
        state.ResumeTiming();
        w.form.pressKey(ui::vk::kA, 0, 'a');
    }
    raw->stop();
}
BENCHMARK(keyThroughTheWindow)->Unit(benchmark::kMicrosecond);

// The same key with the recovery of unsaved work attached, as the program runs: the key only
// notes the time of the change; copies are written on the recovery timer's ticks.
void keyThroughTheWindowWithRecovery(benchmark::State& state) {
    testing_support::ProgramFolder folder;
    folder.complete();
    ui::memory::MemoryTimer timer{500, false};
    testing_support::WorkbenchWindow w(folder);
    w.workbench->startRecovery(timer, {folder.path / "recupero", false});
    auto engine = realEngine();
    if (!engine) {
        state.SkipWithError("no speech engine");
        return;
    }
    speech::Engine* raw = engine.get();
    w.workbench->startSpeechReader(std::move(engine));
    w.start();
    const std::string line = "#ab+6#cnp#d4*(9#c:#hbo-|x+#a1 >a=#b:#h ";
    for (auto _ : state) {
        state.PauseTiming();
        w.memo2.setText(line);
        w.memo2.setSelStart(line.size());
        raw->takeAudio();
        state.ResumeTiming();
        w.form.pressKey(ui::vk::kA, 0, 'a');
    }
    raw->stop();
}
BENCHMARK(keyThroughTheWindowWithRecovery)->Unit(benchmark::kMicrosecond);

// What the window's thread does when a copy is due, for a document of fifteen full pages in
// both notations: the snapshot of the pages and the copy's bytes, handed to the writer's thread
// (the write itself and its sync to disk run there, not here). Timed from the tick.
void recoveryCopyOnTheWindowThread(benchmark::State& state) {
    testing_support::ProgramFolder folder;
    folder.complete();
    ui::memory::MemoryTimer timer{500, false};
    testing_support::WorkbenchWindow w(folder);
    w.workbench->startRecovery(timer, {folder.path / "recupero", false});
    auto now = std::chrono::steady_clock::now();
    editor::DocumentRecovery& recovery = *w.workbench->recovery();
    recovery.setClock([&now] { return now; });
    w.start();
    const std::string line = "#ab+6#cnp#d4*(9#c:#hbo-|x+#a1 >a=#b:#h\r\n";
    std::string page;
    while (page.size() < 1800) {
        page += line;
    }
    editor::PageStore pages;
    pages.latex.fill(page);
    pages.braille.fill(page);
    w.logic->putDocument(pages, 1, true);
    for (auto _ : state) {
        state.PauseTiming();
        w.memo2.setSelStart(0);
        w.form.pressKey(ui::vk::kA, 0, 'a');
        now += std::chrono::seconds(3);
        state.ResumeTiming();
        timer.fire();
        state.PauseTiming();
        recovery.finishWriting();
        state.ResumeTiming();
    }
}
BENCHMARK(recoveryCopyOnTheWindowThread)->Unit(benchmark::kMicrosecond);

// The same key's words synthesised to the end, as the engine's worker does after the key.
void synthesisOfAKey(benchmark::State& state) {
    auto engine = realEngine();
    if (!engine) {
        state.SkipWithError("no speech engine");
        return;
    }
    speech::prepareEngine(engine.get());
    speech::SpeechReader reader(std::move(engine), nullptr);
    const speech::Request request{"", "key", "", "#ab+6#cnp#d4*(9#c:#hbo-|x+#a1 >a=#b:#h a"};
    for (auto _ : state) {
        reader.submit(request);
        reader.engine()->synchronize();
        benchmark::DoNotOptimize(reader.engine()->takeAudio());
    }
}
BENCHMARK(synthesisOfAKey)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
