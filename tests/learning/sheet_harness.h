#pragma once

// A calculation sheet on in-memory widgets: open it on an operation, press keys and fire its
// timers inside the modal showing, then look at its boxes, the clipboard, the dialogs and
// the words its voice said.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "learning/calc_sheet.h"
#include "speech/backends/recorder_engine.h"
#include "ui/memory/memory_services.h"
#include "ui/memory/memory_widgets.h"
#include "ui/memory/scripted_dialogs.h"

namespace learning::testing {

using namespace ui::memory;

struct SheetHarness {
    MemoryWindow form;
    ScriptedModal modal;
    MemoryMenuBar menu;
    MemoryClipboard clipboard;
    MemoryKeyboard keyboard;
    ScriptedDialogs dialogs;
    MemoryTextBox edit1{false, &form.focusScope()};
    MemoryTextBox memo1{true, &form.focusScope()};
    std::vector<std::unique_ptr<MemoryTextBox>> partials;
    std::vector<std::unique_ptr<MemoryTextBox>> steps;
    MemoryTextBox edit10{false, &form.focusScope()};
    MemoryTextBox edit11{false, &form.focusScope()};
    MemoryControl label1, label2, status;
    MemoryControl button1{"", &form.focusScope()};
    MemoryControl button2{"", &form.focusScope()};
    MemoryControl button3{"", &form.focusScope()};
    MemoryControl button4{"", &form.focusScope()};
    MemoryTimer timer1{200, false};
    MemoryTimer timer2{50, false};
    std::shared_ptr<speech::RecorderEngine::Log> log =
        std::make_shared<speech::RecorderEngine::Log>();
    speech::RecorderEngine* engine = nullptr;
    std::unique_ptr<speech::SheetVoice> voice;
    // The main window's state as the sheet reads it.
    bool chordInput = false;
    int chordInterval = 200;
    bool speechOn = true;
    std::unique_ptr<TForm2> sheet;

    SheetHarness() {
        for (std::size_t i = 0; i < kPartialMemos; ++i) {
            partials.push_back(std::make_unique<MemoryTextBox>(true, &form.focusScope()));
        }
        for (int i = 0; i < kMaxStepLines; ++i) {
            steps.push_back(std::make_unique<MemoryTextBox>(false, &form.focusScope()));
        }
        auto recorder = std::make_unique<speech::RecorderEngine>(log);
        engine = recorder.get();
        voice = std::make_unique<speech::SheetVoice>(std::move(recorder));
        std::array<ui::TextBox*, kPartialMemos> partialBoxes{};
        for (std::size_t i = 0; i < kPartialMemos; ++i) {
            partialBoxes[i] = partials[i].get();
        }
        std::array<ui::TextBox*, kMaxStepLines> stepBoxes{};
        for (std::size_t i = 0; i < stepBoxes.size(); ++i) {
            stepBoxes[i] = steps[i].get();
        }
        sheet = std::make_unique<TForm2>(
            CalcSheetWidgets{form, modal, menu, edit1, memo1, partialBoxes, stepBoxes, edit10,
                             edit11, label1, label2, status, button1, button2, button3, button4,
                             timer1, timer2},
            CalcSheetServices{dialogs, clipboard, keyboard}, *voice,
            SheetHost{[this] { return chordInput; }, [this] { return chordInterval; },
                      [this] { return speechOn; }});
    }

    // Opens the sheet as the main window does, on `selection`; `work` runs while it is shown,
    // after its activation.
    void open(const std::string& selection, const std::function<void()>& work) {
        clipboard.setText(selection);
        modal.setScript([this, work] {
            form.activate();
            if (work) {
                work();
            }
        });
        sheet->showModal();
    }

    // Opens the sheet as another learning window does; returns what it left on the clipboard.
    std::string openFromTool(const std::string& expression, const std::function<void()>& work) {
        modal.setScript([this, work] {
            form.activate();
            if (work) {
                work();
            }
        });
        return sheet->openFromTool(expression);
    }

    MemoryTextBox& partial(std::size_t i) { return *partials[i]; }
    MemoryTextBox& step(std::size_t i) { return *steps[i]; }
    MemoryControl& item(SheetCommand id) { return menu.item(static_cast<int>(id)); }

    void press(int key, unsigned shift = 0, char ch = 0) { form.pressKey(key, shift, ch); }
    // Types digits as the letters A to J and blanks as Space.
    void type(std::string_view cells) {
        for (char c : cells) {
            if (c == ' ') {
                press(ui::vk::kSpace, 0, ' ');
            } else {
                press(ui::vk::kA + (c - 'a'), 0, c);
            }
        }
    }

    // Everything the voice said, letting each message finish before the next one.
    std::vector<std::string> said() {
        for (;;) {
            engine->finishSpeaking();
            if (!timer2.fire()) {
                break;
            }
        }
        return engine->spoken();
    }
    std::string lastSaid() {
        const auto all = said();
        return all.empty() ? std::string() : all.back();
    }
};

}  // namespace learning::testing
