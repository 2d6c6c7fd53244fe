// The recovery folder on a full disk and read-only, for real (the tests run as root, whom
// permission bits do not stop): the window goes on, the last whole copy stays, the student is
// told once, and a start never offers what it cannot take whole.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "../recovery_window.h"
#include "../temp_folder.h"
#include "editor/recovery/recovery_copy.h"
#include "read_only_mount.h"

namespace {

using namespace recovery_test;
using editor::testing::readBytes;
using editor::testing::writeBytes;
namespace fs = std::filesystem;

struct RecoveryFaults : ::testing::Test {
    ProgramFolder folder;
    fs::path copies = folder.path / "recupero";
    void SetUp() override {
        folder.complete();
        fs::create_directories(folder.path / "esercizi");
        fs::create_directories(copies);
    }
    void expectRan(int failed) {
        if (failed == editor::testing::kNoMountNamespace && geteuid() != 0) {
            GTEST_SKIP() << "no mount namespace for this user";
        }
        ASSERT_NE(failed, editor::testing::kNoMountNamespace);
        EXPECT_EQ(failed, 0) << "the check that failed";
    }
};

bool saidOnce(const WorkbenchWindow& w, const std::string& start, const std::string& error) {
    int times = 0;
    for (const std::string& m : w.dialogs.messages()) {
        times += m.starts_with(start) && m.find(error) != std::string::npos ? 1 : 0;
    }
    return times == 1;
}

TEST_F(RecoveryFaults, AFullDiskKeepsTheLastWholeCopyUntilThereIsRoomAgain) {
    expectRan(editor::testing::inSmallFolder(copies, 64 * 1024, [&] {
        Program p;
        p.start(folder, copies);
        p.type("#a");
        p.wait(2500);
        const fs::path file = p.recovery().copyFile();
        const std::string whole = readBytes(file);
        if (!editor::parseRecoveryCopy(whole)) {
            return 1;
        }
        // The disk fills up.
        {
            std::ofstream filler(copies / "riempitivo", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), block.size())) {
            }
        }
        p.type(std::string(3000, 'b'));
        p.wait(90000);
        if (readBytes(file) != whole) {
            return 2;  // the last whole copy was lost
        }
        if (!saidOnce(*p.w, "La copia di recupero del documento non pu\xF2 essere scritta",
                      "Errore n. 28 ")) {
            return 3;
        }
        if (liveCopies(copies).size() != 1 || fs::exists(file.string() + ".~0.tmp")) {
            return 4;  // nothing half written is left
        }
        fs::remove(copies / "riempitivo");
        p.wait(61000);
        const auto copy = editor::parseRecoveryCopy(readBytes(file));
        return copy && copy->state.pages.brailleOf(1) == "#a" + std::string(3000, 'b') ? 0 : 5;
    }));
}

TEST_F(RecoveryFaults, AReadOnlyFolderNeverStopsTheStartOrTheWork) {
    // A copy left before the folder turned read-only.
    {
        Program p;
        p.start(folder, copies);
        p.type("#a#b");
        p.wait(2500);
        p.kill();
    }
    ASSERT_EQ(liveCopies(copies).size(), 1u);
    expectRan(editor::testing::inReadOnlyFolder(copies, [&] {
        // "No": the copy cannot be set aside, which is said; it stays to be offered again.
        {
            Program p;
            p.start(folder, copies, {}, true,
                    [](WorkbenchWindow& w) { w.dialogs.answer(ui::Answer::No); });
            if (!saidOnce(*p.w, "La copia di recupero non pu\xF2 essere messa da parte",
                          "Errore n. 30 ")) {
                return 1;
            }
            if (liveCopies(copies).size() != 1) {
                return 2;
            }
            // No copy can be written: the work goes on, and the student is told once.
            p.type("#c");
            p.wait(90000);
            if (!saidOnce(*p.w, "La copia di recupero del documento non pu\xF2 essere scritta",
                          "Errore n. 30 ")) {
                return 3;
            }
            if (p.w->memo2.text() != "#c") {
                return 4;
            }
            p.kill();
        }
        // "Sì": the work comes back though the copy cannot be moved.
        Program p;
        p.start(folder, copies, {}, true,
                [](WorkbenchWindow& w) { w.dialogs.answer(ui::Answer::Yes); });
        return p.w->memo2.text() == "#a#b" && p.w->logic->modified() ? 0 : 5;
    }));
}

}  // namespace
