#include "editor/settings/settings_dialog.h"

#include <gtest/gtest.h>

#include "main_window_harness.h"

namespace {

using editor::Command;
using testing_support::MainWindow;
using testing_support::ProgramFolder;
using testing_support::SettingsWindow;

TEST(SettingsDialog, FieldsFilledDefaultsForEmptyOnesAndEditorFocused) {
    ProgramFolder folder;
    folder.write("tattilo.ini", "editor grafico = /bin/sh\r\nworkdir = /tmp\r\neditmod = sel\r\n");
    MainWindow w(folder);
    SettingsWindow* seen = nullptr;
    std::vector<std::string> fields;
    w.settings.onShow([&](SettingsWindow& s) {
        seen = &s;
        fields = {s.editor.text(), s.workDir.text(), s.exchange.text(),
                  s.font.text(),   s.filter.text(),  s.timer.text(),
                  s.speed.text(),  s.chars.text(),   s.lines.text()};
        EXPECT_TRUE(s.editor.focused());
        EXPECT_FALSE(s.tutto.checked());
        EXPECT_TRUE(s.selezione.checked());
        s.esci.click();
    });
    w.logic->openSettings();
    ASSERT_NE(seen, nullptr);
    // The numbers come from the settings; empty texts get the dialog's own defaults.
    const std::vector<std::string> expected = {
        "/bin/sh", "/tmp", "", "braillecour.ttf", "filtro.base", "200", "50", "50", "30"};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(w.dialogs.transcript().front(), "beep");
    EXPECT_EQ(w.dialogs.transcript().at(1), "warning:Attenzione - Inserire impostazioni mancanti");
    EXPECT_EQ(w.speech.requests.size(), 0u) << "speech is off before the first activation";
}

TEST(SettingsDialog, EsciChangesNothingEvenAfterEditing) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    const editor::Settings before = w.logic->settings();
    w.settings.onShow([](SettingsWindow& s) {
        s.editor.setText("/altro");
        s.speed.setText("80");
        s.exchange.setText("x");
        s.selezione.click();
        s.esci.click();
    });
    w.item(Command::Cambiaimpostazioni1).click();
    EXPECT_EQ(w.logic->settings().graphicEditor, before.graphicEditor);
    EXPECT_EQ(w.logic->settings().speechRate, before.speechRate);
    EXPECT_EQ(w.logic->settings().exchangeFile, before.exchangeFile);
    EXPECT_EQ(w.logic->settings().exchangeMode, before.exchangeMode);
    EXPECT_EQ(w.speech.texts(), std::vector<std::string>{"\x1B"}) << "opening silences speech";

    // Esc released in the dialog is the same as "Esci".
    w.settings.onShow([](SettingsWindow& s) {
        s.speed.setText("80");
        s.form.pressKey(ui::vk::kEscape);
    });
    w.logic->openSettings();
    EXPECT_EQ(w.logic->settings().speechRate, 50);
}

TEST(SettingsDialog, OkAppliesClampsAndForcesTheTexExtension) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    struct Case {
        std::string speed, exchange, expectedExchange;
        int expectedSpeed;
    };
    for (const Case& c :
         {Case{"10", "scambio", "scambio.tex", 30}, Case{"200", "scambio.txt", "scambio.tex", 90},
          Case{"abc", "a.b.tex", "a.b.tex", 90}, Case{"55", "a.b.txt", "a.tex", 55}}) {
        w.settings.onShow([&c](SettingsWindow& s) {
            s.speed.setText(c.speed);
            s.exchange.setText(c.exchange);
            s.ok.click();
            EXPECT_EQ(s.exchange.text(), c.expectedExchange);
        });
        w.logic->openSettings();
        EXPECT_EQ(w.logic->settings().speechRate, c.expectedSpeed) << c.speed;
        EXPECT_EQ(w.logic->settings().exchangeFile, c.expectedExchange) << c.exchange;
    }

    w.settings.onShow([](SettingsWindow& s) {
        s.timer.setText("0");
        s.chars.setText("-3");
        s.lines.setText("44");
        s.tutto.click();
        s.ok.click();
    });
    w.logic->openSettings();
    EXPECT_EQ(w.logic->settings().timer, 200) << "a zero timer is refused";
    EXPECT_EQ(w.timer1.interval(), 200);
    EXPECT_EQ(w.logic->settings().printerChars, 50);
    EXPECT_EQ(w.logic->settings().printerLines, 44);
    EXPECT_EQ(w.logic->settings().exchangeMode, "tutto");

    w.settings.onShow([](SettingsWindow& s) {
        s.timer.setText("350");
        s.ok.click();
    });
    w.logic->openSettings();
    EXPECT_EQ(w.timer1.interval(), 350);
}

TEST(SettingsDialog, OkWarnsAboutMissingFilesAndStillCloses) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.dialogs.clearLog();
    w.settings.onShow([](SettingsWindow& s) {
        s.font.setText("nessuno.ttf");
        s.editor.setText("/nessun/editor");
        s.filter.setText("nessun.filtro");
        s.ok.click();
    });
    w.logic->openSettings();
    const std::vector<std::string> expected = {
        "beep", "warning:Attenzione - file non trovato -nessuno.ttf",
        "beep", "warning:Attenzione - editor grafico : file non trovato",
        "beep", "warning:Attenzione - file filtro : file non trovato"};
    EXPECT_EQ(w.dialogs.transcript(), expected);
    EXPECT_EQ(w.logic->settings().filter, "nessun.filtro");
    EXPECT_EQ(w.logic->settings().brailleFont, "nessuno.ttf");
}

TEST(SettingsDialog, NewWorkingDirectoryIsOfferedForCreation) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    const std::string wanted = (folder.path / "lavori" / "classe").string();
    w.settings.onShow([&](SettingsWindow& s) {
        s.workDir.setText(wanted);
        s.ok.click();
    });
    w.dialogs.clearLog();
    w.dialogs.answer(ui::Answer::No);
    w.logic->openSettings();
    EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"Directory non esistente \r" + wanted +
                                                             "\rDesideri crearla?"});
    EXPECT_EQ(w.dialogs.log().back().box.buttons, ui::Buttons::YesNoCancel);
    EXPECT_FALSE(std::filesystem::exists(wanted));
    EXPECT_EQ(w.logic->settings().workDir, wanted);

    w.dialogs.answer(ui::Answer::Yes);
    w.settings.onShow([&](SettingsWindow& s) {
        s.workDir.setText(wanted + "2");
        s.ok.click();
    });
    w.logic->openSettings();
    EXPECT_TRUE(std::filesystem::is_directory(wanted + "2"));

    // A folder that cannot be made: reported, and the path stays in the setting.
    folder.write("file", "x");
    const std::string impossible = (folder.path / "file" / "sub").string();
    w.dialogs.clearLog();
    w.dialogs.answer(ui::Answer::Yes);
    w.settings.onShow([&](SettingsWindow& s) {
        s.workDir.setText(impossible);
        s.ok.click();
    });
    w.logic->openSettings();
    EXPECT_EQ(w.dialogs.transcript().back(),
              "warning:Errore in creazione directory\r" + impossible);
    EXPECT_EQ(w.logic->settings().workDir, impossible);
}

TEST(SettingsDialog, BrowseButtonsFillTheFields) {
    ProgramFolder folder;
    folder.complete();
    MainWindow w(folder);
    w.start();
    w.dialogs.answerText("/usr/bin/editor");
    w.dialogs.answerText(std::nullopt);
    w.settings.onShow([](SettingsWindow& s) {
        s.sfogliaEditor.click();
        s.sfogliaDir.click();  // cancelled: the field keeps its text
        s.ok.click();
    });
    w.logic->openSettings();
    EXPECT_EQ(w.logic->settings().graphicEditor, "/usr/bin/editor");
    EXPECT_EQ(w.logic->settings().workDir, (folder.path / "esercizi").string());
}

}  // namespace
