#pragma once

// Programs of the workbench that keep recovery copies in one folder, on a clock of the test's
// own: time passes only when the test says so, and the recovery timer fires at every tick.
// Killing a program destroys its window without closing it, so its copy stays behind as after
// a crash.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/recovery/document_recovery.h"
#include "workbench_harness.h"

namespace recovery_test {

using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
using Clock = std::chrono::steady_clock;

struct Program {
    ui::memory::MemoryTimer timer{500, false};  // outlives the window
    std::unique_ptr<WorkbenchWindow> w;
    Clock::time_point now = Clock::time_point{} + std::chrono::hours(1);

    void start(const ProgramFolder& folder, const std::filesystem::path& recoveryFolder,
               std::vector<std::string> arguments = {}, bool lookAtStart = true,
               const std::function<void(WorkbenchWindow&)>& beforeStart = nullptr) {
        w = std::make_unique<WorkbenchWindow>(folder, std::move(arguments));
        w->workbench->startRecovery(timer, {recoveryFolder, lookAtStart});
        recovery().setClock([this] { return now; });
        if (beforeStart) {
            beforeStart(*w);
        }
        w->start();
    }
    editor::DocumentRecovery& recovery() { return *w->workbench->recovery(); }

    // `ms` milliseconds pass; the timer fires at each of its ticks, and a write it starts is
    // over before the next one.
    void wait(int ms) {
        for (int passed = 0; passed < ms; passed += timer.interval()) {
            now += std::chrono::milliseconds(timer.interval());
            timer.fire();
            recovery().finishWriting();
        }
    }
    void type(const std::string& text) { w->type(text); }
    void kill() { w.reset(); }
};

// The copies in `folder` whose names are those of running or stopped programs.
inline std::vector<std::filesystem::path> liveCopies(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> copies;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.starts_with(".tattilo-") && name.ends_with(".mtf")) {
            copies.push_back(e.path());
        }
    }
    return copies;
}

// What the window holds, as its copy should hold it.
inline editor::RecoveryState windowState(editor::TForm1& form) {
    editor::RecoveryState s;
    s.pages = form.pages();
    s.page = form.currentPage();
    s.braille = form.brailleMode();
    (s.braille ? s.pages.brailleOf(s.page) : s.pages.latexOf(s.page)) = form.activeEditor().text();
    return s;
}

}  // namespace recovery_test
