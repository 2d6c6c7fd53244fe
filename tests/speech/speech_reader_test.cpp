#include "speech/speech_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "speech/backends/recorder_engine.h"
#include "speech/messages.h"
#include "speech/speech_switch.h"

namespace {

using speech::RecorderEngine;
using speech::Request;
using testing::ElementsAre;
using testing::IsEmpty;

struct Gate : speech::SpeechGate {
    bool on = true;
    bool speechOn() const override { return on; }
};

struct Reader {
    std::shared_ptr<RecorderEngine::Log> log = std::make_shared<RecorderEngine::Log>();
    Gate gate;
    speech::SpeechReader reader{std::make_unique<RecorderEngine>(log), &gate};

    RecorderEngine& engine() { return static_cast<RecorderEngine&>(*reader.engine()); }
    void say(std::string mode, std::string text, std::string rate = "") {
        reader.submit(Request{"/prog", std::move(mode), std::move(rate), std::move(text)});
    }
};

TEST(SpeechReader, MakesNoEngineCallForAnEmptyTextOrWhileSpeechIsOff) {
    Reader r;
    r.say("key", "");
    r.say("all", "");
    r.gate.on = false;
    r.say("key", "#abc");
    r.say("error", "Errore");
    r.say("", "\x1B");
    EXPECT_THAT(*r.log, IsEmpty());
}

TEST(SpeechReader, SpeaksTheLastTokenAtTheDefaultSpeed) {
    Reader r;
    r.say("key", "#ab");
    EXPECT_THAT(*r.log, ElementsAre("speaking", "setVoiceParam 0 6 50", "addText 2", "synthesize"));
}

TEST(SpeechReader, EachRequestStopsTheSpeechBeforeIt) {
    Reader r;
    r.say("key", "a");
    r.say("key", "ab");
    r.say("key", "abc");
    EXPECT_THAT(*r.log,
                ElementsAre("speaking", "setVoiceParam 0 6 50", "addText a", "synthesize",
                            "speaking", "stop", "setVoiceParam 0 6 50", "addText b", "synthesize",
                            "speaking", "stop", "setVoiceParam 0 6 50", "addText c", "synthesize"));
}

TEST(SpeechReader, EscOnlySilences) {
    Reader r;
    r.say("key", "a");
    r.log->clear();
    r.say("", std::string(speech::messages::kSilence));
    EXPECT_THAT(*r.log, ElementsAre("speaking", "stop"));
    // Nothing in progress: nothing to stop, nothing said.
    r.log->clear();
    r.say("", "\x1B");
    EXPECT_THAT(*r.log, ElementsAre("speaking"));
}

TEST(SpeechReader, ReadsAWholeLineInItalianAtTheRequestRate) {
    Reader r;
    r.say("all", "#abc", "70");
    EXPECT_THAT(*r.log, ElementsAre("speaking", "setParam 9 327680", "setVoiceParam 0 6 70",
                                    "addText 123", "synthesize"));
    r.log->clear();
    r.say("all", "#abc");  // no rate: the normal speed
    EXPECT_THAT(*r.log, ElementsAre("speaking", "stop", "setParam 9 327680", "setVoiceParam 0 6 50",
                                    "addText 123", "synthesize"));
    r.log->clear();
    r.say("all", "a", "fast");  // not a number: the normal speed
    EXPECT_THAT(*r.log, testing::Contains("setVoiceParam 0 6 50"));
}

TEST(SpeechReader, ABlankLineInModeAllOnlyStopsTheSpeech) {
    Reader r;
    r.say("key", "a");
    r.log->clear();
    r.say("all", " ", "50");
    EXPECT_THAT(*r.log, ElementsAre("speaking", "stop"));
}

TEST(SpeechReader, ErrorsAreSpokenVerbatimAndWaitedFor) {
    Reader r;
    r.say("error", "Formula #abc errata", "80");
    EXPECT_THAT(*r.log, ElementsAre("speaking", "setVoiceParam 0 6 50",
                                    "addText Formula #abc errata", "synthesize", "synchronize"));
}

TEST(SpeechReader, NamesTheDeletedCell) {
    Reader r;
    r.say("canc", "#ab");
    EXPECT_THAT(r.engine().spoken(), ElementsAre(" cancellato 2"));
    // A deleted cell that says nothing: nothing, and no " cancellato " alone either.
    r.say("canc", "%a@");
    EXPECT_EQ(r.engine().spoken().size(), 1u);
}

TEST(SpeechReader, PreparesANewEngineOrReportsThatThereIsNone) {
    RecorderEngine engine;
    EXPECT_EQ(speech::prepareEngine(&engine), std::nullopt);
    EXPECT_THAT(*engine.log(), ElementsAre("setParam 9 327680", "setVoiceParam 0 6 50"));
    EXPECT_EQ(speech::prepareEngine(nullptr), "Errore nel caricamento sintesi vocale");

    // Without an engine the program goes on silent: every kind of request is taken (the
    // sanitizer build would catch a use of the missing engine).
    Gate gate;
    speech::SpeechReader silent(nullptr, &gate);
    for (const char* mode : {"key", "last", "all", "canc", "error", ""}) {
        silent.submit(Request{"/prog", mode, "50", "#abc"});
    }
}

TEST(SpeechSpeed, ReadsTheRateText) {
    EXPECT_EQ(speech::speedFromRate(""), 50);
    EXPECT_EQ(speech::speedFromRate("30"), 30);
    EXPECT_EQ(speech::speedFromRate("90"), 90);
    EXPECT_EQ(speech::speedFromRate("9x"), 50);
    EXPECT_EQ(speech::speedFromRate("-5"), 0);
    EXPECT_EQ(speech::speedFromRate("999"), 250);
}

// --- speech on and off ---------------------------------------------------------------------

struct Recorded : speech::RequestSink {
    std::vector<Request> requests;
    std::vector<bool> onWhenSent;
    const speech::SpeechSwitch* sw = nullptr;
    void submit(const Request& r) override {
        requests.push_back(r);
        onWhenSent.push_back(sw->speechOn());
    }
};

TEST(SpeechSwitch, StartsFromTheSpeechFiles) {
    speech::SpeechSwitch on;
    on.start(true);
    EXPECT_TRUE(on.speechOn());
    EXPECT_TRUE(on.menuEnabled());
    EXPECT_EQ(on.menuCaption(), "Disattiva sintesi vocale");
    EXPECT_EQ(on.statusText(), "Sintesi vocale attivata");

    speech::SpeechSwitch off;
    off.start(false);
    EXPECT_FALSE(off.speechOn());
    EXPECT_FALSE(off.menuEnabled());
    EXPECT_EQ(off.menuCaption(), "");
    EXPECT_EQ(off.statusText(), "Sintesi vocale disattivata");
    // The disabled entry cannot switch speech on.
    Recorded sink;
    sink.sw = &off;
    off.toggle(sink, "/prog");
    EXPECT_FALSE(off.speechOn());
    EXPECT_TRUE(sink.requests.empty());
}

TEST(SpeechSwitch, AnnouncesTheSwitchWhileSpeechIsStillOn) {
    speech::SpeechSwitch sw;
    sw.start(true);
    Recorded sink;
    sink.sw = &sw;

    sw.toggle(sink, "/prog");
    EXPECT_FALSE(sw.speechOn());
    EXPECT_EQ(sw.menuCaption(), "Attiva sintesi vocale");
    EXPECT_EQ(sw.statusText(), "");

    sw.toggle(sink, "/prog");
    EXPECT_TRUE(sw.speechOn());
    EXPECT_EQ(sw.menuCaption(), "Disattiva sintesi vocale");
    EXPECT_EQ(sw.statusText(), "Sintesi vocale attivata");

    ASSERT_EQ(sink.requests.size(), 2u);
    EXPECT_EQ(sink.requests[0].text, "\\\\@sintesi vocale disattivata\\\\");
    EXPECT_EQ(sink.requests[1].text, "\\\\@sintesi vocale attivata\\\\");
    EXPECT_EQ(sink.requests[0].mode, "");
    EXPECT_EQ(sink.requests[0].workingDirectory, "/prog");
    // Both confirmations are sent while speech is on, so both are heard.
    EXPECT_THAT(sink.onWhenSent, ElementsAre(true, true));
}

TEST(SpeechSwitch, TheReaderSpeaksTheSwitchOffAndThenFallsSilent) {
    speech::SpeechSwitch sw;
    sw.start(true);
    auto log = std::make_shared<RecorderEngine::Log>();
    auto engine = std::make_unique<RecorderEngine>(log);
    RecorderEngine* recorder = engine.get();
    speech::SpeechReader reader(std::move(engine), &sw);

    sw.toggle(reader, "/prog");
    EXPECT_THAT(recorder->spoken(), ElementsAre("sintesi vocale disattivata"));
    log->clear();
    reader.submit(Request{"/prog", "key", "", "a"});
    EXPECT_THAT(*log, IsEmpty());
}

}  // namespace
