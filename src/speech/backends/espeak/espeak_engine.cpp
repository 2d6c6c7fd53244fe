#include "speech/backends/espeak/espeak_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "speech/backends/espeak/audio_device.h"
#include "speech/backends/espeak/espeak_library.h"
#include "speech/backends/espeak/text_utf8.h"
#include "speech/wave_file.h"

namespace speech {
namespace {

// synchronize() gives up when the worker has made no progress for this long past the end of
// the audio it wrote: a stalled sound device must not freeze the window.
constexpr auto kStallLimit = std::chrono::seconds(3);

// The voices of the language dialects the engine knows.
const char* voiceOfDialect(int dialect) {
    switch (dialect) {
        case 0x10000:
            return "en-us";
        case 0x10001:
            return "en";
        case 0x20000:
            return "es";
        case 0x30000:
            return "fr";
        case 0x40000:
            return "de";
        case kDialectStandardItalian:
            return "it";
        default:
            return nullptr;
    }
}

// The first piece of an utterance: one short phrase, a few seconds of speech, synthesised in
// a few milliseconds. Later pieces: about half a minute of speech each.
constexpr std::size_t kFirstPieceBytes = 48;
constexpr std::size_t kPieceBytes = 500;

// The next piece is synthesised once less than this much audio waits to be played: far more
// than it takes to synthesise one.
constexpr int kAheadSeconds = 5;

// Audio is handed to the device in chunks this long, so that a stop, or a new request, is
// heard within one chunk even while the device's buffer is full.
constexpr int kChunkMilliseconds = 20;

}  // namespace

int wordsPerMinute(int speed) {
    return std::clamp(static_cast<int>(std::lround(speed * 3.5)), 80, 450);
}

std::unique_ptr<EspeakEngine> EspeakEngine::create(const EngineOptions& options) {
    return create(options, [](int sampleRate) -> std::unique_ptr<SoundOutput> {
        return AudioDevice::open(sampleRate);
    });
}

std::unique_ptr<EspeakEngine> EspeakEngine::create(const EngineOptions& options,
                                                   OutputOpener openOutput) {
    EspeakLibrary& library = EspeakLibrary::instance();
    if (!library.start(options.programDirectory)) {
        return nullptr;
    }
    std::filesystem::path wavFolder;
    if (const char* folder = std::getenv("TATTILO_SPEECH_WAV_DIR");
        folder != nullptr && *folder != '\0' && options.output == AudioOutput::Device) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        wavFolder = folder;
    }
    return std::unique_ptr<EspeakEngine>(new EspeakEngine(
        options.output, library.sampleRate(), std::move(wavFolder), std::move(openOutput)));
}

std::vector<std::string> EspeakEngine::inputFor(const SpokenText& words) {
    EspeakLibrary& library = EspeakLibrary::instance();
    std::vector<std::string> input;
    if (!library.start({})) {
        return input;
    }
    for (const SpokenText& piece :
         cutIntoPieces(separatedTokens(words), kFirstPieceBytes, kPieceBytes)) {
        input.push_back(library.inputText(piece, voiceOfDialect(kDialectStandardItalian)));
    }
    return input;
}

EspeakEngine::EspeakEngine(AudioOutput output, int sampleRate, std::filesystem::path wavFolder,
                           OutputOpener openOutput)
    : output_(output),
      sampleRate_(sampleRate),
      wavFolder_(std::move(wavFolder)),
      openOutput_(std::move(openOutput)) {
    audio_.sampleRate = sampleRate;
    synthesiser_ = std::thread([this] { synthesiseJobs(); });
    if (output_ == AudioOutput::Device) {
        player_ = std::thread([this] { playBlocks(); });
    }
}

EspeakEngine::~EspeakEngine() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        ++generation_;
        jobs_.clear();
        blocks_.clear();
        queuedSamples_ = 0;
    }
    changed_.notify_all();
    synthesiser_.join();
    if (player_.joinable()) {
        player_.join();
    }
}

int EspeakEngine::setParam(int param, int value) {
    std::lock_guard lock(mutex_);
    if (param != kParamLanguageDialect || voiceOfDialect(value) == nullptr) {
        return -1;
    }
    return std::exchange(dialect_, value);
}

int EspeakEngine::setVoiceParam(int voice, int param, int value) {
    std::lock_guard lock(mutex_);
    if (voice != kVoiceActive || param != kVoiceParamSpeed) {
        return -1;
    }
    return std::exchange(speed_, std::clamp(value, 0, 250));
}

bool EspeakEngine::addText(std::string_view text) {
    std::lock_guard lock(mutex_);
    // Text queued in several calls runs on as one text, as the engine's other backends read it.
    if (!pending_.tokens.empty() && pending_.tokens.back().kind == TokenKind::Words) {
        pending_.extendLast(text, TokenKind::Words);
    } else {
        pending_.append(text, TokenKind::Words);
    }
    return true;
}

bool EspeakEngine::addWords(const SpokenText& words) {
    std::lock_guard lock(mutex_);
    appendSeparated(pending_, words);
    return true;
}

bool EspeakEngine::synthesize() {
    {
        std::lock_guard lock(mutex_);
        if (pending_.text.empty()) {
            return true;
        }
        jobs_.push_back(Job{cutIntoPieces(pending_, kFirstPieceBytes, kPieceBytes),
                            voiceOfDialect(dialect_), wordsPerMinute(speed_), generation_,
                            ++serial_});
        pending_.clear();
        if (!synthBusy_ && !playBusy_) {
            // Threads that never take the job (the sound output does not open) count as
            // stalled from now on.
            lastActivity_ = Clock::now();
        }
    }
    changed_.notify_all();
    return true;
}

bool EspeakEngine::speaking() {
    std::lock_guard lock(mutex_);
    return !jobs_.empty() || !blocks_.empty() || (synthBusy_ && synthGeneration_ == generation_) ||
           (playBusy_ && playGeneration_ == generation_);
}

bool EspeakEngine::stop() {
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();
        blocks_.clear();
        queuedSamples_ = 0;
        pending_.clear();
        ++generation_;
    }
    changed_.notify_all();
    return true;
}

bool EspeakEngine::synchronize() {
    std::unique_lock lock(mutex_);
    const auto busy = [this] {
        return !jobs_.empty() || !blocks_.empty() || synthBusy_ || playBusy_;
    };
    while (busy()) {
        changed_.wait_for(lock, std::chrono::milliseconds(100));
        if (busy() && Clock::now() > std::max(lastActivity_, playEnd_) + kStallLimit) {
            jobs_.clear();
            blocks_.clear();
            queuedSamples_ = 0;
            ++generation_;
            changed_.notify_all();
            return false;
        }
    }
    return true;
}

Pcm EspeakEngine::takeAudio() {
    std::lock_guard lock(mutex_);
    Pcm taken = std::move(audio_);
    audio_ = Pcm{};
    audio_.sampleRate = sampleRate_;
    return taken;
}

bool EspeakEngine::current(unsigned long generation) {
    std::lock_guard lock(mutex_);
    return !quit_ && generation == generation_;
}

void EspeakEngine::synthesiseJobs() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
        if (quit_) {
            break;
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        if (job.generation != generation_) {
            continue;
        }
        synthBusy_ = true;
        synthGeneration_ = job.generation;
        lastActivity_ = Clock::now();
        lock.unlock();

        std::shared_ptr<const std::string> words;
        if (!wavFolder_.empty()) {
            std::string all;
            for (const SpokenText& piece : job.pieces) {
                all += piece.text;
            }
            words = std::make_shared<const std::string>(cp1252ToUtf8(all));
        }
        const std::size_t ahead = static_cast<std::size_t>(sampleRate_) * kAheadSeconds;
        for (const SpokenText& piece : job.pieces) {
            lock.lock();
            changed_.wait(lock, [&] {
                return quit_ || job.generation != generation_ || queuedSamples_ < ahead;
            });
            lock.unlock();
            // The samples go to the player as they come: the first sound of a line is ready
            // as soon as the library has made its first few milliseconds.
            const EspeakLibrary::SampleSink sink = [&](const std::int16_t* from,
                                                       std::size_t count) {
                std::lock_guard guard(mutex_);
                if (quit_ || job.generation != generation_) {
                    return false;
                }
                lastActivity_ = Clock::now();
                if (output_ == AudioOutput::Memory) {
                    audio_.samples.insert(audio_.samples.end(), from, from + count);
                } else {
                    blocks_.push_back(Block{std::vector<std::int16_t>(from, from + count),
                                            job.generation, job.serial, false, words});
                    queuedSamples_ += count;
                    changed_.notify_all();
                }
                return true;
            };
            if (!current(job.generation)) {
                break;
            }
            EspeakLibrary::instance().synthesize(piece, job.voice, job.wordsPerMinute, sink);
        }
        if (output_ == AudioOutput::Device) {
            // The end of the utterance, for the player.
            std::lock_guard guard(mutex_);
            if (!quit_ && job.generation == generation_) {
                blocks_.push_back(Block{{}, job.generation, job.serial, true, words});
            }
        }
        changed_.notify_all();
        lock.lock();
        synthBusy_ = false;
        changed_.notify_all();
    }
}

void EspeakEngine::playBlocks() {
    // Opened here, not in the constructor: connecting to a sound server may take a while and
    // the window must not wait for it.
    std::unique_ptr<SoundOutput> device;
    if (openOutput_) {
        device = openOutput_(sampleRate_);
    }
    Recording recording;
    std::unique_lock lock(mutex_);
    for (;;) {
        // A recording cut short by a stop between two pieces is written as it stands.
        const auto cutShort = [&] {
            return recording.words != nullptr && recording.generation != generation_;
        };
        changed_.wait(lock, [&] { return quit_ || !blocks_.empty() || cutShort(); });
        if (quit_) {
            break;
        }
        if (blocks_.empty()) {
            lock.unlock();
            finishRecording(recording);
            lock.lock();
            continue;
        }
        Block block = std::move(blocks_.front());
        blocks_.pop_front();
        queuedSamples_ -= block.samples.size();
        playBusy_ = true;
        playGeneration_ = block.generation;
        lastActivity_ = Clock::now();
        playEnd_ = std::max(playEnd_, lastActivity_);
        lock.unlock();
        changed_.notify_all();  // room for the next piece

        if (recording.serial != block.serial) {
            finishRecording(recording);
            recording = Recording{block.serial, block.generation, block.words, {}};
        }
        const std::size_t played = play(block, device);
        if (recording.words != nullptr) {
            recording.samples.insert(recording.samples.end(), block.samples.begin(),
                                     block.samples.begin() + static_cast<std::ptrdiff_t>(played));
        }

        lock.lock();
        if (device != nullptr) {
            // The device may hold a good part of the audio in its buffer: speaking lasts until
            // it has been heard, unless stopped first or the next piece is there to follow.
            changed_.wait_until(lock, playEnd_, [&] {
                return quit_ || block.generation != generation_ || !blocks_.empty();
            });
        }
        const bool stopped = quit_ || block.generation != generation_;
        lock.unlock();
        if (stopped && device != nullptr) {
            device->flush();
        }
        if (stopped || block.last) {
            finishRecording(recording);
        }
        lock.lock();
        if (stopped) {
            playEnd_ = Clock::now();  // what was not heard is gone: nothing more to wait for
        }
        playBusy_ = false;
        changed_.notify_all();
    }
}

// Writes a block to the device a chunk at a time, so that a stop cuts it off within a chunk.
// Returns the samples written.
std::size_t EspeakEngine::play(const Block& block, std::unique_ptr<SoundOutput>& device) {
    if (device == nullptr) {
        return block.samples.size();  // nobody listens: nothing to wait for
    }
    const auto chunkTime = [this](std::size_t count) {
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(count) / sampleRate_));
    };
    const std::size_t chunk =
        std::max<std::size_t>(1, static_cast<std::size_t>(sampleRate_) * kChunkMilliseconds / 1000);
    for (std::size_t at = 0; at < block.samples.size(); at += chunk) {
        if (!current(block.generation)) {
            return at;
        }
        const std::size_t count = std::min(chunk, block.samples.size() - at);
        if (!device->write(block.samples.data() + at, count)) {
            device = nullptr;  // failed: the rest goes unheard, and nothing waits for it
            return block.samples.size();
        }
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        lastActivity_ = now;
        playEnd_ = std::max(playEnd_, now) + chunkTime(count);
    }
    return block.samples.size();
}

void EspeakEngine::finishRecording(Recording& recording) {
    if (recording.words == nullptr) {
        return;
    }
    writeUtterance(*recording.words, std::move(recording.samples));
    recording = Recording{};
}

void EspeakEngine::writeUtterance(const std::string& words, std::vector<std::int16_t> samples) {
    std::error_code ec;
    std::filesystem::path base;
    do {
        char name[32];
        std::snprintf(name, sizeof name, "utterance-%04d", nextUtterance_++);
        base = wavFolder_ / name;
    } while (std::filesystem::exists(base.string() + ".wav", ec));
    const std::string bytes = waveBytes(Pcm{sampleRate_, std::move(samples)});
    std::ofstream(base.string() + ".wav", std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::ofstream(base.string() + ".txt", std::ios::binary) << words << '\n';
}

}  // namespace speech
