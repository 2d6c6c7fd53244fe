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

// Text handed to the library in one go: about a minute of speech.
constexpr std::size_t kPieceBytes = 1000;

// Takes the next piece off the front of `rest`: up to kPieceBytes, ended after a blank when
// there is one, never inside a UTF-8 sequence.
std::string_view nextPiece(std::string_view& rest) {
    std::size_t length = rest.size();
    if (length > kPieceBytes) {
        const std::size_t blank = rest.rfind(' ', kPieceBytes - 1);
        if (blank != std::string_view::npos && blank > 0) {
            length = blank + 1;
        } else {
            length = kPieceBytes;
            while (length > 1 && (static_cast<unsigned char>(rest[length]) & 0xC0) == 0x80) {
                --length;
            }
        }
    }
    const std::string_view piece = rest.substr(0, length);
    rest.remove_prefix(length);
    return piece;
}

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

EspeakEngine::EspeakEngine(AudioOutput output, int sampleRate, std::filesystem::path wavFolder,
                           OutputOpener openOutput)
    : output_(output),
      sampleRate_(sampleRate),
      wavFolder_(std::move(wavFolder)),
      openOutput_(std::move(openOutput)) {
    audio_.sampleRate = sampleRate;
    worker_ = std::thread([this] { run(); });
}

EspeakEngine::~EspeakEngine() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        ++generation_;
        jobs_.clear();
    }
    changed_.notify_all();
    worker_.join();
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
    pending_ += text;
    return true;
}

bool EspeakEngine::synthesize() {
    {
        std::lock_guard lock(mutex_);
        if (pending_.empty()) {
            return true;
        }
        jobs_.push_back(Job{cp1252ToUtf8(pending_), voiceOfDialect(dialect_),
                            wordsPerMinute(speed_), generation_});
        pending_.clear();
        if (!busy_) {
            // A worker that never takes the job (its sound output does not open) counts as
            // stalled from now on.
            lastActivity_ = Clock::now();
        }
    }
    changed_.notify_all();
    return true;
}

bool EspeakEngine::speaking() {
    std::lock_guard lock(mutex_);
    return !jobs_.empty() || (busy_ && jobGeneration_ == generation_);
}

bool EspeakEngine::stop() {
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();
        pending_.clear();
        ++generation_;
    }
    changed_.notify_all();
    return true;
}

bool EspeakEngine::synchronize() {
    std::unique_lock lock(mutex_);
    while (!jobs_.empty() || busy_) {
        changed_.wait_for(lock, std::chrono::milliseconds(100));
        const auto now = Clock::now();
        if ((busy_ || !jobs_.empty()) && now > std::max(lastActivity_, playEnd_) + kStallLimit) {
            jobs_.clear();
            ++generation_;
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

bool EspeakEngine::cancelled(const Job& job) {
    std::lock_guard lock(mutex_);
    return quit_ || job.generation != generation_;
}

void EspeakEngine::run() {
    // Opened here, not in the constructor: connecting to a sound server may take a while and
    // the window must not wait for it.
    std::unique_ptr<SoundOutput> device;
    if (output_ == AudioOutput::Device && openOutput_) {
        device = openOutput_(sampleRate_);
    }
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
        busy_ = true;
        jobGeneration_ = job.generation;
        lastActivity_ = Clock::now();
        playEnd_ = lastActivity_;
        lock.unlock();
        play(job, device.get());
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void EspeakEngine::play(const Job& job, SoundOutput* device) {
    const auto chunkTime = [this](std::size_t count) {
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(count) / sampleRate_));
    };
    const std::size_t chunk =
        std::max<std::size_t>(1, static_cast<std::size_t>(sampleRate_) * 60 / 1000);
    std::vector<std::int16_t> written;  // for the utterance file
    std::string_view rest = job.utf8;
    while (!rest.empty() && !cancelled(job)) {
        // A piece at a time, each synthesised whole and then played: the library is shared
        // with the other instance and must not wait for the sound output, and a very long
        // line never needs more than one piece of audio in memory.
        const std::string piece(nextPiece(rest));
        std::vector<std::int16_t> samples;
        const EspeakLibrary::SampleSink sink = [&](const std::int16_t* from, std::size_t count) {
            if (cancelled(job)) {
                return false;
            }
            samples.insert(samples.end(), from, from + count);
            std::lock_guard lock(mutex_);
            lastActivity_ = Clock::now();
            return true;
        };
        EspeakLibrary::instance().synthesize(piece, job.voice, job.wordsPerMinute, sink);

        if (output_ == AudioOutput::Memory) {
            std::lock_guard lock(mutex_);
            audio_.samples.insert(audio_.samples.end(), samples.begin(), samples.end());
        }
        std::size_t played = samples.size();
        if (device != nullptr && output_ == AudioOutput::Device) {
            for (std::size_t at = 0; at < samples.size(); at += chunk) {
                if (cancelled(job)) {
                    played = at;
                    break;
                }
                const std::size_t count = std::min(chunk, samples.size() - at);
                if (!device->write(samples.data() + at, count)) {
                    device = nullptr;  // failed: the rest goes unheard, and nothing waits for it
                    break;
                }
                std::lock_guard lock(mutex_);
                const auto now = Clock::now();
                lastActivity_ = now;
                playEnd_ = std::max(playEnd_, now) + chunkTime(count);
            }
        }
        if (!wavFolder_.empty()) {
            written.insert(written.end(), samples.begin(),
                           samples.begin() + static_cast<std::ptrdiff_t>(played));
        }
    }
    if (!wavFolder_.empty()) {
        writeUtterance(job, std::move(written));
    }

    if (device == nullptr) {
        return;
    }
    // The device may hold a good part of the audio in its buffer: speaking lasts until it has
    // been heard, unless stopped first.
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, playEnd_, [&] { return quit_ || job.generation != generation_; });
    const bool stopped = quit_ || job.generation != generation_;
    lock.unlock();
    if (stopped) {
        device->flush();
    }
}

void EspeakEngine::writeUtterance(const Job& job, std::vector<std::int16_t> samples) {
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
    std::ofstream(base.string() + ".txt", std::ios::binary) << job.utf8 << '\n';
}

}  // namespace speech
