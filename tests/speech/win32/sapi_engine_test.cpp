// The SAPI 5 engine binding against a stand-in voice: what it asks the voice to do for each
// engine operation, and what the speech reader's requests become.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "speech/backends/sapi/sapi_engine.h"
#include "speech/speech_reader.h"
#include "speech/spoken_text.h"
#include "ui/cp1252.h"

#include "fake_voice.h"

namespace {

using testing_support::FakeVoice;
using Calls = std::vector<std::string>;

TEST(SapiEngine, EachOperationReachesTheVoiceAsPlainTextThatPurgesWhatWentBefore) {
    FakeVoice voice;
    {
        speech::SapiEngine engine(&voice);
        EXPECT_EQ(engine.setParam(speech::kParamLanguageDialect, speech::kDialectStandardItalian),
                  speech::kDialectStandardItalian);
        EXPECT_EQ(engine.setParam(3, 1), -1);
        EXPECT_EQ(engine.setVoiceParam(speech::kVoiceActive, speech::kVoiceParamSpeed, 70), 50);
        EXPECT_EQ(engine.setVoiceParam(speech::kVoiceActive, 7, 1), -1);
        EXPECT_FALSE(engine.speaking());

        // Code page 1252 to UTF-16, the bytes 0x80-0x9F included; markup stays text.
        EXPECT_TRUE(engine.addText("perch\xE8 <b> \x80"));
        EXPECT_TRUE(engine.addText(" \x93x\x94"));
        EXPECT_TRUE(engine.synthesize());
        EXPECT_TRUE(engine.speaking());
        EXPECT_TRUE(engine.stop());
        EXPECT_FALSE(engine.speaking());

        // Nothing queued: nothing handed over. Text stopped before it was synthesised is gone.
        EXPECT_TRUE(engine.synthesize());
        engine.addText("perso");
        engine.stop();
        EXPECT_TRUE(engine.synthesize());

        engine.addText("Pagina 2");
        EXPECT_TRUE(engine.synthesize());
        EXPECT_TRUE(engine.synchronize());
        EXPECT_FALSE(engine.speaking());
        EXPECT_EQ(voice.references, 1u);
    }
    EXPECT_EQ(
        voice.calls,
        (Calls{"SetRate 3",
               "Speak async purge text <perch\xC3\xA8 <b> \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D>",
               "Purge", "Purge", "Speak async purge text <Pagina 2>", "WaitUntilDone", "Purge"}));
    EXPECT_EQ(voice.references, 0u) << "the engine releases its voice";
}

TEST(SapiEngine, SpeedScaleMapsToTheVoiceRate) {
    const std::pair<int, int> cases[] = {{50, 0},   {30, -5},  {90, 5},  {70, 3},   {150, 10},
                                         {250, 10}, {17, -10}, {0, -10}, {-4, -10}, {55, 1}};
    for (const auto& [speed, rate] : cases) {
        EXPECT_EQ(speech::sapiRate(speed), rate) << "speed " << speed;
    }
}

TEST(SapiEngine, ItalianIsFoundInTheVoiceLanguageList) {
    for (const wchar_t* italian : {L"410", L"409;410", L"410;9", L"0410", L" 410 ", L"0x;410"}) {
        EXPECT_TRUE(speech::listsItalian(italian)) << "accepted";
    }
    for (const wchar_t* other :
         {L"", L"409", L"4100", L"41", L"10", L"x410", L"810", L";", L"409;9"}) {
        EXPECT_FALSE(speech::listsItalian(other)) << "refused";
    }
}

TEST(SapiEngine, WaitingEndsWhenTheVoiceStallsButNotWhileItReads) {
    {
        FakeVoice voice;
        voice.AddRef();
        speech::SapiEngine engine(&voice);
        voice.movingSteps = 60;  // a long line, read word by word
        engine.addText("lungo");
        engine.synthesize();
        EXPECT_TRUE(engine.synchronize());
        EXPECT_EQ(std::count(voice.calls.begin(), voice.calls.end(), "WaitUntilDone"), 61);
    }
    FakeVoice voice;
    voice.AddRef();
    speech::SapiEngine engine(&voice);
    voice.stalls = true;  // no sound device: the position never moves
    engine.addText("muto");
    engine.synthesize();
    EXPECT_FALSE(engine.synchronize());
    EXPECT_EQ(std::count(voice.calls.begin(), voice.calls.end(), "WaitUntilDone"),
              21);  // the first poll finds where it is
    // A voice that cannot speak says so, and is not taken for speaking.
    voice.stalls = false;
    voice.failsSpeak = true;
    engine.stop();
    engine.addText("x");
    EXPECT_FALSE(engine.synthesize());
    EXPECT_FALSE(engine.speaking());
}

TEST(SapiEngine, AnUtteranceNotYetStartedCountsAsSpeakingSoTheNextRequestCutsItOff) {
    FakeVoice voice;
    voice.AddRef();
    speech::SapiEngine engine(&voice);
    voice.startsLate = true;
    engine.addText("primo");
    engine.synthesize();
    EXPECT_TRUE(engine.speaking());
    voice.speakingNow = false;  // the voice has finished
    EXPECT_FALSE(engine.speaking());
}

// The reader over SAPI: every request interrupts the one before, ESC only silences, an
// "error" request is waited for, and "all" speaks at the request's rate.
TEST(SapiEngine, SpeechReaderRequestsBecomeVoiceCalls) {
    FakeVoice voice;
    voice.AddRef();
    auto owned = std::make_unique<speech::SapiEngine>(&voice);
    speech::prepareEngine(owned.get());
    speech::SpeechReader reader(std::move(owned), nullptr);
    const std::string here = std::filesystem::current_path().string();
    voice.calls.clear();

    // What the voice reads: the rendered words, their tokens kept apart.
    const auto words = [](const char* mode, const char* text) {
        return ui::cp1252::toUtf8(speech::separatedTokens(speech::spokenFor(mode, text)).text);
    };
    reader.submit({here, "key", "", "#ab"});
    reader.submit({here, "key", "", "#abc"});
    reader.submit({here, "", "", "\x1B"});
    reader.submit({here, "all", "90", "#abc"});
    reader.submit({here, "error", "", "Pagina 3"});
    EXPECT_EQ(words("key", "#ab"), "2");
    EXPECT_EQ(voice.calls,
              (Calls{"SetRate 0", "Speak async purge text <2>", "Purge", "SetRate 0",
                     "Speak async purge text <3>", "Purge", "SetRate 5",
                     "Speak async purge text <" + words("all", "#abc") + ">", "Purge", "SetRate 0",
                     "Speak async purge text <Pagina 3>", "WaitUntilDone"}));
}

}  // namespace
