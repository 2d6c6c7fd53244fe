// The structure view and the decomposition as the workbench attaches them: what they read from
// the main window and how their results reach the Braille page.

#include <gtest/gtest.h>

#include "workbench_harness.h"

namespace {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
namespace vk = ui::vk;

TEST(StructureTools, ResultsReachTheBraillePageThroughTheHiddenEntry) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    ui::memory::ScriptedModal structure;
    ui::memory::ScriptedModal decomposition;
    w.workbench->attachLearningTools(structure, decomposition);
    const learning::ToolHost host = w.workbench->structureHost();
    std::string seen;
    structure.setScript([&] {
        seen = host.selection();
        w.clipboard.setText("?a*\r\n#b\r\n");
        host.pasteIntoBraillePage();
    });
    w.start();
    ASSERT_TRUE(w.logic->brailleMode());
    w.memo2.setText("x\r\n?a*\r\ny");
    w.memo2.setSelStart(4);
    // Ctrl+S opens the structure view: the hidden "Modifica" entry sharing the keys stays
    // out of the way, and runs only while it inserts the result.
    w.press('S', ui::shift::kCtrl);
    EXPECT_EQ(structure.timesShown(), 1);
    EXPECT_EQ(seen, "?a*");
    EXPECT_EQ(w.memo2.text(), "x\r\n?a*\r\n#b\r\n\r\ny");
    EXPECT_TRUE(w.logic->modified());
    EXPECT_FALSE(w.item(Command::Struttura2).enabled());
    EXPECT_FALSE(w.logic->runCommand(Command::Struttura2));

    const learning::ToolHost steps = w.workbench->decompositionHost();
    decomposition.setScript([&] {
        w.clipboard.setText("#b+#c\r\n#e");
        steps.pasteIntoBraillePage();
    });
    w.memo2.setText("#b+#c");
    w.press('W', ui::shift::kCtrl);
    EXPECT_EQ(decomposition.timesShown(), 1);
    EXPECT_EQ(w.memo2.text(), "#b+#c\r\n#e");
}

TEST(StructureTools, KeypadAndSpeechAsInTheMainWindow) {
    ProgramFolder folder;
    folder.complete();
    WorkbenchWindow w(folder);
    w.start();
    const learning::ToolHost host = w.workbench->decompositionHost();
    EXPECT_EQ(host.keypadText(vk::kNumpad0 + 1, 0), "a");
    EXPECT_EQ(host.keypadText(vk::kNumpad0 + 1, ui::shift::kAlt), ",");
    EXPECT_EQ(host.keypadText('A', 0), "");
    w.keyboard.numLock = true;
    EXPECT_TRUE(host.keypadMapping());
    w.logic->setChordInput(true);
    EXPECT_FALSE(host.keypadMapping()) << "chord input takes the keys";
    EXPECT_EQ(host.brailleFont(), w.memo2.font());

    w.speech.requests.clear();
    learning::speakCode(host, vk::kUp, "#b");
    ASSERT_EQ(w.speech.requests.size(), 1u);
    EXPECT_EQ(w.speech.requests[0].mode, "all");
    EXPECT_FALSE(w.speech.requests[0].rate.empty()) << "the configured rate";
}

}  // namespace
