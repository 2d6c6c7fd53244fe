#pragma once

// A main window and a settings dialog built from in-memory widgets, in a fresh program folder.

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "editor/settings/settings_dialog.h"
#include "editor/window/main_window.h"
#include "ui/memory/memory_services.h"
#include "ui/memory/memory_widgets.h"
#include "ui/memory/scripted_dialogs.h"

#include "../scratch_folder.h"

namespace testing_support {

using namespace ui::memory;

struct RecordingSpeech : speech::RequestSink {
    std::vector<speech::Request> requests;
    void submit(const speech::Request& r) override { requests.push_back(r); }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& r : requests) {
            out.push_back(r.text);
        }
        return out;
    }
};

// A folder that stands for the program directory, removed at the end.
struct ProgramFolder {
    std::filesystem::path path;
    ProgramFolder() {
        path = makeScratchFolder(std::filesystem::temp_directory_path(), "tattilo-test-");
        std::filesystem::create_directories(path / "fonts");
        std::filesystem::create_directories(path / "tmp");
    }
    ~ProgramFolder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(path / name, std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Everything the first activation looks for: settings, filter, font, editor.
    void complete(const std::string& extra = {}) const {
        write("filtro.base", "x");
        write("fonts/braillecour.ttf", "x");
        write("editor.sh", "x");
        write("tattilo.ini", "editor grafico = " + (path / "editor.sh").string() +
                                 "\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n" + extra);
    }
};

struct SettingsWindow {
    MemoryWindow form;
    ScriptedModal modal;
    MemoryTextBox editor{false, &form.focusScope()}, workDir{false, &form.focusScope()},
        exchange{false, &form.focusScope()}, font{false, &form.focusScope()},
        filter{false, &form.focusScope()}, timer{false, &form.focusScope()},
        speed{false, &form.focusScope()}, chars{false, &form.focusScope()},
        lines{false, &form.focusScope()};
    MemoryControl tutto, selezione, display, sfogliaEditor, sfogliaDir, ok, esci;
    editor::TForm3 logic;

    explicit SettingsWindow(ui::Dialogs& dialogs)
        : logic({form, modal, editor, workDir, exchange, font, filter, timer, speed, chars, lines,
                 tutto, selezione, display, sfogliaEditor, sfogliaDir, ok, esci},
                dialogs) {}

    // What the user does when the dialog shows; by default he confirms it as it is.
    void onShow(std::function<void(SettingsWindow&)> script) {
        modal.setScript([this, script] {
            form.activate();
            if (script) {
                script(*this);
            }
        });
    }
};

struct MainWindow {
    MemoryWindow form;
    MemoryMenuBar menu;
    MemoryClipboard clipboard;
    MemoryTextBox memo1{true, &form.focusScope(), &clipboard};
    MemoryTextBox memo2{true, &form.focusScope(), &clipboard};
    MemoryTextBox edit3{false, &form.focusScope(), &clipboard};
    MemoryControl label1, label2, label3, label4;
    MemoryTabBar tabs{&form.focusScope()};
    MemoryControl status;
    MemoryMathView image1;
    MemoryImageView image3;
    MemoryControl converti{"", &form.focusScope()};
    MemoryControl funzioni, operatori, insiemistica, logica, greche, simboli, editorGrafico,
        visualLineare, mathml, simb;
    MemoryListBox listBox1{&form.focusScope()}, listBox2;
    MemoryControl panel1;
    MemoryControl panelOk{"OK", &form.focusScope()};
    MemoryControl link1, link2;
    MemoryTimer timer1{200, false}, timer2{2000, true};
    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingPrinter printer;
    MemoryKeyboard keyboard;
    RecordingSpeech speech;
    SettingsWindow settings{dialogs};
    std::unique_ptr<editor::TForm1> logic;

    MainWindow(const ProgramFolder& folder, std::vector<std::string> arguments = {},
               bool speechAvailable = true, editor::MainWindowHooks hooks = {},
               const std::function<void(editor::MainWindowEnvironment&)>& adjust = {}) {
        memo2.setBounds({0, 0, 100, 200});
        image3.setBounds({0, 0, 740, 214});  // the legend picture's size in the program
        simb.setBounds({0, 0, 40, 20});
        tabs.setBounds({0, 76, 100, 24});
        settings.onShow(nullptr);
        editor::MainWindowEnvironment env;
        env.programDirectory = folder.path;
        env.arguments = std::move(arguments);
        env.speechAvailable = speechAvailable;
        env.fontDirectories = {folder.path / "fonts"};
        env.temporaryDirectory = folder.path / "tmp";
        if (adjust) {
            adjust(env);
        }
        logic = std::make_unique<editor::TForm1>(
            editor::MainWindowWidgets{
                form,          menu,      memo1,        memo2,    edit3,    label1,  label2,
                label3,        label4,    tabs,         status,   image1,   image3,  converti,
                funzioni,      operatori, insiemistica, logica,   greche,   simboli, editorGrafico,
                visualLineare, mathml,    simb,         listBox1, listBox2, panel1,  panelOk,
                link1,         link2,     timer1,       timer2},
            editor::MainWindowServices{dialogs, clipboard, shell, printer, keyboard}, env,
            settings.logic, &speech, std::move(hooks));
    }

    // Start as the program does: first activation, then the first resize.
    void start(ui::Rect screen = {0, 0, 1024, 768}) {
        form.activate();
        form.resize(screen);
    }

    MemoryControl& item(editor::Command id) { return menu.item(static_cast<int>(id)); }
    void press(int key, unsigned shift = 0) { form.pressKey(key, shift); }
};

}  // namespace testing_support
