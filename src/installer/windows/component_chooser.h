#pragma once

// What the main window and the Details window share: a check list of components and groups
// with "Select All", "Recommended", "Clear", "Details...", "Item Info..." and the description
// box. Lines show the entries' names; a group is checked when all its members are, partly
// checked when some are; an entry whose component program is not in the distribution is
// drawn in dark blue. The owner shows the space texts (onChange tells it when to).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "installer/component_list.h"
#include "installer/prompter.h"
#include "installer/system/system.h"
#include "ui/check_list.h"
#include "ui/widgets.h"

namespace installer {

struct ChooserWidgets {
    ui::CheckList& list;
    ui::Control& selectAll;
    ui::Control& recommended;
    ui::Control& clear;
    ui::Control& details;
    ui::Control& itemInfo;
    ui::Control& description;
};

struct ChooserContext;

// Opens the Details window on `group` modally; `otherKb` is the size of everything chosen
// outside it. True for OK.
using OpenDetails =
    std::function<bool(ComponentGroup& group, std::int64_t otherKb, ChooserContext& context)>;

struct ChooserContext {
    system::System& sys;
    Prompter& prompter;
    std::string distributionPath;  // where the component programs are looked for
    std::function<std::uint32_t()> clusterSize;
    OpenDetails openDetails;
    // The main window's "Space available:" text, which the Details windows show too.
    std::function<std::string()> spaceAvailable;
};

constexpr ui::Color kMissingPackageColor = 0x000080;

class ComponentChooser {
public:
    // Borrows all; `list` is the level shown (the product's list, or a group's members).
    ComponentChooser(const ChooserWidgets& widgets, ComponentList& list, ChooserContext& context);

    // Redraws the lines from the entries' states.
    void refresh();
    // The selection changed (the owner refreshes its space texts).
    std::function<void()> onChange;

    // The kilobytes chosen in the list shown.
    std::int64_t neededKb() const;

    void selectAll();
    void recommended();
    void clear();
    void details();
    void itemInfo();

private:
    void selected();
    void toggled(int index);
    void setAll(int state);
    void changed();
    ComponentItem* current() const;

    ChooserWidgets w_;
    ComponentList& list_;
    ChooserContext& context_;
};

}  // namespace installer
