// Which engine speaks on Windows: ECI beside the program (the stand-in eci.dll), else an
// Italian SAPI voice (a stand-in voice), else none. And on this machine itself: Wine has no
// Italian SAPI voice, so the program starts silent and its label says so.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "speech/backends/sapi/sapi_engine.h"
#include "speech/backends/win32/engine_choice.h"
#include "speech/messages.h"
#include "speech/speech_switch.h"

#include "../../scratch_folder.h"
#include "fake_voice.h"

namespace {

namespace fs = std::filesystem;

struct Machine {
    fs::path folder = testing_support::makeScratchFolder(fs::temp_directory_path(), "choice-");
    fs::path previous = fs::current_path();
    testing_support::FakeVoice voice;
    bool hasItalianVoice = true;
    int opened = 0;
    int asked = 0;

    Machine() { fs::current_path(folder); }
    ~Machine() {
        fs::current_path(previous);
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    void eciLibrary() { fs::copy_file(fs::path(FAKE_ECI_DLL), folder / "eci.dll"); }
    void eciFiles(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            std::ofstream(folder / name) << "x";
        }
    }
    speech::SapiVoices sapi() {
        return {[this] {
                    ++asked;
                    return hasItalianVoice;
                },
                [this]() -> std::unique_ptr<speech::Engine> {
                    ++opened;
                    if (!hasItalianVoice) {
                        return nullptr;
                    }
                    voice.AddRef();
                    return std::make_unique<speech::SapiEngine>(&voice);
                }};
    }
    bool eciCreated() const { return fs::exists(folder / "eci-calls.txt"); }
    std::unique_ptr<speech::Engine> choose(
        speech::AudioOutput output = speech::AudioOutput::Device) {
        return speech::chooseEngine({.programDirectory = folder, .output = output}, sapi());
    }
};

TEST(EngineChoice, EciBesideTheProgramComesFirst) {
    Machine m;
    m.eciLibrary();
    m.eciFiles({"eci.ini", "enu.syn", "ita.syn"});
    auto engine = m.choose();
    ASSERT_TRUE(engine);
    EXPECT_TRUE(m.eciCreated());
    EXPECT_EQ(m.opened, 0);
    EXPECT_TRUE(speech::engineAvailable(m.folder, m.sapi()));
    EXPECT_EQ(m.asked, 0) << "SAPI is not asked when ECI is there";
}

TEST(EngineChoice, SapiWhereEciOrOneOfItsFilesIsMissingOrBroken) {
    {
        Machine m;  // the library without its voice file
        m.eciLibrary();
        m.eciFiles({"eci.ini", "enu.syn"});
        auto engine = m.choose();
        ASSERT_TRUE(engine);
        EXPECT_FALSE(m.eciCreated());
        EXPECT_EQ(m.opened, 1);
        EXPECT_TRUE(speech::engineAvailable(m.folder, m.sapi()));
        // It is the voice that speaks.
        engine->addText("ciao");
        engine->synthesize();
        EXPECT_EQ(m.voice.calls.back(), "Speak async purge text <ciao>");
    }
    {
        Machine m;  // the files without the library
        m.eciFiles({"eci.ini", "enu.syn", "ita.syn"});
        EXPECT_TRUE(m.choose());
        EXPECT_EQ(m.opened, 1);
    }
    Machine m;  // every file there, but the library does not load
    m.eciFiles({"eci.ini", "enu.syn", "ita.syn"});
    std::ofstream(m.folder / "eci.dll") << "not a library";
    EXPECT_TRUE(m.choose());
    EXPECT_EQ(m.opened, 1);
}

TEST(EngineChoice, NeitherLeavesNoEngineAndSpeechOff) {
    Machine m;
    m.hasItalianVoice = false;
    EXPECT_FALSE(m.choose());
    EXPECT_FALSE(speech::engineAvailable(m.folder, m.sapi()));
    // ECI's files that do not load and no voice: speech was to start, the engine failed.
    m.eciFiles({"eci.ini", "enu.syn", "ita.syn"});
    std::ofstream(m.folder / "eci.dll") << "not a library";
    EXPECT_FALSE(m.choose());
    EXPECT_TRUE(speech::engineAvailable(m.folder, m.sapi()));
    // Neither engine writes to memory.
    m.hasItalianVoice = true;
    m.opened = 0;
    EXPECT_FALSE(m.choose(speech::AudioOutput::Memory));
    EXPECT_EQ(m.opened, 0);
}

TEST(EngineChoice, ThisMachineWithoutAnItalianVoiceStartsSilentAndSaysSo) {
    if (speech::SapiEngine::italianVoicePresent()) {
        GTEST_SKIP() << "this machine has an Italian SAPI voice";
    }
    Machine m;
    EXPECT_FALSE(speech::SapiEngine::createItalian());
    EXPECT_FALSE(speech::createEngine({.programDirectory = m.folder}));
    EXPECT_FALSE(speech::speechAvailable(m.folder));
    speech::SpeechSwitch speechSwitch;
    speechSwitch.start(speech::speechAvailable(m.folder));
    EXPECT_FALSE(speechSwitch.speechOn());
    EXPECT_EQ(speechSwitch.statusText(), speech::messages::kStatusUnavailable);
    EXPECT_FALSE(speechSwitch.menuEnabled());
}

}  // namespace
