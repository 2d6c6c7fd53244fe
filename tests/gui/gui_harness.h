#pragma once

// A main window on the offscreen platform in a fresh program folder holding everything the
// start-up looks for, with dialogs answered in advance and speech recorded.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "gui/braille_font.h"
#include "gui/main_window_view.h"
#include "speech/engine.h"
#include "ui/memory/scripted_dialogs.h"

namespace gui_test {

// A picture of a window for people to look at, written only where TATTILO_SCREENSHOT_DIR asks
// for it (tests never write into the source or build tree).
inline void saveScreenshot(QWidget& widget, const char* name) {
    const QByteArray dir = qgetenv("TATTILO_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        widget.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') +
                           QString::fromLatin1(name));
    }
}

// An engine that has said everything at once: what it was given is written down.
struct InstantEngine : speech::Engine {
    std::vector<std::string>* said;
    explicit InstantEngine(std::vector<std::string>* log) : said(log) {}
    int setParam(int, int) override { return 0; }
    int setVoiceParam(int, int, int) override { return 0; }
    bool addText(std::string_view text) override {
        queued += text;
        return true;
    }
    bool synthesize() override {
        said->push_back(queued);
        queued.clear();
        return true;
    }
    bool synchronize() override { return true; }
    bool speaking() override { return false; }
    bool stop() override { return true; }
    std::string queued;
};

struct RecordingSpeech : speech::RequestSink {
    std::vector<std::string> texts;
    std::vector<std::string> modes;  // the mode word of each text
    void submit(const speech::Request& r) override {
        texts.push_back(r.text);
        modes.push_back(r.mode);
    }
};

struct Harness {
    QTemporaryDir folder;
    ui::memory::ScriptedDialogs dialogs;
    RecordingSpeech speech;
    std::unique_ptr<gui::MainWindowView> view;

    std::filesystem::path path() const { return folder.path().toStdString(); }

    void write(const std::string& name, const std::string& content) const {
        std::filesystem::create_directories((path() / name).parent_path());
        std::ofstream(path() / name, std::ios::binary) << content;
    }

    std::string read(const std::string& name) const {
        std::ifstream in(path() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // `adjust` changes the window's options before the window is made.
    void start(const std::string& extraSettings = {},
               const std::function<void(gui::MainWindowOptions&)>& adjust = nullptr) {
        gui::loadProgramFonts(TATTILO_BIN_DIR);
        write("filtro.base", "x");
        write("editor.sh", "x");
        write("fonts/braillecour.ttf", "x");
        write("tattilo.ini", "editor grafico = " + (path() / "editor.sh").string() +
                                 "\r\nfiltro = filtro.base\r\nfont = braillecour.ttf\r\n" +
                                 extraSettings);
        gui::MainWindowOptions options;
        options.environment.programDirectory = path();
        options.environment.speechAvailable = true;
        options.environment.fontDirectories = {path() / "fonts"};
        std::filesystem::create_directories(path() / "tmp");
        options.environment.temporaryDirectory = path() / "tmp";
        options.speech = &speech;
        options.dialogs = &dialogs;
        if (adjust) {
            adjust(options);
        }
        view = std::make_unique<gui::MainWindowView>(std::move(options));
        view->window().show();
    }

    QMainWindow& window() { return view->window(); }
    template <class T>
    T* find(const char* name) {
        return window().findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace gui_test
