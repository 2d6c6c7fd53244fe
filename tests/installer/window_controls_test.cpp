// The tables both toolkits build the installer's windows from: every control lies inside its
// window without covering another, names are unique, everything a reader can reach has a name,
// and the main and Details windows offer the same chooser buttons.

#include "installer/windows/window_controls.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace installer {
namespace {

using K = ui::ControlKind;

struct Named {
    const char* name;
    WindowTable table;
};

std::vector<Named> allTables() {
    return {{"main", mainDialogControls()},         {"details", detailsDialogControls()},
            {"progress", progressDialogControls()}, {"disk prompt", diskPromptControls()},
            {"licence", licenseDialogControls()},   {"about", aboutDialogControls()}};
}

bool overlap(const ui::Rect& a, const ui::Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool reachable(K kind) {
    return kind == K::Button || kind == K::CheckBox || kind == K::CheckList ||
           kind == K::LineEdit || kind == K::ComboBox || kind == K::Memo || kind == K::ProgressBar;
}

TEST(InstallerWindowTables, ControlsFitTheirWindowsApartAndNamed) {
    for (const Named& w : allTables()) {
        std::set<std::string_view> names;
        const auto controls = w.table.controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const ui::ControlSpec& c = controls[i];
            EXPECT_TRUE(names.insert(c.name).second) << w.name << ": " << c.name << " twice";
            const ui::Rect& b = c.bounds;
            EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.width > 0 && b.height > 0 &&
                        b.left + b.width <= w.table.width && b.top + b.height <= w.table.height)
                << w.name << ": " << c.name << " lies outside the window";
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(overlap(b, controls[j].bounds))
                    << w.name << ": " << c.name << " covers " << controls[j].name;
            }
            // The Details window's list is named by the group's name, shown over it.
            if (reachable(c.kind) &&
                !(w.name == std::string("details") && c.kind == K::CheckList)) {
                EXPECT_FALSE(ui::accessibleName(controls, c).empty())
                    << w.name << ": " << c.name << " has no name for a screen reader";
            }
        }
    }
}

TEST(InstallerWindowTables, TheChooserButtonsAndTheirKeys) {
    const auto main = mainDialogControls().controls;
    const auto details = detailsDialogControls().controls;
    for (const char* name : {"Components", "SelectAll", "Recommended", "Clear", "Details",
                             "ItemInfo", "Description", "SpaceNeeded", "SpaceAvailable"}) {
        EXPECT_NE(ui::findControl(main, name), nullptr) << name;
        EXPECT_NE(ui::findControl(details, name), nullptr) << name;
    }
    EXPECT_EQ(ui::control(main, "Recommended").caption, "&Recommended");
    EXPECT_EQ(ui::control(details, "Recommended").caption, "&Recommened");
    // Each field is named by its label, without the label's colon.
    EXPECT_EQ(ui::accessibleName(main, "Destination"), "Install to");
    EXPECT_EQ(ui::accessibleName(main, "Components"), "Components");
    EXPECT_EQ(ui::accessibleName(progressDialogControls().controls, "TotalBar"), "Total");
    // The tab order: the list first, the buttons of the window last, Install before Quit.
    std::vector<std::string_view> order;
    for (const ui::ControlSpec& c : main) {
        if (reachable(c.kind)) {
            order.push_back(c.name);
        }
    }
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front(), "Components");
    EXPECT_EQ(order.back(), "About");
}

}  // namespace
}  // namespace installer
