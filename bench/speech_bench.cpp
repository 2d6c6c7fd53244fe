// Speech speed.
//
// Rendering: every key typed renders its line, and Up/Down renders a whole line in mode
// "all". Target: a 200-cell line in mode "all" well under 20 microseconds.
//
// First sound (espeak-ng): from the request to the first synthesised sample handed to the
// sound output, for a 10-cell and a 200-cell line read in mode "all", each request cutting
// off the one before it as typing does. Target: under 20 ms at the 95th percentile.
//
// Playback margin (espeak-ng): a long line is synthesised a piece at a time while it plays.
// For each chunk of audio after the first, how long before it is due (playing from the first
// sample at the pace it is heard) it was ready. Target: never late (late_chunks 0), that is
// playback never waits for the next piece.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/rendering.h"
#include "speech/sheet_voice.h"
#include "speech/speech_reader.h"

#if defined(TATTILO_HAVE_ESPEAK)
#include "speech/backends/espeak/audio_device.h"
#include "speech/backends/espeak/espeak_engine.h"
#endif

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

#if defined(TATTILO_HAVE_ESPEAK)

using Clock = std::chrono::steady_clock;

// A sound output that takes every chunk at once and notes when each came.
struct Arrivals {
    std::mutex mutex;
    std::condition_variable came;
    std::vector<std::pair<Clock::time_point, std::size_t>> chunks;  // when, how many samples
};

class TimedOutput final : public speech::SoundOutput {
public:
    explicit TimedOutput(Arrivals* arrivals) : arrivals_(arrivals) {}
    bool write(const std::int16_t*, std::size_t count) override {
        {
            std::lock_guard lock(arrivals_->mutex);
            arrivals_->chunks.emplace_back(Clock::now(), count);
        }
        arrivals_->came.notify_all();
        return true;
    }
    void flush() override {}

private:
    Arrivals* arrivals_;
};

speech::SpeechReader timedReader(Arrivals& arrivals, int& sampleRate) {
    std::unique_ptr<speech::Engine> engine =
        speech::EspeakEngine::create({}, [&arrivals, &sampleRate](int rate) {
            sampleRate = rate;
            return std::make_unique<TimedOutput>(&arrivals);
        });
    speech::prepareEngine(engine.get());
    return speech::SpeechReader(std::move(engine), nullptr);
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void firstSound(benchmark::State& state) {
    Arrivals arrivals;
    int sampleRate = 0;
    speech::SpeechReader reader = timedReader(arrivals, sampleRate);
    const speech::Request request{"", "all", "50",
                                  lineOf(static_cast<std::size_t>(state.range(0)))};
    std::vector<double> latencies;
    for (auto _ : state) {
        std::unique_lock lock(arrivals.mutex);
        arrivals.chunks.clear();
        lock.unlock();
        const auto asked = Clock::now();
        reader.submit(request);  // stops what the request before it was saying
        lock.lock();
        arrivals.came.wait(lock, [&] { return !arrivals.chunks.empty(); });
        const double latency = milliseconds(arrivals.chunks.front().first - asked);
        lock.unlock();
        latencies.push_back(latency);
        state.SetIterationTime(latency / 1000.0);
        // The next key comes while this line is still being synthesised.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    reader.engine()->stop();
    state.counters["p50_ms"] = percentile(latencies, 0.50);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["max_ms"] = percentile(latencies, 1.0);
}
BENCHMARK(firstSound)
    ->Arg(10)
    ->Arg(200)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

void playbackMargin(benchmark::State& state) {
    Arrivals arrivals;
    int sampleRate = 0;
    speech::SpeechReader reader = timedReader(arrivals, sampleRate);
    const speech::Request request{"", "all", "50",
                                  lineOf(static_cast<std::size_t>(state.range(0)))};
    double smallestMargin = 1e9;
    int late = 0;
    double audioSeconds = 0;
    for (auto _ : state) {
        std::unique_lock lock(arrivals.mutex);
        arrivals.chunks.clear();
        lock.unlock();
        reader.submit(request);
        lock.lock();
        // The output takes the audio at once, so the line is synthesised when no more comes
        // for a while (waiting for the engine would wait until the line had been heard).
        for (std::size_t seen = 0;
             arrivals.came.wait_for(lock, std::chrono::milliseconds(500),
                                    [&] { return arrivals.chunks.size() != seen; });) {
            seen = arrivals.chunks.size();
        }
        reader.engine()->stop();
        const auto& chunks = arrivals.chunks;
        std::size_t before = 0;  // samples due before this chunk
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            const auto due =
                chunks.front().first +
                std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(static_cast<double>(before) / sampleRate));
            const double margin = milliseconds(due - chunks[i].first);
            late += margin < 0 ? 1 : 0;
            if (i > 0) {
                smallestMargin = std::min(smallestMargin, margin);
            }
            before += chunks[i].second;
        }
        audioSeconds = static_cast<double>(before) / sampleRate;
    }
    state.counters["audio_s"] = audioSeconds;
    state.counters["late_chunks"] = late;
    state.counters["smallest_margin_ms"] = smallestMargin;
}
BENCHMARK(playbackMargin)->Arg(200)->Arg(1800)->Iterations(5)->Unit(benchmark::kMillisecond);

#endif

}  // namespace

BENCHMARK_MAIN();
