#pragma once

// The main window on real files, for the tests of New, Open, Save and Save As.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "editor/document_file.h"
#include "editor/files/document_commands.h"
#include "workbench_harness.h"

namespace document_window_test {

using editor::Command;
using testing_support::ProgramFolder;
using testing_support::WorkbenchWindow;
using Kind = ui::memory::ScriptedDialogs::Kind;
namespace vk = ui::vk;
namespace sh = ui::shift;

inline const std::string kFileExists = "Il file esiste gi\xE0. Sostituirlo ? ";
inline const std::string kSaveChanges = "Salvare i cambiamenti correnti?";

// A document of two pages, each in both notations.
inline std::string sampleDocument() {
    editor::PageStore pages;
    pages.latexOf(1) = "x+1";
    pages.brailleOf(1) = "_x+#a";
    pages.latexOf(2) = "\\frac{3}{4}";
    pages.brailleOf(2) = "#:d";
    return editor::formatDocument(pages);
}

inline const ui::memory::ScriptedDialogs::Entry* lastOf(const WorkbenchWindow& w, Kind kind) {
    const ui::memory::ScriptedDialogs::Entry* found = nullptr;
    for (const auto& e : w.dialogs.log()) {
        if (e.kind == kind) {
            found = &e;
        }
    }
    return found;
}

struct DocumentWindow : ::testing::Test {
    ProgramFolder folder;
    std::filesystem::path work = folder.path / "esercizi";
    std::unique_ptr<WorkbenchWindow> w;

    void SetUp() override {
        folder.complete();
        std::filesystem::create_directories(work);
    }
    void start(std::vector<std::string> arguments = {}) {
        w = std::make_unique<WorkbenchWindow>(folder, std::move(arguments));
        w->start();
    }
    std::string file(const std::filesystem::path& p) const {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void put(const std::filesystem::path& p, const std::string& bytes) const {
        std::ofstream(p, std::ios::binary) << bytes;
    }
};

}  // namespace document_window_test
