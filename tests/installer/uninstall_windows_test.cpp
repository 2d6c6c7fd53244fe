// The logic of the removal's windows on in-memory widgets: the confirmation (Remove, Cancel,
// the close box) and the progress window (its bar over the steps, its Cancel), and the tables
// both toolkits build them from.

#include <gtest/gtest.h>

#include "installer/messages.h"
#include "installer/windows/uninstall_windows.h"
#include "ui/memory/memory_check_list.h"
#include "ui/memory/memory_widgets.h"

namespace installer {
namespace {

using ui::memory::MemoryControl;
using ui::memory::MemoryProgressBar;
using ui::memory::MemoryWindow;
using ui::memory::ScriptedModal;

UninstallInfo tattilo() {
    return {"Tattilo", "Tattilo 1.1", "1.1", "C:\\Tattilo\\"};
}

TEST(UninstallWindows, TheConfirmationNamesTheProductAndEveryWayOutButRemoveCancels) {
    struct Case {
        const char* name;
        std::function<void(MemoryWindow&, MemoryControl& remove, MemoryControl& cancel)> act;
        bool confirmed;
    };
    const Case cases[] = {
        {"Remove", [](MemoryWindow&, MemoryControl& r, MemoryControl&) { r.click(); }, true},
        {"Cancel", [](MemoryWindow&, MemoryControl&, MemoryControl& c) { c.click(); }, false},
        {"the close box (Escape)",
         [](MemoryWindow& w, MemoryControl&, MemoryControl&) { w.close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryWindow window;
        ScriptedModal modal;
        MemoryControl question, what, remove, cancel;
        CUninstallDlg dlg({window, modal, question, what, remove, cancel}, tattilo());
        EXPECT_EQ(window.caption(), "Tattilo Uninstall");
        EXPECT_EQ(question.caption(), "Do you want to remove Tattilo 1.1 from this computer?");
        EXPECT_EQ(what.caption(),
                  "The Installer will remove what it installed in C:\\Tattilo\\, its Start Menu "
                  "entries, its fonts and its registry entries.\nThe files you made or changed "
                  "there stay where they are.");
        modal.setScript([&] { c.act(window, remove, cancel); });
        modal.showModal();
        EXPECT_FALSE(modal.open());
        EXPECT_EQ(dlg.confirmed(), c.confirmed);
    }
}

TEST(UninstallWindows, TheProgressBarCountsTheStepsDoneAndCancelAsksFirst) {
    MemoryWindow window;
    MemoryControl upper, lower, cancel;
    MemoryProgressBar bar;
    bool answer = false;
    int asked = 0;
    CRemovalDlg dlg({window, upper, lower, bar, cancel}, tattilo(), [&] {
        ++asked;
        return answer;
    });
    EXPECT_EQ(window.caption(), "Removing...");
    EXPECT_EQ(upper.caption(), "Removing Tattilo 1.1");
    EXPECT_EQ(bar.maximum(), 65535);
    dlg.setSteps(4);
    dlg.step("Removing: C:\\Tattilo\\BIN\\a.txt");
    EXPECT_EQ(bar.position(), 0);
    EXPECT_EQ(lower.caption(), "Removing: C:\\Tattilo\\BIN\\a.txt");
    dlg.step("b");
    dlg.step("c");
    EXPECT_EQ(bar.position(), 65535 / 2);
    dlg.step("d");
    dlg.step("more steps than announced");
    EXPECT_EQ(bar.position(), 65535);
    cancel.click();
    EXPECT_TRUE(window.visible());  // No: the window stays
    window.close();
    EXPECT_TRUE(window.visible());
    answer = true;
    cancel.click();
    EXPECT_FALSE(window.visible());
    EXPECT_EQ(asked, 3);
}

TEST(UninstallWindows, EveryButtonHasAnAccessKeyOrIsCancelAndEveryTextIsNamed) {
    for (const WindowTable& table : {uninstallConfirmControls(), removalProgressControls()}) {
        for (const auto& c : table.controls) {
            SCOPED_TRACE(std::string(c.name));
            EXPECT_LE(c.bounds.left + c.bounds.width, table.width);
            EXPECT_LE(c.bounds.top + c.bounds.height, table.height);
            if (c.kind == ui::ControlKind::Button) {
                EXPECT_TRUE(c.caption.find('&') != std::string_view::npos || c.name == "Cancel");
            }
            if (c.kind == ui::ControlKind::ProgressBar) {
                EXPECT_FALSE(ui::accessibleName(table.controls, c).empty());
            }
        }
    }
}

}  // namespace
}  // namespace installer
