#include "speech/sheet_voice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixture.h"
#include "speech/backends/recorder_engine.h"

namespace {

using speech::RecorderEngine;
using testing::ElementsAre;
using testing::IsEmpty;

TEST(SheetVoice, WordsOfTheFixtureMessages) {
    const auto cases = speech::test::readFixture("sheet.txt", 3);
    ASSERT_GE(cases.size(), 10u);
    for (const auto& c : cases) {
        const auto words = speech::sheetWords(c.fields[0]);
        ASSERT_TRUE(words) << "sheet.txt line " << c.number;
        EXPECT_EQ("[" + words->words + "]", "[" + c.fields[1] + "]")
            << "sheet.txt line " << c.number;
        EXPECT_EQ(words->wait, c.fields[2] == "1") << "sheet.txt line " << c.number;
    }
}

TEST(SheetVoice, IgnoresEmptyMessagesAndALoneEqualsSign) {
    EXPECT_FALSE(speech::sheetWords(""));
    EXPECT_FALSE(speech::sheetWords("="));
    EXPECT_FALSE(speech::sheetWords("  =  "));
    EXPECT_TRUE(speech::sheetWords("=="));
}

struct Sheet {
    std::shared_ptr<RecorderEngine::Log> log = std::make_shared<RecorderEngine::Log>();
    speech::SheetVoice voice{std::make_unique<RecorderEngine>(log)};
};

TEST(SheetVoice, InterruptsButLetsExpressionsAndResultsEnd) {
    Sheet s;
    auto& engine = static_cast<RecorderEngine&>(*s.voice.engine());
    s.voice.speak("#bc");
    EXPECT_THAT(*s.log,
                ElementsAre("speaking", "setVoiceParam 0 6 50", "addText  23", "synthesize"));
    s.log->clear();
    // A row interrupts a row.
    s.voice.speak("#d");
    EXPECT_THAT(*s.log, ElementsAre("speaking", "stop", "setVoiceParam 0 6 50", "addText  4",
                                    "synthesize"));
    s.log->clear();
    s.voice.speak("RE#f");
    EXPECT_THAT(*s.log, ElementsAre("speaking", "stop", "setVoiceParam 0 6 50",
                                    "addText risultato  esatto  6", "synthesize"));
    // The result is said to the end: what follows waits, and the caller goes on at once.
    s.voice.speak("Q#a");
    s.voice.speak("#b");
    EXPECT_TRUE(s.voice.pending());
    EXPECT_TRUE(s.voice.pump());
    EXPECT_EQ(engine.spoken().size(), 3u);
    engine.finishSpeaking();
    EXPECT_FALSE(s.voice.pump());
    EXPECT_THAT(engine.spoken(), ElementsAre(" 23", " 4", "risultato  esatto  6", "resto 1", " 2"));
    s.log->clear();
    s.voice.speak(" = ");
    EXPECT_THAT(*s.log, IsEmpty());
}

TEST(SheetVoice, ForgetsWhatWaitsWhenSwitchedOff) {
    Sheet s;
    auto& engine = static_cast<RecorderEngine&>(*s.voice.engine());
    s.voice.speak("E #b+#c");
    engine.finishSpeaking();
    s.voice.speak("@#e");
    s.voice.speak("   =");
    s.voice.speak("#c");
    s.voice.setOn(false);
    engine.finishSpeaking();
    EXPECT_FALSE(s.voice.pump());
    EXPECT_THAT(engine.spoken(), ElementsAre("espressione  2+ 3", " 5"));
}

TEST(SheetVoice, HasItsOwnSwitch) {
    Sheet s;
    EXPECT_TRUE(s.voice.on());
    EXPECT_EQ(s.voice.menuCaption(), "Disattiva sintesi vocale");
    s.voice.toggle();
    EXPECT_FALSE(s.voice.on());
    EXPECT_EQ(s.voice.menuCaption(), "Attiva sintesi vocale");
    s.voice.speak("E #b");
    EXPECT_THAT(*s.log, IsEmpty());
    s.voice.toggle();
    s.voice.speak("E #b");
    EXPECT_FALSE(s.log->empty());

    // Without an engine nothing is said, and the switch still works.
    speech::SheetVoice silent(nullptr);
    silent.speak("E #b");
    const std::string_view before = silent.menuCaption();
    silent.toggle();
    EXPECT_NE(silent.menuCaption(), before);
    silent.speak("E #b");
}

}  // namespace
