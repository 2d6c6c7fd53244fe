// The engines that exist on this build: the WAVE encoding, and espeak-ng where it was built in
// (synthesised to memory, so no sound device is needed).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <thread>

#include "speech/engine.h"
#include "speech/speech_reader.h"
#include "speech/wave_file.h"

#if defined(TATTILO_HAVE_ESPEAK)
#include "../scratch_folder.h"
#include "speech/backends/espeak/audio_device.h"
#include "speech/backends/espeak/espeak_engine.h"
#include "speech/backends/espeak/text_utf8.h"
#endif

namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

TEST(WaveFile, WritesAMono16BitPcmHeaderAndTheSamples) {
    speech::Pcm pcm{16000, {0, 1, -1, 32767, -32768}};
    const std::string b = speech::waveBytes(pcm);
    ASSERT_EQ(b.size(), 44u + 10u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(b, 4), 36u + 10u);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(b, 24), 16000u);
    EXPECT_EQ(le32(b, 28), 32000u);
    EXPECT_EQ(b.substr(36, 4), "data");
    EXPECT_EQ(le32(b, 40), 10u);
    EXPECT_EQ(b.substr(44, 4), std::string("\x00\x00\x01\x00", 4));
    EXPECT_EQ(b.substr(50, 4), std::string("\xFF\x7F\x00\x80", 4));

    EXPECT_EQ(speech::waveBytes(speech::Pcm{}).size(), 44u);  // nothing said: still a valid file
}

#if defined(TATTILO_HAVE_ESPEAK)

TEST(EspeakEngine, MapsTheSpeedScaleToWordsPerMinute) {
    EXPECT_EQ(speech::wordsPerMinute(30), 105);
    EXPECT_EQ(speech::wordsPerMinute(50), 175);
    EXPECT_EQ(speech::wordsPerMinute(90), 315);
    EXPECT_EQ(speech::wordsPerMinute(0), 80);
    EXPECT_EQ(speech::wordsPerMinute(250), 450);
}

TEST(EspeakEngine, ConvertsCodePage1252ToUtf8) {
    EXPECT_EQ(speech::cp1252ToUtf8("rad\xEC"
                                   "ce st\xE0"),
              "rad\xC3\xAC"
              "ce st\xC3\xA0");
    EXPECT_EQ(speech::cp1252ToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");
    EXPECT_EQ(speech::cp1252ToUtf8(std::string("a\x1B\x81\0b", 5)), "a   b");
}

std::unique_ptr<speech::Engine> memoryEngine() {
    auto engine =
        speech::createEngine({.programDirectory = {}, .output = speech::AudioOutput::Memory});
    if (engine) {
        speech::prepareEngine(engine.get());
    }
    return engine;
}

double peak(const speech::Pcm& pcm) {
    int best = 0;
    for (const std::int16_t s : pcm.samples) {
        best = std::max(best, std::abs(static_cast<int>(s)));
    }
    return best;
}

TEST(EspeakEngine, SynthesisesAnItalianSentenceToMemory) {
    ASSERT_TRUE(speech::speechAvailable({}));
    auto engine = memoryEngine();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->setParam(speech::kParamLanguageDialect, 0x12345), -1);
    EXPECT_EQ(engine->setVoiceParam(0, 7, 1), -1);

    speech::SpeechReader reader(std::move(engine), nullptr);
    reader.submit({"", "all", "50", "6#anp#b4"});  // "frazione apertonumeratore 1 ..."
    ASSERT_TRUE(reader.engine()->synchronize());
    EXPECT_FALSE(reader.engine()->speaking());
    const speech::Pcm normal = reader.engine()->takeAudio();
    EXPECT_GT(normal.sampleRate, 8000);
    // Several words: well over a second of audio, and not silence.
    EXPECT_GT(normal.samples.size(), static_cast<std::size_t>(normal.sampleRate));
    EXPECT_GT(peak(normal), 1000);

    // Faster speech, same words: shorter audio.
    reader.submit({"", "all", "90", "6#anp#b4"});
    ASSERT_TRUE(reader.engine()->synchronize());
    const speech::Pcm fast = reader.engine()->takeAudio();
    EXPECT_LT(fast.samples.size(), normal.samples.size() * 3 / 4);
}

TEST(EspeakEngine, StopTakesEffectAtOnceAndDropsWhatWasQueued) {
    auto engine = memoryEngine();
    ASSERT_NE(engine, nullptr);
    std::string longText;
    for (int i = 0; i < 40; ++i) {
        longText += "aperta radice quadrata di due chiusa radice ";
    }
    engine->addText(longText);
    engine->synthesize();
    engine->addText("uno");
    engine->synthesize();
    EXPECT_TRUE(engine->speaking());
    engine->stop();
    EXPECT_FALSE(engine->speaking());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(engine->synchronize());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // Still usable after a stop.
    engine->takeAudio();
    engine->addText("due");
    engine->synthesize();
    ASSERT_TRUE(engine->synchronize());
    EXPECT_GT(engine->takeAudio().samples.size(), 1000u);
}

// A line far longer than one piece of synthesis is spoken whole: twice the words, about
// twice the audio, nothing lost or said twice where the pieces meet.
TEST(EspeakEngine, SpeaksAVeryLongTextToTheEnd) {
    auto engine = memoryEngine();
    ASSERT_NE(engine, nullptr);
    const auto audioOf = [&](int repeats) {
        std::string text;
        for (int i = 0; i < repeats; ++i) {
            text +=
                "aperta rad\xEC"
                "ce quadrata di due chiusa rad\xEC"
                "ce ";
        }
        engine->addText(text);
        engine->synthesize();
        EXPECT_TRUE(engine->synchronize());
        return static_cast<double>(engine->takeAudio().samples.size());
    };
    const double once = audioOf(30);
    const double twice = audioOf(60);
    ASSERT_GT(once, 0.0);
    EXPECT_NEAR(twice / once, 2.0, 0.2);
}

TEST(EspeakEngine, TwoInstancesSpeakIndependently) {
    auto a = memoryEngine();
    auto b = memoryEngine();
    ASSERT_TRUE(a && b);
    a->addText("espressione");
    b->addText("risultato esatto");
    a->synthesize();
    b->synthesize();
    ASSERT_TRUE(a->synchronize());
    ASSERT_TRUE(b->synchronize());
    EXPECT_GT(a->takeAudio().samples.size(), 1000u);
    EXPECT_GT(b->takeAudio().samples.size(), 1000u);
}

TEST(EspeakEngine, WithoutASoundDeviceNothingWaits) {
    // Device output: without a sound output the audio is dropped and nothing hangs; with one,
    // a single short word is played.
    auto engine = speech::createEngine({});
    ASSERT_NE(engine, nullptr);
    speech::prepareEngine(engine.get());
    engine->addText("a");
    engine->synthesize();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(engine->synchronize());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(engine->speaking());
}

// A sound output that takes the samples at the pace they are heard, as a device does once
// its buffer is full.
struct HeardAudio {
    std::mutex mutex;
    std::size_t samples = 0;
    int flushes = 0;

    std::size_t heard() {
        std::lock_guard lock(mutex);
        return samples;
    }
    int flushed() {
        std::lock_guard lock(mutex);
        return flushes;
    }
};

// `speedUp` > 1 hears faster than real time.
class PacedOutput final : public speech::SoundOutput {
public:
    PacedOutput(std::shared_ptr<HeardAudio> heard, int sampleRate, int speedUp = 1)
        : heard_(std::move(heard)), sampleRate_(sampleRate), speedUp_(speedUp) {}
    bool write(const std::int16_t*, std::size_t count) override {
        std::this_thread::sleep_for(
            std::chrono::microseconds(count * 1000000 / sampleRate_ / speedUp_));
        std::lock_guard lock(heard_->mutex);
        heard_->samples += count;
        return true;
    }
    void flush() override {
        std::lock_guard lock(heard_->mutex);
        ++heard_->flushes;
    }

private:
    std::shared_ptr<HeardAudio> heard_;
    int sampleRate_;
    int speedUp_;
};

template <typename Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The main window's voice reading a long line aloud must not hold up the calculation sheet's
// voice, which waits for its expression to be spoken; stop() silences the output at once, and
// an engine destroyed while it speaks goes quietly.
TEST(EspeakEngine, PlayingALongLineHoldsUpNeitherTheOtherInstanceNorAStop) {
    auto heard = std::make_shared<HeardAudio>();
    std::unique_ptr<speech::Engine> reader = speech::EspeakEngine::create(
        {}, [heard](int rate) { return std::make_unique<PacedOutput>(heard, rate); });
    ASSERT_NE(reader, nullptr);
    speech::prepareEngine(reader.get());
    std::string longLine;
    for (int i = 0; i < 40; ++i) {
        longLine += "aperta radice quadrata di due chiusa radice ";
    }
    reader->addText(longLine);
    reader->synthesize();
    ASSERT_TRUE(within(std::chrono::seconds(5), [&] { return heard->heard() > 0; }));

    auto sheet = memoryEngine();
    ASSERT_NE(sheet, nullptr);
    sheet->addText("espressione");
    sheet->synthesize();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(sheet->synchronize());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_GT(sheet->takeAudio().samples.size(), 1000u);
    EXPECT_TRUE(reader->speaking());

    reader->stop();
    EXPECT_FALSE(reader->speaking());
    EXPECT_TRUE(within(std::chrono::seconds(2), [&] { return heard->flushed() > 0; }));
    const std::size_t atStop = heard->heard();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(heard->heard(), atStop);

    reader->addText(longLine);
    reader->synthesize();
    ASSERT_TRUE(within(std::chrono::seconds(5), [&] { return heard->heard() > atStop; }));
    reader.reset();  // while speaking
    EXPECT_GT(heard->flushed(), 0);
}

std::string radicesOf(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "aperta radice quadrata di due chiusa radice ";
    }
    return text;
}

// A line of several pieces reaches the sound output whole: each piece once, none lost where
// the pieces meet (the voice varies by a few samples from one synthesis to the next).
TEST(EspeakEngine, TheSoundOutputGetsEveryPieceOfALongLineOnce) {
    const std::string text = radicesOf(30);  // over 1300 bytes: four pieces
    auto memory = memoryEngine();
    ASSERT_NE(memory, nullptr);
    memory->addText(text);
    memory->synthesize();
    ASSERT_TRUE(memory->synchronize());
    const auto whole = static_cast<double>(memory->takeAudio().samples.size());

    auto heard = std::make_shared<HeardAudio>();
    std::unique_ptr<speech::Engine> engine = speech::EspeakEngine::create(
        {}, [heard](int rate) { return std::make_unique<PacedOutput>(heard, rate, 1000); });
    ASSERT_NE(engine, nullptr);
    speech::prepareEngine(engine.get());
    engine->addText(text);
    engine->synthesize();
    EXPECT_TRUE(within(std::chrono::seconds(10),
                       [&] { return static_cast<double>(heard->heard()) > whole * 0.98; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(static_cast<double>(heard->heard()), whole * 1.02);
    EXPECT_TRUE(engine->speaking());  // until the audio written has been heard
    engine->stop();
    EXPECT_FALSE(engine->speaking());

    // The output took a minute of audio into its buffer, and the stop dropped it: a word
    // said next is waited for only as long as the word lasts.
    engine->addText("uno");
    engine->synthesize();
    auto spoken = std::async(std::launch::async, [&] { return engine->synchronize(); });
    const bool inTime = spoken.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    EXPECT_TRUE(inTime);
    if (!inTime) {
        engine->stop();
    }
    EXPECT_TRUE(spoken.get());
}

// A sound server that never answers: the worker cannot open its output, and a caller that
// waits for the words gives up instead of freezing the window.
TEST(EspeakEngine, AnOutputThatNeverOpensHangsNobody) {
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    std::unique_ptr<speech::Engine> engine =
        speech::EspeakEngine::create({}, [&](int) -> std::unique_ptr<speech::SoundOutput> {
            std::unique_lock lock(mutex);
            released.wait(lock, [&] { return release; });
            return nullptr;
        });
    ASSERT_NE(engine, nullptr);
    speech::prepareEngine(engine.get());
    engine->addText("risultato esatto");
    engine->synthesize();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(engine->synchronize());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
    EXPECT_FALSE(engine->speaking());
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
}

// The hidden switch for checking speech where nobody listens: every utterance of an engine
// that speaks to the device also goes into a folder, never over a file already there.
TEST(EspeakEngine, WritesEachUtteranceIntoTheFolderOfTheSwitch) {
    const std::filesystem::path folder = testing_support::scratchName("tattilo-utterances-");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "utterance-0001.wav") << "kept";
    ::setenv("TATTILO_SPEECH_WAV_DIR", folder.c_str(), 1);
    auto engine = speech::createEngine({});
    ::unsetenv("TATTILO_SPEECH_WAV_DIR");
    ASSERT_NE(engine, nullptr);
    speech::prepareEngine(engine.get());
    for (const char* words : {"uno", "d\xF2"}) {
        engine->addText(words);
        engine->synthesize();
        ASSERT_TRUE(engine->synchronize());
    }
    auto read = [&](const char* name) {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    };
    EXPECT_EQ(read("utterance-0001.wav"), "kept");
    EXPECT_EQ(read("utterance-0002.txt"), "uno\n");
    EXPECT_EQ(read("utterance-0003.txt"), "d\xC3\xB2\n");
    const std::string wav = read("utterance-0003.wav");
    ASSERT_GT(wav.size(), 44u + 2000u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(wav, 40), wav.size() - 44);

    // Stopped in the middle of a line of several pieces: what was played goes in, as far as
    // it was played, with the words of the whole line.
    auto heard = std::make_shared<HeardAudio>();
    ::setenv("TATTILO_SPEECH_WAV_DIR", folder.c_str(), 1);
    std::unique_ptr<speech::Engine> paced = speech::EspeakEngine::create(
        {}, [heard](int rate) { return std::make_unique<PacedOutput>(heard, rate); });
    ::unsetenv("TATTILO_SPEECH_WAV_DIR");
    ASSERT_NE(paced, nullptr);
    speech::prepareEngine(paced.get());
    paced->addText(radicesOf(3));
    paced->synthesize();
    ASSERT_TRUE(within(std::chrono::seconds(5), [&] { return heard->heard() > 22050 / 2; }));
    paced->stop();
    ASSERT_TRUE(within(std::chrono::seconds(2),
                       [&] { return std::filesystem::exists(folder / "utterance-0004.txt"); }));
    EXPECT_EQ(read("utterance-0004.txt"), radicesOf(3) + "\n");
    const std::string cut = read("utterance-0004.wav");
    ASSERT_GT(cut.size(), 44u);
    EXPECT_GT(le32(cut, 40), 2u * 22050 / 2);
    EXPECT_LT(le32(cut, 40), 2u * 22050 * 4);  // far less than the line's eight seconds
    std::filesystem::remove_all(folder);
}

#endif

}  // namespace
