#pragma once

// The engine on Linux: espeak-ng with its Italian voice. Synthesis and playback run on a
// worker thread of each instance, so synthesize() returns at once and typing never waits;
// stop() takes effect at once (speaking() is false when it returns) and the worker drops the
// rest within one chunk of audio (60 ms). The library synthesises one utterance at a time for
// the whole process, far faster than it is heard: each utterance is synthesised a piece of
// about a minute at a time, and each piece then played, so that an instance playing a long
// line never holds up the other instance and never keeps more than a piece in memory.
//
// Speed: the workbench's speed scale (30 slow .. 50 normal .. 90 fast; the engine accepts
// 0..250) maps to words per minute as speed * 3.5, clamped to espeak-ng's 80..450: 30 gives
// 105, 50 gives 175 (espeak-ng's own normal rate), 90 gives 315.
//
// Without a sound output (see soundOutputPresent()) the engine still synthesises, then drops
// the audio: nothing is heard, nothing waits, nothing is printed. An engine created for memory
// keeps the audio for takeAudio() instead.
//
// For checking what the program says where nobody can listen: when the environment variable
// TATTILO_SPEECH_WAV_DIR names a folder, an engine that speaks to the device also writes each
// utterance there, as it was synthesised (cut short when stopped), into the next free
// "utterance-NNNN.wav" with its words in "utterance-NNNN.txt" (UTF-8). Written on the worker
// thread: typing never waits for it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/engine.h"

namespace speech {

class SoundOutput;

// Words per minute for an engine speed.
int wordsPerMinute(int speed);

class EspeakEngine final : public Engine {
public:
    // Opens the output of an engine that speaks aloud, on the engine's worker thread; null
    // when there is none (the audio is then dropped).
    using OutputOpener = std::function<std::unique_ptr<SoundOutput>(int sampleRate)>;

    // Null when the library cannot start or has no Italian voice.
    static std::unique_ptr<EspeakEngine> create(const EngineOptions& options);
    // The same, with another output than the sound device for AudioOutput::Device.
    static std::unique_ptr<EspeakEngine> create(const EngineOptions& options,
                                                OutputOpener openOutput);

    ~EspeakEngine() override;
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    int setParam(int param, int value) override;
    int setVoiceParam(int voice, int param, int value) override;
    bool addText(std::string_view text) override;
    bool synthesize() override;
    bool synchronize() override;
    bool speaking() override;
    bool stop() override;
    Pcm takeAudio() override;

private:
    using Clock = std::chrono::steady_clock;

    struct Job {
        std::string utf8;
        std::string voice;
        int wordsPerMinute = 0;
        unsigned long generation = 0;
    };

    EspeakEngine(AudioOutput output, int sampleRate, std::filesystem::path wavFolder,
                 OutputOpener openOutput);
    void run();
    void play(const Job& job, SoundOutput* device);
    bool cancelled(const Job& job);
    void writeUtterance(const Job& job, std::vector<std::int16_t> samples);

    const AudioOutput output_;
    const int sampleRate_;
    const std::filesystem::path wavFolder_;  // empty: utterances are not written
    const OutputOpener openOutput_;
    int nextUtterance_ = 1;  // the worker's

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string pending_;  // added, not yet synthesised (code page 1252)
    std::deque<Job> jobs_;
    bool busy_ = false;                // the worker is on a job
    unsigned long jobGeneration_ = 0;  // the generation of that job
    unsigned long generation_ = 0;     // raised by stop(): older jobs are dropped
    Clock::time_point lastActivity_;   // the worker's last chunk
    Clock::time_point playEnd_;        // when the audio written so far has been heard
    bool quit_ = false;
    int dialect_ = kDialectStandardItalian;
    int speed_ = kDefaultSpeed;
    Pcm audio_;

    std::thread worker_;
};

}  // namespace speech
