// File names with accents, which are UTF-8 on a POSIX disk and code page 1252 in the program.

#include <gtest/gtest.h>

#include "../document_window_fixture.h"

namespace {

using namespace document_window_test;

TEST_F(DocumentWindow, NamesWithAccentsOpenAndSaveTheFilesOnDisk) {
    // On disk the names are UTF-8; the dialogs hand them over in code page 1252.
    put(work / "perch\xC3\xA9.mtf", sampleDocument());
    put(work / "gi\xC3\xA0.mtf", "vecchio");
    start();
    w->dialogs.answerText((work / "perch\xE9.mtf").string());
    w->press(vk::kF12, sh::kCtrl);
    EXPECT_TRUE(w->dialogs.messages().empty()) << w->dialogs.messages().front();
    EXPECT_EQ(w->memo2.text(), "_x+#a\r\n");
    EXPECT_EQ(w->form.caption(), "Tattilo  - perch\xE9.mtf - modalit\xE0 Braille");

    w->type("-#b");
    w->press(vk::kF12, sh::kShift);
    EXPECT_NE(file(work / "perch\xC3\xA9.mtf").find("-#b"), std::string::npos);
    EXPECT_FALSE(w->logic->modified());

    // An existing file under such a name is not replaced without asking.
    w->type("+");
    w->dialogs.answerText((work / "gi\xE0").string());
    w->dialogs.answer(ui::Answer::No);
    w->press('T', sh::kCtrl);
    EXPECT_EQ(w->dialogs.messages().back(), kFileExists);
    EXPECT_EQ(file(work / "gi\xC3\xA0.mtf"), "vecchio");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work),
                            std::filesystem::directory_iterator()),
              2);
}

}  // namespace
