#include "installer/windows/window_controls.h"

#include <array>

namespace installer {
namespace {

using K = ui::ControlKind;
using ui::ControlSpec;

constexpr ControlSpec button(std::string_view name, std::string_view caption, int left, int top,
                             int width = 80) {
    return {name, K::Button, caption, {left, top, width, 26}};
}
constexpr ControlSpec text(std::string_view name, std::string_view caption, int left, int top,
                           int width, int height = 18) {
    return {name, K::Label, caption, {left, top, width, height}};
}
// A text the logic sets, read under the name of its title.
constexpr ControlSpec value(std::string_view name, std::string_view accessible, int left, int top,
                            int width, int height = 18) {
    return {name, K::Label, {}, {left, top, width, height}, accessible};
}

// The check list's five buttons in one row below it.
constexpr std::array<ControlSpec, 5> chooserButtons(std::string_view recommended, int top) {
    return {button("SelectAll", "Select &All", 12, top, 78),
            button("Recommended", recommended, 94, top, 100),
            button("Clear", "C&lear", 198, top, 52), button("Details", "&Details...", 254, top, 78),
            button("ItemInfo", "Item &Info...", 336, top, 84)};
}

constexpr auto kMainButtons = chooserButtons("&Recommended", 204);

const std::array kMain = {
    value("Prompt", {}, 12, 8, 616, 32),
    text("ComponentsLabel", "&Components :", 12, 44, 200),
    ControlSpec{"Components", K::CheckList, {}, {12, 62, 408, 136}, "Components"},
    kMainButtons[0],
    kMainButtons[1],
    kMainButtons[2],
    kMainButtons[3],
    kMainButtons[4],
    text("DescriptionTitle", "Description:", 432, 44, 196),
    value("Description", "Description", 432, 62, 196, 136),
    ControlSpec{"CheckOptional",
                K::CheckBox,
                " Check for &optional components",
                {12, 238, 300, 22},
                "Check for optional components"},
    text("DestinationLabel", "Install &to:", 12, 271, 72),
    ControlSpec{"Destination", K::LineEdit, {}, {88, 268, 332, 24}, "Install to"},
    button("Browse", "B&rowse...", 428, 267),
    value("Validation", "Destination check", 88, 296, 540),
    text("NeededTitle", "Space needed:", 432, 208, 100),
    value("SpaceNeeded", "Space needed", 534, 208, 94),
    text("AvailableTitle", "Space available:", 432, 230, 100),
    value("SpaceAvailable", "Space available", 534, 230, 94),
    button("Install", "&Install", 284, 322),
    button("Quit", "&Quit", 370, 322),
    button("Help", "&Help...", 456, 322),
    button("About", "A&bout...", 542, 322),
};

constexpr auto kDetailsButtons = chooserButtons("&Recommened", 196);

const std::array kDetails = {
    value("Group", {}, 12, 8, 408),
    ControlSpec{"Components", K::CheckList, {}, {12, 28, 408, 160}},
    kDetailsButtons[0],
    kDetailsButtons[1],
    kDetailsButtons[2],
    kDetailsButtons[3],
    kDetailsButtons[4],
    text("DescriptionTitle", "Description:", 12, 232, 200),
    value("Description", "Description", 12, 250, 408, 60),
    text("NeededTitle", "Space needed:", 12, 318, 110),
    value("SpaceNeeded", "Space needed", 126, 318, 150),
    text("AvailableTitle", "Space available:", 12, 338, 110),
    value("SpaceAvailable", "Space available", 126, 338, 150),
    button("Ok", "OK", 254, 366),
    button("Cancel", "Cancel", 340, 366),
};

const std::array kProgress = {
    value("Upper", "Installing", 12, 10, 426),
    value("Lower", "File", 12, 30, 426),
    text("ComponentTitle", "Current package:", 12, 56, 104),
    ControlSpec{"ComponentBar", K::ProgressBar, {}, {120, 54, 318, 18}, "Current package"},
    text("TotalTitle", "Total:", 12, 82, 104),
    ControlSpec{"TotalBar", K::ProgressBar, {}, {120, 80, 318, 18}, "Total"},
    button("Cancel", "Cancel", 358, 108),
};

const std::array kDiskPrompt = {
    value("Label", "Disk", 12, 10, 376),
    value("Hint", {}, 12, 32, 376, 32),
    ControlSpec{"Path", K::ComboBox, {}, {12, 70, 310, 24}, "Path"},
    ControlSpec{"Browse", K::Button, "...", {328, 69, 60, 26}, "Browse"},
    value("Validation", "Location check", 12, 100, 376),
    button("Ok", "OK", 12, 136),
    button("ApplyToAll", "&Apply to All", 98, 136, 104),
    button("Skip", "&Skip", 208, 136),
    button("Cancel", "Cancel", 308, 136),
};

const std::array kLicense = {
    ControlSpec{"Text", K::Memo, {}, {12, 12, 396, 290}, "License Agreement"},
    button("Agree", "I &Agree", 228, 312, 86),
    button("Disagree", "I &Disagree", 322, 312, 86),
};

const std::array kAbout = {
    value("Name", "Installer", 12, 12, 296),
    value("Version", "Version", 12, 34, 296),
    value("Text", "About", 12, 56, 296, 52),
    button("Ok", "OK", 120, 116),
};

}  // namespace

WindowTable mainDialogControls() {
    return {kMain, 640, 360};
}

WindowTable detailsDialogControls() {
    return {kDetails, 432, 404};
}

WindowTable progressDialogControls() {
    return {kProgress, 450, 144};
}

WindowTable diskPromptControls() {
    return {kDiskPrompt, 400, 174};
}

WindowTable licenseDialogControls() {
    return {kLicense, 420, 350};
}

WindowTable aboutDialogControls() {
    return {kAbout, 320, 154};
}

}  // namespace installer
