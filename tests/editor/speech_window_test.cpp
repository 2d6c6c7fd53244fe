// The main window speaking through its speech reader: what reaches the engine when the student
// types, moves, deletes, pages and switches speech, with a recording engine in place of the
// real one.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "speech/backends/recorder_engine.h"
#include "workbench_harness.h"

namespace {

using editor::Command;
using speech::RecorderEngine;
using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;

struct SpokenWindow : WorkbenchWindow {
    std::shared_ptr<RecorderEngine::Log> log = std::make_shared<RecorderEngine::Log>();
    RecorderEngine* engine = nullptr;

    // `engineMade` false: the engine could not be created at program start.
    explicit SpokenWindow(const ProgramFolder& folder, bool speechAvailable = true,
                          bool engineMade = true)
        : WorkbenchWindow(folder, {}, speechAvailable) {
        auto made = engineMade ? std::make_unique<RecorderEngine>(log) : nullptr;
        engine = made.get();
        workbench->startSpeechReader(std::move(made));
        start();
    }

    std::vector<std::string> spoken() const {
        return engine != nullptr ? engine->spoken() : std::vector<std::string>{};
    }
};

TEST(WindowSpeech, EveryKeyIsSpokenInItsContext) {
    ProgramFolder folder;
    folder.complete("velvoce = 70\r\n");
    SpokenWindow w(folder);
    EXPECT_THAT(*w.log, ElementsAre("setParam 9 327680", "setVoiceParam 0 6 50"))
        << "the engine is set to Italian at the normal speed when it is made";
    EXPECT_TRUE(w.dialogs.messages().empty());

    w.form.type("#ab");
    EXPECT_THAT(w.spoken(), ElementsAre(" segnanumero ", "1", "2"));
    w.form.pressKey(vk::kBack, 0, '\b');
    EXPECT_EQ(w.spoken().back(), " cancellato 2");
    w.press(vk::kLeft);
    EXPECT_EQ(w.spoken().back(), "1");
    w.log->clear();
    w.press(vk::kUp);  // the whole line, at the speed of the settings
    EXPECT_THAT(*w.log, ElementsAre("speaking", "stop", "setParam 9 327680", "setVoiceParam 0 6 70",
                                    "addText 1", "synthesize"));
    w.press(vk::kF2);
    EXPECT_EQ(w.spoken().back(), "Pagina 2");
}

TEST(WindowSpeech, ChordsAndTheKeypadSpeakTheirCells) {
    ProgramFolder folder;
    folder.complete();
    SpokenWindow w(folder);
    w.press(vk::kF5);
    EXPECT_EQ(w.spoken().back(), "attivata dattilobraille ");
    w.form.keyDown('F');
    w.form.keyPress('f');
    w.form.keyUp('F');
    w.timer1.fire();
    EXPECT_EQ(w.spoken().back(), "a");
    w.press(vk::kF5);
    EXPECT_EQ(w.spoken().back(), "attivata tastiera ");

    w.keyboard.numLock = true;
    w.form.keyDown(vk::kMenu, ui::shift::kAlt);
    w.form.pressKey(vk::kAdd, ui::shift::kAlt);  // the number sign
    w.form.keyUp(vk::kMenu);
    w.form.pressKey(vk::kNumpad0 + 2, 0, '2');
    EXPECT_EQ(w.memo2.text(), "a#b");
    EXPECT_EQ(w.spoken().back(), "2") << "b after a number sign is the digit";
}

TEST(WindowSpeech, SwitchingOffIsHeardAndThenTheReaderIsSilent) {
    ProgramFolder folder;
    folder.complete();
    SpokenWindow w(folder);
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale attivata");
    EXPECT_EQ(w.item(Command::Attivasintesivocale1).caption(), "Disattiva sintesi vocale");

    w.press(vk::kF7);
    EXPECT_FALSE(w.logic->speechOn());
    EXPECT_THAT(w.spoken(), ElementsAre("sintesi vocale disattivata"));
    EXPECT_EQ(w.label4.caption(), "");
    EXPECT_EQ(w.item(Command::Attivasintesivocale1).caption(), "Attiva sintesi vocale");

    // One state: the reader asks the window's, whoever sends.
    w.log->clear();
    w.form.type("#a");
    w.press(vk::kF2);
    w.workbench->speechReader()->submit({folder.path.string(), "key", "", "#a"});
    EXPECT_THAT(*w.log, IsEmpty());

    w.press(vk::kF7);
    EXPECT_TRUE(w.logic->speechOn());
    EXPECT_EQ(w.spoken().back(), "sintesi vocale attivata");
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale attivata");

    // Switched on again in Latex mode: the label stays empty and hidden until Braille mode.
    w.press(vk::kF7);
    w.press('B', ui::shift::kCtrl);
    ASSERT_FALSE(w.logic->brailleMode());
    EXPECT_FALSE(w.item(Command::MenuOpzioni).enabled()) << "F7 belongs to a Braille-mode menu";
    w.logic->AttivasintesivocaleClick();
    EXPECT_EQ(w.label4.caption(), "");
    w.press('B', ui::shift::kCtrl);
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale attivata");
}

TEST(WindowSpeech, OpeningAMenuStopsTheSpeech) {
    ProgramFolder folder;
    folder.complete();
    SpokenWindow w(folder);
    w.form.type("#abc");
    w.log->clear();
    w.item(Command::MenuModifica).click();
    EXPECT_THAT(*w.log, ElementsAre("speaking", "stop"));
}

TEST(WindowSpeech, WithoutSpeechTheEntryIsDisabledAndNothingIsSaid) {
    ProgramFolder folder;
    folder.complete();
    SpokenWindow w(folder, false);
    EXPECT_FALSE(w.logic->speechOn());
    EXPECT_EQ(w.label4.caption(), "Sintesi vocale disattivata");
    EXPECT_EQ(w.item(Command::Attivasintesivocale1).caption(), "");
    EXPECT_FALSE(w.item(Command::Attivasintesivocale1).enabled());
    w.press(vk::kF7);
    EXPECT_FALSE(w.logic->speechOn());
    w.log->clear();
    w.form.type("#a");
    EXPECT_THAT(*w.log, IsEmpty());
}

TEST(WindowSpeech, AnEngineThatCannotBeMadeIsReportedOnceAndTypingGoesOn) {
    ProgramFolder folder;
    folder.complete();
    SpokenWindow w(folder, true, false);
    EXPECT_EQ(w.dialogs.messages(),
              std::vector<std::string>{"Errore nel caricamento sintesi vocale"});
    w.form.type("#ab");
    w.press(vk::kF5);
    w.form.keyDown('F');
    w.form.keyPress('f');
    w.timer1.fire();
    w.press(vk::kF7);
    w.press(vk::kF7);
    EXPECT_EQ(w.memo2.text(), "#aba");
    EXPECT_EQ(w.dialogs.messages().size(), 1u);
}

}  // namespace
